// The mixer's cost per output block: 1024 frames of 22050 Hz stereo (46 ms of sound) with the given number
// of voices playing, half of them resampled from another rate, as the audio thread renders it.
#include "platform/sound/Mixer.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void MixVoices(benchmark::State& state) {
    platform::Mixer mixer(22050, 2);
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) {
        auto voice = std::make_shared<platform::MixerVoice>();
        const bool stereo = i % 2 == 0;
        voice->channels = stereo ? 2 : 1;
        voice->bitsPerSample = 16;
        voice->blockAlign = stereo ? 4 : 2;
        voice->frequency = i % 4 < 2 ? 22050 : 44100;
        voice->samples = std::make_shared<std::vector<uint8_t>>(0x90000);
        for (size_t b = 0; b < voice->samples->size(); ++b)
            (*voice->samples)[b] = static_cast<uint8_t>(b * 31 + i);
        voice->playing = true;
        voice->looping = true;
        voice->volumeGain = 0.5f;
        auto lock = mixer.Lock();
        mixer.AddVoice(voice);
    }
    std::vector<int16_t> out(2048);
    for (auto _ : state) {
        mixer.Render(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 1024 * count);
}

} // namespace

BENCHMARK(MixVoices)->Arg(1)->Arg(8)->Arg(32);
BENCHMARK_MAIN();
