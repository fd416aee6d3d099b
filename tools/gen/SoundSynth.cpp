#include "tools/gen/SoundSynth.h"

#include <algorithm>
#include <cmath>

namespace VbGen {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr float rate = static_cast<float>(SoundSynth::sampleRate);

float Oscillator(SoundSynth::Wave wave, double phase, float pulseWidth) {
    switch (wave) {
    case SoundSynth::Wave::Sine:
        return static_cast<float>(std::sin(2 * pi * phase));
    case SoundSynth::Wave::Triangle: {
        // Starts at 0 rising, like the sine, so a tone begins without a step.
        const double shifted = std::fmod(phase + 0.25, 1.0);
        return static_cast<float>(1 - 4 * std::fabs(shifted - 0.5));
    }
    case SoundSynth::Wave::Saw:
        return static_cast<float>(2 * phase - 1);
    case SoundSynth::Wave::Pulse:
        return phase < pulseWidth ? 1.0f : -1.0f;
    }
    return 0.0f;
}

// The frequency at sample i of n for an exponential glide.
double Glide(float startHz, float endHz, size_t i, size_t n) {
    if (endHz <= 0 || endHz == startHz || n < 2)
        return startHz;
    return startHz * std::pow(static_cast<double>(endHz) / startHz, static_cast<double>(i) / (n - 1));
}

} // namespace

size_t SoundSynth::Samples(float seconds) {
    return seconds <= 0 ? 0 : static_cast<size_t>(std::lround(seconds * rate));
}

SoundSynth::Buffer SoundSynth::Tone(Wave wave, float seconds, float startHz, float endHz, float pulseWidth) {
    Buffer out(Samples(seconds));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = Oscillator(wave, phase, pulseWidth);
        phase += Glide(startHz, endHz, i, out.size()) / rate;
        phase -= std::floor(phase);
    }
    return out;
}

SoundSynth::Buffer SoundSynth::Noise(float seconds, bool pink) {
    Buffer out(Samples(seconds));
    float b0 = 0, b1 = 0, b2 = 0;
    for (float& sample : out) {
        const float white = random.Range(-1.0f, 1.0f);
        if (!pink) {
            sample = white;
            continue;
        }
        // Three leaky integrators whose sum falls by about 3 dB per octave over the audible band.
        b0 = 0.99765f * b0 + white * 0.0990460f;
        b1 = 0.96300f * b1 + white * 0.2965164f;
        b2 = 0.57000f * b2 + white * 1.0526913f;
        sample = 0.25f * (b0 + b1 + b2 + white * 0.1848f);
    }
    return out;
}

SoundSynth::Buffer SoundSynth::Fm(float seconds, float carrierHz, float ratio, float index, float indexDecay) {
    Buffer out(Samples(seconds));
    double carrier = 0, modulator = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double depth = indexDecay > 0 ? index * std::exp(-t / indexDecay) : index;
        out[i] = static_cast<float>(std::sin(2 * pi * carrier + depth * std::sin(2 * pi * modulator)));
        carrier += carrierHz / rate;
        modulator += carrierHz * ratio / rate;
        carrier -= std::floor(carrier);
        modulator -= std::floor(modulator);
    }
    return out;
}

SoundSynth::Buffer SoundSynth::Pluck(float seconds, float hz, float damping) {
    Buffer out(Samples(seconds));
    const size_t length = std::max<size_t>(2, static_cast<size_t>(std::lround(rate / std::max(hz, 20.0f))));
    Buffer line(length);
    for (float& value : line)
        value = random.Range(-1.0f, 1.0f);
    // The averaging weight: 0.5 is the classic string, smaller keeps the highs ringing longer.
    const float weight = 0.5f * std::clamp(damping, 0.05f, 1.0f);
    size_t at = 0;
    for (float& sample : out) {
        const size_t next = at + 1 == length ? 0 : at + 1;
        sample = line[at];
        line[at] = 0.998f * ((1 - weight) * line[at] + weight * line[next]);
        at = next;
    }
    return out;
}

void SoundSynth::Adsr(Buffer& buffer, float attack, float decay, float sustain, float release) {
    const float total = static_cast<float>(buffer.size()) / rate;
    const float releaseStart = std::max(0.0f, total - release);
    float level = 0;
    float releaseFrom = -1;
    for (size_t i = 0; i < buffer.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        if (t >= releaseStart && release > 0) {
            if (releaseFrom < 0)
                releaseFrom = level;
            buffer[i] *= releaseFrom * std::max(0.0f, 1 - (t - releaseStart) / release);
            continue;
        }
        if (t < attack)
            level = t / attack;
        else if (t < attack + decay)
            level = 1 - (1 - sustain) * (t - attack) / decay;
        else
            level = sustain;
        buffer[i] *= level;
    }
}

