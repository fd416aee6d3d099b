#include "tools/gen/TextLine.h"

#include <algorithm>
#include <cmath>

namespace VbGen {

using VbAssets::ShapeColour;

TextLine FitTextLine(const std::u32string& text, const std::string& faceFile, int pixelHeight, int outline,
                     float maxWidth) {
    VbAssets::FontStyle style;
    style.faceFile = faceFile;
    style.pixelHeight = pixelHeight;
    style.outline = outline;
    // The rasteriser sorts the characters and drops repeats; the blank is an advance, not a glyph.
    for (char32_t c : text)
        if (c != U' ')
            style.characters.push_back(uint32_t(c));
    TextLine line;
    line.text = text;
    for (int pass = 0; pass < 2; ++pass) {
        line.font = VbAssets::RasterizeFont(style);
        line.glyphs.clear();
        for (const VbFormats::FontGlyph& glyph : line.font.glyphs)
            line.glyphs[glyph.code] = glyph;
        line.width = 0;
        for (char32_t c : text)
            line.width += c == U' ' ? line.font.space * line.font.cellHeight
                                    : line.glyphs.at(c).width * line.font.width;
        if (line.width <= maxWidth)
            break;
        style.pixelHeight = std::max(8, int(float(style.pixelHeight) * maxWidth / line.width));
    }
    return line;
}

void DrawTextLine(VbAssets::ShapeCanvas& canvas, const TextLine& line, float centreX, float top,
                  ShapeColour fillTop, ShapeColour fillBottom, ShapeColour outlineColour) {
    const VbAssets::RasterFont& font = line.font;
    const bool outlined = !font.border.empty();
    float penX = centreX - line.width / 2;
    const int cellTop = int(top);
    for (char32_t c : line.text) {
        if (c == U' ') {
            penX += font.space * font.cellHeight;
            continue;
        }
        const VbFormats::FontGlyph& glyph = line.glyphs.at(c);
        const int cellX = int(std::lround(glyph.u * font.width));
        const int cellY = int(font.height) - int(std::lround(glyph.v * font.height)) - font.cellHeight;
        const int cellW = int(std::lround(glyph.width * font.width));
        for (int y = 0; y < font.cellHeight; ++y)
            for (int x = 0; x < cellW; ++x) {
                const int tx = int(penX) + x, ty = cellTop + y;
                if (tx < 0 || ty < 0 || tx >= int(canvas.width) || ty >= int(canvas.height))
                    continue;
                const size_t source = size_t(cellY + y) * font.width + cellX + x;
                const float fill = font.fill[source] / 255.0f;
                const float edge = outlined ? font.border[source] / 255.0f : fill;
                if (edge <= 0)
                    continue;
                const ShapeColour inside =
                    VbAssets::MixColour(fillTop, fillBottom, float(y) / font.cellHeight);
                const ShapeColour ink = VbAssets::MixColour(outlineColour, inside, fill / edge);
                ShapeColour& target = canvas.pixels[size_t(ty) * canvas.width + tx];
                target = VbAssets::MixColour(target, ShapeColour{ink.r, ink.g, ink.b, 1}, edge);
                target.a = std::max(target.a, edge);
            }
        penX += cellW;
    }
}

} // namespace VbGen
