#include "tools/gen/recipes/MapRecipe.h"

#include "tools/assets/GuiModels.h"
#include "tools/assets/ShapeCanvas.h"
#include "tools/formats/FormatError.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"
#include "tools/gen/StageMapCompiler.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace VbGen {

namespace {

using VbAssets::Rgba;
using VbAssets::ShapeCanvas;
using VbAssets::ShapeColour;

constexpr uint32_t lookCount = 6; // open, before the selection, hover, selected, preview, shadow

struct IconStyle {
    const char* name;
    float size; // GUI units
    ShapeColour body, rim;
    char symbol; // 's' flag, 'f' star, 'c' gate, 'p' none
};

const IconStyle iconStyles[] = {
    {"start", 36, Rgba(70, 170, 80), Rgba(230, 250, 220), 's'},
    {"finish", 36, Rgba(210, 160, 40), Rgba(255, 245, 200), 'f'},
    {"check_point", 36, Rgba(60, 110, 200), Rgba(220, 235, 255), 'c'},
    {"path", 16, Rgba(200, 120, 60), Rgba(255, 230, 200), 'p'},
};

std::vector<std::array<float, 2>> Star(float cx, float cy, float outer, float inner) {
    std::vector<std::array<float, 2>> points;
    for (int i = 0; i < 10; ++i) {
        const float angle = -1.5707963f + float(i) * 3.14159265f / 5;
        const float r = i % 2 == 0 ? outer : inner;
        points.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
    }
    return points;
}

// One look of an icon in a square cell.
void DrawIcon(ShapeCanvas& cell, const IconStyle& style, uint32_t look) {
    const float w = float(cell.width), c = w / 2, r = w * 0.36f;
    if (look == 5) { // the shadow: the body's outline in half-transparent black
        cell.Draw(VbAssets::Disc(c, c, r), Rgba(0, 0, 0, 0.5f));
        return;
    }
    if (look == 4) { // the preview: a ghost outline only
        cell.Draw(VbAssets::Ring(VbAssets::Disc(c, c, r), w * 0.06f), Rgba(255, 255, 255, 0.55f));
        return;
    }
    if (look == 3) // selected: a glow around the body
        cell.Draw(VbAssets::Disc(c, c, w * 0.48f), [&](float x, float y) {
            const float d = std::hypot(x - c, y - c) / (w * 0.48f);
            return Rgba(255, 240, 150, std::clamp(1.2f - d, 0.0f, 1.0f));
        });
    const float dim = look == 1 ? 0.55f : 1.0f;
    const ShapeColour body = VbAssets::MixColour(Rgba(90, 90, 90), style.body, dim);
    const ShapeColour rim = look == 2 || look == 3 ? Rgba(255, 255, 255) : style.rim;
    cell.Draw(VbAssets::Disc(c, c, r),
              VbAssets::VerticalGradient(c - r, c + r, VbAssets::MixColour(body, Rgba(255, 255, 255), 0.35f),
                                         body));
    cell.Draw(VbAssets::Ring(VbAssets::Disc(c, c, r), w * 0.07f),
              VbAssets::MixColour(Rgba(60, 60, 60), rim, dim));
    const ShapeColour ink = VbAssets::MixColour(Rgba(120, 120, 120), Rgba(255, 255, 255), dim);
    switch (style.symbol) {
    case 's': // a pennant on its pole
        cell.Draw(VbAssets::Segment(c - r * 0.35f, c + r * 0.6f, c - r * 0.35f, c - r * 0.6f, w * 0.05f),
                  ink);
        cell.Draw(VbAssets::Polygon(
                      {{c - r * 0.35f, c - r * 0.6f}, {c + r * 0.5f, c - r * 0.3f}, {c - r * 0.35f, c}}),
                  ink);
        break;
    case 'f':
        cell.Draw(VbAssets::Polygon(Star(c, c, r * 0.62f, r * 0.26f)), ink);
        break;
    case 'c': // a gate: two posts and a lintel
        cell.Draw(VbAssets::Segment(c - r * 0.4f, c + r * 0.55f, c - r * 0.4f, c - r * 0.45f, w * 0.06f),
                  ink);
        cell.Draw(VbAssets::Segment(c + r * 0.4f, c + r * 0.55f, c + r * 0.4f, c - r * 0.45f, w * 0.06f),
                  ink);
        cell.Draw(VbAssets::Segment(c - r * 0.55f, c - r * 0.45f, c + r * 0.55f, c - r * 0.45f, w * 0.07f),
                  ink);
        break;
    default:
        break;
    }
}

// A flat quad centred on the origin; look f shows cell f of the 4 x 2 atlas, hover and selected a little
// larger.
VbFormats::ModelDescription IconModel(float size) {
    return VbAssets::QuadModel(lookCount, 1, 1, [size](uint32_t look) {
        const float scale = look == 2 ? 1.15f : look == 3 ? 1.3f : 1.0f;
        const float h = size * scale / 2;
        const float column = float(look % 4), row = float(look / 4);
        return std::vector<VbAssets::GuiQuad>{
            {-h, -h, h, h, column / 4, 1 - (row + 1) / 2, (column + 1) / 4, 1 - row / 2}};
    });
}

// Paints an anti-aliased disc straight into the canvas, touching only the pixels it covers (the road is
// hundreds of them over a large picture).
void Stamp(ShapeCanvas& canvas, float cx, float cy, float radius, ShapeColour colour) {
    const int x0 = std::max(0, int(cx - radius - 1)),
              x1 = std::min(int(canvas.width) - 1, int(cx + radius + 1));
    const int y0 = std::max(0, int(cy - radius - 1)),
              y1 = std::min(int(canvas.height) - 1, int(cy + radius + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) - radius;
            const float cover = std::clamp(0.5f - d, 0.0f, 1.0f) * colour.a;
            if (cover <= 0)
                continue;
            ShapeColour& target = canvas.pixels[size_t(y) * canvas.width + size_t(x)];
            target = VbAssets::MixColour(target, ShapeColour{colour.r, colour.g, colour.b, 1}, cover);
            target.a = std::max(target.a, cover);
        }
}

// The map picture, stretched over the 640 x 400 window: each stage's land in its own colours from left to
// right, and a dashed road through the icons' places.
ShapeCanvas MapPicture(uint32_t width, uint32_t height, const std::vector<VbFormats::StageMapIcon>& icons,
                       size_t stages) {
    const float sx = float(width) / mapWidth, sy = float(height) / mapHeight;
    const ShapeColour lands[3][2] = {{Rgba(120, 170, 80), Rgba(176, 206, 120)},
                                     {Rgba(90, 150, 190), Rgba(220, 206, 150)},
                                     {Rgba(110, 60, 40), Rgba(170, 100, 60)}};
    ShapeCanvas canvas(width, height);
    canvas.Apply([&](float x, float y, ShapeColour) {
        const float along = x / float(width) * float(std::max<size_t>(stages, 1));
        const size_t land = std::min<size_t>(size_t(along), 2);
        const float wave =
            0.5f + 0.25f * std::sin(x * 0.031f + y * 0.017f) + 0.25f * std::sin(y * 0.043f - x * 0.011f);
        ShapeColour colour = VbAssets::MixColour(lands[land][0], lands[land][1], wave);
        // A parchment border.
        const float edge = std::min({x, y, float(width) - x, float(height) - y});
        colour = VbAssets::MixColour(Rgba(90, 70, 40), colour, std::clamp(edge / 24.0f, 0.0f, 1.0f));
        return colour;
    });
    // The road: a Catmull-Rom curve through the icon centres, drawn as a border, a fill and dashes.
    std::vector<std::array<float, 2>> points;
    for (const VbFormats::StageMapIcon& icon : icons)
        points.push_back({icon.placement[3] * sx, (mapHeight - icon.placement[7]) * sy});
    std::vector<std::array<float, 2>> curve;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const auto& p0 = points[i == 0 ? 0 : i - 1];
        const auto& p1 = points[i];
        const auto& p2 = points[i + 1];
        const auto& p3 = points[std::min(i + 2, points.size() - 1)];
        for (int k = 0; k < 24; ++k) {
            const float t = float(k) / 24, t2 = t * t, t3 = t2 * t;
            std::array<float, 2> q{};
            for (int a = 0; a < 2; ++a)
                q[a] = 0.5f *
                       (2 * p1[a] + (p2[a] - p0[a]) * t + (2 * p0[a] - 5 * p1[a] + 4 * p2[a] - p3[a]) * t2 +
                        (3 * p1[a] - p0[a] - 3 * p2[a] + p3[a]) * t3);
            curve.push_back(q);
        }
    }
    if (!points.empty())
        curve.push_back(points.back());
    const float roadWidth = 7.0f * sy;
    for (const auto& q : curve)
        Stamp(canvas, q[0], q[1], roadWidth, Rgba(80, 60, 30));
    for (const auto& q : curve)
        Stamp(canvas, q[0], q[1], roadWidth * 0.7f, Rgba(214, 190, 140));
    for (size_t i = 0; i < curve.size(); ++i)
        if (i % 6 < 3)
            Stamp(canvas, curve[i][0], curve[i][1], roadWidth * 0.22f, Rgba(250, 244, 220));
    return canvas;
}

