// ctest-label: framework
// The base of a level in play: the level clock stopped at 0 until play begins, the state table with its
// changed flag (a won or lost level keeps its state), the cheat keys polled only while the console's cheat
// mode is on, and the score keeper's rules.
#include "framework/GameLogicBase.h"

#include "engine/core/Console.h"
#include "engine/core/Controls.h"
#include "engine/core/Timer.h"
#include "engine/core/Window.h"
#include "framework/ScoreKeeper.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

using namespace GameFramework;
using namespace OrvexEngine;

namespace {

// Key states set by the test instead of read from a device.
class TestKeys final : public Controls {
public:
    void Press(const std::string& name) {
        keysPressed[name] = true;
        keysDown[name] = true;
    }
    void Hold(const std::string& name) { keysDown[name] = true; }
    void ReleaseAll() {
        ResetFrame();
        for (auto& [name, down] : keysDown)
            down = false;
    }
};

class RecordingLevel final : public GameLogicBase {
public:
    using GameLogicBase::GameLogicBase;
    void OnCheatKey(bool shift, int key) override {
        GameLogicBase::OnCheatKey(shift, key);
        keys.emplace_back(shift, key);
    }
    std::vector<std::pair<bool, int>> keys;
};

// The fake clock must stand before the timer manager reads it.
struct FakeClock {
    FakeClock() { platform::InstallFakeClock(1000); }
    ~FakeClock() { platform::RemoveFakeClock(); }
};

class GameLogicBaseTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
        Window::Instance(window.get());
        Controls::Instance(&keys);
        gui = std::make_unique<VelmoraTest::TestGuiManager>();
        stage.stageIndex = 1;
        level.stageIndex = 1;
        level.levelIndex = 2;
    }
    void TearDown() override {
        console.reset();
        gui.reset();
        window.reset();
        platform::sim::Reset();
    }
    std::unique_ptr<RecordingLevel> MakeLevel() {
        return std::make_unique<RecordingLevel>(nullptr, &stage, &level, 3);
    }
    void MakeConsole(bool enabled) {
        console = std::make_unique<Console>("Velmora Ball 1.00", ShaderDescriptor(), -1, L'_', L']', L'^', "~",
                                            0.95f, 308, 1000);
        Console::Instance(console.get()); // as the engine registers the console it creates
        console->SetEnabled(enabled);
    }
    int LiveTimers() const {
        const auto& all = services.timers.GetTimers();
        return int(std::count_if(all.begin(), all.end(), [](const Timer* t) { return t != nullptr; }));
    }

    FakeClock clock;
    VelmoraTest::GuiServices services;
    std::unique_ptr<Window> window;
    TestKeys keys;
    std::unique_ptr<VelmoraTest::TestGuiManager> gui;
    std::unique_ptr<Console> console;
    StageInfo stage;
    LevelInfo level;
};

} // namespace

TEST_F(GameLogicBaseTest, ANewLevelIsLoggedAndItsClockStandsAtZeroUntilPlayBegins) {
    const int timersBefore = LiveTimers();
    services.log.Manager().ClearEntries();
    auto game = MakeLevel();

    const std::vector<std::string> texts = services.log.Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "\n");
    EXPECT_EQ(texts.back(), "Loading level 2-3...\n");
    EXPECT_EQ(game->GetPosition(), (LevelPosition{1, 2}));
    EXPECT_EQ(game->lives, 3u);
    EXPECT_EQ(game->state, GameLogicBase::StateRunning);
    EXPECT_FALSE(game->stateChanged);
    EXPECT_FALSE(game->cheated);
    EXPECT_EQ(game->GetScore(), 0);
    EXPECT_EQ(LiveTimers(), timersBefore + 1);

    platform::AdvanceFakeClockMilliseconds(700);
    EXPECT_TRUE(game->IsTimerPaused());
    EXPECT_EQ(game->GetTime(), 0.0f);

    // The clock counts only while the level runs.
    game->SetTimerPaused(false);
    platform::AdvanceFakeClockMilliseconds(1500);
    EXPECT_NEAR(game->GetTime(), 1.5f, 0.0011f);
    game->SetPaused(true);
    platform::AdvanceFakeClockMilliseconds(2000);
    EXPECT_NEAR(game->GetTime(), 1.5f, 0.0011f);
    game->SetPaused(false);
    platform::AdvanceFakeClockMilliseconds(250);
    EXPECT_NEAR(game->GetTime(), 1.75f, 0.0011f);
    // Pausing only the clock leaves the state alone.
    game->stateChanged = false;
    game->SetTimerPaused(true);
    EXPECT_EQ(game->state, GameLogicBase::StateRunning);
    EXPECT_FALSE(game->stateChanged);

    game.reset();
    EXPECT_EQ(LiveTimers(), timersBefore);
}

