// The window flow of the application root: windows only set result codes, and the handler of each window's
// role hides it and shows the next one, passing its own role's number as the mode so that the next window
// knows who opened it. The handlers also carry the bookkeeping of each step: the level in play and its data,
// the player's profile, high scores and the end of the program. The game overrides most handlers to add
// music and looks around them and keeps every transition made here.
#include "framework/GameBase.h"

#include "engine/core/Engine.h"
#include "engine/core/MessageManager.h"
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
#include "framework/LevelManagerBase.h"
#include "framework/ProfileManagerBase.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIFontTool.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace GameFramework {

namespace {

bool Has(const GUIFrameworkWindow* window, int code) {
    return window != nullptr && window->result == code;
}

// A score as the high-score table and the profile keep it: never below 0, never past the u32 range.
uint32_t ClampScore(int64_t score) {
    return static_cast<uint32_t>(std::clamp<int64_t>(score, 0, UINT32_MAX));
}

} // namespace

// ---- passes ----

void GameBase::DispatchWindowResults() {
    // A handler may create or delete windows' data and the level, so each role is tested when its turn comes.
    if (logosWindow)
        OnLogosWindowResult();
    if (loadingWindow)
        OnLoadingWindowResult();
    if (welcomeWindow)
        OnWelcomeWindowResult();
    if (exitWindow)
        OnExitWindowResult();
    if (mainMenuWindow)
        OnMainMenuWindowResult();
    if (profilesWindow)
        OnProfilesWindowResult();
    if (gameLogicLoadingWindow)
        OnGameLogicLoadingWindowResult();
    if (newProfileWindow)
        OnNewProfileWindowResult();
    if (renameProfileWindow)
        OnRenameProfileWindowResult();
    if (deleteProfileWindow)
        OnDeleteProfileWindowResult();
    if (profileNameConflictWindow)
        OnProfileNameConflictWindowResult();
    if (startGameLogicWindow)
        OnStartGameLogicWindowResult();
    if (continueGameLogicWindow)
        OnContinueGameLogicWindowResult();
    if (highScoresWindow)
        OnHighScoresWindowResult();
    if (optionsWindow)
        OnOptionsWindowResult();
    if (helpWindow)
        OnHelpWindowResult();
    if (gameLogicWindow)
        OnGameLogicWindowResult();
    if (gameLogicPauseWindow)
        OnGameLogicPauseWindowResult();
    if (gameLogicMenuWindow)
        OnGameLogicMenuWindowResult();
    if (gameLogicMenuExitWindow)
        OnGameLogicMenuExitWindowResult();
    if (gameLogicRestartWindow)
        OnGameLogicRestartWindowResult();
    if (gameLogicGameExitWindow)
        OnGameLogicGameExitWindowResult();
    if (gameLogic && gameLogic->stateChanged) {
        if (gameLogic->state == GameLogicBase::StateWon)
            OnLevelPassed();
        else if (gameLogic->state == GameLogicBase::StateLost)
            OnLevelFailed();
    }
    if (levelCompleteWindow)
        OnLevelCompleteWindowResult();
    if (stageCompleteWindow)
        OnStageCompleteWindowResult();
    if (gameCompleteWindow)
        OnGameCompleteWindowResult();
    if (gameOverWindow)
        OnGameOverWindowResult();
}

void GameBase::ClearWindowResults() {
    GUIFrameworkWindow* const windows[] = {logosWindow,
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
        // A window that decided inside its Show cleared its flag, so its code lives into the next pass.
        if (window->resultSeen)
            window->result = 0;
        window->resultSeen = true;
    }
    if (gameLogic)
        gameLogic->stateChanged = false;
}

// ---- level result ----

LevelResult* GameBase::NewLevelResult() {
    return new LevelResult();
}

