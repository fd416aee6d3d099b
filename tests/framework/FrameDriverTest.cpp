// ctest-label: framework
// One frame of the application root, driven through the platform's simulated input and focus: the order
// of its steps, the idle frames of an inactive window (which sleep instead of spinning) and the return,
// a running level paused behind the pause window, the cheat phrase, the two-frame video-mode change and
// the device restoration with its input lock.
#include "framework/GameBase.h"

#include "engine/core/Config.h"
#include "engine/core/Console.h"
#include "engine/core/Controls.h"
#include "engine/core/Engine.h"
#include "engine/core/MessageManager.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/sound/Sound.h"
#include "framework/AudioPlayer.h"
#include "framework/MusicTrack.h"
#include "framework/Tutorial.h"
#include "platform/d3d/D3DTest.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/HeadlessGame.h"
#include "tools/formats/WavWriter.h"

#include <gtest/gtest.h>

#include <vector>

using namespace GameFramework;
using namespace VelmoraTest;
namespace input = platform::input;

namespace {

class FrameDriverTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        options.gameName =
            std::string("Frame ") + testing::UnitTest::GetInstance()->current_test_info()->name();
        options.autoStartUp = false;
    }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }

    // Every window exists and a level of the first stage is in play behind the shown display.
    static void StartLevel(HeadlessGame& game) {
        if (game.mainMenuWindow == nullptr)
            game.CreateWindows();
        LevelManagerBase* levels = game.levelManager;
        game.gameLogic = game.CreateGameLogic(levels->GetStage(0), levels->GetLevel({0, 0}), 3);
        game.Play()->Show(GameBase::ModeGameLogicLoading, game.gameLogic);
        game.Level()->SetState(GameLogicBase::StateRunning);
        game.Level()->SetTimerPaused(false);
    }

    static OrvexEngine::Console* Console() { return OrvexEngine::Console::Instance(); }
    static OrvexEngine::Config* Config() { return OrvexEngine::Config::Instance(); }

    HeadlessOptions options;
};

TEST_F(FrameDriverTest, AFrameRunsCommandsThenThreePassesThenEveryUpdateInItsOrder) {
    HeadlessGame game(options);
    StartLevel(game);
    game.transcript->recordUpdates = true;
    game.transcript->Clear();
    game.Frame();

    const std::vector<std::string> expected = {
        "ExecuteConsoleCommands",
        "DispatchWindowResults",
        "ClearWindowResults",
        "DispatchWindowResults",
        "ClearWindowResults",
        "DispatchWindowResults",
        "ClearWindowResults",
        "UpdateAll",
        "update logos",
        "update loading",
        "update welcome",
        "update exit",
        "update main menu",
        "update profiles",
        "update new profile",
        "update rename profile",
        "update delete profile",
        "update name conflict",
        "update level loading",
        "update start",
        "update continue",
        "update high scores",
        "update options",
        "update help",
        "update play",
        "update pause",
        "update menu",
        "update menu exit",
        "update restart",
        "update game exit",
        "update level",
        "update level complete",
        "update stage complete",
        "update game complete",
        "update game over",
        "update cursor",
    };
    EXPECT_EQ(game.transcript->lines, expected);
}

TEST_F(FrameDriverTest, AnInactiveWindowInTheMenusIdlesAndSleepsUntilItIsActiveAgain) {
    HeadlessGame game(options);
    game.Frame(2);
    const int updatesBefore = game.Logos()->updates;

    game.SetFocus(false);
    const uint32_t start = platform::TimeGetTime();
    game.transcript->recordUpdates = true;
    game.transcript->Clear();
    game.Frame(5);
    // No begin-frame, no flow, no window update, nothing drawn: each frame is a 100 ms sleep.
    EXPECT_TRUE(game.transcript->lines.empty()) << game.transcript->Text();
    EXPECT_EQ(game.Logos()->updates, updatesBefore);
    EXPECT_TRUE(game.pausedByInactivity);
    EXPECT_EQ(platform::TimeGetTime() - start, 500u);

    game.SetFocus(true);
    game.Frame();
    EXPECT_FALSE(game.pausedByInactivity);
    EXPECT_EQ(game.Logos()->updates, updatesBefore + 1);
    EXPECT_EQ(game.transcript->lines.front(), "ExecuteConsoleCommands");
}

