#include "tools/gen/recipes/BarrierRecipe.h"

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
const std::string folder = "game_objects\\barrier\\";
constexpr uint32_t frames = 16;
constexpr float postX = 77, lineY = -87, postHeight = 13;
const float ropeHeights[3] = {5, 6.5f, 8};

// Posts: weathered wood on the left half, the drum's iron on the right.
VbAssets::Canvas PostPicture(uint32_t seed) {
    VbAssets::TileNoise noise(seed, 8);
    VbAssets::Canvas canvas(128, 64);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 4);
        if (u < 0.5f)
            return VbAssets::Mix(Rgb(110, 78, 48), Rgb(160, 120, 78), n);
        return VbAssets::Mix(Rgb(60, 62, 70), Rgb(120, 124, 134), n);
    });
    return canvas;
}

// Rope: twisted strands, diagonal light and dark bands along its length.
VbAssets::Canvas RopePicture() {
    VbAssets::Canvas canvas(64, 16);
    canvas.Paint([](float u, float v) {
        const float twist = 0.5f + 0.5f * std::sin((u * 16 + v * 2) * 2 * pi);
        return VbAssets::Mix(Rgb(150, 118, 70), Rgb(222, 192, 132), twist);
    });
    return canvas;
}

// A post with its drum on top; the drum turns a whole turn about x over the frames.
VbFormats::ModelDescription Hardware(float side) {
    Mesh post = VbAssets::BevelBox({3, 3, postHeight}, 0.4f);
    VbAssets::Translate(post, {side * postX, lineY, postHeight / 2});
    VbAssets::MapUv(post, 0.5f, 1, 0, 0);
    const VbAssets::Float3 axle{side * postX, lineY, postHeight + 1.4f};
    Mesh drum = VbAssets::Cylinder(1.4f, 3.4f, 12);
    VbAssets::RotateY(drum, pi / 2);
    VbAssets::Translate(drum, axle);
    VbAssets::MapUv(drum, 0.5f, 1, 0.5f, 0);
    VbAssets::SkinnedPart postPart{"post", post, {side * postX, lineY, 0}, {}};
    VbAssets::SkinnedPart drumPart{"drum", drum, axle, {}};
    for (uint32_t f = 0; f < frames; ++f) {
        postPart.rotations.push_back({0, 0, 0, 1});
        drumPart.rotations.push_back(VbAssets::AxisAngle({1, 0, 0}, 2 * pi * float(f) / float(frames - 1)));
    }
    return VbAssets::ToSkinnedModel({postPart, drumPart}, frames, 24);
}

// A rope 1 thick across y and z, reaching from the left post a sixteenth further each frame.
VbFormats::ModelDescription Rope(float height) {
    std::vector<Mesh> ropes;
    for (uint32_t f = 0; f < frames; ++f) {
        const float length = 2 * postX * float(f + 1) / float(frames);
        Mesh rope = VbAssets::Box({length, 1, 1});
        VbAssets::MapUv(rope, length / 8, 1, 0, 0);
        VbAssets::Translate(rope, {-postX + length / 2, lineY, height});
        ropes.push_back(rope);
    }
    return VbAssets::ToAnimatedModel(ropes, 24);
}

} // namespace

void BarrierRecipe::Run(const RecipeContext& context) const {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(context.contentDir) / "game_objects" / "resources.xml",
                                 error))
        return;
    OutputTree& out = *context.out;
    VelmoraFormats::PngOptions options;
    options.colour = VelmoraFormats::PngColour::RGB;
    const uint32_t seed = AssetRandom(folder + "post.png", Version()).NextU32();
    out.Write(folder + "post.png", VelmoraFormats::WritePng(PostPicture(seed).ToPicture(3), options));
    out.Write(folder + "rope.png", VelmoraFormats::WritePng(RopePicture().ToPicture(3), options));
    for (int i = 0; i < 2; ++i)
        WriteModel(out, folder + "hardware_" + std::to_string(i), Hardware(i == 0 ? -1.0f : 1.0f),
                   PictureMaterial(folder + "post.png"));
    for (int i = 0; i < 3; ++i)
        WriteModel(out, folder + "rope_" + std::to_string(i), Rope(ropeHeights[i]),
                   PictureMaterial(folder + "rope.png"));
}

} // namespace VbGen
