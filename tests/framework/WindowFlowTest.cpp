// ctest-label: framework
// The window flow driven through a headless application root: every transition of the result-code table
// (the window hidden, the next one shown with the opener's number and its data, the level paused, resumed or
// ended), codes a role does not handle, the life of a result across the three passes of a frame and the
// chains of windows that decide inside their Show, the profile, best time and high score a won or lost level
// leaves on disk, stepping back a level, the per-level data keepers, and the handlers' answers to a missing
// profile or a profile whose level no longer exists.
#include "framework/GameBase.h"

#include "engine/core/Engine.h"
#include "engine/core/MessageManager.h"
#include "engine/core/Timer.h"
#include "framework/GameLogicBase.h"
#include "framework/HighScoresTable.h"
#include "framework/ProfileManagerBase.h"
#include "gametools/DataKeeper.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/HeadlessGame.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// How far a test's root has got before the code under test is set.
enum class Stage {
    Menus,   // the main menu is up and "Bob" is the current profile
    Playing, // a level of Bob's is running behind the active display
    Paused,  // the in-game menu has paused that level
};

class WindowFlowTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        options.gameName =
            std::string("Flow ") + testing::UnitTest::GetInstance()->current_test_info()->name();
        // Test names of parameterised suites carry a "/".
        std::replace(options.gameName.begin(), options.gameName.end(), '/', ' ');
    }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }

    // Runs frames until the logos and loading windows have finished on their own (three frames: the logos
    // decide, the loading window loads, its handler builds the windows). With a profile name, that profile
    // is made current first, so the main menu opens instead of the welcome window.
    std::unique_ptr<HeadlessGame> Boot(const std::wstring& profileName = L"Bob") {
        auto game = std::make_unique<HeadlessGame>(options);
        if (!profileName.empty()) {
            ProfileManagerBase* profiles = game->profileManager;
            profiles->SelectProfile(profiles->GetOrCreateProfile(profileName), true);
        }
        game->Frame(3);
        return game;
    }

    std::unique_ptr<HeadlessGame> BootTo(Stage stage) {
        auto game = Boot();
        if (stage != Stage::Menus)
            StartLevel(*game);
        if (stage == Stage::Paused)
            Pass(*game, "play", GameBase::ResultToGameLogicMenu);
        return game;
    }

    // The role's window gets the code as its Update would set it, then one dispatch-and-clear pass runs.
    // Answers the transcript lines the pass added.
    static Lines Pass(HeadlessGame& game, const std::string& role, int code) {
        GUIFrameworkWindow* window = game.Window(role);
        EXPECT_NE(window, nullptr) << role;
        window->result = code;
        window->resultSeen = true;
        const size_t first = game.transcript->lines.size();
        game.DispatchWindowResults();
        game.ClearWindowResults();
        return Lines(game.transcript->lines.begin() + long(first), game.transcript->lines.end());
    }

    // Main menu play, start play, and the level loaded: the level at the current profile's position runs.
    static void StartLevel(HeadlessGame& game) {
        Pass(game, "main menu", GameBase::ResultPlay);
        Pass(game, "start", GameBase::ResultPlay);
        Pass(game, "level loading", GameBase::ResultDone);
        ASSERT_NE(game.gameLogic, nullptr);
    }

    // The level's update in the next frame takes the state (and score); the frame after hands it over.
    static void FinishLevel(HeadlessGame& game, int state, int score) {
        game.Level()->scriptedScore = score;
        game.Level()->scriptedState = state;
        game.Frame(2);
    }

    static ProfileBase* Current(HeadlessGame& game) { return game.profileManager->GetCurrentProfile(); }

    // The current profile as its file reads back.
    static std::unique_ptr<TestProfile> Reread(HeadlessGame& game) {
        auto copy = std::make_unique<TestProfile>(game.userDataDirectory);
        copy->Load(Current(game)->GetFileName());
        return copy;
    }

    // The engine's log holds an entry of that kind containing the text.
    static bool Logged(OrvexEngine::MessageType type, const std::string& text) {
        OrvexEngine::MessageManager* log = OrvexEngine::Log();
        for (uint32_t i = 0; i < log->GetEntryCount(); ++i)
            if (log->GetEntry(i)->type == type && log->GetEntry(i)->text.find(text) != std::string::npos)
                return true;
        return false;
    }

    HeadlessOptions options;
};

// ---- the transitions table ----

struct Transition {
    const char* role;
    int code;
    Stage stage;
    Lines lines;                                   // what the one pass does to the windows, in order
    std::function<void(HeadlessGame&)> check = {}; // the data handed over, the level, the profile
};

std::ostream& operator<<(std::ostream& out, const Transition& row) {
    return out << row.role << " " << row.code;
}

void LevelState(HeadlessGame& game, int state) {
    ASSERT_NE(game.gameLogic, nullptr);
    EXPECT_EQ(game.gameLogic->state, state);
}

