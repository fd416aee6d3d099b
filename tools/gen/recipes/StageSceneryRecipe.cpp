#include "tools/gen/recipes/StageSceneryRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/MeshPlacement.h"
#include "tools/gen/ModelOutput.h"
#include "tools/gen/PictureOutput.h"
#include "tools/gen/SceneryMeshes.h"

#include <cmath>
#include <filesystem>

namespace VbGen {

namespace fs = std::filesystem;

using VbAssets::Canvas;
using VbAssets::Clamp01;
using VbAssets::Colour;
using VbAssets::Float3;
using VbAssets::Mesh;
using VbAssets::Mix;
using VbAssets::Rgb;
using VbAssets::SmoothStep;
using VbAssets::TileNoise;

namespace {

constexpr float pi = 3.14159265358979f;

struct ScenerySizes {
    uint32_t ground;   // the floor and surround pictures (square)
    uint32_t detail;   // every other picture of a model (square)
    uint32_t backdrop; // the backdrop's width; its height is a quarter of it
};

// The frames of the animated pictures (water, lava), played by the material at this rate.
constexpr uint32_t kSequenceFrames = 8;
constexpr float kSequenceSpeed = 8;

Colour WithAlpha(Colour c, float alpha) {
    c[3] = alpha;
    return c;
}

// A flat card seen from both sides: the quad a b c d and its back.
void AddCard(Mesh& mesh, const Float3& a, const Float3& b, const Float3& c, const Float3& d) {
    mesh.AddQuad(a, b, c, d, {0, 0}, {1, 0}, {1, 1}, {0, 1});
    mesh.AddQuad(b, a, d, c, {1, 0}, {0, 0}, {0, 1}, {1, 1});
}

// A material that plays the numbered pictures stem0.png ... stem7.png; alpha blended when the pictures carry
// alpha.
VbFormats::Material SequenceMaterial(const std::string& stem, bool blended) {
    VbFormats::Material material = PictureMaterial(stem + std::to_string(kSequenceFrames - 1) + ".png");
    VbFormats::MaterialStage& stage = material.stages[0];
    stage.kind = 2;
    stage.frameCount = kSequenceFrames;
    stage.speed = kSequenceSpeed;
    if (blended) {
        material.flags = 1;
        material.blendSource = 4;
        material.blendDestination = 5;
    }
    return material;
}

// ---------------------------------------------------------------------------------------------------------
// The coast: a stone pier at sunset with posts and ropes, water all round, rocks, boats and a lighthouse.

const std::string coastFolder = "environment\\coast\\";

Canvas FlagstonePicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 16), stones(seed ^ 0x9E3779B9u, 4);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        // Four courses of stones, every other course shifted by half a stone.
        const float row = v * 4, shift = std::fmod(std::floor(row), 2.0f) * 0.5f;
        const float col = u * 3 + shift;
        const float fu = col - std::floor(col), fv = row - std::floor(row);
        const float edge = std::min({fu, 1 - fu, fv * 1.5f, (1 - fv) * 1.5f});
        const float tint = stones.At(std::floor(col) + 0.5f, std::floor(row) + 0.5f);
        Colour c = Mix(Rgb(150, 140, 124), Rgb(190, 178, 156), tint);
        c = Mix(c, Rgb(120, 110, 96), noise.Fractal(u * 16, v * 16, 3) * 0.5f);
        return Mix(Rgb(78, 70, 62), c, SmoothStep(0.0f, 0.05f, edge));
    });
    return canvas;
}

Canvas SandPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8), grains(seed ^ 0x77777u, 64);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float ripple = 0.5f + 0.5f * std::sin((v * 12 + noise.Fractal(u * 8, v * 8, 2) * 2) * 2 * pi);
        Colour c = Mix(Rgb(150, 128, 92), Rgb(196, 172, 128), ripple * 0.6f + 0.4f * noise.Fractal(u * 4, v * 4, 3));
        return Mix(c, Rgb(120, 100, 72), SmoothStep(0.7f, 1.0f, grains.At(u * 64, v * 64)) * 0.5f);
    });
    return canvas;
}

