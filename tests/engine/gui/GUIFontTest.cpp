// ctest-label: gui
// Bitmap fonts: reading the glyph table (and refusing broken files without losing the font), the quads a
// line of text becomes, measuring, the per-frame batch limit and case folding.
#include "engine/gui/GUIFont.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tools/formats/FormatError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <memory>

using namespace OrvexEngine;
using VelmoraTest::TestGlyph;

namespace {

constexpr float pi = 3.14159265f;

class GUIFontTest : public testing::Test {
protected:
    std::unique_ptr<GUIFont> Load(const std::string& name) {
        return std::make_unique<GUIFont>(gui.camera, gui.material, name);
    }
    // The standard test font: 'a' (width 0.5), 'b' (width 1.0), 'A' (0.75), '1' (0.6).
    std::unique_ptr<GUIFont> Standard() {
        return Load(gui.SaveFont("standard.fnt", {TestGlyph('a', 0.5f), TestGlyph('b', 1.0f),
                                                  TestGlyph('A', 0.75f), TestGlyph('1', 0.6f)}));
    }
    static const ColoredVertex* Vertices(const GUIFont& font) {
        return reinterpret_cast<const ColoredVertex*>(font.GetModel()->vertexBuffer->GetData());
    }
    static void ExpectNear(const Vec3& p, float x, float y) {
        EXPECT_NEAR(p.x, x, 1e-4f);
        EXPECT_NEAR(p.y, y, 1e-4f);
    }

