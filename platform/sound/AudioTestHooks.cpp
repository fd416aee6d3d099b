#include "platform/sound/AudioTestHooks.h"

#include "platform/sound/AudioBuffer.h"
#include "platform/sound/AudioContext.h"
#include "platform/sound/AudioDevice.h"

#include <limits>

namespace platform {

namespace {

struct Injection {
    AudioResult result = AudioOk;
    uint32_t times = 0;
};

struct HookState {
    Injection injections[static_cast<int>(AudioCall::Count)];
    uint32_t bufferLimit = std::numeric_limits<uint32_t>::max();
    bool restoreFails = false;
    bool nullOutput = false;
};

HookState state;

} // namespace

void AudioTestHooks::InjectResult(AudioCall call, AudioResult result, uint32_t times) {
    state.injections[static_cast<int>(call)] = Injection{result, times};
}

void AudioTestHooks::SetBufferLimit(uint32_t count) {
    state.bufferLimit = count;
}

void AudioTestHooks::LoseBuffers(bool includePrimary) {
    AudioDevice* device = AudioDevice::Current();
    if (device == nullptr)
        return;
    for (AudioBuffer* buffer : device->GetContext()->buffers)
        if (includePrimary || !buffer->IsPrimary())
            buffer->SetLost(true);
}

void AudioTestHooks::SetRestoreFails(bool fails) {
    state.restoreFails = fails;
}

void AudioTestHooks::SetNullOutput(bool on) {
    state.nullOutput = on;
}

void AudioTestHooks::Reset() {
    state = HookState{};
}

AudioDevice* AudioTestHooks::CurrentDevice() {
    return AudioDevice::Current();
}

uint32_t AudioTestHooks::LiveBufferCount() {
    AudioDevice* device = AudioDevice::Current();
    if (device == nullptr)
        return 0;
    uint32_t count = 0;
    for (const AudioBuffer* buffer : device->GetContext()->buffers)
        count += buffer->IsPrimary() ? 0 : 1;
    return count;
}

AudioResult AudioTestHooks::Take(AudioCall call) {
    Injection& injection = state.injections[static_cast<int>(call)];
    if (injection.times == 0)
        return AudioOk;
    --injection.times;
    return injection.result;
}

uint32_t AudioTestHooks::BufferLimit() {
    return state.bufferLimit;
}

bool AudioTestHooks::RestoreFails() {
    return state.restoreFails;
}

bool AudioTestHooks::NullOutput() {
    return state.nullOutput;
}

} // namespace platform
