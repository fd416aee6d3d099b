// Makes the game's bitmap fonts: rasterises the characters of a TrueType face with FreeType (no hinting, grey
// anti-aliasing) into an atlas of cells that all span the face's full vertical band, so every glyph shares
// the pen's baseline and a quad of the font's size shows the whole band. Gives the glyph records of the font
// description file and the atlas picture in any number of colours over one layout. Used by the data
// generator and by tests that need a real font; a plain function over a plain result.
#pragma once

#include "tools/formats/FontWriter.h"
#include "tools/formats/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VbAssets {

// The character sets of the game's fonts. The upper variants leave out the lower-case letters: such a font is
// drawn with case folding, so lower-case text takes the upper-case glyphs.
enum class CharacterSet { Latin, Cyrillic, Full, UpperLatin, UpperFull };

// Code points in ascending order, without the blank (its advance is the font's space instead).
std::vector<uint32_t> Characters(CharacterSet set);

struct FontStyle {
    std::string faceFile;              // a .ttf file
    int pixelHeight = 32;              // the em size the face is rasterised at
    std::vector<uint32_t> characters;  // code points below 0x10000 (the font file stores UTF-16 units)
    int outline = 0;                   // width in pixels of a dark border around each glyph; 0 for none
    uint32_t atlasWidth = 0;           // 512 or 1024; 0 takes 512 when the atlas fits in 512 x 512
};

struct FontColour {
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 255;
};

class RasterFont {
public:
    // The atlas as an RGBA picture: alpha is the coverage, colour the fill colour (and the border colour
    // where the outline shows). Every colour gives the same layout, so one font file serves them all.
    VelmoraFormats::Picture Atlas(FontColour fill, FontColour border = {0, 0, 0}) const;

    std::vector<VbFormats::FontGlyph> glyphs; // in code order
    float space = 1;         // advance of a blank in units of the cell height
    float lineHeight = 1;    // the face's line distance in units of the cell height
    int cellHeight = 0;      // pixels: ascender to descender, plus the outline above and below
    int baseline = 0;        // pixels from the cell's top to the baseline
    uint32_t width = 0;      // atlas size in pixels
    uint32_t height = 0;
    std::vector<uint8_t> fill;   // coverage of the glyphs, width x height, top row first
    std::vector<uint8_t> border; // coverage of glyphs and outline (empty without an outline)
};

// Throws std::runtime_error when the face cannot be loaded, lacks one of the characters, a code point does
// not fit the font file, or the atlas would exceed 1024 x 1024.
RasterFont RasterizeFont(const FontStyle& style);

} // namespace VbAssets
