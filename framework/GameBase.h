// The application root: owns the engine, the framework's managers and tools, every window of the window
// flow and the level in play. It builds them in a fixed order at start-up, runs one frame of the whole
// program per call of UpdateFrame, and moves the player from window to window by the result codes the
// windows set. Abstract: the game derives its root, supplies every window, manager and level through the
// factory operations and calls Initialize from its constructor. The loader creates the one root and
// deletes it when the engine's "exit" has been triggered.
#pragma once

#include "framework/LevelManagerBase.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {
class Engine;
struct EngineStartupParams;
class GUISoundManager;
class TextureManager;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
class SpriteManager;
} // namespace GameTools

namespace GUITools {
class GUIFontTool;
class GUITextTool;
class GUIToolManager;
} // namespace GUITools

namespace GameFramework {

class AudioPlayer;
class GameLogicBase;
class GUIContinueGameLogicWindowBase;
class GUIDeleteProfileWindowBase;
class GUIExitWindowBase;
class GUIFrameworkWindow;
class GUIGameCompleteWindowBase;
class GUIGameCursorBase;
class GUIGameLogicGameExitWindowBase;
class GUIGameLogicMenuExitWindowBase;
class GUIGameLogicMenuWindowBase;
class GUIGameLogicPauseWindowBase;
class GUIGameLogicRestartWindowBase;
class GUIGameLogicWindowBase;
class GUIGameOverWindowBase;
class GUIHelpWindowBase;
class GUIHighScoresWindowBase;
class GUILevelCompleteWindowBase;
class GUILoadingWindowBase;
class GUILogosWindowBase;
class GUIMainMenuWindowBase;
class GUINewProfileWindowBase;
class GUIOptionsWindowBase;
class GUIProfileNameConflictWindowBase;
class GUIProfilesWindowBase;
class GUIRenameProfileWindowBase;
class GUIStageCompleteWindowBase;
class GUIStartGameLogicWindowBase;
class GUIWelcomeWindowBase;
class HighScoresTable;
class LanguageManager;
class ProfileBase;
class ProfileManagerBase;
class Tutorial;
struct LevelResult;

class GameBase {
public:
    // The number each role passes as the mode when it opens another window, so that the opened window knows
    // who opened it. ModeStartUp is no role: the logos window at start-up and the pause window opened when
    // the main window loses activity get it. The pause and game-exit roles open nothing.
    static constexpr int ModeStartUp = 1;
    static constexpr int ModeLogos = 2;
    static constexpr int ModeLoading = 3;
    static constexpr int ModeWelcome = 4;
    static constexpr int ModeExit = 5;
    static constexpr int ModeMainMenu = 6;
    static constexpr int ModeHighScores = 7;
    static constexpr int ModeOptions = 8;
    static constexpr int ModeHelp = 9;
    static constexpr int ModeProfiles = 10;
    static constexpr int ModeNewProfile = 11;
    static constexpr int ModeRenameProfile = 12;
    static constexpr int ModeDeleteProfile = 13;
    static constexpr int ModeProfileNameConflict = 14;
    static constexpr int ModeStartGameLogic = 15;
    static constexpr int ModeGameLogicLoading = 16;
    static constexpr int ModeGameLogic = 17; // also the level in play when it has been won or lost
    static constexpr int ModeGameLogicMenu = 18;
    static constexpr int ModeGameLogicRestart = 19;
    static constexpr int ModeGameLogicMenuExit = 20;
    static constexpr int ModeContinueGameLogic = 21;
    static constexpr int ModeLevelComplete = 22;
    static constexpr int ModeStageComplete = 23;
    static constexpr int ModeGameComplete = 24;
    static constexpr int ModeGameOver = 25;

    // The result codes a window sets when the player has chosen something; 0 is none.
    static constexpr int ResultNone = 0;
    static constexpr int ResultDone = 1;
    static constexpr int ResultToWelcome = 2;
    static constexpr int ResultToMainMenu = 3;
    static constexpr int ResultToExit = 4;
    static constexpr int ResultToProfiles = 5;
    static constexpr int ResultToNewProfile = 6;
    static constexpr int ResultToRenameProfile = 7;
    static constexpr int ResultToDeleteProfile = 8;
    static constexpr int ResultNameInUse = 9;
    static constexpr int ResultToHighScores = 10;
    static constexpr int ResultToOptions = 11;
    static constexpr int ResultToHelp = 12;
    static constexpr int ResultStartLevel = 13;
    static constexpr int ResultContinueGame = 14;
    static constexpr int ResultPause = 15;
    static constexpr int ResultToGameLogicMenu = 16;
    static constexpr int ResultToRestart = 17;
    static constexpr int ResultToMenuExit = 18;
    static constexpr int ResultResume = 19;
    static constexpr int ResultToGameOver = 20;
    static constexpr int ResultToStageComplete = 21;
    static constexpr int ResultToGameComplete = 22;
    static constexpr int ResultQuit = 23;
    static constexpr int ResultPlay = 24;

