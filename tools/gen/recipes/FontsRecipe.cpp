#include "tools/gen/recipes/FontsRecipe.h"

#include "tools/formats/FontWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/gen/GenError.h"
#include "tools/gen/TextFormat.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#ifndef VB_DEFAULT_FONTS_DIR
#define VB_DEFAULT_FONTS_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace VbGen {

namespace {

using VbAssets::CharacterSet;
using VbAssets::FontColour;

constexpr FontColour kWhite{255, 255, 255};
constexpr FontColour kGold{255, 214, 90};
constexpr FontColour kOrange{255, 150, 40};
constexpr FontColour kLightBlue{150, 210, 255};
// The outline is a dark blue-grey rather than black: it reads as a border on the dark panels too.
constexpr FontColour kBorder{20, 24, 40};

constexpr int kMinimalPixelHeight = 16;

FontFileLayout File(std::string stem, std::string face, int pixelHeight, CharacterSet characters, int outline = 0,
                  std::vector<std::string> colourNames = {""}, std::vector<FontColour> colours = {kWhite}) {
    return FontFileLayout{std::move(stem), std::move(face), pixelHeight, characters, outline,
                        std::move(colourNames), std::move(colours)};
}

std::string AtlasName(const FontFileLayout& file, int colour) {
    return file.stem + file.colourNames.at(size_t(colour)) + ".png";
}

// What the fonts XML needs of a rasterised file.
struct MadeFont {
    float space = 1;
    float lineHeight = 1;
};

void WriteFontPaths(std::string& xml, const FontFileLayout& file, int colour, const std::string& indent) {
    xml += indent + "<description_file_path path=\"" + file.stem + ".fnt\"/>\n";
    xml += indent + "<diffuse_image_path path=\"" + AtlasName(file, colour) + "\"/>\n";
    xml += indent + "<opacity_image_path path=\"32bit\"/>\n";
}

void WriteProperties(std::string& xml, const MadeFont& made, float size, const std::string& indent) {
    // A line of text takes the face's line distance; the glyph quad itself spans the cell.
    xml += indent + "<properties space=\"" + FormatFloat(made.space) + "\" shift=\"1\" virtual_size=\"" +
           FormatFloat(size * made.lineHeight) + "\"/>\n";
}

std::string FontsXml(const FontTable& table, const std::vector<MadeFont>& made, bool basic) {
    std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    xml += basic ? "<!-- fonts needed before the staged loading: the console and the loading window -->\n"
                 : "<!-- fonts read after the staged loading; ids follow those of fonts_basic.xml -->\n";
    xml += "<fonts>\n";
    for (const FontEntryLayout& entry : table.entries) {
        if (entry.basic != basic)
            continue;
        xml += "  <font name=\"" + entry.name + "\" size=\"" + FormatFloat(entry.size) + "\"";
        if (entry.monospace)
            xml += " monospace=\"1\"";
        if (entry.upperCase)
            xml += " case=\"upper\"";
        xml += ">\n";
        const FontFileLayout& file = table.files.at(size_t(entry.file));
        WriteFontPaths(xml, file, entry.colour, "    ");
        WriteProperties(xml, made.at(size_t(entry.file)), entry.size, "    ");
        if (entry.russianFile >= 0) {
            xml += "    <ru>\n";
            WriteFontPaths(xml, table.files.at(size_t(entry.russianFile)), entry.colour, "      ");
            WriteProperties(xml, made.at(size_t(entry.russianFile)), entry.size, "      ");
            xml += "    </ru>\n";
        }
        xml += "  </font>\n";
    }
    xml += "</fonts>\n";
    return xml;
}

} // namespace

