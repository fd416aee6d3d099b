#include "platform/sound/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

// One frame of a voice as two floats in the 16-bit range (a mono frame fills both).
inline void FetchFrame(const MixerVoice& voice, const uint8_t* data, uint32_t index, float& left,
                       float& right) {
    const uint8_t* frame = data + static_cast<size_t>(index) * voice.blockAlign;
    if (voice.bitsPerSample == 8) {
        left = static_cast<float>((static_cast<int>(frame[0]) - 128) * 256);
        right = voice.channels == 2 ? static_cast<float>((static_cast<int>(frame[1]) - 128) * 256) : left;
    } else {
        int16_t samples[2] = {0, 0};
        std::memcpy(samples, frame, voice.channels == 2 ? 4 : 2);
        left = samples[0];
        right = voice.channels == 2 ? samples[1] : left;
    }
}

float Length(const float v[3]) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

} // namespace

Mixer::Mixer(uint32_t outputRate, uint32_t outputChannels) {
    SetOutputFormat(outputRate, outputChannels);
}

void Mixer::SetOutputFormat(uint32_t rate, uint32_t channels) {
    outputRate = rate > 0 ? rate : 22050;
    outputChannels = channels == 1 ? 1 : 2;
}

void Mixer::AddVoice(const std::shared_ptr<MixerVoice>& voice) {
    voices.push_back(voice);
}

void Mixer::RemoveVoice(const MixerVoice* voice) {
    voices.erase(std::remove_if(voices.begin(), voices.end(),
                                [voice](const std::shared_ptr<MixerVoice>& v) { return v.get() == voice; }),
                 voices.end());
}

void Mixer::Render(int16_t* output, uint32_t frames) {
    std::lock_guard<std::mutex> lock(mutex);
    const size_t samples = static_cast<size_t>(frames) * outputChannels;
    if (accumulator.size() < samples)
        accumulator.resize(samples);
    std::fill(accumulator.begin(), accumulator.begin() + static_cast<std::ptrdiff_t>(samples), 0.0f);
    for (const std::shared_ptr<MixerVoice>& voice : voices)
        if (voice->playing && !voice->lost)
            MixVoice(*voice, accumulator.data(), frames);
    for (size_t i = 0; i < samples; ++i) {
        const long value = std::lrint(accumulator[i]);
        output[i] = static_cast<int16_t>(std::clamp(value, -32768L, 32767L));
    }
}

void Mixer::MixVoice(MixerVoice& voice, float* out, uint32_t frames) {
    const uint32_t count = voice.FrameCount();
    if (count == 0) {
        voice.playing = false;
        voice.position = 0;
        return;
    }
    const uint8_t* data = voice.samples->data();
    const uint64_t step = (static_cast<uint64_t>(voice.frequency) << 32) / outputRate;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    const float gainLeft = voice.volumeGain * voice.panLeft * voice.gain3DLeft;
    const float gainRight = voice.volumeGain * voice.panRight * voice.gain3DRight;
    for (uint32_t i = 0; i < frames; ++i) {
        const uint32_t index = static_cast<uint32_t>(voice.position >> 32);
        const uint32_t fraction = static_cast<uint32_t>(voice.position);
        float left = 0.0f, right = 0.0f;
        FetchFrame(voice, data, index, left, right);
        if (fraction != 0) {
            // Linear interpolation towards the next frame; a voice that ends holds its last frame.
            uint32_t next = index + 1;
            if (next >= count)
                next = voice.looping ? 0 : index;
            float nextLeft = 0.0f, nextRight = 0.0f;
            FetchFrame(voice, data, next, nextLeft, nextRight);
            const float t = static_cast<float>(fraction) * (1.0f / 4294967296.0f);
            left += (nextLeft - left) * t;
            right += (nextRight - right) * t;
        }
        if (outputChannels == 2) {
            out[2 * i] += left * gainLeft;
            out[2 * i + 1] += right * gainRight;
        } else {
            out[i] += (left * gainLeft + right * gainRight) * 0.5f;
        }
        voice.position += step;
        if (voice.position >= end) {
            if (voice.looping) {
                voice.position %= end;
            } else {
                // A buffer that plays to its end stops by itself and returns to its start.
                voice.playing = false;
                voice.position = 0;
                return;
            }
        }
    }
}

void Mixer::SetListener(const float position[3], const float front[3], const float up[3]) {
    std::copy(position, position + 3, listenerPosition);
    std::copy(front, front + 3, listenerFront);
    std::copy(up, up + 3, listenerUp);
}

void Mixer::Update3D() {
    for (const std::shared_ptr<MixerVoice>& voice : voices)
        if (voice->is3D)
            Compute3D(*voice);
}

void Mixer::Compute3D(MixerVoice& voice) const {
    // Distance attenuation with a minimum distance of 1 and a roll-off of 1; the side comes from the
    // listener's right, which in a left-handed system is up × front.
    float offset[3];
    for (int i = 0; i < 3; ++i)
        offset[i] = voice.position3D[i] - listenerPosition[i];
    const float distance = Length(offset);
    const float gain = distance <= 1.0f ? 1.0f : 1.0f / distance;
    float right[3] = {listenerUp[1] * listenerFront[2] - listenerUp[2] * listenerFront[1],
                      listenerUp[2] * listenerFront[0] - listenerUp[0] * listenerFront[2],
                      listenerUp[0] * listenerFront[1] - listenerUp[1] * listenerFront[0]};
    const float rightLength = Length(right);
    float side = 0.0f;
    if (distance > 0.0f && rightLength > 0.0f)
        side =
            (offset[0] * right[0] + offset[1] * right[1] + offset[2] * right[2]) / (distance * rightLength);
    voice.gain3DLeft = gain * std::min(1.0f, 1.0f - side);
    voice.gain3DRight = gain * std::min(1.0f, 1.0f + side);
}

float Mixer::VolumeToGain(int32_t volume) {
    if (volume <= -10000)
        return 0.0f;
    return std::pow(10.0f, static_cast<float>(volume) / 2000.0f);
}

void Mixer::PanToGains(int32_t pan, float& left, float& right) {
    left = pan > 0 ? VolumeToGain(-pan) : 1.0f;
    right = pan < 0 ? VolumeToGain(pan) : 1.0f;
}

} // namespace platform
