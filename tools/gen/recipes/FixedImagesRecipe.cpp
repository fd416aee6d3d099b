#include "tools/gen/recipes/FixedImagesRecipe.h"

#include "tools/assets/ShapeCanvas.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/Picture.h"
#include "tools/formats/TgaWriter.h"
#include "tools/gen/GenError.h"
#include "tools/gen/TextLine.h"
#include "tools/gen/recipes/FontsRecipe.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace VbGen {

namespace {

using VbAssets::Distance;
using VbAssets::Paint;
using VbAssets::Rgba;
using VbAssets::ShapeCanvas;
using VbAssets::ShapeColour;

const ShapeColour kGold = Rgba(226, 186, 92);
const ShapeColour kGoldLight = Rgba(255, 230, 150);
const ShapeColour kOutline = Rgba(40, 20, 6);

// The splash pictures fill the top-left 800 x 600 of a 1024 x 1024 texture, which the logos window shows.
constexpr uint32_t kSplashSize = 1024;
constexpr uint32_t kScreenW = 800, kScreenH = 600;

float Clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

// Draws a shape over one rectangle of the canvas only: the big pictures would otherwise evaluate every shape
// at every pixel.
void DrawIn(ShapeCanvas& canvas, int x0, int y0, int x1, int y1, const Distance& shape, const Paint& paint) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, int(canvas.width));
    y1 = std::min(y1, int(canvas.height));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float coverage = Clamp01(0.5f - shape(px, py));
            if (coverage <= 0)
                continue;
            const ShapeColour source = paint(px, py);
            const float a = Clamp01(source.a * coverage);
            ShapeColour& target = canvas.pixels[size_t(y) * canvas.width + x];
            const float outA = a + target.a * (1 - a);
            if (outA <= 0)
                continue;
            target.r = (source.r * a + target.r * target.a * (1 - a)) / outA;
            target.g = (source.g * a + target.g * target.a * (1 - a)) / outA;
            target.b = (source.b * a + target.b * target.a * (1 - a)) / outA;
            target.a = outA;
        }
}

void DrawIn(ShapeCanvas& canvas, int x0, int y0, int x1, int y1, const Distance& shape, ShapeColour colour) {
    DrawIn(canvas, x0, y0, x1, y1, shape, [colour](float, float) { return colour; });
}

// A soft radial glow: colour at the centre fading to nothing at the radius.
void Glow(ShapeCanvas& canvas, float cx, float cy, float radius, ShapeColour colour) {
    DrawIn(canvas, int(cx - radius), int(cy - radius), int(cx + radius) + 1, int(cy + radius) + 1,
           VbAssets::Disc(cx, cy, radius), [=](float x, float y) {
               ShapeColour c = colour;
               const float t = 1 - Clamp01(std::hypot(x - cx, y - cy) / radius);
               c.a *= t * t;
               return c;
           });
}

