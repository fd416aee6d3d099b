#include "tools/gen/recipes/SoundsRecipe.h"

#include "tools/formats/OggWriter.h"
#include "tools/formats/WavWriter.h"
#include "tools/gen/AssetRandom.h"
#include "tools/gen/GenError.h"
#include "tools/gen/SoundSynth.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace VbGen {

namespace {

using Buffer = SoundSynth::Buffer;
using Wave = SoundSynth::Wave;

constexpr float effectPeakDb = -3.0f;
constexpr float musicRmsDb = -18.0f;
constexpr float musicQuality = 0.3f;
constexpr float jingleQuality = 0.4f;
constexpr float minimalSeconds = 0.01f;

float Hz(int midiNote) {
    return 440.0f * std::pow(2.0f, static_cast<float>(midiNote - 69) / 12.0f);
}

// A fixed stream serial per file, so the Ogg bytes never depend on anything but the samples and the name.
int Serial(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 16777619u;
    }
    return static_cast<int>(hash & 0x7FFFFFFFu);
}

// Sets the length; a one-shot rises over half a millisecond and fades over its last four, so it neither
// starts nor ends on a step.
void Finish(Buffer& buffer, float seconds, bool loops) {
    buffer.resize(SoundSynth::Samples(seconds), 0.0f);
    if (loops)
        return;
    const size_t rise = std::min(buffer.size(), SoundSynth::Samples(0.0005f));
    for (size_t i = 0; i < rise; ++i)
        buffer[i] *= static_cast<float>(i) / static_cast<float>(rise);
    const size_t fade = std::min(buffer.size(), SoundSynth::Samples(0.004f));
    for (size_t i = 0; i < fade; ++i)
        buffer[buffer.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
}

Buffer Enveloped(Buffer buffer, float attack, float timeConstant) {
    SoundSynth::Decay(buffer, attack, timeConstant);
    return buffer;
}

// Short noise grains scattered over the first `spread` seconds: the body of anything that crumbles.
Buffer Crumble(SoundSynth& synth, AssetRandom& random, float seconds, float spread, int grains, float bandHz) {
    Buffer out(SoundSynth::Samples(seconds), 0.0f);
    for (int i = 0; i < grains; ++i) {
        const float at = spread * std::pow(random.NextFloat(), 1.6f);
        Buffer grain = Enveloped(synth.Noise(random.Range(0.01f, 0.04f)), 0.0005f, 0.008f);
        const float level = 1.0f - 0.7f * at / std::max(spread, 0.001f);
        SoundSynth::MixInto(out, grain, SoundSynth::Samples(at), level * random.Range(0.5f, 1.0f));
    }
    SoundSynth::BandPass(out, bandHz, bandHz * 0.6f, 0.9f);
    return out;
}

// A bolt striking wood: a sine thump falling from fromHz to toHz under a burst of noise below cutoffHz, each
// dying away at its own time constant.
Buffer WoodKnock(SoundSynth& synth, float seconds, float fromHz, float toHz, float thumpDecay, float cutoffHz,
                 float noiseDecay) {
    Buffer out = Enveloped(SoundSynth::Tone(Wave::Sine, seconds, fromHz, toHz), 0.001f, thumpDecay);
    Buffer wood = synth.Noise(seconds);
    SoundSynth::LowPass(wood, cutoffHz);
    SoundSynth::MixInto(out, Enveloped(wood, 0.0f, noiseDecay), 0, 1.5f);
    return out;
}

// Notes one after another, each ringing on under the next.
Buffer Melody(const std::vector<int>& notes, float step, float ring, Wave wave, float timeConstant) {
    Buffer out;
    for (size_t i = 0; i < notes.size(); ++i) {
        const float length = i + 1 == notes.size() ? ring : step + ring * 0.5f;
        Buffer note = SoundSynth::Tone(wave, length, Hz(notes[i]));
        SoundSynth::Adsr(note, 0.01f, 0.08f, 0.7f, std::min(0.2f, length * 0.5f));
        SoundSynth::Decay(note, 0.0f, timeConstant);
        SoundSynth::MixInto(out, note, SoundSynth::Samples(step * static_cast<float>(i)), 0.6f);
    }
    return out;
}

struct Effect {
    const char* category;
    const char* name;
    float seconds;
    bool ogg;
    bool loops;
    std::function<Buffer(SoundSynth&, AssetRandom&)> make;
};

// The effects in the order the game registers them (the GUI's first). Each is made at its length; the
// recipe then normalises, trims and fades.
std::vector<Effect> Effects() {
    return {
        {"menu", "button_select_0", 0.06f, false, false,
         [](SoundSynth&, AssetRandom&) { return Enveloped(SoundSynth::Tone(Wave::Sine, 0.06f, 880), 0.002f, 0.015f); }},
        {"menu", "button_select_1", 0.06f, false, false,
         [](SoundSynth&, AssetRandom&) { return Enveloped(SoundSynth::Tone(Wave::Sine, 0.06f, 988), 0.002f, 0.015f); }},
        {"menu", "button_click", 0.08f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = Enveloped(SoundSynth::Tone(Wave::Sine, 0.08f, 440, 220), 0.001f, 0.02f);
             SoundSynth::MixInto(out, Enveloped(s.Noise(0.002f), 0.0f, 0.001f), 0, 0.8f);
             return out;
         }},
        {"menu", "edit_box_print", 0.04f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = s.Noise(0.04f);
             SoundSynth::BandPass(out, 3200, 3200, 4.0f);
             return Enveloped(out, 0.0005f, 0.006f);
         }},
        // 330 periods of 660 Hz and two of the 4 Hz swell fill the half second exactly: a seamless loop.
        {"menu", "volume_slider", 0.5f, false, true,
         [](SoundSynth&, AssetRandom&) {
             Buffer out = SoundSynth::Tone(Wave::Triangle, 0.5f, 660);
             SoundSynth::Tremolo(out, 4.0f, 0.3f);
             return out;
         }},
        {"menu", "upgrade", 0.4f, false, false,
         [](SoundSynth&, AssetRandom&) { return Melody({72, 76, 79, 84}, 0.08f, 0.16f, Wave::Triangle, 0.12f); }},
        {"menu", "window_appear", 0.25f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = s.Noise(0.25f);
             SoundSynth::BandPass(out, 400, 4000, 2.0f);
             SoundSynth::Adsr(out, 0.15f, 0.0f, 1.0f, 0.1f);
             SoundSynth::MixInto(out, Enveloped(SoundSynth::Tone(Wave::Sine, 0.13f, 1320), 0.002f, 0.04f),
                                 SoundSynth::Samples(0.12f), 0.5f);
             return out;
         }},
        {"menu", "window_disappear", 0.2f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = s.Noise(0.2f);
             SoundSynth::BandPass(out, 3000, 300, 2.0f);
             SoundSynth::Adsr(out, 0.02f, 0.0f, 1.0f, 0.15f);
             return out;
         }},
        // Six ticks at 20 per second, each over long before the next: the loop restarts on a tick.
        {"menu", "charge_score", 0.3f, false, true,
         [](SoundSynth&, AssetRandom&) {
             Buffer out(SoundSynth::Samples(0.3f), 0.0f);
             for (int i = 0; i < 6; ++i)
                 SoundSynth::MixInto(out, Enveloped(SoundSynth::Tone(Wave::Sine, 0.03f, 1800), 0.0005f, 0.005f),
                                     SoundSynth::Samples(0.05f * static_cast<float>(i)));
             return out;
         }},
        {"game", "level_begin", 1.2f, true, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = Melody({67, 72, 76}, 0.18f, 0.84f, Wave::Saw, 0.5f);
             SoundSynth::LowPass(out, 2500);
             out.resize(SoundSynth::Samples(1.2f), 0.0f);
             SoundSynth::Reverb(out, 0.3f);
             (void)s;
             return out;
         }},
        {"game", "level_complete", 2.0f, true, false,
         [](SoundSynth&, AssetRandom&) {
             Buffer out = Melody({72, 76, 79, 84}, 0.15f, 0.5f, Wave::Triangle, 0.4f);
             Buffer chord;
             for (int note : {60, 64, 67, 72}) {
                 Buffer tone = SoundSynth::Tone(Wave::Triangle, 1.4f, Hz(note));
                 SoundSynth::Adsr(tone, 0.02f, 0.3f, 0.6f, 0.6f);
                 SoundSynth::MixInto(chord, tone, 0, 0.3f);
             }
             SoundSynth::MixInto(out, chord, SoundSynth::Samples(0.6f));
             out.resize(SoundSynth::Samples(2.0f), 0.0f);
             SoundSynth::Reverb(out, 0.3f);
             return out;
         }},
        {"game", "level_failed", 1.8f, true, false,
         [](SoundSynth&, AssetRandom&) {
             Buffer out = Melody({64, 62, 60, 57}, 0.3f, 0.8f, Wave::Saw, 0.5f);
             SoundSynth::LowPass(out, 1200);
             out.resize(SoundSynth::Samples(1.8f), 0.0f);
             SoundSynth::Reverb(out, 0.35f);
             return out;
         }},
        {"game", "hit_hard_brick", 0.15f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = Enveloped(SoundSynth::Tone(Wave::Sine, 0.15f, 180, 120), 0.001f, 0.03f);
             Buffer knock = s.Noise(0.15f);
             SoundSynth::LowPass(knock, 800);
             SoundSynth::MixInto(out, Enveloped(knock, 0.0005f, 0.02f), 0, 1.5f);
             return out;
         }},
        {"game", "hit_unbreakable_brick", 0.2f, false, false,
         [](SoundSynth&, AssetRandom&) { return Enveloped(SoundSynth::Fm(0.2f, 600, 1.4f, 4.0f, 0.1f), 0.001f, 0.06f); }},
        {"game", "crash_simple_brick_0", 0.25f, false, false,
         [](SoundSynth& s, AssetRandom& r) { return Crumble(s, r, 0.25f, 0.12f, 14, 1200); }},
        {"game", "crash_simple_brick_1", 0.25f, false, false,
         [](SoundSynth& s, AssetRandom& r) { return Crumble(s, r, 0.25f, 0.12f, 14, 1500); }},
        {"game", "crash_simple_brick_2", 0.25f, false, false,
         [](SoundSynth& s, AssetRandom& r) { return Crumble(s, r, 0.25f, 0.12f, 14, 1000); }},
        {"game", "crash_hard_brick", 0.35f, false, false,
         [](SoundSynth& s, AssetRandom& r) {
             Buffer out = Crumble(s, r, 0.35f, 0.2f, 22, 700);
             Buffer crack = s.Noise(0.02f);
             SoundSynth::HighPass(crack, 2000);
             SoundSynth::MixInto(out, Enveloped(crack, 0.0f, 0.004f), 0, 1.2f);
             return out;
         }},
        {"game", "crash_unbreakable_brick", 0.5f, false, false,
         [](SoundSynth& s, AssetRandom& r) {
             Buffer out(SoundSynth::Samples(0.5f), 0.0f);
             for (int i = 0; i < 5; ++i) {
                 const float at = 0.08f * r.NextFloat();
                 Buffer partial = SoundSynth::Fm(0.4f, r.Range(700, 2400), r.Range(1.3f, 3.1f), 3.0f, 0.08f);
                 SoundSynth::MixInto(out, Enveloped(partial, 0.001f, 0.07f), SoundSynth::Samples(at), 0.4f);
             }
             Buffer hiss = s.Noise(0.5f);
             SoundSynth::HighPass(hiss, 3000);
             SoundSynth::MixInto(out, Enveloped(hiss, 0.001f, 0.05f), 0, 0.6f);
             return out;
         }},
        {"game", "crash_explosive_brick", 0.8f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = s.Noise(0.8f, true);
             SoundSynth::BandPass(out, 4000, 200, 0.8f, true);
             SoundSynth::Decay(out, 0.003f, 0.18f);
             SoundSynth::MixInto(out, Enveloped(SoundSynth::Tone(Wave::Sine, 0.8f, 80, 40), 0.005f, 0.25f), 0,
                                 1.2f);
             SoundSynth::Shape(out, 1.5f);
             SoundSynth::Reverb(out, 0.25f);
             return out;
         }},
        {"game", "crash_ballkeeper", 0.4f, false, false,
         [](SoundSynth& s, AssetRandom& r) {
             Buffer out = Crumble(s, r, 0.4f, 0.1f, 18, 4500);
             for (int note : {91, 96})
                 SoundSynth::MixInto(out, Enveloped(SoundSynth::Tone(Wave::Sine, 0.3f, Hz(note)), 0.002f, 0.08f),
                                     SoundSynth::Samples(0.08f), 0.3f);
             return out;
         }},
        {"game", "ball_hit_bat", 0.1f, false, false,
         [](SoundSynth&, AssetRandom&) {
             Buffer out = SoundSynth::Tone(Wave::Sine, 0.1f, 220, 440);
             SoundSynth::Tremolo(out, 40.0f, 0.6f);
             return Enveloped(out, 0.002f, 0.035f);
         }},
        {"game", "ball_hit_field_simple", 0.08f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = Enveloped(SoundSynth::Tone(Wave::Sine, 0.08f, 700, 500), 0.001f, 0.015f);
             Buffer knock = s.Noise(0.02f);
             SoundSynth::BandPass(knock, 1500, 1500, 1.5f);
             SoundSynth::MixInto(out, Enveloped(knock, 0.0f, 0.004f), 0, 0.8f);
             return out;
         }},
        {"game", "ball_hit_field_super", 0.12f, false, false,
         [](SoundSynth&, AssetRandom&) { return Enveloped(SoundSynth::Fm(0.12f, 1200, 2.76f, 2.0f, 0.03f), 0.001f, 0.03f); }},
        {"game", "ball_hit_barrier", 0.2f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = SoundSynth::Tone(Wave::Saw, 0.2f, 120);
             SoundSynth::MixInto(out, SoundSynth::Tone(Wave::Pulse, 0.2f, 90, 0.0f, 0.3f), 0, 0.6f);
             SoundSynth::MixInto(out, s.Noise(0.2f), 0, 0.4f);
             SoundSynth::BandPass(out, 2500, 1200, 3.0f);
             SoundSynth::Shape(out, 2.0f);
             return Enveloped(out, 0.002f, 0.06f);
         }},
        {"game", "ball_losed", 0.7f, false, false,
         [](SoundSynth&, AssetRandom&) {
             Buffer out = SoundSynth::Tone(Wave::Sine, 0.7f, 1600, 400);
             SoundSynth::Adsr(out, 0.03f, 0.0f, 1.0f, 0.15f);
             return out;
         }},
        {"game", "bonus_creation", 0.3f, false, false,
         [](SoundSynth&, AssetRandom& r) {
             Buffer out(SoundSynth::Samples(0.3f), 0.0f);
             for (int i = 0; i < 9; ++i) {
                 Buffer ping = SoundSynth::Tone(Wave::Sine, 0.08f, r.Range(2000, 5000));
                 SoundSynth::MixInto(out, Enveloped(ping, 0.001f, 0.02f), SoundSynth::Samples(r.Range(0, 0.2f)),
                                     r.Range(0.3f, 0.6f));
             }
             return out;
         }},
        {"game", "bonus_get", 0.35f, false, false,
         [](SoundSynth&, AssetRandom&) { return Melody({84, 91}, 0.08f, 0.27f, Wave::Triangle, 0.1f); }},
        {"game", "arbalest_shot", 0.15f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = Enveloped(s.Pluck(0.15f, 300, 0.3f), 0.0f, 0.05f);
             SoundSynth::MixInto(out, Enveloped(s.Noise(0.01f), 0.0f, 0.003f), 0, 0.5f);
             return out;
         }},
        {"game", "ballista_shot", 0.25f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = Enveloped(s.Pluck(0.25f, 160, 0.4f), 0.0f, 0.08f);
             Buffer thump = s.Noise(0.04f);
             SoundSynth::LowPass(thump, 500);
             SoundSynth::MixInto(out, Enveloped(thump, 0.0f, 0.01f), 0, 1.5f);
             return out;
         }},
        {"game", "arbalest_hit_field", 0.12f, false, false,
         [](SoundSynth& s, AssetRandom&) { return WoodKnock(s, 0.12f, 180, 100, 0.03f, 700, 0.015f); }},
        {"game", "ballista_hit_field", 0.2f, false, false,
         [](SoundSynth& s, AssetRandom&) { return WoodKnock(s, 0.2f, 140, 70, 0.05f, 500, 0.025f); }},
        {"game", "bat_creation", 0.6f, false, false,
         [](SoundSynth&, AssetRandom&) {
             Buffer out = SoundSynth::Tone(Wave::Saw, 0.6f, 80, 240);
             SoundSynth::LowPass(out, 900);
             SoundSynth::MixInto(out, SoundSynth::Tone(Wave::Sine, 0.6f, 160, 480), 0, 0.5f);
             SoundSynth::Tremolo(out, 12.0f, 0.4f);
             SoundSynth::Adsr(out, 0.05f, 0.0f, 1.0f, 0.1f);
             return out;
         }},
        {"game", "bat_destruction", 0.9f, false, false,
         [](SoundSynth& s, AssetRandom& r) {
             Buffer out = Crumble(s, r, 0.9f, 0.5f, 30, 600);
             for (int i = 0; i < 4; ++i) {
                 Buffer clang = SoundSynth::Fm(0.3f, r.Range(300, 900), r.Range(1.2f, 2.2f), 3.0f, 0.06f);
                 SoundSynth::MixInto(out, Enveloped(clang, 0.001f, 0.06f), SoundSynth::Samples(r.Range(0, 0.5f)),
                                     0.3f);
             }
             SoundSynth::Reverb(out, 0.2f);
             return out;
         }},
        {"game", "hammer", 0.3f, false, false,
         [](SoundSynth& s, AssetRandom&) {
             Buffer out = s.Noise(0.18f);
             SoundSynth::BandPass(out, 300, 1500, 1.5f);
             SoundSynth::Adsr(out, 0.12f, 0.0f, 1.0f, 0.05f);
             Buffer impact = Enveloped(SoundSynth::Tone(Wave::Sine, 0.12f, 120, 60), 0.001f, 0.04f);
             Buffer dull = s.Noise(0.12f);
             SoundSynth::LowPass(dull, 600);
             SoundSynth::MixInto(impact, Enveloped(dull, 0.0f, 0.015f), 0, 1.2f);
             SoundSynth::MixInto(out, impact, SoundSynth::Samples(0.18f), 1.5f);
             return out;
         }},
    };
}

