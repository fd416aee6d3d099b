#include "engine/core/Timer.h"

#include "platform/win/Time.h"

#include <cmath>

namespace OrvexEngine {

namespace {

// seconds x scale, truncated toward zero; a value no counter can hold (or not a number) is bounded instead
// of converting out of range.
int64_t ScaleSeconds(float seconds, double scale) {
    const double scaled = std::trunc(static_cast<double>(seconds) * scale);
    constexpr double limit = 4.0e18;
    if (std::isnan(scaled))
        return 0;
    if (scaled > limit)
        return static_cast<int64_t>(limit);
    if (scaled < -limit)
        return -static_cast<int64_t>(limit);
    return static_cast<int64_t>(scaled);
}

} // namespace

Timer::Timer(float startSeconds, bool usePerformanceCounterIn)
    : usePerformanceCounter(usePerformanceCounterIn) {
    if (usePerformanceCounter)
        frequency = platform::QueryPerformanceFrequency();
    SetTime(startSeconds);
}

int64_t Timer::CurrentCount() const {
    return usePerformanceCounter ? platform::QueryPerformanceCounter() : platform::TimeGetTime();
}

double Timer::GetElapsedSeconds() const {
    if (usePerformanceCounter) {
        const int64_t now = paused ? pauseCount : platform::QueryPerformanceCounter();
        return static_cast<double>(now - startCount) / static_cast<double>(frequency);
    }
    // The unsigned difference makes a wrap of the millisecond time harmless.
    const uint32_t now = paused ? pauseMs : platform::TimeGetTime();
    return static_cast<uint32_t>(now - startMs) * 0.001;
}

float Timer::GetTime() const {
    return static_cast<float>(GetElapsedSeconds());
}

void Timer::SetPaused(bool pause) {
    if (pause == paused)
        return;
    paused = pause;
    const int64_t now = CurrentCount();
    if (usePerformanceCounter) {
        if (pause)
            pauseCount = now;
        else
            startCount += now - pauseCount;
    } else {
        if (pause)
            pauseMs = static_cast<uint32_t>(now);
        else
            startMs += static_cast<uint32_t>(now) - pauseMs;
    }
}

void Timer::SetTime(float seconds) {
    if (usePerformanceCounter)
        startCount =
            platform::QueryPerformanceCounter() - ScaleSeconds(seconds, static_cast<double>(frequency));
    else
        startMs = platform::TimeGetTime() - static_cast<uint32_t>(ScaleSeconds(seconds, 1000.0));
    paused = false;
}

} // namespace OrvexEngine
