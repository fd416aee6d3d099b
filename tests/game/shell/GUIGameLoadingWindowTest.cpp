// ctest-label: shell
// The game's loading window over the real GUI and the game-wide data keeper: no loading step before its
// title has printed, then one step a frame from the frame after, code 1 in the frame of the last step (the
// keeper's own extra step included) and no step after it; without a title, loading starts the frame after
// the window's first visible update.
#include "game/shell/GUIGameLoadingWindow.h"

#include "guitools/GUITextControl.h"
#include "tests/game/shell/MenuWindowFixture.h"

using namespace VelmoraBall;

namespace {

class GUIGameLoadingWindowTest : public VelmoraTest::MenuWindowFixture {
protected:
    // The keeper being loaded: its own, like the game's, with its one extra step.
    GameData loaded{"en"};
};

} // namespace

TEST_F(GUIGameLoadingWindowTest, OneStepAFrameOnceTheTitleHasPrinted) {
    // Four letters at one a frame.
    Describe("window_game_loading.xml", R"(<window name="window_game_loading" fader="quick" size="800 600">
        <window name="window" fader="quick" position="200 250" size="400 100"/>
        <text_label name="title" font="plain" text="'Wait'" printing_mode="1" printing_speed="8" fader="quick"
                    position="250 300" size="300 40"/></window>)");
    GUIGameLoadingWindow* loading = Make<GUIGameLoadingWindow>();
    const GUITools::GUITextControl* title = loading->GetTextControl("window_game_loading/title");
    ASSERT_TRUE(title->printingMode);
    loading->Show(2, &loaded);
    EXPECT_EQ(loading->mode, 2);

    int printedAt = 0, firstStepAt = 0, doneAt = 0;
    for (int frame = 1; frame <= 150; ++frame) {
        const uint32_t before = loaded.GetStep();
        Frame();
        const uint32_t steps = loaded.GetStep() - before;
        if (printedAt == 0 && title->IsActive() && title->IsPrintingFinished())
            printedAt = frame;
        if (firstStepAt == 0 && steps > 0)
            firstStepAt = frame;
        if (loading->result == 1) {
            EXPECT_EQ(doneAt, 0) << "code 1 once";
            doneAt = frame;
        }
        if (firstStepAt != 0 && (doneAt == 0 || doneAt == frame)) {
            ASSERT_EQ(steps, 1u) << "frame " << frame;
        } else if (doneAt != 0) {
            ASSERT_EQ(steps, 0u) << "frame " << frame;
        }
    }
    ASSERT_GT(printedAt, 4) << "the title took its time";
    // The update of the next frame sees the printed title; loading runs from the frame after.
    EXPECT_EQ(firstStepAt, printedAt + 2);
    EXPECT_EQ(doneAt - firstStepAt + 1, 102)
        << "the temporary textures, 100 percentage steps, the extra step";
    EXPECT_EQ(loaded.GetStep(), 102u);
    EXPECT_NE(loaded.extraWindowA, nullptr);

    loading->Hide();
    EXPECT_EQ(loading->GUILoadingWindowBase::dataKeeper, nullptr);
    Frames(4);
    EXPECT_TRUE(manager->IsFree());
}

TEST_F(GUIGameLoadingWindowTest, WithoutATitleLoadingStartsTheFrameAfterTheFirstVisibleUpdate) {
    Describe("window_game_loading.xml", R"(<window name="window_game_loading" fader="quick" size="800 600">
        <window name="window" fader="quick" position="200 250" size="400 100"/></window>)");
    GUIGameLoadingWindow* loading = Make<GUIGameLoadingWindow>();
    Frame();
    loading->Show(2, &loaded);
    Frame(); // the manager puts it on screen after the flow's update
    EXPECT_TRUE(loading->IsVisible());
    EXPECT_FALSE(loading->IsReady());
    Frame();
    EXPECT_TRUE(loading->IsReady());
    EXPECT_EQ(loaded.GetStep(), 0u);
    Frame();
    EXPECT_EQ(loaded.GetStep(), 1u);
    // Hidden mid-way, the window forgets the keeper and loads no further.
    loading->Hide();
    Frames(3);
    EXPECT_EQ(loaded.GetStep(), 1u);
    EXPECT_EQ(loading->result, 0);
}