void NoLevel(HeadlessGame& game) {
    EXPECT_EQ(game.gameLogic, nullptr);
}

void ExitRequested(HeadlessGame& game) {
    EXPECT_TRUE(game.IsExitRequested());
}

void NewProfileFlag(HeadlessGame& game, bool flag) {
    EXPECT_EQ(static_cast<StubNewProfileWindow*>(game.newProfileWindow)->lastFlag, flag);
}

const Transition transitions[] = {
    {"logos",
     1,
     Stage::Menus,
     {"hide logos", "show loading 2"},
     [](HeadlessGame& game) { EXPECT_EQ(game.loadingWindow->dataKeeper, game.dataKeeper); }},
    {"welcome", 3, Stage::Menus, {"hide welcome", "show main menu 4"}},
    {"welcome", 4, Stage::Menus, {"hide welcome", "show exit 4"}},
    {"exit", 2, Stage::Menus, {"hide exit", "show welcome 5"}},
    {"exit", 3, Stage::Menus, {"hide exit", "show main menu 5"}},
    {"exit",
     6,
     Stage::Menus,
     {"hide exit", "show new profile 5"},
     [](HeadlessGame& game) { NewProfileFlag(game, false); }},
    // The question stays on screen for the program's last frame.
    {"exit", 23, Stage::Menus, {}, ExitRequested},
    {"main menu", 4, Stage::Menus, {"hide main menu", "show exit 6"}},
    {"main menu", 5, Stage::Menus, {"hide main menu", "show profiles 6"}},
    {"main menu",
     10,
     Stage::Menus,
     {"hide main menu", "show high scores 6"},
     [](HeadlessGame& game) { EXPECT_EQ(game.highScoresWindow->highlightedEntry, nullptr); }},
    {"main menu", 11, Stage::Menus, {"hide main menu", "show options 6"}},
    {"main menu", 12, Stage::Menus, {"hide main menu", "show help 6"}},
    {"profiles", 3, Stage::Menus, {"hide profiles", "show main menu 10"}},
    {"profiles",
     6,
     Stage::Menus,
     {"hide profiles", "show new profile 10"},
     [](HeadlessGame& game) { NewProfileFlag(game, true); }},
    {"new profile", 9, Stage::Menus, {"hide new profile", "show name conflict 11"}},
    {"new profile", 5, Stage::Menus, {"hide new profile", "show profiles 11"}},
    {"new profile", 4, Stage::Menus, {"hide new profile", "show exit 11"}},
    {"rename profile", 9, Stage::Menus, {"hide rename profile", "show name conflict 12"}},
    {"rename profile", 5, Stage::Menus, {"hide rename profile", "show profiles 12"}},
    {"delete profile", 5, Stage::Menus, {"hide delete profile", "show profiles 13"}},
    {"delete profile",
     6,
     Stage::Menus,
     {"hide delete profile", "show new profile 13"},
     [](HeadlessGame& game) { NewProfileFlag(game, true); }},
    {"name conflict",
     6,
     Stage::Menus,
     {"hide name conflict", "show new profile 14"},
     [](HeadlessGame& game) { NewProfileFlag(game, false); }},
    {"start", 3, Stage::Menus, {"hide start", "show main menu 15"}},
    {"start",
     24,
     Stage::Menus,
     {"hide start", "show level loading 15"},
     [](HeadlessGame& game) {
         ASSERT_NE(game.currentLevelData, nullptr);
         EXPECT_EQ(game.gameLogicLoadingWindow->dataKeeper, game.currentLevelData);
     }},
    {"level loading",
     1,
     Stage::Menus,
     {"hide level loading", "cursor shown", "level created 0-0 lives 3", "active play 1", "show play 16"},
     [](HeadlessGame& game) {
         ASSERT_NE(game.gameLogic, nullptr);
         EXPECT_EQ(game.Play()->gameLogic, game.gameLogic);
     }},
    {"continue", 3, Stage::Menus, {"hide continue", "show main menu 21"}},
    {"continue", 14, Stage::Menus, {"hide continue", "show start 21"}},
    {"high scores", 3, Stage::Menus, {"hide high scores", "show main menu 7"}},
    {"options", 3, Stage::Menus, {"hide options", "show main menu 8"}},
    {"help", 3, Stage::Menus, {"hide help", "show main menu 9"}},
    // Play opens its windows over the display, which stays shown but inactive.
    {"play",
     16,
     Stage::Playing,
     {"active play 0", "show menu 17"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StatePaused); }},
    {"play",
     15,
     Stage::Playing,
     {"active play 0", "show pause 17"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StatePaused); }},
    {"play",
     4,
     Stage::Playing,
     {"active play 0", "show game exit 17"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StatePaused); }},
    {"pause",
     19,
     Stage::Paused,
     {"hide pause", "active play 1"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StateRunning); }},
    {"menu",
     19,
     Stage::Paused,
     {"hide menu", "active play 1"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StateRunning); }},
    {"menu",
     18,
     Stage::Paused,
     {"hide menu", "show menu exit 18"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StatePaused); }},
    {"menu", 17, Stage::Paused, {"hide menu", "show restart 18"}},
    {"menu exit", 16, Stage::Paused, {"hide menu exit", "show menu 20"}},
    {"menu exit",
     3,
     Stage::Paused,
     {"hide menu exit", "hide play", "level deleted", "show main menu 20"},
     NoLevel},
    {"restart", 16, Stage::Paused, {"hide restart", "show menu 19"}},
    {"restart",
     20,
     Stage::Paused,
     {"hide restart", "show game over 19"},
     [](HeadlessGame& game) { EXPECT_NE(game.gameLogic, nullptr); }},
    {"restart", 13, Stage::Paused, {"hide restart", "hide play", "level deleted", "show start 19"}, NoLevel},
    {"game exit",
     19,
     Stage::Paused,
     {"hide game exit", "active play 1"},
     [](HeadlessGame& game) { LevelState(game, GameLogicBase::StateRunning); }},
    {"game exit", 23, Stage::Paused, {}, ExitRequested},
    {"level complete",
     13,
     Stage::Playing,
     {"hide level complete", "hide play", "level deleted", "show start 22"},
     NoLevel},
    // The level stays behind the stage-complete window, which is told where it was.
    {"level complete",
     21,
     Stage::Playing,
     {"hide level complete", "show stage complete 22"},
     [](HeadlessGame& game) {
         EXPECT_NE(game.gameLogic, nullptr);
         EXPECT_EQ(game.stageCompleteWindow->position, game.gameLogic->GetPosition());
     }},
    {"stage complete",
     13,
     Stage::Playing,
     {"hide stage complete", "hide play", "level deleted", "show start 23"},
     NoLevel},
    {"stage complete",
     22,
     Stage::Playing,
     {"hide stage complete", "hide play", "level deleted", "show game complete 23"},
     NoLevel},
    // Without points no score is entered: straight to the main menu.
    {"game complete", 1, Stage::Menus, {"hide game complete", "show main menu 24"}},
    {"game over",
     1,
     Stage::Playing,
     {"hide game over", "show main menu 25", "hide play", "level deleted"},
     NoLevel},
    {"game over", 17, Stage::Playing, {"hide game over", "show restart 25"}},
};

