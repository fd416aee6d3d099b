// ctest-label: shell
// The windows that close a level or a game on small fixture descriptions over a level list of two stages:
// the level-complete times and labels, the time bonus counted up once its value has faded in (its effect,
// its total, the rest added by an early click, the profile saved with it), the best time and its holder
// (also when none is on record), the result at the end of a stage; the game-complete window shown once or
// answering at once, game over, and the offer to continue a game.
#include "game/shell/GUIContinueGameLogicWindow.h"
#include "game/shell/GUIGameCompleteWindow.h"
#include "game/shell/GUIGameOverWindow.h"
#include "game/shell/GUILevelCompleteWindow.h"
#include "game/shell/LevelManager.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIWindowControl.h"
#include "tests/game/shell/InGameWindowFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VelmoraBall;
using GameFramework::LevelPosition;
using OrvexEngine::GUIButton;

namespace {

const char* const Mounts = "<window name=\"title_mount_animated\" fader=\"quick\"/>"
                           "<window name=\"title_mount_static\" fader=\"quick\"/>";

std::string LevelCompleteDescription() {
    std::string labels;
    for (const char* name : {"your_time", "ace_time", "time_bonus_static", "no_time_bonus_static",
                             "best_time", "best_time_static_0"})
        labels += "<text_label name=\"" + std::string(name) + "\" fader=\"quick\"/>";
    // The bonus fades in over half a second; its holder's label names the holder.
    labels += "<text_label name=\"time_bonus\" fader=\"slow\"/>"
              "<text_label name=\"best_time_static_1\" text=\"'set by %PROFILE_NAME%'\" fader=\"quick\"/>";
    return std::string("<window name=\"window_level_complete\" fader=\"quick\">") + Mounts +
           "<window name=\"window\" fader=\"quick\">" + labels +
           "<button name=\"button_0\" fader=\"quick\"/></window></window>";
}

class EndOfLevel : public VelmoraTest::InGameWindowFixture {
protected:
    EndOfLevel() {
        Describe("faders", "<faders><fader name=\"quick\" show_speed=\"10\" hide_speed=\"10\"/>"
                           "<fader name=\"slow\" show_speed=\"2\" hide_speed=\"10\"/></faders>");
        Describe("window_level_complete", LevelCompleteDescription());
        Describe("window_game_complete",
                 "<window name=\"window_game_complete\" fader=\"quick\">"
                 "<window name=\"window\" fader=\"quick\"><button name=\"button_0\" fader=\"quick\"/>"
                 "</window></window>");
        Describe("window_game_over",
                 std::string("<window name=\"window_game_over\" fader=\"quick\">") + Mounts +
                     "<window name=\"window\" fader=\"quick\"><button name=\"button_0\" fader=\"quick\"/>"
                     "</window></window>");
        Describe("window_continue_game_logic",
                 "<window name=\"window_continue_game_logic\" fader=\"quick\"><window name=\"window\" "
                 "fader=\"quick\">"
                 "<text_label name=\"level\" fader=\"quick\"/><text_label name=\"score\" fader=\"quick\"/>"
                 "<button name=\"button_0\" fader=\"quick\"/><button name=\"button_1\" fader=\"quick\"/>"
                 "<button name=\"button_2\" fader=\"quick\"/></window></window>");
        const std::string levelList =
            "<levels><stage environment=\"meadow\"><level ace_time=\"60\"/>"
            "<level ace_time=\"95\"/><level/></stage>"
            "<stage environment=\"dunes\"><level/><level ace_time=\"-5\"/></stage></levels>";
        services.data.Save("levels/levels.xml", std::vector<uint8_t>(levelList.begin(), levelList.end()));
        levels = std::make_unique<LevelManager>();
    }
    ~EndOfLevel() override { windows.clear(); }

