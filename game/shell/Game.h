// The game's application root: every manager, window, level data keeper and level in play the framework
// asks for comes from here, together with the game's engine settings, default volumes, cheat help and sound
// table. It adds the animated menu background and the menu-window manager that every menu window shares,
// and wraps the framework's window flow with the game's music, background fades and cursor trail. The
// loader creates the one instance; constructing it initialises the whole application.
#pragma once

#include "framework/GameBase.h"

namespace VelmoraBall {

class GUIBackground;
class GUIGameCursor;
class GUIMenuWindowManager;

class Game : public GameFramework::GameBase {
public:
    // Music channels and tracks of the menus and of play.
    static constexpr int MenuMusicChannel = 0;
    static constexpr int GameMusicChannel = 1;
    static constexpr int MenuMusicTrack = 0;
    static constexpr int FirstGameMusicTrack = 1;
    static constexpr int GameMusicTrackCount = 1;

    // Runs the whole initialisation; a failure destroys what was built and leaves as the exception.
    Game(const std::string& companyName, const std::string& gameName, int version,
         const std::string& registryKeyPath, const std::string& installationDirectory,
         const std::string& publisherName);
    // The background and the menu-window manager go before the root deletes the windows that use them.
    ~Game() override;

    void FillEngineSettings(OrvexEngine::EngineStartupParams& params) override;
    void RegisterConsoleVariables() override;
    void OnInitialized() override;
    void CreateWindows() override;

    GameFramework::LevelManagerBase* CreateLevelManager() override;
    GameFramework::ProfileManagerBase* CreateProfileManager() override;
    GameTools::DataKeeper* CreateDataKeeper() override;
    GameFramework::GUIGameCursorBase* CreateCursor() override;
    GameFramework::GUILogosWindowBase* CreateLogosWindow() override;
    GameFramework::GUILoadingWindowBase* CreateLoadingWindow() override;
    GameFramework::GUILoadingWindowBase* CreateGameLogicLoadingWindow() override;
    GameFramework::GUIFrameworkWindow* CreateOptionalWindow() override;
    GameFramework::GUIWelcomeWindowBase* CreateWelcomeWindow() override;
    GameFramework::GUIExitWindowBase* CreateExitWindow() override;
    GameFramework::GUIMainMenuWindowBase* CreateMainMenuWindow() override;
    GameFramework::GUIProfilesWindowBase* CreateProfilesWindow() override;
    GameFramework::GUINewProfileWindowBase* CreateNewProfileWindow() override;
    GameFramework::GUIRenameProfileWindowBase* CreateRenameProfileWindow() override;
    GameFramework::GUIDeleteProfileWindowBase* CreateDeleteProfileWindow() override;
    GameFramework::GUIProfileNameConflictWindowBase* CreateProfileNameConflictWindow() override;
    GameFramework::GUIStartGameLogicWindowBase* CreateStartGameLogicWindow() override;
    GameFramework::GUIContinueGameLogicWindowBase* CreateContinueGameLogicWindow() override;
    GameFramework::GUIHighScoresWindowBase* CreateHighScoresWindow() override;
    GameFramework::GUIOptionsWindowBase* CreateOptionsWindow() override;
    GameFramework::GUIHelpWindowBase* CreateHelpWindow() override;
    GameFramework::GUIGameLogicWindowBase* CreateGameLogicWindow() override;
    GameFramework::GUIGameLogicPauseWindowBase* CreateGameLogicPauseWindow() override;
    GameFramework::GUIGameLogicMenuWindowBase* CreateGameLogicMenuWindow() override;
    GameFramework::GUIGameLogicMenuExitWindowBase* CreateGameLogicMenuExitWindow() override;
    GameFramework::GUIGameLogicRestartWindowBase* CreateGameLogicRestartWindow() override;
    GameFramework::GUIGameLogicGameExitWindowBase* CreateGameLogicGameExitWindow() override;
    GameFramework::GUILevelCompleteWindowBase* CreateLevelCompleteWindow() override;
    GameFramework::GUIStageCompleteWindowBase* CreateStageCompleteWindow() override;
    GameFramework::GUIGameCompleteWindowBase* CreateGameCompleteWindow() override;
    GameFramework::GUIGameOverWindowBase* CreateGameOverWindow() override;
    GameTools::DataKeeper* CreateGameLogicData(GameFramework::StageInfo* stage,
                                               GameFramework::LevelInfo* level) override;
    GameFramework::GameLogicBase* CreateGameLogic(GameFramework::StageInfo* stage,
                                                  GameFramework::LevelInfo* level, uint32_t lives) override;

    void ExecuteConsoleCommands() override;
    void PrintCheatHelp() override;
    float GetDefaultMusicVolume() override;
    float GetDefaultSoundVolume() override;
    void RestoreRenderDevice() override;
    void DispatchWindowResults() override;
    void ClearWindowResults() override;
    void UpdateAll() override;

    // The window flow's handlers with the game's music, background and cursor trail around them
    // (GameWindowHooks.cpp).
    void OnLogosWindowResult() override;
    void OnLoadingWindowResult() override;
    void OnMainMenuWindowResult() override;
    void OnProfilesWindowResult() override;
    void OnHighScoresWindowResult() override;
    void OnContinueGameLogicWindowResult() override;
    void OnStartGameLogicWindowResult() override;
    void OnGameLogicLoadingWindowResult() override;
    void OnGameLogicWindowResult() override;
    void OnGameLogicPauseWindowResult() override;
    void OnGameLogicMenuWindowResult() override;
    void OnGameLogicGameExitWindowResult() override;
    void OnGameLogicMenuExitWindowResult() override;
    void OnGameLogicRestartWindowResult() override;
    void OnLevelPassed() override;
    void OnLevelFailed() override;
    void StepBackLevel() override;
    void OnLevelCompleteWindowResult() override;
    void OnStageCompleteWindowResult() override;
    void OnGameCompleteWindowResult() override;
    void OnGameOverWindowResult() override;

    GUIBackground* background = nullptr;               // owned; made with the loading window
    GUIMenuWindowManager* menuWindowManager = nullptr; // owned; made with the loading window
    int nextGameMusicIndex = 0;                        // which game track the next level starts

private:
    GUIGameCursor* GameCursor() const;
    // The menu track on its channel, fading in unless it already plays.
    void MenuMusicOn();
    // The menu background fading back in.
    void BackgroundIn();
    void SetTrail(bool visible);
    // The game track when a level has loaded: started when the channel is stopped, else resumed.
    void StartGameMusic();
};

} // namespace VelmoraBall
