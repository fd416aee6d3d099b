#include "tools/gen/recipes/GunsRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/MeshPlacement.h"
#include "tools/gen/ModelOutput.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace VbGen {

using VbAssets::Canvas;
using VbAssets::Colour;
using VbAssets::Float3;
using VbAssets::Mesh;
using VbAssets::Rgb;

namespace {

constexpr float pi = 3.14159265358979f;
// Where a gun stands on the hull: ahead of the rotor, on the hull's top.
const Float3 mount{0, 2.5f, 4};

struct GunShape {
    std::string word;        // the resource word
    uint32_t frames;         // all frames
    uint32_t loaded;         // the last frame of the appearing, the loaded pose
    float stockWidth, stockLength, stockHeight;
    float limbLength, limbThickness;
    float boltRadius, boltLength, tipRadius, tipLength;
    bool drums; // torsion drums beside the limbs
};

const GunShape shapes[] = {
    {"arbalet", 41, 33, 1.2f, 9, 1.0f, 4.6f, 0.55f, 0.18f, 6.5f, 0.45f, 1.3f, false},
    {"ballista", 26, 19, 2.0f, 11, 1.4f, 6.5f, 0.9f, 0.3f, 8.0f, 0.7f, 1.8f, true},
};

float Ease(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Top half light wood, bottom half dark steel: parts pick their half by their texture coordinates.
Canvas GunPicture(uint32_t seed) {
    VbAssets::TileNoise noise(seed, 8);
    Canvas canvas(128, 64);
    canvas.Paint([&](float u, float v) {
        if (v < 0.5f) {
            const float grain = 0.5f + 0.5f * std::sin((v * 40 + noise.Fractal(u * 4, v * 8, 3) * 6) * pi);
            return VbAssets::Mix(Rgb(150, 96, 52), Rgb(196, 140, 84), grain);
        }
        const float n = noise.Fractal(u * 8, v * 8, 3);
        return VbAssets::Mix(Rgb(70, 74, 84), Rgb(150, 156, 168), n);
    });
    return canvas;
}

void Wooden(Mesh& mesh) {
    VbAssets::MapUv(mesh, 1, 0.5f, 0, 0.5f);
}

void Steel(Mesh& mesh) {
    VbAssets::MapUv(mesh, 1, 0.5f, 0, 0);
}

float StockTop(const GunShape& gun) {
    return mount[2] + 2.2f + gun.stockHeight;
}

// The bolt lying in the stock's groove, along +y, its tail at y 0.
Mesh Bolt(const GunShape& gun) {
    const float z = StockTop(gun) + gun.boltRadius;
    Mesh shaft = VbAssets::Cylinder(gun.boltRadius, gun.boltLength, 6);
    VbAssets::RotateX(shaft, -pi / 2);
    VbAssets::Translate(shaft, {0, gun.boltLength / 2, z});
    Wooden(shaft);
    Mesh tip = VbAssets::Lathe({{0, 0}, {gun.tipRadius, 0}, {0, gun.tipLength}}, 6);
    VbAssets::RotateX(tip, -pi / 2);
    VbAssets::Translate(tip, {0, gun.boltLength, z});
    Steel(tip);
    Mesh bolt = shaft;
    bolt.Append(tip);
    // Vanes at the tail: one across, one standing up, none reaching below the shaft into the stock.
    Mesh across = VbAssets::Box({gun.boltRadius * 6, gun.boltLength * 0.2f, 0.05f});
    VbAssets::Translate(across, {0, gun.boltLength * 0.15f, z});
    Mesh up = VbAssets::Box({0.05f, gun.boltLength * 0.2f, gun.boltRadius * 3});
    VbAssets::Translate(up, {0, gun.boltLength * 0.15f, z + gun.boltRadius * 1.5f});
    bolt.Append(across);
    bolt.Append(up);
    return bolt;
}

VbFormats::ModelDescription Gun(const GunShape& gun) {
    const float stockZ = mount[2] + 2.2f + gun.stockHeight / 2;
    const float front = mount[1] + gun.stockLength * 0.45f;
    Mesh stock = Placed(VbAssets::Cylinder(gun.stockWidth * 0.5f, 2.2f, 8), {mount[0], mount[1], mount[2] + 1.1f});
    Steel(stock);
    Mesh body = VbAssets::BevelBox({gun.stockWidth, gun.stockLength, gun.stockHeight}, 0.2f);
    VbAssets::Translate(body, {0, mount[1] + gun.stockLength * 0.05f, stockZ});
    Wooden(body);
    stock.Append(body);
    if (gun.drums)
        for (float side : {-1.0f, 1.0f}) {
            Mesh drum = VbAssets::Cylinder(gun.limbThickness, gun.stockHeight * 1.6f, 10);
            VbAssets::Translate(drum, {side * (gun.stockWidth / 2 + gun.limbThickness), front, stockZ});
            Steel(drum);
            stock.Append(drum);
        }

    std::vector<VbAssets::SkinnedPart> parts;
    parts.push_back({"stock", stock, mount, {}});
    const float limbStart = gun.stockWidth / 2 + (gun.drums ? 2 * gun.limbThickness : 0);
    for (float side : {-1.0f, 1.0f}) {
        Mesh limb = VbAssets::Box({gun.limbLength, gun.limbThickness, gun.limbThickness * 0.8f});
        VbAssets::Translate(limb, {side * (limbStart + gun.limbLength / 2), front, stockZ});
        Steel(limb);
        parts.push_back({side < 0 ? "limb_left" : "limb_right", limb, {side * limbStart, front, stockZ}, {}});
    }

    // Limb angles about z: folded back along the stock, swept back a little when loaded, thrown forward
    // by a shot. The left limb turns the other way from the right one.
    const float folded = pi / 2, loaded = 0.2f, thrown = -0.25f;
    const uint32_t shot = gun.frames - 1 - gun.loaded;
    std::vector<float> scale(gun.frames), rise(gun.frames), recoil(gun.frames), limbAngle(gun.frames);
    for (uint32_t f = 0; f < gun.frames; ++f) {
        if (f <= gun.loaded) {
            const float t = float(f) / float(gun.loaded);
            scale[f] = 0.05f + 0.95f * Ease(t / 0.7f);
            rise[f] = -2.5f * (1 - Ease(t / 0.7f));
            limbAngle[f] = folded + (loaded - folded) * Ease((t - 0.4f) / 0.6f);
        } else {
            // The snap peaks at once and eases back into the loaded pose by the last frame.
            const float k = float(f - gun.loaded) / float(shot);
            const float pulse = std::sin(pi * std::sqrt(k));
            scale[f] = 1;
            limbAngle[f] = loaded + (thrown - loaded) * pulse;
            recoil[f] = -0.6f * pulse;
        }
    }
    for (uint32_t f = 0; f < gun.frames; ++f) {
        parts[0].rotations.push_back({0, 0, 0, 1});
        parts[1].rotations.push_back(VbAssets::AxisAngle({0, 0, 1}, limbAngle[f]));
        parts[2].rotations.push_back(VbAssets::AxisAngle({0, 0, 1}, -limbAngle[f]));
    }
    VbFormats::ModelDescription model = VbAssets::ToSkinnedModel(parts, gun.frames, 30);
    // Each bone grows about the mount, so the parts stay together at every size, and rises with it.
    for (uint32_t f = 0; f < gun.frames; ++f)
        for (size_t b = 0; b < parts.size(); ++b) {
            float* key = &model.keys[(size_t(f) * parts.size() + b) * 10];
            for (int axis = 0; axis < 3; ++axis) {
                key[axis] = mount[axis] + scale[f] * (parts[b].joint[axis] - mount[axis]);
                key[7 + axis] = scale[f];
            }
            key[1] += recoil[f];
            key[2] += rise[f];
        }
    return model;
}

} // namespace

void GunsRecipe::Run(const RecipeContext& context) const {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(context.contentDir) / "game_objects" / "resources.xml",
                                 error))
        return;
    OutputTree& out = *context.out;
    for (const GunShape& gun : shapes) {
        const std::string folder = "game_objects\\guns\\" + gun.word + "\\";
        const uint32_t seed = AssetRandom(folder + "gun.png", Version()).NextU32();
        VelmoraFormats::PngOptions options;
        options.colour = VelmoraFormats::PngColour::RGB;
        out.Write(folder + "gun.png", VelmoraFormats::WritePng(GunPicture(seed).ToPicture(3), options));
        const VbFormats::Material material = PictureMaterial(folder + "gun.png");
        WriteModel(out, folder + "gun", Gun(gun), material);

        // The bolt slides 2 units forward into the loaded pose, the pose it then flies in.
        const Mesh bolt = Bolt(gun);
        std::vector<Mesh> frames;
        for (int f = 0; f < 8; ++f)
            frames.push_back(Placed(bolt, {0, -2 * (1 - Ease(float(f) / 7)), 0}));
        WriteModel(out, folder + "bullet", VbAssets::ToAnimatedModel(frames, 40), material);
    }
}

} // namespace VbGen