// ---- Music ----------------------------------------------------------------------------------------------

struct Stereo {
    Buffer left, right;
};

// Equal-power panning: -1 is the left side, 1 the right.
void Place(Stereo& mix, const Buffer& mono, float atSeconds, float gain, float pan) {
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1) * 0.25f * 3.14159265f;
    const size_t at = SoundSynth::Samples(atSeconds);
    SoundSynth::MixInto(mix.left, mono, at, gain * std::cos(angle));
    SoundSynth::MixInto(mix.right, mono, at, gain * std::sin(angle));
}

// Makes each distinct note once: a track plays the same few notes hundreds of times.
class NoteCache {
public:
    explicit NoteCache(std::function<Buffer(int)> make) : make(std::move(make)) {}
    const Buffer& operator()(int key) {
        auto found = notes.find(key);
        if (found == notes.end())
            found = notes.emplace(key, make(key)).first;
        return found->second;
    }

private:
    std::function<Buffer(int)> make;
    std::map<int, Buffer> notes;
};

// The drum kit shared by both tracks.
Buffer Kick() {
    Buffer out = SoundSynth::Tone(Wave::Sine, 0.35f, 110, 45);
    SoundSynth::Decay(out, 0.001f, 0.09f);
    return out;
}

Buffer Snare(SoundSynth& synth) {
    Buffer out = synth.Noise(0.25f);
    SoundSynth::BandPass(out, 1800, 1800, 0.7f);
    SoundSynth::MixInto(out, SoundSynth::Tone(Wave::Sine, 0.25f, 190), 0, 0.5f);
    SoundSynth::Decay(out, 0.001f, 0.05f);
    return out;
}

