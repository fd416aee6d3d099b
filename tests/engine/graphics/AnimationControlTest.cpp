// ctest-label: images
#include "engine/graphics/AnimationControl.h"

#include "engine/core/TimerManager.h"
#include "engine/math/Random.h"

#include <gtest/gtest.h>

#include <vector>

using namespace OrvexEngine;

namespace {

// Ten frames at 8 frames per second with a frame time of 1/16 s: half a frame per update.
class AnimationControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        TimerManager::Instance(&timers);
        timers.frameTime = 0.0625f;
    }

    struct Outputs {
        uint32_t current, next;
        float fraction;
        bool playing;
    };

    // The outputs after each of count updates.
    static std::vector<Outputs> Run(AnimationControl& control, int count) {
        std::vector<Outputs> outputs;
        for (int i = 0; i < count; ++i) {
            control.Update();
            outputs.push_back(
                {control.currentFrame, control.nextFrame, control.blendFraction, control.playing});
        }
        return outputs;
    }

    static AnimationControl Playing(int32_t mode, bool loop) {
        AnimationControl control(mode, 10);
        control.speed = 8;
        control.loop = loop;
        control.Play();
        return control;
    }

    TimerManager timers;
};

} // namespace

TEST_F(AnimationControlTest, ANonLoopingRangePlaysOnceAndStopsOnItsLastFrame) {
    AnimationControl control = Playing(0, false);
    auto out = Run(control, 20);
    EXPECT_EQ(4u, out[7].current); // after 8 updates: position 4
    EXPECT_EQ(5u, out[7].next);
    EXPECT_FLOAT_EQ(0.0f, out[7].fraction);
    EXPECT_EQ(8u, out[16].current);
    EXPECT_EQ(9u, out[16].next);
    EXPECT_FLOAT_EQ(0.5f, out[16].fraction);
    EXPECT_TRUE(out[16].playing);
    for (int i : {17, 18, 19}) { // the update reaching 9 clamps and stops
        EXPECT_EQ(9u, out[i].current);
        EXPECT_EQ(9u, out[i].next);
        EXPECT_FALSE(out[i].playing);
    }
    EXPECT_FLOAT_EQ(9.0f, control.position);
}

TEST_F(AnimationControlTest, ALoopingRangeWrapsAndCountsLoops) {
    AnimationControl control = Playing(0, true);
    auto out = Run(control, 60);
    EXPECT_FLOAT_EQ(0.0f, out[17].fraction);
    EXPECT_EQ(0u, out[17].current); // the update reaching 9 wraps to 0
    EXPECT_EQ(3u, control.loopsDone);
    for (const Outputs& o : out) {
        EXPECT_LE(o.current, 8u);
        EXPECT_LE(o.next, 9u);
        EXPECT_TRUE(o.playing);
    }
}

TEST_F(AnimationControlTest, TheCyclicModeBlendsTheLastFrameIntoTheFirst) {
    AnimationControl control = Playing(1, true);
    auto out = Run(control, 20);
    EXPECT_EQ(9u, out[18].current); // position 9.5
    EXPECT_EQ(0u, out[18].next);
    EXPECT_FLOAT_EQ(0.5f, out[18].fraction);
    EXPECT_EQ(0u, out[19].current); // position 10 wraps
    EXPECT_EQ(1u, control.loopsDone);

    AnimationControl plain = Playing(1, false); // not looping: the usual span
    out = Run(plain, 18);
    EXPECT_EQ(9u, out[17].current);
    EXPECT_FALSE(out[17].playing);
}

TEST_F(AnimationControlTest, AReversedRangePlaysBackwards) {
    AnimationControl control(0, 10);
    control.speed = 8;
    control.AddRange(1, 7, 3);
    control.SetRange(1);
    control.Update(); // not playing: position 0 shows frame 7
    EXPECT_EQ(6u, control.currentFrame);
    EXPECT_EQ(7u, control.nextFrame);
    EXPECT_FLOAT_EQ(1.0f, control.blendFraction);
    control.Play();
    auto out = Run(control, 8);
    EXPECT_EQ(6u, out[0].current); // position 0.5: half-way from 7 to 6
    EXPECT_EQ(7u, out[0].next);
    EXPECT_FLOAT_EQ(0.5f, out[0].fraction);
    EXPECT_EQ(3u, out[7].current); // position 4: the end of the range, frame 3
    EXPECT_EQ(3u, out[7].next);
    EXPECT_FALSE(out[7].playing);
}

TEST_F(AnimationControlTest, ALoopLimitEndsOnTheLastRun) {
    AnimationControl control = Playing(0, true);
    control.loopLimit = 2;
    auto out = Run(control, 40);
    EXPECT_EQ(0u, out[17].current); // the first run wraps
    EXPECT_TRUE(out[17].playing);
    EXPECT_EQ(1u, control.loopsDone);
    EXPECT_TRUE(out[34].playing);
    EXPECT_EQ(9u, out[35].current); // the second clamps and stops
    EXPECT_FALSE(out[35].playing);
    EXPECT_FLOAT_EQ(9.0f, control.position);
}

