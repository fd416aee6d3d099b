// The clocks the engine measures time with: the millisecond multimedia time and the tick count (32-bit,
// wrapping), the high-resolution performance counter, sleeping, and the raised timer resolution.
// Implemented on the monotonic clock; Linux needs no resolution change, so raising and lowering only keep
// count. For tests: a fake clock that stands still until advanced (sleeping advances it), and a failing
// query of the timer capabilities.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Milliseconds since an arbitrary start; wraps after 2^32.
uint32_t TimeGetTime();
// Milliseconds since an arbitrary start; wraps after 2^32. Same clock as TimeGetTime.
uint32_t GetTickCount();
int64_t QueryPerformanceCounter();
// Counts per second of QueryPerformanceCounter; constant for the process.
int64_t QueryPerformanceFrequency();
void Sleep(uint32_t milliseconds);

// The smallest timer period in milliseconds; false when the query fails.
bool TimeGetDevCaps(uint32_t& minimumPeriod);
void TimeBeginPeriod(uint32_t period);
// Ends one raise of the same period; false, and nothing changes, when that period was not raised.
bool TimeEndPeriod(uint32_t period);

// Test API.
// The fake clock: every clock reads it, and it moves only when advanced or slept on. The millisecond time
// starts at startMilliseconds (set it near 0xFFFFFFFF to cross the wrap); the counter starts at 0.
void InstallFakeClock(uint32_t startMilliseconds = 0);
void RemoveFakeClock();
bool IsFakeClockInstalled();
void AdvanceFakeClockMicroseconds(uint64_t microseconds);
void AdvanceFakeClockMilliseconds(uint32_t milliseconds);
// Makes TimeGetDevCaps fail (true) or answer 1 ms (false).
void SetTimerCapsFailureForTests(bool fail);
// The periods raised and not yet ended, in the order raised.
std::vector<uint32_t> GetRaisedTimerPeriods();
// How many TimeEndPeriod calls named a period that was not raised.
int GetUnmatchedTimerPeriodEnds();

} // namespace platform
