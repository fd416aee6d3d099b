// ctest-label: audio
// The sound service on the platform's sound device, without audio output: the test renders the mixer
// itself, in step with a fake clock that drives the stream timers.
#include "engine/sound/SoundSystem_DS7.h"
#include "engine/core/Error.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundBufferManager.h"
#include "engine/sound/SoundBuffer_DS7.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundManager.h"
#include "platform/sound/AudioBuffer.h"
#include "platform/sound/AudioDevice.h"
#include "platform/sound/AudioTestHooks.h"
#include "platform/sound/Mixer.h"
#include "platform/win/Time.h"
#include "tests/support/TestLog.h"
#include "tools/formats/OggWriter.h"
#include "tools/formats/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

using namespace OrvexEngine;
using platform::AudioCall;
using platform::AudioTestHooks;
using VbFormats::OggWriter;
using VbFormats::WavWriter;

namespace {

std::string M(const std::string& text) {
    return text + "\n";
}
std::string E(const std::string& text) {
    return "\nError: " + text + "!\n\n";
}

std::vector<int16_t> Samples(size_t count, int seed) {
    std::vector<int16_t> samples(count);
    uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 1;
    for (size_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        samples[i] = static_cast<int16_t>(state >> 16);
    }
    return samples;
}

std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples) {
    return WavWriter::Bytes(samples);
}

class SoundDS7 : public testing::Test {
protected:
    void SetUp() override {
        AudioTestHooks::Reset();
        AudioTestHooks::SetNullOutput(true);
        platform::InstallFakeClock(5000);
        base =
            VelmoraTest::TempDir() + "/ds7-" + testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(base + "/data/audio");
        timers = new TimerManager();
        TimerManager::Instance(timers);
        files = new FileManager(base, false, "data", 0);
        FileManager::Instance(files);
        window = new Window("Sound", 0, 0, 320, 240, false, true, Vec2i());
        Window::Instance(window);
        log.Manager().ClearEntries();
    }
    void TearDown() override {
        delete manager;
        delete system;
        delete window;
        delete files;
        delete timers;
        platform::RemoveFakeClock();
        AudioTestHooks::Reset();
    }

    void Start(bool use3D = false) {
        system = new SoundSystem_DS7(use3D);
        SoundSystem::Instance(system);
        manager = new SoundManager();
        SoundManager::Instance(manager);
    }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        WavWriter::WriteFile(base + "/data/audio/" + name, bytes);
    }

    // Stereo frames from the device's mixer.
    std::vector<int16_t> Render(uint32_t frames) {
        std::vector<int16_t> out(frames * 2u);
        AudioTestHooks::CurrentDevice()->GetMixer().Render(out.data(), frames);
        return out;
    }

    // One frame of the game: the device plays 20 ms, the clock moves on, the engine updates sound.
    std::vector<int16_t> Frame() {
        std::vector<int16_t> out = Render(441);
        platform::AdvanceFakeClockMilliseconds(20);
        system->Refresh();
        manager->Update(true);
        return out;
    }

    static SoundBuffer_DS7* Ds(Sound* sound) { return static_cast<SoundBuffer_DS7*>(sound->GetBuffer()); }

    VelmoraTest::TestLog log;
    std::string base;
    TimerManager* timers = nullptr;
    FileManager* files = nullptr;
    Window* window = nullptr;
    SoundSystem_DS7* system = nullptr;
    SoundManager* manager = nullptr;
};

} // namespace