void SoundSynth::Decay(Buffer& buffer, float attack, float timeConstant) {
    for (size_t i = 0; i < buffer.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        const float rise = attack > 0 && t < attack ? t / attack : 1.0f;
        buffer[i] *= rise * std::exp(-std::max(0.0f, t - attack) / timeConstant);
    }
}

void SoundSynth::Tremolo(Buffer& buffer, float hz, float depth) {
    for (size_t i = 0; i < buffer.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        buffer[i] *= static_cast<float>(1 - depth / 2 + depth / 2 * std::cos(2 * pi * hz * t));
    }
}

void SoundSynth::LowPass(Buffer& buffer, float hz) {
    const float a = 1 - static_cast<float>(std::exp(-2 * pi * hz / rate));
    float y = 0;
    for (float& sample : buffer) {
        y += a * (sample - y);
        sample = y;
    }
}

void SoundSynth::HighPass(Buffer& buffer, float hz) {
    const float a = 1 - static_cast<float>(std::exp(-2 * pi * hz / rate));
    float y = 0;
    for (float& sample : buffer) {
        y += a * (sample - y);
        sample -= y;
    }
}

void SoundSynth::BandPass(Buffer& buffer, float startHz, float endHz, float resonance, bool lowOutput) {
    // The trapezoidal state-variable filter: stable at every cut-off below the Nyquist frequency.
    const float k = 1 / std::max(resonance, 0.1f);
    double ic1 = 0, ic2 = 0;
    for (size_t i = 0; i < buffer.size(); ++i) {
        const double hz = std::min(Glide(startHz, endHz, i, buffer.size()), 0.45 * rate);
        const double g = std::tan(pi * hz / rate);
        const double a1 = 1 / (1 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        const double v3 = buffer[i] - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        buffer[i] = static_cast<float>(lowOutput ? v2 : v1);
    }
}

void SoundSynth::Shape(Buffer& buffer, float drive) {
    const float norm = std::tanh(drive);
    for (float& sample : buffer)
        sample = std::tanh(drive * sample) / norm;
}

void SoundSynth::Echo(Buffer& buffer, float delaySeconds, float feedback, float mix) {
    const size_t delay = std::max<size_t>(1, Samples(delaySeconds));
    Buffer wet(buffer.size());
    for (size_t i = 0; i < buffer.size(); ++i)
        wet[i] = buffer[i] + (i >= delay ? feedback * wet[i - delay] : 0.0f);
    for (size_t i = delay; i < buffer.size(); ++i)
        buffer[i] += mix * wet[i - delay];
}

void SoundSynth::Reverb(Buffer& buffer, float mix) {
    static const size_t combs[] = {557, 593, 641, 677};
    static const size_t allPasses[] = {113, 278};
    Buffer wet(buffer.size(), 0.0f);
    for (size_t length : combs) {
        Buffer line(length, 0.0f);
        float damp = 0;
        size_t at = 0;
        for (size_t i = 0; i < buffer.size(); ++i) {
            const float out = line[at];
            damp += 0.3f * (out - damp);
            line[at] = buffer[i] + 0.78f * damp;
            wet[i] += 0.25f * out;
            at = at + 1 == length ? 0 : at + 1;
        }
    }
    for (size_t length : allPasses) {
        Buffer line(length, 0.0f);
        size_t at = 0;
        for (float& sample : wet) {
            const float delayed = line[at];
            const float in = sample + 0.5f * delayed;
            line[at] = in;
            sample = delayed - 0.5f * in;
            at = at + 1 == length ? 0 : at + 1;
        }
    }
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer[i] += mix * wet[i];
}

void SoundSynth::MixInto(Buffer& into, const Buffer& source, size_t offset, float gain) {
    if (into.size() < offset + source.size())
        into.resize(offset + source.size(), 0.0f);
    for (size_t i = 0; i < source.size(); ++i)
        into[offset + i] += gain * source[i];
}

void SoundSynth::NormalisePeak(Buffer& buffer, float dbfs) {
    float peak = 0;
    for (float sample : buffer)
        peak = std::max(peak, std::fabs(sample));
    if (peak == 0)
        return;
    const float gain = std::pow(10.0f, dbfs / 20) / peak;
    for (float& sample : buffer)
        sample *= gain;
}

std::vector<int16_t> SoundSynth::ToPcm16(const Buffer& buffer) {
    std::vector<int16_t> out(buffer.size());
    for (size_t i = 0; i < buffer.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(std::clamp(buffer[i], -1.0f, 1.0f) * 32767));
    return out;
}

} // namespace VbGen