    // The letters and blanks typed towards it during play enable and open the console (cheat mode).
    static constexpr const char* CheatPhrase = "blue harbors";

    // Stores the names and folders; builds nothing. The user data directory is the application-data folder
    // + "\" + company + "\" + game until Initialize appends the publisher's folder. The game's constructor
    // calls Initialize once its own fields are set.
    GameBase(const std::string& companyName, const std::string& gameName, int version,
             const std::string& registryKeyPath, const std::string& installationDirectory,
             const std::string& publisherName);
    GameBase(const GameBase&) = delete;
    GameBase& operator=(const GameBase&) = delete;
    // Deletes what exists, the level and the windows first and the engine last (which saves the settings
    // file); safe on a root whose Initialize failed part-way.
    virtual ~GameBase();

    // One frame of the whole program; the loader's loop calls it whenever no window message is waiting.
    virtual void UpdateFrame();
    // Builds the engine and every start-up object and shows the logos window. Errors leave it (FatalError
    // for a missing resource list, a failed device...); the game's constructor lets them reach the loader.
    virtual void Initialize();
    // The game's override calls this first and then changes what it needs.
    virtual void FillEngineSettings(OrvexEngine::EngineStartupParams& params);
    virtual void SetGUIVirtualSize();
    virtual void RegisterConsoleVariables();
    virtual void CreateConsole();
    // Empty: the last step of start-up before the logos window shows; the game registers its sounds here.
    virtual void OnInitialized();
    // Every window from the level-loading window to the game-over window; called once the game-wide data
    // has been loaded.
    virtual void CreateWindows();

    // Factories: each returns a new object that the root owns and deletes.
    virtual LevelManagerBase* CreateLevelManager() = 0;
    virtual ProfileManagerBase* CreateProfileManager() = 0;
    virtual GameTools::DataKeeper* CreateDataKeeper() = 0;
    virtual GUIGameCursorBase* CreateCursor() = 0;
    virtual GUILogosWindowBase* CreateLogosWindow() = 0;
    virtual GUILoadingWindowBase* CreateLoadingWindow() = 0;
    virtual GUILoadingWindowBase* CreateGameLogicLoadingWindow() = 0;
    // May return null: the game then has no optional window.
    virtual GUIFrameworkWindow* CreateOptionalWindow() = 0;
    virtual GUIWelcomeWindowBase* CreateWelcomeWindow() = 0;
    virtual GUIExitWindowBase* CreateExitWindow() = 0;
    virtual GUIMainMenuWindowBase* CreateMainMenuWindow() = 0;
    virtual GUIProfilesWindowBase* CreateProfilesWindow() = 0;
    virtual GUINewProfileWindowBase* CreateNewProfileWindow() = 0;
    virtual GUIRenameProfileWindowBase* CreateRenameProfileWindow() = 0;
    virtual GUIDeleteProfileWindowBase* CreateDeleteProfileWindow() = 0;
    virtual GUIProfileNameConflictWindowBase* CreateProfileNameConflictWindow() = 0;
    virtual GUIStartGameLogicWindowBase* CreateStartGameLogicWindow() = 0;
    virtual GUIContinueGameLogicWindowBase* CreateContinueGameLogicWindow() = 0;
    virtual GUIHighScoresWindowBase* CreateHighScoresWindow() = 0;
    virtual GUIOptionsWindowBase* CreateOptionsWindow() = 0;
    virtual GUIHelpWindowBase* CreateHelpWindow() = 0;
    virtual GUIGameLogicWindowBase* CreateGameLogicWindow() = 0;
    virtual GUIGameLogicPauseWindowBase* CreateGameLogicPauseWindow() = 0;
    virtual GUIGameLogicMenuWindowBase* CreateGameLogicMenuWindow() = 0;
    virtual GUIGameLogicMenuExitWindowBase* CreateGameLogicMenuExitWindow() = 0;
    virtual GUIGameLogicRestartWindowBase* CreateGameLogicRestartWindow() = 0;
    virtual GUIGameLogicGameExitWindowBase* CreateGameLogicGameExitWindow() = 0;
    virtual GUILevelCompleteWindowBase* CreateLevelCompleteWindow() = 0;
    virtual GUIStageCompleteWindowBase* CreateStageCompleteWindow() = 0;
    virtual GUIGameCompleteWindowBase* CreateGameCompleteWindow() = 0;
    virtual GUIGameOverWindowBase* CreateGameOverWindow() = 0;
    // The per-level data keeper of a level about to be loaded.
    virtual GameTools::DataKeeper* CreateGameLogicData(StageInfo* stage, LevelInfo* level) = 0;
    virtual GameLogicBase* CreateGameLogic(StageInfo* stage, LevelInfo* level, uint32_t lives) = 0;