TEST_F(SoundDS7, SetUpLogsEveryStepAndTheReleaseUndoesItInOrder) {
    for (bool use3D : {false, true}) {
        SCOPED_TRACE(use3D);
        log.Manager().ClearEntries();
        Start(use3D);
        std::vector<std::string> expected = {M("\nInitialization of DirectSound Subsystem:"),
                                             M("...Creating a device..."), M("...Set cooperative level..."),
                                             M("...Create primary buffer..."),
                                             M("...Set primary buffer format...")};
        if (use3D)
            expected.push_back(M("...Get the 3D listener from the primary buffer..."));
        expected.push_back(M(""));
        EXPECT_EQ(log.Texts(), expected);
        EXPECT_EQ(system->GetPrimaryBuffer()->GetFlags(), use3D ? 0x91u : 0x81u);
        EXPECT_EQ(system->GetListener() != nullptr, use3D);
        EXPECT_EQ(system->Is3D(), use3D);
        EXPECT_EQ(AudioTestHooks::CurrentDevice()->GetMixer().GetOutputRate(), 22050u);
        EXPECT_EQ(system->GetListenerFront().z, -1.0f);
        system->SetListenerPosition(Vec3(1, 2, 3)); // without a listener only stored
        EXPECT_EQ(system->GetListenerPosition().y, 2.0f);

        log.Manager().ClearEntries();
        delete manager;
        delete system;
        manager = nullptr;
        system = nullptr;
        expected = {M("DirectSound system destroying:")};
        if (use3D)
            expected.push_back(M("...Releasing 3D listener..."));
        expected.push_back(M("...Releasing primary buffer..."));
        expected.push_back(M("...Releasing device..."));
        EXPECT_EQ(log.Texts(), expected);
        EXPECT_EQ(AudioTestHooks::CurrentDevice(), nullptr);
        EXPECT_EQ(SoundSystem::Instance(), nullptr);
    }
}

