// ctest-label: console
// The console on a font whose glyphs are all 10 units wide over the 800 x 600 GUI: sliding in and out on
// the frame time, the toggle key only while enabled, command lines and their answers, Tab completion, the
// history, page scroll-back, wrapping (an unbroken line, a character wider than the screen), the log's
// colours, and a console whose font is not loaded.
#include "engine/core/Console.h"
#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFont.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

constexpr int fontId = 2;
constexpr float glyph = 10; // every glyph's width at the font's size

// Key presses set by the test instead of read from a device.
class TestKeys final : public Controls {
public:
    void Press(const std::string& name) { keysPressed[name] = true; }
};

const Vec4 white(1, 1, 1, 1), blue(0, 0, 1, 1), green(0, 1, 0, 1), red(1, 0, 0, 1), grey(0.5f, 0.5f, 0.5f, 1);

class ConsoleTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
        Window::Instance(window.get());
        keys = std::make_unique<TestKeys>();
        Controls::Instance(keys.get());
        manager = std::make_unique<VelmoraTest::TestGuiManager>();
        std::vector<VbFormats::FontGlyph> glyphs;
        for (uint16_t code = 32; code < 127; ++code)
            glyphs.push_back(VelmoraTest::TestGlyph(code, 1));
        glyphs.push_back(VelmoraTest::TestGlyph(0x416, 100)); // a Cyrillic letter wider than the screen
        GUIFont* font =
            manager->GetFontManager()->CreateFont(fontId, gui.material, gui.SaveFont("console.fnt", glyphs));
        font->size = glyph;
        font->space = 1;
    }
    void TearDown() override {
        console.reset();
        manager.reset();
        keys.reset();
        window.reset();
        platform::sim::Reset();
    }
    void Make(int font = fontId) {
        console = std::make_unique<Console>("Velmora Ball 1.00", ShaderDescriptor(), font, L'_', L']', L'^',
                                            "~", 0.95f, 308, 1000);
        gui.log.Manager().ClearEntries(); // as the engine does after the console's step
    }
    // One frame of the console's step: the previous frame's queued texts drawn and forgotten, the key event
    // (a virtual-key code, if any), the frame time, then the log's entries discarded as the engine does.
    void Frame(int key = -1, float dt = 0.016f) {
        manager->Render();
        window->keyEventPending = key >= 0;
        window->keyEventIsChar = false;
        window->keyEventCode = static_cast<uint16_t>(key);
        gui.timers.frameTime = dt;
        console->Update();
        gui.log.Manager().ClearEntries();
        keys->ResetFrame();
    }
    void OpenFully() {
        console->Open();
        while (console->GetState() != ConsoleOpen)
            Frame();
    }
    // Types a line into the edit box and presses Enter.
    void Enter(const std::wstring& line) {
        console->GetEditBox()->SetText(line);
        Frame(Console::keyEnter);
    }
    // The pieces added since `from`, as (colour, text).
    std::vector<std::pair<Vec4, std::wstring>> PiecesSince(size_t from) const {
        std::vector<std::pair<Vec4, std::wstring>> pieces;
        const auto& lines = console->GetLines();
        for (size_t i = from; i < lines.size(); ++i)
            pieces.emplace_back(lines[i].color, lines[i].text);
        return pieces;
    }

    VelmoraTest::GuiServices gui;
    std::unique_ptr<Window> window;
    std::unique_ptr<TestKeys> keys;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager;
    std::unique_ptr<Console> console;
};

using Pieces = std::vector<std::pair<Vec4, std::wstring>>;

} // namespace

