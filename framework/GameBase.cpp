#include "framework/GameBase.h"

#include "engine/core/Console.h"
#include "engine/core/Engine.h"
#include "engine/core/StringUtils.h"
#include "engine/core/Window.h"
#include "engine/files/FileManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIManager.h"
#include "framework/AudioPlayer.h"
#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIFrameworkWindowBases.h"
#include "framework/GUIGameCursorBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/HighScoresTable.h"
#include "framework/LanguageManager.h"
#include "framework/ProfileManagerBase.h"
#include "framework/Tutorial.h"
#include "gametools/DataKeeper.h"
#include "gametools/Sprite2D.h"
#include "gametools/SpriteManager.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextTool.h"
#include "guitools/GUIToolManager.h"

namespace GameFramework {

namespace {

template <class T> void DeleteAndClear(T*& pointer) {
    delete pointer;
    pointer = nullptr;
}

} // namespace

GameBase::GameBase(const std::string& companyName, const std::string& gameName, int version,
                   const std::string& registryKeyPath, const std::string& installationDirectory,
                   const std::string& publisherName)
    : companyName(companyName), gameName(gameName), version(version), publisherName(publisherName),
      registryKeyPath(registryKeyPath), installationDirectory(installationDirectory) {
    // Without an application-data folder the text starts with the separator; the files then fail to open
    // and the game goes on without saving.
    userDataDirectory = OrvexEngine::GetUserDataFolder() + "\\" + companyName + "\\" + gameName;
}

GameBase::~GameBase() {
    // What uses the engine's services goes before the engine; every field may be null when Initialize
    // stopped part-way.
    DeleteAndClear(gameLogic);
    DeleteAndClear(levelCompleteWindow);
    DeleteAndClear(stageCompleteWindow);
    DeleteAndClear(gameCompleteWindow);
    DeleteAndClear(gameOverWindow);
    DeleteAndClear(gameLogicGameExitWindow);
    DeleteAndClear(gameLogicRestartWindow);
    DeleteAndClear(gameLogicMenuExitWindow);
    DeleteAndClear(gameLogicMenuWindow);
    DeleteAndClear(gameLogicPauseWindow);
    DeleteAndClear(gameLogicWindow);
    DeleteAndClear(helpWindow);
    DeleteAndClear(optionsWindow);
    DeleteAndClear(highScoresWindow);
    DeleteAndClear(continueGameLogicWindow);
    DeleteAndClear(startGameLogicWindow);
    DeleteAndClear(profileNameConflictWindow);
    DeleteAndClear(profilesWindow);
    DeleteAndClear(newProfileWindow);
    DeleteAndClear(renameProfileWindow);
    DeleteAndClear(deleteProfileWindow);
    DeleteAndClear(mainMenuWindow);
    DeleteAndClear(exitWindow);
    DeleteAndClear(welcomeWindow);
    DeleteAndClear(gameLogicLoadingWindow);
    DeleteAndClear(loadingWindow);
    DeleteAndClear(logosWindow);
    DeleteAndClear(cursor);
    DeleteAndClear(optionalWindow);
    DeleteAndClear(tutorial);
    DeleteAndClear(highScores);
    DeleteAndClear(profileManager);
    DeleteAndClear(levelManager);
    DeleteAndClear(dataKeeper);
    DeleteAndClear(currentLevelData);
    DeleteAndClear(previousLevelData);
    DeleteAndClear(spriteManager);
    DeleteAndClear(guiToolManager);
    fontTool = nullptr;
    textTool = nullptr;
    DeleteAndClear(languageManager);
    DeleteAndClear(audioPlayer);
    // Saves the settings file (with "d_show_statistics" still bound to this object) and closes the log.
    DeleteAndClear(engine);
    textureManager = nullptr;
    guiSoundManager = nullptr;
}

void GameBase::Initialize() {
    OrvexEngine::EngineStartupParams params;
    FillEngineSettings(params);
    engine = new OrvexEngine::Engine(params);

    textureManager = OrvexEngine::ShaderManager::Instance()->GetTextureManager();
    guiSoundManager = OrvexEngine::GUIManager::Instance()->GetSoundManager();

    languageManager = new LanguageManager(registryKeyPath);
    // The settings file and the log stay in the company\game folder; each publisher's players get their own.
    userDataDirectory += "\\" + publisherName;
    RegisterConsoleVariables();

    guiToolManager = new GUITools::GUIToolManager(languageManager->GetCurrentLanguage());
    fontTool = guiToolManager->fontTool;
    textTool = guiToolManager->textTool;

    spriteManager = new GameTools::SpriteManager();
    GameTools::SpriteManager::Instance(spriteManager);

    OrvexEngine::Window::Instance()->SetTitle(OrvexEngine::ToMultiByte(textTool->GetText("game_title")));
    SetGUIVirtualSize();

    CreateConsole();
    // It exists from now on but opens only after the cheat phrase.
    OrvexEngine::Console::Instance()->SetEnabled(false);

    audioPlayer = new AudioPlayer(GetDefaultMusicVolume(), GetDefaultSoundVolume());
    levelManager = CreateLevelManager();
    profileManager = CreateProfileManager();
    highScores = new HighScoresTable(10, userDataDirectory);
    tutorial = new Tutorial(profileManager);
    dataKeeper = CreateDataKeeper();
    dataKeeper->LoadResourceList("data\\ui\\resources_basic.xml", true);
    dataKeeper->LoadResourceList("data\\ui\\resources_additional.xml", false);

    cursor = CreateCursor();
    logosWindow = CreateLogosWindow();
    loadingWindow = CreateLoadingWindow();
    OnInitialized();
    logosWindow->Show(ModeStartUp);
}

void GameBase::FillEngineSettings(OrvexEngine::EngineStartupParams& params) {
    params.title = gameName;
    params.version = version;
    params.baseDirectory = installationDirectory;
    params.configName = gameName;
    params.saveConfigOnExit = true;
    params.usePacks = true;
    params.dataDirectory = "data";
    params.maxMemoryFileSize = 16777216;
    params.parentWindow = 0;
    params.iconResource = 0;
    params.sound3D = false;
    params.forceDefaultVideoMode = false;
    params.defaultVideoMode = "1024x768x32";
    params.forceDefaultFullscreen = false;
    params.defaultFullscreen = true;
    params.allowOversizedWindow = false;
    params.centerWindow = true;
    params.windowPosition = OrvexEngine::Vec2i(0, 0);
    params.logName = gameName;
    params.useStencilBuffer = false;
    params.logEnabled = true;
    params.logReopenPerMessage = false;
    // Called before the publisher's folder is appended: the settings and the log are shared by publishers.
    params.logDirectory = userDataDirectory;
    params.configDirectory = userDataDirectory;
}

void GameBase::SetGUIVirtualSize() {
    OrvexEngine::GUIManager::Instance()->SetScreenSize(800, 600);
}

void GameBase::CreateConsole() {
    OrvexEngine::ShaderDescriptor background;
    background.InitFromImages(true, "ui\\console\\console.jpg", "32bit", true);
    engine->CreateConsole(engine->MakeWindowTitle(), background, fontTool->GetFontIndex("console"), L'_',
                          L']', L'^', "~", 0.95f, 308, 1000);
}

void GameBase::OnInitialized() {}

void GameBase::CreateWindows() {
    gameLogicLoadingWindow = CreateGameLogicLoadingWindow();
    optionalWindow = CreateOptionalWindow();
    welcomeWindow = CreateWelcomeWindow();
    exitWindow = CreateExitWindow();
    mainMenuWindow = CreateMainMenuWindow();
    profilesWindow = CreateProfilesWindow();
    newProfileWindow = CreateNewProfileWindow();
    renameProfileWindow = CreateRenameProfileWindow();
    deleteProfileWindow = CreateDeleteProfileWindow();
    profileNameConflictWindow = CreateProfileNameConflictWindow();
    startGameLogicWindow = CreateStartGameLogicWindow();
    continueGameLogicWindow = CreateContinueGameLogicWindow();
    highScoresWindow = CreateHighScoresWindow();
    optionsWindow = CreateOptionsWindow();
    helpWindow = CreateHelpWindow();
    gameLogicWindow = CreateGameLogicWindow();
    gameLogicPauseWindow = CreateGameLogicPauseWindow();
    gameLogicMenuWindow = CreateGameLogicMenuWindow();
    gameLogicMenuExitWindow = CreateGameLogicMenuExitWindow();
    gameLogicRestartWindow = CreateGameLogicRestartWindow();
    gameLogicGameExitWindow = CreateGameLogicGameExitWindow();
    levelCompleteWindow = CreateLevelCompleteWindow();
    stageCompleteWindow = CreateStageCompleteWindow();
    gameCompleteWindow = CreateGameCompleteWindow();
    gameOverWindow = CreateGameOverWindow();
}

float GameBase::GetDefaultMusicVolume() {
    return 1.0f;
}

float GameBase::GetDefaultSoundVolume() {
    return 1.0f;
}

bool GameBase::IsExitRequested() const {
    // A root without an engine has nothing to run: the loop must not spin on it.
    return engine == nullptr || engine->IsExitRequested();
}

std::string GameBase::MakeSoundPath(const std::string& category, const std::string& name) const {
    const std::string stem = "audio\\" + category + "\\" + name + ".";
    if (OrvexEngine::FileManager::Instance()->FileExists("data\\" + stem + "wav"))
        return stem + "wav";
    return stem + "ogg";
}

} // namespace GameFramework
