// The frame clock of anything that plays frames: named frame ranges, a speed in frames per second, loops
// with an optional limit and random pauses, turned each update into a current frame, the next frame and the
// blend fraction between them. Created and deleted by its owner (a model, a material stage, a sprite, a GUI
// control, the game camera, a gameplay object); one per owner.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

namespace OrvexEngine {

class AnimationControl {
public:
    // frameCount must be at least 1. The whole range (id 0xFFFFFFFF) is added and selected.
    AnimationControl(int32_t mode, uint32_t frameCount);
    // Mode and frame count of the source, then CopyFrom it.
    AnimationControl(const AnimationControl& source);
    AnimationControl& operator=(const AnimationControl&) = delete;
    virtual ~AnimationControl() = default;

    // Adds the range unless the id is present (a present id keeps its frames). last < first plays backwards.
    void AddRange(uint32_t id, uint32_t first, uint32_t last);
    // Selects the range and rewinds to its start; playing, loops and the pause stay.
    void SetRange(uint32_t id);
    void Play();
    void Stop();
    // A random position within the current range (or a random pause before it); call before Play.
    void SetRandomStartFrame();
    // Everything but the mode, the frame count and the ranges.
    void CopyState(const AnimationControl& source);
    // Ranges and state, only from a control of the same mode and frame count; otherwise nothing changes.
    void CopyFrom(const AnimationControl& source);
    // Once a frame: advances by the frame time and sets currentFrame, nextFrame and blendFraction, both
    // frames always below the frame count.
    void Update();

    int32_t mode = 0; // 0 plain; 1 cyclic: a continuously looping range's last frame blends into the next
    uint32_t frameCount = 1;
    float speed = 0; // frames per second
    float position = 0;
    bool loop = false;
    uint32_t loopLimit = 0; // runs before playing stops; 0 = no limit
    uint32_t loopsDone = 0;
    float pauseMinimum = 0;
    float pauseMaximum = 0;
    float pauseRemaining = 0;
    bool interpolate = true;
    bool playing = false;
    std::map<uint32_t, std::pair<uint32_t, uint32_t>> ranges; // id -> (first, last)
    uint32_t currentRangeId = 0xFFFFFFFF;
    uint32_t currentFrame = 0;
    uint32_t nextFrame = 0;
    float blendFraction = 0;

private:
    // The current range; an id never added is added as (0, 0) first.
    std::pair<uint32_t, uint32_t> CurrentRange();
};

} // namespace OrvexEngine
