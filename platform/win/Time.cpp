#include "platform/win/Time.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace platform {

namespace {

constexpr int64_t nanosecondsPerSecond = 1000000000;

struct FakeClock {
    bool installed = false;
    uint32_t startMilliseconds = 0;
    uint64_t microseconds = 0; // since installation
};

FakeClock fakeClock;
bool capsFailure = false;
std::vector<uint32_t> raisedPeriods;
int unmatchedEnds = 0;

int64_t MonotonicNanoseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

uint32_t Milliseconds() {
    if (fakeClock.installed)
        return fakeClock.startMilliseconds + static_cast<uint32_t>(fakeClock.microseconds / 1000);
    return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000);
}

} // namespace

uint32_t TimeGetTime() {
    return Milliseconds();
}

uint32_t GetTickCount() {
    return Milliseconds();
}

int64_t QueryPerformanceCounter() {
    if (fakeClock.installed)
        return static_cast<int64_t>(fakeClock.microseconds * 1000);
    return MonotonicNanoseconds();
}

int64_t QueryPerformanceFrequency() {
    return nanosecondsPerSecond;
}

void Sleep(uint32_t milliseconds) {
    if (fakeClock.installed) {
        AdvanceFakeClockMilliseconds(milliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool TimeGetDevCaps(uint32_t& minimumPeriod) {
    if (capsFailure)
        return false;
    minimumPeriod = 1;
    return true;
}

void TimeBeginPeriod(uint32_t period) {
    raisedPeriods.push_back(period);
}

bool TimeEndPeriod(uint32_t period) {
    auto found = std::find(raisedPeriods.begin(), raisedPeriods.end(), period);
    if (found == raisedPeriods.end()) {
        ++unmatchedEnds;
        return false;
    }
    raisedPeriods.erase(found);
    return true;
}

void InstallFakeClock(uint32_t startMilliseconds) {
    fakeClock.installed = true;
    fakeClock.startMilliseconds = startMilliseconds;
    fakeClock.microseconds = 0;
}

void RemoveFakeClock() {
    fakeClock = FakeClock();
}

bool IsFakeClockInstalled() {
    return fakeClock.installed;
}

void AdvanceFakeClockMicroseconds(uint64_t microseconds) {
    fakeClock.microseconds += microseconds;
}

void AdvanceFakeClockMilliseconds(uint32_t milliseconds) {
    fakeClock.microseconds += static_cast<uint64_t>(milliseconds) * 1000;
}

void SetTimerCapsFailureForTests(bool fail) {
    capsFailure = fail;
}

std::vector<uint32_t> GetRaisedTimerPeriods() {
    return raisedPeriods;
}

int GetUnmatchedTimerPeriodEnds() {
    return unmatchedEnds;
}

} // namespace platform
