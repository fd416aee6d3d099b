// ctest-label: shell
// The level's loading window over the real GUI: the whole level keeper loads once, in the frame after the
// title has printed, with code 1 in that frame; further frames before the flow hides the window load
// nothing again; shown again for the next level it waits for its title once more.
#include "game/shell/GUIGameLogicLoadingWindow.h"

#include "gametools/DataKeeper.h"
#include "guitools/GUITextControl.h"
#include "tests/game/shell/MenuWindowFixture.h"

using namespace VelmoraBall;

namespace {

// Counts the loads of everything at once.
class CountingKeeper : public GameTools::DataKeeper {
public:
    CountingKeeper() : DataKeeper("en") {}
    bool Load(uint32_t step) override {
        if (step == ~0u)
            ++loadAllCount;
        return DataKeeper::Load(step);
    }
    int loadAllCount = 0;
};

class GUIGameLogicLoadingWindowTest : public VelmoraTest::MenuWindowFixture {};

} // namespace

TEST_F(GUIGameLogicLoadingWindowTest, LevelLoadingRunsOnceAfterTheTitleHasPrinted) {
    Describe("window_game_logic_loading.xml",
             R"(<window name="window_game_logic_loading" fader="quick" size="800 600">
        <window name="window" fader="quick" position="200 250" size="400 100"/>
        <text_label name="title" font="plain" text="'Ready'" printing_mode="1" printing_speed="8" fader="quick"
                    position="250 300" size="300 40"/></window>)");
    GUIGameLogicLoadingWindow* loading =
        Make<GUIGameLogicLoadingWindow>(static_cast<GameFramework::LevelManagerBase*>(nullptr));
    const GUITools::GUITextControl* title = loading->GetTextControl("window_game_logic_loading/title");

    for (int level = 0; level < 2; ++level) {
        SCOPED_TRACE(level);
        CountingKeeper keeper;
        loading->Show(15, &keeper);
        int printedAt = 0, loadedAt = 0;
        for (int frame = 1; frame <= 20; ++frame) {
            Frame();
            if (printedAt == 0 && title->IsActive() && title->IsPrintingFinished())
                printedAt = frame;
            if (loading->result == 1) {
                EXPECT_EQ(loadedAt, 0);
                loadedAt = frame;
                EXPECT_EQ(keeper.loadAllCount, 1);
                EXPECT_EQ(keeper.GetProgress(), 1.0f);
            }
        }
        EXPECT_GT(printedAt, 5);
        EXPECT_EQ(loadedAt, printedAt + 2);
        EXPECT_EQ(keeper.loadAllCount, 1);
        loading->Hide();
        Frames(4);
        ASSERT_TRUE(manager->IsFree());
    }
}
