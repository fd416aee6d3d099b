// PLACEHOLDER — to be replaced wholesale by the window-flow work on branch "flow": this file only runs the
// dispatch and clearing passes over the roles so that the application root links and its frame can be
// tested; every handler below does nothing yet. When merging, take the flow branch's version of this file.
#include "framework/GameBase.h"

#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIFrameworkWindowBases.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"
#include "framework/GameLogicBase.h"
#include "framework/ProfileBase.h"

namespace GameFramework {

void GameBase::DispatchWindowResults() {
    if (logosWindow != nullptr)
        OnLogosWindowResult();
    if (loadingWindow != nullptr)
        OnLoadingWindowResult();
    if (welcomeWindow != nullptr)
        OnWelcomeWindowResult();
    if (exitWindow != nullptr)
        OnExitWindowResult();
    if (mainMenuWindow != nullptr)
        OnMainMenuWindowResult();
    if (profilesWindow != nullptr)
        OnProfilesWindowResult();
    if (gameLogicLoadingWindow != nullptr)
        OnGameLogicLoadingWindowResult();
    if (newProfileWindow != nullptr)
        OnNewProfileWindowResult();
    if (renameProfileWindow != nullptr)
        OnRenameProfileWindowResult();
    if (deleteProfileWindow != nullptr)
        OnDeleteProfileWindowResult();
    if (profileNameConflictWindow != nullptr)
        OnProfileNameConflictWindowResult();
    if (startGameLogicWindow != nullptr)
        OnStartGameLogicWindowResult();
    if (continueGameLogicWindow != nullptr)
        OnContinueGameLogicWindowResult();
    if (highScoresWindow != nullptr)
        OnHighScoresWindowResult();
    if (optionsWindow != nullptr)
        OnOptionsWindowResult();
    if (helpWindow != nullptr)
        OnHelpWindowResult();
    if (gameLogicWindow != nullptr)
        OnGameLogicWindowResult();
    if (gameLogicPauseWindow != nullptr)
        OnGameLogicPauseWindowResult();
    if (gameLogicMenuWindow != nullptr)
        OnGameLogicMenuWindowResult();
    if (gameLogicMenuExitWindow != nullptr)
        OnGameLogicMenuExitWindowResult();
    if (gameLogicRestartWindow != nullptr)
        OnGameLogicRestartWindowResult();
    if (gameLogicGameExitWindow != nullptr)
        OnGameLogicGameExitWindowResult();
    if (gameLogic != nullptr && gameLogic->stateChanged) {
        if (gameLogic->state == GameLogicBase::StateWon)
            OnLevelPassed();
        else if (gameLogic->state == GameLogicBase::StateLost)
            OnLevelFailed();
    }
    if (levelCompleteWindow != nullptr)
        OnLevelCompleteWindowResult();
    if (stageCompleteWindow != nullptr)
        OnStageCompleteWindowResult();
    if (gameCompleteWindow != nullptr)
        OnGameCompleteWindowResult();
    if (gameOverWindow != nullptr)
        OnGameOverWindowResult();
}

void GameBase::ClearWindowResults() {
    GUIFrameworkWindow* windows[] = {logosWindow,
                                     loadingWindow,
                                     welcomeWindow,
                                     exitWindow,
                                     mainMenuWindow,
                                     profilesWindow,
                                     gameLogicLoadingWindow,
                                     newProfileWindow,
                                     renameProfileWindow,
                                     deleteProfileWindow,
                                     profileNameConflictWindow,
                                     startGameLogicWindow,
                                     continueGameLogicWindow,
                                     highScoresWindow,
                                     optionsWindow,
                                     helpWindow,
                                     gameLogicWindow,
                                     gameLogicPauseWindow,
                                     gameLogicMenuWindow,
                                     gameLogicMenuExitWindow,
                                     gameLogicRestartWindow,
                                     gameLogicGameExitWindow,
                                     levelCompleteWindow,
                                     stageCompleteWindow,
                                     gameCompleteWindow,
                                     gameOverWindow};
    for (GUIFrameworkWindow* window : windows) {
        if (window == nullptr)
            continue;
        if (window->resultSeen)
            window->result = 0;
        window->resultSeen = true;
    }
    if (gameLogic != nullptr)
        gameLogic->stateChanged = false;
}

LevelResult* GameBase::NewLevelResult() {
    return new LevelResult();
}

void GameBase::FillLevelResult(LevelResult*) {}
void GameBase::OnLogosWindowResult() {}
void GameBase::OnLoadingWindowResult() {}
void GameBase::OnWelcomeWindowResult() {}
void GameBase::OnExitWindowResult() {}
void GameBase::OnMainMenuWindowResult() {}
void GameBase::OnProfilesWindowResult() {}
void GameBase::OnGameLogicLoadingWindowResult() {}
void GameBase::OnNewProfileWindowResult() {}
void GameBase::OnRenameProfileWindowResult() {}
void GameBase::OnDeleteProfileWindowResult() {}
void GameBase::OnProfileNameConflictWindowResult() {}
void GameBase::OnStartGameLogicWindowResult() {}
void GameBase::OnContinueGameLogicWindowResult() {}
void GameBase::OnHighScoresWindowResult() {}
void GameBase::OnOptionsWindowResult() {}
void GameBase::OnHelpWindowResult() {}
void GameBase::OnGameLogicWindowResult() {}
void GameBase::OnGameLogicPauseWindowResult() {}
void GameBase::OnGameLogicMenuWindowResult() {}
void GameBase::OnGameLogicMenuExitWindowResult() {}
void GameBase::OnGameLogicRestartWindowResult() {}
void GameBase::OnGameLogicGameExitWindowResult() {}
void GameBase::OnLevelPassed() {}
void GameBase::StepBackLevel() {}
void GameBase::OnLevelFailed() {}
void GameBase::OnLevelCompleteWindowResult() {}
void GameBase::OnStageCompleteWindowResult() {}
void GameBase::OnGameCompleteWindowResult() {}
void GameBase::OnGameOverWindowResult() {}

} // namespace GameFramework
