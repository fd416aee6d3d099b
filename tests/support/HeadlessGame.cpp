#include "tests/support/HeadlessGame.h"

#include "tests/support/FlowRoles.h"

#include "engine/core/EngineStartupParams.h"
#include "framework/AudioPlayer.h"
#include "framework/HighScoresTable.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIToolManager.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/TestLog.h"

#include <atomic>
#include <filesystem>
#include <fstream>

using namespace GameFramework;

namespace VelmoraTest {

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Position(const LevelPosition& position) {
    return std::to_string(position.stage) + "-" + std::to_string(position.level);
}

uint32_t KeyCodeOf(char character) {
    using namespace platform::input;
    static const uint32_t letters[26] = {KeyA, KeyB, KeyC, KeyD, KeyE, KeyF, KeyG, KeyH, KeyI,
                                         KeyJ, KeyK, KeyL, KeyM, KeyN, KeyO, KeyP, KeyQ, KeyR,
                                         KeyS, KeyT, KeyU, KeyV, KeyW, KeyX, KeyY, KeyZ};
    if (character >= 'a' && character <= 'z')
        return letters[character - 'a'];
    return KeySpace;
}

} // namespace

std::vector<std::string> Transcript::Matching(const std::string& prefix, size_t first) const {
    std::vector<std::string> found;
    for (size_t i = first; i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0)
            found.push_back(lines[i]);
    return found;
}

bool Transcript::Contains(const std::string& line) const {
    return Find(line) != std::string::npos;
}

size_t Transcript::Find(const std::string& line, size_t first) const {
    for (size_t i = first; i < lines.size(); ++i)
        if (lines[i] == line)
            return i;
    return std::string::npos;
}

