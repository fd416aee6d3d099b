// ctest-label: gui
// A line of text drawn through the whole stack: a small bitmap font generated here (5 x 7 pixel letters in
// a texture with alpha), a GUI window with a dark quad, the text centred in it by the font manager, a second
// line turned a quarter turn, and the frame drawn by the render pass, read back and written as
// gui-text-line.png under $VB_TEST_OUTPUT.
#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIWindow.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tests/support/SceneRenderFixture.h"
#include "tools/formats/FontWriter.h"
#include "tools/formats/Picture.h"
#include "tools/formats/PngWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace OrvexEngine;

namespace {

constexpr uint32_t Width = 640;
constexpr uint32_t Height = 480;
// A cell is 24 x 32 texels: the letter's 5 x 7 pixels as 4 x 4 texel blocks, 2 texels in from the cell's
// top left corner.
constexpr uint32_t CellWidth = 24;
constexpr uint32_t CellHeight = 32;
constexpr uint32_t AtlasWidth = 256;
constexpr uint32_t AtlasHeight = 64;

const std::map<wchar_t, std::array<const char*, 7>> letters = {
    {L'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {L'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {L'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {L'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {L'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {L'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {L'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {L'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {L'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
};

// Writes data/fonts/pixel.png (white, alpha = ink) and data/fonts/pixel.fnt.
void WritePixelFont(const VelmoraTest::DataFolder& data) {
    VelmoraFormats::Picture atlas(AtlasWidth, AtlasHeight, 4);
    std::vector<VbFormats::FontGlyph> glyphs;
    uint32_t cell = 0;
    for (const auto& [code, rows] : letters) {
        const uint32_t left = cell * CellWidth;
        for (uint32_t y = 0; y < CellHeight; ++y)
            for (uint32_t x = 0; x < CellWidth; ++x) {
                const int column = (int(x) - 2) / 4;
                const int row = (int(y) - 2) / 4;
                const bool ink =
                    x >= 2 && y >= 2 && column < 5 && row < 7 && rows[size_t(row)][column] == '#';
                uint8_t* p = atlas.At(left + x, y);
                p[0] = p[1] = p[2] = 255;
                p[3] = ink ? 255 : 0;
            }
        VbFormats::FontGlyph glyph;
        glyph.code = static_cast<uint16_t>(code);
        glyph.u = float(left) / AtlasWidth;
        glyph.v = float(AtlasHeight - CellHeight) / AtlasHeight; // the cells lie in the top row of the atlas
        glyph.width = float(CellWidth) / AtlasWidth;
        glyph.height = float(CellHeight) / AtlasHeight;
        glyph.widthFactor = float(CellWidth) / CellHeight;
        glyphs.push_back(glyph);
        ++cell;
    }
    data.Save("fonts/pixel.png", VelmoraFormats::WritePng(atlas));
    data.Save("fonts/pixel.fnt", VbFormats::FontWriter::Write(glyphs));
}

class TextRenderTest : public testing::Test {
protected:
    static void Save(const Image& image, const std::string& name) {
        VelmoraTest::SceneRenderFixture::SavePng(image, name);
    }
    // The pixel at GUI point (x, y): one unit is one pixel, y upwards.
    static const uint8_t* Pixel(const Image& image, float x, float y) {
        return VelmoraTest::SceneRenderFixture::Pixel(image, x, y);
    }
    void Frame(Image& image) { scene.Frame(image); }

    VelmoraTest::TestLog log;
    VelmoraTest::DataFolder data{"text"};
    VelmoraTest::SceneRenderFixture scene{Width, Height};
    ShaderManager* shaders = scene.shaders.get();
    VelmoraTest::TestGuiManager* gui = scene.gui.get();
    RenderSystem_D3D7* rs = scene.renderSystem.get();
};

TEST_F(TextRenderTest, CentredLineOverAWindow) {
    WritePixelFont(data);
    ShaderDescriptor fontMaterial;
    fontMaterial.InitFromImages(false, "fonts\\pixel.png", "32bit", true);
    ShaderUser* fontShader = shaders->CreateShaderUser(fontMaterial, false);
    GUIFont* font = gui->GetFontManager()->CreateFont(0, fontShader, "fonts\\pixel.fnt");
    font->size = 32;
    font->space = 0.5f;
    ASSERT_FALSE(log.Contains("Error"));

    ShaderDescriptor plain;
    GUIWindow* panel = gui->CreateWindow(0x3, Vec2(20, 20), Vec2(360, 60), nullptr, &plain);
    panel->SetColor(Vec4(0.1f, 0.15f, 0.5f, 1));
    rs->clearColor = Vec4(0, 0, 0, 1);

    // "HELLO GUI 42": ten glyphs of 24 and two blanks of 16 units, 272 x 32, centred in the panel.
    const std::wstring text = L"HELLO GUI 42";
    const Vec4 yellow(1, 0.9f, 0.1f, 1);
    // A window without a model carries a second line turned a quarter turn: it runs upwards from (600, 60).
    GUIWindow* holder = gui->CreateWindow(0x1, Vec2(600, 60), Vec2(0, 0));
    const float quarter = 1.5707964f;
    Image image;
    for (int frame = 0; frame < 2; ++frame) {
        panel->QueueText(AlignCentreHorizontal | AlignCentreVertical, 0, Vec2(0, 0), yellow, text);
        holder->QueueText(0, 0, Vec2(0, 0), Vec4(1, 1, 1, 1), L"GUI", quarter);
        Frame(image);
    }
    Save(image, "gui-text-line.png");
    ASSERT_EQ(image.width, Width);
    ASSERT_EQ(image.height, Height);
    const Vec2 start = gui->GetFontManager()->GetTextPosition(3, 0, panel, Vec2(0, 0), 0, text);
    EXPECT_EQ(start, Vec2(64, 34));

    // Letter pixel (column c, row r from the top) of the glyph in cell k is centred at
    // start + (24 k + 4 c + 4, 28 - 4 r).
    auto letterPixel = [&](int k, int c, int r) {
        return Pixel(image, start.x + float(24 * k + 4 * c + 4), start.y + float(28 - 4 * r));
    };
    auto isInk = [](const uint8_t* p) { return p[0] > 180 && p[1] > 160; };
    auto isPanel = [](const uint8_t* p) { return p[0] < 80 && p[1] < 80; };
    auto isDark = [](const uint8_t* p) { return int(p[0]) + p[1] + p[2] < 30; };
    EXPECT_TRUE(isInk(letterPixel(0, 0, 3))) << "the H's left stroke";
    EXPECT_TRUE(isInk(letterPixel(0, 2, 3))) << "the H's bar";
    EXPECT_TRUE(isPanel(letterPixel(0, 2, 1))) << "above the H's bar";
    EXPECT_TRUE(isInk(letterPixel(4, 1, 0))) << "the O's top";
    EXPECT_TRUE(isPanel(letterPixel(4, 2, 3))) << "inside the O";
    EXPECT_TRUE(isInk(letterPixel(1, 4, 6))) << "the E's bottom right";
    EXPECT_TRUE(isPanel(letterPixel(1, 4, 3))) << "right of the E's middle arm";
    // After two blanks and seven letters (200 units in) the 4's stem; the 2's bottom row ends the line.
    EXPECT_TRUE(isInk(Pixel(image, start.x + 200 + 16 + 4 + 12, start.y + 12)));
    EXPECT_TRUE(isInk(Pixel(image, start.x + 248 + 4 + 16, start.y + 4)));
    EXPECT_TRUE(isPanel(Pixel(image, start.x + 280, start.y + 16))) << "past the end of the line";
    EXPECT_TRUE(isDark(Pixel(image, 10, 50))) << "the clear colour around the panel";

    // Upwards, the letter pixel (c, r) of the G lies at (600 - 28 + 4 r, 60 + 4 c + 4).
    EXPECT_TRUE(isInk(Pixel(image, 600 - 28 + 12, 60 + 4)));
    EXPECT_TRUE(isDark(Pixel(image, 600 - 28 + 12, 60 + 8))) << "the gap in the G's fourth row";
    EXPECT_TRUE(isDark(Pixel(image, 600 + 4, 60 + 4))) << "nothing right of the start point";

    shaders->ReleaseShaderUser(fontShader);
}

} // namespace
