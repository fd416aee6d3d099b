#include "engine/graphics/AnimationControl.h"

#include "engine/core/TimerManager.h"
#include "engine/math/Random.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace OrvexEngine {

namespace {

constexpr float epsilon = 0.0001f;

// The whole frames of a position; a negative or not-a-number position counts as frame 0.
uint64_t WholeFrames(float position) {
    return position > 0 && position < 1.0e18f ? uint64_t(position) : 0;
}

} // namespace

AnimationControl::AnimationControl(int32_t animationMode, uint32_t frames)
    : mode(animationMode), frameCount(frames) {
    assert(frames >= 1 && "an animation has at least one frame");
    AddRange(0xFFFFFFFF, 0, frames - 1);
    SetRange(0xFFFFFFFF);
}

AnimationControl::AnimationControl(const AnimationControl& source)
    : mode(source.mode), frameCount(source.frameCount) {
    CopyFrom(source);
}

void AnimationControl::AddRange(uint32_t id, uint32_t first, uint32_t last) {
    ranges.emplace(id, std::make_pair(first, last));
}

void AnimationControl::SetRange(uint32_t id) {
    currentRangeId = id;
    position = 0;
}

void AnimationControl::Play() {
    playing = true;
    loopsDone = 0;
    pauseRemaining = RandomFloatRange(pauseMinimum, pauseMaximum);
}

void AnimationControl::Stop() {
    playing = false;
    position = 0;
}

std::pair<uint32_t, uint32_t> AnimationControl::CurrentRange() {
    // try_emplace looks the id up before making a node: every update asks, and must not allocate.
    return ranges.try_emplace(currentRangeId, 0u, 0u).first->second;
}

void AnimationControl::SetRandomStartFrame() {
    const auto [first, last] = CurrentRange();
    const float sign = RandomSigned();
    const float pause = RandomFloatRange(pauseMinimum, pauseMaximum) * sign;
    pauseRemaining = pause < 0 ? 0 : pause;
    // The range's length, also for a backwards range (whose last - first would wrap around to ~4e9).
    const uint32_t length = std::max(first, last) - std::min(first, last);
    position = pauseRemaining < epsilon ? RandomFloatRange(0, float(length)) : 0;
}

void AnimationControl::CopyState(const AnimationControl& source) {
    speed = source.speed;
    position = source.position;
    loop = source.loop;
    loopLimit = source.loopLimit;
    loopsDone = source.loopsDone;
    pauseMinimum = source.pauseMinimum;
    pauseMaximum = source.pauseMaximum;
    pauseRemaining = source.pauseRemaining;
    interpolate = source.interpolate;
    playing = source.playing;
    currentFrame = source.currentFrame;
    nextFrame = source.nextFrame;
    blendFraction = source.blendFraction;
    currentRangeId = source.currentRangeId;
}

void AnimationControl::CopyFrom(const AnimationControl& source) {
    if (&source == this || mode != source.mode || frameCount != source.frameCount)
        return;
    ranges = source.ranges;
    CopyState(source);
}

void AnimationControl::Update() {
    const auto [first, last] = CurrentRange();
    const bool reversed = last < first;
    const uint64_t lo = std::min(first, last), hi = std::max(first, last);
    uint64_t n = hi - lo + 1;
    const bool continuous =
        loop && pauseMaximum < epsilon && (loopLimit == 0 || uint64_t(loopsDone) + 1 < loopLimit);
    if (mode == 1 && continuous)
        ++n;

    TimerManager* timers = TimerManager::Instance();
    const float dt = timers != nullptr ? timers->frameTime : 0.0f;
    pauseRemaining -= dt;
    if (playing && speed > epsilon && (!loop || pauseRemaining < epsilon))
        position += speed * dt;

    currentFrame = nextFrame = 0;
    blendFraction = 0;
    const uint64_t span = n - 1;
    if (continuous) {
        // Wrapping by division rather than repeated subtraction: a range of one frame (span 0) stays on
        // its frame, and a far-off position cannot stall the update.
        if (span == 0) {
            position = 0;
        } else if (position >= float(span)) {
            const double wraps = std::floor(double(position) / double(span));
            position = float(std::fmod(double(position), double(span)));
            loopsDone = uint32_t(std::min<double>(double(loopsDone) + wraps, UINT32_MAX));
        }
    } else if (position >= float(span)) {
        position = float(span);
        if (loop) {
            if (pauseRemaining < epsilon)
                pauseRemaining = RandomFloatRange(pauseMinimum, pauseMaximum);
            if (loopLimit != 0 && uint64_t(loopsDone) + 1 >= loopLimit)
                playing = false;
        } else {
            playing = false;
        }
    }

    uint64_t current = WholeFrames(position);
    float fraction = position - float(current);
    if (!(fraction >= 0 && fraction < 1))
        fraction = 0;
    uint64_t next = current + 1 >= n ? current : current + 1;
    if (reversed) {
        const uint64_t mirroredCurrent = n - next - 1, mirroredNext = n - current - 1;
        current = mirroredCurrent;
        next = mirroredNext;
        fraction = 1 - fraction;
    }
    current += lo;
    next += lo;
    if (!interpolate)
        fraction = 0;
    currentFrame = current >= frameCount ? 0 : uint32_t(current);
    nextFrame = next >= frameCount ? 0 : uint32_t(next);
    blendFraction = fraction;
}

} // namespace OrvexEngine
