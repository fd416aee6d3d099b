#include "tools/gen/recipes/BallsRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/ModelOutput.h"

#include <cmath>
#include <filesystem>

namespace VbGen {

namespace {

constexpr float pi = 3.14159265358979f;
const std::string folder = "game_objects\\balls\\";

VbAssets::Mesh Sphere(float radius) {
    std::vector<VbAssets::Float2> profile;
    const int rings = 12;
    for (int i = 0; i <= rings; ++i) {
        const float angle = pi * float(i) / float(rings);
        profile.push_back(
            {i == 0 || i == rings ? 0.0f : radius * std::sin(angle), -radius * std::cos(angle)});
    }
    VbAssets::Mesh mesh = VbAssets::Lathe(profile, 16);
    // Smooth shading: on a sphere about the origin the normal is the direction of the point.
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const VbAssets::Float3& p = mesh.positions[i];
        const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        mesh.normals[i] = {p[0] / length, p[1] / length, p[2] / length};
    }
    return mesh;
}

VbAssets::Canvas BallPicture(bool super, uint32_t seed) {
    VbAssets::TileNoise noise(seed, 8);
    VbAssets::Canvas canvas(128, 64);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 4);
        if (!super) {
            // Marble: bands bent by the noise.
            const float vein = 0.5f + 0.5f * std::sin((u * 4 + n * 3) * pi * 2);
            return VbAssets::Mix(VbAssets::Rgb(60, 110, 210), VbAssets::Rgb(236, 242, 252), vein);
        }
        VbAssets::Colour c = VbAssets::Mix(VbAssets::Rgb(196, 140, 30), VbAssets::Rgb(255, 214, 90), n);
        if (std::fabs(v - 0.5f) < 0.09f) {
            // The band, with a five-pointed star in each of eight cells.
            c = VbAssets::Rgb(120, 30, 40);
            const float cu = std::fmod(u * 8, 1.0f) - 0.5f, cv = (v - 0.5f) / 0.09f * 0.5f;
            const float r = std::sqrt(cu * cu + cv * cv), a = std::atan2(cv, cu);
            const float edge = 0.22f + 0.14f * std::cos(5 * a);
            if (r < edge)
                c = VbAssets::Rgb(255, 240, 170);
        }
        return c;
    });
    return canvas;
}

} // namespace

void BallsRecipe::Run(const RecipeContext& context) const {
    // The balls come with the gameplay data: generated when the block types are.
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(context.contentDir) / "game_objects" / "blocks",
                                       error))
        return;
    for (bool super : {false, true}) {
        const std::string name = super ? "super" : "simple";
        VelmoraFormats::PngOptions options;
        options.colour = VelmoraFormats::PngColour::RGB;
        const uint32_t seed = AssetRandom(folder + name + ".png", Version()).NextU32();
        context.out->Write(folder + name + ".png",
                           VelmoraFormats::WritePng(BallPicture(super, seed).ToPicture(3), options));
        WriteModel(*context.out, folder + name, VbAssets::ToModel(Sphere(super ? 3.0f : 2.5f)),
                   PictureMaterial(folder + name + ".png"));
    }
}

} // namespace VbGen