    void Build() {
        ReadDescriptions();
        levelComplete = Keep(std::make_unique<GUILevelCompleteWindow>(
            audio.get(), levels.get(), profiles.get(), data.get(), tools.get(), manager.get(), nullptr));
        gameComplete = Keep(std::make_unique<GUIGameCompleteWindow>(audio.get(), data.get(), tools.get(),
                                                                    manager.get(), nullptr));
        gameOver = Keep(std::make_unique<GUIGameOverWindow>(audio.get(), data.get(), tools.get(),
                                                            manager.get(), nullptr));
        continueGame = Keep(std::make_unique<GUIContinueGameLogicWindow>(
            audio.get(), profiles.get(), data.get(), tools.get(), manager.get(), nullptr));
    }
    // The level-complete window opened as the flow opens it, after the time has been submitted.
    void Complete(LevelPosition position, float time) {
        profiles->SubmitBestResult(position, Profile()->name, Profile()->tableKey, time);
        levelComplete->Show(17, position, time);
    }
    std::wstring Text(const std::string& path) const {
        return levelComplete->GetTextControl("window_level_complete/window/" + path)->text;
    }
    bool Enabled(const GUIMenuWindow& window, const std::string& path) const {
        const std::vector<GUITools::GUIControl*>& controls = window.GetControls();
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i]->GetName() == window.GetName() + path)
                return window.GetEnabled()[i];
        ADD_FAILURE() << "no control " << path;
        return false;
    }
    static GUIButton* Button(GUIMenuWindow& window, int index) {
        return window.GetButton(window.GetName() + "/window/button_" + std::to_string(index));
    }
    // Clicks the button for one update of the window alone.
    static int Click(GUIMenuWindow& window, GameFramework::GUIFrameworkWindow& flow, int index) {
        Button(window, index)->clicked = true;
        flow.Update();
        Button(window, index)->clicked = false;
        return flow.result;
    }
    void CloseLevelComplete() {
        levelComplete->Hide();
        Frames(10);
    }

    std::unique_ptr<LevelManager> levels;
    GUILevelCompleteWindow* levelComplete = nullptr;
    GUIGameCompleteWindow* gameComplete = nullptr;
    GUIGameOverWindow* gameOver = nullptr;
    GUIContinueGameLogicWindow* continueGame = nullptr;
};

} // namespace