Buffer Hat(SoundSynth& synth) {
    Buffer out = synth.Noise(0.06f);
    SoundSynth::HighPass(out, 6000);
    SoundSynth::Decay(out, 0.0005f, 0.012f);
    return out;
}

// Folds what rings past the loop's end into its head, sets the level by RMS and softens the rare peaks
// above -1 dB, then interleaves to 16 bits.
std::vector<int16_t> MasterLoop(Stereo& mix, size_t length) {
    for (Buffer* channel : {&mix.left, &mix.right}) {
        channel->resize(std::max(channel->size(), length), 0.0f);
        for (size_t i = length; i < channel->size(); ++i)
            (*channel)[i % length] += (*channel)[i];
        channel->resize(length);
    }
    double power = 0;
    for (size_t i = 0; i < length; ++i)
        power += double(mix.left[i]) * mix.left[i] + double(mix.right[i]) * mix.right[i];
    const double rms = std::sqrt(power / double(2 * length));
    const float gain = rms > 0 ? static_cast<float>(std::pow(10.0, musicRmsDb / 20) / rms) : 1.0f;
    const float knee = 0.8f, room = 0.19f;
    std::vector<int16_t> out(2 * length);
    for (size_t i = 0; i < length; ++i) {
        for (int side = 0; side < 2; ++side) {
            float x = gain * (side == 0 ? mix.left[i] : mix.right[i]);
            if (std::fabs(x) > knee)
                x = std::copysign(knee + room * std::tanh((std::fabs(x) - knee) / room), x);
            out[2 * i + side] = static_cast<int16_t>(std::lround(x * 32767));
        }
    }
    return out;
}

