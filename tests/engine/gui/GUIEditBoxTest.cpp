// ctest-label: gui
// The edit box on a font whose glyphs are all 10 units wide: typing in insert and overwrite mode with both
// limits, the editing keys, scrolling the view with the caret, the blinking caret on the frame clock, the
// print sound, and the guards for a zero character limit and a box narrower than five characters.
#include "engine/gui/GUIEditBox.h"
#include "engine/core/Controls.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUISoundManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/SilentSoundSystem.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

using VelmoraTest::SilentSystem;

// What the box queued on its window this frame.
std::vector<GUIQueuedText> Queued(const GUIEditBox* box) {
    std::vector<GUIQueuedText> queued;
    for (uint32_t i = 0; i < box->GetTextCount(); ++i)
        queued.push_back(box->GetQueuedText(i));
    return queued;
}

constexpr int fontId = 3;
constexpr float glyphWidth = 10; // every glyph and the blank at font size 10

class GUIEditBoxTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
        Window::Instance(window.get());
        controls = std::make_unique<Controls>();
        Controls::Instance(controls.get());
        timers = std::make_unique<TimerManager>();
        TimerManager::Instance(timers.get());
        SoundSystem::Instance(&soundSystem);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        manager = std::make_unique<VelmoraTest::TestGuiManager>();
        manager->GetSoundManager()->AddSound("gui_default_edit_box_print", "print.wav", 1);

        std::vector<VbFormats::FontGlyph> glyphs;
        for (uint16_t code = 'a'; code <= 'z'; ++code)
            glyphs.push_back(VelmoraTest::TestGlyph(code, 1));
        glyphs.push_back(VelmoraTest::TestGlyph('|', 1));
        font = manager->GetFontManager()->CreateFont(fontId, gui.material, gui.SaveFont("edit.fnt", glyphs));
        ASSERT_NE(font, nullptr);
        font->size = glyphWidth;
        ASSERT_FLOAT_EQ(font->MeasureText(L"ab c", 0, -1).x, 4 * glyphWidth);
        SetClock(0.1f); // the caret shows
    }
    void TearDown() override { manager.reset(); }
    // The frame clock stands still at t.
    void SetClock(float t) {
        timers->GetFrameTimer()->SetTime(t);
        timers->GetFrameTimer()->SetPaused(true);
    }

    GUIEditBox* MakeBox(int maxCount, float maxLength, float visibleWidth, int id = fontId,
                        const ShaderDescriptor* quad = nullptr) {
        boxes.push_back(manager->CreateEditBox(GUI_WINDOW_VISIBLE | GUI_WINDOW_VERTEX_COLORS, Vec2(100, 100),
                                               Vec2(300, 30), nullptr, quad, id, Vec4(1, 0, 0, 0.5f),
                                               Vec2(4, 6), maxCount, maxLength, visibleWidth, L'|', nullptr));
        return boxes.back();
    }
    // One frame: the key event (if any), the input step, the layout step that empties the queues.
    void Frame(int code = -1, bool isCharacter = true) {
        window->keyEventPending = code >= 0;
        window->keyEventIsChar = isCharacter;
        window->keyEventCode = static_cast<uint16_t>(code);
        manager->UpdateElements(Vec2(0, 0), false, false);
        lastQueued.clear();
        for (const GUIEditBox* box : boxes)
            lastQueued.push_back(Queued(box));
        manager->Render();
        window->keyEventPending = false;
    }
    void Type(const std::wstring& s) {
        for (wchar_t ch : s)
            Frame(ch, true);
    }
    void Key(uint16_t code) { Frame(code, false); }
    int Prints() const { return manager->GetSoundManager()->GetEntries().at(0)->playCount; }

    VelmoraTest::GuiServices gui;
    std::unique_ptr<Window> window;
    std::unique_ptr<Controls> controls;
    std::unique_ptr<TimerManager> timers;
    SilentSystem soundSystem;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager; // after the sound manager: deleted before it
    GUIFont* font = nullptr;                              // the font manager's
    std::vector<GUIEditBox*> boxes;                       // the manager's
    std::vector<std::vector<GUIQueuedText>> lastQueued;   // per box, as queued in the last frame
};

} // namespace

