// ctest-label: data
#include "tools/assets/FontRasterizer.h"
#include "tools/gen/recipes/FontsRecipe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

using VbAssets::CharacterSet;
using VbAssets::RasterFont;

namespace {

std::string Face(const std::string& name) {
    return VbGen::DefaultFontsDir() + "/" + name;
}

RasterFont Rasterize(const std::vector<uint32_t>& characters, int pixelHeight = 32, int outline = 0,
                     const std::string& face = "DejaVuSans.ttf") {
    VbAssets::FontStyle style;
    style.faceFile = Face(face);
    style.pixelHeight = pixelHeight;
    style.characters = characters;
    style.outline = outline;
    return VbAssets::RasterizeFont(style);
}

const VbFormats::FontGlyph& GlyphOf(const RasterFont& font, uint32_t code) {
    auto it = std::find_if(font.glyphs.begin(), font.glyphs.end(),
                           [code](const VbFormats::FontGlyph& glyph) { return glyph.code == code; });
    if (it == font.glyphs.end())
        throw std::runtime_error("no glyph " + std::to_string(code));
    return *it;
}

// The atlas pixel rectangle of a glyph, from its record (v counts from the bottom).
struct CellRect {
    int x, y, width, height;
};

CellRect RectOf(const RasterFont& font, const VbFormats::FontGlyph& glyph) {
    CellRect rect;
    rect.x = int(std::lround(glyph.u * font.width));
    rect.width = int(std::lround(glyph.width * font.width));
    rect.height = int(std::lround(glyph.height * font.height));
    rect.y = int(font.height) - int(std::lround(glyph.v * font.height)) - rect.height;
    return rect;
}

// First and last cell rows holding ink, counted from the cell's top; -1 when there is none.
std::pair<int, int> InkRows(const RasterFont& font, const std::vector<uint8_t>& coverage, uint32_t code) {
    const CellRect rect = RectOf(font, GlyphOf(font, code));
    int first = -1, last = -1;
    for (int y = 0; y < rect.height; ++y)
        for (int x = 0; x < rect.width; ++x)
            if (coverage[size_t(rect.y + y) * font.width + rect.x + x] > 127) {
                first = first < 0 ? y : first;
                last = y;
            }
    return {first, last};
}

} // namespace

TEST(CharacterSets, HoldTheLettersOfBothLanguagesAndTheUpperSetsDropTheLowerCase) {
    struct Case {
        CharacterSet set;
        std::vector<uint32_t> present;
        std::vector<uint32_t> absent;
    };
    const Case cases[] = {
        {CharacterSet::Latin, {'!', 'A', 'z', '~', 0xE9, 0x2116, 0x2026}, {' ', 0x410, 0x7F}},
        {CharacterSet::Cyrillic, {0x401, 0x410, 0x44F, 0x451}, {'A', ' '}},
        {CharacterSet::Full, {'a', 'Z', 0x416, 0x436, 0x451, 0xA0}, {' ', 0x452}},
        {CharacterSet::UpperLatin, {'A', 'Z', '0', '%', 0xC9, 0xF7, 0xDF}, {'a', 'z', 0xE9, 0xFF, 0x410}},
        {CharacterSet::UpperFull, {'Q', 0x401, 0x42F, '?'}, {'q', 0x430, 0x44F, 0x451}},
    };
    for (const Case& c : cases) {
        const std::vector<uint32_t> codes = VbAssets::Characters(c.set);
        EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
        for (uint32_t code : c.present)
            EXPECT_TRUE(std::binary_search(codes.begin(), codes.end(), code)) << int(c.set) << " lacks " << code;
        for (uint32_t code : c.absent)
            EXPECT_FALSE(std::binary_search(codes.begin(), codes.end(), code)) << int(c.set) << " has " << code;
    }
}