// The publisher's mark: a gold ring holding a quill, the nib at the lower left.
void QuillEmblem(ShapeCanvas& canvas, float cx, float cy, float r) {
    const int x0 = int(cx - r * 1.2f), y0 = int(cy - r * 1.2f), x1 = int(cx + r * 1.2f), y1 = int(cy + r * 1.2f);
    DrawIn(canvas, x0, y0, x1, y1, VbAssets::Disc(cx, cy, r),
           VbAssets::VerticalGradient(cy - r, cy + r, Rgba(38, 52, 92), Rgba(14, 18, 40)));
    DrawIn(canvas, x0, y0, x1, y1, VbAssets::Ring(VbAssets::Disc(cx, cy, r), r * 0.09f), kGold);
    DrawIn(canvas, x0, y0, x1, y1, VbAssets::Ring(VbAssets::Disc(cx, cy, r * 0.84f), r * 0.02f),
           Rgba(255, 240, 200, 0.5f));
    // The vane: a leaf along the shaft from the nib (lower left) to the tip (upper right).
    const float ax = cx - r * 0.5f, ay = cy + r * 0.55f; // nib
    const float bx = cx + r * 0.55f, by = cy - r * 0.6f; // tip
    const float dx = bx - ax, dy = by - ay;
    const float length = std::hypot(dx, dy);
    const float nx = -dy / length, ny = dx / length;
    std::vector<std::array<float, 2>> vane;
    const int steps = 16;
    for (int i = 0; i <= steps; ++i) {
        const float t = 0.18f + 0.82f * float(i) / steps;
        const float w = r * 0.30f * std::sin(3.14159265f * (t - 0.18f) / 0.82f) * (1.1f - 0.4f * t);
        vane.push_back({ax + dx * t + nx * w, ay + dy * t + ny * w});
    }
    for (int i = steps; i >= 0; --i) {
        const float t = 0.18f + 0.82f * float(i) / steps;
        const float w = r * 0.22f * std::sin(3.14159265f * (t - 0.18f) / 0.82f) * (1.1f - 0.4f * t);
        vane.push_back({ax + dx * t - nx * w, ay + dy * t - ny * w});
    }
    DrawIn(canvas, x0, y0, x1, y1, VbAssets::Polygon(vane),
           VbAssets::VerticalGradient(cy - r, cy + r, Rgba(255, 250, 236), Rgba(214, 196, 160)));
    // Barbs: fine darker strokes across the vane.
    for (int i = 1; i < 9; ++i) {
        const float t = 0.25f + 0.08f * float(i);
        const float px = ax + dx * t, py = ay + dy * t;
        // Each barb stays within the vane: as long as the vane is wide there, slanting towards the tip.
        const float reach = 0.8f * r * 0.30f * std::sin(3.14159265f * (t - 0.18f) / 0.82f) * (1.1f - 0.4f * t);
        DrawIn(canvas, x0, y0, x1, y1,
               VbAssets::Segment(px, py, px + nx * reach + dx * 0.03f, py + ny * reach + dy * 0.03f, r * 0.018f),
               Rgba(150, 128, 96, 0.7f));
    }
    DrawIn(canvas, x0, y0, x1, y1, VbAssets::Segment(ax, ay, bx, by, r * 0.035f), Rgba(120, 92, 52));
    DrawIn(canvas, x0, y0, x1, y1, VbAssets::Segment(ax - dx * 0.08f, ay - dy * 0.08f, ax, ay, r * 0.05f),
           kGold);
}

// The company picture, shown first: the emblem over a dark warm ground, the name beneath it.
ShapeCanvas CompanySplash(const std::string& fontsDir, bool minimal) {
    ShapeCanvas canvas(kSplashSize, kSplashSize, Rgba(0, 0, 0));
    DrawIn(canvas, 0, 0, kScreenW, kScreenH, VbAssets::RoundedBox(-10, -10, kScreenW + 10, kScreenH + 10, 0),
           [](float x, float y) {
               const float d = std::hypot((x - 400) / 520, (y - 280) / 420);
               return VbAssets::MixColour(Rgba(34, 24, 30), Rgba(4, 4, 8), Clamp01(d));
           });
    if (minimal)
        return canvas;
    Glow(canvas, 400, 250, 260, Rgba(255, 190, 110, 0.25f));
    QuillEmblem(canvas, 400, 250, 130);
    const std::string bold = (std::filesystem::path(fontsDir) / "DejaVuSans-Bold.ttf").string();
    DrawTextLine(canvas, FitTextLine(U"QUILLFEN GAMES", bold, 64, 3, 640), 400, 410, kGoldLight, kGold,
                 kOutline);
    DrawIn(canvas, 200, 500, 600, 508, VbAssets::Segment(230, 504, 570, 504, 3), [](float x, float) {
        ShapeColour c = kGold;
        c.a = Clamp01(1 - std::abs(x - 400) / 170) * 0.9f;
        return c;
    });
    return canvas;
}