TEST_F(ConsoleTest, SlidesInAndOutOnTheFrameTimeAndTheToggleKeyWorksOnlyWhileEnabled) {
    Make();
    GUIWindow* w = console->GetWindow();
    EXPECT_EQ(console->GetState(), ConsoleClosed);
    EXPECT_FALSE(w->visible);
    EXPECT_EQ(w->position, Vec2(0, 600));
    EXPECT_EQ(w->size, Vec2(800, 600));

    // 1000 units a second at 16 ms a frame: open after 20 frames (0.32 s), placed exactly at H - size.
    keys->Press("~");
    Frame();
    EXPECT_EQ(console->GetState(), ConsoleOpening);
    EXPECT_TRUE(w->visible);
    EXPECT_FLOAT_EQ(w->position.y, 584);
    int frames = 1;
    while (console->GetState() == ConsoleOpening && frames < 100) {
        EXPECT_FALSE(console->GetEditBox()->active) << "typing starts once the console is open";
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 20);
    EXPECT_EQ(console->GetState(), ConsoleOpen);
    EXPECT_FLOAT_EQ(w->position.y, 292);
    EXPECT_TRUE(console->GetEditBox()->active);
    EXPECT_NEAR(w->GetColor().w, 0.95f, 1 / 255.0f);

    // A frame that jumps past the size still ends at H - size; a changed size shows at once.
    Config::Instance()->SetValue("ui_console_size", "100");
    Frame();
    EXPECT_FLOAT_EQ(w->position.y, 500);

    // Disabled, the toggle key does nothing and an open console slides out.
    console->SetEnabled(false);
    EXPECT_EQ(console->GetState(), ConsoleClosing);
    EXPECT_FALSE(console->GetEditBox()->active);
    Frame(-1, 0.1f);
    keys->Press("~");
    Frame(-1, 0.1f);
    EXPECT_EQ(console->GetState(), ConsoleClosed);
    EXPECT_FALSE(w->visible);
    EXPECT_FLOAT_EQ(w->position.y, 600);
    keys->Press("~");
    Frame();
    EXPECT_EQ(console->GetState(), ConsoleClosed);
    console->SetEnabled(true);
    keys->Press("~");
    Frame(-1, 0.1f);
    Frame(-1, 0.1f);
    EXPECT_EQ(console->GetState(), ConsoleOpen);
}

TEST_F(ConsoleTest, CommandLinesAreEchoedAndAnswered) {
    int32_t readOnly = 7;
    Config::Instance()->RegisterVariable("g_fixed", ConfigVariableInt, true, false, &readOnly, "7", false);
    Make();
    OpenFully();
    const std::wstring speaker = Console::speakerName;
    const struct {
        const wchar_t* line;
        Pieces pieces;
    } cases[] = {
        {L"v_mode",
         {{blue, L"]\\v_mode\n"}, {white, L"\"v_mode\" is \"800x600x32\", default is \"800x600x32\"\n"}}},
        {L"say hello",
         {{blue, L"]\\say hello\n"}, {white, speaker + L": \""}, {green, L"hello"}, {white, L"\"\n"}}},
        {L"say", {{blue, L"]\\say\n"}}},
        {L"foo 1", {{blue, L"]\\foo 1\n"}, {white, L"Unknown command \"foo\"\n"}}},
        {L"g_fixed 3", {{blue, L"]\\g_fixed 3\n"}, {white, L"\"g_fixed\" is read only\n"}}},
        {L"\\", {}},
        {L"   ", {}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << ToMultiByte(c.line) << "'");
        const size_t before = console->GetLines().size();
        const size_t historyBefore = console->GetHistory().size();
        Enter(c.line);
        EXPECT_EQ(PiecesSince(before), c.pieces);
        EXPECT_EQ(console->GetHistory().size(), historyBefore + (c.pieces.empty() ? 0 : 1));
        if (!c.pieces.empty()) {
            EXPECT_EQ(console->GetEditBox()->text, L"");
        }
    }
    // A wrong value for a variable sets what the value converts to and answers nothing more.
    const size_t before = console->GetLines().size();
    Enter(L"v_gamma abc");
    EXPECT_EQ(PiecesSince(before), (Pieces{{blue, L"]\\v_gamma abc\n"}}));
    EXPECT_EQ(Config::Instance()->GetValueText("v_gamma"), "0.000000");
}