FontTable GameFonts() {
    const std::string common = "ui\\fonts\\common\\";
    FontTable table;
    table.files = {
        File(common + "console", "DejaVuSansMono.ttf", 20, CharacterSet::Full),                       // 0
        File("ui\\fonts\\en\\loading", "DejaVuSans-Bold.ttf", 44, CharacterSet::Latin),               // 1
        File("ui\\fonts\\ru\\loading", "DejaVuSans-Bold.ttf", 44, CharacterSet::Full),                // 2
        // Titles show the player's name, which may be typed in either alphabet.
        File("ui\\fonts\\en\\title", "DejaVuSans-Bold.ttf", 52, CharacterSet::UpperFull, 2),          // 3
        File("ui\\fonts\\ru\\title", "DejaVuSans-Bold.ttf", 52, CharacterSet::UpperFull, 2),          // 4
        File(common + "text", "DejaVuSans.ttf", 30, CharacterSet::Full),                              // 5
        File(common + "button", "DejaVuSans-Bold.ttf", 32, CharacterSet::Full, 2),                    // 6
        File(common + "editbox", "DejaVuSans.ttf", 32, CharacterSet::Full),                           // 7
        File(common + "main_menu", "DejaVuSans-Bold.ttf", 48, CharacterSet::Full, 2, {"_0", "_1", "_2"},
             {kWhite, kGold, kOrange}),                                                               // 8
        File(common + "common", "DejaVuSans.ttf", 32, CharacterSet::Full, 0, {"_0", "_1", "_2"},
             {kWhite, kGold, kLightBlue}),                                                            // 9
        File(common + "tip", "DejaVuSans-Bold.ttf", 40, CharacterSet::Full, 2),                       // 10
        File(common + "hud", "DejaVuSans-Bold.ttf", 38, CharacterSet::Latin, 2),                      // 11
        File(common + "small", "DejaVuSans.ttf", 24, CharacterSet::Full),                             // 12
    };
    table.entries = {
        {"console", 12, true, true, false, 0, 0, -1},
        {"loading", 28, true, false, false, 1, 0, 2},
        {"title", 32, false, false, true, 3, 0, 4},
        {"text", 18, false, false, false, 5, 0, -1},
        {"button", 20, false, false, false, 6, 0, -1},
        {"editbox", 20, false, false, false, 7, 0, -1},
        {"main_menu_0", 30, false, false, false, 8, 0, -1},
        {"main_menu_1", 30, false, false, false, 8, 1, -1},
        {"main_menu_2", 30, false, false, false, 8, 2, -1},
        {"common_0", 20, false, false, false, 9, 0, -1},
        {"common_1", 20, false, false, false, 9, 1, -1},
        {"common_2", 20, false, false, false, 9, 2, -1},
        {"tip", 22, false, false, false, 10, 0, -1},
        {"hud", 24, false, true, false, 11, 0, -1},
        {"small", 14, false, false, false, 12, 0, -1},
    };
    return table;
}

std::string DefaultFontsDir() {
    return VB_DEFAULT_FONTS_DIR;
}

void FontsRecipe::Run(const RecipeContext& context) const {
    const std::string fontsDir = context.fontsDir.empty() ? DefaultFontsDir() : context.fontsDir;
    const FontTable table = GameFonts();
    std::vector<MadeFont> made;
    for (const FontFileLayout& file : table.files) {
        VbAssets::FontStyle style;
        style.faceFile = (std::filesystem::path(fontsDir) / file.face).string();
        style.characters = VbAssets::Characters(file.characters);
        style.pixelHeight = file.pixelHeight;
        style.outline = file.outline;
        if (context.profile == Profile::Minimal) {
            style.pixelHeight = kMinimalPixelHeight;
            style.outline = std::min(file.outline, 1);
        }
        VbAssets::RasterFont font;
        try {
            font = VbAssets::RasterizeFont(style);
        } catch (const std::runtime_error& error) {
            throw GenError(file.stem + ".fnt: " + error.what());
        }
        context.out->Write(file.stem + ".fnt", VbFormats::FontWriter::Write(font.glyphs));
        for (size_t colour = 0; colour < file.colours.size(); ++colour)
            context.out->Write(AtlasName(file, int(colour)),
                               VelmoraFormats::WritePng(font.Atlas(file.colours[colour], kBorder)));
        made.push_back(MadeFont{font.space, font.lineHeight});
    }
    context.out->Write("ui\\fonts\\fonts_basic.xml", FontsXml(table, made, true));
    context.out->Write("ui\\fonts\\fonts_additional.xml", FontsXml(table, made, false));
}

} // namespace VbGen
