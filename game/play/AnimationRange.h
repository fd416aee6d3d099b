// Stands an animation at the end of its current range without playing it, so that a model shows (and its
// box takes) the range's last pose: a loaded bolt on a gun, the barrier's stretched rope.
#pragma once

#include "engine/graphics/AnimationControl.h"

#include <cstdint>

namespace VelmoraBall {

// The position within the current range becomes the range's length; a range never added counts as (0, 0).
inline void JumpToRangeEnd(OrvexEngine::AnimationControl& animation) {
    const auto range = animation.ranges.find(animation.currentRangeId);
    if (range == animation.ranges.end()) {
        animation.position = 0;
        return;
    }
    const uint32_t first = range->second.first;
    const uint32_t last = range->second.second;
    animation.position = static_cast<float>(last > first ? last - first : first - last);
}

} // namespace VelmoraBall