class WindowFlowTransitionTest : public WindowFlowTest, public testing::WithParamInterface<Transition> {};

TEST_P(WindowFlowTransitionTest, TheHandlerHidesTheWindowAndOpensTheNextWithItsNumber) {
    const Transition& row = GetParam();
    auto game = BootTo(row.stage);
    EXPECT_EQ(Pass(*game, row.role, row.code), row.lines);
    EXPECT_EQ(game->Window(row.role)->result, 0) << "the clearing pass ends every handled code";
    if (row.check)
        row.check(*game);
    if (row.code != GameBase::ResultQuit) {
        EXPECT_FALSE(game->engine->IsExitRequested());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, WindowFlowTransitionTest, testing::ValuesIn(transitions),
                         [](const testing::TestParamInfo<Transition>& param) {
                             std::string name =
                                 std::string(param.param.role) + "_" + std::to_string(param.param.code);
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(WindowFlowTest, TheProfileWindowsHandOnTheSelectedNameAndTheRenameKeepsItAcrossAConflict) {
    auto game = BootTo(Stage::Menus);
    game->profilesWindow->selectedName = L"Ann";
    EXPECT_EQ(Pass(*game, "profiles", 7), (Lines{"hide profiles", "show rename profile 10"}));
    EXPECT_EQ(game->renameProfileWindow->oldName, L"Ann");
    EXPECT_EQ(Pass(*game, "rename profile", 9), (Lines{"hide rename profile", "show name conflict 12"}));
    EXPECT_EQ(Pass(*game, "name conflict", 7), (Lines{"hide name conflict", "show rename profile 14"}));
    EXPECT_EQ(game->renameProfileWindow->oldName, L"Ann");

    game->profilesWindow->selectedName = L"Cid";
    EXPECT_EQ(Pass(*game, "profiles", 8), (Lines{"hide profiles", "show delete profile 10"}));
    EXPECT_EQ(game->deleteProfileWindow->name, L"Cid");
}

// Main menu play leads to the continue question while a game is under way, and otherwise starts a new
// game: 3 lives, no points.
TEST_F(WindowFlowTest, PlayFromTheMainMenuContinuesAGameInProgressOrResetsTheProfile) {
    auto game = BootTo(Stage::Menus);
    ProfileBase* bob = Current(*game);
    bob->lives = 1;
    bob->scoreTotal = 900;
    bob->gameInProgress = true;
    EXPECT_EQ(Pass(*game, "main menu", 24), (Lines{"hide main menu", "show continue 6"}));
    EXPECT_EQ(bob->lives, 1u);
    EXPECT_EQ(bob->scoreTotal, 900u);

    // Continue 13 gives the game up: the flag is cleared on disk and the new game starts from scratch.
    EXPECT_EQ(Pass(*game, "continue", 13), (Lines{"hide continue", "show start 21"}));
    EXPECT_FALSE(bob->gameInProgress);
    EXPECT_FALSE(Reread(*game)->gameInProgress);
    EXPECT_EQ(bob->lives, 3u);
    EXPECT_EQ(bob->scoreTotal, 0u);

    bob->lives = 1;
    bob->scoreTotal = 900;
    EXPECT_EQ(Pass(*game, "start", 3), (Lines{"hide start", "show main menu 15"}));
    EXPECT_EQ(Pass(*game, "main menu", 24), (Lines{"hide main menu", "show start 6"}));
    EXPECT_EQ(bob->lives, 3u);
    EXPECT_EQ(bob->scoreTotal, 0u);
}

// Every role with a code it does not list: nothing happens, and the clearing pass ends the code.
TEST_F(WindowFlowTest, ACodeTheRoleDoesNotHandleChangesNothingAndIsCleared) {
    const std::pair<const char*, std::set<int>> handled[] = {
        {"logos", {1}},
        {"loading", {1}},
        {"welcome", {3, 4}},
        {"exit", {2, 3, 6, 23}},
        {"main menu", {4, 5, 10, 11, 12, 24}},
        {"profiles", {3, 6, 7, 8}},
        {"level loading", {1}},
        {"new profile", {4, 5, 9}},
        {"rename profile", {5, 9}},
        {"delete profile", {5, 6}},
        {"name conflict", {6, 7}},
        {"start", {3, 24}},
        {"continue", {3, 13, 14}},
        {"high scores", {3}},
        {"options", {3}},
        {"help", {3}},
        {"play", {4, 15, 16}},
        {"pause", {19}},
        {"menu", {17, 18, 19}},
        {"menu exit", {3, 16}},
        {"restart", {13, 16, 20}},
        {"game exit", {19, 23}},
        {"level complete", {13, 21}},
        {"stage complete", {13, 22}},
        {"game complete", {1}},
        {"game over", {1, 17}},
    };
    auto game = BootTo(Stage::Paused);
    GameLogicBase* level = game->gameLogic;
    for (const auto& [role, codes] : handled) {
        for (int code : {-1, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                         14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 99}) {
            if (codes.count(code) != 0)
                continue;
            EXPECT_EQ(Pass(*game, role, code), Lines{}) << role << " " << code;
            EXPECT_EQ(game->Window(role)->result, 0) << role << " " << code;
        }
    }
    EXPECT_EQ(game->gameLogic, level);
    EXPECT_EQ(level->state, GameLogicBase::StatePaused);
    EXPECT_FALSE(game->engine->IsExitRequested());
}

// ---- results across frames and passes ----

TEST_F(WindowFlowTest, ACodeSetInAnUpdateIsHandledOnceInTheFirstPassOfTheNextFrame) {
    auto game = BootTo(Stage::Menus);
    game->Decide("main menu", GameBase::ResultToHighScores);
    game->Frame(); // the main menu's Update sets the code after this frame's passes
    EXPECT_EQ(game->mainMenuWindow->result, GameBase::ResultToHighScores);
    EXPECT_FALSE(game->transcript->Contains("show high scores 6"));

    game->transcript->Clear();
    game->transcript->recordUpdates = true;
    game->Frame();
    const Lines& lines = game->transcript->lines;
    const size_t firstClear = game->transcript->Find("ClearWindowResults");
    const size_t shown = game->transcript->Find("show high scores 6");
    ASSERT_NE(shown, std::string::npos);
    EXPECT_LT(shown, firstClear) << game->transcript->Text();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "show high scores 6"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "DispatchWindowResults"), 3);
    EXPECT_EQ(game->mainMenuWindow->result, 0);
}

// Level complete 21 opens the stage-complete window, which decides inside its Show, and so does the
// game-complete window it opens: both come later in the dispatch order, so the whole chain runs in the
// first pass of one frame, and each code is handled once.
TEST_F(WindowFlowTest, WindowsThatDecideInTheirShowCompleteTheChainWithinOneFrame) {
    auto game = BootTo(Stage::Playing);
    Current(*game)->scoreTotal = 400;
    game->Stub("stage complete")->decideInShow = GameBase::ResultToGameComplete;
    game->Stub("game complete")->decideInShow = GameBase::ResultDone;
    game->Decide("level complete", GameBase::ResultToStageComplete);
    game->levelCompleteWindow->Show(GameBase::ModeGameLogic);
    game->Frame();

    game->transcript->Clear();
    game->Frame();
    const Lines expected = {
        "hide level complete", "show stage complete 22", "result stage complete 22", "hide stage complete",
        "hide play",           "level deleted",          "show game complete 23",    "result game complete 1",
        "hide game complete",  "show high scores 24",
    };
    Lines flow;
    for (const std::string& line : game->transcript->lines)
        if (line.rfind("hide ", 0) == 0 || line.rfind("show ", 0) == 0 || line.rfind("result ", 0) == 0 ||
            line.rfind("level ", 0) == 0)
            flow.push_back(line);
    EXPECT_EQ(flow, expected);
    ASSERT_NE(game->highScoresWindow->highlightedEntry, nullptr);
    EXPECT_EQ(game->highScoresWindow->highlightedEntry->score, 400u);
    EXPECT_EQ(game->highScores->CountEntries(0), 1u);
}

// A window that decides in its Show but comes before its opener in the dispatch order keeps its code over
// the clearing pass and is handled in the next pass of the same frame, once.
TEST_F(WindowFlowTest, AnEarlierRoleThatDecidesInItsShowIsHandledInTheNextPass) {
    auto game = BootTo(Stage::Paused);
    game->Stub("restart")->decideInShow = GameBase::ResultToGameLogicMenu;
    game->gameOverWindow->result = GameBase::ResultToRestart;
    game->transcript->Clear();
    game->transcript->recordUpdates = true;
    game->Frame();
    const Transcript& t = *game->transcript;
    const size_t restartShown = t.Find("show restart 25");
    const size_t firstClear = t.Find("ClearWindowResults");
    const size_t menuShown = t.Find("show menu 19");
    ASSERT_NE(restartShown, std::string::npos) << t.Text();
    ASSERT_NE(menuShown, std::string::npos) << t.Text();
    EXPECT_LT(restartShown, firstClear);
    EXPECT_GT(menuShown, firstClear);
    EXPECT_LT(menuShown, t.Find("ClearWindowResults", firstClear + 1));
    EXPECT_EQ(std::count(t.lines.begin(), t.lines.end(), "show menu 19"), 1);
    EXPECT_EQ(game->gameLogicRestartWindow->result, 0);
}

// ---- a level won or lost ----

TEST_F(WindowFlowTest, AWonLevelMovesTheProfileOnAndRecordsTheTimeOnDisk) {
    auto game = BootTo(Stage::Playing);
    ProfileBase* bob = Current(*game);
    bob->scoreTotal = 100;
    game->Level()->lives = 2;
    game->Level()->levelTimer->SetTime(42.5f);
    game->transcript->Clear();
    FinishLevel(*game, GameLogicBase::StateWon, 250);

    EXPECT_EQ(game->transcript->Matching("show ").size(), 1u) << game->transcript->Text();
    EXPECT_TRUE(game->transcript->Contains("active play 0"));
    EXPECT_TRUE(game->transcript->Contains("show level complete 17"));
    EXPECT_FALSE(game->transcript->Contains("hide play"));
    ASSERT_NE(game->gameLogic, nullptr) << "the won level stays behind the level-complete window";
    EXPECT_EQ(game->gameLogic->GetScore(), 0) << "its points moved into the profile";
    EXPECT_EQ(game->levelCompleteWindow->position, (LevelPosition{0, 0}));
    EXPECT_FLOAT_EQ(game->levelCompleteWindow->time, 42.5f);

    const auto saved = Reread(*game);
    EXPECT_EQ(saved->currentPosition, (LevelPosition{0, 1}));
    EXPECT_EQ(saved->furthestPosition, (LevelPosition{0, 1}));
    EXPECT_FALSE(saved->IsCompleted());
    EXPECT_EQ(saved->lives, 2u);
    EXPECT_EQ(saved->scoreTotal, 350u);
    EXPECT_TRUE(saved->gameInProgress);
    ASSERT_EQ(saved->GetLevelResults().size(), 1u);
    const LevelResult& result = *saved->GetLevelResults()[0];
    EXPECT_EQ(result.tableKey, 0u);
    EXPECT_EQ(result.stageIndex, 0u);
    EXPECT_EQ(result.levelIndex, 0u);
    EXPECT_FLOAT_EQ(result.time, 42.5f);

    // The best time is in the index file under Bob's name.
    TestProfileManager index(nullptr, game->userDataDirectory);
    std::wstring holder;
    float best = 0;
    ASSERT_TRUE(index.FindBestResult(LevelPosition{0, 0}, 0, holder, best));
    EXPECT_EQ(holder, L"Bob");
    EXPECT_FLOAT_EQ(best, 42.5f);

    // The state change is handed over once: later frames add nothing.
    game->transcript->Clear();
    game->Frame(2);
    EXPECT_TRUE(game->transcript->Matching("show ").empty()) << game->transcript->Text();
}

TEST_F(WindowFlowTest, WinningTheLastLevelFinishesTheGameAndKeepsThePosition) {
    auto game = Boot();
    Current(*game)->currentPosition = LevelPosition{1, 1}; // the last level of the last stage
    StartLevel(*game);
    FinishLevel(*game, GameLogicBase::StateWon, 10);

    ASSERT_TRUE(game->transcript->Contains("show level complete 17"));
    const auto saved = Reread(*game);
    EXPECT_EQ(saved->currentPosition, (LevelPosition{1, 1}));
    EXPECT_EQ(saved->furthestPosition, (LevelPosition{1, 1}));
    EXPECT_TRUE(saved->IsCompleted());
    EXPECT_FALSE(saved->gameInProgress);
}

TEST_F(WindowFlowTest, ALostLevelEndsTheGameInProgressAndWaitsBehindTheGameOverWindow) {
    auto game = BootTo(Stage::Playing);
    Current(*game)->gameInProgress = true;
    Current(*game)->Save();
    game->transcript->Clear();
    FinishLevel(*game, GameLogicBase::StateLost, 70);

    EXPECT_TRUE(game->transcript->Contains("active play 0"));
    EXPECT_TRUE(game->transcript->Contains("show game over 17"));
    EXPECT_EQ(game->transcript->Matching("show ").size(), 1u) << game->transcript->Text();
    EXPECT_FALSE(Reread(*game)->gameInProgress);
    ASSERT_NE(game->gameLogic, nullptr);
    EXPECT_EQ(game->gameLogic->GetScore(), 70) << "the lost level's points wait for the game-over handler";
}

// The score of a lost game is the profile's total plus the lost level's points; only a score enters the
// high scores, and the high-score window highlights the new entry when it stayed in the table.
TEST_F(WindowFlowTest, GameOverEntersTheTotalAndTheLevelsPoints) {
    struct Case {
        uint32_t total;
        int levelScore;
        Lines lines;
        uint32_t entered; // 0: no entry
    };
    const Case cases[] = {
        {0, 0, {"hide game over", "show main menu 25", "hide play", "level deleted"}, 0},
        {0, 300, {"hide game over", "show high scores 25", "hide play", "level deleted"}, 300},
        {200, 50, {"hide game over", "show high scores 25", "hide play", "level deleted"}, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + " + " + std::to_string(c.levelScore));
        options.gameName = "Flow game over " + std::to_string(c.total) + " " + std::to_string(c.levelScore);
        auto game = BootTo(Stage::Playing);
        Current(*game)->scoreTotal = c.total;
        game->gameLogic->SetScore(c.levelScore);
        EXPECT_EQ(Pass(*game, "game over", 1), c.lines);
        if (c.entered == 0) {
            EXPECT_EQ(game->highScores->CountEntries(0), 0u);
            continue;
        }
        HighScoreEntry* entry = game->highScoresWindow->highlightedEntry;
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->name, L"Bob");
        EXPECT_EQ(entry->score, c.entered);
        HighScoresTable reread(10, game->userDataDirectory);
        ASSERT_EQ(reread.CountEntries(0), 1u);
        EXPECT_EQ(reread.GetEntry(0, 0)->score, c.entered);
    }
}