// The game's picture, shown second: a sunset sky over a field of bricks, a ball in flight above the bat and
// the game's name.
ShapeCanvas GameSplash(const std::string& fontsDir, bool minimal) {
    ShapeCanvas canvas(kSplashSize, kSplashSize, Rgba(0, 0, 0));
    const float horizon = 300;
    DrawIn(canvas, 0, 0, kScreenW, int(horizon) + 1, VbAssets::RoundedBox(-10, -10, kScreenW + 10, horizon, 0),
           VbAssets::VerticalGradient(0, horizon, Rgba(26, 40, 92), Rgba(250, 160, 90)));
    if (minimal)
        return canvas;
    Glow(canvas, 560, horizon - 10, 220, Rgba(255, 220, 150, 0.7f));
    DrawIn(canvas, 500, 230, 620, 300, VbAssets::Disc(560, horizon - 4, 46), Rgba(255, 236, 190));
    // Hills on the horizon.
    for (int hill = 0; hill < 3; ++hill) {
        const float cx = 120.0f + 280.0f * float(hill), w = 260;
        DrawIn(canvas, int(cx - w), int(horizon - 80), int(cx + w), int(horizon) + 2,
               [=](float x, float y) {
                   const float top = horizon - 70 * std::exp(-std::pow((x - cx) / (w * 0.5f), 2));
                   return top - y;
               },
               Rgba(58 + 12 * hill, 92 + 6 * hill, 70, 1));
    }
    // The field in perspective: a trapezoid narrowing to the horizon.
    const auto fieldX = [](float y, float side) { return 400 + side * (120 + (y - 300) * 1.55f); };
    DrawIn(canvas, 0, int(horizon), kScreenW, kScreenH,
           VbAssets::Polygon({{0, horizon}, {kScreenW, horizon}, {kScreenW, kScreenH}, {0, kScreenH}}),
           VbAssets::VerticalGradient(horizon, kScreenH, Rgba(70, 120, 60), Rgba(40, 96, 40)));
    DrawIn(canvas, 0, int(horizon), kScreenW, kScreenH,
           VbAssets::Polygon({{fieldX(horizon, -1), horizon}, {fieldX(horizon, 1), horizon},
                              {fieldX(kScreenH, 1), kScreenH}, {fieldX(kScreenH, -1), kScreenH}}),
           VbAssets::VerticalGradient(horizon, kScreenH, Rgba(120, 176, 88), Rgba(86, 150, 64)));
    // Rows of bricks, smaller towards the horizon.
    const ShapeColour bricks[] = {Rgba(214, 66, 56), Rgba(236, 150, 54), Rgba(240, 206, 70), Rgba(90, 170, 90),
                                  Rgba(70, 130, 220), Rgba(150, 90, 200)};
    for (int row = 0; row < 5; ++row) {
        const float y = horizon + 14 + 22.0f * row + 2.5f * row * row;
        const float left = fieldX(y, -1) + 10, right = fieldX(y, 1) - 10;
        const float h = 9 + 2.2f * row;
        const int count = 9;
        const float cell = (right - left) / count;
        for (int i = 0; i < count; ++i) {
            if ((row == 2 && (i == 3 || i == 4)) || (row == 4 && i == 6))
                continue; // bricks already knocked out
            const float bx0 = left + cell * i + 2, bx1 = left + cell * (i + 1) - 2;
            const ShapeColour colour = bricks[(row + i) % 6];
            DrawIn(canvas, int(bx0) - 2, int(y) - 2, int(bx1) + 3, int(y + h) + 3,
                   VbAssets::RoundedBox(bx0, y, bx1, y + h, 2.5f),
                   VbAssets::VerticalGradient(y, y + h, VbAssets::MixColour(colour, Rgba(255, 255, 255), 0.3f),
                                              VbAssets::MixColour(colour, Rgba(0, 0, 0), 0.3f)));
        }
    }
    // The bat near the bottom and the ball above it, with its trail.
    DrawIn(canvas, 300, 540, 500, 590, VbAssets::RoundedBox(330, 552, 470, 574, 10),
           VbAssets::VerticalGradient(552, 574, Rgba(200, 210, 230), Rgba(90, 100, 130)));
    for (int i = 0; i < 10; ++i) {
        const float t = float(i) / 10;
        Glow(canvas, 470 - 90 * t, 440 + 80 * t, 14 - 8 * t, Rgba(170, 210, 255, 0.5f * (1 - t)));
    }
    Glow(canvas, 474, 436, 40, Rgba(200, 230, 255, 0.8f));
    DrawIn(canvas, 450, 410, 500, 460, VbAssets::Disc(474, 436, 13),
           [](float x, float y) {
               const float d = Clamp01(std::hypot(x - 469, y - 431) / 18);
               return VbAssets::MixColour(Rgba(255, 255, 255), Rgba(70, 110, 200), d);
           });
    const std::string bold = (std::filesystem::path(fontsDir) / "DejaVuSans-Bold.ttf").string();
    DrawTextLine(canvas, FitTextLine(U"Velmora Ball", bold, 110, 5, 720), 400, 70, kGoldLight, kGold,
                 kOutline);
    return canvas;
}