// 20 bars at 100 beats a minute, C major: a pad under plucked arpeggios, soft drums from the fifth bar.
std::vector<int16_t> MenuMusic(SoundSynth& synth) {
    const float beat = 0.6f, bar = 4 * beat;
    const int bars = 20;
    const size_t length = SoundSynth::Samples(bar * bars);
    const std::vector<std::vector<int>> chords = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};

    Stereo mix;
    NoteCache pads([&](int chord) {
        // Left and right detuned apart: the pad is wide, the plucks sit inside it.
        Buffer both;
        for (int side = 0; side < 2; ++side) {
            Buffer channel;
            for (int note : chords[size_t(chord)]) {
                const float detune = side == 0 ? 0.997f : 1.003f;
                Buffer voice = SoundSynth::Tone(Wave::Saw, bar + 1.2f, Hz(note - 12) * detune);
                SoundSynth::MixInto(voice, SoundSynth::Tone(Wave::Triangle, bar + 1.2f, Hz(note) / detune), 0, 0.6f);
                SoundSynth::MixInto(channel, voice, 0, 0.3f);
            }
            SoundSynth::LowPass(channel, 900);
            SoundSynth::LowPass(channel, 1400);
            SoundSynth::Adsr(channel, 0.5f, 0.4f, 0.75f, 1.2f);
            both.insert(both.end(), channel.begin(), channel.end());
        }
        return both;
    });
    NoteCache plucks([&](int note) {
        Buffer out = synth.Pluck(1.6f, Hz(note), 0.6f);
        SoundSynth::LowPass(out, 3500);
        SoundSynth::Decay(out, 0.002f, 0.45f);
        return out;
    });
    const Buffer kick = Kick(), hat = Hat(synth);

    static const int arpeggio[] = {0, 1, 2, 3, 2, 1, 2, 1};
    for (int b = 0; b < bars; ++b) {
        const int chord = b % 4;
        const float start = bar * static_cast<float>(b);
        const Buffer& pad = pads(chord);
        const size_t half = pad.size() / 2;
        SoundSynth::MixInto(mix.left, Buffer(pad.begin(), pad.begin() + long(half)), SoundSynth::Samples(start), 0.5f);
        SoundSynth::MixInto(mix.right, Buffer(pad.begin() + long(half), pad.end()), SoundSynth::Samples(start), 0.5f);
        const std::vector<int>& tones = chords[size_t(chord)];
        const int phrase = b / 4;
        for (int step = 0; step < 8; ++step) {
            const int index = arpeggio[(step + phrase) % 8];
            const int note = index == 3 ? tones[0] + 12 : tones[size_t(index)];
            Place(mix, plucks(note + (phrase % 2 == 1 && step % 4 == 3 ? 12 : 0)), start + beat * 0.5f * float(step),
                  step % 2 == 0 ? 0.45f : 0.3f, step % 2 == 0 ? -0.35f : 0.35f);
        }
        if (b >= 4) {
            for (int i = 0; i < 4; i += 2)
                Place(mix, kick, start + beat * float(i), 0.5f, 0.0f);
            for (int i = 0; i < 4; ++i)
                Place(mix, hat, start + beat * (float(i) + 0.5f), 0.12f, 0.25f);
        }
    }
    SoundSynth::Reverb(mix.left, 0.25f);
    SoundSynth::Reverb(mix.right, 0.25f);
    return MasterLoop(mix, length);
}

