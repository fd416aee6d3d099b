// ctest-label: data
// The game's sounds in the laid-out data: every file the game registers is packed and decodes through the
// engine's readers in the format and at the level the game expects, the looping ones without a click where
// they wrap; and the menu music, played through the whole engine on a device whose mixer the test renders
// frame by frame, comes out at its level and repeats seamlessly at its loop point.
#include "engine/core/Engine.h"
#include "engine/files/FileManager.h"
#include "engine/gui/GUISoundManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "framework/MusicTrack.h"
#include "game/shell/GameSounds.h"
#include "platform/sound/AudioDevice.h"
#include "platform/sound/AudioTestHooks.h"
#include "platform/sound/Mixer.h"
#include "platform/win/Process.h"
#include "platform/win/Time.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t streamedAbove = 0x90000; // decoded sizes beyond one stream ring are streamed

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

struct Decoded {
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t bits = 0;
    std::vector<int16_t> samples; // interleaved
};

// Decodes a whole file through the reader the game would pick for its extension.
Decoded Decode(const std::string& name) {
    std::unique_ptr<SoundFileReader> reader;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0)
        reader = std::make_unique<SoundFileReaderWAV>(name);
    else
        reader = std::make_unique<SoundFileReaderOGG>(name);
    Decoded out;
    out.channels = reader->GetChannels();
    out.rate = reader->GetSampleRate();
    out.bits = reader->GetBitsPerSample();
    if (out.bits != 16)
        return out;
    out.samples.resize(reader->GetDataSize() / 2);
    reader->Open();
    size_t done = 0;
    bool ended = false;
    while (!ended && done < out.samples.size()) {
        uint32_t count = 0;
        reader->Read(out.samples.data() + done, static_cast<uint32_t>((out.samples.size() - done) * 2), count,
                     ended);
        if (count == 0)
            break;
        done += count / 2;
    }
    reader->Close();
    out.samples.resize(done);
    return out;
}

double Db(double linear) {
    return 20 * std::log10(std::max(linear, 1e-9) / 32768.0);
}

double PeakDb(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t sample : samples)
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return Db(peak);
}

double RmsDb(const std::vector<int16_t>& samples, size_t from = 0, size_t to = SIZE_MAX) {
    to = std::min(to, samples.size());
    double power = 0;
    for (size_t i = from; i < to; ++i)
        power += static_cast<double>(samples[i]) * samples[i];
    return Db(std::sqrt(power / static_cast<double>(std::max<size_t>(1, to - from))));
}

// The largest step between neighbouring frames of one channel over [from, to) in frames.
int LargestStep(const std::vector<int16_t>& samples, uint32_t channels, size_t from, size_t to) {
    int largest = 0;
    for (size_t frame = std::max<size_t>(from, 1); frame < to; ++frame)
        for (uint32_t c = 0; c < channels; ++c)
            largest = std::max(largest, std::abs(samples[frame * channels + c] - samples[(frame - 1) * channels + c]));
    return largest;
}

// The step from the last frame back to the first, as a looping sound plays it.
int WrapStep(const std::vector<int16_t>& samples, uint32_t channels) {
    int step = 0;
    for (uint32_t c = 0; c < channels; ++c)
        step = std::max(step, std::abs(samples[c] - samples[samples.size() - channels + c]));
    return step;
}

EngineStartupParams Params() {
    EngineStartupParams params;
    params.title = "Sounds";
    params.version = 100;
    params.baseDirectory = BinDir().string();
    params.usePacks = true;
    params.dataDirectory = "data";
    params.maxMemoryFileSize = 16u << 20;
    params.configDirectory = VelmoraTest::TempDir();
    return params;
}

// The engine over the laid-out data, its sound device without an audio output: the test renders the mixer
// itself, in step with the fake clock the stream's timer runs on.
class GameSoundsData : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::AudioTestHooks::Reset();
        platform::AudioTestHooks::SetNullOutput(true);
        engine = std::make_unique<Engine>(Params());
    }
    void TearDown() override {
        engine.reset();
        platform::AudioTestHooks::Reset();
        platform::RemoveFakeClock();
    }

    VelmoraTest::TestLog log;
    std::unique_ptr<Engine> engine;
};

} // namespace

