// The sound device: opens the audio output, keeps the cooperative level, makes the primary and secondary
// buffers and duplicates that share their samples, and owns (shares) the mixer that plays them.
// Created by AudioDevice::Create with a reference count of 1 and released by its holder after every
// buffer it made; at most one exists at a time. Main thread only; the output thread only renders.
#pragma once

#include "platform/sound/AudioTypes.h"

#include <memory>
#include <string>

namespace platform {

struct AudioContext;
class AudioBuffer;
class Mixer;
class SdlAudioOutput;

class AudioDevice final {
public:
    // Opens the default output at once, 22050 Hz 16-bit stereo until the primary format changes, so that
    // a machine without audio fails here with AudioErrNoDriver (the reason in GetLastError). `outer` must
    // be null.
    static AudioResult Create(AudioDevice** device, void* outer);

    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    uint32_t AddRef();
    // The last release closes the output.
    uint32_t Release();

    // `window` is the application window's handle and must not be 0.
    AudioResult SetCooperativeLevel(uint32_t window, int level);
    // The primary buffer (flag AudioCapsPrimary, no size, no format; one per device, a second request adds
    // a reference) or a secondary buffer filled with its format's silence. `outer` must be null.
    AudioResult CreateSoundBuffer(const AudioBufferDesc& desc, AudioBuffer** buffer, void* outer);
    // A buffer that shares the source's samples, flags, format, volume and frequency, stopped at 0.
    AudioResult DuplicateSoundBuffer(AudioBuffer* source, AudioBuffer** duplicate);

    Mixer& GetMixer();
    const std::shared_ptr<AudioContext>& GetContext() const { return context; }
    static const std::string& GetLastError();
    static AudioDevice* Current();

private:
    AudioDevice();
    ~AudioDevice();
    AudioResult CheckBufferLimit() const;

    std::shared_ptr<AudioContext> context;
    std::unique_ptr<SdlAudioOutput> output; // null without output
    uint32_t references = 1;
};

} // namespace platform