TEST_F(EndOfLevel, TimesAndWhichBonusLabelShows) {
    Build();
    EXPECT_FALSE(Enabled(*levelComplete, "/title_mount_static"));
    const struct {
        LevelPosition position;
        float time;
        const wchar_t* yours;
        const wchar_t* ace;
        bool bonus;
    } cases[] = {
        {{0, 0}, 75.9f, L"1:15", L"1:00", false}, {{0, 0}, 600, L"10:00", L"1:00", false},
        {{0, 0}, 5, L"0:05", L"1:00", true},      {{0, 0}, 45.9f, L"0:45", L"1:00", true},
        {{0, 0}, 59.5f, L"0:59", L"1:00", true},  {{0, 0}, 60, L"1:00", L"1:00", false},
        {{0, 1}, 94.2f, L"1:34", L"1:35", true},  {{0, 2}, 61, L"1:01", L"1:00", false},
        {{1, 1}, 3, L"0:03", L"0:00", false},     {{0, 0}, -2, L"0:00", L"1:00", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        Complete(c.position, c.time);
        EXPECT_TRUE(Enabled(*levelComplete, "/title_mount_animated"));
        EXPECT_EQ(Text("your_time"), c.yours);
        EXPECT_EQ(Text("ace_time"), c.ace);
        EXPECT_EQ(Text("time_bonus"), L"0");
        EXPECT_EQ(Enabled(*levelComplete, "/window/time_bonus"), c.bonus);
        EXPECT_EQ(Enabled(*levelComplete, "/window/time_bonus_static"), c.bonus);
        EXPECT_EQ(Enabled(*levelComplete, "/window/no_time_bonus_static"), !c.bonus);
        CloseLevelComplete();
        EXPECT_FALSE(Enabled(*levelComplete, "/title_mount_animated"));
    }
}

TEST_F(EndOfLevel, TheBonusCountsUpAfterFadingInAndIsSavedWhenComplete) {
    Build();
    Profile()->scoreTotal = 1000;
    Profile()->Save();
    Complete({0, 0}, 45.9f); // 15 s under the ace time: 300 points
    ASSERT_TRUE(FramesUntilVisible(*levelComplete));
    GUITools::GUITextControl* bonus =
        levelComplete->GetTextControl("window_level_complete/window/time_bonus");
    TakeSoundCalls();
    int fadeFrames = 0;
    while (bonus->fadeValue <= 0.9999f && fadeFrames < 40) {
        Frame();
        ++fadeFrames;
        EXPECT_EQ(Profile()->scoreTotal, 1000u) << "nothing counts before the bonus has faded in";
    }
    EXPECT_GE(fadeFrames, 8) << "half a second of fading";
    std::vector<std::wstring> texts;
    std::vector<std::string> calls;
    int countFrames = 0;
    while (levelComplete->GetBonusCounted() < 300 && countFrames < 60) {
        EXPECT_EQ(Reread()->scoreTotal, 1000u) << "saved only once the count-up ends";
        Frame();
        ++countFrames;
        texts.push_back(Text("time_bonus"));
        for (const std::string& call : TakeSoundCalls())
            calls.push_back(call);
        EXPECT_EQ(Profile()->scoreTotal, 1000u + levelComplete->GetBonusCounted());
    }
    // 0.2 s pause, then 15 seconds at 18 per second: about 1.03 s, 21 frames of 0.05 s.
    EXPECT_NEAR(countFrames * FrameSeconds, 0.2f + 15.0f / 18.0f, 0.06f);
    EXPECT_EQ(texts.back(), L"300");
    EXPECT_EQ(Profile()->scoreTotal, 1300u);
    EXPECT_EQ(Reread()->scoreTotal, 1300u) << "the whole bonus is in the file";
    EXPECT_EQ(Count(calls, "play 4"), 1u) << testing::PrintToString(calls);
    Frames(3);
    calls = TakeSoundCalls();
    EXPECT_EQ(Count(calls, "stop 4"), 1u) << "the effect stops when the count stands";
    EXPECT_EQ(Profile()->scoreTotal, 1300u);

    // Going on adds nothing more; the first level of three goes to the next level.
    EXPECT_EQ(Click(*levelComplete, *levelComplete, 0), GUILevelCompleteWindow::ResultNextLevel);
    EXPECT_EQ(Profile()->scoreTotal, 1300u);
    CloseLevelComplete();
}

TEST_F(EndOfLevel, AClickDuringTheCountAddsTheRestAndTheStageEndDecidesTheResult) {
    Build();
    const struct {
        LevelPosition position;
        float time;
        int framesBeforeClick;
        uint32_t total;
        int result;
    } cases[] = {
        {{0, 0}, 45.9f, 20, 300, 13}, {{0, 0}, 45.9f, 0, 300, 13}, {{0, 0}, 59.5f, 20, 20, 13},
        {{0, 2}, 10, 15, 1000, 21},   {{1, 0}, 60, 15, 0, 13},     {{1, 1}, 0.5f, 15, 0, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position.stage << "-" << c.position.level << " " << c.time);
        Profile()->scoreTotal = 0;
        Profile()->Save();
        Complete(c.position, c.time);
        ASSERT_TRUE(FramesUntilVisible(*levelComplete));
        Frames(c.framesBeforeClick);
        EXPECT_LE(levelComplete->GetBonusCounted(), c.total);
        EXPECT_EQ(Click(*levelComplete, *levelComplete, 0), c.result);
        EXPECT_EQ(Profile()->scoreTotal, c.total);
        EXPECT_EQ(Reread()->scoreTotal, c.total);
        if (c.total > 0) {
            EXPECT_EQ(Text("time_bonus"), std::to_wstring(c.total));
        }
        TakeSoundCalls();
        CloseLevelComplete();
        EXPECT_TRUE(manager->IsFree());
    }
    EXPECT_EQ(Count(TakeSoundCalls(), "play 4"), 0u);
}

TEST_F(EndOfLevel, NoBonusAtTheAceTimeAndNoEffect) {
    Build();
    Complete({0, 0}, 60);
    ASSERT_TRUE(FramesUntilVisible(*levelComplete));
    TakeSoundCalls();
    Frames(40);
    EXPECT_EQ(Count(TakeSoundCalls(), "play 4"), 0u);
    EXPECT_EQ(Profile()->scoreTotal, 0u);
}

TEST_F(EndOfLevel, TheBestTimeAndItsHolderOrThePlayersOwnWithoutARecord) {
    Build();
    GUITools::GUITextControl* holder =
        levelComplete->GetTextControl("window_level_complete/window/best_time_static_1");
    // Another player holds the record of the first level.
    profiles->SubmitBestResult({0, 0}, L"Bob", 0, 40.2f);
    Complete({0, 0}, 45.9f);
    EXPECT_EQ(Text("best_time"), L"0:40");
    ASSERT_EQ(holder->variableNames.size(), 1u);
    EXPECT_EQ(holder->variableNames[0], L"PROFILE_NAME");
    EXPECT_EQ(holder->variableValues[0], L"\"Bob\"");
    CloseLevelComplete();

    // The second level has no record at all (the index could not take it): the player's own time and name.
    levelComplete->Show(17, LevelPosition{0, 1}, 83.4f);
    EXPECT_EQ(Text("best_time"), L"1:23");
    EXPECT_EQ(holder->variableValues[0], L"\"Alice\"");
    const GUITools::GUITextControl* first =
        levelComplete->GetTextControl("window_level_complete/window/best_time_static_0");
    ASSERT_EQ(first->variableValues.size(), 1u);
    EXPECT_EQ(first->variableValues[0], L"\"Alice\"");
    CloseLevelComplete();
}

TEST_F(EndOfLevel, ADescriptionWithoutItsLabelsStillCountsTheBonus) {
    Describe("window_level_complete",
             "<window name=\"window_level_complete\" fader=\"quick\"><window name=\"window\" fader=\"quick\">"
             "<button name=\"button_0\" fader=\"quick\"/></window></window>");
    Build();
    Complete({0, 0}, 50.2f);
    ASSERT_TRUE(FramesUntilVisible(*levelComplete));
    Frames(30);
    EXPECT_EQ(Profile()->scoreTotal, 200u);
    EXPECT_EQ(Click(*levelComplete, *levelComplete, 0), GUILevelCompleteWindow::ResultNextLevel);
    CloseLevelComplete();
}

TEST_F(EndOfLevel, GameCompleteShowsOnlyWhenAllowedAndAnswersAtOnceOtherwise) {
    Build();
    EXPECT_TRUE(gameComplete->show);
    gameComplete->Show(23);
    ASSERT_TRUE(FramesUntilVisible(*gameComplete));
    EXPECT_EQ(gameComplete->mode, 23);
    Frame();
    EXPECT_EQ(gameComplete->result, 0);
    EXPECT_EQ(Click(*gameComplete, *gameComplete, 0), GUIGameCompleteWindow::ResultDone);
    gameComplete->Hide();
    EXPECT_TRUE(gameComplete->resultSeen);
    Frames(10);
    EXPECT_TRUE(manager->IsFree());

    gameComplete->show = false;
    gameComplete->resultSeen = true;
    gameComplete->Show(23);
    EXPECT_EQ(gameComplete->result, GUIGameCompleteWindow::ResultDone);
    EXPECT_FALSE(gameComplete->resultSeen) << "the code lives into the flow's next pass";
    Frames(10);
    EXPECT_FALSE(gameComplete->IsVisible());
    EXPECT_TRUE(manager->IsFree());
    gameComplete->Hide();
    Frames(2);
    EXPECT_TRUE(manager->IsFree());
    EXPECT_FALSE(gameComplete->show) << "the flag stays as last set";
}

TEST_F(EndOfLevel, GameOverAndItsTitleMount) {
    Build();
    EXPECT_FALSE(Enabled(*gameOver, "/title_mount_static"));
    for (int mode : {17, 19}) {
        gameOver->Show(mode);
        EXPECT_TRUE(Enabled(*gameOver, "/title_mount_animated"));
        Button(*gameOver, 0)->clicked = true;
        gameOver->Update();
        EXPECT_EQ(gameOver->result, 0) << "not on screen yet";
        Button(*gameOver, 0)->clicked = false;
        ASSERT_TRUE(FramesUntilVisible(*gameOver));
        EXPECT_EQ(Click(*gameOver, *gameOver, 0), GUIGameOverWindow::ResultDone);
        gameOver->Hide();
        EXPECT_FALSE(Enabled(*gameOver, "/title_mount_animated"));
        Frames(10);
        EXPECT_TRUE(manager->IsFree());
    }
}

TEST_F(EndOfLevel, ContinueShowsTheGameInProgressAndAnswers) {
    Build();
    Profile()->currentPosition = {0, 4};
    Profile()->scoreTotal = 1200;
    continueGame->Show(6);
    const GUITools::GUITextControl* level =
        continueGame->GetTextControl("window_continue_game_logic/window/level");
    const GUITools::GUITextControl* score =
        continueGame->GetTextControl("window_continue_game_logic/window/score");
    EXPECT_EQ(level->text, L"1-5");
    EXPECT_EQ(score->text, L"1200");
    ASSERT_TRUE(FramesUntilVisible(*continueGame));
    const struct {
        std::vector<int> buttons;
        int result;
    } cases[] = {{{2}, 14}, {{1}, 13}, {{0}, 3}, {{2, 1}, 13}, {{2, 0}, 3}, {{2, 1, 0}, 3}, {{}, 0}};
    for (const auto& c : cases) {
        for (int button : c.buttons)
            Button(*continueGame, button)->clicked = true;
        continueGame->Update();
        EXPECT_EQ(continueGame->result, c.result) << testing::PrintToString(c.buttons);
        for (int button : c.buttons)
            Button(*continueGame, button)->clicked = false;
    }
    continueGame->Hide();
    Frames(10);
    Profile()->currentPosition = {1, 0};
    Profile()->scoreTotal = 0;
    continueGame->Show(6);
    EXPECT_EQ(level->text, L"2-1");
    EXPECT_EQ(score->text, L"0");
}