std::string Transcript::Text() const {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

void StubLoadingWindow::Show(int newMode, GameTools::DataKeeper* keeper) {
    GUILoadingWindowBase::Show(newMode, keeper);
    Shown(newMode);
}

void StubLoadingWindow::Update() {
    StubWindow::Update();
    if (visible && finishLoading && dataKeeper != nullptr && !done && result == 0) {
        dataKeeper->LoadAll();
        done = true;
        SetResult(GameBase::ResultDone);
    }
}

void StubNewProfileWindow::Show(int newMode, bool flag) {
    GUINewProfileWindowBase::Show(newMode, flag);
    lastFlag = flag;
    Shown(newMode);
}

void StubRenameProfileWindow::Show(int newMode, bool takeName, const std::wstring& name) {
    GUIRenameProfileWindowBase::Show(newMode, takeName, name);
    Shown(newMode);
}

void StubDeleteProfileWindow::Show(int newMode, const std::wstring& name) {
    GUIDeleteProfileWindowBase::Show(newMode, name);
    Shown(newMode);
}

void StubHighScoresWindow::Show(int newMode, HighScoreEntry* entry) {
    GUIHighScoresWindowBase::Show(newMode, entry);
    Shown(newMode);
}

void StubLevelCompleteWindow::Show(int newMode, const LevelPosition& passed, float levelTime) {
    GUILevelCompleteWindowBase::Show(newMode, passed, levelTime);
    Shown(newMode);
}

void StubStageCompleteWindow::Show(int newMode, const LevelPosition& passed) {
    GUIStageCompleteWindowBase::Show(newMode, passed);
    Shown(newMode);
}

void StubGameLogicWindow::Show(int newMode, GameLogicBase* level) {
    GUIGameLogicWindowBase::Show(newMode, level);
    Shown(newMode);
}

void StubGameLogicWindow::SetActive(bool flag) {
    GUIGameLogicWindowBase::SetActive(flag);
    transcript->Add("active " + role + " " + (flag ? "1" : "0"));
}

StubGameLogic::StubGameLogic(Transcript* transcript, AudioPlayer* audio, StageInfo* stage, LevelInfo* level,
                             uint32_t lives)
    : GameLogicBase(audio, stage, level, lives), transcript(transcript) {
    transcript->Add("level created " + Position(GetPosition()) + " lives " + std::to_string(lives));
}

StubGameLogic::~StubGameLogic() {
    transcript->Add("level deleted");
}

void StubGameLogic::Update() {
    GameLogicBase::Update();
    ++updates;
    if (transcript->recordUpdates)
        transcript->Add("update level");
    if (scriptedState >= 0) {
        if (scriptedScore >= 0)
            SetScore(scriptedScore);
        SetState(scriptedState);
        scriptedState = -1;
        scriptedScore = -1;
    }
}

void StubGameLogic::OnCheatKey(bool shift, int key) {
    GameLogicBase::OnCheatKey(shift, key);
    transcript->Add(std::string("cheat key ") + (shift ? "shift " : "") + "F" + std::to_string(key));
}

void StubCursor::Update() {
    GUIGameCursorBase::Update();
    if (transcript->recordUpdates)
        transcript->Add("update cursor");
}

void StubCursor::SetVisible(bool visible) {
    GUIGameCursorBase::SetVisible(visible);
    transcript->Add(std::string("cursor ") + (visible ? "shown" : "hidden"));
}

void WriteHeadlessData(const std::string& installationDirectory) {
    const std::filesystem::path data = std::filesystem::path(installationDirectory) / "data";
    WriteText(data / "ui/resources_basic.xml", "<resources/>\n");
    WriteText(data / "ui/resources_additional.xml", "<resources/>\n");
    WriteText(data / "ui/texts/texts.xml",
              "<texts><game_title><en text=\"Headless Ball\"/></game_title></texts>\n");
    WriteText(data / "ui/texts/default_texts.xml", "<texts/>\n");
    std::filesystem::create_directories(data / "ui/fonts/en");
    WriteText(data / "levels/levels.xml",
              "<levels><stage><level/><level/><level/></stage><second><a/><b/></second></levels>\n");
}

HeadlessGame::HeadlessGame(const HeadlessOptions& givenOptions, Transcript* sharedTranscript)
    : GameBase(
          givenOptions.companyName, givenOptions.gameName, givenOptions.version, givenOptions.registryKeyPath,
          givenOptions.installationDirectory.empty() ? std::string() : givenOptions.installationDirectory,
          givenOptions.publisherName),
      options(givenOptions), transcript(sharedTranscript != nullptr ? sharedTranscript : &ownTranscript) {
    if (installationDirectory.empty()) {
        static std::atomic<int> counter{0};
        installationDirectory = TempDir() + "/headless-install-" + std::to_string(++counter);
        WriteHeadlessData(installationDirectory);
    }
    Initialize();
}

HeadlessGame::~HeadlessGame() {
    Record("destroyed after " + std::to_string(framesRun) + " frames");
}

void HeadlessGame::Record(const std::string& hook) {
    transcript->Add(hook);
}

std::string HeadlessGame::Existing() const {
    std::string text;
    auto add = [&text](bool exists, const char* name) {
        if (exists)
            text += text.empty() ? name : std::string(" ") + name;
    };
    add(engine != nullptr, "engine");
    add(textureManager != nullptr, "textures");
    add(languageManager != nullptr, "language");
    add(guiToolManager != nullptr, "guitools");
    add(spriteManager != nullptr, "sprites");
    add(audioPlayer != nullptr, "audio");
    add(levelManager != nullptr, "levels");
    add(profileManager != nullptr, "profiles");
    add(highScores != nullptr, "highscores");
    add(tutorial != nullptr, "tutorial");
    add(dataKeeper != nullptr, "data");
    add(cursor != nullptr, "cursor");
    add(logosWindow != nullptr, "logos");
    add(loadingWindow != nullptr, "loading");
    return text;
}

void HeadlessGame::Frame(int count) {
    for (int i = 0; i < count; ++i) {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        UpdateFrame();
    }
}

void HeadlessGame::PressKey(uint32_t keyCode) {
    platform::sim::PushKey(keyCode, true);
    platform::sim::PushKey(keyCode, false);
    Frame();
}

void HeadlessGame::Type(const std::string& text) {
    for (char character : text)
        PressKey(KeyCodeOf(character));
}

void HeadlessGame::SetFocus(bool focused) {
    platform::sim::PushFocus(focused);
}

StubWindow<GUILogosWindowBase>* HeadlessGame::Logos() {
    return static_cast<StubWindow<GUILogosWindowBase>*>(logosWindow);
}
StubLoadingWindow* HeadlessGame::Loading() {
    return static_cast<StubLoadingWindow*>(loadingWindow);
}
StubLoadingWindow* HeadlessGame::LevelLoading() {
    return static_cast<StubLoadingWindow*>(gameLogicLoadingWindow);
}
StubWindow<GUIMainMenuWindowBase>* HeadlessGame::MainMenu() {
    return static_cast<StubWindow<GUIMainMenuWindowBase>*>(mainMenuWindow);
}
StubWindow<GUIWelcomeWindowBase>* HeadlessGame::Welcome() {
    return static_cast<StubWindow<GUIWelcomeWindowBase>*>(welcomeWindow);
}
StubGameLogicWindow* HeadlessGame::Play() {
    return static_cast<StubGameLogicWindow*>(gameLogicWindow);
}
StubGameLogic* HeadlessGame::Level() {
    return static_cast<StubGameLogic*>(gameLogic);
}

GUIFrameworkWindow* HeadlessGame::Window(const std::string& role) const {
    return FlowRoleWindow(*this, role);
}

StubControl* HeadlessGame::Stub(const std::string& role) const {
    return dynamic_cast<StubControl*>(Window(role));
}

void HeadlessGame::Decide(const std::string& role, int code) {
    if (StubControl* stub = Stub(role))
        stub->Decide(code);
}

void HeadlessGame::UpdateFrame() {
    GameBase::UpdateFrame();
    ++framesRun;
    if (options.afterFrame)
        options.afterFrame(*this, framesRun);
}

void HeadlessGame::Initialize() {
    Record("Initialize");
    GameBase::Initialize();
}

void HeadlessGame::FillEngineSettings(OrvexEngine::EngineStartupParams& params) {
    Record("FillEngineSettings [" + Existing() + "]");
    GameBase::FillEngineSettings(params);
    // No display to fill: a small window keeps the offscreen frames cheap.
    params.defaultVideoMode = "640x480x32";
    params.defaultFullscreen = false;
}

void HeadlessGame::RegisterConsoleVariables() {
    Record("RegisterConsoleVariables [" + Existing() + "]");
    GameBase::RegisterConsoleVariables();
}

void HeadlessGame::CreateConsole() {
    Record("CreateConsole [" + Existing() + "]");
    GameBase::CreateConsole();
}

void HeadlessGame::OnInitialized() {
    Record("OnInitialized [" + Existing() + "]");
    GameBase::OnInitialized();
    if (options.onInitialized)
        options.onInitialized(*this);
}

void HeadlessGame::CreateWindows() {
    Record("CreateWindows");
    GameBase::CreateWindows();
}

void HeadlessGame::ExecuteConsoleCommands() {
    if (transcript->recordUpdates)
        Record("ExecuteConsoleCommands");
    GameBase::ExecuteConsoleCommands();
}

void HeadlessGame::PrintCheatHelp() {
    Record("PrintCheatHelp");
    GameBase::PrintCheatHelp();
}

void HeadlessGame::RestoreRenderDevice() {
    Record("RestoreRenderDevice");
    GameBase::RestoreRenderDevice();
}

void HeadlessGame::DispatchWindowResults() {
    if (transcript->recordUpdates)
        Record("DispatchWindowResults");
    GameBase::DispatchWindowResults();
}

void HeadlessGame::ClearWindowResults() {
    if (transcript->recordUpdates)
        Record("ClearWindowResults");
    GameBase::ClearWindowResults();
}

void HeadlessGame::UpdateAll() {
    if (transcript->recordUpdates)
        Record("UpdateAll");
    GameBase::UpdateAll();
}

float HeadlessGame::GetDefaultMusicVolume() {
    return options.defaultMusicVolume;
}

float HeadlessGame::GetDefaultSoundVolume() {
    return options.defaultSoundVolume;
}

LevelManagerBase* HeadlessGame::CreateLevelManager() {
    Record("CreateLevelManager [" + Existing() + "]");
    return new StubLevelManager();
}

ProfileManagerBase* HeadlessGame::CreateProfileManager() {
    Record("CreateProfileManager [" + Existing() + "]");
    return new TestProfileManager(audioPlayer, userDataDirectory);
}

GameTools::DataKeeper* HeadlessGame::CreateDataKeeper() {
    Record("CreateDataKeeper [" + Existing() + "]");
    return new GameTools::DataKeeper(guiToolManager->language);
}

GUIGameCursorBase* HeadlessGame::CreateCursor() {
    Record("CreateCursor [" + Existing() + "]");
    return new StubCursor(transcript);
}

GUILogosWindowBase* HeadlessGame::CreateLogosWindow() {
    Record("CreateLogosWindow [" + Existing() + "]");
    auto* window = new StubWindow<GUILogosWindowBase>(transcript, "logos");
    if (options.autoStartUp)
        window->autoResult = ResultDone;
    return window;
}

GUILoadingWindowBase* HeadlessGame::CreateLoadingWindow() {
    Record("CreateLoadingWindow [" + Existing() + "]");
    auto* window = new StubLoadingWindow(transcript, "loading");
    window->finishLoading = options.autoStartUp;
    return window;
}

GUILoadingWindowBase* HeadlessGame::CreateGameLogicLoadingWindow() {
    auto* window = new StubLoadingWindow(transcript, "level loading");
    window->finishLoading = options.autoStartUp;
    return window;
}

GUIFrameworkWindow* HeadlessGame::CreateOptionalWindow() {
    return options.optionalWindow ? new StubWindow<GUIFrameworkWindow>(transcript, "optional") : nullptr;
}

GUIWelcomeWindowBase* HeadlessGame::CreateWelcomeWindow() {
    return new StubWindow<GUIWelcomeWindowBase>(transcript, "welcome", profileManager);
}

GUIExitWindowBase* HeadlessGame::CreateExitWindow() {
    return new StubWindow<GUIExitWindowBase>(transcript, "exit");
}

GUIMainMenuWindowBase* HeadlessGame::CreateMainMenuWindow() {
    return new StubWindow<GUIMainMenuWindowBase>(transcript, "main menu");
}

GUIProfilesWindowBase* HeadlessGame::CreateProfilesWindow() {
    return new StubWindow<GUIProfilesWindowBase>(transcript, "profiles", profileManager);
}

GUINewProfileWindowBase* HeadlessGame::CreateNewProfileWindow() {
    return new StubNewProfileWindow(transcript, "new profile", profileManager);
}

GUIRenameProfileWindowBase* HeadlessGame::CreateRenameProfileWindow() {
    return new StubRenameProfileWindow(transcript, "rename profile", profileManager);
}

GUIDeleteProfileWindowBase* HeadlessGame::CreateDeleteProfileWindow() {
    return new StubDeleteProfileWindow(transcript, "delete profile", profileManager);
}

GUIProfileNameConflictWindowBase* HeadlessGame::CreateProfileNameConflictWindow() {
    return new StubWindow<GUIProfileNameConflictWindowBase>(transcript, "name conflict");
}

GUIStartGameLogicWindowBase* HeadlessGame::CreateStartGameLogicWindow() {
    return new StubWindow<GUIStartGameLogicWindowBase>(transcript, "start");
}

GUIContinueGameLogicWindowBase* HeadlessGame::CreateContinueGameLogicWindow() {
    return new StubWindow<GUIContinueGameLogicWindowBase>(transcript, "continue");
}

GUIHighScoresWindowBase* HeadlessGame::CreateHighScoresWindow() {
    return new StubHighScoresWindow(transcript, "high scores", highScores);
}

GUIOptionsWindowBase* HeadlessGame::CreateOptionsWindow() {
    return new StubWindow<GUIOptionsWindowBase>(transcript, "options", audioPlayer, profileManager);
}

GUIHelpWindowBase* HeadlessGame::CreateHelpWindow() {
    return new StubWindow<GUIHelpWindowBase>(transcript, "help");
}

GUIGameLogicWindowBase* HeadlessGame::CreateGameLogicWindow() {
    return new StubGameLogicWindow(transcript, "play", profileManager);
}

GUIGameLogicPauseWindowBase* HeadlessGame::CreateGameLogicPauseWindow() {
    return new StubWindow<GUIGameLogicPauseWindowBase>(transcript, "pause");
}

GUIGameLogicMenuWindowBase* HeadlessGame::CreateGameLogicMenuWindow() {
    return new StubWindow<GUIGameLogicMenuWindowBase>(transcript, "menu", audioPlayer, profileManager);
}

GUIGameLogicMenuExitWindowBase* HeadlessGame::CreateGameLogicMenuExitWindow() {
    return new StubWindow<GUIGameLogicMenuExitWindowBase>(transcript, "menu exit");
}

GUIGameLogicRestartWindowBase* HeadlessGame::CreateGameLogicRestartWindow() {
    return new StubWindow<GUIGameLogicRestartWindowBase>(transcript, "restart");
}

GUIGameLogicGameExitWindowBase* HeadlessGame::CreateGameLogicGameExitWindow() {
    return new StubWindow<GUIGameLogicGameExitWindowBase>(transcript, "game exit");
}

GUILevelCompleteWindowBase* HeadlessGame::CreateLevelCompleteWindow() {
    return new StubLevelCompleteWindow(transcript, "level complete", levelManager);
}

GUIStageCompleteWindowBase* HeadlessGame::CreateStageCompleteWindow() {
    return new StubStageCompleteWindow(transcript, "stage complete", levelManager);
}

GUIGameCompleteWindowBase* HeadlessGame::CreateGameCompleteWindow() {
    return new StubWindow<GUIGameCompleteWindowBase>(transcript, "game complete");
}

GUIGameOverWindowBase* HeadlessGame::CreateGameOverWindow() {
    return new StubWindow<GUIGameOverWindowBase>(transcript, "game over");
}

GameTools::DataKeeper* HeadlessGame::CreateGameLogicData(StageInfo*, LevelInfo*) {
    return new GameTools::DataKeeper(guiToolManager->language);
}

GameLogicBase* HeadlessGame::CreateGameLogic(StageInfo* stage, LevelInfo* level, uint32_t lives) {
    return new StubGameLogic(transcript, audioPlayer, stage, level, lives);
}

GameBase* HeadlessLoader::CreateGame() {
    HeadlessOptions rootOptions = options;
    rootOptions.companyName = companyName;
    rootOptions.gameName = gameName;
    rootOptions.version = version;
    rootOptions.registryKeyPath = registryKeyPath;
    rootOptions.installationDirectory = installationDirectory;
    rootOptions.publisherName = publisherName;
    game = new HeadlessGame(rootOptions, &transcript);
    return game;
}

} // namespace VelmoraTest