    // A record with every field 0; the caller owns it.
    virtual LevelResult* NewLevelResult();
    // The current profile's table key, the level in play's position and its time.
    virtual void FillLevelResult(LevelResult* result);
    // Carries out every framework command triggered since the last frame, re-arming each first.
    virtual void ExecuteConsoleCommands();
    // The cheat help lines into the log (and so into the open console); the game appends its own.
    virtual void PrintCheatHelp();
    virtual float GetDefaultMusicVolume();
    virtual float GetDefaultSoundVolume();
    // A full device reset: released and created again; clears the render system's reset-needed flag.
    virtual void RestoreRenderDevice();
    // One dispatch pass: every existing role's handler in the flow's order, and the level's end in between.
    virtual void DispatchWindowResults();
    // One clearing pass: results already seen become 0, every window's seen flag is set, and the level's
    // state-changed flag is cleared.
    virtual void ClearWindowResults();
    // The tutorial, every existing window and the level in play, once each per frame.
    virtual void UpdateAll();

    // Window-result handlers, one per role: each does nothing unless its window's result is one of its codes.
    virtual void OnLogosWindowResult();
    virtual void OnLoadingWindowResult();
    virtual void OnWelcomeWindowResult();
    virtual void OnExitWindowResult();
    virtual void OnMainMenuWindowResult();
    virtual void OnProfilesWindowResult();
    virtual void OnGameLogicLoadingWindowResult();
    virtual void OnNewProfileWindowResult();
    virtual void OnRenameProfileWindowResult();
    virtual void OnDeleteProfileWindowResult();
    virtual void OnProfileNameConflictWindowResult();
    virtual void OnStartGameLogicWindowResult();
    virtual void OnContinueGameLogicWindowResult();
    virtual void OnHighScoresWindowResult();
    virtual void OnOptionsWindowResult();
    virtual void OnHelpWindowResult();
    virtual void OnGameLogicWindowResult();
    virtual void OnGameLogicPauseWindowResult();
    virtual void OnGameLogicMenuWindowResult();
    virtual void OnGameLogicMenuExitWindowResult();
    virtual void OnGameLogicRestartWindowResult();
    virtual void OnGameLogicGameExitWindowResult();
    // The level in play has been won (state 2).
    virtual void OnLevelPassed();
    // Moves the player one level back and restarts through the start window; needs a level in play.
    virtual void StepBackLevel();
    // The level in play has been lost (state 3).
    virtual void OnLevelFailed();
    virtual void OnLevelCompleteWindowResult();
    virtual void OnStageCompleteWindowResult();
    virtual void OnGameCompleteWindowResult();
    virtual void OnGameOverWindowResult();

    // The engine's "exit" has been triggered.
    bool IsExitRequested() const;
    // A sound file's name below the data directory: "audio\<category>\<name>.wav" when the file manager
    // finds that file, else the same name ending in "ogg".
    std::string MakeSoundPath(const std::string& category, const std::string& name) const;

    std::string companyName;
    std::string gameName;
    int version = 0;
    std::string publisherName;
    std::string registryKeyPath;
    std::string installationDirectory;
    // application data + "\" + company + "\" + game, then + "\" + publisher once initialised: profiles and
    // high scores live there, the settings file and the log one folder higher.
    std::string userDataDirectory;

    OrvexEngine::Engine* engine = nullptr;                   // owned; created by Initialize, deleted last
    OrvexEngine::TextureManager* textureManager = nullptr;   // not owned: the material registry's
    OrvexEngine::GUISoundManager* guiSoundManager = nullptr; // not owned: the GUI manager's
    bool showStatistics = false;                             // storage of "d_show_statistics"
    LanguageManager* languageManager = nullptr;              // owned
    AudioPlayer* audioPlayer = nullptr;                      // owned
    GUITools::GUIToolManager* guiToolManager = nullptr;      // owned
    GUITools::GUIFontTool* fontTool = nullptr;               // not owned: the GUI tool manager's
    GUITools::GUITextTool* textTool = nullptr;               // not owned: the GUI tool manager's
    GameTools::DataKeeper* dataKeeper = nullptr;             // owned: the game-wide resources
    GameTools::DataKeeper* currentLevelData = nullptr;       // owned: the last level started
    GameTools::DataKeeper* previousLevelData = nullptr;      // owned: the level started before it
    LevelManagerBase* levelManager = nullptr;                // owned
    ProfileManagerBase* profileManager = nullptr;            // owned
    HighScoresTable* highScores = nullptr;                   // owned
    Tutorial* tutorial = nullptr;                            // owned
    GameTools::SpriteManager* spriteManager = nullptr;       // owned; registered as the single instance
    GUIFrameworkWindow* optionalWindow = nullptr; // owned, may stay null; updated, never dispatched
    GUIGameCursorBase* cursor = nullptr;          // owned