// A small version of the publisher's mark for the menus' logo places: emblem and name on a clear ground.
ShapeCanvas PublisherLogo(const std::string& fontsDir, bool minimal) {
    ShapeCanvas canvas(256, 128, ShapeColour{0.1f, 0.08f, 0.06f, 0});
    if (minimal) {
        DrawIn(canvas, 0, 0, 256, 128, VbAssets::RoundedBox(4, 4, 252, 124, 12), kGold);
        return canvas;
    }
    QuillEmblem(canvas, 62, 64, 52);
    const std::string bold = (std::filesystem::path(fontsDir) / "DejaVuSans-Bold.ttf").string();
    DrawTextLine(canvas, FitTextLine(U"Quillfen", bold, 34, 2, 128), 186, 24, kGoldLight, kGold, kOutline);
    DrawTextLine(canvas, FitTextLine(U"Games", bold, 30, 2, 128), 186, 66, kGoldLight, kGold, kOutline);
    return canvas;
}

// The custom cursor: a gold arrow with a dark rim, its point at the top left corner (the hot spot).
ShapeCanvas Cursor() {
    ShapeCanvas canvas(64, 64, ShapeColour{0.1f, 0.06f, 0.02f, 0});
    const std::vector<std::array<float, 2>> arrow = {{3, 3}, {3, 50}, {15, 39}, {24, 58}, {32, 54}, {23, 36}, {39, 36}};
    canvas.Draw([shape = VbAssets::Polygon(arrow)](float x, float y) { return shape(x, y) - 2.5f; }, kOutline);
    canvas.Draw(VbAssets::Polygon(arrow), VbAssets::VerticalGradient(3, 58, kGoldLight, Rgba(200, 140, 50)));
    canvas.Draw(VbAssets::Segment(7, 12, 7, 38, 2), Rgba(255, 255, 255, 0.6f));
    return canvas;
}

// The colour of a picture with its coverage apart, as a pair of JPEG files: where the picture is clear the
// colour keeps the ground colour, so that filtering at the edges does not pull in black.
VelmoraFormats::Picture Coverage(const ShapeCanvas& canvas) {
    VelmoraFormats::Picture mask(canvas.width, canvas.height, 1);
    for (size_t p = 0; p < canvas.pixels.size(); ++p)
        mask.pixels[p] = uint8_t(std::lround(Clamp01(canvas.pixels[p].a) * 255.0f));
    return mask;
}

VelmoraFormats::Picture Colour(const ShapeCanvas& canvas) {
    ShapeCanvas opaque = canvas;
    for (ShapeColour& pixel : opaque.pixels)
        pixel.a = 1;
    return opaque.ToPicture(3);
}

void WriteJpegPair(OutputTree& out, const std::string& stem, const ShapeCanvas& canvas) {
    out.Write(stem + ".jpg", VelmoraFormats::WriteJpeg(Colour(canvas)));
    out.Write(stem + "_alpha.jpg", VelmoraFormats::WriteJpeg(Coverage(canvas)));
}

} // namespace

void FixedImagesRecipe::Run(const RecipeContext& context) const {
    // White, so that the material's colour alone decides the backdrop's tint.
    VelmoraFormats::Picture empty(8, 8, 3);
    std::fill(empty.pixels.begin(), empty.pixels.end(), uint8_t{255});
    context.out->Write("common\\empty.tga", VelmoraFormats::WriteTga(empty));

    const bool minimal = context.profile == Profile::Minimal;
    const std::string fontsDir = context.fontsDir.empty() ? DefaultFontsDir() : context.fontsDir;
    try {
        context.out->Write("splash2.jpg", VelmoraFormats::WriteJpeg(CompanySplash(fontsDir, minimal).ToPicture(3)));
        context.out->Write("splash1.jpg", VelmoraFormats::WriteJpeg(GameSplash(fontsDir, minimal).ToPicture(3)));
        // Only the first of the two publisher logo places is filled; the other stays disabled in the game.
        WriteJpegPair(*context.out, "ui\\textures\\publishers\\0_logo_small", PublisherLogo(fontsDir, minimal));
    } catch (const std::runtime_error& error) {
        throw GenError(std::string("splash and logo pictures: ") + error.what());
    }
    WriteJpegPair(*context.out, "ui\\cursors\\cursor", Cursor());
}

} // namespace VbGen
