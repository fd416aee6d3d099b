// A whole application root without the game: the real GameBase start-up, frame and window flow over stub
// windows (one per role, recording what the flow does to them), a stub level the test wins or loses, the
// framework's level list and a test profile index, on a small data set written into a temporary
// installation folder. Input is scripted through the platform's simulation hooks, so a test drives the
// program frame by frame and reads a transcript of the windows shown and hidden and the result codes set.
#pragma once

#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIFrameworkWindowBases.h"
#include "framework/GUIGameCursorBase.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/GameBase.h"
#include "framework/GameLoaderBase.h"
#include "framework/GameLogicBase.h"
#include "framework/LevelManagerBase.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace VelmoraTest {

// What happened, one line per event, in order: "show <role> <mode>", "hide <role>", "result <role> <code>",
// "level created <s>-<l> lives <n>", "level deleted", and the root's hooks by name. Per-frame updates are
// recorded only while recordUpdates is set ("update <role>", "update level", "update cursor").
class Transcript {
public:
    void Add(const std::string& line) { lines.push_back(line); }
    void Clear() { lines.clear(); }
    // The lines from `first` on that start with the prefix, in order.
    std::vector<std::string> Matching(const std::string& prefix, size_t first = 0) const;
    bool Contains(const std::string& line) const;
    // Position of the first line equal to `line` at or after `first`; npos when there is none.
    size_t Find(const std::string& line, size_t first = 0) const;
    std::string Text() const;

    std::vector<std::string> lines;
    bool recordUpdates = false;
};

// What every stub window does besides its role base: it records Show, Hide and the results it sets, keeps
// a visible flag, and sets a scripted result at its next Update while it is visible (as a game window does
// when the player acts), or once after each Show (autoResult), or inside its Show (decideInShow, with the
// seen flag cleared, as windows that decide at once do).
class StubControl {
public:
    StubControl(Transcript* transcript, std::string role) : transcript(transcript), role(std::move(role)) {}
    StubControl(const StubControl&) = delete;
    StubControl& operator=(const StubControl&) = delete;
    virtual ~StubControl() = default;

    // The player's choice, taken at the next Update while the window is shown.
    void Decide(int code) { pending = code; }

    Transcript* transcript;
    std::string role;
    bool visible = false;
    int pending = 0;
    int autoResult = 0;   // set once after each Show
    int decideInShow = 0; // set inside Show
    int updates = 0;

protected:
    bool autoDone = false;
};

template <class Base> class StubWindow : public Base, public StubControl {
public:
    template <class... Args>
    StubWindow(Transcript* transcript, std::string role, Args&&... args)
        : Base(std::forward<Args>(args)...), StubControl(transcript, std::move(role)) {}

    using Base::Show;
    void Show(int newMode) override {
        Base::Show(newMode);
        Shown(newMode);
    }
    void Hide() override {
        Base::Hide();
        visible = false;
        transcript->Add("hide " + role);
    }
    void Update() override {
        Base::Update();
        ++updates;
        if (transcript->recordUpdates)
            transcript->Add("update " + role);
        if (!visible)
            return;
        if (pending != 0) {
            SetResult(pending);
            pending = 0;
        } else if (autoResult != 0 && !autoDone) {
            SetResult(autoResult);
            autoDone = true;
        }
    }

protected:
    void Shown(int newMode) {
        visible = true;
        autoDone = false;
        transcript->Add("show " + role + " " + std::to_string(newMode));
        if (decideInShow != 0) {
            SetResult(decideInShow);
            this->resultSeen = false;
        }
    }
    void SetResult(int code) {
        this->result = code;
        transcript->Add("result " + role + " " + std::to_string(code));
    }
};

// Both loading roles: loads the whole keeper at its first Update while shown and reports done (1).
class StubLoadingWindow : public StubWindow<GameFramework::GUILoadingWindowBase> {
public:
    StubLoadingWindow(Transcript* transcript, std::string role) : StubWindow(transcript, std::move(role)) {}
    using StubWindow::Show;
    void Show(int newMode, GameTools::DataKeeper* keeper) override;
    void Update() override;

    bool finishLoading = true;
};

class StubNewProfileWindow : public StubWindow<GameFramework::GUINewProfileWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, bool flag) override;
    bool lastFlag = false;
};

class StubRenameProfileWindow : public StubWindow<GameFramework::GUIRenameProfileWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, bool takeName, const std::wstring& name) override;
};

class StubDeleteProfileWindow : public StubWindow<GameFramework::GUIDeleteProfileWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, const std::wstring& name) override;
};

class StubHighScoresWindow : public StubWindow<GameFramework::GUIHighScoresWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, GameFramework::HighScoreEntry* entry) override;
};

class StubLevelCompleteWindow : public StubWindow<GameFramework::GUILevelCompleteWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, const GameFramework::LevelPosition& passed, float levelTime) override;
};

class StubStageCompleteWindow : public StubWindow<GameFramework::GUIStageCompleteWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, const GameFramework::LevelPosition& passed) override;
};

// The in-game display: records the level it is shown with and every change of its active flag.
class StubGameLogicWindow : public StubWindow<GameFramework::GUIGameLogicWindowBase> {
public:
    using StubWindow::Show;
    using StubWindow::StubWindow;
    void Show(int newMode, GameFramework::GameLogicBase* level) override;
    void SetActive(bool flag) override;
};

