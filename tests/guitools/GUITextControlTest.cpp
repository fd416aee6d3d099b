// ctest-label: gui
// The text label on a font whose glyphs and blank are 10 units wide at size 10: text expressions with keys,
// literals and case prefixes, variables, line breaks, {rule} styles (malformed ones included), word wrap and
// the automatic font size; then the frame: alignment of the queued lines, style runs, the fader's alpha,
// and typewriter printing and erasing on the fake frame clock.
#include "guitools/GUITextControl.h"
#include "engine/gui/GUIFont.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUITextTool.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;
using GUITools::GUIControlDescription;
using GUITools::GUITextControl;

namespace {

constexpr int fontId = 2;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

class GUITextControlTest : public testing::Test {
protected:
    GUITextControlTest() {
        gui.data.Save("ui/texts/texts.xml", Bytes("<texts><title_key><en text=\"the title\"/></title_key>"
                                                  "<shout><en text=\"Hello Big World\"/></shout></texts>"));
        gui.data.Save("ui/texts/default_texts.xml", Bytes("<texts/>"));
        texts = std::make_unique<GUITools::GUITextTool>("en");
        std::vector<VbFormats::FontGlyph> glyphs;
        for (uint16_t code = 33; code < 127; ++code)
            glyphs.push_back(VelmoraTest::TestGlyph(code, 1));
        font = manager.GetFontManager()->CreateFont(fontId, gui.material, gui.SaveFont("label.fnt", glyphs));
        font->size = 10;
        gui.timers.frameTime = 0.125f;
    }

