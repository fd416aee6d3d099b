#include "game/shell/Game.h"

#include "engine/core/EngineStartupParams.h"
#include "engine/core/MessageManager.h"
#include "engine/gui/GUIManager.h"
#include "framework/AudioPlayer.h"
#include "framework/LanguageManager.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/shell/GUIBackground.h"
#include "game/shell/GUIContinueGameLogicWindow.h"
#include "game/shell/GUIDeleteProfileWindow.h"
#include "game/shell/GUIExitWindow.h"
#include "game/shell/GUIGameCompleteWindow.h"
#include "game/shell/GUIGameCursor.h"
#include "game/shell/GUIGameLoadingWindow.h"
#include "game/shell/GUIGameLogicGameExitWindow.h"
#include "game/shell/GUIGameLogicLoadingWindow.h"
#include "game/shell/GUIGameLogicMenuExitWindow.h"
#include "game/shell/GUIGameLogicMenuWindow.h"
#include "game/shell/GUIGameLogicPauseWindow.h"
#include "game/shell/GUIGameLogicRestartWindow.h"
#include "game/shell/GUIGameLogicWindow.h"
#include "game/shell/GUIGameOverWindow.h"
#include "game/shell/GUIHelpWindow.h"
#include "game/shell/GUIHighScoresWindow.h"
#include "game/shell/GUILevelCompleteWindow.h"
#include "game/shell/GUILogosWindow.h"
#include "game/shell/GUIMainMenuWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GUINewProfileWindow.h"
#include "game/shell/GUIOptionsWindow.h"
#include "game/shell/GUIProfileNameConflictWindow.h"
#include "game/shell/GUIProfilesWindow.h"
#include "game/shell/GUIRenameProfileWindow.h"
#include "game/shell/GUIStageCompleteWindow.h"
#include "game/shell/GUIStartGameLogicWindow.h"
#include "game/shell/GUIWelcomeWindow.h"
#include "game/shell/GameData.h"
#include "game/shell/GameSounds.h"
#include "game/shell/LevelManager.h"
#include "game/shell/ProfileManager.h"

