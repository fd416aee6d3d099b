// One line of text painted into a generated picture (splash screens, logos): rasterised from a TrueType face,
// made smaller when it is wider than its room, filled with a gradient from the top of its cells to their
// bottom and bordered in an outline colour. A plain value, made by FitTextLine and drawn by DrawTextLine.
#pragma once

#include "tools/assets/FontRasterizer.h"
#include "tools/assets/ShapeCanvas.h"

#include <cstdint>
#include <map>
#include <string>

namespace VbGen {

struct TextLine {
    std::u32string text;
    VbAssets::RasterFont font;
    std::map<uint32_t, VbFormats::FontGlyph> glyphs; // by code point
    float width = 0;                                 // pixels, blanks included
};

// Rasterises text from faceFile at pixelHeight with an outline of that many pixels (0 for none). A line wider
// than maxWidth is rasterised once more, its height scaled by maxWidth over its width but not below 8 pixels.
TextLine FitTextLine(const std::u32string& text, const std::string& faceFile, int pixelHeight, int outline,
                     float maxWidth);

// Draws the line centred on centreX with the top of its cells at top. The fill runs from fillTop to
// fillBottom down the cell; where the line has an outline, the outline shows in outlineColour.
void DrawTextLine(VbAssets::ShapeCanvas& canvas, const TextLine& line, float centreX, float top,
                  VbAssets::ShapeColour fillTop, VbAssets::ShapeColour fillBottom,
                  VbAssets::ShapeColour outlineColour);

} // namespace VbGen