TEST_F(WindowFlowTest, AFinishedGameWhoseScoreDoesNotStayInTheTableOpensTheHighScoresWithoutAnEntry) {
    auto game = BootTo(Stage::Menus);
    for (int i = 0; i < 10; ++i)
        game->highScores->AddEntry(L"Ace", 0, 5000);
    Current(*game)->scoreTotal = 10;
    EXPECT_EQ(Pass(*game, "game complete", 1), (Lines{"hide game complete", "show high scores 24"}));
    EXPECT_EQ(game->highScoresWindow->highlightedEntry, nullptr);
}

// ---- stepping back ----

TEST_F(WindowFlowTest, StepBackGoesToThePreviousLevelAcrossStagesAndRestartsThroughTheStartWindow) {
    // The headless level list: stage 0 with three levels, stage 1 with two.
    const std::pair<LevelPosition, LevelPosition> cases[] = {
        {{0, 0}, {0, 0}},
        {{0, 2}, {0, 1}},
        {{1, 0}, {0, 2}},
        {{1, 1}, {1, 0}},
    };
    for (const auto& [played, back] : cases) {
        const std::string position = std::to_string(played.stage) + "-" + std::to_string(played.level);
        SCOPED_TRACE(position);
        options.gameName = "Flow step back " + position;
        auto game = Boot();
        Current(*game)->currentPosition = played;
        StartLevel(*game);
        game->transcript->Clear();
        game->StepBackLevel();
        EXPECT_EQ(game->transcript->lines, (Lines{"hide play", "level deleted", "show start 6"}));
        EXPECT_EQ(game->gameLogic, nullptr);
        EXPECT_EQ(Current(*game)->currentPosition, back);
        EXPECT_EQ(Reread(*game)->currentPosition, back);
    }
}

