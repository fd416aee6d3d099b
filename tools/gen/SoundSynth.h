// The building blocks of the game's sounds: mono float buffers at 22050 Hz made by oscillators, noise, FM and
// plucked strings, shaped by envelopes, filters, a wave shaper, echo and a small reverb, then mixed,
// normalised and converted to 16-bit samples. Everything is plain arithmetic in a fixed order and the noise
// comes from the asset's own random stream, so one asset's samples are the same on every run. A recipe makes
// one synthesiser per asset.
#pragma once

#include "tools/gen/AssetRandom.h"

#include <cstdint>
#include <vector>

namespace VbGen {

class SoundSynth {
public:
    static constexpr int sampleRate = 22050;
    using Buffer = std::vector<float>;
    enum class Wave { Sine, Triangle, Saw, Pulse };

    explicit SoundSynth(AssetRandom random) : random(random) {}

    // Whole samples in a duration (rounded to the nearest).
    static size_t Samples(float seconds);

    // An oscillator whose pitch glides exponentially from startHz to endHz over the buffer (endHz ≤ 0 keeps
    // startHz). pulseWidth is the high part of a pulse's period.
    static Buffer Tone(Wave wave, float seconds, float startHz, float endHz = 0.0f, float pulseWidth = 0.5f);
    // White noise in -1..1, or pink noise (-3 dB per octave) of about the same level.
    Buffer Noise(float seconds, bool pink = false);
    // Two-operator FM: a sine carrier whose phase the modulator (ratio × carrier) moves by index, the index
    // falling exponentially with the time constant indexDecay (seconds; ≤ 0 keeps it).
    static Buffer Fm(float seconds, float carrierHz, float ratio, float index, float indexDecay);
    // A Karplus-Strong string excited by seeded noise; damping in 0..1 darkens it as it rings.
    Buffer Pluck(float seconds, float hz, float damping);

    // Envelopes multiply the buffer in place. Times in seconds; the release ends at the buffer's end.
    static void Adsr(Buffer& buffer, float attack, float decay, float sustain, float release);
    // A linear attack, then exp(-t / timeConstant).
    static void Decay(Buffer& buffer, float attack, float timeConstant);
    // 1 - depth/2 + depth/2 × cos(2π hz t): a slow swell of the level.
    static void Tremolo(Buffer& buffer, float hz, float depth);

    static void LowPass(Buffer& buffer, float hz);  // one pole
    static void HighPass(Buffer& buffer, float hz); // one pole
    // The state-variable filter's band (or low) output, the cut-off gliding exponentially over the buffer.
    static void BandPass(Buffer& buffer, float startHz, float endHz, float resonance, bool lowOutput = false);
    // tanh(drive x) / tanh(drive): warmth and grit without exceeding full scale.
    static void Shape(Buffer& buffer, float drive);
    // Adds delayed, fading copies inside the buffer's length.
    static void Echo(Buffer& buffer, float delaySeconds, float feedback, float mix);
    // A small fixed room: four combs and two all-passes, mixed with the dry signal.
    static void Reverb(Buffer& buffer, float mix);

    // Adds source × gain into `into` from sample `offset`, growing `into` when the source reaches past it.
    static void MixInto(Buffer& into, const Buffer& source, size_t offset, float gain = 1.0f);
    // Scales so that the largest magnitude is the level in dB of full scale (a silent buffer stays silent).
    static void NormalisePeak(Buffer& buffer, float dbfs);
    // Rounds to 16 bits (no dither), clamping at full scale.
    static std::vector<int16_t> ToPcm16(const Buffer& buffer);

private:
    AssetRandom random;
};

} // namespace VbGen