VbFormats::Material IconMaterial() {
    // The resource list gives the icons their pictures; the model's own material only keeps blending on.
    VbFormats::Material material;
    material.flags = 1;
    material.blendSource = 4;
    material.blendDestination = 5;
    return material;
}

} // namespace

void MapRecipe::Run(const RecipeContext& context) const {
    const std::filesystem::path layout =
        std::filesystem::path(context.contentDir) / "ui" / "map" / "map_layout.txt";
    std::error_code error;
    if (!std::filesystem::is_regular_file(layout, error))
        return;
    const std::vector<uint32_t> stages = ReadStageLevels(context.contentDir);
    const std::vector<uint8_t> text = ReadBytes(layout.string());
    const std::vector<VbFormats::StageMapIcon> icons =
        CompileStageMap(std::string(text.begin(), text.end()), "content/ui/map/map_layout.txt", stages);
    try {
        context.out->Write("ui\\map\\map.gmf", VbFormats::StageMapWriter::Write(icons));
    } catch (const VbFormats::FormatError& failure) {
        throw GenError(std::string("ui\\map\\map.gmf: ") + failure.what());
    }

    const bool minimal = context.profile == Profile::Minimal;
    const uint32_t divide = minimal ? 8 : 1;
    context.out->Write(
        "ui\\map\\picture.png",
        VelmoraFormats::WritePng(MapPicture(1024 / divide, 512 / divide, icons, stages.size()).ToPicture(3)));
    for (const IconStyle& style : iconStyles) {
        const std::string stem = std::string("ui\\map\\") + style.name;
        const ShapeCanvas atlas =
            VbAssets::BuildAtlas(256 / (minimal ? 2 : 1), 128 / (minimal ? 2 : 1), 4, 2, lookCount,
                                 [&](ShapeCanvas& cell, uint32_t look) { DrawIcon(cell, style, look); });
        context.out->Write(stem + ".png", VelmoraFormats::WritePng(atlas.ToPicture()));
        context.out->Write(stem + ".mlf", VbFormats::ModelWriter::Write(IconModel(style.size)));
        context.out->Write(stem + ".srf", VbFormats::MaterialWriter::Write(IconMaterial()));
    }
}

} // namespace VbGen