namespace VelmoraBall {

namespace {

template <class T> void DeleteAndClear(T*& object) {
    T* doomed = object;
    object = nullptr;
    delete doomed;
}

} // namespace

Game::Game(const std::string& companyName, const std::string& gameName, int version,
           const std::string& registryKeyPath, const std::string& installationDirectory,
           const std::string& publisherName)
    : GameBase(companyName, gameName, version, registryKeyPath, installationDirectory, publisherName) {
    // Every factory and hook Initialize calls is already the game's: the object is fully a Game here.
    try {
        Initialize();
    } catch (...) {
        // The destructor does not run for a constructor that throws: tear down what was built, in order.
        DeleteAndClear(background);
        DeleteAndClear(menuWindowManager);
        throw;
    }
}

Game::~Game() {
    DeleteAndClear(background);
    DeleteAndClear(menuWindowManager);
}

void Game::FillEngineSettings(OrvexEngine::EngineStartupParams& params) {
    GameBase::FillEngineSettings(params);
    params.useStencilBuffer = true; // the blocks' shadows
    params.defaultVideoMode = "1024x768x32";
    params.iconResource = 101;
}

void Game::RegisterConsoleVariables() {
    GameBase::RegisterConsoleVariables();
}

void Game::OnInitialized() {
    RegisterGameSounds(*guiSoundManager, *audioPlayer);
}

void Game::CreateWindows() {
    GameCursor()->CreateEffects(dataKeeper);
    if (background != nullptr)
        background->LoadAdditionalLayers();
    GameBase::CreateWindows();
}

GameFramework::LevelManagerBase* Game::CreateLevelManager() {
    return new LevelManager();
}

GameFramework::ProfileManagerBase* Game::CreateProfileManager() {
    return new ProfileManager(audioPlayer, userDataDirectory);
}

GameTools::DataKeeper* Game::CreateDataKeeper() {
    auto* gameData = new GameData(languageManager->GetCurrentLanguage());
    gameData->LoadResourceList("data\\ui\\background\\resources_basic.xml", true);
    gameData->LoadResourceList("data\\ui\\background\\resources_additional.xml", false);
    gameData->LoadResourceList("data\\game_objects\\resources.xml", false);
    return gameData;
}

GameFramework::GUIGameCursorBase* Game::CreateCursor() {
    return new GUIGameCursor();
}

GameFramework::GUILogosWindowBase* Game::CreateLogosWindow() {
    return new GUILogosWindow();
}

GameFramework::GUILoadingWindowBase* Game::CreateLoadingWindow() {
    background = new GUIBackground(dataKeeper);
    // Visible from the loading window's first frame, without a fade.
    background->Show(true, false, 1.0f);
    menuWindowManager = new GUIMenuWindowManager(static_cast<GameData*>(dataKeeper));
    return new GUIGameLoadingWindow(audioPlayer, dataKeeper, guiToolManager, menuWindowManager,
                                    background->foregroundWindow);
}

GameFramework::GUILoadingWindowBase* Game::CreateGameLogicLoadingWindow() {
    return new GUIGameLogicLoadingWindow(levelManager, audioPlayer, dataKeeper, guiToolManager,
                                         menuWindowManager, background->foregroundWindow);
}

GameFramework::GUIFrameworkWindow* Game::CreateOptionalWindow() {
    return nullptr;
}

// The menu windows all take, after their own first arguments, the game-wide keeper, the GUI tools, the
// menu-window manager and the background's front window as their parent.
#define VB_MENU_WINDOW_TAIL dataKeeper, guiToolManager, menuWindowManager, background->foregroundWindow

GameFramework::GUIWelcomeWindowBase* Game::CreateWelcomeWindow() {
    return new GUIWelcomeWindow(profileManager, audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIExitWindowBase* Game::CreateExitWindow() {
    return new GUIExitWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIMainMenuWindowBase* Game::CreateMainMenuWindow() {
    return new GUIMainMenuWindow(profileManager, audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIProfilesWindowBase* Game::CreateProfilesWindow() {
    return new GUIProfilesWindow(audioPlayer, profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUINewProfileWindowBase* Game::CreateNewProfileWindow() {
    return new GUINewProfileWindow(profileManager, audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIRenameProfileWindowBase* Game::CreateRenameProfileWindow() {
    return new GUIRenameProfileWindow(profileManager, audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIDeleteProfileWindowBase* Game::CreateDeleteProfileWindow() {
    return new GUIDeleteProfileWindow(profileManager, audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIProfileNameConflictWindowBase* Game::CreateProfileNameConflictWindow() {
    return new GUIProfileNameConflictWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIStartGameLogicWindowBase* Game::CreateStartGameLogicWindow() {
    return new GUIStartGameLogicWindow(audioPlayer, levelManager, profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIContinueGameLogicWindowBase* Game::CreateContinueGameLogicWindow() {
    return new GUIContinueGameLogicWindow(audioPlayer, profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIHighScoresWindowBase* Game::CreateHighScoresWindow() {
    return new GUIHighScoresWindow(profileManager, audioPlayer, highScores, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIOptionsWindowBase* Game::CreateOptionsWindow() {
    return new GUIOptionsWindow(audioPlayer, profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIHelpWindowBase* Game::CreateHelpWindow() {
    return new GUIHelpWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameLogicWindowBase* Game::CreateGameLogicWindow() {
    return new GUIGameLogicWindow(profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameLogicPauseWindowBase* Game::CreateGameLogicPauseWindow() {
    return new GUIGameLogicPauseWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameLogicMenuWindowBase* Game::CreateGameLogicMenuWindow() {
    return new GUIGameLogicMenuWindow(audioPlayer, profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameLogicMenuExitWindowBase* Game::CreateGameLogicMenuExitWindow() {
    return new GUIGameLogicMenuExitWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameLogicRestartWindowBase* Game::CreateGameLogicRestartWindow() {
    return new GUIGameLogicRestartWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameLogicGameExitWindowBase* Game::CreateGameLogicGameExitWindow() {
    return new GUIGameLogicGameExitWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUILevelCompleteWindowBase* Game::CreateLevelCompleteWindow() {
    return new GUILevelCompleteWindow(audioPlayer, levelManager, profileManager, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIStageCompleteWindowBase* Game::CreateStageCompleteWindow() {
    return new GUIStageCompleteWindow(levelManager);
}

GameFramework::GUIGameCompleteWindowBase* Game::CreateGameCompleteWindow() {
    return new GUIGameCompleteWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

GameFramework::GUIGameOverWindowBase* Game::CreateGameOverWindow() {
    return new GUIGameOverWindow(audioPlayer, VB_MENU_WINDOW_TAIL);
}

#undef VB_MENU_WINDOW_TAIL

GameTools::DataKeeper* Game::CreateGameLogicData(GameFramework::StageInfo* /*stage*/,
                                                 GameFramework::LevelInfo* level) {
    return new GameLogicData(languageManager->GetCurrentLanguage(),
                             static_cast<GameLevelInfo*>(level)->geometryFile);
}

GameFramework::GameLogicBase* Game::CreateGameLogic(GameFramework::StageInfo* stage,
                                                    GameFramework::LevelInfo* level, uint32_t lives) {
    return new GameLogic(cursor, profileManager, audioPlayer, static_cast<GameData*>(dataKeeper),
                         static_cast<GameLogicData*>(currentLevelData), guiToolManager,
                         static_cast<GameStageInfo*>(stage), static_cast<GameLevelInfo*>(level), lives);
}

void Game::ExecuteConsoleCommands() {
    GameBase::ExecuteConsoleCommands();
}

void Game::PrintCheatHelp() {
    GameBase::PrintCheatHelp();
    static const char* const lines[] = {
        "---------------------------------------",
        "- Press in game play",
        "- \"F1\" - add extra life",
        "- \"F2\" - decrease bat size",
        "- \"F3\" - increase bat size",
        "- \"F4\" - balls slow down",
        "- \"F5\" - balls speed up",
        "- \"F6\" - balls split",
        "- \"F7\" - make super ball",
        "- \"F8\" - add barrier",
        "- \"F9\" - add arbalest",
        "- \"F10\" - add ballista",
        "- \"F11\" - destroy all bricks",
        "- \"F12\" - add hammer",
        "---------------------------------------",
        "- Console command \"g_open_map\" - open all map",
        "- Console command \"g_reset_map\" - reset map",
        "---------------------------------------",
        "- Use \"Page Up\" to see remainder cheats",
    };
    OrvexEngine::MessageManager* log = OrvexEngine::Log();
    for (const char* line : lines)
        log->Important(line);
}

float Game::GetDefaultMusicVolume() {
    return 0.285f;
}

float Game::GetDefaultSoundVolume() {
    return 0.315f;
}

void Game::RestoreRenderDevice() {
    GameBase::RestoreRenderDevice();
}

void Game::DispatchWindowResults() {
    GameBase::DispatchWindowResults();
}

void Game::ClearWindowResults() {
    GameBase::ClearWindowResults();
}

void Game::UpdateAll() {
    if (background != nullptr)
        background->Update();
    if (menuWindowManager != nullptr)
        menuWindowManager->Update();
    GameBase::UpdateAll();
    if (menuWindowManager != nullptr)
        menuWindowManager->UpdateWindows();
}

GUIGameCursor* Game::GameCursor() const {
    return static_cast<GUIGameCursor*>(cursor);
}

} // namespace VelmoraBall
