// The audio output behind the sound device: SDL's default playback device, whose callback asks the mixer
// for 16-bit samples. SDL converts to whatever the hardware runs. Owned by the sound device; one per device.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class Mixer;

class SdlAudioOutput {
public:
    SdlAudioOutput() = default;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;
    ~SdlAudioOutput();

    // Starts the audio subsystem when needed and opens the device at the rate and channel count given;
    // false with SDL's reason in `error` when there is no usable device. The mixer must outlive Close.
    bool Open(Mixer* mixer, uint32_t rate, uint32_t channels, std::string& error);
    // Stops the callback (waiting for a running one to finish) and closes the device.
    void Close();
    bool IsOpen() const { return device != 0; }

private:
    static void Callback(void* userData, uint8_t* stream, int length);

    uint32_t device = 0;
    uint32_t channels = 2;
    bool subsystemStarted = false;
    Mixer* mixer = nullptr; // not owned
};

} // namespace platform