TEST_F(GameSoundsData, EveryRegisteredSoundIsPackedAndDecodesAtItsLevel) {
    ASSERT_NE(SoundManager::Instance(), nullptr);
    std::set<std::string> files, loops, music;
    {
        GUISoundManager gui;
        GameFramework::AudioPlayer player(0.5f, 0.5f);
        VelmoraBall::RegisterGameSounds(gui, player);
        for (const GUISoundEntry* entry : gui.GetEntries())
            files.insert(entry->sound->GetFileName());
        for (const GameFramework::MusicTrack* track : player.GetTracks()) {
            files.insert(track->GetSound()->GetFileName());
            music.insert(track->GetSound()->GetFileName());
            loops.insert(track->GetSound()->GetFileName());
        }
        for (const GameFramework::SoundVoice* voice : player.GetVoices()) {
            files.insert(voice->fileName);
            if (voice->loop)
                loops.insert(voice->fileName);
        }
    }
    EXPECT_FALSE(log.Contains("Error")) << "registering the game's sounds logged an error";
    ASSERT_EQ(files.size(), 37u);
    ASSERT_EQ(music.size(), 2u);
    EXPECT_EQ(loops.size(), 4u); // both tracks, the volume slider's tone and the score counter

    int wav = 0, ogg = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(FileManager::Instance()->FindInPacks("data\\" + file)) << "not packed";
        (file.substr(file.size() - 4) == ".wav" ? wav : ogg)++;
        const Decoded sound = Decode(file);
        const bool isMusic = music.count(file) != 0;
        EXPECT_EQ(sound.rate, 22050u);
        EXPECT_EQ(sound.bits, 16u);
        EXPECT_EQ(sound.channels, isMusic ? 2u : 1u);
        ASSERT_GT(sound.samples.size(), 0u);
        if (isMusic) {
            // Long enough to stream, at its level, and its wrap no larger a step than the music makes.
            EXPECT_GT(sound.samples.size() * 2, streamedAbove);
            EXPECT_NEAR(RmsDb(sound.samples), -18.0, 1.5);
            EXPECT_LT(PeakDb(sound.samples), -0.1);
        } else {
            // Lossy coding moves an Ogg jingle's peak a little.
            EXPECT_NEAR(PeakDb(sound.samples), -3.0, file.find(".ogg") != std::string::npos ? 0.6 : 0.05);
            EXPECT_LE(sound.samples.size() * 2, streamedAbove) << "an effect is held whole";
        }
        if (loops.count(file) != 0) {
            const size_t frames = sound.samples.size() / sound.channels;
            const size_t window = std::min<size_t>(frames, 2205);
            EXPECT_LE(WrapStep(sound.samples, sound.channels),
                      std::max(LargestStep(sound.samples, sound.channels, 0, window),
                               LargestStep(sound.samples, sound.channels, frames - window, frames)))
                << "a click where the loop wraps";
        }
    }
    EXPECT_GT(wav, 0);
    EXPECT_GT(ogg, 2); // the music and at least one effect: the game reads both formats
}

TEST_F(GameSoundsData, MenuMusicPlaysAtItsLevelAndRepeatsAtItsLoopPoint) {
    const std::string file = "audio\\music\\menu.ogg";
    const Decoded reference = Decode(file);
    ASSERT_EQ(reference.channels, 2u);
    const size_t loopFrames = reference.samples.size() / 2;
    ASSERT_GT(loopFrames, 30u * 22050);

    platform::AudioDevice* device = platform::AudioTestHooks::CurrentDevice();
    ASSERT_NE(device, nullptr);
    platform::Mixer& mixer = device->GetMixer();
    {
        std::unique_lock<std::mutex> lock = mixer.Lock();
        ASSERT_EQ(mixer.GetOutputRate(), 22050u);
        ASSERT_EQ(mixer.GetOutputChannels(), 2u);
    }
    Sound* sound = SoundManager::Instance()->CreateSound(file, false);
    sound->SetLooping(true);
    SoundManager::Instance()->Play(sound, false);

    // 20 ms frames: the clock, then what the device played in that time, then the engine's frame, which
    // refills the stream behind the play position. A pass and five seconds more.
    const uint32_t frameMs = 20, frameSamples = 22050 * frameMs / 1000;
    std::vector<int16_t> captured;
    captured.reserve((loopFrames + 6 * 22050) * 2);
    std::vector<int16_t> block(frameSamples * 2);
    engine->BeginFrame();
    engine->Tick(0);
    while (captured.size() < (loopFrames + 5 * 22050) * 2) {
        platform::AdvanceFakeClockMilliseconds(frameMs);
        mixer.Render(block.data(), frameSamples);
        captured.insert(captured.end(), block.begin(), block.end());
        engine->BeginFrame();
        engine->Tick(0);
    }
    EXPECT_EQ(sound->GetState(), SoundPlaying);
    EXPECT_FALSE(log.Contains("Error")) << "playing the music logged an error";

    size_t start = 0;
    while (start < captured.size() / 2 && captured[2 * start] == 0 && captured[2 * start + 1] == 0)
        ++start;
    ASSERT_LT(start, size_t{22050}) << "the music did not start";

    // Its level over the first pass.
    EXPECT_NEAR(RmsDb(captured, 2 * start, 2 * (start + loopFrames)), -18.0, 1.5);

    // The loop point, found in what was played: where a second in repeats best within four seconds
    // either side of the file's length. A gap, a lost or a repeated segment at the wrap moves it.
    const size_t probe = start + 22050, probeFrames = 512;
    size_t bestLag = 0;
    double bestError = -1;
    for (size_t lag = loopFrames - 4 * 22050; lag <= loopFrames + 2 * 22050; ++lag) {
        double error = 0;
        for (size_t k = 0; k < probeFrames && (bestError < 0 || error < bestError); ++k) {
            const double d = captured[2 * (probe + k)] - captured[2 * (probe + lag + k)];
            error += d * d;
        }
        if (bestError < 0 || error < bestError) {
            bestError = error;
            bestLag = lag;
        }
    }
    EXPECT_EQ(bestLag, loopFrames);

    // Across the seam the device played the file's end, then its start, sample for sample; and the step
    // at the seam is no larger than the steps the music makes around it.
    const size_t seam = start + loopFrames, half = 4096;
    int worst = 0;
    for (size_t frame = seam - half; frame < seam + half; ++frame) {
        const size_t source = frame < seam ? frame - start : frame - seam;
        for (size_t c = 0; c < 2; ++c)
            worst = std::max(worst, std::abs(captured[2 * frame + c] - reference.samples[2 * source + c]));
    }
    EXPECT_LE(worst, 2) << "the device did not play the file's end and start around the seam";
    int seamStep = 0;
    for (size_t c = 0; c < 2; ++c)
        seamStep = std::max(seamStep, std::abs(captured[2 * seam + c] - captured[2 * (seam - 1) + c]));
    EXPECT_LE(seamStep, std::max(LargestStep(captured, 2, seam - 2205, seam),
                                 LargestStep(captured, 2, seam + 1, seam + 2205)))
        << "a click at the loop point";
}
