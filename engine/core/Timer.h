// A pausable stopwatch in seconds, counting either the millisecond time or the high-resolution counter.
// Made and deleted only by the TimerManager (CreateTimer, DeleteTimer), which owns every timer; sound
// streams, the level clock, the loader and the GUI each hold their own.
#pragma once

#include <cstdint>

namespace OrvexEngine {

class TimerManager;

class Timer {
public:
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Elapsed seconds; while paused, the time at which the timer was paused.
    float GetTime() const;
    // Asking for the state the timer is already in does nothing. Paused time does not count.
    void SetPaused(bool pause);
    bool IsPaused() const { return paused; }
    // Sets the elapsed time and resumes the timer.
    void SetTime(float seconds);

protected:
    friend class TimerManager;
    Timer(float startSeconds, bool usePerformanceCounterIn);
    virtual ~Timer() = default;

    // Elapsed seconds in double precision: the frame clock subtracts two readings, and a float reading of
    // hours would leave it only milliseconds of resolution.
    double GetElapsedSeconds() const;

private:
    int64_t CurrentCount() const;

    bool usePerformanceCounter = false; // else the millisecond time
    bool paused = false;
    int64_t frequency = 1; // counts per second of the performance counter
    int64_t startCount = 0;
    int64_t pauseCount = 0;
    uint32_t startMs = 0;
    uint32_t pauseMs = 0;
};

} // namespace OrvexEngine
