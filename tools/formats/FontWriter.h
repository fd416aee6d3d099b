// Writes font description files ("OEFNT" 201): a glyph count and one 22-byte record per glyph (UTF-16 code
// unit, lower-left texture corner, texture size, quad width over height). The data tools make the game's
// fonts with it and tests make their fixtures; one call per file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

struct FontGlyph {
    uint16_t code = 0;
    float u = 0; // lower-left corner, v measured from the texture's bottom edge
    float v = 0;
    float width = 0; // in texture coordinates
    float height = 0;
    float widthFactor = 1; // drawn quad width / quad height
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct FontFaults {
    bool skipChecks = false; // allows duplicate codes
    std::string magic = "OEFNT";
    uint32_t version = 201;
    int32_t sizeDelta = 0;   // added to the header's total size
    int32_t countDelta = 0;  // added to the stored glyph count (more records claimed than written)
    uint32_t truncateBy = 0; // bytes cut from the end (the header's size follows the cut)
};

class FontWriter {
public:
    // Throws FormatError naming the rule the glyphs break unless the faults skip the checks.
    static std::vector<uint8_t> Write(const std::vector<FontGlyph>& glyphs, const FontFaults& faults = {});
    static void Save(const std::string& path, const std::vector<FontGlyph>& glyphs,
                     const FontFaults& faults = {});

    // Codes unique; every value finite; width factors above 0.
    static void Check(const std::vector<FontGlyph>& glyphs);
};

} // namespace VbFormats