TEST_F(SoundDS7, AFailingStepIsLoggedReleasesWhatExistsAndThrows) {
    struct Case {
        AudioCall call;
        const char* text;
        std::vector<std::string> released;
    };
    const Case cases[] = {
        {AudioCall::CreateDevice, "Failed to create a device", {}},
        {AudioCall::SetCooperativeLevel, "Failed to set cooperative level", {"...Releasing device..."}},
        {AudioCall::CreatePrimaryBuffer, "Failed to create primary buffer", {"...Releasing device..."}},
        {AudioCall::SetFormat,
         "Failed to set primary buffer format",
         {"...Releasing primary buffer...", "...Releasing device..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        log.Manager().ClearEntries();
        AudioTestHooks::InjectResult(c.call, platform::AudioErrGeneric);
        try {
            SoundSystem_DS7 failing(true);
            ADD_FAILURE() << "no throw";
        } catch (const Error& error) {
            EXPECT_EQ(error.GetText(), "");
        }
        std::vector<std::string> texts = log.Texts();
        auto failed = std::find(texts.begin(), texts.end(), E(c.text));
        ASSERT_NE(failed, texts.end());
        std::vector<std::string> after(failed + 1, texts.end());
        std::vector<std::string> expected = {M("DirectSound system destroying:")};
        for (const std::string& line : c.released)
            expected.push_back(M(line));
        EXPECT_EQ(after, expected);
        EXPECT_EQ(AudioTestHooks::CurrentDevice(), nullptr); // every reference given back
        EXPECT_EQ(SoundSystem::Instance(), nullptr);
    }
    // Without a listener, set-up goes on without 3D.
    log.Manager().ClearEntries();
    AudioTestHooks::InjectResult(AudioCall::QueryListener, platform::AudioErrNoInterface);
    Start(true);
    EXPECT_FALSE(system->Is3D());
    EXPECT_EQ(system->GetListener(), nullptr);
    EXPECT_TRUE(log.Contains(E("Failed to get the 3D listener from the primary buffer")));
    EXPECT_EQ(log.Texts().back(), M(""));
}

TEST_F(SoundDS7, CheckResultNamesEveryCode) {
    Start();
    struct Case {
        uint32_t code;
        std::string text;
    };
    const Case cases[] = {
        {0x80070005, "The request failed because access was denied."},
        {0x8878000A, "The request failed because resources, such as a priority level, were already in use by "
                     "another caller."},
        {0x88780082, "The object is already initialized."},
        {0x88780064, "The specified wave format is not supported."},
        {0x88780096, "The buffer memory has been lost and must be restored."},
        {0x8878001E, "The buffer control (volume, pan, and so on) requested by the caller is not available."},
        {0x80004005, "An undetermined error occurred inside the DirectSound subsystem."},
        {0x88780032, "This function is not valid for the current state of this object."},
        {0x80070057, "An invalid parameter was passed to the returning function."},
        {0x80040110, "The object does not support aggregation."},
        {0x88780078, "No sound driver is available for use."},
        {0x80004002, "The requested COM interface is not available."},
        {0x887800A0,
         "Another application has a higher priority level, preventing this call from succeeding."},
        {0x8007000E,
         "The DirectSound subsystem could not allocate sufficient memory to complete the caller's "
         "request."},
        {0x88780046, "The caller does not have the priority level required for the function to succeed."},
        {0x887800AA,
         "The IDirectSound::Initialize method has not been called or has not been called successfully "
         "before other methods were called."},
        {0x80004001, "The function called is not supported at this time."},
        {0x0087000A, "Unknown error (Code: 8847370)"},
        {0x80000001, "Unknown error (Code: -2147483647)"},
    };
    for (const Case& c : cases) {
        log.Manager().ClearEntries();
        system->CheckResult("SoundBuffer_DS7::Play", static_cast<int32_t>(c.code));
        EXPECT_EQ(log.Texts(),
                  std::vector<std::string>{E("DirectSound Subsystem (SoundBuffer_DS7::Play): " + c.text)});
    }
    log.Manager().ClearEntries();
    system->CheckResult("SoundBuffer_DS7::Play", 0);
    EXPECT_EQ(log.Manager().GetEntryCount(), 0u);
}

TEST(SoundSystem_DS7, VolumeToAttenuationInHundredthsOfADecibel) {
    const std::pair<float, int> cases[] = {
        {1.0f, 0},        {0.5f, -693},       {0.315f, -1155}, {0.285f, -1255}, {0.1f, -2302},
        {0.0001f, -9210}, {0.00009f, -10000}, {0.0f, -10000},  {-1.0f, -10000}, {1.5f, 405}};
    for (auto [volume, expected] : cases)
        EXPECT_EQ(SoundSystem_DS7::VolumeToAttenuation(volume), expected) << volume;
}

TEST(SoundBuffer_DS7, SegmentsInWindowListWhatPlaybackHasLeftBehind) {
    struct Case {
        uint64_t start, end;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {0, 0x5000, {}},
        {0x7000, 0x13000, {1, 2}},
        {0x6000, 0x13000, {0, 1, 2}},    // segment 0 touches the window
        {0, 0x6000, {}},                 // an end on a boundary keeps both neighbours
        {0x88000, 0x97000, {22, 23, 0}}, // across the end of the ring, in play order
        {0x10F000, 0x11B000, {21, 22}},  // within the second turn
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> segments = {99};
        SoundBuffer_DS7::SegmentsInWindow(c.start, c.end, segments);
        EXPECT_EQ(segments, c.expected) << std::hex << c.start << ".." << c.end;
    }
}

TEST_F(SoundDS7, BuffersGetTheControlsTheirDataNeeds) {
    Start(true);
    Write("mono.wav", WavWriter(1, 22050, 16).Build(Bytes(Samples(100, 1))));
    Write("stereo.wav", WavWriter(2, 22050, 16).Build(Bytes(Samples(100, 2))));
    Write("long.wav", WavWriter(1, 22050, 16).Build(Bytes(Samples(0x48001, 3))));
    struct Case {
        const char* name;
        uint32_t flags, size;
        bool has3D;
    };
    const Case cases[] = {{"audio\\mono.wav", 0xB2, 200, true},
                          {"audio\\stereo.wav", 0xA2, 200, false},
                          {"audio\\long.wav", 0xB0, 0x90000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sound* sound = manager->CreateSound(c.name, true);
        manager->Play(sound, true);
        platform::AudioBuffer* buffer = Ds(sound)->GetPlatformBuffer();
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->GetFlags(), c.flags);
        EXPECT_EQ(buffer->GetSize(), c.size);
        EXPECT_EQ(Ds(sound)->Get3DBuffer() != nullptr, c.has3D);
    }
    // A duplicate gets no 3D buffer of its own, and shares the source's memory.
    Sound* again = manager->CreateSound("audio\\MONO.wav", true);
    EXPECT_EQ(Ds(again)->Get3DBuffer(), nullptr);
    again->SetPosition(Vec3(5, 0, 0)); // nothing to place: no error
    EXPECT_FALSE(log.Contains("Error"));
}

TEST_F(SoundDS7, FailuresToMakeBuffersLeaveASilentSound) {
    Start(true);
    Write("mono.wav", WavWriter(1, 22050, 16).Build(Bytes(Samples(100, 1))));
    AudioTestHooks::SetBufferLimit(0);
    Sound* sound = manager->CreateSound("audio\\mono.wav", true);
    EXPECT_TRUE(log.Contains(E("Sound System: DirectSound buffers overflow")));
    EXPECT_EQ(Ds(sound)->GetPlatformBuffer(), nullptr);
    manager->Play(sound, true);
    manager->Update(true);
    EXPECT_EQ(sound->GetState(), SoundStopped);

    // A duplicate of a source without a buffer reads its own file once buffers are available again.
    AudioTestHooks::SetBufferLimit(100);
    Sound* twin = manager->CreateSound("audio\\mono.wav", true);
    ASSERT_NE(Ds(twin)->GetPlatformBuffer(), nullptr);
    manager->Play(twin, true);
    EXPECT_EQ(Render(2),
              (std::vector<int16_t>{Samples(2, 1)[0], Samples(2, 1)[0], Samples(2, 1)[1], Samples(2, 1)[1]}));

    log.Manager().ClearEntries();
    AudioTestHooks::InjectResult(AudioCall::Query3DBuffer, platform::AudioErrNoInterface);
    Sound* flat = manager->CreateSound("audio\\MONO.WAV", false);
    manager->Play(flat, true);
    EXPECT_TRUE(log.Contains(E("Sound System: Failed to get the 3D buffer from the secondary buffer")));
    EXPECT_EQ(flat->GetState(), SoundPlaying);
}

TEST_F(SoundDS7, PlayPauseAndStopMoveTheSoundThroughItsStates) {
    Start();
    const std::vector<int16_t> data = Samples(8, 4);
    Write("s.wav", WavWriter(1, 22050, 16).Build(Bytes(data)));
    auto left = [&](uint32_t frames) {
        std::vector<int16_t> out = Render(frames), result;
        for (uint32_t i = 0; i < frames; ++i)
            result.push_back(out[2 * i]);
        return result;
    };
    auto part = [&](size_t from, size_t to) {
        return std::vector<int16_t>(data.begin() + from, data.begin() + to);
    };

    Sound* sound = manager->CreateSound("audio\\s.wav", false);
    EXPECT_EQ(Ds(sound)->GetPlatformBuffer(), nullptr); // not resident: no buffer until played
    EXPECT_EQ(sound->GetState(), SoundStopped);
    manager->Play(sound, true);
    EXPECT_EQ(left(3), part(0, 3));
    sound->Pause();
    EXPECT_EQ(sound->GetState(), SoundPaused);
    EXPECT_EQ(left(1), std::vector<int16_t>{0});
    sound->Play(); // resumes
    EXPECT_EQ(left(2), part(3, 5));
    sound->Play(); // restarts
    EXPECT_EQ(sound->GetState(), SoundPlaying);
    EXPECT_EQ(left(2), part(0, 2));
    sound->Stop();
    EXPECT_EQ(Ds(sound)->GetPlatformBuffer(), nullptr); // given back at stop
    EXPECT_EQ(AudioTestHooks::LiveBufferCount(), 0u);
    sound->Pause(); // paused at the start
    EXPECT_EQ(sound->GetState(), SoundPaused);
    sound->Play();
    EXPECT_EQ(left(8), part(0, 8));             // to the end: the buffer stops by itself
    EXPECT_EQ(sound->GetState(), SoundPlaying); // until the next update notices
    manager->Update(true);
    EXPECT_EQ(sound->GetState(), SoundStopped);

    // Looping changes on a playing static sound without a restart.
    manager->Play(sound, true);
    EXPECT_EQ(left(6), part(0, 6));
    sound->SetLooping(true);
    EXPECT_EQ(left(4), (std::vector<int16_t>{data[6], data[7], data[0], data[1]}));
    manager->Update(true);
    EXPECT_EQ(sound->GetState(), SoundPlaying);
}

TEST_F(SoundDS7, VolumeAndTempoReachThePlatformBufferEvenWhenMadeBeforeIt) {
    Start();
    Write("t.wav", WavWriter(1, 22050, 16).Build(Bytes(std::vector<int16_t>(400, 10000))));
    Sound* sound = manager->CreateSound("audio\\t.wav", false);
    sound->SetVolume(0.5f);
    sound->SetTempo(1.5f);
    manager->Play(sound, true);
    platform::AudioBuffer* buffer = Ds(sound)->GetPlatformBuffer();
    int32_t volume = 0;
    uint32_t frequency = 0;
    buffer->GetVolume(&volume);
    buffer->GetFrequency(&frequency);
    EXPECT_EQ(volume, -693);
    EXPECT_EQ(frequency, 33075u);
    sound->SetVolume(2.0f); // louder than the data: refused by the device and logged
    EXPECT_TRUE(log.Contains(E("DirectSound Subsystem (SoundBuffer_DS7::SetVolume): An invalid parameter was "
                               "passed to the returning function.")));
    buffer->GetVolume(&volume);
    EXPECT_EQ(volume, -693);
}

TEST_F(SoundDS7, LostBuffersComeBackFilledAndStreamsInTheirFormerState) {
    Start();
    const std::vector<int16_t> data = Samples(64, 5);
    Write("s.wav", WavWriter(1, 22050, 16).Build(Bytes(data)));
    Write("p.wav", WavWriter(1, 22050, 16).Build(Bytes(data)));
    Write("long.wav", WavWriter(1, 22050, 16).Build(Bytes(Samples(0x48100, 6))));
    auto left = [&](uint32_t frames) {
        std::vector<int16_t> out = Render(frames), result;
        for (uint32_t i = 0; i < frames; ++i)
            result.push_back(out[2 * i]);
        return result;
    };
    // A playing resident sound: the loss stopped it, and its buffer is made and filled anew.
    Sound* resident = manager->CreateSound("audio\\s.wav", true);
    resident->SetLooping(true);
    manager->Play(resident, true);
    Render(10);
    // A paused one that is not resident keeps its restored buffer, which must be filled again.
    Sound* kept = manager->CreateSound("audio\\p.wav", false);
    manager->Play(kept, true);
    manager->Pause(kept, true);
    AudioTestHooks::LoseBuffers(true);
    manager->Update(true);
    system->Refresh();
    EXPECT_EQ(resident->GetState(), SoundStopped);
    EXPECT_EQ(kept->GetState(), SoundPaused);
    manager->Play(resident, true);
    EXPECT_EQ(left(64), data);
    manager->Stop(resident, true);
    manager->Play(kept, true);
    EXPECT_EQ(left(64), data);
    uint32_t status = 9;
    system->GetPrimaryBuffer()->GetStatus(&status);
    EXPECT_EQ(status, 0u); // the refresh restored it

    Sound* paused = manager->CreateSound("audio\\long.wav", false);
    Sound* playing = manager->CreateSound("audio\\long.wav", false);
    manager->Play(paused, true);
    manager->Play(playing, true);
    manager->Pause(paused, true);
    AudioTestHooks::SetRestoreFails(true);
    AudioTestHooks::LoseBuffers(false);
    manager->Update(true);
    EXPECT_EQ(paused->GetState(), SoundPaused); // nothing else happens while the restore fails
    EXPECT_EQ(playing->GetState(), SoundPlaying);
    AudioTestHooks::SetRestoreFails(false);
    manager->Update(true);
    EXPECT_EQ(paused->GetState(), SoundPaused);
    EXPECT_EQ(playing->GetState(), SoundPlaying);
    EXPECT_TRUE(Ds(playing)->IsPlaying());
    EXPECT_FALSE(Ds(paused)->IsPlaying());
    EXPECT_NE(Ds(paused)->GetPlatformBuffer(), nullptr); // ready to resume
}

TEST_F(SoundDS7, TheStreamTimerStaysWithinOneRing) {
    Start();
    // 22050 Hz 16-bit stereo: 88200 bytes a second.
    Write("long.wav", WavWriter(2, 22050, 16).Build(Bytes(Samples(0x60000, 7))));
    Sound* sound = manager->CreateSound("audio\\long.wav", false);
    sound->SetLooping(true);
    manager->Play(sound, true);
    platform::AdvanceFakeClockMilliseconds(7000); // 617400 bytes: 27576 into the second ring
    manager->Update(true);
    EXPECT_NEAR(Ds(sound)->GetStreamTimer()->GetTime(), 27576.0 / 88200.0, 0.0011);
    EXPECT_EQ(Ds(sound)->GetPlayedTotal(), 27576u);
}

TEST_F(SoundDS7, ANonLoopingStreamEndsOneSegmentAfterItsData) {
    Start();
    // 1,000,000 bytes of 8-bit mono at 20000 Hz: 20 bytes a millisecond.
    Write("end.wav", WavWriter(1, 20000, 8).Build(std::vector<uint8_t>(1000000, 100)));
    Sound* sound = manager->CreateSound("audio\\end.wav", false);
    manager->Play(sound, true);
    uint64_t last = 0;
    while (!Ds(sound)->IsFinished()) {
        last = Ds(sound)->GetPlayedTotal();
        platform::AdvanceFakeClockMilliseconds(100);
        manager->Update(true);
        ASSERT_LT(Ds(sound)->GetPlayedTotal(), 2000000u);
    }
    EXPECT_LE(last, 1024576u);
    EXPECT_GT(Ds(sound)->GetPlayedTotal(), 1024576u);
    EXPECT_EQ(sound->GetState(), SoundPlaying); // noticed at the next update
    manager->Update(true);
    EXPECT_EQ(sound->GetState(), SoundStopped);
    EXPECT_EQ(Ds(sound)->GetPlatformBuffer(), nullptr);

    // Looping, the same stream never ends.
    sound->SetLooping(true);
    manager->Play(sound, true);
    for (int i = 0; i < 600; ++i) {
        platform::AdvanceFakeClockMilliseconds(100);
        manager->Update(true);
    }
    EXPECT_EQ(sound->GetState(), SoundPlaying);
    EXPECT_GT(Ds(sound)->GetPlayedTotal(), 1100000u);
}

TEST_F(SoundDS7, StreamsComeOutSampleForSampleAsTheFileDecodes) {
    Start();
    // Longer than two rings: 0x130000 bytes of 16-bit stereo is 311296 frames, about 14 s.
    const std::vector<int16_t> tone = [] {
        std::vector<int16_t> samples;
        for (int i = 0; i < 311296; ++i) {
            samples.push_back(static_cast<int16_t>(7000 * std::sin(i * 2 * M_PI * 523.25 / 22050)));
            samples.push_back(static_cast<int16_t>(5000 * std::sin(i * 2 * M_PI * 659.25 / 22050)));
        }
        return samples;
    }();
    const std::vector<uint8_t> ogg = OggWriter(2, 22050, 0.4f).Encode(tone);
    WavWriter::WriteFile(base + "/data/audio/music.ogg", ogg);
    // What the decoder makes of the file is the reference.
    std::vector<int16_t> decoded;
    {
        SoundFileReaderOGG reader(
            "memory",
            new FileBinary("memory", false, 0, static_cast<uint32_t>(ogg.size()), ogg.data(), false));
        decoded.resize(reader.GetDataSize() / 2);
        uint32_t count = 0;
        bool ended = false;
        reader.Read(decoded.data(), reader.GetDataSize(), count, ended);
        ASSERT_EQ(count, reader.GetDataSize());
    }
    const std::vector<int16_t> wav = Samples(0x48000 + 0x2345 * 2, 8); // a looping WAV stream, mono
    Write("loop.wav", WavWriter(1, 22050, 16).Build(Bytes(wav)));

    struct Case {
        const char* name;
        bool loop;
        std::vector<int16_t> expected; // stereo frames
        size_t frames;
        uint32_t skippedRings; // after 2 s: the byte count then crosses 2^32 within the next 9 s
    };
    std::vector<int16_t> looped;
    for (int turn = 0; turn < 3; ++turn)
        for (int16_t sample : wav) {
            looped.push_back(sample);
            looped.push_back(sample);
        }
    std::vector<int16_t> once = decoded;
    once.resize(decoded.size() + 2 * 22050, 0); // then a second of silence
    const Case cases[] = {{"audio\\music.ogg", false, once, once.size() / 2, 0},
                          {"audio\\loop.wav", true, looped, looped.size() / 2, 7281}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sound* sound = manager->CreateSound(c.name, false);
        ASSERT_TRUE(sound->GetBuffer()->IsStreamed());
        sound->SetLooping(c.loop);
        manager->Play(sound, false);
        manager->Update(true);
        std::vector<int16_t> out;
        while (out.size() < c.frames * 2) {
            if (out.size() == 100 * 441 * 2)
                Ds(sound)->AddPlayedRingsForTests(c.skippedRings);
            std::vector<int16_t> frame = Frame();
            out.insert(out.end(), frame.begin(), frame.end());
        }
        out.resize(c.frames * 2);
        size_t firstDifference = 0;
        while (firstDifference < out.size() && out[firstDifference] == c.expected[firstDifference])
            ++firstDifference;
        EXPECT_EQ(firstDifference, out.size()) << "first differing sample";
        EXPECT_EQ(sound->GetState(), c.loop ? SoundPlaying : SoundStopped);
        if (c.skippedRings > 0) {
            EXPECT_GT(Ds(sound)->GetPlayedTotal(), 0x100000000ull);
        }
        manager->DeleteSound(sound);
    }
}

TEST_F(SoundDS7, AStreamResumesAfterAPauseAndStartsOverWhenPlayedAgain) {
    Start();
    const std::vector<int16_t> data = Samples(0x48000 + 4000, 9); // mono 16-bit: just over one ring
    Write("stream.wav", WavWriter(1, 22050, 16).Build(Bytes(data)));
    Sound* sound = manager->CreateSound("audio\\stream.wav", false);
    ASSERT_TRUE(sound->GetBuffer()->IsStreamed());
    auto left = [](const std::vector<int16_t>& stereo) {
        std::vector<int16_t> mono;
        for (size_t i = 0; i < stereo.size(); i += 2)
            mono.push_back(stereo[i]);
        return mono;
    };
    auto at = [&](size_t from) {
        return std::vector<int16_t>(data.begin() + static_cast<std::ptrdiff_t>(from),
                                    data.begin() + static_cast<std::ptrdiff_t>(from + 441));
    };
    manager->Play(sound, true);
    for (int i = 0; i < 50; ++i)
        Frame();
    manager->Pause(sound, false);
    EXPECT_EQ(left(Frame()), at(50 * 441)); // the request runs at the end of this frame
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(left(Frame()), std::vector<int16_t>(441, 0));
    manager->Play(sound, false);
    Frame();                                // silent: the play request runs at its end
    EXPECT_EQ(left(Frame()), at(51 * 441)); // resumed where it paused
    sound->Play();                          // playing: starts over from the file's start
    EXPECT_EQ(left(Frame()), at(0));
    EXPECT_EQ(left(Frame()), at(441));
}
