#include "tools/gen/recipes/HammerRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/ModelOutput.h"

#include <cmath>
#include <filesystem>

namespace VbGen {

using VbAssets::Mesh;
using VbAssets::Rgb;

namespace {

constexpr float pi = 3.14159265358979f;
const std::string folder = "game_objects\\hammer\\";
constexpr uint32_t frames = 10, impact = 4;
// Raised, the head leans back towards the viewer by this angle about the grip.
constexpr float raised = -70 * pi / 180;

// Left half: the handle's wood; right half: the head's steel with a bright striking edge.
VbAssets::Canvas HammerPicture(uint32_t seed) {
    VbAssets::TileNoise noise(seed, 8);
    VbAssets::Canvas canvas(128, 64);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 3);
        if (u < 0.5f) {
            const float grain = 0.5f + 0.5f * std::sin((u * 60 + n * 5) * pi);
            return VbAssets::Mix(Rgb(120, 72, 36), Rgb(176, 118, 64), grain);
        }
        VbAssets::Colour c = VbAssets::Mix(Rgb(96, 102, 116), Rgb(172, 180, 194), n);
        if (v > 0.85f)
            c = VbAssets::Mix(c, Rgb(236, 240, 246), 0.7f);
        return c;
    });
    return canvas;
}

Mesh HammerMesh() {
    Mesh head = VbAssets::BevelBox({40, 24, 24}, 3);
    VbAssets::Translate(head, {0, 12, 0});
    VbAssets::MapUv(head, 0.5f, 1, 0.5f, 0);
    Mesh handle = VbAssets::Cylinder(4, 70, 12);
    VbAssets::RotateX(handle, -pi / 2);
    VbAssets::Translate(handle, {0, 24 + 35, 0});
    VbAssets::MapUv(handle, 0.5f, 1, 0, 0);
    head.Append(handle);
    return head;
}

} // namespace

void HammerRecipe::Run(const RecipeContext& context) const {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(context.contentDir) / "game_objects" / "resources.xml",
                                 error))
        return;
    OutputTree& out = *context.out;
    const uint32_t seed = AssetRandom(folder + "hammer.png", Version()).NextU32();
    VelmoraFormats::PngOptions options;
    options.colour = VelmoraFormats::PngColour::RGB;
    out.Write(folder + "hammer.png", VelmoraFormats::WritePng(HammerPicture(seed).ToPicture(3), options));

    // Down with growing speed, back up slowing to a stop.
    VbAssets::SkinnedPart part{"hammer", HammerMesh(), {0, 80, 0}, {}};
    for (uint32_t f = 0; f < frames; ++f) {
        const float down = f <= impact ? float(f) / impact : 1 - float(f - impact) / float(frames - 1 - impact);
        const float swing = down * down;
        part.rotations.push_back(VbAssets::AxisAngle({1, 0, 0}, raised * (1 - swing)));
    }
    // Skinned, drawn over the scene: no lighting and no depth test.
    WriteModel(out, folder + "hammer", VbAssets::ToSkinnedModel({part}, frames, 20, 0x4200C),
               PictureMaterial(folder + "hammer.png"));
}

} // namespace VbGen