TEST_F(GameLogicBaseTest, StateChangesPauseTheClockAndRaiseTheFlagOnlyWhenTheStateDiffers) {
    enum class Call { SetState, SetPaused };
    struct Case {
        int from;
        Call call;
        int argument; // the state, or 1 to pause and 0 to resume
        int state;
        bool timerPaused;
        bool changed;
    };
    const Case cases[] = {
        {0, Call::SetState, 0, 0, false, false},
        {0, Call::SetPaused, 1, 1, true, true},
        {1, Call::SetPaused, 0, 0, false, true},
        {1, Call::SetPaused, 1, 1, true, false},
        {0, Call::SetState, 2, 2, true, true},
        {0, Call::SetState, 3, 3, true, true},
        {2, Call::SetPaused, 1, 2, true, false}, // an ended level keeps its state
        {2, Call::SetPaused, 0, 2, true, false},
        {3, Call::SetPaused, 0, 3, true, false},
        {3, Call::SetPaused, 1, 3, true, false},
        {2, Call::SetState, 0, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " call " << int(c.call) << " " << c.argument);
        auto game = MakeLevel();
        game->SetState(c.from);
        game->SetTimerPaused(c.from != 0);
        game->stateChanged = false;
        if (c.call == Call::SetState)
            game->SetState(c.argument);
        else
            game->SetPaused(c.argument != 0);
        EXPECT_EQ(game->state, c.state);
        EXPECT_EQ(game->IsTimerPaused(), c.timerPaused);
        EXPECT_EQ(game->stateChanged, c.changed);
    }
}

TEST_F(GameLogicBaseTest, FunctionKeysAreCheatKeysOnlyWhileTheConsoleIsEnabled) {
    auto game = MakeLevel();
    keys.Press("F1");
    keys.Press("F5");
    keys.Press("F12");
    keys.Hold("RSHIFT");

    game->Update(); // no console at all
    EXPECT_TRUE(game->keys.empty());
    MakeConsole(false);
    game->Update();
    EXPECT_TRUE(game->keys.empty());
    EXPECT_FALSE(game->cheated);

    console->SetEnabled(true);
    game->Update();
    EXPECT_EQ(game->keys, (std::vector<std::pair<bool, int>>{{true, 1}, {true, 5}, {true, 12}}));
    EXPECT_TRUE(game->cheated);

    // Next frame: F10 alone without Shift; F1 must not be taken for the start of "F10".
    keys.ReleaseAll();
    keys.Press("F10");
    game->keys.clear();
    game->Update();
    EXPECT_EQ(game->keys, (std::vector<std::pair<bool, int>>{{false, 10}}));

    // The left Shift key, held from an earlier frame, counts as well.
    keys.ReleaseAll();
    keys.Hold("LSHIFT");
    keys.Press("F2");
    game->keys.clear();
    game->Update();
    EXPECT_EQ(game->keys, (std::vector<std::pair<bool, int>>{{true, 2}}));
}

TEST_F(GameLogicBaseTest, TheLevelScoreIsTheScoreKeepersTotal) {
    auto game = MakeLevel();
    ScoreKeeper& score = *game->scoreKeeper;
    score.SetPoints(5, 100);
    score.SetPoints(5, 300); // the first registration wins
    score.SetPoints(1, 10);
    EXPECT_EQ(score.GetPoints(5), 100);
    EXPECT_EQ(score.GetPoints(9), 0);
    EXPECT_EQ(score.GetMultiplier(), 1);

    score.AddScore(5, 3);
    score.AddScore(1, 1);
    score.AddScore(9, 4); // no points registered: nothing
    EXPECT_EQ(game->GetScore(), 310);
    game->SetScore(0);
    EXPECT_EQ(score.GetTotal(), 0);
    score.AddScore(1, 2);
    EXPECT_EQ(game->GetScore(), 20);

    ScoreKeeper started(50);
    started.AddScore(1, 1);
    EXPECT_EQ(started.GetTotal(), 50);
}