// 32 bars at 120 beats a minute, A minor: bass line and drums throughout, a lead with echo from the ninth bar.
std::vector<int16_t> GameMusic(SoundSynth& synth) {
    const float beat = 0.5f, eighth = beat / 2, bar = 4 * beat;
    const int bars = 32;
    const size_t length = SoundSynth::Samples(bar * bars);
    const int roots[] = {45, 41, 48, 43}; // A F C G
    static const int bassPattern[] = {0, 0, 12, 0, 0, 7, 12, 0};
    struct Note {
        int step, note, length;
    };
    // One four-bar phrase over the four chords, in eighths.
    static const Note melody[] = {
        {0, 76, 2},  {2, 72, 1},  {3, 74, 1},  {4, 76, 2},  {6, 81, 2},  {8, 72, 2},  {10, 69, 2},
        {12, 72, 1}, {13, 74, 1}, {14, 76, 2}, {16, 79, 3}, {19, 76, 1}, {20, 74, 2}, {22, 72, 2},
        {24, 74, 2}, {26, 67, 2}, {28, 69, 3},
    };

    NoteCache bass([&](int note) {
        Buffer out = SoundSynth::Tone(Wave::Saw, eighth + 0.05f, Hz(note));
        SoundSynth::LowPass(out, 420);
        SoundSynth::MixInto(out, SoundSynth::Tone(Wave::Sine, eighth + 0.05f, Hz(note)), 0, 0.8f);
        SoundSynth::Adsr(out, 0.005f, 0.08f, 0.7f, 0.05f);
        return out;
    });
    NoteCache lead([&](int key) {
        const int note = key % 1000, eighths = key / 1000;
        const float seconds = eighth * float(eighths);
        Buffer out = SoundSynth::Tone(Wave::Pulse, seconds, Hz(note), 0.0f, 0.3f);
        SoundSynth::MixInto(out, SoundSynth::Tone(Wave::Triangle, seconds, Hz(note)), 0, 0.8f);
        SoundSynth::LowPass(out, 2600);
        SoundSynth::Adsr(out, 0.01f, 0.1f, 0.6f, 0.08f);
        return out;
    });
    const Buffer kick = Kick(), snare = Snare(synth), hat = Hat(synth);

    Stereo mix;
    Buffer leadBus;
    for (int b = 0; b < bars; ++b) {
        const float start = bar * float(b);
        const int root = roots[b % 4];
        for (int step = 0; step < 8; ++step)
            Place(mix, bass(root + bassPattern[step]), start + eighth * float(step), 0.55f, 0.0f);
        for (int i = 0; i < 4; ++i) {
            Place(mix, i % 2 == 0 ? kick : snare, start + beat * float(i), i % 2 == 0 ? 0.6f : 0.35f,
                  i % 2 == 0 ? 0.0f : 0.1f);
            Place(mix, hat, start + beat * float(i) + eighth, 0.15f, -0.3f);
        }
        if (b % 4 == 3)
            Place(mix, kick, start + beat * 3 + eighth, 0.45f, 0.0f);
    }
    for (int cycle = 2; cycle < bars / 4; ++cycle) {
        const int lift = cycle >= 6 ? 12 : 0;
        for (const Note& n : melody)
            SoundSynth::MixInto(leadBus, lead(n.length * 1000 + n.note + lift),
                                SoundSynth::Samples(bar * 4 * float(cycle) + eighth * float(n.step)),
                                lift > 0 ? 0.22f : 0.3f);
    }
    leadBus.resize(length + SoundSynth::Samples(2.0f), 0.0f);
    SoundSynth::Echo(leadBus, 3 * eighth, 0.35f, 0.4f);
    Place(mix, leadBus, 0.0f, 1.0f, 0.2f);
    return MasterLoop(mix, length);
}

} // namespace

