#include "tools/gen/recipes/EnvironmentRecipe.h"

#include "tools/assets/Canvas.h"
#include "tools/assets/Mesh.h"
#include "tools/formats/FieldWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"
#include "tools/gen/MeshPlacement.h"
#include "tools/gen/ModelOutput.h"
#include "tools/gen/PictureOutput.h"
#include "tools/gen/SceneryMeshes.h"

#include <cmath>
#include <filesystem>
#include <sstream>

namespace VbGen {

namespace fs = std::filesystem;

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

std::string ReadText(const fs::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path.string());
    return std::string(bytes.begin(), bytes.end());
}

// The lights file is written by hand; it is read token by token with no keys, so a miscount shifts every
// later value. Checked here: comments on lines of their own, the ambient colour, at most eight lights of
// fifteen numbers each, colours within 0..255, nothing after the last light.
std::string CheckedLighting(const std::string& text, const std::string& where) {
    std::vector<float> values;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t comment = line.find("//");
        const std::string body = line.substr(0, comment);
        std::istringstream words(body);
        std::string word;
        bool any = false;
        while (words >> word) {
            any = true;
            try {
                size_t used = 0;
                values.push_back(std::stof(word, &used));
                if (used != word.size())
                    throw std::invalid_argument(word);
            } catch (const std::exception&) {
                throw GenError(where + ":" + std::to_string(number) + ": \"" + word + "\" is not a number");
            }
        }
        if (any && comment != std::string::npos)
            throw GenError(where + ":" + std::to_string(number) + ": comments stand on lines of their own");
    }
    if (values.size() < 4)
        throw GenError(where + ": the ambient colour and the light count are missing");
    const float count = values[3];
    if (count < 0 || count > 8 || count != std::floor(count))
        throw GenError(where + ": the light count must be a whole number from 0 to 8");
    if (values.size() != 4 + size_t(count) * 15)
        throw GenError(where + ": " + std::to_string(size_t(count)) + " lights need " +
                       std::to_string(4 + size_t(count) * 15) + " numbers, the file holds " +
                       std::to_string(values.size()));
    auto colour = [&](size_t at) {
        for (size_t k = at; k < at + 3; ++k)
            if (values[k] < 0 || values[k] > 255)
                throw GenError(where + ": colour components lie in 0..255");
    };
    colour(0);
    for (size_t light = 0; light < size_t(count); ++light)
        for (size_t part : {3, 6, 9})
            colour(4 + light * 15 + part);
    return text;
}

// The walls of the play field, one "wall MINX MINY MINZ MAXX MAXY MAXZ" line each ("#" comments). The
// game takes its limits from them: the one wall wider than deep is the far wall (its min y the top limit),
// the others are side walls, right of the centre (min x the right limit) or left of it (max x the left
// limit). So exactly one far wall and one side wall on each side, none reaching into the bat's zone.
std::vector<VbFormats::FieldWall> CompileField(const std::string& text, const std::string& where) {
    std::vector<VbFormats::FieldWall> walls;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    int far = 0, left = 0, right = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line.substr(0, line.find('#')));
        std::string key;
        if (!(words >> key))
            continue;
        VbFormats::FieldWall wall;
        const std::string at = where + ":" + std::to_string(number);
        if (key != "wall" || !(words >> wall.min[0] >> wall.min[1] >> wall.min[2] >> wall.max[0] >>
                               wall.max[1] >> wall.max[2]))
            throw GenError(at + ": expected wall MINX MINY MINZ MAXX MAXY MAXZ");
        std::string extra;
        if (words >> extra)
            throw GenError(at + ": unexpected \"" + extra + "\"");
        for (int k = 0; k < 3; ++k)
            if (wall.min[size_t(k)] >= wall.max[size_t(k)])
                throw GenError(at + ": a wall's min lies below its max on every axis");
        if (wall.min[1] < -95)
            throw GenError(at + ": walls end at y -95, clear of the bat");
        const float halfX = (wall.max[0] - wall.min[0]) / 2, halfY = (wall.max[1] - wall.min[1]) / 2;
        if (halfY < halfX)
            ++far;
        else if ((wall.min[0] + wall.max[0]) / 2 > 0)
            ++right;
        else
            ++left;
        walls.push_back(wall);
    }
    if (far != 1 || left != 1 || right != 1)
        throw GenError(where + ": the field needs one far wall and one side wall left and right");
    return walls;
}

// ---------------------------------------------------------------------------------------------------------
// The meadow: a summer lawn in wooden rails, hedges, trees, a windmill and flowers before a painted sky.

const std::string meadowFolder = "environment\\meadow\\";