TEST(FontRasterizer, EveryCellSpansTheSameBandAndGlyphsShareTheBaseline) {
    const RasterFont font = Rasterize({'H', 'x', 'p', 'g', 0x416, 0x451, '.'});
    ASSERT_EQ(font.glyphs.size(), 7u);
    EXPECT_EQ(font.width, 512u);
    EXPECT_EQ(font.height & (font.height - 1), 0u) << "power-of-two height";
    for (const VbFormats::FontGlyph& glyph : font.glyphs) {
        const CellRect rect = RectOf(font, glyph);
        EXPECT_EQ(rect.height, font.cellHeight) << glyph.code;
        EXPECT_NEAR(glyph.widthFactor, float(rect.width) / float(font.cellHeight), 1e-5) << glyph.code;
        EXPECT_GE(rect.x, 4);
        EXPECT_GE(rect.y, 4);
        EXPECT_LE(rect.x + rect.width + 4, int(font.width));
    }
    // Letters without descenders end on the row above the baseline; descenders go below it.
    for (uint32_t code : {uint32_t('H'), uint32_t('x'), uint32_t('.'), 0x416u, 0x451u})
        EXPECT_EQ(InkRows(font, font.fill, code).second, font.baseline - 1) << code;
    for (uint32_t code : {'p', 'g'})
        EXPECT_GT(InkRows(font, font.fill, code).second, font.baseline + 2) << code;
    // Capitals reach higher than x-height letters and the dots of the yo sit above the x-height.
    EXPECT_LT(InkRows(font, font.fill, 'H').first, InkRows(font, font.fill, 'x').first);
    EXPECT_LT(InkRows(font, font.fill, 0x451).first, InkRows(font, font.fill, 'x').first);
    // The blank has no glyph; its advance is the space, about a third of the em in this face.
    EXPECT_NEAR(font.space * font.cellHeight, 32 * 0.318, 0.5);
}

TEST(FontRasterizer, CellsNeverOverlapAndLargeSetsMoveToTheWideAtlas) {
    const RasterFont small = Rasterize(VbAssets::Characters(CharacterSet::Full), 20, 0, "DejaVuSansMono.ttf");
    const RasterFont large = Rasterize(VbAssets::Characters(CharacterSet::Full), 48, 2, "DejaVuSans-Bold.ttf");
    EXPECT_EQ(small.width, 512u);
    EXPECT_EQ(large.width, 1024u);
    for (const RasterFont* font : {&small, &large}) {
        std::vector<uint8_t> owner(size_t(font->width) * font->height, 0);
        for (const VbFormats::FontGlyph& glyph : font->glyphs) {
            const CellRect rect = RectOf(*font, glyph);
            ASSERT_LE(rect.y + rect.height, int(font->height));
            for (int y = rect.y; y < rect.y + rect.height; ++y)
                for (int x = rect.x; x < rect.x + rect.width; ++x)
                    ASSERT_EQ(owner[size_t(y) * font->width + x]++, 0) << "cells overlap at " << glyph.code;
        }
        // No ink outside the cells: the outline's spread stays inside each cell's own padding.
        const std::vector<uint8_t>& ink = font->border.empty() ? font->fill : font->border;
        for (size_t p = 0; p < ink.size(); ++p)
            ASSERT_TRUE(ink[p] == 0 || owner[p] == 1) << "ink outside a cell at pixel " << p;
    }
    // A monospaced face gives every glyph the same cell.
    for (const VbFormats::FontGlyph& glyph : small.glyphs)
        EXPECT_FLOAT_EQ(glyph.widthFactor, small.glyphs.front().widthFactor) << glyph.code;
}

TEST(FontRasterizer, ColourVariantsShareTheLayoutAndTheOutlineBordersTheFill) {
    const RasterFont font = Rasterize({'O', 0x42F}, 40, 2, "DejaVuSans-Bold.ttf");
    const VelmoraFormats::Picture white = font.Atlas({255, 255, 255}, {0, 0, 40});
    const VelmoraFormats::Picture gold = font.Atlas({255, 214, 90}, {0, 0, 40});
    ASSERT_EQ(white.channels, 4u);
    int borderOnly = 0;
    for (size_t p = 0; p < font.fill.size(); ++p) {
        ASSERT_EQ(white.pixels[p * 4 + 3], gold.pixels[p * 4 + 3]);
        ASSERT_GE(font.border[p], font.fill[p]);
        if (font.fill[p] == 255) {
            EXPECT_EQ(gold.pixels[p * 4 + 1], 214); // solid fill shows the fill colour
        } else if (font.fill[p] == 0 && font.border[p] == 255) {
            ++borderOnly;
            EXPECT_EQ(gold.pixels[p * 4 + 2], 40); // pure outline shows the border colour
        }
    }
    EXPECT_GT(borderOnly, 100);
}

TEST(FontRasterizer, RefusesWhatTheFontFileCannotHold) {
    EXPECT_THROW(Rasterize({'A', 0x4E00}), std::runtime_error);   // not in the face
    EXPECT_THROW(Rasterize({'A', 0x1F600}), std::runtime_error);  // beyond UTF-16's single units
    EXPECT_THROW(Rasterize({'A'}, 32, 0, "NoSuchFace.ttf"), std::runtime_error);
    EXPECT_THROW(Rasterize({'A'}, 0), std::runtime_error);
    // Every glyph of a full set at a huge size cannot fit 1024 x 1024.
    EXPECT_THROW(Rasterize(VbAssets::Characters(CharacterSet::Full), 160), std::runtime_error);
}