TEST_F(FrameDriverTest, MusicPausesAtOnceWhenTheWindowGoesInactiveAndFadesBackIn) {
    HeadlessGame game(options);
    VbFormats::WavWriter(1, 22050, 16)
        .Save(game.installationDirectory + "/data/audio/music/menu.wav",
              VbFormats::WavWriter::Bytes(std::vector<int16_t>(22050, 1000)));
    game.audioPlayer->AddMusicTrack(0, game.MakeSoundPath("music", "menu"), true);
    game.audioPlayer->PlayMusic(0, 0, false, 1.0f);
    game.Frame(2);
    ASSERT_EQ(game.audioPlayer->GetMusicState(0), OrvexEngine::SoundPlaying);

    game.SetFocus(false);
    game.Frame();
    EXPECT_EQ(game.audioPlayer->GetMusicState(0), OrvexEngine::SoundPaused);
    game.Frame(3);
    EXPECT_EQ(game.audioPlayer->GetMusicState(0), OrvexEngine::SoundPaused);

    game.SetFocus(true);
    platform::AdvanceFakeClockMilliseconds(100);
    game.Frame();
    EXPECT_EQ(game.audioPlayer->GetMusicState(0), OrvexEngine::SoundPlaying);
    const float level = game.audioPlayer->GetChannelTrack(0)->GetLevel();
    EXPECT_LT(level, 1.0f);
    for (int i = 0; i < 30; ++i) {
        platform::AdvanceFakeClockMilliseconds(100);
        game.Frame();
    }
    EXPECT_FLOAT_EQ(game.audioPlayer->GetChannelTrack(0)->GetLevel(), 1.0f);
}

TEST_F(FrameDriverTest, LosingFocusDuringPlayPausesTheLevelBehindThePauseWindowAndItStaysPaused) {
    HeadlessGame game(options);
    StartLevel(game);
    game.Frame();
    game.transcript->Clear();

    game.SetFocus(false);
    game.Frame();
    // This frame still runs, so the pause window is drawn.
    EXPECT_EQ(game.Level()->state, GameLogicBase::StatePaused);
    EXPECT_TRUE(game.Level()->IsTimerPaused());
    EXPECT_TRUE(game.transcript->Contains("active play 0"));
    EXPECT_TRUE(game.transcript->Contains("show pause 1"));
    EXPECT_TRUE(game.pausedByInactivity);
    const int levelUpdates = game.Level()->updates;
    EXPECT_GT(levelUpdates, 0);

    game.Frame(3);
    EXPECT_EQ(game.Level()->updates, levelUpdates);
    EXPECT_EQ(game.transcript->Matching("show pause").size(), 1u);

    game.SetFocus(true);
    game.Frame();
    EXPECT_FALSE(game.pausedByInactivity);
    EXPECT_EQ(game.Level()->state, GameLogicBase::StatePaused);
    EXPECT_TRUE(game.Level()->IsTimerPaused());
    EXPECT_EQ(game.Level()->updates, levelUpdates + 1);
}

TEST_F(FrameDriverTest, ALevelAlreadyPausedIdlesWithoutThePauseWindowAndGetsItsClockBack) {
    HeadlessGame game(options);
    StartLevel(game);
    game.Level()->SetPaused(true);
    // The menu over the level keeps its clock stopped; a level whose clock runs gets it running again.
    for (const bool clockPaused : {true, false}) {
        SCOPED_TRACE(clockPaused ? "clock paused" : "clock running");
        game.Level()->SetTimerPaused(clockPaused);
        game.Frame();
        game.transcript->Clear();

        game.SetFocus(false);
        game.Frame(2);
        EXPECT_FALSE(game.transcript->Contains("show pause 1"));
        EXPECT_TRUE(game.Level()->IsTimerPaused());
        EXPECT_EQ(game.Level()->state, GameLogicBase::StatePaused);

        game.SetFocus(true);
        game.Frame();
        EXPECT_EQ(game.Level()->IsTimerPaused(), clockPaused);
    }
}