    // The windows of the flow, owned, one per role. Only the cursor, logos and loading windows exist before
    // the game-wide data has been loaded; CreateWindows makes the rest.
    GUILogosWindowBase* logosWindow = nullptr;
    GUILoadingWindowBase* loadingWindow = nullptr;
    GUILoadingWindowBase* gameLogicLoadingWindow = nullptr;
    GUIWelcomeWindowBase* welcomeWindow = nullptr;
    GUIExitWindowBase* exitWindow = nullptr;
    GUIMainMenuWindowBase* mainMenuWindow = nullptr;
    GUIProfilesWindowBase* profilesWindow = nullptr;
    GUINewProfileWindowBase* newProfileWindow = nullptr;
    GUIRenameProfileWindowBase* renameProfileWindow = nullptr;
    GUIDeleteProfileWindowBase* deleteProfileWindow = nullptr;
    GUIProfileNameConflictWindowBase* profileNameConflictWindow = nullptr;
    GUIStartGameLogicWindowBase* startGameLogicWindow = nullptr;
    GUIContinueGameLogicWindowBase* continueGameLogicWindow = nullptr;
    GUIHighScoresWindowBase* highScoresWindow = nullptr;
    GUIOptionsWindowBase* optionsWindow = nullptr;
    GUIHelpWindowBase* helpWindow = nullptr;
    GUIGameLogicWindowBase* gameLogicWindow = nullptr; // the in-game display
    GUIGameLogicPauseWindowBase* gameLogicPauseWindow = nullptr;
    GUIGameLogicMenuWindowBase* gameLogicMenuWindow = nullptr;
    GUIGameLogicMenuExitWindowBase* gameLogicMenuExitWindow = nullptr;
    GUIGameLogicRestartWindowBase* gameLogicRestartWindow = nullptr;
    GUIGameLogicGameExitWindowBase* gameLogicGameExitWindow = nullptr;
    GUILevelCompleteWindowBase* levelCompleteWindow = nullptr;
    GUIStageCompleteWindowBase* stageCompleteWindow = nullptr;
    GUIGameCompleteWindowBase* gameCompleteWindow = nullptr;
    GUIGameOverWindowBase* gameOverWindow = nullptr;

    GameLogicBase* gameLogic = nullptr; // owned: the level in play, or null

    bool pausedByInactivity = false; // music and the level clock were paused because the window lost focus
    bool savedTimerPause = false;    // the level clock's pause before that, given back on return
    int modeChangeCounter = 0;       // frames since "v_window_change_mode" was triggered
    std::string cheatPhraseBuffer;   // letters typed towards CheatPhrase

protected:
    // The frame of an inactive window in a menu, or with a level that is not running: keeps the engine
    // alive, pauses music and the level clock once, and sleeps; nothing is drawn.
    void RunIdleFrame();
    // The letters and blanks of the cheat phrase that went down this frame; completes, keeps or restarts
    // the buffer.
    void WatchCheatPhrase();

    // Steps shared by the window flow's handlers (GameWindowFlow.cpp).
    // A score other than 0 enters the high scores under the current profile's name and opens them with
    // the new entry (or none when it did not stay); a score of 0 opens the main menu.
    void EnterScore(uint32_t score, int mode);
    // The per-level keeper of the level at `position`, with the level's resource lists queued for loading;
    // the keeper of two starts ago is deleted.
    void PrepareLevelData(const LevelPosition& position);
    // Hides the in-game display and deletes the level in play.
    void EndLevel();
    // Activates the display and resumes the level in play.
    void ResumeLevel();
    // The current profile; null, with an error logged, when there is none.
    ProfileBase* RequireProfile(const char* step);
    // The profile's current level; a position that names no level falls back to the first level (the
    // profile is corrected in memory). False when the level list has no level at all.
    bool ResolveStartPosition(ProfileBase& profile, LevelPosition& position);
};

} // namespace GameFramework