TEST_F(AnimationControlTest, PausesHoldALoopingRangeBeforeItStarts) {
    AnimationControl control(0, 10);
    control.speed = 8;
    control.loop = true;
    control.pauseMinimum = control.pauseMaximum = 1.0f;
    control.Play();
    EXPECT_FLOAT_EQ(1.0f, control.pauseRemaining);
    Run(control, 15);
    EXPECT_FLOAT_EQ(0.0f, control.position);
    Run(control, 2); // the pause runs out in update 16, which already moves
    EXPECT_FLOAT_EQ(1.0f, control.position);
    Run(control, 20); // with a pause range the loop is not continuous: it rests on the last frame
    EXPECT_EQ(9u, control.currentFrame);
    EXPECT_EQ(0u, control.loopsDone);
}

TEST_F(AnimationControlTest, SpeedChangesAndInterpolation) {
    AnimationControl control = Playing(0, false);
    Run(control, 4);
    EXPECT_FLOAT_EQ(2.0f, control.position);
    control.speed = 16;
    Run(control, 3);
    EXPECT_FLOAT_EQ(5.0f, control.position);
    control.speed = 4;
    control.interpolate = false;
    control.Update(); // position 5.25
    EXPECT_EQ(5u, control.currentFrame);
    EXPECT_EQ(6u, control.nextFrame);
    EXPECT_FLOAT_EQ(0.0f, control.blendFraction);
    control.Stop();
    EXPECT_FALSE(control.playing);
    EXPECT_FLOAT_EQ(0.0f, control.position);
}

TEST_F(AnimationControlTest, AnUnknownRangeIsAddedAsFrameZero) {
    AnimationControl control = Playing(0, false);
    control.SetRange(42);
    control.Update();
    ASSERT_EQ(1u, control.ranges.count(42));
    EXPECT_EQ(0u, control.ranges[42].first);
    EXPECT_EQ(0u, control.ranges[42].second);
    EXPECT_EQ(0u, control.currentFrame);
    EXPECT_EQ(0u, control.nextFrame);
    EXPECT_FALSE(control.playing);
}

TEST_F(AnimationControlTest, RangesThatCouldStallAnUpdateReturn) {
    AnimationControl single(0, 10); // a looping range of one frame
    single.speed = 8;
    single.loop = true;
    single.AddRange(1, 4, 4);
    single.SetRange(1);
    single.Play();
    Run(single, 10);
    EXPECT_EQ(4u, single.currentFrame);
    EXPECT_EQ(4u, single.nextFrame);
    EXPECT_EQ(0u, single.loopsDone);
    EXPECT_TRUE(single.playing);

    SeedRandom(7);
    for (int i = 0; i < 50; ++i) { // a random start on a backwards range stays within it
        AnimationControl reversed(0, 10);
        reversed.speed = 8;
        reversed.loop = true;
        reversed.AddRange(1, 7, 3);
        reversed.SetRange(1);
        reversed.SetRandomStartFrame();
        ASSERT_GE(reversed.position, 0.0f);
        ASSERT_LE(reversed.position, 4.0f);
        reversed.Play();
        reversed.Update();
        EXPECT_GE(reversed.currentFrame, 3u);
        EXPECT_LE(reversed.nextFrame, 7u);
    }

    AnimationControl far = Playing(0, true); // a position far past the range wraps at once
    far.position = 1.0e9f;
    far.Update();
    EXPECT_LT(far.position, 9.0f);
    EXPECT_GT(far.loopsDone, 100000000u);
}

TEST_F(AnimationControlTest, CopiesNeedTheSameModeAndFrameCount) {
    AnimationControl source = Playing(0, true);
    source.AddRange(3, 2, 5);
    source.SetRange(3);
    Run(source, 3);
    AnimationControl copy(source);
    EXPECT_EQ(source.ranges, copy.ranges);
    EXPECT_EQ(3u, copy.currentRangeId);
    EXPECT_FLOAT_EQ(source.position, copy.position);
    EXPECT_TRUE(copy.playing);
    EXPECT_EQ(source.currentFrame, copy.currentFrame);

    AnimationControl other(0, 12);
    other.CopyFrom(source);
    EXPECT_EQ(0u, other.ranges.count(3));
    EXPECT_FALSE(other.playing);
    EXPECT_EQ(0xFFFFFFFFu, other.currentRangeId);

    AnimationControl cyclic(1, 10);
    cyclic.CopyState(source); // state only: ranges stay
    EXPECT_TRUE(cyclic.playing);
    EXPECT_EQ(0u, cyclic.ranges.count(3));
}