void GameBase::FillLevelResult(LevelResult* result) {
    if (ProfileBase* profile = profileManager->GetCurrentProfile())
        result->tableKey = profile->tableKey;
    if (gameLogic) {
        const LevelPosition position = gameLogic->GetPosition();
        result->stageIndex = position.stage;
        result->levelIndex = position.level;
        result->time = gameLogic->GetTime();
    }
}

// ---- start-up windows and menus ----

void GameBase::OnLogosWindowResult() {
    if (!Has(logosWindow, ResultDone))
        return;
    logosWindow->Hide();
    loadingWindow->Show(ModeLogos, dataKeeper);
}

void GameBase::OnLoadingWindowResult() {
    if (!Has(loadingWindow, ResultDone))
        return;
    loadingWindow->Hide();
    fontTool->LoadAdditionalFonts();
    CreateWindows();
    if (!profileManager->GetProfiles().empty())
        mainMenuWindow->Show(ModeLoading);
    else
        welcomeWindow->Show(ModeLoading);
    cursor->SetVisible(true);
}

void GameBase::OnWelcomeWindowResult() {
    if (Has(welcomeWindow, ResultToMainMenu)) {
        welcomeWindow->Hide();
        mainMenuWindow->Show(ModeWelcome);
    } else if (Has(welcomeWindow, ResultToExit)) {
        welcomeWindow->Hide();
        exitWindow->Show(ModeWelcome);
    }
}

void GameBase::OnExitWindowResult() {
    if (exitWindow == nullptr)
        return;
    switch (exitWindow->result) {
    case ResultToWelcome:
        exitWindow->Hide();
        welcomeWindow->Show(ModeExit);
        break;
    case ResultToMainMenu:
        exitWindow->Hide();
        mainMenuWindow->Show(ModeExit);
        break;
    case ResultToNewProfile:
        exitWindow->Hide();
        newProfileWindow->Show(ModeExit, false);
        break;
    case ResultQuit:
        // The question stays on screen for the last frame.
        engine->RequestExit();
        break;
    default:
        break;
    }
}

void GameBase::OnMainMenuWindowResult() {
    if (mainMenuWindow == nullptr)
        return;
    switch (mainMenuWindow->result) {
    case ResultToExit:
        mainMenuWindow->Hide();
        exitWindow->Show(ModeMainMenu);
        break;
    case ResultToProfiles:
        mainMenuWindow->Hide();
        profilesWindow->Show(ModeMainMenu);
        break;
    case ResultToHighScores:
        mainMenuWindow->Hide();
        highScoresWindow->Show(ModeMainMenu, nullptr);
        break;
    case ResultToOptions:
        mainMenuWindow->Hide();
        optionsWindow->Show(ModeMainMenu);
        break;
    case ResultToHelp:
        mainMenuWindow->Hide();
        helpWindow->Show(ModeMainMenu);
        break;
    case ResultPlay: {
        ProfileBase* profile = RequireProfile("play");
        if (profile == nullptr)
            return;
        mainMenuWindow->Hide();
        if (profile->gameInProgress) {
            continueGameLogicWindow->Show(ModeMainMenu);
        } else {
            profile->ResetGame();
            startGameLogicWindow->Show(ModeMainMenu);
        }
        break;
    }
    default:
        break;
    }
}

void GameBase::OnProfilesWindowResult() {
    if (profilesWindow == nullptr)
        return;
    switch (profilesWindow->result) {
    case ResultToMainMenu:
        profilesWindow->Hide();
        mainMenuWindow->Show(ModeProfiles);
        break;
    case ResultToNewProfile:
        profilesWindow->Hide();
        newProfileWindow->Show(ModeProfiles, true);
        break;
    case ResultToRenameProfile:
        profilesWindow->Hide();
        renameProfileWindow->Show(ModeProfiles, true, profilesWindow->selectedName);
        break;
    case ResultToDeleteProfile:
        profilesWindow->Hide();
        deleteProfileWindow->Show(ModeProfiles, profilesWindow->selectedName);
        break;
    default:
        break;
    }
}

