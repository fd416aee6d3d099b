// ctest-label: core
#include "engine/core/TimerManager.h"

#include "engine/core/Timer.h"
#include "platform/win/Time.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace OrvexEngine;

namespace {

class FakeClockTest : public testing::Test {
protected:
    void SetUp() override { platform::InstallFakeClock(1000); }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::SetTimerCapsFailureForTests(false);
    }
    static void Advance(uint64_t microseconds) { platform::AdvanceFakeClockMicroseconds(microseconds); }
};

int SlotOf(const TimerManager& manager, const Timer* timer) {
    const auto& timers = manager.GetTimers();
    auto found = std::find(timers.begin(), timers.end(), timer);
    return found == timers.end() ? -1 : static_cast<int>(found - timers.begin());
}

} // namespace

// Frames of given lengths in microseconds, and the frame time each update must report. Both clocks: the
// millisecond time (timer period raised) and the performance counter (capabilities query failed).
TEST_F(FakeClockTest, FrameTimeIsClampedToAMillisecondAndATenthOfASecond) {
    struct Case {
        const char* what;
        uint64_t frame;
        float expected;
    };
    const Case cases[] = {
        {"start-up of five seconds", 5000000, 0.1f},
        {"ordinary frame", 16000, 0.016f},
        {"within the same millisecond", 300, 0.001f},
        {"no time at all", 0, 0.001f},
        {"stall", 3000000, 0.1f},
        {"just under the upper bound", 99000, 0.099f},
        {"one millisecond and a half", 1500, 0.0f}, // clock-dependent, below
    };
    for (bool capsFail : {false, true}) {
        platform::SetTimerCapsFailureForTests(capsFail);
        TimerManager manager;
        for (const Case& c : cases) {
            Advance(c.frame);
            manager.Update();
            if (c.frame == 1500) {
                // The millisecond clock sees whole milliseconds only; the counter sees the half.
                EXPECT_FLOAT_EQ(manager.frameTime, capsFail ? 0.0015f : 0.001f);
                continue;
            }
            EXPECT_NEAR(manager.frameTime, c.expected, 1e-6) << c.what << (capsFail ? " (counter)" : " (ms)");
        }
    }
}

TEST_F(FakeClockTest, FramesPerSecondCountsTheUnclampedTime) {
    // The counter clock and frame lengths that are exact binary fractions keep the sums exact.
    platform::SetTimerCapsFailureForTests(true);
    TimerManager manager;
    EXPECT_EQ(manager.framesPerSecond, 0);
    Advance(5000000); // the start-up's five seconds carry over one second per update
    for (int update = 1; update <= 5; ++update) {
        manager.Update();
        EXPECT_EQ(manager.framesPerSecond, 1) << "update " << update;
        EXPECT_FLOAT_EQ(manager.frameTime, update == 1 ? 0.1f : 0.001f);
    }
    for (int frame = 0; frame < 64; ++frame) {
        Advance(15625);
        manager.Update();
        EXPECT_EQ(manager.framesPerSecond, frame < 63 ? 1 : 64);
    }
    // Frames of a quarter second: clamped to 0.1 each, but the count sees 4 per second.
    for (int frame = 0; frame < 4; ++frame) {
        Advance(250000);
        manager.Update();
    }
    EXPECT_EQ(manager.framesPerSecond, 4);
    EXPECT_FLOAT_EQ(manager.frameTime, 0.1f);
}

TEST_F(FakeClockTest, MillisecondWrapIsHarmless) {
    platform::InstallFakeClock(0xFFFFFFFFu - 5);
    TimerManager manager;
    Timer* timer = manager.CreateTimer(0, false);
    Advance(20000); // crosses 0xFFFFFFFF -> 0
    EXPECT_LT(platform::TimeGetTime(), 100u);
    manager.Update();
    EXPECT_FLOAT_EQ(manager.frameTime, 0.02f);
    EXPECT_FLOAT_EQ(timer->GetTime(), 0.02f);

    timer->SetPaused(true);
    Advance(7000);
    timer->SetPaused(false);
    Advance(1000);
    EXPECT_FLOAT_EQ(timer->GetTime(), 0.021f);
}