// A level the test finishes: scriptedState is taken at its next Update; cheat keys are recorded.
class StubGameLogic : public GameFramework::GameLogicBase {
public:
    StubGameLogic(Transcript* transcript, GameFramework::AudioPlayer* audio, GameFramework::StageInfo* stage,
                  GameFramework::LevelInfo* level, uint32_t lives);
    ~StubGameLogic() override;
    void Update() override;
    void OnCheatKey(bool shift, int key) override;

    Transcript* transcript;
    int scriptedState = -1;
    int scriptedScore = -1; // taken with the state
    int updates = 0;
};

// The framework's level list over the plain records.
class StubLevelManager : public GameFramework::LevelManagerBase {
public:
    StubLevelManager() { Load(); }

protected:
    GameFramework::StageInfo* CreateStage() override { return new GameFramework::StageInfo(); }
    GameFramework::LevelInfo* CreateLevel() override { return new GameFramework::LevelInfo(); }
};

class StubCursor : public GameFramework::GUIGameCursorBase {
public:
    explicit StubCursor(Transcript* transcript) : transcript(transcript) {}
    void Update() override;
    void SetVisible(bool visible) override;

    Transcript* transcript;
};

// The data set a headless start needs, written below `installationDirectory`: empty resource lists, the
// title text, the English font folder, and a level list of two stages with three and two levels.
void WriteHeadlessData(const std::string& installationDirectory);

struct HeadlessOptions {
    std::string companyName = "Quillfen Games";
    std::string gameName = "Velmora Ball";
    int version = 100;
    std::string registryKeyPath = "SOFTWARE\\Quillfen Games\\Velmora Ball";
    std::string installationDirectory; // empty: a fresh folder below the test's temporary folder
    std::string publisherName = "default";
    bool optionalWindow = false;
    float defaultMusicVolume = 1.0f; // what the volume hooks answer
    float defaultSoundVolume = 1.0f;
    bool autoStartUp = true; // the logos window decides at once; the loading windows load and report done
    // Runs inside OnInitialized: a test's way to fail start-up or to look at the half-built root.
    std::function<void(class HeadlessGame&)> onInitialized;
    // Runs after each UpdateFrame with the number of frames run so far: a test's way to act inside the
    // loader's loop.
    std::function<void(class HeadlessGame&, int frame)> afterFrame;
};

// Holds the root's own transcript in a base constructed before GameBase and destroyed after it, so that
// the windows and the level GameBase deletes can still record their end.
struct HeadlessTranscriptOwner {
    Transcript ownTranscript;
};

// The root: every factory makes a stub; the hooks it overrides record their calls and go on to the
// framework's version.
class HeadlessGame : public HeadlessTranscriptOwner, public GameFramework::GameBase {
public:
    // Builds and initialises; errors of Initialize leave the constructor as they do the game's.
    // sharedTranscript: where to record (the loader's); null records into the root's own.
    explicit HeadlessGame(const HeadlessOptions& options, Transcript* sharedTranscript = nullptr);
    ~HeadlessGame() override;

    // One turn of the loader's loop as a frame sees it: every waiting window message, then UpdateFrame.
    void Frame(int count = 1);
    // One key pressed and released before the next frame, then that frame.
    void PressKey(uint32_t keyCode);
    // Letters (a-z) and blanks, one key per frame.
    void Type(const std::string& text);
    // Focus gained or lost, taken over by the next frame's message pump.
    void SetFocus(bool focused);

    // Role windows as their stubs.
    StubWindow<GameFramework::GUILogosWindowBase>* Logos();
    StubLoadingWindow* Loading();
    StubLoadingWindow* LevelLoading();
    StubWindow<GameFramework::GUIMainMenuWindowBase>* MainMenu();
    StubWindow<GameFramework::GUIWelcomeWindowBase>* Welcome();
    StubGameLogicWindow* Play();
    StubGameLogic* Level();
    // The stub window of any role by its transcript name ("main menu", "level complete"...); null before
    // the window exists.
    GameFramework::GUIFrameworkWindow* Window(const std::string& role) const;
    // The role's stub; null before the window exists.
    StubControl* Stub(const std::string& role) const;
    // Sets the scripted result of the role's stub window, taken at its next Update while it is shown.
    void Decide(const std::string& role, int code);

    void UpdateFrame() override;
    void Initialize() override;
    void FillEngineSettings(OrvexEngine::EngineStartupParams& params) override;
    void RegisterConsoleVariables() override;
    void CreateConsole() override;
    void OnInitialized() override;
    void CreateWindows() override;
    void ExecuteConsoleCommands() override;
    void PrintCheatHelp() override;
    void RestoreRenderDevice() override;
    void DispatchWindowResults() override;
    void ClearWindowResults() override;
    void UpdateAll() override;
    float GetDefaultMusicVolume() override;
    float GetDefaultSoundVolume() override;

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

    // Which of the root's start-up objects exist, as "engine language gui ..." in field order: the
    // initialisation tests record it at each hook.
    std::string Existing() const;

    HeadlessOptions options;
    Transcript* transcript;
    int framesRun = 0;

private:
    void Record(const std::string& hook);
};

// The loader around a HeadlessGame: the registry, the installation folder and the publisher file are
// worked out for real; CreateGame builds the headless root from them.
class HeadlessLoader : public GameFramework::GameLoaderBase {
public:
    HeadlessLoader(const std::string& companyName, const std::string& gameName, int builtInVersion)
        : GameLoaderBase(nullptr, nullptr, "", 1, companyName, gameName, builtInVersion) {}

    GameFramework::GameBase* CreateGame() override;

    HeadlessOptions options; // names and folders are replaced by the loader's own
    Transcript transcript;
};

} // namespace VelmoraTest