void GameBase::OnGameLogicLoadingWindowResult() {
    if (!Has(gameLogicLoadingWindow, ResultDone))
        return;
    ProfileBase* profile = RequireProfile("level start");
    if (profile == nullptr)
        return;
    LevelPosition position;
    if (!ResolveStartPosition(*profile, position))
        return;
    gameLogicLoadingWindow->Hide();
    cursor->SetVisible(true);
    // Only one level is ever in play; a level left over would otherwise be lost with its objects.
    delete gameLogic;
    gameLogic = CreateGameLogic(levelManager->GetStage(position.stage), levelManager->GetLevel(position),
                                profile->lives);
    gameLogicWindow->Show(ModeGameLogicLoading, gameLogic);
}

void GameBase::OnNewProfileWindowResult() {
    if (newProfileWindow == nullptr)
        return;
    switch (newProfileWindow->result) {
    case ResultNameInUse:
        newProfileWindow->Hide();
        profileNameConflictWindow->Show(ModeNewProfile);
        break;
    case ResultToProfiles:
        newProfileWindow->Hide();
        profilesWindow->Show(ModeNewProfile);
        break;
    case ResultToExit:
        newProfileWindow->Hide();
        exitWindow->Show(ModeNewProfile);
        break;
    default:
        break;
    }
}

void GameBase::OnRenameProfileWindowResult() {
    if (renameProfileWindow == nullptr)
        return;
    switch (renameProfileWindow->result) {
    case ResultNameInUse:
        renameProfileWindow->Hide();
        profileNameConflictWindow->Show(ModeRenameProfile);
        break;
    case ResultToProfiles:
        renameProfileWindow->Hide();
        profilesWindow->Show(ModeRenameProfile);
        break;
    default:
        break;
    }
}

void GameBase::OnDeleteProfileWindowResult() {
    if (deleteProfileWindow == nullptr)
        return;
    switch (deleteProfileWindow->result) {
    case ResultToProfiles:
        deleteProfileWindow->Hide();
        profilesWindow->Show(ModeDeleteProfile);
        break;
    case ResultToNewProfile:
        deleteProfileWindow->Hide();
        newProfileWindow->Show(ModeDeleteProfile, true);
        break;
    default:
        break;
    }
}

void GameBase::OnProfileNameConflictWindowResult() {
    if (profileNameConflictWindow == nullptr)
        return;
    switch (profileNameConflictWindow->result) {
    case ResultToNewProfile:
        profileNameConflictWindow->Hide();
        newProfileWindow->Show(ModeProfileNameConflict, false);
        break;
    case ResultToRenameProfile:
        // The rename window still holds the name of the profile being renamed.
        profileNameConflictWindow->Hide();
        renameProfileWindow->Show(ModeProfileNameConflict, false, std::wstring());
        break;
    default:
        break;
    }
}

void GameBase::OnStartGameLogicWindowResult() {
    if (Has(startGameLogicWindow, ResultToMainMenu)) {
        startGameLogicWindow->Hide();
        mainMenuWindow->Show(ModeStartGameLogic);
    } else if (Has(startGameLogicWindow, ResultPlay)) {
        ProfileBase* profile = RequireProfile("level start");
        if (profile == nullptr)
            return;
        LevelPosition position;
        if (!ResolveStartPosition(*profile, position))
            return;
        PrepareLevelData(position);
        startGameLogicWindow->Hide();
        gameLogicLoadingWindow->Show(ModeStartGameLogic, currentLevelData);
    }
}