Canvas WeatheredWoodPicture(uint32_t size, uint32_t seed) {
    TileNoise grain(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float ring = std::sin((u * 5 + 2 * grain.Fractal(u * 4, v * 8, 3)) * pi * 4);
        return Mix(Rgb(96, 80, 64), Rgb(150, 132, 108), 0.5f + 0.5f * ring);
    });
    return canvas;
}

Canvas RockPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 4);
        return Mix(Rgb(70, 66, 64), Rgb(140, 132, 124), n);
    });
    return canvas;
}

// The lighthouse: red and white bands up the tower (v), the lamp's glass at the top of the picture.
Canvas LighthousePicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 3) * 0.15f;
        if (v < 0.2f) // the lamp's glass
            return Mix(Rgb(255, 240, 170), Rgb(255, 200, 90), v * 5);
        const bool red = std::fmod((1 - v) * 5, 1.0f) < 0.5f;
        return Mix(red ? Rgb(190, 40, 36) : Rgb(236, 232, 224), Rgb(60, 50, 50), n);
    });
    return canvas;
}

// One frame of the water: blue-green with moving caustic lines, partly see-through.
Canvas WaterPicture(uint32_t size, uint32_t seed, uint32_t frame) {
    TileNoise a(seed, 8), b(seed ^ 0x2468ACEu, 8);
    const float phase = float(frame) / float(kSequenceFrames);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        // Both noises drift by a whole period over the sequence, so the last frame flows into the first.
        const float n1 = a.Fractal(u * 8 + phase * 8, v * 8, 3);
        const float n2 = b.Fractal(u * 8, v * 8 - phase * 8, 3);
        const float lines = 1 - std::abs(n1 - n2) * 10;
        Colour c = Mix(Rgb(20, 62, 96), Rgb(40, 104, 130), n1);
        c = Mix(c, Rgb(170, 210, 220), SmoothStep(0.7f, 1.0f, lines) * 0.45f);
        return WithAlpha(c, 0.72f);
    });
    return canvas;
}

// The beam's picture: a warm light bright at the lamp (u 0), fading along the beam and to its edges.
Canvas BeamPicture(uint32_t size) {
    Canvas canvas(size, size);
    canvas.Paint([](float u, float v) {
        const float across = 1 - std::abs(v - 0.5f) * 2;
        return WithAlpha(Rgb(255, 244, 200), (1 - u) * (1 - u) * SmoothStep(0.0f, 0.8f, across));
    });
    return canvas;
}

// Boats: sail cloth in the top half of the picture (texture v 0.5..1), the tarred hull below it.
Canvas BoatPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 3);
        if (v < 0.5f)
            return Mix(Rgb(226, 210, 180), Rgb(246, 236, 214), n);
        return std::fmod(v * 8, 1.0f) < 0.15f ? Rgb(40, 30, 24) : Mix(Rgb(70, 50, 36), Rgb(110, 80, 56), n);
    });
    return canvas;
}

// The evening sky over the sea: violet above, orange at the horizon, a low sun and the sea below it.
Canvas SunsetPicture(uint32_t width, uint32_t seed) {
    const uint32_t height = width / 4;
    TileNoise clouds(seed, 16), waves(seed ^ 0x13579u, 32);
    Canvas canvas(width, height);
    canvas.Paint([&](float u, float v) {
        const float up = 1 - v; // 0 at the bottom of the picture
        const float horizon = 0.2f;
        if (up < horizon) {
            const float glitter = SmoothStep(0.75f, 1.0f, waves.At(u * 96, up * 40)) *
                                  std::exp(-std::pow((u - 0.62f) * 8, 2));
            return Mix(Mix(Rgb(30, 40, 70), Rgb(120, 80, 80), up / horizon), Rgb(255, 210, 140), glitter);
        }
        Colour c = Mix(Rgb(250, 150, 80), Rgb(70, 50, 120), SmoothStep(horizon, 0.85f, up));
        const float sun = std::hypot((u - 0.62f) * 4, (up - horizon - 0.06f) * 1.0f);
        c = Mix(c, Rgb(255, 236, 180), SmoothStep(0.16f, 0.04f, sun));
        const float cloud = SmoothStep(0.6f, 0.85f, clouds.Fractal(u * 16, v * 4, 4)) * SmoothStep(0.3f, 0.5f, up);
        return Mix(c, Rgb(200, 110, 110), cloud * 0.6f);
    });
    return canvas;
}