    VelmoraTest::GuiServices gui;
};

TEST_F(GUIFontTest, LoadsGlyphTableAndBuildsTheModel) {
    auto font = Standard();
    EXPECT_TRUE(font->HasGlyph(L'a'));
    EXPECT_TRUE(font->HasGlyph(L'A'));
    EXPECT_FALSE(font->HasGlyph(L'c'));
    EXPECT_FLOAT_EQ(font->GetMaxGlyphWidth(), 1.0f);
    const GUIFontGlyph* a = font->Glyph(L'a');
    ASSERT_NE(a, nullptr);
    EXPECT_FLOAT_EQ(a->texturePosition.x, 0.097f);
    EXPECT_FLOAT_EQ(a->textureSize.y, 0.125f);

    Model* model = font->GetModel();
    EXPECT_EQ(model->name, "font_model");
    EXPECT_EQ(model->GetFlags(), 0x248C29u);
    EXPECT_FLOAT_EQ(font->GetDepth(), -9.0f);
    EXPECT_EQ(model->vertexBuffer->GetVertexCount(), 4096u);
    const IndexBuffer* indices = model->indexBuffer;
    ASSERT_EQ(indices->GetCapacity(), 6144u);
    EXPECT_EQ(indices->GetIndexCount(), 0u);
    const uint32_t quad7[6] = {28, 29, 30, 30, 29, 31};
    for (uint32_t i = 0; i < 6; ++i)
        EXPECT_EQ(indices->GetIndex(42 + i), quad7[i]);
    EXPECT_EQ(indices->GetIndex(6143), 4095u);
    EXPECT_FALSE(gui.log.Contains("Error"));
}

// Every broken file is logged as an error, and the font stays usable with what was read before the fault.
TEST_F(GUIFontTest, BrokenFilesAreLoggedAndKeepTheFontUsable) {
    struct Case {
        const char* what;
        VbFormats::FontFaults faults;
        std::string message;
        int quads; // of "abc" drawn afterwards
    };
    const std::string format = "Incorrect \"fonts\\broken.fnt\" file format";
    const std::string version = "Incorrect \"fonts\\broken.fnt\" format version, current is 201";
    const std::vector<Case> cases = {
        {"size one too large", {false, "OEFNT", 201, 1, 0, 0}, format, 0},
        {"size one too small", {false, "OEFNT", 201, -1, 0, 0}, format, 0},
        {"wrong magic", {false, "OEFNX", 201, 0, 0, 0}, format, 0},
        {"version 200", {false, "OEFNT", 200, 0, 0, 0}, version, 0},
        {"version 202", {false, "OEFNT", 202, 0, 0, 0}, version, 0},
        {"more records claimed than stored",
         {false, "OEFNT", 201, 0, 1, 0},
         "Failed to read 2 bytes from",
         2},
        {"cut inside the last record", {false, "OEFNT", 201, 0, 0, 10}, "Failed to read 4 bytes from", 1},
        {"shorter than the header", {false, "OEFNT", 201, 0, 0, 50}, "Failed to read 13 bytes from", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gui.log.Manager().ClearEntries();
        gui.log.Manager().SetSpacing(false);
        const std::string name =
            gui.SaveFont("broken.fnt", {TestGlyph('a', 0.5f), TestGlyph('b', 1.0f)}, c.faults);
        auto font = Load(name);
        ASSERT_EQ(gui.log.Texts().size(), 1u);
        EXPECT_EQ(gui.log.Texts()[0].rfind("Error: " + c.message, 0), 0u) << gui.log.Texts()[0];
        EXPECT_EQ(font->HasGlyph(L'a'), c.quads > 0);
        EXPECT_FALSE(font->HasGlyph(L'c'));
        // Drawing and measuring with what is there works.
        font->DrawText(Vec2(0, 0), 0, Vec4(1, 1, 1, 1), L"abc");
        EXPECT_EQ(font->GetQuadCount(), c.quads);
        font->Flush();
    }
    auto missing = Load("fonts\\absent.fnt");
    EXPECT_TRUE(gui.log.Contains("Failed to open"));
    EXPECT_FALSE(missing->HasGlyph(L'a'));
    EXPECT_GT(missing->MeasureText(L"ab", 0, -1).x, 0.0f);
}

TEST_F(GUIFontTest, RepeatedCharacterKeepsItsFirstRecord) {
    VbFormats::FontFaults duplicates;
    duplicates.skipChecks = true;
    auto font = Load(gui.SaveFont(
        "twice.fnt", {TestGlyph('a', 0.5f), TestGlyph('b', 0.8f), TestGlyph('a', 2.0f)}, duplicates));
    ASSERT_NE(font->Glyph(L'a'), nullptr);
    EXPECT_FLOAT_EQ(font->Glyph(L'a')->width, 0.5f);
    EXPECT_FLOAT_EQ(font->GetMaxGlyphWidth(), 0.8f);
    EXPECT_THROW(VbFormats::FontWriter::Write({TestGlyph('a', 0.5f), TestGlyph('a', 1)}),
                 VbFormats::FormatError);
}

TEST_F(GUIFontTest, GlyphQuadsFollowTheTextDirection) {
    auto font = Standard();
    font->size = 20;
    font->space = 0.4f;
    font->shift = 1.5f;
    const Vec4 red(1, 0, 0, 0.5f);
    font->DrawText(Vec2(100, 50), 0, red, L"a b");
    ASSERT_EQ(font->GetQuadCount(), 2);
    EXPECT_EQ(font->GetModel()->indexBuffer->GetIndexCount(), 12u);
    const ColoredVertex* v = Vertices(*font);
    // 'a' from (100, 50) to (110, 70): upper left, lower left, upper right, lower right.
    ExpectNear(v[0].position, 100, 70);
    ExpectNear(v[1].position, 100, 50);
    ExpectNear(v[2].position, 110, 70);
    ExpectNear(v[3].position, 110, 50);
    EXPECT_FLOAT_EQ(v[0].u, 0.097f);
    EXPECT_FLOAT_EQ(v[0].v, 0.375f);
    EXPECT_FLOAT_EQ(v[3].u, 0.147f);
    EXPECT_FLOAT_EQ(v[3].v, 0.25f);
    EXPECT_EQ(v[0].color, font->GetModel()->vertexBuffer->PackColor(red));
    // The blank has no glyph: 'b' starts at 20 * 0.5 * 1.5 + 20 * 0.4 (no shift on the blank).
    ExpectNear(v[5].position, 100 + 15 + 8, 50);
    ExpectNear(v[6].position, 100 + 15 + 8 + 20, 70);

    // Rotated by a quarter turn the quad at P spans P .. P + (-H, W).
    font->Flush();
    font->DrawText(Vec2(10, 10), pi / 2, red, L"b");
    v = Vertices(*font);
    ExpectNear(v[1].position, 10, 10);
    ExpectNear(v[3].position, 10, 30);
    ExpectNear(v[0].position, -10, 10);
    ExpectNear(v[2].position, -10, 30);
}

TEST_F(GUIFontTest, FlushEndsTheBatchAndTheNextFrameStartsAtQuadZero) {
    auto font = Standard();
    font->DrawText(Vec2(0, 0), 0, Vec4(1, 1, 1, 1), L"ab");
    EXPECT_TRUE(font->GetModel()->vertexBuffer->IsLocked());
    font->Flush();
    EXPECT_FALSE(font->GetModel()->vertexBuffer->IsLocked());
    EXPECT_EQ(font->GetQuadCount(), 0);
    EXPECT_EQ(font->GetModel()->indexBuffer->GetIndexCount(), 12u) << "the frame's quads stay drawable";
    font->DrawText(Vec2(5, 0), 0, Vec4(1, 1, 1, 1), L"b");
    EXPECT_EQ(font->GetModel()->indexBuffer->GetIndexCount(), 6u);
    ExpectNear(Vertices(*font)[1].position, 5, 0);
    font->Flush();
    font->Flush();
    EXPECT_EQ(font->GetModel()->indexBuffer->GetIndexCount(), 0u) << "an empty frame draws nothing";
}

TEST_F(GUIFontTest, MonospaceCentresGlyphsInCells) {
    auto font = Load(gui.SaveFont("mono.fnt", {TestGlyph('a', 0.5f), TestGlyph('b', 1.0f)}));
    font->monospace = true;
    font->size = 10;
    font->shift = 2;
    font->DrawText(Vec2(0, 0), 0, Vec4(1, 1, 1, 1), L"acb");
    ASSERT_EQ(font->GetQuadCount(), 2);
    const ColoredVertex* v = Vertices(*font);
    // Cells are 1.0 * 10 * 2 = 20 wide; 'a' is inset by 0.25 * 10 * 2, the missing 'c' takes one cell.
    ExpectNear(v[1].position, 5, 0);
    ExpectNear(v[5].position, 40, 0);
    // Measured boxes are glyph widths without the shift: from the inset 'a' (5) to the end of 'b' (40 + 10).
    EXPECT_NEAR(font->MeasureText(L"acb", 0, -1).x, 45.0f, 1e-4f);
}

TEST_F(GUIFontTest, MoreThan1024GlyphsInAFrameAreDropped) {
    auto font = Standard();
    font->DrawText(Vec2(0, 0), 0, Vec4(1, 1, 1, 1), std::wstring(1100, L'a'));
    EXPECT_EQ(font->GetQuadCount(), 1024);
    EXPECT_EQ(font->GetModel()->indexBuffer->GetIndexCount(), 6144u);
    ExpectNear(Vertices(*font)[4095].position, 1023 * 0.5f + 0.5f, 0);
}

TEST_F(GUIFontTest, MeasureCountsBlanksAndMissingCharacters) {
    auto font = Standard();
    font->size = 10;
    font->space = 0.5f;
    font->virtualSizeRatio = 2;
    const Vec2 empty = font->MeasureText(L"", 0, -1);
    EXPECT_EQ(empty.x, 0.0f);
    EXPECT_EQ(empty.y, 0.0f);
    const Vec2 blank = font->MeasureText(L" ", 0, -1);
    EXPECT_FLOAT_EQ(blank.x, 5.0f);
    EXPECT_FLOAT_EQ(blank.y, 20.0f);
    EXPECT_FLOAT_EQ(font->MeasureText(L"ab", 0, -1).x, 15.0f);
    // A size argument scales the advances only: 'a' advances 20 * 0.5, 'b' is still 10 wide.
    EXPECT_FLOAT_EQ(font->MeasureText(L"ab", 0, 20).x, 20.0f);
    const Vec2 upright = font->MeasureText(L"ab", pi / 2, -1);
    EXPECT_NEAR(upright.x, 10.0f, 1e-4f);
    EXPECT_NEAR(upright.y, 30.0f, 1e-4f);
}

// Characters beyond the 16-bit table (wchar_t holds them here) are missing glyphs, never an index past it.
TEST_F(GUIFontTest, CharactersBeyondTheTableAreMissing) {
    auto font = Standard();
    font->space = 0.5f;
    const std::wstring text = {L'a', wchar_t(0x1F600), wchar_t(0x10061), L'b'};
    EXPECT_FALSE(font->HasGlyph(wchar_t(0x10061)));
    font->DrawText(Vec2(0, 0), 0, Vec4(1, 1, 1, 1), text);
    EXPECT_EQ(font->GetQuadCount(), 2);
    ExpectNear(Vertices(*font)[5].position, 1.5f, 0);
}

TEST_F(GUIFontTest, CaseFoldingDrawsOneCaseWithTheOthersGlyphs) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    const std::string name = gui.SaveFont("cased.fnt", {TestGlyph('A', 0.75f), TestGlyph('b', 1.0f),
                                                        TestGlyph(0x0430, 0.6f), TestGlyph('1', 0.6f)});
    auto upper = Load(name);
    upper->CopyUpperCaseGlyphs();
    ASSERT_TRUE(upper->HasGlyph(L'a'));
    EXPECT_FLOAT_EQ(upper->Glyph(L'a')->width, 0.75f);
    EXPECT_NE(upper->Glyph(L'a'), upper->Glyph(L'A')) << "a copy of its own";
    EXPECT_FALSE(upper->HasGlyph(L'B')) << "only lower-case letters take upper-case glyphs";
    EXPECT_TRUE(upper->HasGlyph(L'1'));
    EXPECT_FALSE(upper->HasGlyph(wchar_t(0x0410)));

    auto lower = Load(name);
    lower->CopyLowerCaseGlyphs();
    EXPECT_FLOAT_EQ(lower->Glyph(L'B')->width, 1.0f);
    EXPECT_FLOAT_EQ(lower->Glyph(wchar_t(0x0410))->width, 0.6f) << "Cyrillic A takes the glyph of a";
    EXPECT_FLOAT_EQ(lower->Glyph(L'1')->width, 0.6f);
    EXPECT_FALSE(lower->HasGlyph(L'a'));
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST_F(GUIFontTest, BatchFontSharesTheTableAndFollowsTheSourceSize) {
    auto loaded = Standard();
    loaded->size = 8;
    loaded->monospace = true;
    {
        GUIFont batch(loaded.get());
        EXPECT_EQ(batch.GetSource(), loaded.get());
        EXPECT_EQ(batch.Glyph(L'a'), loaded->Glyph(L'a'));
        EXPECT_TRUE(batch.monospace);
        EXPECT_FLOAT_EQ(batch.GetMaxGlyphWidth(), 1.0f);
        EXPECT_FLOAT_EQ(batch.GetDepth(), -9.0f);
        EXPECT_NE(batch.GetModel(), loaded->GetModel());
        EXPECT_EQ(batch.GetModel()->indexBuffer->GetIndex(11), 7u) << "the index pattern comes along";
        loaded->size = 30;
        loaded->monospace = false;
        batch.DrawText(Vec2(0, 0), 0, Vec4(1, 1, 1, 1), L"b");
        EXPECT_FLOAT_EQ(batch.size, 30.0f);
        ExpectNear(Vertices(batch)[2].position, 30, 30);
        batch.Flush();
    }
    EXPECT_EQ(loaded->GetQuadCount(), 0);
}

} // namespace
