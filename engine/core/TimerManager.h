// The engine's clock service: measures every frame (frameTime, clamped to 0.001..0.1 s, and the frames per
// second), keeps the system timer resolution raised while it exists, and owns every Timer. Created and
// deleted by the Engine; single instance, reached through TimerManager::Instance().
#pragma once

#include "engine/core/GlobalPointerHolder.h"

#include <cstdint>
#include <vector>

namespace OrvexEngine {

class Timer;

class TimerManager : public GlobalPointerHolder<TimerManager> {
public:
    TimerManager();
    TimerManager(const TimerManager&) = delete;
    TimerManager& operator=(const TimerManager&) = delete;
    // Deletes every timer still held, also those whose owners never gave them back.
    virtual ~TimerManager();

    // Once per frame: measures the frame just ended.
    void Update();

    // Never null; the manager owns the timer until DeleteTimer.
    Timer* CreateTimer(float startSeconds, bool usePerformanceCounter);
    // Takes ownership; the slot freed last is reused first. Null is ignored.
    void AddTimer(Timer* timer);
    // Deletes a timer of this manager; null or a timer it does not hold is ignored.
    void DeleteTimer(Timer* timer);

    // The system timer period raised for the process in milliseconds; 0 when none could be raised and the
    // frame clock counts with the performance counter instead.
    uint32_t GetTimerPeriod() const { return timerPeriod; }
    Timer* GetFrameTimer() const { return frameTimer; }
    // Where each timer lies; slots are reused but never move.
    const std::vector<Timer*>& GetTimers() const { return timers; }

    float frameTime = 0;         // duration of the last frame in seconds, within 0.001..0.1
    int32_t framesPerSecond = 0; // frames counted in the last completed second; 0 before the first

private:
    uint32_t timerPeriod = 0;
    std::vector<int> freeSlots;  // freed indices of timers; the one freed last at the back
    std::vector<int> usedSlots;  // indices in use, in the order handed out
    std::vector<Timer*> timers;  // owned; null where a timer was deleted
    Timer* frameTimer = nullptr; // owned (one of timers)
    double lastTime = 0;         // frame clock reading at the end of the previous update
    int32_t frameCount = 0;      // frames toward the next framesPerSecond
    float fpsTime = 0;           // seconds toward the next framesPerSecond
};

} // namespace OrvexEngine