void WriteCoast(OutputTree& out, const ScenerySizes& sizes) {
    const std::string folder = coastFolder;
    auto seed = [&](const std::string& name) { return AssetRandom(folder + name, 1).NextU32(); };
    WriteDxt1(out, folder + "flagstones.dds", FlagstonePicture(sizes.ground, seed("flagstones.dds")));
    WriteDxt1(out, folder + "sand.dds", SandPicture(sizes.ground, seed("sand.dds")));
    WritePng(out, folder + "wood.png", WeatheredWoodPicture(sizes.detail, seed("wood.png")), false);
    WritePng(out, folder + "rock.png", RockPicture(sizes.detail, seed("rock.png")), false);
    WritePng(out, folder + "lighthouse.png", LighthousePicture(sizes.detail, seed("lighthouse.png")), false);
    WritePng(out, folder + "boat.png", BoatPicture(sizes.detail, seed("boat.png")), false);
    WritePng(out, folder + "beam.png", BeamPicture(sizes.detail), true);
    for (uint32_t frame = 0; frame < kSequenceFrames; ++frame)
        WritePng(out, folder + "water" + std::to_string(frame) + ".png",
                 WaterPicture(sizes.detail, seed("water"), frame), true);
    WritePng(out, folder + "backdrop.png", SunsetPicture(sizes.backdrop, seed("backdrop.png")), false);
    auto material = [&](const std::string& picture) { return PictureMaterial(folder + picture); };

    // The pier's deck under the blocks, reaching past the bottom edge of the screen.
    const Mesh floor = Placed(VbAssets::Grid(170, 250, 1, 1, 3, 5), {0, -20, 0});
    WriteModel(out, folder + "floor", VbAssets::ToModel(floor), material("flagstones.dds"));

    // The sea bed, seen through the water, out to where the far plane cuts it.
    const Mesh ground = Placed(VbAssets::Grid(1040, 680, 8, 6, 16, 10), {0, 200, -9});
    WriteModel(out, folder + "ground", VbAssets::ToModel(ground), material("sand.dds"));

    // Low kerbs on the walls of the field, posts along them and two ropes between the posts.
    Mesh rails = WallRails(3, 0.6f);
    std::vector<Float3> posts;
    for (float y = -90; y <= 105; y += 39) {
        posts.push_back({-80, y, 0});
        posts.push_back({80, y, 0});
    }
    for (float x = -41; x <= 41; x += 41)
        posts.push_back({x, 105, 0});
    for (const Float3& post : posts) {
        Mesh pole = VbAssets::Cylinder(2.2f, 11, 8);
        VbAssets::MapUv(pole, 0.3f, 0.3f, 0, 0);
        rails.Append(Placed(pole, {post[0], post[1], 5.5f}));
    }
    for (float z : {6.5f, 9.5f}) {
        rails.Append(Beam({-80.5f, -90, z - 0.35f}, {-79.5f, 105, z + 0.35f}, 0.1f));
        rails.Append(Beam({79.5f, -90, z - 0.35f}, {80.5f, 105, z + 0.35f}, 0.1f));
        rails.Append(Beam({-80, 104.5f, z - 0.35f}, {80, 105.5f, z + 0.35f}, 0.1f));
    }
    WriteModel(out, folder + "rails", VbAssets::ToModel(rails), material("wood.png"));

    // The water all round the pier, just below its deck.
    const Mesh water = Placed(VbAssets::Grid(1040, 680, 16, 12, 12, 8), {0, 200, -2});
    WriteModel(out, folder + "water", VbAssets::ToModel(water), SequenceMaterial(folder + "water", true));

    // The pier's stone body and rocks along it and out in the water.
    AssetRandom rockRandom(folder + "rocks", 1);
    Mesh rocks = Beam({-92, -150, -12}, {92, 122, -0.05f}, 2);
    for (int i = 0; i < 16; ++i) {
        const float side = i % 2 == 0 ? -1.0f : 1.0f;
        const float r = rockRandom.Range(6, 16);
        Mesh rock = VbAssets::Rock(r, 0.3f, 1, [&] { return rockRandom.NextFloat(); });
        VbAssets::Scale(rock, {1, 1, 0.6f});
        rocks.Append(Placed(rock, {side * rockRandom.Range(100, 300), rockRandom.Range(-100, 420), -3}));
    }
    WriteModel(out, folder + "rocks", VbAssets::ToModel(rocks), material("rock.png"));

    // The lighthouse right of the field; its lamp house turns once about the tower's axis over the frames
    // (the last frame equals the first, so the loop does not jump).
    const Float3 base{240, 360, 0};
    Mesh tower = VbAssets::Lathe({{20, -8}, {20, 0}, {13, 100}, {17, 100}, {17, 104}}, 14);
    VbAssets::MapUv(tower, 1, 0.8f, 0, 0); // the bands; the glass is the top fifth
    tower = Placed(tower, base);
    Mesh lamp = VbAssets::Lathe({{9, 0}, {9, 12}, {11, 12}, {0, 20}}, 10);
    VbAssets::MapUv(lamp, 1, 0.2f, 0, 0.8f);
    Mesh lens = Beam({8, -3, 3}, {11, 3, 9}, 0.3f);
    VbAssets::MapUv(lens, 0.2f, 0.2f, 0, 0.8f);
    lamp.Append(lens);
    lamp = Placed(lamp, {base[0], base[1], 104});
    const uint32_t frames = 24;
    VbAssets::SkinnedPart towerPart{"tower", tower, base, {}};
    VbAssets::SkinnedPart lampPart{"lamp", lamp, {base[0], base[1], 104}, {}};
    for (uint32_t f = 0; f < frames; ++f) {
        towerPart.rotations.push_back({0, 0, 0, 1});
        lampPart.rotations.push_back(VbAssets::AxisAngle({0, 0, 1}, 2 * pi * float(f) / float(frames - 1)));
    }
    WriteModel(out, folder + "lighthouse", VbAssets::ToSkinnedModel({towerPart, lampPart}, frames, 8),
               material("lighthouse.png"));

    // The lamp's light out over the sea: a see-through card from the lamp towards the left horizon.
    Mesh beam;
    const Float3 lampAt{base[0], base[1], 112};
    AddCard(beam, {lampAt[0], lampAt[1], lampAt[2] - 4}, {-260, 520, 60}, {-260, 520, 150},
            {lampAt[0], lampAt[1], lampAt[2] + 4});
    WriteModel(out, folder + "beam", VbAssets::ToModel(beam), PictureMaterial(folder + "beam.png", folder + "beam.png"));

    // Three boats bobbing and rolling on the water, 16 frames, the last equal to the first.
    const Float3 boatPlaces[3] = {{-230, 250, -2}, {300, 150, -2}, {-360, 430, -2}};
    std::vector<Mesh> boatFrames;
    for (uint32_t f = 0; f < 16; ++f) {
        Mesh boats;
        for (int b = 0; b < 3; ++b) {
            const float t = 2 * pi * (float(f) / 15.0f + float(b) / 3.0f);
            Mesh hull = VbAssets::BevelBox({30, 10, 6}, 2);
            VbAssets::MapUv(hull, 1, 0.5f, 0, 0);
            Mesh mast = VbAssets::Cylinder(0.8f, 34, 6);
            VbAssets::MapUv(mast, 0.1f, 0.5f, 0, 0);
            hull.Append(Placed(mast, {0, 0, 20}));
            Mesh sail;
            AddCard(sail, {-12, 0.5f, 5}, {0, 0.5f, 5}, {0, 0.5f, 34}, {-12, 0.5f, 34});
            VbAssets::MapUv(sail, 1, 0.5f, 0, 0.5f);
            hull.Append(sail);
            VbAssets::RotateY(hull, 0.08f * std::sin(t));
            VbAssets::RotateZ(hull, 0.4f * float(b));
            boats.Append(Placed(hull, {boatPlaces[b][0], boatPlaces[b][1], boatPlaces[b][2] + 1.2f * std::sin(t)}));
        }
        boatFrames.push_back(boats);
    }
    WriteModel(out, folder + "boats", VbAssets::ToAnimatedModel(boatFrames, 6), material("boat.png"));

    WriteModel(out, folder + "backdrop", VbAssets::ToModel(BackdropArc()), material("backdrop.png"));
}