struct MeadowSizes {
    uint32_t ground;   // the two ground pictures (square)
    uint32_t detail;   // wood, leaves, tree, windmill, flowers (square)
    uint32_t backdrop; // the backdrop's width; its height is a quarter of it
};

// Grass: blades of two greens over soft patches; with a few pale dots of clover for the surround.
Canvas GrassPicture(uint32_t size, uint32_t seed, bool clover) {
    TileNoise patches(seed, 4), blades(seed ^ 0x5A5A5A5Au, 64);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float p = patches.Fractal(u * 4, v * 4, 3);
        const float b = blades.At(u * 64, v * 64 * 0.5f);
        Colour c = Mix(clover ? Rgb(74, 128, 50) : Rgb(88, 150, 58),
                       clover ? Rgb(112, 150, 62) : Rgb(124, 176, 74), p);
        c = Mix(c, Rgb(52, 96, 40), SmoothStep(0.6f, 0.95f, b) * 0.6f);
        if (clover && blades.At(u * 64 + 17, v * 64 + 5) > 0.93f)
            c = Mix(c, Rgb(236, 232, 214), 0.8f);
        return c;
    });
    return canvas;
}

Canvas WoodPicture(uint32_t size, uint32_t seed) {
    TileNoise grain(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float ring = std::sin((u * 6 + 2 * grain.Fractal(u * 4, v * 8, 3)) * pi * 4);
        return VbAssets::Colour(Mix(Rgb(118, 78, 44), Rgb(164, 116, 68), 0.5f + 0.5f * ring));
    });
    return canvas;
}

Canvas LeavesPicture(uint32_t size, uint32_t seed, const Colour& dark, const Colour& light) {
    TileNoise leaves(seed, 16);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float n = leaves.Fractal(u * 16, v * 16, 3);
        return Mix(dark, light, SmoothStep(0.3f, 0.75f, n));
    });
    return canvas;
}

// The windmill's picture: whitewashed wall below (v from 0.5 down), the cap and the sails' cloth above.
Canvas WindmillPicture(uint32_t size, uint32_t seed) {
    TileNoise noise(seed, 8);
    Canvas canvas(size, size);
    canvas.Paint([&](float u, float v) {
        const float n = noise.Fractal(u * 8, v * 8, 3);
        if (v < 0.5f) // top half of the picture: sail cloth with a lattice
            return (std::fmod(u * 8, 1.0f) < 0.1f || std::fmod(v * 16, 1.0f) < 0.1f)
                       ? Rgb(96, 70, 46)
                       : Mix(Rgb(226, 214, 190), Rgb(246, 240, 226), n);
        return Mix(Rgb(214, 206, 196), Rgb(238, 232, 224), n);
    });
    return canvas;
}

// Flowers on a clear ground: round heads in four colours with a darker heart.
Canvas FlowersPicture(uint32_t size, AssetRandom& random) {
    Canvas canvas(size, size, {0.3f, 0.5f, 0.2f, 0});
    const Colour colours[4] = {Rgb(236, 76, 96), Rgb(250, 214, 64), Rgb(244, 244, 250), Rgb(150, 110, 230)};
    const float scale = float(size) / 128;
    for (int i = 0; i < 14; ++i) {
        const float cx = random.Range(10, 118) * scale, cy = random.Range(10, 100) * scale;
        const float r = random.Range(5, 9) * scale;
        const Colour& petal = colours[random.Below(4)];
        // The stem down to the picture's bottom edge.
        for (int y = int(cy); y < int(size); ++y)
            canvas.Blend(int(cx), y, Rgb(60, 120, 40), 1);
        for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
            for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x) {
                const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) / r;
                if (d <= 1)
                    canvas.Blend(x, y, d < 0.35f ? Rgb(200, 140, 30) : petal, VbAssets::Clamp01((1 - d) * r));
            }
    }
    return canvas;
}

// Sky from deep blue at the top to pale at the horizon, a few soft clouds, rolling hills at the bottom.
Canvas BackdropPicture(uint32_t width, uint32_t seed) {
    const uint32_t height = width / 4;
    TileNoise clouds(seed, 16), hills(seed ^ 0x1234567u, 8);
    Canvas canvas(width, height);
    canvas.Paint([&](float u, float v) {
        const float up = 1 - v; // 0 at the bottom of the picture
        Colour c = Mix(Rgb(196, 222, 240), Rgb(92, 150, 214), SmoothStep(0.1f, 0.7f, up));
        const float cloud =
            SmoothStep(0.55f, 0.8f, clouds.Fractal(u * 16, v * 4, 4)) * SmoothStep(0.15f, 0.3f, up);
        c = Mix(c, Rgb(250, 250, 252), cloud * 0.85f);
        const float far = 0.1f + 0.05f * hills.Fractal(u * 8, 0.5f, 3);
        const float near = 0.06f + 0.05f * hills.Fractal(u * 8 + 3.7f, 2.5f, 3);
        if (up < far)
            c = Mix(Rgb(112, 150, 120), Rgb(96, 138, 104), up / far);
        if (up < near)
            c = Mix(Rgb(70, 120, 56), Rgb(84, 136, 62), up / near);
        return c;
    });
    return canvas;
}