// ---- the per-level data ----

// A per-level keeper that counts the keepers alive.
class CountedKeeper : public GameTools::DataKeeper {
public:
    explicit CountedKeeper(int* alive) : DataKeeper("en"), alive(alive) { ++*alive; }
    ~CountedKeeper() override { --*alive; }
    int* alive;
};

class KeeperCountingGame : public HeadlessGame {
public:
    using HeadlessGame::HeadlessGame;
    GameTools::DataKeeper* CreateGameLogicData(StageInfo*, LevelInfo*) override {
        made.push_back(new CountedKeeper(&alive));
        return made.back();
    }
    std::vector<GameTools::DataKeeper*> made; // not owned
    int alive = 0;
};

// The levels' resource lists: stage 1's levels need one besides the common ones.
class ListingLevelManager : public StubLevelManager {
public:
    void GetLevelResources(const LevelPosition& position, std::vector<std::string>& lists) override {
        if (position.stage == 1)
            lists.push_back("data\\environment\\test_resources.xml");
    }
};

TEST_F(WindowFlowTest, EachStartMakesTheLevelsKeeperAndDeletesTheOneOfTwoStartsAgo) {
    KeeperCountingGame game(options);
    game.profileManager->SelectProfile(game.profileManager->GetOrCreateProfile(L"Bob"), true);
    game.Frame(3);
    for (int start = 1; start <= 3; ++start) {
        StartLevel(game);
        Pass(game, "menu exit", GameBase::ResultToMainMenu); // leave the level to the main menu
        EXPECT_EQ(game.alive, std::min(start, 2)) << "start " << start;
        EXPECT_EQ(game.currentLevelData, game.made.back());
        if (start >= 2) {
            EXPECT_EQ(game.previousLevelData, game.made[size_t(start) - 2]);
        }
    }
}

