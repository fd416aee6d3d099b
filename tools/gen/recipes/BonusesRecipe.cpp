#include "tools/gen/recipes/BonusesRecipe.h"

#include "tools/assets/Mesh.h"
#include "tools/assets/ShapeCanvas.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/formats/TexturePackWriter.h"
#include "tools/gen/ModelOutput.h"

#include <cmath>
#include <filesystem>

namespace VbGen {

using VbAssets::Distance;
using VbAssets::Rgba;
using VbAssets::ShapeCanvas;
using VbAssets::ShapeColour;

namespace {

constexpr float pi = 3.14159265358979f;
const std::string folder = "game_objects\\bonuses\\";
const std::string iconsName = folder + "icons.png";

// The kinds in the order of their ids, with the colour of their group: helpful (blue), harmful (red),
// weapons (gold).
struct Kind {
    const char* name;
    int red, green, blue;
};
const Kind kinds[] = {{"life", 0, 144, 255},           {"bat_increase", 0, 144, 255},
                      {"bat_decrease", 255, 66, 0},    {"balls_speed_up", 255, 66, 0},
                      {"balls_slow_down", 0, 144, 255}, {"balls_split", 0, 144, 255},
                      {"balls_super", 0, 144, 255},    {"barrier", 0, 144, 255},
                      {"arbalest", 255, 216, 0},       {"ballista", 255, 216, 0},
                      {"hammer", 255, 216, 0}};
constexpr uint32_t kindCount = sizeof(kinds) / sizeof(kinds[0]);

// The picture: 512 x 512, cells of 128 with a 4-pixel gutter, so each icon is drawn on 120 x 120.
constexpr uint32_t pictureSize = 512, cellSize = 128, columns = 4, gutter = 4, inner = cellSize - 2 * gutter;

using Shapes = std::vector<Distance>;

Distance Moved(const Distance& shape, float dx, float dy) {
    return [shape, dx, dy](float x, float y) { return shape(x - dx, y - dy); };
}

Distance Star(float cx, float cy, float outer, float innerRadius) {
    std::vector<std::array<float, 2>> points;
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 == 0 ? outer : innerRadius;
        const float a = -pi / 2 + float(i) * pi / 5;
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return VbAssets::Polygon(points);
}

Shapes Symbol(uint32_t kind) {
    using VbAssets::Disc;
    using VbAssets::Polygon;
    using VbAssets::Segment;
    switch (kind) {
    case 0: // a heart
        return {Disc(44, 48, 18), Disc(76, 48, 18), Polygon({{27, 55}, {93, 55}, {60, 94}})};
    case 1: // arrows pointing out
        return {Segment(32, 60, 88, 60, 9), Polygon({{14, 60}, {36, 42}, {36, 78}}),
                Polygon({{106, 60}, {84, 42}, {84, 78}})};
    case 2: // arrows pointing in
        return {Segment(12, 60, 42, 60, 9), Polygon({{56, 60}, {38, 42}, {38, 78}}),
                Segment(78, 60, 108, 60, 9), Polygon({{64, 60}, {82, 42}, {82, 78}})};
    case 3: // chevrons up
        return {Segment(32, 62, 60, 36, 10), Segment(60, 36, 88, 62, 10), Segment(32, 90, 60, 64, 10),
                Segment(60, 64, 88, 90, 10)};
    case 4: // chevrons down
        return {Segment(32, 30, 60, 56, 10), Segment(60, 56, 88, 30, 10), Segment(32, 58, 60, 84, 10),
                Segment(60, 84, 88, 58, 10)};
    case 5: // three balls
        return {Disc(60, 36, 16), Disc(36, 80, 16), Disc(84, 80, 16)};
    case 6: // a ball with a star cut out: drawn as a ring around a star
        return {VbAssets::Ring(Disc(60, 60, 34), 8), Star(60, 62, 26, 11)};
    case 7: // a fence
        return {Segment(28, 34, 28, 94, 9), Segment(60, 30, 60, 94, 9), Segment(92, 34, 92, 94, 9),
                Segment(18, 52, 102, 52, 7), Segment(18, 78, 102, 78, 7)};
    case 8: // a crossbow with its bolt
        return {Segment(60, 40, 60, 104, 9), Segment(22, 54, 60, 36, 6), Segment(60, 36, 98, 54, 6),
                Segment(22, 54, 60, 72, 2), Segment(60, 72, 98, 54, 2), Segment(60, 24, 60, 72, 3),
                Polygon({{60, 12}, {52, 28}, {68, 28}})};
    case 9: // a heavy bow on wheels
        return {Segment(60, 22, 60, 96, 13), Segment(16, 50, 60, 28, 10), Segment(60, 28, 104, 50, 10),
                Segment(16, 50, 60, 66, 3), Segment(60, 66, 104, 50, 3), Disc(32, 96, 12), Disc(88, 96, 12)};
    default: // a hammer
        return {VbAssets::RoundedBox(30, 20, 90, 48, 5), Segment(60, 48, 60, 104, 11)};
    }
}

// A cell: the tile's dark rim all over (the model's edges take it), the face in the kind's colour with a
// light top, and the symbol in white over its own shadow.
void DrawCell(ShapeCanvas& cell, uint32_t kind) {
    const Kind& k = kinds[kind];
    const ShapeColour base = Rgba(k.red, k.green, k.blue);
    const ShapeColour rim = VbAssets::MixColour(base, Rgba(10, 12, 20), 0.6f);
    const float s = float(inner);
    cell.Draw(VbAssets::RoundedBox(-10, -10, s + 10, s + 10, 1), rim);
    cell.Draw(VbAssets::RoundedBox(5, 5, s - 5, s - 5, 16),
              VbAssets::VerticalGradient(0, s, VbAssets::MixColour(base, Rgba(255, 255, 255), 0.45f),
                                         VbAssets::MixColour(base, Rgba(0, 0, 0), 0.25f)));
    cell.Draw(VbAssets::Ring(VbAssets::RoundedBox(5, 5, s - 5, s - 5, 16), 3), Rgba(255, 255, 255, 0.6f));
    for (const Distance& shape : Symbol(kind))
        cell.Draw(Moved(shape, 3, 4), Rgba(0, 0, 0, 0.45f));
    for (const Distance& shape : Symbol(kind))
        cell.Draw(shape, Rgba(252, 252, 248));
}

// A point of cell `kind` (pixels of its 120 x 120 drawing) as texture coordinates (v = 0 at the bottom).
VbAssets::Float2 CellUv(uint32_t kind, float px, float py) {
    const float x = float((kind % columns) * cellSize + gutter) + px;
    const float y = float((kind / columns) * cellSize + gutter) + py;
    return {x / float(pictureSize), 1 - y / float(pictureSize)};
}

// The tile, 8 wide, 2 thick, 8 high, standing on its edge 0.5 above the ground; the faces towards -y and
// +y show the icon upright from their own side, every other face the rim.
VbAssets::Mesh Tile(uint32_t kind) {
    const float half = 4, bevel = 0.8f, flat = half - bevel;
    VbAssets::Mesh tile = VbAssets::BevelBox({2 * half, 2, 2 * half}, bevel);
    for (size_t i = 0; i < tile.positions.size(); ++i) {
        const VbAssets::Float3& p = tile.positions[i];
        const float ny = tile.normals[i][1];
        if (std::fabs(ny) > 0.99f) {
            const float across = ny < 0 ? p[0] : -p[0];
            const float u = (across + flat) / (2 * flat), v = (p[2] + flat) / (2 * flat);
            tile.uvs[i] = CellUv(kind, u * float(inner), (1 - v) * float(inner));
        } else {
            tile.uvs[i] = CellUv(kind, 2, 2);
        }
    }
    VbAssets::Translate(tile, {0, 0, half + 0.5f});
    return tile;
}

// One bone through the tile's centre: a whole turn about z over the frames, bobbing 0.5 up and down.
VbFormats::ModelDescription Spinning(const VbAssets::Mesh& tile) {
    constexpr uint32_t frames = 24;
    const VbAssets::Float3 centre{0, 0, 4.5f};
    VbAssets::SkinnedPart part{"tile", tile, centre, {}};
    for (uint32_t f = 0; f < frames; ++f)
        part.rotations.push_back(VbAssets::AxisAngle({0, 0, 1}, 2 * pi * float(f) / float(frames)));
    VbFormats::ModelDescription model = VbAssets::ToSkinnedModel({part}, frames, 12);
    for (uint32_t f = 0; f < frames; ++f)
        model.keys[size_t(f) * 10 + 2] += 0.25f * std::sin(2 * pi * float(f) / float(frames));
    return model;
}

} // namespace

void BonusesRecipe::Run(const RecipeContext& context) const {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(context.contentDir) / "game_objects" / "resources.xml",
                                 error))
        return;
    OutputTree& out = *context.out;
    const ShapeCanvas icons =
        VbAssets::BuildAtlas(pictureSize, pictureSize, columns, columns, kindCount, DrawCell);
    out.Write(iconsName, VelmoraFormats::WritePng(icons.ToPicture(4)));

    std::vector<VbFormats::TexturePackTexture> pack;
    for (uint32_t kind = 0; kind < kindCount; ++kind) {
        WriteModel(out, folder + kinds[kind].name, Spinning(Tile(kind)), PictureMaterial(iconsName));
        // Each kind's cell, its drawn part only: the lower left corner, then the upper right.
        VbFormats::TexturePackTexture texture;
        texture.name = kinds[kind].name;
        VbFormats::TexturePackFrameRecord frame;
        frame.number = kind;
        frame.first = CellUv(kind, 0, float(inner));
        frame.second = CellUv(kind, float(inner), 0);
        texture.frames.push_back(frame);
        pack.push_back(texture);
    }
    // The pack lies with the window art; its material shows the same picture.
    VbFormats::Material material = PictureMaterial(iconsName, iconsName);
    out.Write("ui\\textures\\bonus_icons.tpf", VbFormats::TexturePackWriter::Write(pack));
    out.Write("ui\\textures\\bonus_icons.srf", VbFormats::MaterialWriter::Write(material));
}

} // namespace VbGen