TEST_F(GUIEditBoxTest, TypingKeepsBothLimitsInInsertAndOverwriteMode) {
    GUIEditBox* full = MakeBox(3, 1000, 200);
    EXPECT_EQ(full->printSound, "gui_default_edit_box_print");
    EXPECT_TRUE(full->active);
    EXPECT_FALSE(full->IsOverwrite());
    Type(L"abc");
    EXPECT_EQ(full->text, L"abc");
    EXPECT_EQ(full->GetCaret(), 2); // a full box keeps the caret before its last character
    EXPECT_EQ(Prints(), 3);
    Type(L"x");
    EXPECT_EQ(full->text, L"abc");
    EXPECT_EQ(full->GetCaret(), 2);
    EXPECT_EQ(Prints(), 3); // refused silently
    // Backspace in a full box removes the character under the caret, which stays; then the one before.
    Key(GUIEditBox::keyBackspace);
    EXPECT_EQ(full->text, L"ab");
    EXPECT_EQ(full->GetCaret(), 2);
    Key(GUIEditBox::keyBackspace);
    EXPECT_EQ(full->text, L"a");
    EXPECT_EQ(full->GetCaret(), 1);
    EXPECT_EQ(Prints(), 5);

    boxes.front()->active = false;
    GUIEditBox* box = MakeBox(10, 1000, 200);
    box->SetText(L"abc");
    EXPECT_EQ(box->GetCaret(), 3);
    Key(GUIEditBox::keyLeft);
    Key(GUIEditBox::keyBackspace); // caret + 1 == length: the character under the caret goes
    EXPECT_EQ(box->text, L"ab");
    EXPECT_EQ(box->GetCaret(), 2);

    box->SetText(L"abc");
    Key(GUIEditBox::keyHome);
    Key(GUIEditBox::keyRight);
    Key(GUIEditBox::keyInsert);
    EXPECT_TRUE(box->IsOverwrite());
    const int before = Prints();
    Type(L"x");
    EXPECT_EQ(box->text, L"axc");
    EXPECT_EQ(box->GetCaret(), 2);
    EXPECT_EQ(Prints(), before + 1);
    Type(L"yz"); // replaces c, then appends at the end
    EXPECT_EQ(box->text, L"axyz");
    Key(GUIEditBox::keyInsert);
    EXPECT_FALSE(box->IsOverwrite());

    // Delete at the end does nothing and is silent; at 0 it removes the first character.
    const int printsBeforeDelete = Prints();
    Key(GUIEditBox::keyEnd);
    Key(GUIEditBox::keyDelete);
    EXPECT_EQ(box->text, L"axyz");
    EXPECT_EQ(Prints(), printsBeforeDelete);
    Key(GUIEditBox::keyHome);
    Key(GUIEditBox::keyDelete);
    EXPECT_EQ(box->text, L"xyz");
    EXPECT_EQ(box->GetCaret(), 0);
    EXPECT_EQ(Prints(), printsBeforeDelete + 1);

    // A character without a glyph is entered as a; the blank needs no glyph.
    box->SetText(L"");
    Type(L"#b c");
    EXPECT_EQ(box->text, L"ab c");

    // The width limit measures the whole text with the new character at its end.
    box->maxTextLength = 2.5f * glyphWidth;
    box->SetText(L"");
    Type(L"abc");
    EXPECT_EQ(box->text, L"ab");
    Key(GUIEditBox::keyHome);
    Type(L"d");
    EXPECT_EQ(box->text, L"ab");

    // The character limit counts UTF-16 units: a character beyond the basic plane takes two.
    box->maxTextLength = 1000;
    box->maxCharacterCount = 3;
    box->SetText(L"\U0001F600a");
    EXPECT_FALSE(box->CanInsert(L'b'));
    box->maxCharacterCount = 4;
    EXPECT_TRUE(box->CanInsert(L'b'));
}