TEST_F(WindowFlowTest, TheLevelsResourceListsAreQueuedIntoItsNewKeeper) {
    auto game = std::make_unique<HeadlessGame>(options);
    delete game->levelManager;
    game->levelManager = new ListingLevelManager();
    WriteFileBytes(
        fs::path(game->installationDirectory) / "data/environment/test_resources.xml",
        "<resources><scenery><model name=\"hill\" file_name=\"hill.mlf\"/></scenery></resources>\n");
    game->profileManager->SelectProfile(game->profileManager->GetOrCreateProfile(L"Bob"), true);
    game->Frame(3);

    Pass(*game, "main menu", GameBase::ResultPlay);
    Pass(*game, "start", GameBase::ResultPlay);
    ASSERT_NE(game->currentLevelData, nullptr);
    EXPECT_TRUE(game->currentLevelData->GetJobQueue().empty()) << "stage 0 needs no list of its own";

    Pass(*game, "level loading", GameBase::ResultDone);
    Pass(*game, "menu exit", GameBase::ResultToMainMenu);
    Current(*game)->currentPosition = LevelPosition{1, 0};
    Pass(*game, "main menu", GameBase::ResultPlay);
    Pass(*game, "start", GameBase::ResultPlay);
    ASSERT_EQ(game->currentLevelData->GetJobQueue().size(), 1u);
    EXPECT_EQ(game->currentLevelData->GetJobQueue()[0]->name, "scenery/hill");
    EXPECT_TRUE(game->previousLevelData->GetJobQueue().empty());
}