TEST_F(FrameDriverTest, AnActiveTutorialCountsDownThenTimesAndKeepsAnInactiveWindowIdle) {
    HeadlessGame game(options);
    StartLevel(game);
    game.Frame();
    Tutorial* tutorial = game.tutorial;
    tutorial->countdown = 0.08f;
    game.Frame();
    EXPECT_FLOAT_EQ(tutorial->countdown, 0.08f);

    tutorial->active = true;
    platform::AdvanceFakeClockMilliseconds(50);
    game.Frame();
    EXPECT_NEAR(tutorial->countdown, 0.03f, 1e-4);
    EXPECT_FLOAT_EQ(tutorial->elapsed, 0.0f);
    platform::AdvanceFakeClockMilliseconds(50);
    game.Frame();
    EXPECT_NEAR(tutorial->countdown, -0.02f, 1e-4);
    EXPECT_NEAR(tutorial->elapsed, 0.05f, 1e-4);

    // With the tutorial running, losing focus does not open the pause window over the running level.
    game.transcript->Clear();
    game.SetFocus(false);
    game.Frame(2);
    EXPECT_FALSE(game.transcript->Contains("show pause 1"));
    EXPECT_EQ(game.Level()->state, GameLogicBase::StateRunning);
    EXPECT_TRUE(game.Level()->IsTimerPaused());
    game.SetFocus(true);
    game.Frame();
    EXPECT_FALSE(game.Level()->IsTimerPaused());
}