// ---------------------------------------------------------------------------------------------------------
// The forge: an iron foundry floor in brick walls, lava channels with their glow, gear wheels and chimneys
// before a smoky red sky.

const std::string forgeFolder = "environment\\forge\\";

Canvas PlatesPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 16);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float pu = u * 2 - std::floor(u * 2), pv = v * 2 - std::floor(v * 2);
        const float edge = std::min({pu, 1 - pu, pv, 1 - pv});
        Colour c = Mix(Rgb(70, 68, 66), Rgb(110, 104, 98), noise.Fractal(u * 16, v * 16, 4));
        c = Mix(Rgb(30, 28, 26), c, SmoothStep(0.0f, 0.03f, edge));
        // Rivets along every plate's border.
        const float ru = pu * 8 - std::floor(pu * 8) - 0.5f;
        const float near = std::min(std::hypot(ru, (pv - 0.06f) * 8), std::hypot(ru, (pv - 0.94f) * 8));
        return Mix(c, Rgb(160, 150, 140), SmoothStep(0.3f, 0.15f, near));
    });
    return canvas;
}

Canvas SootPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8), cracks(seed ^ 0xBEEFu, 16);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        Colour c = Mix(Rgb(30, 26, 24), Rgb(66, 56, 50), noise.Fractal(u * 8, v * 8, 4));
        const float crack = std::abs(cracks.Fractal(u * 16, v * 16, 2) - 0.5f);
        return Mix(c, Rgb(160, 60, 20), SmoothStep(0.02f, 0.0f, crack) * 0.6f);
    });
    return canvas;
}