TEST_F(FakeClockTest, TimersPauseResumeAndSetTime) {
    for (bool counter : {false, true}) {
        SCOPED_TRACE(counter ? "performance counter" : "millisecond time");
        TimerManager manager;
        Timer* timer = manager.CreateTimer(2.5f, counter);
        EXPECT_FLOAT_EQ(timer->GetTime(), 2.5f);

        Advance(1000000);
        timer->SetPaused(true);
        Advance(1000000);
        timer->SetPaused(true); // already paused: the pause keeps its first moment
        Advance(1000000);
        EXPECT_FLOAT_EQ(timer->GetTime(), 3.5f);
        EXPECT_TRUE(timer->IsPaused());
        timer->SetPaused(false);
        timer->SetPaused(false); // already running: nothing moves
        Advance(500000);
        EXPECT_FLOAT_EQ(timer->GetTime(), 4.0f); // 4.5 s of wall time, 2 of them paused, from 2.5

        timer->SetPaused(true);
        Advance(1000000);
        timer->SetTime(5);
        EXPECT_FALSE(timer->IsPaused());
        EXPECT_FLOAT_EQ(timer->GetTime(), 5.0f);
        Advance(250000);
        EXPECT_FLOAT_EQ(timer->GetTime(), 5.25f);
    }
}

TEST_F(FakeClockTest, TimerSlotsAreReusedLastFreedFirst) {
    TimerManager manager;
    EXPECT_EQ(SlotOf(manager, manager.GetFrameTimer()), 0);
    Timer* a = manager.CreateTimer(0, false);
    Timer* b = manager.CreateTimer(0, false);
    Timer* c = manager.CreateTimer(0, true);
    EXPECT_EQ(SlotOf(manager, c), 3);

    manager.DeleteTimer(b);
    Timer* d = manager.CreateTimer(0, false);
    EXPECT_EQ(SlotOf(manager, d), 2);

    manager.DeleteTimer(a);
    manager.DeleteTimer(c);
    Timer* e = manager.CreateTimer(0, false);
    Timer* f = manager.CreateTimer(0, false);
    EXPECT_EQ(SlotOf(manager, e), 3);
    EXPECT_EQ(SlotOf(manager, f), 1);
    EXPECT_EQ(manager.GetTimers().size(), 4u);

    // Null and timers of another manager are ignored; the other manager's timer stays usable.
    TimerManager other;
    Timer* foreign = other.CreateTimer(1, false);
    manager.DeleteTimer(nullptr);
    manager.DeleteTimer(foreign);
    EXPECT_FLOAT_EQ(foreign->GetTime(), 1.0f);
    EXPECT_EQ(manager.GetTimers().size(), 4u);
    // d, e and f are never deleted by their owner: the manager's destructor frees them (the leak checker
    // would report them otherwise).
}

TEST_F(FakeClockTest, TimerPeriodIsRaisedForTheManagersLifetime) {
    {
        TimerManager manager;
        EXPECT_EQ(manager.GetTimerPeriod(), 1u);
        EXPECT_EQ(platform::GetRaisedTimerPeriods(), std::vector<uint32_t>{1});
    }
    EXPECT_TRUE(platform::GetRaisedTimerPeriods().empty());

    const int unmatchedBefore = platform::GetUnmatchedTimerPeriodEnds();
    platform::SetTimerCapsFailureForTests(true);
    {
        TimerManager manager;
        EXPECT_EQ(manager.GetTimerPeriod(), 0u);
        EXPECT_TRUE(platform::GetRaisedTimerPeriods().empty());
    }
    EXPECT_EQ(platform::GetUnmatchedTimerPeriodEnds(), unmatchedBefore); // nothing ended that was not raised
}

TEST_F(FakeClockTest, SleepAdvancesTheFakeClock) {
    const uint32_t before = platform::TimeGetTime();
    const int64_t counterBefore = platform::QueryPerformanceCounter();
    platform::Sleep(250);
    EXPECT_EQ(platform::TimeGetTime() - before, 250u);
    EXPECT_EQ(platform::GetTickCount(), platform::TimeGetTime());
    EXPECT_EQ(platform::QueryPerformanceCounter() - counterBefore, platform::QueryPerformanceFrequency() / 4);
}

TEST(Time, RealClocksAdvanceAcrossASleep) {
    ASSERT_FALSE(platform::IsFakeClockInstalled());
    const int64_t counterBefore = platform::QueryPerformanceCounter();
    const uint32_t msBefore = platform::TimeGetTime();
    platform::Sleep(20);
    const double slept = static_cast<double>(platform::QueryPerformanceCounter() - counterBefore) /
                         static_cast<double>(platform::QueryPerformanceFrequency());
    EXPECT_GE(slept, 0.020);
    EXPECT_LT(slept, 2.0);
    EXPECT_GE(platform::TimeGetTime() - msBefore, 19u);
}
