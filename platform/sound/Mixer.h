// The software mixer behind the sound device: sums every playing voice into interleaved 16-bit output,
// resampling each to the output rate. It knows nothing of the audio output; the device's output thread
// (or a test) calls Render. Created and owned (shared) by the sound device and its buffers; one per device.
// Every voice field is read and written under the mixer's lock.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

// One playable sound: samples shared with its duplicates, and a play state of its own.
struct MixerVoice {
    std::shared_ptr<std::vector<uint8_t>> samples; // shared with duplicates
    uint32_t channels = 1;
    uint32_t bitsPerSample = 16;
    uint32_t blockAlign = 2;
    uint32_t frequency = 22050; // frames per second played
    uint64_t position = 0;      // frame index, 32.32 fixed point
    bool playing = false;
    bool looping = false;
    bool lost = false;
    float volumeGain = 1.0f;               // from the volume in hundredths of a decibel
    float panLeft = 1.0f, panRight = 1.0f; // from the pan control
    bool is3D = false;
    float position3D[3] = {0.0f, 0.0f, 0.0f};    // effective source position
    float gain3DLeft = 1.0f, gain3DRight = 1.0f; // from the source and listener positions

    uint32_t FrameCount() const { return static_cast<uint32_t>(samples->size() / blockAlign); }
};

class Mixer {
public:
    Mixer(uint32_t outputRate, uint32_t outputChannels);

    // Fills frames × output channels samples. Called from the output thread; takes the lock itself.
    void Render(int16_t* output, uint32_t frames);

    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex); }

    // The following require the lock.
    void SetOutputFormat(uint32_t rate, uint32_t channels);
    uint32_t GetOutputRate() const { return outputRate; }
    uint32_t GetOutputChannels() const { return outputChannels; }
    void AddVoice(const std::shared_ptr<MixerVoice>& voice);
    void RemoveVoice(const MixerVoice* voice);
    // The listener in the left-handed system of 3D sound: position, the direction it faces and its up.
    void SetListener(const float position[3], const float front[3], const float up[3]);
    // Recomputes the 3D gains of every 3D voice from its position and the listener.
    void Update3D();

    // 10^(volume / 2000); -10000 and below give 0.
    static float VolumeToGain(int32_t volume);
    // Left and right gains of a pan in hundredths of a decibel (negative: the right side is attenuated).
    static void PanToGains(int32_t pan, float& left, float& right);

private:
    void MixVoice(MixerVoice& voice, float* accumulator, uint32_t frames);
    void Compute3D(MixerVoice& voice) const;

    std::mutex mutex;
    uint32_t outputRate = 22050;
    uint32_t outputChannels = 2;
    std::vector<std::shared_ptr<MixerVoice>> voices;
    std::vector<float> accumulator; // reused between renders
    float listenerPosition[3] = {0.0f, 0.0f, 0.0f};
    float listenerFront[3] = {0.0f, 0.0f, 1.0f};
    float listenerUp[3] = {0.0f, 1.0f, 0.0f};
};

} // namespace platform
