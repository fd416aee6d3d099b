// The framework's part of one level in play: the level clock, the score, the level's place in the level
// list, the lives, and the level state with the flag that hands a change of state to the window flow once.
// While the console's cheat mode is on it turns F1..F12 into cheat keys the game implements. The game
// derives its level from it; the application root creates the level when a level starts and deletes it
// when the level ends (or at shutdown).
#pragma once

#include "framework/LevelManagerBase.h"

#include <cstdint>

namespace OrvexEngine {
class Timer;
}

namespace GameFramework {

class AudioPlayer;
class ScoreKeeper;

class GameLogicBase {
public:
    static constexpr int StateRunning = 0;
    static constexpr int StatePaused = 1;
    static constexpr int StateWon = 2;
    static constexpr int StateLost = 3;

    // Logs the level being loaded; the level clock starts stopped at 0 and the game starts it with play.
    GameLogicBase(AudioPlayer* audioPlayer, StageInfo* stageInfo, LevelInfo* levelInfo, uint32_t lives);
    GameLogicBase(const GameLogicBase&) = delete;
    GameLogicBase& operator=(const GameLogicBase&) = delete;
    virtual ~GameLogicBase();

    // The base part of the level's frame; the game's update calls it first.
    virtual void Update();
    // Any other state than running stops the level clock; a change raises the state-changed flag.
    virtual void SetState(int newState);
    // Records that a cheat was used; the game's override applies the cheat after calling it.
    virtual void OnCheatKey(bool shift, int key);

    // Pauses (state 1) or resumes (state 0) a level that has not ended; a won or lost level keeps its state.
    void SetPaused(bool pause);
    // Elapsed level time in seconds, frozen while the level clock is paused.
    float GetTime() const;
    // Only the level clock; the state stays.
    void SetTimerPaused(bool pause);
    bool IsTimerPaused() const;
    int GetScore() const;
    void SetScore(int score);
    // Every function key that went down this frame, in ascending order, with the Shift state.
    void PollCheatKeys();
    // The level's place in the level list.
    LevelPosition GetPosition() const;

    AudioPlayer* audioPlayer = nullptr; // not owned
    OrvexEngine::Timer* levelTimer = nullptr; // owned, through the TimerManager
    ScoreKeeper* scoreKeeper = nullptr; // owned
    StageInfo* stageInfo = nullptr;     // not owned: the level list's record
    LevelInfo* levelInfo = nullptr;     // not owned: the level list's record
    uint32_t lives = 0;                 // besides the ball in play
    int state = StateRunning;
    bool stateChanged = false; // read and cleared by the window flow
    bool cheated = false;
};

} // namespace GameFramework