Canvas BrickPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 16), tint(seed ^ 0x5151u, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float row = v * 8, shift = std::fmod(std::floor(row), 2.0f) * 0.5f;
        const float col = u * 4 + shift;
        const float fu = col - std::floor(col), fv = row - std::floor(row);
        const float edge = std::min({fu * 2, (1 - fu) * 2, fv, 1 - fv});
        Colour c = Mix(Rgb(120, 46, 30), Rgb(164, 74, 44), tint.At(std::floor(col) + 0.5f, std::floor(row) + 0.5f));
        c = Mix(c, Rgb(60, 30, 24), noise.Fractal(u * 16, v * 16, 3) * 0.4f);
        return Mix(Rgb(50, 44, 40), c, SmoothStep(0.0f, 0.12f, edge));
    });
    return canvas;
}

Canvas IronPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        return Mix(Rgb(46, 44, 46), Rgb(120, 112, 104), noise.Fractal(u * 8, v * 8, 4));
    });
    return canvas;
}

// One frame of the lava: bright molten streams under a dark crust that drifts along v.
Canvas LavaPicture(uint32_t size, uint32_t seed, uint32_t frame) {
    TileNoise crust(seed, 8), heat(seed ^ 0xF00Du, 4);
    const float phase = float(frame) / float(kSequenceFrames);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float n = crust.Fractal(u * 8, v * 8 + phase * 8, 3);
        const float h = heat.Fractal(u * 4, v * 4 + phase * 4, 2);
        Colour c = Mix(Rgb(255, 230, 120), Rgb(230, 80, 10), SmoothStep(0.3f, 0.7f, h));
        return Mix(c, Rgb(50, 14, 6), SmoothStep(0.5f, 0.7f, n));
    });
    return canvas;
}

// The glow over the lava: warm and strong at the bottom of the picture (texture v 0, where the cards stand
// on the ground), nothing at the top.
Canvas GlowPicture(uint32_t size) {
    Canvas canvas(size, size);
    canvas.Paint([](float u, float v) {
        const float across = 1 - std::abs(u - 0.5f) * 2;
        return WithAlpha(Rgb(255, 200, 140), v * v * SmoothStep(0.0f, 0.4f, across));
    });
    return canvas;
}