void WriteMeadow(OutputTree& out, const MeadowSizes& sizes) {
    auto seed = [](const std::string& name) { return AssetRandom(meadowFolder + name, 1).NextU32(); };
    const std::string folder = meadowFolder;
    WriteDxt1(out, folder + "grass.dds", GrassPicture(sizes.ground, seed("grass.dds"), false));
    WriteDxt1(out, folder + "meadow_ground.dds", GrassPicture(sizes.ground, seed("meadow_ground.dds"), true));
    WritePng(out, folder + "wood.png", WoodPicture(sizes.detail, seed("wood.png")), false);
    WritePng(out, folder + "hedge.png",
             LeavesPicture(sizes.detail, seed("hedge.png"), Rgb(34, 82, 30), Rgb(80, 136, 50)), false);
    WritePng(out, folder + "tree.png",
             LeavesPicture(sizes.detail, seed("tree.png"), Rgb(28, 70, 34), Rgb(70, 124, 52)), false);
    WritePng(out, folder + "windmill.png", WindmillPicture(sizes.detail, seed("windmill.png")), false);
    AssetRandom flowerRandom(folder + "flowers.png", 1);
    WritePng(out, folder + "flowers.png", FlowersPicture(sizes.detail, flowerRandom), true);
    WritePng(out, folder + "backdrop.png", BackdropPicture(sizes.backdrop, seed("backdrop.png")), false);

    auto material = [&](const std::string& picture) { return PictureMaterial(folder + picture); };

    // The lawn under the blocks, reaching towards the camera past the bottom edge of the screen.
    Mesh floor = Placed(VbAssets::Grid(170, 250, 1, 1, 4, 6), {0, -20, 0});
    WriteModel(out, folder + "floor", VbAssets::ToModel(floor), material("grass.dds"));

    // The surround, a little below the lawn, out to where the far plane cuts the ground.
    Mesh ground = Placed(VbAssets::Grid(1040, 680, 8, 6, 20, 13), {0, 200, -0.3f});
    WriteModel(out, folder + "ground", VbAssets::ToModel(ground), material("meadow_ground.dds"));

    // Rails on the three walls of the field, with posts.
    Mesh rails = WallRails(7, 1.2f);
    for (float y = -90; y <= 100; y += 38) {
        rails.Append(Beam({-86, y - 2, 0}, {-74, y + 2, 9}, 0.8f));
        rails.Append(Beam({74, y - 2, 0}, {86, y + 2, 9}, 0.8f));
    }
    for (float x = -76; x <= 76; x += 38)
        rails.Append(Beam({x - 2, 99, 0}, {x + 2, 111, 9}, 0.8f));
    WriteModel(out, folder + "rails", VbAssets::ToModel(rails), material("wood.png"));

    // Hedges beyond the rails, in blocks of uneven height.
    AssetRandom hedgeRandom(folder + "hedges", 1);
    Mesh hedges;
    auto hedgeRow = [&](float x0, float x1, float y0, float y1, float step, bool alongX) {
        for (float a = alongX ? x0 : y0; a < (alongX ? x1 : y1); a += step) {
            const float b = a + step, height = hedgeRandom.Range(9, 14);
            hedges.Append(alongX ? Beam({a, y0, 0}, {b, y1, height}, 2)
                                 : Beam({x0, a, 0}, {x1, b, height}, 2));
        }
    };
    hedgeRow(-120, -95, -140, 150, 29, false);
    hedgeRow(95, 120, -140, 150, 29, false);
    hedgeRow(-240, 240, 125, 142, 32, true);
    WriteModel(out, folder + "hedges", VbAssets::ToModel(hedges), material("hedge.png"));

    // Trees: a trunk and two cones of leaves each, twelve of them merged.
    AssetRandom treeRandom(folder + "trees", 1);
    Mesh trees;
    for (int i = 0; i < 12; ++i) {
        const float side = i % 2 == 0 ? -1.0f : 1.0f;
        const float x = side * treeRandom.Range(150, 420), y = treeRandom.Range(170, 470);
        const float h = treeRandom.Range(40, 70), r = h * treeRandom.Range(0.28f, 0.36f);
        Mesh trunk = VbAssets::Cylinder(h * 0.06f, h * 0.3f, 6);
        VbAssets::MapUv(trunk, 0.2f, 0.2f, 0, 0);
        trees.Append(Placed(trunk, {x, y, h * 0.15f}));
        Mesh lower = VbAssets::Lathe({{r, 0}, {0, h * 0.55f}}, 10);
        Mesh upper = VbAssets::Lathe({{r * 0.75f, 0}, {0, h * 0.5f}}, 10);
        trees.Append(Placed(lower, {x, y, h * 0.25f}));
        trees.Append(Placed(upper, {x, y, h * 0.55f}));
    }
    WriteModel(out, folder + "trees", VbAssets::ToModel(trees), material("tree.png"));

    // The windmill, left of the field: a tapering tower with a cap and four sails turning about the axle
    // that points at the field. The sails have fourfold symmetry, so a quarter turn over the frames loops
    // without a jump (the last frame equals the first).
    const Float3 base{-270, 400, 0};
    Mesh tower = VbAssets::Lathe({{16, 0}, {10, 70}, {11, 70}, {0, 84}}, 12);
    VbAssets::MapUv(tower, 1, 0.5f, 0, 0);
    tower = Placed(tower, base);
    const Float3 hub{base[0], base[1] - 13, 72};
    Mesh sails;
    for (int s = 0; s < 4; ++s) {
        Mesh sail = Beam({1.5f, -0.6f, -3}, {44, 0.6f, 3}, 0.2f);
        VbAssets::MapUv(sail, 1, 0.5f, 0, 0.5f);
        Mesh arm = Beam({0, -0.8f, -0.8f}, {46, 0.8f, 0.8f}, 0.2f);
        VbAssets::MapUv(arm, 0.1f, 0.1f, 0, 0.5f);
        sail.Append(arm);
        VbAssets::RotateY(sail, float(s) * pi / 2 + 0.3f);
        sails.Append(sail);
    }
    sails = Placed(sails, hub);
    const uint32_t frames = 24;
    VbAssets::SkinnedPart towerPart{"tower", tower, base, {}};
    VbAssets::SkinnedPart sailsPart{"sails", sails, hub, {}};
    for (uint32_t f = 0; f < frames; ++f) {
        towerPart.rotations.push_back({0, 0, 0, 1});
        sailsPart.rotations.push_back(VbAssets::AxisAngle({0, 1, 0}, -pi / 2 * float(f) / float(frames - 1)));
    }
    WriteModel(out, folder + "windmill", VbAssets::ToSkinnedModel({towerPart, sailsPart}, frames, 12),
               material("windmill.png"));

    // Flowers: upright cards facing the camera, scattered over the surround beside the field.
    AssetRandom flowerPlaces(folder + "flowers", 1);
    Mesh flowers;
    for (int i = 0; i < 60; ++i) {
        const float side = i % 2 == 0 ? -1.0f : 1.0f;
        const float x = side * flowerPlaces.Range(125, 330), y = flowerPlaces.Range(-120, 360);
        const float w = flowerPlaces.Range(10, 16);
        flowers.AddQuad({x - w / 2, y, 0}, {x + w / 2, y, 0}, {x + w / 2, y, w * 0.8f},
                        {x - w / 2, y, w * 0.8f}, {0, 0}, {1, 0}, {1, 1}, {0, 1});
    }
    WriteModel(out, folder + "flowers", VbAssets::ToModel(flowers),
               PictureMaterial(folder + "flowers.png", folder + "flowers.png"));

    WriteModel(out, folder + "backdrop", VbAssets::ToModel(BackdropArc()), material("backdrop.png"));
}

} // namespace

void EnvironmentRecipe::Run(const RecipeContext& context) const {
    const fs::path content = fs::path(context.contentDir) / "environment";
    std::error_code error;
    if (fs::is_regular_file(content / "field.txt", error))
        context.out->Write("environment\\field.vbf",
                           VbFormats::FieldWriter::Write(CompileField(ReadText(content / "field.txt"),
                                                                      "content/environment/field.txt")));
    const fs::path lighting = content / "lighting" / "lighting.ini";
    if (fs::is_regular_file(lighting, error))
        context.out->Write("environment\\lighting\\lighting.ini",
                           CheckedLighting(ReadText(lighting), "content/environment/lighting/lighting.ini"));
    if (fs::is_regular_file(content / "meadow.xml", error)) {
        const bool minimal = context.profile == Profile::Minimal;
        WriteMeadow(*context.out, minimal ? MeadowSizes{16, 16, 64} : MeadowSizes{256, 128, 1024});
    }
}

} // namespace VbGen
