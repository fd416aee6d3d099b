// ctest-label: shell
// The whole game as a player goes through it, headless over the generated data: the real application root,
// every real window, clicks on their buttons and typing through the platform's simulation hooks. The
// transcript of the windows that came on screen is the test's record; pictures of the main screens go to
// test-output for a person to look at.
#include "game/shell/Game.h"

#include "engine/core/Console.h"
#include "framework/HighScoresTable.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "game/shell/Profile.h"
#include "platform/input/DirectInput.h"
#include "tests/support/GameSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using VelmoraTest::GameSession;

namespace {

// The lines of `expected` appear in `lines` in this order (others may lie between them).
::testing::AssertionResult InOrder(const std::vector<std::string>& lines,
                                   const std::vector<std::string>& expected) {
    size_t at = 0;
    for (const std::string& line : expected) {
        auto found = std::find(lines.begin() + static_cast<std::ptrdiff_t>(at), lines.end(), line);
        if (found == lines.end())
            return ::testing::AssertionFailure() << "\"" << line << "\" missing after line " << at;
        at = static_cast<size_t>(found - lines.begin()) + 1;
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::wstring> ProfileNames(VelmoraBall::Game& game) {
    std::vector<std::wstring> names;
    for (const GameFramework::ProfileBase* profile : game.profileManager->GetProfiles())
        names.push_back(profile->name);
    return names;
}

void TypeCheatPhrase(GameSession& session) {
    using namespace platform::input;
    static const uint32_t letters[26] = {KeyA, KeyB, KeyC, KeyD, KeyE, KeyF, KeyG, KeyH, KeyI,
                                         KeyJ, KeyK, KeyL, KeyM, KeyN, KeyO, KeyP, KeyQ, KeyR,
                                         KeyS, KeyT, KeyU, KeyV, KeyW, KeyX, KeyY, KeyZ};
    for (const char* at = GameFramework::GameBase::CheatPhrase; *at != '\0'; ++at)
        session.PressKey(*at == ' ' ? KeySpace : letters[*at - 'a']);
}

} // namespace

TEST(WholeGame, FromTheSplashToTheMainMenuThroughTheProfilesAndOutThroughTheExitQuestion) {
    GameSession session;
    ASSERT_TRUE(session.WaitForWindow("welcome", 3000)) << session.TranscriptText();
    EXPECT_TRUE(session.Capture("session-welcome"));

    session.Type("Алиса");
    ASSERT_TRUE(session.Click("welcome", "window_welcome/window/button_1"));
    ASSERT_TRUE(session.WaitForWindow("main menu")) << session.TranscriptText();
    EXPECT_TRUE(session.Capture("session-main-menu"));
    EXPECT_EQ(ProfileNames(session.Game()), std::vector<std::wstring>{L"Алиса"});

    ASSERT_TRUE(session.Click("main menu", "window_main_menu/window/high_scores"));
    ASSERT_TRUE(session.WaitForWindow("high scores")) << session.TranscriptText();
    EXPECT_TRUE(session.Capture("session-high-scores"));
    ASSERT_TRUE(session.Click("high scores", "window_high_scores/window/button_0"));
    ASSERT_TRUE(session.WaitForWindow("main menu")) << session.TranscriptText();

    // Rename: the profile list, its rename button, two more letters, accept.
    ASSERT_TRUE(session.Click("main menu", "window_main_menu/window/change_player"));
    ASSERT_TRUE(session.WaitForWindow("profiles")) << session.TranscriptText();
    ASSERT_TRUE(session.Click("profiles", "window_profiles/window/rename"));
    ASSERT_TRUE(session.WaitForWindow("rename profile")) << session.TranscriptText();
    session.Type(" Б");
    ASSERT_TRUE(session.Click("rename profile", "window_rename_profile/window/button_1"));
    ASSERT_TRUE(session.WaitForWindow("profiles")) << session.TranscriptText();
    EXPECT_EQ(ProfileNames(session.Game()), std::vector<std::wstring>{L"Алиса Б"});

    // Delete the only profile: the game asks for a new one.
    ASSERT_TRUE(session.Click("profiles", "window_profiles/window/delete"));
    ASSERT_TRUE(session.WaitForWindow("delete profile")) << session.TranscriptText();
    ASSERT_TRUE(session.Click("delete profile", "window_delete_profile/window/button_1"));
    ASSERT_TRUE(session.WaitForWindow("new profile")) << session.TranscriptText();
    EXPECT_TRUE(ProfileNames(session.Game()).empty());
    session.Type("Alice");
    ASSERT_TRUE(session.Click("new profile", "window_new_profile/window/button_1"));
    ASSERT_TRUE(session.RunUntil(
        [&] { return session.IsOnScreen("profiles") || session.IsOnScreen("main menu"); }, 600))
        << session.TranscriptText();
    if (session.IsOnScreen("profiles")) {
        session.Frame(75);
        ASSERT_TRUE(session.Click("profiles", "window_profiles/window/done"));
    }
    ASSERT_TRUE(session.WaitForWindow("main menu")) << session.TranscriptText();
    EXPECT_EQ(ProfileNames(session.Game()), std::vector<std::wstring>{L"Alice"});

    ASSERT_TRUE(session.Click("main menu", "window_main_menu/window/exit"));
    ASSERT_TRUE(session.WaitForWindow("exit")) << session.TranscriptText();
    ASSERT_TRUE(session.Click("exit", "window_exit/window/button_1"));
    ASSERT_TRUE(session.RunUntil([&] { return session.Game().IsExitRequested(); }, 600))
        << session.TranscriptText();

    EXPECT_TRUE(
        InOrder(session.Shown(), {"show loading", "show welcome", "show main menu", "show high scores",
                                  "show main menu", "show profiles", "show rename profile", "show profiles",
                                  "show delete profile", "show new profile", "show main menu", "show exit"}))
        << session.TranscriptText();
    // The profile index on disk agrees with what the game shows.
    EXPECT_TRUE(fs::exists(fs::path(session.userDirectory) / "default" / "profiles"));
    // Every name the game looked up was in the data.
    EXPECT_EQ(session.LogErrors(), "");
}

TEST(WholeGame, TheMenusReadInRussian) {
    GameSession session("ru");
    ASSERT_TRUE(session.WaitForWindow("welcome", 3000)) << session.TranscriptText();
    session.Type("Алиса");
    ASSERT_TRUE(session.Click("welcome", "window_welcome/window/button_1"));
    ASSERT_TRUE(session.WaitForWindow("main menu")) << session.TranscriptText();
    EXPECT_TRUE(session.Capture("session-main-menu-ru"));
    EXPECT_EQ(session.LogErrors(), "");
}

namespace {

// A new profile "Alice" in the main menu, with cheat mode on for the key that clears a level at once.
void StartWithCheats(GameSession& session) {
    ASSERT_TRUE(session.WaitForWindow("welcome", 3000)) << session.TranscriptText();
    session.Type("Alice");
    ASSERT_TRUE(session.Click("welcome", "window_welcome/window/button_1"));
    ASSERT_TRUE(session.WaitForWindow("main menu")) << session.TranscriptText();
    TypeCheatPhrase(session);
    ASSERT_TRUE(OrvexEngine::Console::Instance()->IsEnabled());
    // The phrase also opens the console; closed again, it leaves the pictures to the game.
    OrvexEngine::Console::Instance()->Close();
    session.Frame(50);
}

struct PlayRecord {
    int levelsWon = 0;
    bool hudCaptured = false;
    bool levelCompleteCaptured = false;
};

// Plays on from the stage map until `done`: every level is won with the cheat key and left through the
// level-complete window, the map's play button starts the next stage, the game-complete window is closed.
void PlayUntil(GameSession& session, PlayRecord& record, const std::function<bool()>& done) {
    for (int guard = 0; guard < 40 && !done(); ++guard) {
        ASSERT_TRUE(session.RunUntil(
            [&] {
                return done() || session.Game().gameLogic != nullptr || session.IsOnScreen("start") ||
                       session.IsOnScreen("game complete");
            },
            3000))
            << session.TranscriptText();
        if (done())
            return;
        if (session.Game().gameLogic != nullptr) {
            ASSERT_TRUE(session.WaitForWindow("play")) << session.TranscriptText();
            if (!record.hudCaptured) {
                session.Frame(100); // the blocks come down in their cascade
                record.hudCaptured = session.Capture("session-hud");
            }
            session.PressKey(platform::input::KeyF11);
            ASSERT_TRUE(session.WaitForWindow("level complete", 1500)) << session.TranscriptText();
            ++record.levelsWon;
            session.Frame(150); // the time bonus counts up
            if (!record.levelCompleteCaptured)
                record.levelCompleteCaptured = session.Capture("session-level-complete");
            ASSERT_TRUE(session.Click("level complete", "window_level_complete/window/button_0"));
            session.RunUntil([&] { return !session.IsOnScreen("level complete"); }, 600);
        } else if (session.IsOnScreen("start")) {
            ASSERT_TRUE(session.WaitForWindow("start")) << session.TranscriptText();
            if (done())
                return;
            ASSERT_TRUE(session.Click("start", "window_start_game/window/button_1"));
            session.RunUntil([&] { return !session.IsOnScreen("start"); }, 600);
        } else {
            ASSERT_TRUE(session.WaitForWindow("game complete")) << session.TranscriptText();
            EXPECT_TRUE(session.Capture("session-game-complete"));
            ASSERT_TRUE(session.Click("game complete", "window_game_complete/window/button_0"));
            session.RunUntil([&] { return !session.IsOnScreen("game complete"); }, 600);
        }
    }
}

} // namespace

// New profile, the stage map, every level of the first stage won, the stage complete and the map again.
TEST(WholeGame, EveryLevelOfTheFirstStageToTheStageComplete) {
    GameSession session;
    StartWithCheats(session);
    ASSERT_TRUE(session.Click("main menu", "window_main_menu/window/start"));
    ASSERT_TRUE(session.WaitForWindow("start")) << session.TranscriptText();
    EXPECT_TRUE(session.Capture("session-stage-map"));

    const uint32_t firstStageLevels = session.Game().levelManager->stages.at(0)->levelCount;
    PlayRecord record;
    PlayUntil(session, record, [&] {
        return record.levelsWon == static_cast<int>(firstStageLevels) && session.IsOnScreen("start");
    });
    EXPECT_EQ(record.levelsWon, static_cast<int>(firstStageLevels)) << session.TranscriptText();
    EXPECT_TRUE(InOrder(session.Shown(), {"show main menu", "show start", "show level loading", "show play",
                                          "show level complete", "show start"}))
        << session.TranscriptText();
    // The profile moved on to the second stage.
    const GameFramework::ProfileBase* profile = session.Game().profileManager->GetCurrentProfile();
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->furthestPosition.stage, 1u);
    EXPECT_EQ(profile->furthestPosition.level, 0u);
    // Every name the game looked up was in the data.
    EXPECT_EQ(session.LogErrors(), "");
}

// The last stage played through to the end of the game, shown once per profile, and into the high scores.
TEST(WholeGame, TheLastStageToTheEndOfTheGameAndIntoTheHighScores) {
    GameSession session;
    StartWithCheats(session);
    // The map opened up to the last stage, as the "g_open_map" cheat would, with its first level chosen.
    GameFramework::ProfileBase* profile = session.Game().profileManager->GetCurrentProfile();
    ASSERT_NE(profile, nullptr);
    const uint32_t lastStage = static_cast<uint32_t>(session.Game().levelManager->stages.size() - 1);
    profile->currentPosition = {lastStage, 0};
    profile->furthestPosition = {lastStage, 0};
    profile->Save();

    ASSERT_TRUE(session.Click("main menu", "window_main_menu/window/start"));
    PlayRecord record;
    PlayUntil(session, record, [&] { return session.IsOnScreen("high scores"); });
    ASSERT_TRUE(session.WaitForWindow("high scores")) << session.TranscriptText();
    EXPECT_TRUE(session.Capture("session-final-high-scores"));

    EXPECT_EQ(record.levelsWon, static_cast<int>(session.Game().levelManager->stages.back()->levelCount));
    EXPECT_TRUE(InOrder(session.Shown(), {"show start", "show level loading", "show play",
                                          "show level complete", "show game complete", "show high scores"}))
        << session.TranscriptText();
    // Shown once per profile: the flag is cleared and saved.
    EXPECT_EQ(static_cast<const VelmoraBall::Profile*>(profile)->gameCompletePending, 0);
    EXPECT_FALSE(session.Game().highScores->GetEntries().empty());
    // Every name the game looked up was in the data.
    EXPECT_EQ(session.LogErrors(), "");
}