void GameBase::OnContinueGameLogicWindowResult() {
    if (continueGameLogicWindow == nullptr)
        return;
    switch (continueGameLogicWindow->result) {
    case ResultToMainMenu:
        continueGameLogicWindow->Hide();
        mainMenuWindow->Show(ModeContinueGameLogic);
        break;
    case ResultStartLevel: {
        // A new game instead of the one in progress.
        ProfileBase* profile = RequireProfile("new game");
        if (profile == nullptr)
            return;
        profile->gameInProgress = false;
        profile->Save();
        profile->ResetGame();
        continueGameLogicWindow->Hide();
        startGameLogicWindow->Show(ModeContinueGameLogic);
        break;
    }
    case ResultContinueGame:
        continueGameLogicWindow->Hide();
        startGameLogicWindow->Show(ModeContinueGameLogic);
        break;
    default:
        break;
    }
}

void GameBase::OnHighScoresWindowResult() {
    if (!Has(highScoresWindow, ResultToMainMenu))
        return;
    highScoresWindow->Hide();
    mainMenuWindow->Show(ModeHighScores);
}

void GameBase::OnOptionsWindowResult() {
    if (!Has(optionsWindow, ResultToMainMenu))
        return;
    optionsWindow->Hide();
    mainMenuWindow->Show(ModeOptions);
}

void GameBase::OnHelpWindowResult() {
    if (!Has(helpWindow, ResultToMainMenu))
        return;
    helpWindow->Hide();
    mainMenuWindow->Show(ModeHelp);
}

// ---- play ----

void GameBase::OnGameLogicWindowResult() {
    // The display stays on screen behind the window it opens, inactive, with the level paused.
    if (gameLogicWindow == nullptr)
        return;
    GUIFrameworkWindow* next = nullptr;
    switch (gameLogicWindow->result) {
    case ResultToGameLogicMenu:
        next = gameLogicMenuWindow;
        break;
    case ResultPause:
        next = gameLogicPauseWindow;
        break;
    case ResultToExit:
        next = gameLogicGameExitWindow;
        break;
    default:
        return;
    }
    gameLogicWindow->SetActive(false);
    next->Show(ModeGameLogic);
    if (gameLogic)
        gameLogic->SetPaused(true);
}

void GameBase::OnGameLogicPauseWindowResult() {
    if (!Has(gameLogicPauseWindow, ResultResume))
        return;
    gameLogicPauseWindow->Hide();
    ResumeLevel();
}

void GameBase::OnGameLogicMenuWindowResult() {
    if (gameLogicMenuWindow == nullptr)
        return;
    switch (gameLogicMenuWindow->result) {
    case ResultResume:
        gameLogicMenuWindow->Hide();
        ResumeLevel();
        break;
    case ResultToMenuExit:
        gameLogicMenuWindow->Hide();
        gameLogicMenuExitWindow->Show(ModeGameLogicMenu);
        break;
    case ResultToRestart:
        gameLogicMenuWindow->Hide();
        gameLogicRestartWindow->Show(ModeGameLogicMenu);
        break;
    default:
        break;
    }
}

void GameBase::OnGameLogicMenuExitWindowResult() {
    if (Has(gameLogicMenuExitWindow, ResultToGameLogicMenu)) {
        gameLogicMenuExitWindow->Hide();
        gameLogicMenuWindow->Show(ModeGameLogicMenuExit);
    } else if (Has(gameLogicMenuExitWindow, ResultToMainMenu)) {
        gameLogicMenuExitWindow->Hide();
        EndLevel();
        mainMenuWindow->Show(ModeGameLogicMenuExit);
    }
}

void GameBase::OnGameLogicRestartWindowResult() {
    if (gameLogicRestartWindow == nullptr)
        return;
    switch (gameLogicRestartWindow->result) {
    case ResultToGameLogicMenu:
        gameLogicRestartWindow->Hide();
        gameLogicMenuWindow->Show(ModeGameLogicRestart);
        break;
    case ResultToGameOver:
        gameLogicRestartWindow->Hide();
        gameOverWindow->Show(ModeGameLogicRestart);
        break;
    case ResultStartLevel:
        gameLogicRestartWindow->Hide();
        EndLevel();
        startGameLogicWindow->Show(ModeGameLogicRestart);
        break;
    default:
        break;
    }
}

