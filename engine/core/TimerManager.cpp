#include "engine/core/TimerManager.h"

#include "engine/core/Timer.h"
#include "platform/win/Time.h"

#include <algorithm>

namespace OrvexEngine {

TimerManager::TimerManager() {
    uint32_t period = 0;
    if (platform::TimeGetDevCaps(period) && period != 0) {
        timerPeriod = period;
        platform::TimeBeginPeriod(timerPeriod);
    }
    // The millisecond time is fine-grained once its period is raised; without that, the counter.
    frameTimer = CreateTimer(0, timerPeriod == 0);
}

TimerManager::~TimerManager() {
    DeleteTimer(frameTimer);
    frameTimer = nullptr;
    freeSlots.clear();
    for (int slot : usedSlots) {
        delete timers[slot];
        timers[slot] = nullptr;
    }
    timers.clear();
    usedSlots.clear();
    if (timerPeriod != 0)
        platform::TimeEndPeriod(timerPeriod);
}

void TimerManager::Update() {
    frameTime = static_cast<float>(frameTimer->GetElapsedSeconds() - lastTime);
    lastTime = frameTimer->GetElapsedSeconds();

    // Counted on the real frame time, before the clamp.
    fpsTime += frameTime;
    ++frameCount;
    if (fpsTime >= 1.0f) {
        fpsTime -= 1.0f;
        framesPerSecond = frameCount;
        frameCount = 0;
    }

    // The first frame, a frame after a stall and one shorter than a millisecond all stay in range; below
    // 10 frames per second the game runs slower than real time rather than jumping.
    if (!(frameTime > 0.001f))
        frameTime = 0.001f;
    if (!(frameTime < 0.1f))
        frameTime = 0.1f;
}

Timer* TimerManager::CreateTimer(float startSeconds, bool usePerformanceCounter) {
    Timer* timer = new Timer(startSeconds, usePerformanceCounter);
    AddTimer(timer);
    return timer;
}

void TimerManager::AddTimer(Timer* timer) {
    if (timer == nullptr)
        return;
    int slot = static_cast<int>(timers.size());
    if (!freeSlots.empty()) {
        slot = freeSlots.back();
        freeSlots.pop_back();
    }
    usedSlots.push_back(slot);
    if (slot == static_cast<int>(timers.size()))
        timers.push_back(timer);
    else
        timers[slot] = timer;
}

void TimerManager::DeleteTimer(Timer* timer) {
    if (timer == nullptr)
        return;
    auto used =
        std::find_if(usedSlots.begin(), usedSlots.end(), [&](int slot) { return timers[slot] == timer; });
    if (used == usedSlots.end())
        return;
    const int slot = *used;
    delete timer;
    timers[slot] = nullptr;
    freeSlots.push_back(slot);
    usedSlots.erase(used);
}

} // namespace OrvexEngine
