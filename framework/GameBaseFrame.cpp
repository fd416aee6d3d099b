// The application root's frame: what an inactive window does, video-mode changes and device restoration,
// the engine's begin and end of frame around the cheat phrase, the console commands, the audio player, the
// window flow's passes and the per-frame update of every window and the level in play.
#include "framework/GameBase.h"

#include "engine/core/Config.h"
#include "engine/core/Console.h"
#include "engine/core/Controls.h"
#include "engine/core/Engine.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/sound/SoundManager.h"
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
#include "framework/Tutorial.h"
#include "gametools/SpriteManager.h"
#include "platform/win/Time.h"

#include <string_view>

namespace GameFramework {

namespace {

constexpr float MusicFadeRate = 0.5f;
constexpr uint32_t IdleSleepMilliseconds = 100;

// The keys of the cheat phrase's distinct characters, in the order of their first appearance, the blank
// last: when several go down in one frame, the first of this list counts.
struct CheatKey {
    const char* keyName;
    char character;
};
constexpr CheatKey CheatKeys[] = {{"B", 'b'}, {"L", 'l'}, {"U", 'u'}, {"E", 'e'}, {"H", 'h'},
                                  {"A", 'a'}, {"R", 'r'}, {"O", 'o'}, {"S", 's'}, {"SPACE", ' '}};

void UpdateWindow(GUIFrameworkWindow* window) {
    if (window != nullptr)
        window->Update();
}

} // namespace

void GameBase::UpdateFrame() {
    if (OrvexEngine::Window::Instance()->HasFocus()) {
        if (pausedByInactivity) {
            audioPlayer->PauseAllMusic(false, true, MusicFadeRate);
            if (gameLogic != nullptr)
                gameLogic->SetTimerPaused(savedTimerPause);
            pausedByInactivity = false;
        }
    } else if ((tutorial != nullptr && tutorial->active) || gameLogic == nullptr || pausedByInactivity ||
               gameLogic->state != GameLogicBase::StateRunning) {
        RunIdleFrame();
        return;
    } else {
        // Play stops behind the pause window; the player resumes it there, also after coming back.
        gameLogic->SetPaused(true);
        if (gameLogicWindow != nullptr)
            gameLogicWindow->SetActive(false);
        if (gameLogicPauseWindow != nullptr)
            gameLogicPauseWindow->Show(ModeStartUp);
        savedTimerPause = true;
        audioPlayer->PauseAllMusic(true, false, MusicFadeRate);
        pausedByInactivity = true;
    }

    OrvexEngine::Config* config = OrvexEngine::Config::Instance();
    OrvexEngine::RenderSystem* renderSystem = OrvexEngine::RenderSystem::Instance();
    if (!config->IsCommandIdle("g_update_video_mode")) {
        renderSystem->UpdateVideoMode();
        config->SetCommandIdle("g_update_video_mode", true);
    }
    if (renderSystem->resetNeeded) {
        audioPlayer->PauseAllMusic(true, false, MusicFadeRate);
        RestoreRenderDevice();
        audioPlayer->PauseAllMusic(false, true, MusicFadeRate);
        // Keys held while the device was rebuilt must not act once it is back.
        OrvexEngine::Controls::Instance()->LockInput();
    }

    engine->BeginFrame();
    WatchCheatPhrase();
    ExecuteConsoleCommands();
    audioPlayer->Update();

    // A window that decides inside its Show is handled by a later pass of the same frame.
    for (int pass = 0; pass < 3; ++pass) {
        DispatchWindowResults();
        ClearWindowResults();
    }

    UpdateAll();
    if (cursor != nullptr)
        cursor->Update();
    spriteManager->Update();
    engine->Tick(0);

    // Every window sees the mode change for two frames before the render system compares the modes.
    if (!config->IsCommandIdle("v_window_change_mode")) {
        if (++modeChangeCounter >= 2) {
            modeChangeCounter = 0;
            config->SetCommandIdle("v_window_change_mode", true);
            config->SetCommandIdle("g_update_video_mode", false);
        }
    }
}

void GameBase::RunIdleFrame() {
    if (gameLogic != nullptr && !pausedByInactivity) {
        savedTimerPause = gameLogic->IsTimerPaused();
        gameLogic->SetTimerPaused(true);
    }
    // Enough of the engine to notice the focus coming back, a lost device and queued sounds.
    OrvexEngine::Window::Instance()->Update();
    OrvexEngine::RenderSystem::Instance()->Refresh();
    OrvexEngine::TimerManager::Instance()->Update();
    if (OrvexEngine::SoundManager* sound = OrvexEngine::SoundManager::Instance())
        sound->Update(true);
    if (!pausedByInactivity) {
        audioPlayer->PauseAllMusic(true, false, MusicFadeRate);
        pausedByInactivity = true;
    }
    // The program waits in the background instead of spinning a core.
    platform::Sleep(IdleSleepMilliseconds);
}

void GameBase::WatchCheatPhrase() {
    OrvexEngine::Console* console = OrvexEngine::Console::Instance();
    if (console == nullptr || console->IsEnabled())
        return;
    const OrvexEngine::Controls* controls = OrvexEngine::Controls::Instance();
    char typed = 0;
    for (const CheatKey& key : CheatKeys) {
        if (controls->WasPressed(key.keyName)) {
            typed = key.character;
            break;
        }
    }
    if (typed == 0)
        return;

    const std::string_view phrase(CheatPhrase);
    cheatPhraseBuffer += typed;
    if (cheatPhraseBuffer == phrase) {
        cheatPhraseBuffer.clear();
        console->SetEnabled(true);
        console->Open();
        PrintCheatHelp();
        return;
    }
    if (cheatPhraseBuffer[0] != phrase[0] || phrase.find(cheatPhraseBuffer) == std::string_view::npos) {
        // The key just typed may begin the phrase anew.
        cheatPhraseBuffer.clear();
        if (controls->WasPressed(CheatKeys[0].keyName))
            cheatPhraseBuffer += phrase[0];
    }
}

void GameBase::RestoreRenderDevice() {
    OrvexEngine::RenderSystem::Instance()->Reset(1);
}

void GameBase::UpdateAll() {
    if (tutorial != nullptr)
        tutorial->Update();
    UpdateWindow(optionalWindow);
    UpdateWindow(logosWindow);
    UpdateWindow(loadingWindow);
    UpdateWindow(welcomeWindow);
    UpdateWindow(exitWindow);
    UpdateWindow(mainMenuWindow);
    UpdateWindow(profilesWindow);
    UpdateWindow(newProfileWindow);
    UpdateWindow(renameProfileWindow);
    UpdateWindow(deleteProfileWindow);
    UpdateWindow(profileNameConflictWindow);
    UpdateWindow(gameLogicLoadingWindow);
    UpdateWindow(startGameLogicWindow);
    UpdateWindow(continueGameLogicWindow);
    UpdateWindow(highScoresWindow);
    UpdateWindow(optionsWindow);
    UpdateWindow(helpWindow);
    UpdateWindow(gameLogicWindow);
    UpdateWindow(gameLogicPauseWindow);
    UpdateWindow(gameLogicMenuWindow);
    UpdateWindow(gameLogicMenuExitWindow);
    UpdateWindow(gameLogicRestartWindow);
    UpdateWindow(gameLogicGameExitWindow);
    if (gameLogic != nullptr)
        gameLogic->Update();
    UpdateWindow(levelCompleteWindow);
    UpdateWindow(stageCompleteWindow);
    UpdateWindow(gameCompleteWindow);
    UpdateWindow(gameOverWindow);
}

} // namespace GameFramework
