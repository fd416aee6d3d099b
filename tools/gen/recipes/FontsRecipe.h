// The game's bitmap fonts: rasterises the DejaVu faces into font description files and atlases below
// ui\fonts\ (common\ for fonts every language shares, en\ and ru\ for the per-language atlases of the large
// fonts) and writes fonts_basic.xml and fonts_additional.xml from the same table, so the space and line
// height the XML gives always match the atlases. The minimal profile makes the same names at a small size.
#pragma once

#include "tools/assets/FontRasterizer.h"
#include "tools/gen/Recipe.h"

#include <string>
#include <vector>

namespace VbGen {

// One font file with its atlases, as the table of the game's fonts names it.
struct FontFileLayout {
    std::string stem;                // "ui\fonts\common\main_menu": the .fnt is stem + ".fnt"
    std::string face;                // "DejaVuSans-Bold.ttf"
    int pixelHeight = 32;
    VbAssets::CharacterSet characters = VbAssets::CharacterSet::Full;
    int outline = 0;
    std::vector<std::string> colourNames; // atlas names after the stem ("_0", "_1"); one empty name: stem.png
    std::vector<VbAssets::FontColour> colours;
};

// One entry of the fonts XML.
struct FontEntryLayout {
    std::string name;
    float size = 20;       // glyph height in GUI units
    bool basic = false;    // in fonts_basic.xml (needed before the staged loading) or fonts_additional.xml
    bool monospace = false;
    bool upperCase = false;
    int file = 0;          // index into the font files
    int colour = 0;        // which of the file's atlases
    int russianFile = -1;  // a file of its own for the ru language child, or -1
};

struct FontTable {
    std::vector<FontFileLayout> files;
    std::vector<FontEntryLayout> entries;
};

// The game's fonts, in the order of their ids.
FontTable GameFonts();

// The folder of the DejaVu faces the build found; the recipe uses it when the context names no folder.
std::string DefaultFontsDir();

class FontsRecipe final : public Recipe {
public:
    std::string Family() const override { return "fonts"; }
    uint32_t Version() const override { return 1; }
    void Run(const RecipeContext& context) const override;
};

} // namespace VbGen