void SoundsRecipe::Run(const RecipeContext& context) const {
    const bool minimal = context.profile == Profile::Minimal;
    for (const Effect& effect : Effects()) {
        const std::string name = std::string("audio\\") + effect.category + "\\" + effect.name;
        const std::string file = name + (effect.ogg ? ".ogg" : ".wav");
        AssetRandom random(file, Version());
        SoundSynth synth(AssetRandom(file + "#noise", Version()));
        // A placeholder for tests that need every name but no sound: a hundredth of a second of the tone.
        const float seconds = minimal ? minimalSeconds : effect.seconds;
        Buffer samples = minimal ? SoundSynth::Tone(Wave::Sine, seconds, 440) : effect.make(synth, random);
        if (samples.empty())
            throw GenError(file + ": the recipe made no samples");
        Finish(samples, seconds, effect.loops || minimal);
        SoundSynth::NormalisePeak(samples, effectPeakDb);
        const std::vector<int16_t> pcm = SoundSynth::ToPcm16(samples);
        if (effect.ogg)
            context.out->Write(file, VbFormats::OggWriter(1, SoundSynth::sampleRate, jingleQuality, Serial(file)).Encode(pcm));
        else
            context.out->Write(file, VbFormats::WavWriter(1, SoundSynth::sampleRate, 16).Build(VbFormats::WavWriter::Bytes(pcm)));
    }

    struct Track {
        const char* file;
        std::vector<int16_t> (*make)(SoundSynth&);
    };
    const Track tracks[] = {{"audio\\music\\menu.ogg", &MenuMusic}, {"audio\\music\\game0.ogg", &GameMusic}};
    for (const Track& track : tracks) {
        SoundSynth synth(AssetRandom(track.file, Version()));
        std::vector<int16_t> pcm;
        if (minimal) {
            const std::vector<int16_t> mono = SoundSynth::ToPcm16(SoundSynth::Tone(Wave::Sine, minimalSeconds, 440));
            for (int16_t sample : mono)
                pcm.insert(pcm.end(), {sample, sample});
        } else {
            pcm = track.make(synth);
        }
        context.out->Write(track.file,
                           VbFormats::OggWriter(2, SoundSynth::sampleRate, musicQuality, Serial(track.file)).Encode(pcm));
    }
}

} // namespace VbGen