void GameBase::OnGameLogicGameExitWindowResult() {
    if (Has(gameLogicGameExitWindow, ResultResume)) {
        gameLogicGameExitWindow->Hide();
        ResumeLevel();
    } else if (Has(gameLogicGameExitWindow, ResultQuit)) {
        engine->RequestExit();
    }
}

void GameBase::OnLevelPassed() {
    if (gameLogic == nullptr)
        return;
    gameLogicWindow->SetActive(false);
    const LevelPosition passed = gameLogic->GetPosition();
    const float time = gameLogic->GetTime();
    if (ProfileBase* profile = profileManager->GetCurrentProfile()) {
        const LevelPosition next = levelManager->GetNextLevel(passed);
        profile->currentPosition = next;
        profile->Save();
        // Only the last level of the game has no level after it.
        const bool finished = next == passed;
        profile->RecordProgress(next, finished);
        profile->lives = gameLogic->lives;
        // The level's points move into the game's total, so a later game over counts them once.
        profile->scoreTotal = ClampScore(int64_t(profile->scoreTotal) + gameLogic->GetScore());
        gameLogic->SetScore(0);
        profile->gameInProgress = !finished;
        profile->Save();
        profileManager->SubmitBestResult(passed, profile->name, profile->tableKey, time);
        LevelResult* result = NewLevelResult();
        FillLevelResult(result);
        profile->AddLevelResult(result);
    } else {
        OrvexEngine::Log()->Error("Level passed without a current profile: nothing recorded");
    }
    levelCompleteWindow->Show(ModeGameLogic, passed, time);
}

void GameBase::OnLevelFailed() {
    if (gameLogic == nullptr)
        return;
    gameLogicWindow->SetActive(false);
    if (ProfileBase* profile = profileManager->GetCurrentProfile()) {
        profile->gameInProgress = false;
        profile->Save();
    } else {
        OrvexEngine::Log()->Error("Level failed without a current profile: nothing recorded");
    }
    // The lost level stays behind the game-over window until its handler ends it.
    gameOverWindow->Show(ModeGameLogic);
}

void GameBase::StepBackLevel() {
    if (gameLogic == nullptr) {
        OrvexEngine::Log()->Error("Step back without a level in play");
        return;
    }
    ProfileBase* profile = RequireProfile("step back");
    if (profile == nullptr)
        return;
    const LevelPosition played = gameLogic->GetPosition();
    LevelPosition back = played;
    if (played.level > 0) {
        back.level = played.level - 1;
    } else {
        // The last level of the nearest earlier stage that has levels; the first level steps back onto
        // itself.
        for (uint32_t s = played.stage; s-- > 0;) {
            const StageInfo* stage = levelManager->GetStage(s);
            if (stage != nullptr && stage->levelCount > 0) {
                back = LevelPosition{s, stage->levelCount - 1};
                break;
            }
        }
    }
    profile->currentPosition = back;
    profile->Save();
    EndLevel();
    startGameLogicWindow->Show(ModeMainMenu);
}

// ---- end of a level ----

void GameBase::OnLevelCompleteWindowResult() {
    if (Has(levelCompleteWindow, ResultStartLevel)) {
        levelCompleteWindow->Hide();
        EndLevel();
        startGameLogicWindow->Show(ModeLevelComplete);
    } else if (Has(levelCompleteWindow, ResultToStageComplete)) {
        levelCompleteWindow->Hide();
        // The level stays in play behind the stage-complete window, which decides whether the game goes on.
        const LevelPosition position = gameLogic ? gameLogic->GetPosition() : levelCompleteWindow->position;
        stageCompleteWindow->Show(ModeLevelComplete, position);
    }
}

