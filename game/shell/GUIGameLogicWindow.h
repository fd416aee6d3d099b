// The display laid over the field while a level is played: the spare balls, the total score and the level,
// a menu, minimise and close button and a full-screen box; it turns the pause and menu keys into results,
// hands left clicks on the field to the level, and can draw a statistics overlay. It is no menu window, but
// after it hides it keeps every menu window off the screen until its own fade-out is over. The game creates
// the one display with its windows; the application root deletes it.
#pragma once

#include "framework/GUIGameLogicWindowBase.h"
#include "guitools/GUIWindowBase.h"

#include <cstdint>

namespace GameFramework {
class ProfileManagerBase;
}

namespace VelmoraBall {

class GameLogic;
class GUIMenuWindowManager;

class GUIGameLogicWindow : public GameFramework::GUIGameLogicWindowBase, public GUITools::GUIWindowBase {
public:
    // Results handed to the window flow.
    static constexpr int ResultGameExit = 4;
    static constexpr int ResultPause = 15;
    static constexpr int ResultMenu = 16;

    // A control missing from "window_game_logic" is logged by its lookup and left out: a missing button
    // never clicks, a missing text shows nothing.
    GUIGameLogicWindow(GameFramework::ProfileManagerBase* profileManager, GameTools::DataKeeper* dataKeeper,
                       GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                       OrvexEngine::GUIWindow* parent);
    // Deletes the statistics window, then the description.
    ~GUIGameLogicWindow() override;

    // Once a frame, also while hidden; serves both bases.
    void Update() override;
    using GUIGameLogicWindowBase::Show;
    using GUIWindowBase::Show;
    // Holds the menu-window manager without a window until the display has faded out.
    void Hide() override;
    // level: the level just built; the display reads it and sets its click flag until Hide.
    void Show(int newMode, GameFramework::GameLogicBase* level) override;
    // Enables the menu and close buttons with the flag.
    void SetActive(bool flag) override;

    // Posts the system's minimise command to the main window.
    static void MinimizeWindow();

    OrvexEngine::GUIWindow* GetStatisticsWindow() const { return statisticsWindow; }
    GameLogic* GetLevel() const { return level; }

private:
    void DrawStatistics();
    // The numbers shown are set only when they change, so a running level lays out no text of its own.
    void ShowLives(uint32_t spareBalls);
    void ShowScore(uint32_t score);

    GUIMenuWindowManager* menuManager = nullptr;        // not owned
    GameTools::DataKeeper* gameData = nullptr;          // not owned: the game-wide keeper
    OrvexEngine::GUIWindow* statisticsWindow = nullptr; // owned, through the GUI manager
    GUITools::GUIWindowControl* root = nullptr;         // not owned: the description's root control, or null
    OrvexEngine::GUIButton* menuButton = nullptr; // not owned; never null: a missing one is a hidden stand-in
    OrvexEngine::GUIButton* minimizeButton = nullptr;  // not owned; never null
    OrvexEngine::GUICheckBox* fullscreenBox = nullptr; // not owned; never null
    OrvexEngine::GUIButton* closeButton = nullptr;     // not owned; never null
    GUITools::GUITextControl* livesText = nullptr;     // not owned; or null
    GUITools::GUITextControl* scoreText = nullptr;     // not owned; or null
    GUITools::GUITextControl* levelText = nullptr;     // not owned; or null
    GameLogic* level = nullptr; // not owned; null while hidden or for another level kind
    int64_t shownLives = -1;    // -1: nothing shown yet
    int64_t shownScore = -1;
};

} // namespace VelmoraBall