TEST_F(GUIEditBoxTest, SetTextKeepsTheWholeTextAndBoundsTheCaret) {
    GUIEditBox* box = MakeBox(5, 20, 200);
    box->SetText(L"abcdefgh");
    EXPECT_EQ(box->text, L"abcdefgh");
    EXPECT_EQ(box->GetCaret(), 4);
    EXPECT_EQ(box->GetFirstVisible(), 0);
    box->SetText(L"ab");
    EXPECT_EQ(box->GetCaret(), 2);
}

TEST_F(GUIEditBoxTest, TheViewFollowsTheCaret) {
    // Ten glyph widths: nine characters and the caret fit.
    GUIEditBox* box = MakeBox(50, 1000, 10 * glyphWidth);
    std::wstring forty;
    for (int i = 0; i < 40; ++i)
        forty += wchar_t(L'a' + i % 26);
    box->SetText(forty);
    EXPECT_EQ(box->GetCaret(), 40);
    EXPECT_EQ(box->GetFirstVisible(), 31); // the end plus the caret fit from 31 on
    Key(GUIEditBox::keyHome);
    EXPECT_EQ(box->GetCaret(), 0);
    EXPECT_EQ(box->GetFirstVisible(), 0);
    Key(GUIEditBox::keyEnd);
    EXPECT_EQ(box->GetCaret(), 40);
    EXPECT_EQ(box->GetFirstVisible(), 31);
    ASSERT_EQ(lastQueued.back().size(), 2u);
    EXPECT_EQ(lastQueued.back()[0].text, forty.substr(31));
    EXPECT_EQ(lastQueued.back()[1].text, L"|");
    EXPECT_FLOAT_EQ(lastQueued.back()[1].position.x, 4 + 9 * glyphWidth);
    EXPECT_FLOAT_EQ(lastQueued.back()[1].position.y, 6);

    // Left back to the first visible character steps the view back by five.
    for (int i = 0; i < 9; ++i)
        Key(GUIEditBox::keyLeft);
    EXPECT_EQ(box->GetCaret(), 31);
    EXPECT_EQ(box->GetFirstVisible(), 26);

    // Right: the view stays until the next character does not fit, then jumps by five.
    Key(GUIEditBox::keyHome);
    for (int i = 0; i < 8; ++i)
        Key(GUIEditBox::keyRight);
    EXPECT_EQ(box->GetCaret(), 8);
    EXPECT_EQ(box->GetFirstVisible(), 0);
    Key(GUIEditBox::keyRight);
    EXPECT_EQ(box->GetCaret(), 9);
    EXPECT_EQ(box->GetFirstVisible(), 5);
    // The visible run is the longest that fits from the first visible character.
    ASSERT_EQ(lastQueued.back().size(), 2u);
    EXPECT_EQ(lastQueued.back()[0].text, forty.substr(5, 10));
    EXPECT_FLOAT_EQ(lastQueued.back()[1].position.x, 4 + 4 * glyphWidth);

    // Near the end the jump stops where the end fits.
    box->SetText(forty.substr(0, 12));
    Key(GUIEditBox::keyHome);
    for (int i = 0; i < 9; ++i)
        Key(GUIEditBox::keyRight);
    EXPECT_EQ(box->GetCaret(), 9);
    EXPECT_EQ(box->GetFirstVisible(), 3);
}