// A dark red sky full of smoke over the roofs and chimneys of the works.
Canvas SmokePicture(uint32_t width, uint32_t seed) {
    const uint32_t height = width / 4;
    TileNoise smoke(seed, 16), roofs(seed ^ 0xABCDu, 16);
    Canvas canvas(width, height);
    canvas.Paint([&](float u, float v) {
        const float up = 1 - v;
        Colour c = Mix(Rgb(170, 70, 30), Rgb(30, 16, 20), SmoothStep(0.05f, 0.8f, up));
        c = Mix(c, Rgb(70, 56, 56), SmoothStep(0.5f, 0.8f, smoke.Fractal(u * 16, v * 4, 4)) * 0.7f);
        // Roofs of three heights, and a chimney in some of eleven slots, each of its own height.
        const float roof = 0.16f + 0.1f * std::floor(roofs.At(u * 16, 0.5f) * 3) / 3;
        const float slot = std::floor(u * 11);
        const bool chimney = std::fmod(u * 11, 1.0f) < 0.16f && roofs.At(slot + 0.5f, 5.5f) > 0.45f;
        const float stack = chimney ? 0.35f + 0.25f * roofs.At(slot + 0.5f, 9.5f) : 0.0f;
        if (up < std::max(roof, stack))
            c = Rgb(20, 14, 14);
        return c;
    });
    return canvas;
}

// A gear wheel standing upright (axis along y) at the origin: a disc with teeth round it and a hub.
Mesh GearWheel(float radius, int teeth) {
    Mesh gear = VbAssets::Cylinder(radius, 8, 24);
    VbAssets::RotateX(gear, pi / 2);
    for (int t = 0; t < teeth; ++t) {
        Mesh tooth = VbAssets::BevelBox({radius * 0.3f, 8, radius * 0.22f}, 0.8f);
        VbAssets::Translate(tooth, {0, 0, radius + radius * 0.1f});
        VbAssets::RotateY(tooth, 2 * pi * float(t) / float(teeth));
        gear.Append(tooth);
    }
    Mesh hub = VbAssets::Cylinder(radius * 0.25f, 14, 12);
    VbAssets::RotateX(hub, pi / 2);
    gear.Append(hub);
    return gear;
}