TEST_F(ConsoleTest, TabCompletesNamesAndTheHistoryStepsBackAndForth) {
    Make();
    OpenFully();
    const struct {
        const wchar_t* typed;
        const wchar_t* result;
        Pieces listed;
    } cases[] = {
        {L"sc_take_screenshot_",
         L"\\sc_take_screenshot_",
         {{blue, L"\\sc_take_screenshot_\n"},
          {white, L"    \\sc_take_screenshot_format\n"},
          {white, L"    \\sc_take_screenshot_jpg\n"},
          {white, L"    \\sc_take_screenshot_tga\n"}}},
        {L"reset_c", L"\\reset_config ", {}},
        {L"RESET_C", L"\\reset_config ", {}},
        {L"\\v_f", L"\\v_fullscreen ", {}},
        {L"zzz", L"\\zzz", {}},
        {L"r_show_f",
         L"\\r_show_faces_",
         {{blue, L"\\r_show_f\n"},
          {white, L"    \\r_show_faces_edges\n"},
          {white, L"    \\r_show_faces_normals\n"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToMultiByte(c.typed));
        const size_t before = console->GetLines().size();
        console->GetEditBox()->SetText(c.typed);
        Frame(Console::keyTab);
        EXPECT_EQ(console->GetEditBox()->text, c.result);
        EXPECT_EQ(PiecesSince(before), c.listed);
    }

    // History: Up on an empty history does nothing; then the lines as executed, each with its "\".
    console->GetEditBox()->SetText(L"typed");
    Frame(Console::keyUp);
    EXPECT_EQ(console->GetEditBox()->text, L"typed");
    Enter(L"v_vsync");
    Enter(L"\\v_gamma");
    const std::vector<std::pair<int, std::wstring>> steps = {
        {Console::keyUp, L"\\v_gamma"},   {Console::keyUp, L"\\v_vsync"}, {Console::keyUp, L"\\v_vsync"},
        {Console::keyDown, L"\\v_gamma"}, {Console::keyDown, L""},        {Console::keyDown, L""}};
    for (const auto& [key, text] : steps) {
        Frame(key);
        EXPECT_EQ(console->GetEditBox()->text, text);
    }
    console->GetEditBox()->SetText(L"abc");
    Frame(Console::keyEscape);
    EXPECT_EQ(console->GetEditBox()->text, L"");
}

TEST_F(ConsoleTest, TextsWrapBetweenCharactersAndOpenRowsContinue) {
    Make();
    const std::wstring row(80, L'a'); // exactly the screen's width
    const struct {
        const char* name;
        std::wstring text;
        std::vector<std::wstring> pieces;
    } cases[] = {
        {"a row that fits", row + L"\n", {row + L"\n"}},
        {"one character more: it starts the next piece", row + L"bc\n", {row + L"\n", L"bc\n"}},
        {"a long unbroken line",
         std::wstring(200, L'x'),
         {std::wstring(80, L'x') + L"\n", std::wstring(80, L'x') + L"\n", std::wstring(40, L'x')}},
        {"characters wider than the screen, one piece each", L"\x416\x416", {L"\x416\n", L"\x416"}},
        {"line feeds inside a text", L"a\nb\n", {L"a\n", L"b\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = console->GetLines().size();
        console->AddText(white, c.text);
        std::vector<std::wstring> pieces;
        for (size_t i = before; i < console->GetLines().size(); ++i)
            pieces.push_back(console->GetLines()[i].text);
        EXPECT_EQ(pieces, c.pieces);
        console->AddText(white, L"\n");
    }
    const ConsoleLine& last = console->GetLines().back();
    EXPECT_TRUE(last.lineEnd);

    // The log's entries of the frame reach the console once, coloured by kind; one without a final line
    // feed leaves its row open for the next text.
    Log()->SetSpacing(false);
    Log()->Message("plain");
    Log()->Important("good\n");
    Log()->Warning("careful");
    Log()->Error("bad");
    const size_t before = console->GetLines().size();
    Frame();
    EXPECT_EQ(
        PiecesSince(before),
        (Pieces{
            {white, L"plain"}, {green, L"good\n"}, {grey, L"Warning: careful!\n"}, {red, L"Error: bad!\n"}}));
    EXPECT_FALSE(console->GetLines()[before].lineEnd);
    EXPECT_FLOAT_EQ(console->GetLines()[before].width, 5 * glyph);
    Frame();
    EXPECT_EQ(console->GetLines().size(), before + 4);
}

TEST_F(ConsoleTest, RowsAreQueuedAboveThePromptAndPageUpScrollsBackWithinTheRows) {
    Make();
    for (int i = 0; i < 5; ++i)
        console->AddText(white, L"row " + std::to_wstring(i) + L"\n");
    OpenFully();
    const GUIWindow* w = console->GetWindow();
    const float gap = console->GetLineGap(), step = console->GetLineStep();
    EXPECT_FLOAT_EQ(gap, 2);
    EXPECT_FLOAT_EQ(step, 12);
    auto queued = [&] {
        std::vector<std::pair<std::wstring, Vec2>> texts;
        for (uint32_t i = 0; i < w->GetTextCount(); ++i)
            texts.emplace_back(w->GetQueuedText(i).text, w->GetQueuedText(i).position);
        return texts;
    };
    // The title right-aligned in the bottom row, the prompt above it, then the rows, newest lowest.
    auto texts = queued();
    ASSERT_GE(texts.size(), 7u);
    EXPECT_EQ(texts[0].second, Vec2(0, gap));
    EXPECT_EQ(texts[0].first.size(), 80u) << "padded with blanks up to the screen's width";
    EXPECT_EQ(texts[0].first.substr(texts[0].first.size() - 17), L"Velmora Ball 1.00");
    EXPECT_EQ(texts[1], (std::pair<std::wstring, Vec2>{L"]", Vec2(0, gap + step)}));
    EXPECT_EQ(texts.back(), (std::pair<std::wstring, Vec2>{L"row 4\n", Vec2(0, gap + 3 * step)}));
    EXPECT_EQ(texts[texts.size() - 5].first, L"row 0\n");

    // Page Up more often than there are rows is taken back at the next frame; the scroll-back row shows.
    for (int i = 0; i < 9; ++i)
        Frame(Console::keyPageUp);
    Frame();
    EXPECT_EQ(console->GetScrollOffset(), 5u);
    Frame(Console::keyPageDown);
    Frame(Console::keyPageDown);
    texts = queued();
    EXPECT_EQ(console->GetScrollOffset(), 3u);
    EXPECT_EQ(texts[2].first, console->GetScrollBackRow());
    EXPECT_EQ(texts[2].second, Vec2(0, gap + 2 * step));
    EXPECT_EQ(console->GetScrollBackRow(), std::wstring(80, L'^'));
    // Closing resets the scroll-back.
    console->Close();
    while (console->GetState() != ConsoleClosed)
        Frame();
    EXPECT_EQ(console->GetScrollOffset(), 0u);
}

TEST_F(ConsoleTest, AnUnknownFontIsLoggedOnceAndMeasuresNothing) {
    console = std::make_unique<Console>("t", ShaderDescriptor(), 9, L'_', L']', L'^', "~", 0.95f, 308, 1000);
    EXPECT_TRUE(gui.log.Contains("Error: (Console::Console): font with \"9\" id is not loaded!"));
    gui.log.Manager().ClearEntries();
    console->AddText(white, std::wstring(300, L'x'));
    ASSERT_EQ(console->GetLines().size(), 1u);
    EXPECT_FLOAT_EQ(console->GetLines()[0].width, 0);
    OpenFully();
    Enter(L"v_mode");
    EXPECT_EQ(console->GetLines().size(), 3u);
    // Logged once: no later frame logs it again (each frame's log lines reach the console).
    for (const ConsoleLine& line : console->GetLines())
        EXPECT_EQ(line.text.find(L"font"), std::wstring::npos);
}
