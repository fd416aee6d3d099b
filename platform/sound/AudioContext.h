// What a sound device shares with every buffer and 3D object made from it: the mixer, the live buffers,
// the cooperative level and the pending 3D settings. Held through shared pointers, so that a buffer that
// outlives its device stays safe to use and to release. One per device; used only inside platform/sound.
#pragma once

#include "platform/sound/Mixer.h"

#include <functional>
#include <vector>

namespace platform {

class AudioBuffer;
class AudioBuffer3D;

struct AudioContext {
    AudioContext(uint32_t rate, uint32_t channels) : mixer(rate, channels) {}

    Mixer mixer;
    int cooperativeLevel = 0;
    AudioBuffer* primary = nullptr;        // not owned; the device's one primary buffer while it exists
    std::vector<AudioBuffer*> buffers;     // not owned; every live buffer, the primary included
    std::vector<AudioBuffer3D*> buffers3D; // not owned; committed with the listener's deferred settings
    // Reopens the output for a new primary format; false when the output cannot run it.
    std::function<bool(uint32_t rate, uint32_t channels)> reformat;

    bool listenerPending = false;
    float pendingPosition[3] = {0.0f, 0.0f, 0.0f};
    float pendingFront[3] = {0.0f, 0.0f, 1.0f};
    float pendingUp[3] = {0.0f, 1.0f, 0.0f};
};

} // namespace platform