void WriteForge(OutputTree& out, const ScenerySizes& sizes) {
    const std::string folder = forgeFolder;
    auto seed = [&](const std::string& name) { return AssetRandom(folder + name, 1).NextU32(); };
    WriteDxt1(out, folder + "plates.dds", PlatesPicture(sizes.ground, seed("plates.dds")));
    WriteDxt1(out, folder + "soot.dds", SootPicture(sizes.ground, seed("soot.dds")));
    WritePng(out, folder + "brick.png", BrickPicture(sizes.detail, seed("brick.png")), false);
    WritePng(out, folder + "iron.png", IronPicture(sizes.detail, seed("iron.png")), false);
    WritePng(out, folder + "glow.png", GlowPicture(sizes.detail), true);
    for (uint32_t frame = 0; frame < kSequenceFrames; ++frame)
        WritePng(out, folder + "lava" + std::to_string(frame) + ".png", LavaPicture(sizes.detail, seed("lava"), frame),
                 false);
    WritePng(out, folder + "backdrop.png", SmokePicture(sizes.backdrop, seed("backdrop.png")), false);
    auto material = [&](const std::string& picture) { return PictureMaterial(folder + picture); };

    const Mesh floor = Placed(VbAssets::Grid(170, 250, 1, 1, 2, 3), {0, -20, 0});
    WriteModel(out, folder + "floor", VbAssets::ToModel(floor), material("plates.dds"));

    const Mesh ground = Placed(VbAssets::Grid(1040, 680, 8, 6, 16, 10), {0, 200, -1});
    WriteModel(out, folder + "ground", VbAssets::ToModel(ground), material("soot.dds"));

    // Brick walls on the walls of the field, with piers at intervals.
    Mesh rails = WallRails(8, 0.8f);
    for (float y = -90; y <= 100; y += 38) {
        rails.Append(Beam({-87, y - 3, 0}, {-73, y + 3, 11}, 0.8f));
        rails.Append(Beam({73, y - 3, 0}, {87, y + 3, 11}, 0.8f));
    }
    for (float x = -76; x <= 76; x += 38)
        rails.Append(Beam({x - 3, 98, 0}, {x + 3, 112, 11}, 0.8f));
    WriteModel(out, folder + "rails", VbAssets::ToModel(rails), material("brick.png"));

    // Lava channels: one down each side of the field and one across behind it, in stone-lined trenches
    // drawn by the ground's colour around them.
    Mesh lava = Placed(VbAssets::Grid(60, 560, 1, 8, 1, 8), {-150, 140, -0.5f});
    lava.Append(Placed(VbAssets::Grid(60, 560, 1, 8, 1, 8), {150, 140, -0.5f}));
    lava.Append(Placed(VbAssets::Grid(240, 50, 4, 1, 4, 1), {0, 190, -0.5f}));
    WriteModel(out, folder + "lava", VbAssets::ToModel(lava), SequenceMaterial(folder + "lava", false));

    // The heat rising from the channels: see-through cards standing along them.
    Mesh glow;
    for (float y = -60; y <= 400; y += 92)
        for (float x : {-150.0f, 150.0f})
            AddCard(glow, {x - 30, y, 0}, {x + 30, y, 0}, {x + 30, y, 40}, {x - 30, y, 40});
    for (float x = -90; x <= 90; x += 60)
        AddCard(glow, {x - 30, 190, 0}, {x + 30, 190, 0}, {x + 30, 190, 30}, {x - 30, 190, 30});
    WriteModel(out, folder + "glow", VbAssets::ToModel(glow), PictureMaterial(folder + "glow.png", folder + "glow.png"));

    // Two gear wheels meshing on the far side, turning the other way round: the big one by one tooth
    // (of twelve) over the frames, the small one by one tooth of eight, so both loop without a jump.
    const Float3 bigAt{-120, 330, 70}, smallAt{-44, 330, 42};
    Mesh big = Placed(GearWheel(48, 12), bigAt);
    Mesh small = Placed(GearWheel(30, 8), smallAt);
    Mesh frame = Beam({-180, 320, 0}, {10, 340, 8}, 1);
    frame.Append(Beam({-124, 322, 0}, {-116, 338, 70}, 1));
    frame.Append(Beam({-48, 322, 0}, {-40, 338, 42}, 1));
    const uint32_t frames = 24;
    VbAssets::SkinnedPart framePart{"frame", frame, {0, 330, 0}, {}};
    VbAssets::SkinnedPart bigPart{"big", big, bigAt, {}};
    VbAssets::SkinnedPart smallPart{"small", small, smallAt, {}};
    for (uint32_t f = 0; f < frames; ++f) {
        const float t = float(f) / float(frames - 1);
        framePart.rotations.push_back({0, 0, 0, 1});
        bigPart.rotations.push_back(VbAssets::AxisAngle({0, 1, 0}, 2 * pi / 12 * t));
        smallPart.rotations.push_back(VbAssets::AxisAngle({0, 1, 0}, -2 * pi / 8 * t));
    }
    WriteModel(out, folder + "gears", VbAssets::ToSkinnedModel({framePart, bigPart, smallPart}, frames, 12),
               material("iron.png"));

    // Chimneys of brick behind the works.
    AssetRandom chimneyRandom(folder + "chimneys", 1);
    Mesh chimneys;
    for (float x : {-300.0f, -190.0f, 120.0f, 230.0f, 340.0f}) {
        const float h = chimneyRandom.Range(150, 220), r = chimneyRandom.Range(12, 18);
        Mesh chimney = VbAssets::Lathe({{r * 1.3f, 0}, {r, h}, {r * 1.15f, h}, {r * 1.15f, h + 6}, {r * 0.8f, h + 6}}, 12);
        VbAssets::MapUv(chimney, 2, h / 40, 0, 0);
        chimneys.Append(Placed(chimney, {x, chimneyRandom.Range(400, 470), 0}));
    }
    WriteModel(out, folder + "chimneys", VbAssets::ToModel(chimneys), material("brick.png"));

    WriteModel(out, folder + "backdrop", VbAssets::ToModel(BackdropArc()), material("backdrop.png"));
}

} // namespace

void StageSceneryRecipe::Run(const RecipeContext& context) const {
    const fs::path content = fs::path(context.contentDir) / "environment";
    const bool minimal = context.profile == Profile::Minimal;
    const ScenerySizes sizes = minimal ? ScenerySizes{16, 16, 64} : ScenerySizes{256, 128, 1024};
    std::error_code error;
    if (fs::is_regular_file(content / "coast.xml", error))
        WriteCoast(*context.out, sizes);
    if (fs::is_regular_file(content / "forge.xml", error))
        WriteForge(*context.out, sizes);
}

} // namespace VbGen