    // A label of the given size on the test font; shown and updated once when asked.
    std::unique_ptr<GUITextControl> Make(const Vec2& size = Vec2(400, 100)) {
        GUIControlDescription description;
        description.name = "label";
        auto label = std::make_unique<GUITextControl>(&keeper, nullptr, texts.get(), nullptr, description);
        label->size = size;
        label->fontName = "label";
        label->fontId = fontId;
        label->font = font;
        return label;
    }
    // The lines of a text laid out on a label of the given width.
    std::vector<std::wstring> Lines(const std::wstring& text, float width = 400, bool multiline = false) {
        std::unique_ptr<GUITextControl> label = Make(Vec2(width, 100));
        label->multiline = multiline;
        label->SetText(text);
        label->BuildLines();
        return label->lines;
    }
    // The texts the label queued in its last update; the layout step then hands them on.
    std::vector<GUIQueuedText> Queued(const GUITextControl& label) {
        std::vector<GUIQueuedText> queued;
        for (uint32_t i = 0; i < label.GetWindow()->GetTextCount(); ++i)
            queued.push_back(label.GetWindow()->GetQueuedText(i));
        manager.Render();
        return queued;
    }
    // Every per-line vector matches its line and names an existing style.
    static void ExpectConsistentLayout(const GUITextControl& label) {
        ASSERT_EQ(label.lineStyles.size(), label.lines.size());
        for (size_t i = 0; i < label.lines.size(); ++i) {
            ASSERT_EQ(label.lineStyles[i]->size(), label.lines[i].size());
            for (int32_t k : *label.lineStyles[i])
                EXPECT_TRUE(k >= 0 && size_t(k) <= label.styles.size());
        }
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    GameTools::DataKeeper keeper{"en"};
    std::unique_ptr<GUITools::GUITextTool> texts;
    GUIFont* font = nullptr; // the font manager's
};

} // namespace

TEST_F(GUITextControlTest, ExpressionsJoinKeysAndLiteralsWithCasePrefixes) {
    const struct {
        const char* expression;
        const wchar_t* text;
    } cases[] = {
        {"[fu]title_key+' - '+'Name'", L"The title - Name"},
        {"title_key", L"the title"},
        {"a++b", L"UNKNOWNUNKNOWN"}, // the empty part is skipped; each missing key says so
        {"'", L""},                  // a lone apostrophe quotes nothing
        {"\"double\"+'mixed\"", L"doublemixed"},
        {"[wu]'hello big world'", L"Hello Big World"},
        {"[wu]'hello  world'", L"Hello  world"}, // after two blanks the search has moved past the word
        {"[wu]'a b'", L"A B"},
        {"[wu]shout", L"Hello Big World"},
        {"[u]'abc'+[l]'DEF'", L"ABCdef"},
        {"[U]'abc'", L"ABC"},       // the prefix is compared lower-cased
        {"'x[u]y'", L"XY"},         // the prefix is removed wherever it stands
        {"'ab'[x]", L"ab"},         // an unknown group is removed and does nothing
        {"[u][l]'Ab'", L"unknown"}, // the last group is the prefix; the other leaves a key, missing
        {"+title_key+", L"the title"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        std::unique_ptr<GUITextControl> label = Make();
        label->SetTextKey(c.expression);
        EXPECT_EQ(label->text, c.text);
        EXPECT_EQ(label->textExpression, c.expression);
        EXPECT_TRUE(label->layoutDirty);
    }
}

TEST_F(GUITextControlTest, LiteralTextsAndVariables) {
    std::unique_ptr<GUITextControl> label = Make();
    label->SetText(L"");
    EXPECT_EQ(label->textExpression, "''");
    label->BuildLines();
    EXPECT_TRUE(label->lines.empty());
    EXPECT_EQ(label->characterCount, 0u);

    label->SetText(L"Hi %NAME%, %OTHER% %NAME%");
    label->SetVariable(L"NAME", L"Ann");
    label->SetVariable(L"NAME", L"Bob|Cy");
    label->BuildLines();
    EXPECT_EQ(label->variableNames.size(), 1u);
    // A value may carry line breaks; an unset variable stays as written.
    EXPECT_EQ(label->lines, (std::vector<std::wstring>{L"Hi Bob", L"Cy, %OTHER% Bob", L"Cy"}));
    EXPECT_EQ(label->characterCount, 6u + 15u + 2u);
}

TEST_F(GUITextControlTest, LineBreaksAndWordWrap) {
    const struct {
        const wchar_t* text;
        float width;
        bool multiline;
        std::vector<std::wstring> lines;
    } cases[] = {
        {L"A|B", 400, false, {L"A", L"B"}},
        {L"A\nB", 400, false, {L"A", L"B"}},
        {L"A\n\nB", 400, false, {L"A", L"", L"B"}},
        {L"A\n", 400, false, {L"A"}},
        {L"A\r\nB", 400, false, {L"A", L"B"}},
        {L" A |  B  ", 400, false, {L" A ", L"B"}}, // only the last line is trimmed
        {L"aa bb cc", 50, true, {L"aa bb", L"cc"}},
        {L"aa bb cc", 50, false, {L"aa bb cc"}},
        {L"abcdefgh ij", 50, true, {L"abcdefgh", L"ij"}}, // a word wider than the label overflows alone
        {L"a  bbbbbb", 50, true, {L"a", L"bbbbbb"}},
        {L"  ", 50, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(Lines(c.text, c.width, c.multiline), c.lines);
    }
}

TEST_F(GUITextControlTest, RulesStyleTheirTextAndMalformedOnesStayPlain) {
    const struct {
        const wchar_t* text;
        std::wstring line;
        std::vector<int32_t> styles;
        size_t styleCount;
    } cases[] = {
        {L"{rule color(1 0 0 1)} red} plain", L"red plain", {1, 1, 1, 0, 0, 0, 0, 0, 0}, 1},
        {L"a {rule size(2)} b} c {rule offset(3 4)} d}", L"a b c d", {0, 0, 1, 0, 0, 0, 2}, 2},
        {L"{rule color(1 0 0 1)}x}", L"", {}, 1}, // the separator is the styled text's first character
        // Malformed rules: the rest of the text stays as it is, nothing is read outside it.
        {L"x {rule color(1 0 0 1) red", L"x {rule color(1 0 0 1) red", {0}, 0},
        {L"a}b {rule color(1 0 0 1)} c}", L"a}b {rule color(1 0 0 1)} c}", {0}, 0},
        {L"{rule color(1 0 0 1)}}", L"{rule color(1 0 0 1)}}", {0}, 0},
        {L"{rule} x", L"{rule} x", {0}, 0},
        {L"{rule} ab} {rule", L"ab {rule", {1, 1, 0, 0, 0, 0, 0, 0}, 1},
        {L"{rule{rule}} x}}", L"{rule{rule}} x}}", {0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        std::unique_ptr<GUITextControl> label = Make();
        label->SetText(c.text);
        label->BuildLines();
        ExpectConsistentLayout(*label);
        EXPECT_EQ(label->styles.size(), c.styleCount);
        if (c.line.empty()) {
            EXPECT_TRUE(label->lines.empty());
            continue;
        }
        ASSERT_EQ(label->lines.size(), 1u);
        EXPECT_EQ(label->lines[0], c.line);
        if (c.styles.size() > 1) {
            EXPECT_EQ(*label->lineStyles[0], c.styles);
        }
    }

    std::unique_ptr<GUITextControl> label = Make();
    label->SetText(L"{rule color(1 0 0 1) offset(3 4) size(1.5) font(missing)} r} x");
    label->BuildLines();
    ASSERT_EQ(label->styles.size(), 1u);
    const GUITools::GUITextStyle& style = *label->styles[0];
    EXPECT_TRUE(style.hasColor && style.hasOffset && style.hasSize && style.hasFont);
    EXPECT_EQ(style.color, Vec4(1, 0, 0, 1));
    EXPECT_EQ(style.offset, Vec2(3, 4));
    EXPECT_FLOAT_EQ(style.sizeFactor, 1.5f);
    EXPECT_EQ(style.fontId, -1);

    // A name the player typed is substituted first and shown as typed.
    label->SetText(L"Hi %NAME%!");
    label->SetVariable(L"NAME", L"{rule}{");
    label->BuildLines();
    ASSERT_EQ(label->lines.size(), 1u);
    EXPECT_EQ(label->lines[0], L"Hi {rule}{!");
}

TEST_F(GUITextControlTest, AutomaticFontSizeShrinksUntilTheTextFits) {
    const struct {
        const char* name;
        float fontSize, width, height;
        float expected;
    } cases[] = {
        {"fits at once", 20, 400, 100, 20},
        {"too high until 14", 20, 400, 14, 14},
        {"too wide until 14", 20, 0, 100, 14},
        {"never fits: the first size not above 8", 20, 1, 1, 8},
        {"never fits from 8.5", 8.5f, 1, 1, 7.5f},
        {"a huge size still ends", 1e9f, 1, 1, 8},
        {"a size too large to fall by one ends", 1e30f, 400, 1e31f, 1e30f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const float width = c.width > 0 ? c.width : font->MeasureText(L"abcd", 0, 14).x;
        std::unique_ptr<GUITextControl> label = Make(Vec2(width, c.height));
        label->SetText(L"abcd");
        label->fontSize = c.fontSize;
        label->autoFontSize = true;
        label->BuildLines();
        EXPECT_FLOAT_EQ(label->currentFontSize, c.expected);
        ASSERT_EQ(label->lines.size(), 1u);
    }
    // Without the automatic size the label keeps its size; 0 or less is the font's own.
    std::unique_ptr<GUITextControl> label = Make(Vec2(1, 1));
    label->SetText(L"abcd");
    label->BuildLines();
    EXPECT_FLOAT_EQ(label->currentFontSize, 10);
    label->fontSize = 30;
    label->BuildLines();
    EXPECT_FLOAT_EQ(label->currentFontSize, 30);
}

TEST_F(GUITextControlTest, AlignmentWordsGiveTheFlags) {
    const struct {
        const char* word;
        int32_t horizontal, vertical;
    } cases[] = {
        {"left", AlignLeft, AlignCentreVertical},
        {"upper_left_top", AlignLeft, AlignTop},
        {"right", AlignRight, AlignCentreVertical},
        {"leftright", AlignLeft, AlignCentreVertical},
        {"centre", AlignCentreHorizontal, AlignCentreVertical},
        {"Left", AlignCentreHorizontal, AlignCentreVertical},
        {"bottom", AlignCentreHorizontal, AlignBottom},
        {"topbottom", AlignCentreHorizontal, AlignTop},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GUITextControl::HorizontalFlag(c.word), c.horizontal) << c.word;
        EXPECT_EQ(GUITextControl::VerticalFlag(c.word), c.vertical) << c.word;
    }
}

TEST_F(GUITextControlTest, LinesArePlacedByTheVerticalAlignment) {
    const struct {
        const char* alignment;
        const wchar_t* text;
        std::vector<float> y; // of each queued line, top first
    } cases[] = {
        {"top", L"ab", {80}},        {"bottom", L"ab", {0}},       {"top", L"a|b|c", {80, 55, 30}},
        {"bottom", L"a|b", {25, 0}}, {"centre", L"a|b", {50, 25}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.alignment) + " " + std::to_string(c.y.size()));
        std::unique_ptr<GUITextControl> label = Make(Vec2(200, 100));
        label->alignmentV = c.alignment;
        label->fontSize = 20;
        label->lineSpace = 5;
        label->SetText(c.text);
        label->Show(true, true);
        label->Update();
        const std::vector<GUIQueuedText> queued = Queued(*label);
        ASSERT_EQ(queued.size(), c.y.size());
        for (size_t i = 0; i < queued.size(); ++i) {
            EXPECT_FLOAT_EQ(queued[i].position.y, c.y[i]) << i;
            EXPECT_FLOAT_EQ(queued[i].position.x, 0) << i;
            EXPECT_FLOAT_EQ(queued[i].fontSize, 20);
            EXPECT_EQ(queued[i].mode, 0);
        }
    }
}

TEST_F(GUITextControlTest, StyleRunsStartWhereTheirCharactersStandAndFade) {
    std::unique_ptr<GUITextControl> label = Make();
    label->alignmentV = "bottom";
    label->SetText(L"a {rule color(1 0 0 1) offset(0 3)} bb} c");
    label->fader = "f";
    label->min = label->max = 0.5f;
    label->Show(true, true);
    label->Update();
    const std::vector<GUIQueuedText> queued = Queued(*label);
    ASSERT_EQ(queued.size(), 3u);
    const wchar_t* texts[] = {L"a ", L"bb", L" c"};
    const Vec2 positions[] = {Vec2(0, 0), Vec2(20, 3), Vec2(40, 0)};
    const Vec4 colors[] = {Vec4(1, 1, 1, 0.5f), Vec4(1, 0, 0, 0.5f), Vec4(1, 1, 1, 0.5f)};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(queued[i].text, texts[i]);
        EXPECT_EQ(queued[i].position, positions[i]) << i;
        EXPECT_EQ(queued[i].color, colors[i]) << i;
        EXPECT_EQ(queued[i].fontId, fontId);
    }
}

namespace {

// What a printing label shows after an update: the queued texts of its lines, joined.
std::wstring Shown(const std::vector<GUIQueuedText>& queued) {
    std::wstring shown;
    for (const GUIQueuedText& text : queued)
        shown += text.text;
    return shown;
}

} // namespace

TEST_F(GUITextControlTest, PrintingTypesAtItsSpeedWithinTheLongestTime) {
    const struct {
        float speed, maxTime;
        int updates; // of 0.5 s until every character is shown
    } cases[] = {
        {10, 100000, 10},
        {10, 2, 4},
    };
    gui.timers.frameTime = 0.5f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxTime);
        std::unique_ptr<GUITextControl> label = Make(Vec2(800, 100));
        label->printingMode = true;
        label->printingSpeed = c.speed;
        label->maxPrintingTime = c.maxTime;
        label->SetText(std::wstring(50, L'x'));
        label->Show(true, true);
        size_t previous = 0;
        for (int i = 1; i <= c.updates; ++i) {
            label->Update();
            const size_t shown = Shown(Queued(*label)).size();
            EXPECT_GT(shown, previous) << i;
            EXPECT_EQ(shown == 50, i == c.updates) << i;
            EXPECT_FALSE(label->IsPrintingFinished()) << i;
            previous = shown;
        }
        label->Update();
        EXPECT_TRUE(label->IsPrintingFinished());
    }
}

TEST_F(GUITextControlTest, ANewTextIsErasedFirstAndHidingRestartsTheTyping) {
    // One character per update.
    std::unique_ptr<GUITextControl> label = Make();
    label->printingMode = true;
    label->printingSpeed = 8;
    label->SetText(L"abc");
    label->Show(true, true);
    std::vector<std::wstring> shown;
    for (int i = 0; i < 4; ++i) {
        label->Update();
        shown.push_back(Shown(Queued(*label)));
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"a", L"ab", L"abc", L"abc"}));
    EXPECT_TRUE(label->IsPrintingFinished());

    label->SetText(L"xy");
    EXPECT_FALSE(label->IsPrintingFinished());
    shown.clear();
    for (int i = 0; i < 7; ++i) {
        label->Update();
        shown.push_back(Shown(Queued(*label)));
    }
    // Erased at the same rate, then typed again from its first character.
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"ab", L"a", L"", L"x", L"xy", L"xy", L"xy"}));
    EXPECT_TRUE(label->IsPrintingFinished());

    // Hidden, the label forgets how far it got; shown again it types from the first character.
    label->Show(false, false);
    label->Update();
    EXPECT_FALSE(label->IsPrintingFinished());
    label->Show(true, true);
    label->Update();
    EXPECT_EQ(Shown(Queued(*label)), L"x");
}

TEST_F(GUITextControlTest, PrintingThatCouldNeverFinishPrintsAtOnce) {
    const struct { float speed, maxTime; } cases[] = {{0, 100000}, {-4, 100000}, {10, 0}, {NAN, 100000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.speed) + " " + std::to_string(c.maxTime));
        std::unique_ptr<GUITextControl> label = Make();
        label->printingMode = true;
        label->printingSpeed = c.speed;
        label->maxPrintingTime = c.maxTime;
        label->SetText(L"abc");
        label->Show(true, true);
        label->Update();
        EXPECT_EQ(Shown(Queued(*label)), L"abc");
        EXPECT_TRUE(label->IsPrintingFinished());
    }
    // Without printing mode a label is always finished.
    std::unique_ptr<GUITextControl> label = Make();
    label->SetText(L"abc");
    EXPECT_TRUE(label->IsPrintingFinished());
    label->Show(true, true);
    label->Update();
    EXPECT_TRUE(label->IsPrintingFinished());
}