void GameBase::OnStageCompleteWindowResult() {
    if (Has(stageCompleteWindow, ResultStartLevel)) {
        stageCompleteWindow->Hide();
        EndLevel();
        startGameLogicWindow->Show(ModeStageComplete);
    } else if (Has(stageCompleteWindow, ResultToGameComplete)) {
        stageCompleteWindow->Hide();
        EndLevel();
        gameCompleteWindow->Show(ModeStageComplete);
    }
}

void GameBase::OnGameCompleteWindowResult() {
    if (!Has(gameCompleteWindow, ResultDone))
        return;
    gameCompleteWindow->Hide();
    const ProfileBase* profile = profileManager->GetCurrentProfile();
    EnterScore(profile ? profile->scoreTotal : 0, ModeGameComplete);
}

void GameBase::OnGameOverWindowResult() {
    if (Has(gameOverWindow, ResultDone)) {
        gameOverWindow->Hide();
        // A game lost in play ends with the profile's total and the points of the lost level.
        const ProfileBase* profile = profileManager->GetCurrentProfile();
        int64_t score = profile ? int64_t(profile->scoreTotal) : 0;
        if (gameLogic)
            score += gameLogic->GetScore();
        EnterScore(ClampScore(score), ModeGameOver);
        EndLevel();
    } else if (Has(gameOverWindow, ResultToRestart)) {
        gameOverWindow->Hide();
        gameLogicRestartWindow->Show(ModeGameOver);
    }
}

// ---- helpers ----

void GameBase::EnterScore(uint32_t score, int mode) {
    const ProfileBase* profile = profileManager->GetCurrentProfile();
    if (score == 0 || profile == nullptr) {
        mainMenuWindow->Show(mode);
        return;
    }
    HighScoreEntry* entry = highScores->AddEntry(profile->name, profile->tableKey, score);
    highScoresWindow->Show(mode, entry);
}

void GameBase::PrepareLevelData(const LevelPosition& position) {
    // The keeper of the level played before stays alive until this start: its resources may still be in
    // use by windows fading out.
    delete previousLevelData;
    previousLevelData = currentLevelData;
    currentLevelData = nullptr;
    currentLevelData =
        CreateGameLogicData(levelManager->GetStage(position.stage), levelManager->GetLevel(position));
    std::vector<std::string> resourceLists;
    levelManager->GetLevelResources(position, resourceLists);
    for (const std::string& list : resourceLists)
        currentLevelData->LoadResourceList(list, false);
}

void GameBase::EndLevel() {
    gameLogicWindow->Hide();
    delete gameLogic;
    gameLogic = nullptr;
}

void GameBase::ResumeLevel() {
    gameLogicWindow->SetActive(true);
    if (gameLogic)
        gameLogic->SetPaused(false);
}

ProfileBase* GameBase::RequireProfile(const char* step) {
    ProfileBase* profile = profileManager->GetCurrentProfile();
    if (profile == nullptr)
        OrvexEngine::Log()->Error(std::string("No current profile for ") + step +
                                  ": the window's choice is ignored");
    return profile;
}

bool GameBase::ResolveStartPosition(ProfileBase& profile, LevelPosition& position) {
    position = profile.currentPosition;
    if (levelManager->GetLevel(position) != nullptr)
        return true;
    // A position from a profile written for another level list, or edited by hand, names no level.
    LevelPosition first;
    bool found = false;
    for (uint32_t s = 0; s < levelManager->stages.size() && !found; ++s) {
        if (levelManager->GetLevel(LevelPosition{s, 0}) != nullptr) {
            first = LevelPosition{s, 0};
            found = true;
        }
    }
    if (!found) {
        OrvexEngine::Log()->Error("No level to start: the level list is empty");
        return false;
    }
    OrvexEngine::Log()->Warning("The profile's level " + std::to_string(position.stage + 1) + "-" +
                                std::to_string(position.level + 1) +
                                " does not exist; starting at the first level");
    profile.currentPosition = first;
    position = first;
    return true;
}

} // namespace GameFramework
