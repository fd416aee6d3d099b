#include "framework/GameLogicBase.h"

#include "engine/core/Console.h"
#include "engine/core/Controls.h"
#include "engine/core/MessageManager.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "framework/ScoreKeeper.h"

#include <cassert>
#include <string>

using namespace OrvexEngine;

namespace GameFramework {

GameLogicBase::GameLogicBase(AudioPlayer* audioPlayer, StageInfo* stageInfo, LevelInfo* levelInfo,
                             uint32_t lives)
    : audioPlayer(audioPlayer), stageInfo(stageInfo), levelInfo(levelInfo), lives(lives) {
    assert(levelInfo != nullptr && "a level in play needs its record from the level list");
    assert(TimerManager::Instance() != nullptr && "create the TimerManager before a level");
    if (MessageManager* log = MessageManager::Instance()) {
        log->Message("");
        log->Message("Loading level " + std::to_string(levelInfo->stageIndex + 1) + "-" +
                     std::to_string(levelInfo->levelIndex + 1) + "...");
    }
    // The millisecond clock, not the performance counter: the level clock only needs milliseconds and
    // must keep counting correctly over long sessions.
    levelTimer = TimerManager::Instance()->CreateTimer(0, false);
    scoreKeeper = new ScoreKeeper(0);
    levelTimer->SetTime(0);
    levelTimer->SetPaused(true);
}

GameLogicBase::~GameLogicBase() {
    delete scoreKeeper;
    if (TimerManager* timers = TimerManager::Instance())
        timers->DeleteTimer(levelTimer);
}

void GameLogicBase::Update() {
    Console* console = Console::Instance();
    if (console != nullptr && console->IsEnabled())
        PollCheatKeys();
}

void GameLogicBase::SetState(int newState) {
    if (newState != state) {
        levelTimer->SetPaused(newState != StateRunning);
        stateChanged = true;
    }
    state = newState;
}

void GameLogicBase::OnCheatKey(bool /*shift*/, int /*key*/) {
    cheated = true;
}

void GameLogicBase::SetPaused(bool pause) {
    if (state != StateWon && state != StateLost)
        SetState(pause ? StatePaused : StateRunning);
}

float GameLogicBase::GetTime() const {
    return levelTimer->GetTime();
}

void GameLogicBase::SetTimerPaused(bool pause) {
    levelTimer->SetPaused(pause);
}

bool GameLogicBase::IsTimerPaused() const {
    return levelTimer->IsPaused();
}

int GameLogicBase::GetScore() const {
    return scoreKeeper->GetTotal();
}

void GameLogicBase::SetScore(int score) {
    scoreKeeper->SetTotal(score);
}

void GameLogicBase::PollCheatKeys() {
    const Controls* controls = Controls::Instance();
    if (controls == nullptr)
        return;
    const bool shift = controls->IsDownOrPressed("LSHIFT") || controls->IsDownOrPressed("RSHIFT");
    // Made once: the keys are asked every frame.
    static const std::string keys[12] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    for (int n = 1; n <= 12; ++n) {
        if (controls->WasPressed(keys[n - 1]))
            OnCheatKey(shift, n);
    }
}

LevelPosition GameLogicBase::GetPosition() const {
    return LevelPosition{levelInfo->stageIndex, levelInfo->levelIndex};
}

} // namespace GameFramework