// ---- a profile that is missing or names no level ----

// The handlers that need the current profile leave their window and its code alone without one.
TEST_F(WindowFlowTest, WithoutACurrentProfileTheStepsThatNeedOneDoNothing) {
    const std::pair<const char*, int> steps[] = {
        {"main menu", GameBase::ResultPlay},
        {"start", GameBase::ResultPlay},
        {"continue", GameBase::ResultStartLevel},
        {"level loading", GameBase::ResultDone},
    };
    auto game = Boot(L"");
    ASSERT_EQ(Current(*game), nullptr);
    ASSERT_TRUE(game->transcript->Contains("show welcome 3"));
    for (const auto& [role, code] : steps) {
        OrvexEngine::Log()->ClearEntries();
        EXPECT_EQ(Pass(*game, role, code), Lines{}) << role;
        EXPECT_EQ(game->gameLogic, nullptr) << role;
        EXPECT_TRUE(Logged(OrvexEngine::MessageTypeError, "No current profile")) << role;
    }
    EXPECT_EQ(game->currentLevelData, nullptr);
}

// A level list with a stage that has no levels: stepping back passes over it, and a list without any level
// starts nothing.
TEST_F(WindowFlowTest, StagesWithoutLevelsArePassedOverAndAnEmptyListStartsNothing) {
    auto withList = [this](const std::string& levelsXml) {
        auto game = std::make_unique<HeadlessGame>(options);
        WriteFileBytes(fs::path(game->installationDirectory) / "data/levels/levels.xml", levelsXml);
        delete game->levelManager;
        game->levelManager = new StubLevelManager();
        game->profileManager->SelectProfile(game->profileManager->GetOrCreateProfile(L"Bob"), true);
        game->Frame(3);
        return game;
    };
    {
        auto game = withList("<levels><a><l/></a><b/><c><l/></c></levels>\n");
        Current(*game)->currentPosition = LevelPosition{2, 0};
        StartLevel(*game);
        game->StepBackLevel();
        EXPECT_EQ(Current(*game)->currentPosition, (LevelPosition{0, 0}));
    }
    {
        options.gameName += " empty";
        auto game = withList("<levels><a/></levels>\n");
        OrvexEngine::Log()->ClearEntries();
        Pass(*game, "main menu", GameBase::ResultPlay);
        EXPECT_EQ(Pass(*game, "start", GameBase::ResultPlay), Lines{});
        EXPECT_EQ(game->currentLevelData, nullptr);
        EXPECT_TRUE(Logged(OrvexEngine::MessageTypeError, "level list is empty"));
    }
}

