#include "tools/gen/recipes/GuiArtRecipe.h"

#include "tools/assets/GuiModels.h"
#include "tools/assets/ShapeCanvas.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/ModelWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/GenError.h"
#include "tools/gen/TextLine.h"
#include "tools/gen/recipes/FontsRecipe.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>

namespace VbGen {

namespace {

using VbAssets::ShapeCanvas;
using VbAssets::ShapeColour;
using VbAssets::Rgba;

// The palette: deep blue panels with gold trim; controls in a lighter blue.
const ShapeColour kPanelTop = Rgba(40, 56, 98, 0.95f);
const ShapeColour kPanelBottom = Rgba(16, 22, 46, 0.95f);
const ShapeColour kGold = Rgba(226, 186, 92);
const ShapeColour kGoldLight = Rgba(255, 226, 140);
const ShapeColour kInk = Rgba(236, 242, 255);

// The four looks of a button: normal, highlighted, pressed, disabled.
struct Look {
    ShapeColour top, bottom, border, ink;
};

Look ButtonLook(uint32_t state) {
    switch (state) {
    case 1:
        return {Rgba(110, 160, 240), Rgba(56, 96, 182), Rgba(230, 240, 255), Rgba(255, 255, 255)};
    case 2:
        return {Rgba(28, 48, 100), Rgba(58, 92, 160), Rgba(130, 160, 220), Rgba(210, 222, 245)};
    case 3:
        return {Rgba(96, 98, 108), Rgba(64, 66, 76), Rgba(130, 132, 140), Rgba(150, 152, 160)};
    default:
        return {Rgba(76, 118, 200), Rgba(36, 62, 130), Rgba(160, 196, 255), kInk};
    }
}

float Min(const ShapeCanvas& canvas) {
    return float(std::min(canvas.width, canvas.height));
}

// A rounded body with a gradient, a border and a soft highlight along its upper half.
void DrawBody(ShapeCanvas& canvas, const Look& look, float radius) {
    const float w = float(canvas.width), h = float(canvas.height);
    const float border = std::max(2.0f, Min(canvas) * 0.06f);
    canvas.Draw(VbAssets::RoundedBox(1, 1, w - 1, h - 1, radius), look.border);
    canvas.Draw(VbAssets::RoundedBox(1 + border, 1 + border, w - 1 - border, h - 1 - border, radius - border),
                VbAssets::VerticalGradient(0, h, look.top, look.bottom));
    canvas.Draw(VbAssets::RoundedBox(1 + 2 * border, 1 + 2 * border, w - 1 - 2 * border, h * 0.5f,
                                     std::max(radius - 2 * border, 1.0f)),
                Rgba(255, 255, 255, 0.10f));
}

void Panel(ShapeCanvas& canvas) {
    const float w = float(canvas.width), h = float(canvas.height);
    const float radius = std::min(w, h) * 0.09f;
    canvas.Draw(VbAssets::RoundedBox(4, 4, w - 4, h - 4, radius), VbAssets::VerticalGradient(0, h, kPanelTop,
                                                                                          kPanelBottom));
    canvas.Draw(VbAssets::Ring(VbAssets::RoundedBox(7, 7, w - 7, h - 7, radius - 3), 5), kGold);
    canvas.Draw(VbAssets::Ring(VbAssets::RoundedBox(15, 15, w - 15, h - 15, radius - 11), 2),
                Rgba(255, 255, 255, 0.14f));
}

void Button(ShapeCanvas& cell, uint32_t state) {
    DrawBody(cell, ButtonLook(state), Min(cell) * 0.4f);
}

// The row of a list: nothing, a hover bar, a pressed bar and the gold bar of the current entry.
void RowButton(ShapeCanvas& cell, uint32_t state) {
    if (state == 0)
        return;
    const ShapeColour colours[] = {ShapeColour{}, Rgba(255, 255, 255, 0.16f), Rgba(255, 255, 255, 0.30f),
                              Rgba(255, 214, 90, 0.42f)};
    const float w = float(cell.width), h = float(cell.height);
    cell.Draw(VbAssets::RoundedBox(1, 1, w - 1, h - 1, h * 0.3f), colours[state]);
}

// A square button with a symbol: the menu bars, the minimise bar or the close cross.
void IconButton(ShapeCanvas& cell, uint32_t state, char symbol) {
    const Look look = ButtonLook(state);
    DrawBody(cell, look, Min(cell) * 0.22f);
    const float s = Min(cell);
    const float pen = s * 0.11f;
    if (symbol == 'm') {
        for (float y : {0.33f, 0.5f, 0.67f})
            cell.Draw(VbAssets::Segment(s * 0.28f, s * y, s * 0.72f, s * y, pen), look.ink);
    } else if (symbol == '_') {
        cell.Draw(VbAssets::Segment(s * 0.28f, s * 0.68f, s * 0.72f, s * 0.68f, pen * 1.2f), look.ink);
    } else {
        cell.Draw(VbAssets::Segment(s * 0.3f, s * 0.3f, s * 0.7f, s * 0.7f, pen), look.ink);
        cell.Draw(VbAssets::Segment(s * 0.7f, s * 0.3f, s * 0.3f, s * 0.7f, pen), look.ink);
    }
}

// Unchecked normal, highlighted, pressed; checked normal, highlighted, pressed; disabled unchecked, checked.
void CheckBox(ShapeCanvas& cell, uint32_t frame) {
    const uint32_t state = frame >= 6 ? 3 : frame % 3;
    const bool checked = frame == 3 || frame == 4 || frame == 5 || frame == 7;
    const Look look = ButtonLook(state);
    DrawBody(cell, look, Min(cell) * 0.2f);
    const float s = Min(cell);
    const float inset = s * 0.2f;
    cell.Draw(VbAssets::RoundedBox(inset, inset, s - inset, s - inset, s * 0.1f), Rgba(8, 14, 32, 0.85f));
    if (checked) {
        const ShapeColour mark = state == 3 ? look.ink : kGoldLight;
        cell.Draw(VbAssets::Segment(s * 0.3f, s * 0.52f, s * 0.45f, s * 0.68f, s * 0.12f), mark);
        cell.Draw(VbAssets::Segment(s * 0.45f, s * 0.68f, s * 0.72f, s * 0.32f, s * 0.12f), mark);
    }
}

// The groove the thumb runs in: normal, highlighted, disabled.
void Track(ShapeCanvas& cell, uint32_t state) {
    const ShapeColour fills[] = {Rgba(10, 16, 36, 0.9f), Rgba(22, 34, 70, 0.9f), Rgba(40, 40, 46, 0.8f)};
    const ShapeColour rims[] = {Rgba(120, 150, 210), Rgba(200, 220, 255), Rgba(110, 110, 118)};
    const float w = float(cell.width), h = float(cell.height);
    const float radius = std::min(w, h) * 0.5f;
    cell.Draw(VbAssets::RoundedBox(1, 1, w - 1, h - 1, radius), rims[state]);
    cell.Draw(VbAssets::RoundedBox(3, 3, w - 3, h - 3, radius - 2), fills[state]);
}

void Thumb(ShapeCanvas& cell, uint32_t state) {
    Look look = ButtonLook(state);
    if (state < 3) { // the thumb is gold, so it stands out on the blue groove
        look.top = MixColour(kGoldLight, look.top, 0.15f * float(state));
        look.bottom = MixColour(kGold, look.bottom, 0.25f);
        look.border = Rgba(255, 240, 190);
    }
    DrawBody(cell, look, Min(cell) * 0.35f);
}

// A round step button with a triangle pointing left, right, up or down.
void Arrow(ShapeCanvas& cell, uint32_t state, char direction) {
    const Look look = ButtonLook(state);
    DrawBody(cell, look, Min(cell) * 0.5f);
    const float s = Min(cell);
    const float a = s * 0.28f, b = s * 0.72f, c = s * 0.5f;
    std::vector<std::array<float, 2>> points;
    if (direction == 'l')
        points = {{a, c}, {b - s * 0.06f, a}, {b - s * 0.06f, b}};
    else if (direction == 'r')
        points = {{b, c}, {a + s * 0.06f, b}, {a + s * 0.06f, a}};
    else if (direction == 'u')
        points = {{c, a}, {a, b - s * 0.06f}, {b, b - s * 0.06f}};
    else
        points = {{c, b}, {b, a + s * 0.06f}, {a, a + s * 0.06f}};
    cell.Draw(VbAssets::Polygon(points), look.ink);
}

void EditField(ShapeCanvas& canvas) {
    const float w = float(canvas.width), h = float(canvas.height);
    canvas.Draw(VbAssets::RoundedBox(2, 2, w - 2, h - 2, h * 0.25f), Rgba(150, 180, 235));
    canvas.Draw(VbAssets::RoundedBox(5, 5, w - 5, h - 5, h * 0.25f - 3),
                VbAssets::VerticalGradient(0, h, Rgba(6, 10, 24, 0.95f), Rgba(20, 30, 60, 0.95f)));
}

// A banner with folded ends; the ribbon model unrolls it from the middle.
void Ribbon(ShapeCanvas& canvas) {
    const float w = float(canvas.width), h = float(canvas.height);
    const ShapeColour dark = Rgba(120, 24, 36), light = Rgba(196, 52, 60);
    canvas.Draw(VbAssets::Polygon({{0, h * 0.3f}, {w * 0.12f, h * 0.3f}, {w * 0.12f, h * 0.9f}, {0, h * 0.9f},
                                   {w * 0.05f, h * 0.6f}}),
                dark);
    canvas.Draw(VbAssets::Polygon({{w, h * 0.3f}, {w * 0.88f, h * 0.3f}, {w * 0.88f, h * 0.9f}, {w, h * 0.9f},
                                   {w * 0.95f, h * 0.6f}}),
                dark);
    canvas.Draw(VbAssets::RoundedBox(w * 0.08f, h * 0.12f, w * 0.92f, h * 0.78f, h * 0.08f),
                VbAssets::VerticalGradient(h * 0.12f, h * 0.78f, light, dark));
    canvas.Draw(VbAssets::Ring(VbAssets::RoundedBox(w * 0.1f, h * 0.17f, w * 0.9f, h * 0.73f, h * 0.06f), 3),
                kGold);
}

void Heart(ShapeCanvas& canvas) {
    const float s = Min(canvas);
    const auto heart = [s](float x, float y) {
        const float left = std::hypot(x - s * 0.33f, y - s * 0.38f) - s * 0.2f;
        const float right = std::hypot(x - s * 0.67f, y - s * 0.38f) - s * 0.2f;
        const float tip = VbAssets::Polygon({{s * 0.14f, s * 0.45f}, {s * 0.86f, s * 0.45f}, {s * 0.5f, s * 0.88f}})(x, y);
        return std::min({left, right, tip});
    };
    canvas.Draw([heart](float x, float y) { return heart(x, y) - 2; }, Rgba(60, 0, 10));
    canvas.Draw(heart, VbAssets::VerticalGradient(s * 0.2f, s * 0.9f, Rgba(255, 110, 120), Rgba(190, 20, 40)));
    canvas.Draw(VbAssets::Disc(s * 0.35f, s * 0.34f, s * 0.06f), Rgba(255, 255, 255, 0.7f));
}

void Separator(ShapeCanvas& canvas) {
    const float w = float(canvas.width), h = float(canvas.height);
    canvas.Draw(VbAssets::Segment(h, h / 2, w - h, h / 2, h * 0.35f), [w](float x, float) {
        ShapeColour c = kGold;
        c.a = std::clamp(1 - std::abs(x - w / 2) / (w / 2), 0.0f, 1.0f) * 1.6f;
        return c;
    });
}

// The game's name in gold with a dark outline, centred; asked for at 60 % of the height, smaller when it
// would fill more than 92 % of the width.
void Logo(ShapeCanvas& canvas, const std::string& fontsDir) {
    const std::string bold = (std::filesystem::path(fontsDir) / "DejaVuSans-Bold.ttf").string();
    const TextLine line =
        FitTextLine(U"Velmora Ball", bold, int(canvas.height * 0.6f), 3, canvas.width * 0.92f);
    const int top = int(canvas.height - line.font.cellHeight) / 2;
    DrawTextLine(canvas, line, canvas.width / 2.0f, float(top), kGoldLight, kGold, Rgba(40, 20, 6));
}

// The console's background: dark blue, lighter towards the bottom edge, with a faint grid.
VelmoraFormats::Picture Console() {
    ShapeCanvas canvas(512, 512, Rgba(6, 10, 26));
    canvas.Apply([](float x, float y, ShapeColour) {
        ShapeColour c = VbAssets::MixColour(Rgba(4, 8, 22), Rgba(18, 34, 74), y / 512.0f);
        const float gridX = std::abs(std::fmod(x, 32.0f) - 16.0f), gridY = std::abs(std::fmod(y, 32.0f) - 16.0f);
        if (std::max(gridX, gridY) > 15.0f)
            c = VbAssets::MixColour(c, Rgba(70, 110, 190), 0.18f);
        return c;
    });
    return canvas.ToPicture(3);
}

// How each picture of ui\textures\ is drawn: a cell painter given the frame.
using CellPainter = std::function<void(ShapeCanvas& cell, uint32_t frame)>;

std::map<std::string, CellPainter> Painters(const std::string& fontsDir) {
    std::map<std::string, CellPainter> painters;
    for (const char* panel : {"panel_s", "panel_m", "panel_l", "panel_loading", "panel_hud"})
        painters[panel] = [](ShapeCanvas& cell, uint32_t) { Panel(cell); };
    painters["button"] = Button;
    painters["button_row"] = RowButton;
    painters["button_menu"] = [](ShapeCanvas& cell, uint32_t frame) { IconButton(cell, frame, 'm'); };
    painters["button_minimize"] = [](ShapeCanvas& cell, uint32_t frame) { IconButton(cell, frame, '_'); };
    painters["button_close"] = [](ShapeCanvas& cell, uint32_t frame) { IconButton(cell, frame, 'x'); };
    painters["check_box"] = CheckBox;
    painters["scroll_track_h"] = Track;
    painters["scroll_track_v"] = Track;
    painters["scroll_thumb"] = Thumb;
    painters["arrow_left"] = [](ShapeCanvas& cell, uint32_t frame) { Arrow(cell, frame, 'l'); };
    painters["arrow_right"] = [](ShapeCanvas& cell, uint32_t frame) { Arrow(cell, frame, 'r'); };
    painters["arrow_up"] = [](ShapeCanvas& cell, uint32_t frame) { Arrow(cell, frame, 'u'); };
    painters["arrow_down"] = [](ShapeCanvas& cell, uint32_t frame) { Arrow(cell, frame, 'd'); };
    painters["edit_field"] = [](ShapeCanvas& cell, uint32_t) { EditField(cell); };
    painters["ribbon"] = [](ShapeCanvas& cell, uint32_t) { Ribbon(cell); };
    painters["icon_life"] = [](ShapeCanvas& cell, uint32_t) { Heart(cell); };
    painters["logo"] = [fontsDir](ShapeCanvas& cell, uint32_t) { Logo(cell, fontsDir); };
    painters["separator"] = [](ShapeCanvas& cell, uint32_t) { Separator(cell); };
    return painters;
}

VbFormats::Material PlainMaterial() {
    // The window's own material replaces it; blending stays on so a model drawn without one is see-through
    // where its texture is.
    VbFormats::Material material;
    material.flags = 1;
    material.blendSource = 4;
    material.blendDestination = 5;
    return material;
}

void WriteModel(OutputTree& out, const std::string& stem, const VbFormats::ModelDescription& model) {
    out.Write(stem + ".mlf", VbFormats::ModelWriter::Write(model));
    out.Write(stem + ".srf", VbFormats::MaterialWriter::Write(PlainMaterial()));
}

// The unit quad that pops up: 9 frames scaling about its centre, overshooting a little before it settles.
VbFormats::ModelDescription QuadPop() {
    const float scales[9] = {0.05f, 0.3f, 0.55f, 0.78f, 0.95f, 1.06f, 1.04f, 1.01f, 1.0f};
    return VbAssets::QuadModel(9, 30, 1, [&](uint32_t frame) {
        const float h = scales[frame] / 2;
        return std::vector<VbAssets::GuiQuad>{{0.5f - h, 0.5f - h, 0.5f + h, 0.5f + h, 0, 0, 1, 1}};
    });
}

// The title banner: 12 frames unrolling from the middle, the texture cut with it.
VbFormats::ModelDescription RibbonModel() {
    return VbAssets::QuadModel(12, 24, 1, [](uint32_t frame) {
        const float h = std::max(VbAssets::EaseOut(float(frame) / 11.0f), 0.02f) / 2;
        return std::vector<VbAssets::GuiQuad>{{0.5f - h, 0, 0.5f + h, 1, 0.5f - h, 0, 0.5f + h, 1}};
    });
}

// An animator: 8 frames of a unit quad whose box minimum eases from the start offset to the origin.
VbFormats::ModelDescription Slide(float fromX, float fromY) {
    return VbAssets::QuadModel(8, 16, 1, [=](uint32_t frame) {
        const float rest = 1 - VbAssets::EaseOut(float(frame) / 7.0f);
        const float x = fromX * rest, y = fromY * rest;
        return std::vector<VbAssets::GuiQuad>{{x, y, x + 1, y + 1, 0, 0, 1, 1}};
    });
}

} // namespace

const std::vector<GuiAtlasLayout>& GuiPictures() {
    static const std::vector<GuiAtlasLayout> pictures = {
        {"panel_s", 512, 256, 1, 1, 1},         {"panel_m", 512, 512, 1, 1, 1},
        {"panel_l", 1024, 512, 1, 1, 1},        {"panel_loading", 512, 128, 1, 1, 1},
        {"panel_hud", 1024, 64, 1, 1, 1},       {"button", 256, 256, 1, 4, 4},
        {"button_row", 512, 128, 1, 4, 4},      {"button_menu", 128, 128, 2, 2, 4},
        {"button_minimize", 128, 128, 2, 2, 4}, {"button_close", 128, 128, 2, 2, 4},
        {"check_box", 256, 128, 4, 2, 8},       {"scroll_track_h", 256, 128, 1, 4, 3},
        {"scroll_track_v", 128, 256, 4, 1, 3},  {"scroll_thumb", 128, 32, 4, 1, 4},
        {"arrow_left", 128, 32, 4, 1, 4},       {"arrow_right", 128, 32, 4, 1, 4},
        {"arrow_up", 128, 32, 4, 1, 4},         {"arrow_down", 128, 32, 4, 1, 4},
        {"edit_field", 512, 64, 1, 1, 1},       {"ribbon", 512, 128, 1, 1, 1},
        {"icon_life", 64, 64, 1, 1, 1},         {"logo", 512, 128, 1, 1, 1},
        {"separator", 256, 16, 1, 1, 1},
    };
    return pictures;
}

void GuiArtRecipe::Run(const RecipeContext& context) const {
    const bool minimal = context.profile == Profile::Minimal;
    const std::map<std::string, CellPainter> painters =
        Painters(context.fontsDir.empty() ? DefaultFontsDir() : context.fontsDir);
    for (const GuiAtlasLayout& layout : GuiPictures()) {
        const CellPainter& paint = painters.at(layout.name);
        try {
            const bool single = layout.frames == 1 && layout.columns == 1 && layout.rows == 1;
            ShapeCanvas atlas(1, 1);
            if (minimal) {
                // Placeholder art keeps the grid, so frames still index cells, at an eighth of the size.
                atlas = VbAssets::BuildAtlas(std::max(layout.width / 8, 16u * layout.columns),
                                             std::max(layout.height / 8, 16u * layout.rows), layout.columns,
                                             layout.rows, layout.frames, [](ShapeCanvas& cell, uint32_t frame) {
                                                 cell.Draw([](float, float) { return -1.0f; },
                                                           ButtonLook(frame % 4).top);
                                             });
            } else if (single) {
                atlas = ShapeCanvas(layout.width, layout.height);
                paint(atlas, 0);
            } else {
                atlas = VbAssets::BuildAtlas(layout.width, layout.height, layout.columns, layout.rows, layout.frames, paint);
            }
            context.out->Write("ui\\textures\\" + layout.name + ".png", VelmoraFormats::WritePng(atlas.ToPicture()));
        } catch (const std::runtime_error& error) {
            throw GenError("ui\\textures\\" + layout.name + ".png: " + error.what());
        }
    }
    WriteModel(*context.out, "ui\\models\\quad_pop", QuadPop());
    WriteModel(*context.out, "ui\\models\\ribbon", RibbonModel());
    WriteModel(*context.out, "ui\\models\\slide_left", Slide(-600, 0));
    WriteModel(*context.out, "ui\\models\\slide_down", Slide(0, 120));
    context.out->Write("ui\\console\\console.jpg", VelmoraFormats::WriteJpeg(Console()));
}

} // namespace VbGen
