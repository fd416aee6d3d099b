// ctest-label: shell
// The quit question over the real GUI: yes quits whatever window asked; no goes back to the welcome window,
// the main menu or the new-player window by the mode it was opened with, and does nothing for any other
// opener; with both answers in one frame going back wins where there is a way back. A window hidden while
// it still waits for the menu before it never comes on and never keeps the next one off.
#include "game/shell/GUIExitWindow.h"

#include "tests/game/shell/MenuWindowFixture.h"

using namespace VelmoraBall;
using OrvexEngine::GUIButton;

namespace {

const char* const Question = R"(<window name="window_exit" fader="quick" size="800 600">
  <window name="window" fader="quick" position="200 200" size="400 200">
    <button name="button_1" fader="quick" position="20 20" size="150 40"/>
    <button name="button_0" fader="quick" position="220 20" size="150 40"/>
  </window>
</window>)";

class GUIExitWindowTest : public VelmoraTest::MenuWindowFixture {
protected:
    GUIExitWindowTest() {
        Describe("window_exit.xml", Question);
        Describe(
            "window_other.xml",
            R"(<window name="window_other" fader="quick"><window name="window" fader="quick" size="10 10"/></window>)");
        question = Make<GUIExitWindow>();
    }
    GUIButton* Yes() { return question->GetButton("window_exit/window/button_1"); }
    GUIButton* No() { return question->GetButton("window_exit/window/button_0"); }
    void ShowAndWait(int mode) {
        question->Show(mode);
        Frames(3);
        ASSERT_TRUE(question->IsVisible());
    }
    void HideAndWait() {
        question->Hide();
        Frames(4);
        ASSERT_TRUE(manager->IsFree());
    }

    GUIExitWindow* question = nullptr;
};

} // namespace

TEST_F(GUIExitWindowTest, TheAnswersByTheWindowThatAsked) {
    const struct {
        int mode;
        int yes, no, both;
    } cases[] = {
        {4, 23, 2, 2},  // the welcome window
        {6, 23, 3, 3},  // the main menu
        {11, 23, 6, 6}, // the new-player window
        {5, 23, 0, 23}, // no window asks with another mode: no has nowhere to go
        {0, 23, 0, 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ShowAndWait(c.mode);
        Click(Yes());
        EXPECT_EQ(question->result, c.yes);
        Click(No());
        EXPECT_EQ(question->result, c.no);
        afterInput = [&] {
            Yes()->clicked = true;
            No()->clicked = true;
        };
        Frame();
        afterInput = nullptr;
        EXPECT_EQ(question->result, c.both);
        HideAndWait();
        EXPECT_EQ(question->result, 0);
    }
}

TEST_F(GUIExitWindowTest, AQuestionHiddenWhileWaitingNeverComesOnAndKeepsNothingOff) {
    Describe(
        "window_other.xml",
        R"(<window name="window_other" fader="quick"><window name="window" fader="quick" size="10 10"/></window>)");
    auto other = std::make_unique<GUIMenuWindow>(nullptr, data.get(), tools.get(), manager.get(), nullptr,
                                                 "window_other");
    other->Show(true);
    Frame();
    ASSERT_EQ(manager->GetActiveWindow(), other.get());

    question->Show(6);
    Frame();
    question->Hide(); // before the other window has let the screen go
    other->Show(false);
    Frames(4);
    EXPECT_TRUE(manager->IsFree());
    EXPECT_FALSE(question->GetRootWindow()->visible);
    Click(No());
    EXPECT_EQ(question->result, 0);

    // The next show works as ever.
    ShowAndWait(4);
    Click(No());
    EXPECT_EQ(question->result, 2);
    EXPECT_EQ(manager->GetActiveWindow(), question);
    other.reset();
}