TEST_F(FrameDriverTest, TheCheatPhraseTypedOneKeyPerFrameEnablesAndOpensTheConsole) {
    struct Case {
        const char* typed;
        bool enabled;
    };
    const Case cases[] = {
        {"blue harbors", true},
        // A doubled first letter starts the phrase again with that letter.
        {"bblue harbors", true},
        // Keys outside the phrase's letters neither add nor break.
        {"blue zharbors", true},
        {"blue harbor", false},
        {"lue harbors", false},
        {"blue harbosr", false},
        // A wrong letter of the phrase's set drops what was typed.
        {"blub harbors", false},
        {"blub blue harbors", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        HeadlessGame game(options);
        game.Frame();
        game.Type(c.typed);
        EXPECT_EQ(Console()->IsEnabled(), c.enabled);
        EXPECT_EQ(game.transcript->Contains("PrintCheatHelp"), c.enabled);
        if (c.enabled) {
            EXPECT_NE(Console()->GetState(), OrvexEngine::ConsoleClosed);
            EXPECT_TRUE(game.cheatPhraseBuffer.empty());
        }
    }
}

TEST_F(FrameDriverTest, OfTwoPhraseKeysInOneFrameOnlyTheEarlierInThePhraseCounts) {
    HeadlessGame game(options);
    game.Frame();
    // "L" goes down first, but "B" comes first in the phrase.
    platform::sim::PushKey(input::KeyL, true);
    platform::sim::PushKey(input::KeyB, true);
    platform::sim::PushKey(input::KeyL, false);
    platform::sim::PushKey(input::KeyB, false);
    game.Frame();
    EXPECT_EQ(game.cheatPhraseBuffer, "b");
    game.Type("lue harbors");
    EXPECT_TRUE(Console()->IsEnabled());
}

TEST_F(FrameDriverTest, CheatModeEndsWithItsCommandAndThePhraseStartsItAgain) {
    HeadlessGame game(options);
    game.Frame();
    game.Type("blue harbors");
    ASSERT_TRUE(Console()->IsEnabled());
    // While enabled, typing the phrase is just typing.
    game.Type("blu");
    EXPECT_TRUE(game.cheatPhraseBuffer.empty());

    Config()->Execute("g_disable_cheats");
    game.Frame();
    EXPECT_FALSE(Console()->IsEnabled());
    // Disabling closes it: it slides out.
    EXPECT_TRUE(Console()->GetState() == OrvexEngine::ConsoleClosing ||
                Console()->GetState() == OrvexEngine::ConsoleClosed);
    EXPECT_TRUE(Config()->IsCommandIdle("g_disable_cheats"));

    game.transcript->Clear();
    game.Type("blue harbors");
    EXPECT_TRUE(Console()->IsEnabled());
    EXPECT_EQ(game.transcript->Matching("PrintCheatHelp").size(), 1u);
}

TEST_F(FrameDriverTest, TheCheatHelpIsSixGreenLines) {
    HeadlessGame game(options);
    game.Frame();
    OrvexEngine::MessageManager* log = OrvexEngine::Log();
    log->ClearEntries();
    game.GameBase::PrintCheatHelp();
    const std::string rule(39, '-');
    const std::vector<std::string> expected = {"",
                                               rule,
                                               "- CHEAT MODE ON",
                                               rule,
                                               "- Key \"~\" - toggle console",
                                               "- Console command \"g_disable_cheats\" - cheat mode off"};
    ASSERT_EQ(log->GetEntryCount(), expected.size());
    for (uint32_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(log->GetEntry(i)->type, OrvexEngine::MessageTypeImportant);
        std::string text = log->GetEntry(i)->text;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        EXPECT_EQ(text, expected[i]);
    }
}

TEST_F(FrameDriverTest, AWindowModeChangeIsSeenForTwoFramesThenTheModeIsCompared) {
    HeadlessGame game(options);
    game.Frame();
    Config()->SetCommandIdle("v_window_change_mode", false);
    struct Step {
        bool modeChangePending;
        bool updateVideoModePending;
    };
    // After each frame.
    const Step steps[] = {{true, false}, {false, true}, {false, false}};
    for (const Step& step : steps) {
        game.Frame();
        EXPECT_EQ(!Config()->IsCommandIdle("v_window_change_mode"), step.modeChangePending);
        EXPECT_EQ(!Config()->IsCommandIdle("g_update_video_mode"), step.updateVideoModePending);
    }
    EXPECT_EQ(game.modeChangeCounter, 0);
}

TEST_F(FrameDriverTest, AnUpdateVideoModeWithAChangedModeResetsTheDeviceInTheSameFrame) {
    HeadlessGame game(options);
    game.Frame();
    // Unchanged: compared, nothing to restore.
    Config()->SetCommandIdle("g_update_video_mode", false);
    game.Frame();
    EXPECT_TRUE(Config()->IsCommandIdle("g_update_video_mode"));
    EXPECT_FALSE(game.transcript->Contains("RestoreRenderDevice"));

    Config()->SetValue("v_mode", "800x600x32");
    Config()->SetCommandIdle("g_update_video_mode", false);
    game.Frame();
    EXPECT_TRUE(Config()->IsCommandIdle("g_update_video_mode"));
    EXPECT_EQ(game.transcript->Matching("RestoreRenderDevice").size(), 1u);
    EXPECT_FALSE(OrvexEngine::RenderSystem::Instance()->resetNeeded);
}

TEST_F(FrameDriverTest, ADeviceThatNeedsAResetIsRestoredAndHeldKeysWaitForTheLock) {
    HeadlessGame game(options);
    game.Frame();
    OrvexEngine::RenderSystem::Instance()->resetNeeded = true;
    platform::sim::PushKey(input::KeyB, true);
    game.Frame();
    EXPECT_TRUE(game.transcript->Contains("RestoreRenderDevice"));
    EXPECT_FALSE(OrvexEngine::RenderSystem::Instance()->resetNeeded);
    EXPECT_TRUE(OrvexEngine::Controls::Instance()->IsInputLocked());
    // The key held through the reset does not type.
    EXPECT_TRUE(game.cheatPhraseBuffer.empty());
    platform::sim::PushKey(input::KeyB, false);
}

} // namespace