TEST_F(GUIEditBoxTest, CaretBlinksOnTheFrameClockAndFadesWithTheBox) {
    ShaderDescriptor quad;
    GUIEditBox* box = MakeBox(10, 1000, 200, fontId, &quad);
    ASSERT_NE(box->GetModel(), nullptr);
    box->SetAlpha(0.5f);
    box->SetText(L"ab");
    const struct {
        float t;
        bool shown;
    } cases[] = {{0.0f, true},  {0.35f, true}, {0.45f, false}, {0.75f, false},
                 {0.85f, true}, {1.15f, true}, {1.25f, false}, {2.05f, false}};
    for (const auto& c : cases) {
        SetClock(c.t);
        Frame();
        ASSERT_EQ(lastQueued.back().size(), c.shown ? 2u : 1u) << c.t;
        EXPECT_EQ(lastQueued.back()[0].text, L"ab");
        EXPECT_EQ(lastQueued.back()[0].fontId, fontId);
        EXPECT_EQ(lastQueued.back()[0].mode, 0);
        EXPECT_FLOAT_EQ(lastQueued.back()[0].color.x, 1);
        // font alpha 0.5 x box alpha 0.5 (held as a byte)
        EXPECT_NEAR(lastQueued.back()[0].color.w, 0.25f, 0.002f);
    }
    // An inactive box shows no caret and takes no key.
    SetClock(0.1f);
    box->active = false;
    Type(L"c");
    EXPECT_EQ(box->text, L"ab");
    EXPECT_EQ(lastQueued.back().size(), 1u);
}

TEST_F(GUIEditBoxTest, EveryVisibleActiveBoxWithAFontTakesTheSameKey) {
    GUIEditBox* first = MakeBox(10, 1000, 200);
    GUIEditBox* second = MakeBox(10, 1000, 200);
    GUIEditBox* hidden = MakeBox(10, 1000, 200);
    hidden->ClearFlags(GUI_WINDOW_VISIBLE);
    GUIEditBox* inactive = MakeBox(10, 1000, 200);
    inactive->active = false;
    GUIEditBox* fontless = MakeBox(10, 1000, 200, -1);
    GUIEditBox* unknownFont = MakeBox(10, 1000, 200, 7);
    EXPECT_EQ(fontless->GetFont(), nullptr);
    EXPECT_EQ(unknownFont->GetFont(), nullptr);
    EXPECT_FALSE(fontless->Update(Vec2(0, 0), false, false));
    Type(L"q");
    EXPECT_EQ(first->text, L"q");
    EXPECT_EQ(second->text, L"q");
    for (GUIEditBox* box : {hidden, inactive, fontless, unknownFont})
        EXPECT_EQ(box->text, L"");
    EXPECT_EQ(Prints(), 2);
    EXPECT_TRUE(lastQueued[2].empty());
    EXPECT_TRUE(lastQueued[4].empty());
    // A font set later makes the box take keys.
    fontless->SetFont(fontId);
    EXPECT_EQ(fontless->GetFont(), font);
    Type(L"r");
    EXPECT_EQ(fontless->text, L"r");
}

TEST_F(GUIEditBoxTest, ZeroLimitAndNarrowBoxKeepTheCaretInsideTheText) {
    // A character limit of 0 refuses every character and never puts the caret before index 0.
    GUIEditBox* none = MakeBox(0, 1000, 200);
    none->SetText(L"abc");
    EXPECT_EQ(none->GetCaret(), 0);
    for (uint16_t key : {GUIEditBox::keyEnd, GUIEditBox::keyRight, GUIEditBox::keyBackspace}) {
        Key(key);
        EXPECT_EQ(none->GetCaret(), 0) << key;
    }
    Type(L"x");
    EXPECT_EQ(none->text, L"abc");
    ASSERT_EQ(lastQueued.back().size(), 2u);
    EXPECT_FLOAT_EQ(lastQueued.back()[1].position.x, 4);
    none->active = false;

    // Three glyph widths: moving right through a long text never lets the view start after the caret,
    // and the caret is always drawn inside the visible width.
    GUIEditBox* narrow = MakeBox(50, 1000, 3 * glyphWidth);
    narrow->SetText(L"abcdefghijklmnopqrst");
    Key(GUIEditBox::keyHome);
    for (int step = 1; step <= 20; ++step) {
        Key(GUIEditBox::keyRight);
        ASSERT_LE(narrow->GetFirstVisible(), narrow->GetCaret()) << step;
        ASSERT_EQ(lastQueued.back().size(), 2u);
        const float caretX = lastQueued.back()[1].position.x - 4;
        EXPECT_GE(caretX, 0) << step;
        EXPECT_LE(caretX + glyphWidth, 3 * glyphWidth) << step;
    }
    EXPECT_EQ(narrow->GetCaret(), 20);
}
