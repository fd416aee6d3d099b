// ctest-label: audio
// The whole path: the Engine starts the sound services, a game's sound is played by request, and what the
// audio driver received is measured; without a driver the game starts silent.
#include "engine/core/Engine.h"
#include "engine/core/MessageManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem.h"
#include "tests/support/TestLog.h"
#include "tools/formats/OggWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

using namespace OrvexEngine;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name(name) {
        if (const char* old = std::getenv(name)) {
            saved = old;
            had = true;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had)
            setenv(name, saved.c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    std::string saved;
    bool had = false;
};

EngineStartupParams Params(const std::string& base) {
    EngineStartupParams params;
    params.title = "Sound";
    params.version = 100;
    params.baseDirectory = base;
    params.usePacks = false;
    params.dataDirectory = "data";
    params.configDirectory = base;
    return params;
}

bool LogHas(const std::string& text) {
    MessageManager* log = MessageManager::Instance();
    for (uint32_t i = 0; i < log->GetEntryCount(); ++i)
        if (log->GetEntry(i)->text.find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(EngineSound, WithoutADeviceTheGameStartsSilent) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    Engine engine(Params(VelmoraTest::TempDir() + "/silent"));
    EXPECT_TRUE(LogHas("Error: Failed to create a device!"));
    EXPECT_TRUE(LogHas("DirectSound system destroying:"));
    EXPECT_EQ(SoundSystem::Instance(), nullptr);
    EXPECT_EQ(SoundManager::Instance(), nullptr);
    engine.BeginFrame();
    engine.Tick(0); // the frame skips both sound steps
}

TEST(EngineSound, AnOggToneReachesTheDriverAtItsPitchAndLevel) {
    const std::string base = VelmoraTest::TempDir() + "/tone";
    const std::string capture = base + "/captured.raw";
    // One second of 1 kHz at half of full scale, mono 22050 Hz.
    std::vector<int16_t> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int16_t>(16384 * std::sin(2 * M_PI * 1000.0 * static_cast<double>(i) / 22050));
    VbFormats::OggWriter(1, 22050, 0.6f).Save(base + "/data/audio/tone.ogg", tone);

    {
        ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        ScopedEnv file("SDL_DISKAUDIOFILE", capture);
        Engine engine(Params(base));
        SoundManager* sounds = SoundManager::Instance();
        ASSERT_NE(sounds, nullptr);
        Sound* sound = sounds->CreateSound("audio\\tone.ogg", false);
        sound->SetVolume(0.5f);
        sounds->Play(sound, false);
        // Frames until the tone has played to its end (a loaded machine may take longer than the tone's
        // second), then a little more so the silence after it is captured.
        const auto start = std::chrono::steady_clock::now();
        auto stopped = start;
        while (std::chrono::steady_clock::now() - stopped < std::chrono::milliseconds(400) &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
            engine.BeginFrame();
            engine.Tick(10);
            if (sound->GetState() != SoundStopped)
                stopped = std::chrono::steady_clock::now();
        }
        EXPECT_EQ(sound->GetState(), SoundStopped); // played to its end
    }

    std::ifstream in(capture, std::ios::binary | std::ios::ate);
    const auto bytes = static_cast<size_t>(in.tellg());
    std::vector<int16_t> stereo(bytes / 2);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(stereo.data()), static_cast<std::streamsize>(stereo.size() * 2));
    ASSERT_GT(stereo.size(), 2u * 22050);

    size_t first = 0;
    while (first < stereo.size() && stereo[first] == 0)
        ++first;
    first -= first % 2;
    // The middle of the tone, away from its edges: 0.8 s.
    const size_t from = first + 2 * 2205, to = from + 2 * 17640;
    ASSERT_LE(to, stereo.size());
    int crossings = 0;
    double power = 0;
    for (size_t i = from; i < to; i += 2) {
        EXPECT_EQ(stereo[i], stereo[i + 1]); // mono on both sides
        power += static_cast<double>(stereo[i]) * stereo[i];
        if (i > from && (stereo[i - 2] < 0) != (stereo[i] < 0))
            ++crossings;
    }
    const double seconds = 17640.0 / 22050;
    const double hertz = crossings / 2.0 / seconds;
    const double rms = std::sqrt(power / 17640);
    EXPECT_NEAR(hertz, 1000.0, 20.0);
    const double expected = 16384 * std::pow(10.0, -693 / 2000.0) / std::sqrt(2.0); // volume 0.5 is -693
    EXPECT_NEAR(rms, expected, expected * 0.1);
    // And silence once it ended.
    const size_t tail = first + 2 * 22050 + 2 * 2205;
    for (size_t i = tail; i < stereo.size(); ++i)
        ASSERT_EQ(stereo[i], 0) << "sound after the end at " << i;
}