TEST_F(WindowFlowTest, AProfilePositionOutsideTheLevelListStartsTheFirstLevel) {
    auto game = Boot();
    Current(*game)->currentPosition = LevelPosition{7, 4};
    StartLevel(*game);
    EXPECT_TRUE(game->transcript->Contains("level created 0-0 lives 3"));
    EXPECT_EQ(Current(*game)->currentPosition, (LevelPosition{0, 0}));
    EXPECT_TRUE(Logged(OrvexEngine::MessageTypeWarning, "level 8-5 does not exist"));
}

// ---- a whole session ----

// The first start: a profile made in the welcome window, a level won and left through the level-complete
// and stage-complete windows, then a lost level entering the high scores, and the program left through the
// exit question. Every window the player passes shows in the transcript; the files read back.
TEST_F(WindowFlowTest, AScriptedSessionFromTheFirstStartToTheExit) {
    auto game = Boot(L"");
    ASSERT_TRUE(game->transcript->Contains("show welcome 3"));
    game->welcomeWindow->CreateProfile(L"Bob");
    auto act = [&game](const char* role, int code) {
        game->Decide(role, code);
        game->Frame(2);
    };
    act("welcome", GameBase::ResultToMainMenu);
    act("main menu", GameBase::ResultPlay);
    act("start", GameBase::ResultPlay);
    game->Frame(2); // the level loads and reports done; the next frame starts it
    ASSERT_NE(game->Level(), nullptr) << game->transcript->Text();
    game->Level()->levelTimer->SetTime(30.0f);
    FinishLevel(*game, GameLogicBase::StateWon, 120);
    // The stage-complete window goes on at once with the next level.
    game->Stub("stage complete")->decideInShow = GameBase::ResultStartLevel;
    act("level complete", GameBase::ResultToStageComplete);
    act("start", GameBase::ResultPlay);
    game->Frame(2);
    ASSERT_NE(game->Level(), nullptr) << game->transcript->Text();
    FinishLevel(*game, GameLogicBase::StateLost, 80);
    act("game over", GameBase::ResultDone);
    act("high scores", GameBase::ResultToMainMenu);
    act("main menu", GameBase::ResultToExit);
    act("exit", GameBase::ResultQuit);
    EXPECT_TRUE(game->IsExitRequested());

    const Lines shown = game->transcript->Matching("show ");
    const Lines expected = {
        "show logos 1",           "show loading 2",        "show welcome 3",        "show main menu 4",
        "show start 6",           "show level loading 15", "show play 16",          "show level complete 17",
        "show stage complete 22", "show start 23",         "show level loading 15", "show play 16",
        "show game over 17",      "show high scores 25",   "show main menu 7",      "show exit 6",
    };
    EXPECT_EQ(shown, expected) << game->transcript->Text();
    EXPECT_EQ(game->transcript->Matching("level created"),
              (Lines{"level created 0-0 lives 3", "level created 0-1 lives 3"}));

    const auto saved = Reread(*game);
    EXPECT_EQ(saved->name, L"Bob");
    EXPECT_EQ(saved->currentPosition, (LevelPosition{0, 1}));
    EXPECT_EQ(saved->furthestPosition, (LevelPosition{0, 1}));
    EXPECT_EQ(saved->scoreTotal, 120u);
    EXPECT_FALSE(saved->gameInProgress);
    ASSERT_EQ(saved->GetLevelResults().size(), 1u);
    EXPECT_FLOAT_EQ(saved->GetLevelResults()[0]->time, 30.0f);

    TestProfileManager index(nullptr, game->userDataDirectory);
    ASSERT_NE(index.GetCurrentProfile(), nullptr);
    EXPECT_EQ(index.GetCurrentProfile()->name, L"Bob");
    std::wstring holder;
    float best = 0;
    EXPECT_TRUE(index.FindBestResult(LevelPosition{0, 0}, 0, holder, best));
    EXPECT_EQ(holder, L"Bob");

    HighScoresTable scores(10, game->userDataDirectory);
    ASSERT_EQ(scores.CountEntries(0), 1u);
    EXPECT_EQ(scores.GetEntry(0, 0)->name, L"Bob");
    EXPECT_EQ(scores.GetEntry(0, 0)->score, 200u);
}

} // namespace
