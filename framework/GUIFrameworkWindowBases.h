// The role bases of the window flow that only carry what the flow hands to a window when it shows it (a
// data keeper to load, a profile name, a level position, a high-score entry), or nothing at all. The game
// derives one window from each; the application root owns them through GUIFrameworkWindow. None of them
// owns what it points to. The bases with algorithms of their own have their own files.
#pragma once

#include "framework/GUIFrameworkWindow.h"
#include "framework/LevelManagerBase.h"

#include <string>

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {

class HighScoresTable;
struct HighScoreEntry;
class ProfileManagerBase;

class GUILogosWindowBase : public GUIFrameworkWindow {};
class GUIExitWindowBase : public GUIFrameworkWindow {};
class GUIMainMenuWindowBase : public GUIFrameworkWindow {};
class GUIProfileNameConflictWindowBase : public GUIFrameworkWindow {};
class GUIStartGameLogicWindowBase : public GUIFrameworkWindow {};
class GUIContinueGameLogicWindowBase : public GUIFrameworkWindow {};
class GUIHelpWindowBase : public GUIFrameworkWindow {};
class GUIGameLogicPauseWindowBase : public GUIFrameworkWindow {};
class GUIGameLogicMenuExitWindowBase : public GUIFrameworkWindow {};
class GUIGameLogicRestartWindowBase : public GUIFrameworkWindow {};
class GUIGameLogicGameExitWindowBase : public GUIFrameworkWindow {};
class GUIGameCompleteWindowBase : public GUIFrameworkWindow {};
class GUIGameOverWindowBase : public GUIFrameworkWindow {};

// Both loading roles: the game-wide loading after the logos and the loading of one level. The window
// advances the keeper's staged loading while it is shown; hiding it forgets the keeper, so a hidden
// window loads nothing.
class GUILoadingWindowBase : public GUIFrameworkWindow {
public:
    using GUIFrameworkWindow::Show;
    void Hide() override {
        GUIFrameworkWindow::Hide();
        dataKeeper = nullptr;
        done = false;
    }
    virtual void Show(int newMode, GameTools::DataKeeper* keeper) {
        GUIFrameworkWindow::Show(newMode);
        dataKeeper = keeper;
        done = false;
    }

    GameTools::DataKeeper* dataKeeper = nullptr; // not owned
    bool done = false;
};

class GUIProfilesWindowBase : public GUIFrameworkWindow {
public:
    explicit GUIProfilesWindowBase(ProfileManagerBase* manager) : profileManager(manager) {}

    ProfileManagerBase* profileManager = nullptr; // not owned
    std::wstring
        selectedName; // filled by the game window; the flow hands it to the rename and delete windows
};

class GUIHighScoresWindowBase : public GUIFrameworkWindow {
public:
    explicit GUIHighScoresWindowBase(HighScoresTable* table) : highScores(table) {}

    using GUIFrameworkWindow::Show;
    // entry: the entry just added, to highlight, or null.
    virtual void Show(int newMode, HighScoreEntry* entry) {
        GUIFrameworkWindow::Show(newMode);
        highlightedEntry = entry;
    }

    HighScoresTable* highScores = nullptr;      // not owned
    HighScoreEntry* highlightedEntry = nullptr; // an entry of highScores, not owned
};

class GUILevelCompleteWindowBase : public GUIFrameworkWindow {
public:
    explicit GUILevelCompleteWindowBase(LevelManagerBase* manager) : levelManager(manager) {}

    using GUIFrameworkWindow::Show;
    virtual void Show(int newMode, const LevelPosition& passed, float levelTime) {
        GUIFrameworkWindow::Show(newMode);
        position = passed;
        time = levelTime;
    }

    LevelManagerBase* levelManager = nullptr; // not owned
    LevelPosition position;
    float time = 0; // seconds
};

class GUIStageCompleteWindowBase : public GUIFrameworkWindow {
public:
    explicit GUIStageCompleteWindowBase(LevelManagerBase* manager) : levelManager(manager) {}

    using GUIFrameworkWindow::Show;
    virtual void Show(int newMode, const LevelPosition& passed) {
        GUIFrameworkWindow::Show(newMode);
        position = passed;
    }

    LevelManagerBase* levelManager = nullptr; // not owned
    LevelPosition position;
};

} // namespace GameFramework
