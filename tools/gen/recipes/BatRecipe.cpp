#include "tools/gen/recipes/BatRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/MeshPlacement.h"
#include "tools/gen/ModelOutput.h"
#include "tools/gen/PictureOutput.h"

#include <cmath>
#include <filesystem>

namespace VbGen {

using VbAssets::Canvas;
using VbAssets::Colour;
using VbAssets::Float3;
using VbAssets::Mesh;
using VbAssets::Mix;
using VbAssets::Rgb;
using VbAssets::SmoothStep;
using VbAssets::TileNoise;

namespace {

constexpr float pi = 3.14159265358979f;
const std::string folder = "game_objects\\bat\\";

// The head's length is its frame: the bat grows and shrinks by playing this animation's frames.
constexpr int headFrames = 61;
float HeadLength(int frame) {
    return 14.0f + 0.6f * float(frame);
}
constexpr float capRadius = 2.0f;
// Head bar across y 4..8 and z 0..5; the hull across x -10..10, y -4..4, z 0..4; the rotor's hub.
constexpr float headY = 6.0f, headHeight = 5.0f;
constexpr float hullWidth = 20.0f, hullDepth = 8.0f, hullHeight = 4.0f;
const Float3 rotorCentre{0, -1.5f, 4.75f};

Colour Scaled(const Colour& colour, float factor) {
    return {colour[0] * factor, colour[1] * factor, colour[2] * factor, colour[3]};
}

float Rim(float u, float v, float width) {
    const float edge = std::min({u, 1 - u, v, 1 - v});
    return 0.7f + 0.3f * SmoothStep(0, width, edge);
}

// The bumper: bright orange with a white band along its length, worn by the noise.
Canvas HeadPicture(uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(128, 64);
    canvas.Paint([&](float u, float v) {
        Colour c = Scaled(Rgb(232, 108, 28), 0.8f + 0.35f * noise.Fractal(u * 8, v * 8, 3));
        if (std::fabs(v - 0.5f) < 0.1f)
            c = Mix(c, Rgb(246, 240, 226), 0.9f);
        return Scaled(c, Rim(u, v, 0.08f));
    });
    return canvas;
}

// The hull: blue-grey plates with seams and rivets and a hazard band along its top edge.
Canvas HullPicture(uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(128, 64);
    canvas.Paint([&](float u, float v) {
        Colour c = Scaled(Rgb(70, 86, 112), 0.82f + 0.3f * noise.Fractal(u * 8, v * 8, 4));
        const float seamU = std::fabs(std::fmod(u * 4 + 0.5f, 1.0f) - 0.5f);
        if (seamU < 0.02f)
            c = Scaled(c, 0.55f);
        if (v < 0.16f)
            c = std::fmod(u * 12 + v * 6, 2.0f) < 1 ? Rgb(236, 190, 40) : Rgb(30, 30, 34);
        for (float ru : {0.06f, 0.44f, 0.56f, 0.94f}) {
            const float du = (u - ru) * 2, dv = v - 0.82f;
            if (std::sqrt(du * du + dv * dv) < 0.045f)
                c = Rgb(196, 204, 214);
        }
        return Scaled(c, Rim(u, v, 0.06f));
    });
    return canvas;
}

// The rotor: polished brass.
Canvas RotorPicture(uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(64, 64);
    canvas.Paint([&](float u, float v) {
        const float shine = 0.8f + 0.3f * std::sin((u + v) * pi * 3) + 0.15f * noise.Fractal(u * 8, v * 8, 3);
        return Scaled(Rgb(214, 168, 64), shine);
    });
    return canvas;
}

// Caps at both ends and a bar between them; every length gives the same vertex layout, so the frames
// morph into each other. The caps reach 3 units further towards the blocks than the bar: balls bounce on the
// head's box moved 3 back, that is on the bar's front, and the held ball rests against it between the caps.
Mesh HeadMesh(float length) {
    Mesh mesh;
    for (float side : {-1.0f, 1.0f}) {
        Mesh cap = VbAssets::Cylinder(capRadius, headHeight, 16);
        VbAssets::Translate(cap, {side * (length / 2 - capRadius), headY, headHeight / 2});
        mesh.Append(cap);
    }
    Mesh bar = VbAssets::BevelBox({length - 2 * capRadius, 1.0f, 3.8f}, 0.35f);
    VbAssets::Translate(bar, {0, headY + capRadius - 3 - 0.5f, headHeight / 2});
    mesh.Append(bar);
    return mesh;
}

Mesh HullMesh() {
    Mesh hull = VbAssets::BevelBox({hullWidth, hullDepth, hullHeight}, 1.0f);
    VbAssets::Translate(hull, {0, 0, hullHeight / 2});
    return hull;
}

// A hub with four blades, each pair mirrored through the hub, so the box's centre is the spin axis.
Mesh RotorMesh() {
    Mesh rotor = VbAssets::Cylinder(1.0f, 1.5f, 12);
    for (int k = 0; k < 4; ++k) {
        Mesh blade = VbAssets::Box({2.4f, 0.9f, 0.25f});
        VbAssets::RotateX(blade, 0.35f);
        VbAssets::Translate(blade, {1.8f, 0, 0});
        VbAssets::RotateZ(blade, float(k) * pi / 2);
        rotor.Append(blade);
    }
    VbAssets::Translate(rotor, rotorCentre);
    return rotor;
}

std::string TwoDigits(int i) {
    return (i < 10 ? "0" : "") + std::to_string(i);
}

} // namespace

void BatRecipe::Run(const RecipeContext& context) const {
    // The bat comes with the game-wide gameplay list.
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(context.contentDir) / "game_objects" / "resources.xml",
                                 error))
        return;
    OutputTree& out = *context.out;
    auto seed = [&](const std::string& name) { return AssetRandom(folder + name, Version()).NextU32(); };
    WritePng(out, folder + "head.png", HeadPicture(seed("head.png")), false);
    WritePng(out, folder + "body.png", HullPicture(seed("body.png")), false);
    WritePng(out, folder + "screw.png", RotorPicture(seed("screw.png")), false);
    const VbFormats::Material head = PictureMaterial(folder + "head.png");
    const VbFormats::Material hull = PictureMaterial(folder + "body.png");
    const VbFormats::Material rotor = PictureMaterial(folder + "screw.png");

    std::vector<Mesh> frames;
    for (int f = 0; f < headFrames; ++f)
        frames.push_back(HeadMesh(HeadLength(f)));
    WriteModel(out, folder + "head", VbAssets::ToAnimatedModel(frames, 0), head);
    WriteModel(out, folder + "body", VbAssets::ToModel(HullMesh()), hull);
    WriteModel(out, folder + "screw", VbAssets::ToModel(RotorMesh()), rotor);

    // The pieces, in their part's frame: the head cut across its length at the start size, the hull as a
    // grid of seven by five chunks, the rotor whole.
    const std::string pieces = folder + "fragments\\";
    const float startLength = HeadLength(20);
    for (int i = 0; i < 7; ++i) {
        const float x0 = -startLength / 2 + startLength * float(i) / 7;
        const float x1 = -startLength / 2 + startLength * float(i + 1) / 7;
        WriteModel(out, pieces + "head_" + TwoDigits(i),
                   VbAssets::ToModel(Beam({x0, headY - 2, 0}, {x1, headY + 2, headHeight}, 0.4f)), head);
    }
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 7; ++column) {
            const Float3 min{-hullWidth / 2 + hullWidth * float(column) / 7,
                             -hullDepth / 2 + hullDepth * float(row) / 5, 0};
            const Float3 max{-hullWidth / 2 + hullWidth * float(column + 1) / 7,
                             -hullDepth / 2 + hullDepth * float(row + 1) / 5, hullHeight};
            WriteModel(out, pieces + "body_" + TwoDigits(row * 7 + column),
                       VbAssets::ToModel(Beam(min, max, 0.3f)), hull);
        }
    WriteModel(out, pieces + "screw_00", VbAssets::ToModel(RotorMesh()), rotor);
}

} // namespace VbGen
