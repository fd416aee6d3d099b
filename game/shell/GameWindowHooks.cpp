// The game's additions to the framework's window flow: the menu and game music, the menu background that
// fades out while a level is played and back in afterwards, the cursor trail that shows in the menus only,
// and the game-complete window shown in full once per profile. No hook changes a transition: each reads the
// same result the framework's handler acts on (results live until the clearing pass) and runs before or
// after it.
#include "game/shell/Game.h"

#include "framework/AudioPlayer.h"
#include "framework/GUIFrameworkWindowBases.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/ProfileManagerBase.h"
#include "game/shell/GUIBackground.h"
#include "game/shell/GUIGameCompleteWindow.h"
#include "game/shell/GUIGameCursor.h"
#include "game/shell/Profile.h"

namespace VelmoraBall {

namespace {

bool Has(const GameFramework::GUIFrameworkWindow* window, int code) {
    return window != nullptr && window->result == code;
}

// Fade rates, in fade level per second.
constexpr float MenuMusicFadeIn = 0.5f;
constexpr float MusicFadeOut = 1.0f;
constexpr float GameMusicFadeIn = 0.1f;
constexpr int MusicStopped = 2;

} // namespace

void Game::MenuMusicOn() {
    audioPlayer->PlayMusic(MenuMusicChannel, MenuMusicTrack, true, MenuMusicFadeIn);
}

void Game::BackgroundIn() {
    if (background != nullptr)
        background->Show(true, true, 1.0f);
}

void Game::SetTrail(bool visible) {
    if (GUIGameCursor* gameCursor = GameCursor())
        gameCursor->SetTrailVisible(visible);
}

void Game::StartGameMusic() {
    if (audioPlayer->GetMusicState(GameMusicChannel) == MusicStopped)
        audioPlayer->PlayMusic(GameMusicChannel, FirstGameMusicTrack + nextGameMusicIndex, true,
                               GameMusicFadeIn);
    else
        audioPlayer->PauseMusic(GameMusicChannel, false, true, GameMusicFadeIn);
    nextGameMusicIndex = (nextGameMusicIndex + 1) % GameMusicTrackCount;
}

void Game::OnLogosWindowResult() {
    GameBase::OnLogosWindowResult();
    if (Has(logosWindow, ResultDone))
        MenuMusicOn();
}

void Game::OnLoadingWindowResult() {
    GameBase::OnLoadingWindowResult();
}

void Game::OnMainMenuWindowResult() {
    GameBase::OnMainMenuWindowResult();
}

void Game::OnProfilesWindowResult() {
    GameBase::OnProfilesWindowResult();
}

void Game::OnHighScoresWindowResult() {
    GameBase::OnHighScoresWindowResult();
}

void Game::OnContinueGameLogicWindowResult() {
    GameBase::OnContinueGameLogicWindowResult();
}

void Game::OnStartGameLogicWindowResult() {
    // The cursor stays hidden until the framework shows it again when the level has loaded.
    if (Has(startGameLogicWindow, ResultPlay) && cursor != nullptr)
        cursor->SetVisible(false);
    GameBase::OnStartGameLogicWindowResult();
}

void Game::OnGameLogicLoadingWindowResult() {
    GameBase::OnGameLogicLoadingWindowResult();
    if (!Has(gameLogicLoadingWindow, ResultDone))
        return;
    if (background != nullptr)
        background->Show(false, true, 1.0f);
    audioPlayer->StopMusic(MenuMusicChannel, true, MusicFadeOut);
    StartGameMusic();
    SetTrail(false);
}

void Game::OnGameLogicWindowResult() {
    // Before the framework opens the menu, pause or game-exit window over the level: the arrow and its
    // trail come back with it.
    if (Has(gameLogicWindow, ResultToExit) || Has(gameLogicWindow, ResultPause) ||
        Has(gameLogicWindow, ResultToGameLogicMenu)) {
        if (cursor != nullptr)
            cursor->SetCursorType(0);
        SetTrail(true);
    }
    GameBase::OnGameLogicWindowResult();
}

void Game::OnGameLogicPauseWindowResult() {
    GameBase::OnGameLogicPauseWindowResult();
    if (Has(gameLogicPauseWindow, ResultResume))
        SetTrail(false);
}

void Game::OnGameLogicMenuWindowResult() {
    GameBase::OnGameLogicMenuWindowResult();
    if (Has(gameLogicMenuWindow, ResultResume))
        SetTrail(false);
}

void Game::OnGameLogicGameExitWindowResult() {
    GameBase::OnGameLogicGameExitWindowResult();
    if (Has(gameLogicGameExitWindow, ResultResume))
        SetTrail(false);
}

void Game::OnGameLogicMenuExitWindowResult() {
    GameBase::OnGameLogicMenuExitWindowResult();
    if (Has(gameLogicMenuExitWindow, ResultToMainMenu)) {
        audioPlayer->StopAllMusic(true, MusicFadeOut);
        MenuMusicOn();
        BackgroundIn();
    }
}

void Game::OnGameLogicRestartWindowResult() {
    GameBase::OnGameLogicRestartWindowResult();
    if (Has(gameLogicRestartWindow, ResultStartLevel)) {
        // Paused, not stopped: the level's track resumes where it was when play starts again.
        audioPlayer->PauseAllMusic(true, true, MusicFadeOut);
        MenuMusicOn();
        BackgroundIn();
    }
}

void Game::OnLevelPassed() {
    GameBase::OnLevelPassed();
    if (cursor != nullptr)
        cursor->SetCursorType(0);
    SetTrail(true);
}

void Game::OnLevelFailed() {
    GameBase::OnLevelFailed();
    SetTrail(true);
}

void Game::StepBackLevel() {
    GameBase::StepBackLevel();
    if (startGameLogicWindow != nullptr)
        startGameLogicWindow->Show(ModeLevelComplete);
    SetTrail(true);
}

void Game::OnLevelCompleteWindowResult() {
    if (Has(levelCompleteWindow, ResultStartLevel)) {
        audioPlayer->PauseAllMusic(true, true, MusicFadeOut);
        MenuMusicOn();
        BackgroundIn();
    }
    GameBase::OnLevelCompleteWindowResult();
}

void Game::OnStageCompleteWindowResult() {
    const bool toGameComplete = Has(stageCompleteWindow, ResultToGameComplete);
    if (toGameComplete || Has(stageCompleteWindow, ResultStartLevel)) {
        // The stage's track starts from its beginning in the next stage.
        audioPlayer->StopAllMusic(true, MusicFadeOut);
        MenuMusicOn();
        BackgroundIn();
    }
    if (toGameComplete) {
        const auto* profile = static_cast<const Profile*>(profileManager->GetCurrentProfile());
        if (auto* window = static_cast<GUIGameCompleteWindow*>(gameCompleteWindow))
            window->show = profile != nullptr && profile->gameCompletePending != 0;
    }
    GameBase::OnStageCompleteWindowResult();
}

void Game::OnGameCompleteWindowResult() {
    const bool done = Has(gameCompleteWindow, ResultDone);
    GameBase::OnGameCompleteWindowResult();
    if (!done)
        return;
    auto* profile = static_cast<Profile*>(profileManager->GetCurrentProfile());
    if (profile != nullptr && profile->gameCompletePending != 0) {
        profile->gameCompletePending = 0;
        profile->Save();
    }
}

void Game::OnGameOverWindowResult() {
    GameBase::OnGameOverWindowResult();
    if (Has(gameOverWindow, ResultDone)) {
        audioPlayer->StopAllMusic(true, MusicFadeOut);
        MenuMusicOn();
        BackgroundIn();
    }
}

} // namespace VelmoraBall
