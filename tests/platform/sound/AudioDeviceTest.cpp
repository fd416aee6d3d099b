// ctest-label: audio
#include "platform/sound/AudioDevice.h"
#include "platform/sound/AudioBuffer.h"
#include "platform/sound/AudioTestHooks.h"
#include "platform/sound/Mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace platform;

namespace {

WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
    WaveFormat format;
    format.channels = channels;
    format.samplesPerSecond = rate;
    format.bitsPerSample = bits;
    format.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    format.averageBytesPerSecond = rate * format.blockAlign;
    return format;
}

// A device without audio output, at the priority level, whose mixer the test renders.
class NullDevice : public testing::Test {
protected:
    void SetUp() override {
        AudioTestHooks::Reset();
        AudioTestHooks::SetNullOutput(true);
        ASSERT_EQ(AudioDevice::Create(&device, nullptr), AudioOk);
        ASSERT_EQ(device->SetCooperativeLevel(1, AudioLevelPriority), AudioOk);
    }
    void TearDown() override {
        for (AudioBuffer* buffer : buffers)
            buffer->Release();
        device->Release();
        AudioTestHooks::Reset();
    }

    AudioBuffer* Make(const WaveFormat& format, const std::vector<uint8_t>& content,
                      uint32_t flags = AudioCapsVolume | AudioCapsFrequency) {
        AudioBufferDesc desc;
        desc.flags = flags;
        desc.bufferBytes = static_cast<uint32_t>(content.size());
        desc.format = &format;
        AudioBuffer* buffer = nullptr;
        EXPECT_EQ(device->CreateSoundBuffer(desc, &buffer, nullptr), AudioOk);
        if (buffer == nullptr)
            return nullptr;
        Write(buffer, 0, content);
        buffers.push_back(buffer);
        return buffer;
    }

    static void Write(AudioBuffer* buffer, uint32_t offset, const std::vector<uint8_t>& bytes) {
        void* p1 = nullptr;
        void* p2 = nullptr;
        uint32_t n1 = 0, n2 = 0;
        ASSERT_EQ(buffer->Lock(offset, static_cast<uint32_t>(bytes.size()), &p1, &n1, &p2, &n2, 0), AudioOk);
        std::memcpy(p1, bytes.data(), n1);
        if (p2 != nullptr)
            std::memcpy(p2, bytes.data() + n1, n2);
        ASSERT_EQ(buffer->Unlock(p1, n1, p2, n2), AudioOk);
    }

    // Renders stereo frames and returns the left channel.
    std::vector<int16_t> RenderLeft(uint32_t frames) {
        std::vector<int16_t> out(frames * 2u);
        device->GetMixer().Render(out.data(), frames);
        std::vector<int16_t> left(frames);
        for (uint32_t i = 0; i < frames; ++i)
            left[i] = out[2 * i];
        return left;
    }

    AudioDevice* device = nullptr;
    std::vector<AudioBuffer*> buffers;
};

std::vector<uint8_t> Samples16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

std::vector<int16_t> Ramp(int count, int step) {
    std::vector<int16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(static_cast<int16_t>(i * step));
    return samples;
}

} // namespace

TEST_F(NullDevice, VolumeIsAttenuationInHundredthsOfADecibel) {
    struct Case {
        int32_t volume;
        int16_t expected; // of a constant 10000
    };
    const Case cases[] = {{0, 10000}, {-600, 5012}, {-2000, 1000}, {-4000, 100}, {-6000, 10}, {-10000, 0}};
    AudioBuffer* buffer = Make(Pcm(1, 22050, 16), Samples16(std::vector<int16_t>(64, 10000)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        ASSERT_EQ(buffer->SetVolume(c.volume), AudioOk);
        ASSERT_EQ(buffer->SetCurrentPosition(0), AudioOk);
        ASSERT_EQ(buffer->Play(0, 0, AudioPlayLooping), AudioOk);
        std::vector<int16_t> out(8);
        device->GetMixer().Render(out.data(), 4);
        for (int16_t sample : out)
            EXPECT_EQ(sample, c.expected); // mono reaches both channels at the same level
    }
    // Amplification does not exist: a positive volume is refused and the old one stays.
    EXPECT_EQ(buffer->SetVolume(1), AudioErrInvalidParam);
    EXPECT_EQ(buffer->SetVolume(-10001), AudioErrInvalidParam);
    int32_t volume = 1;
    ASSERT_EQ(buffer->GetVolume(&volume), AudioOk);
    EXPECT_EQ(volume, -10000);
}

TEST_F(NullDevice, SampleFormatsReachTheOutputUnchangedAtFullVolume) {
    // 8-bit data is unsigned around 128; stereo keeps its sides apart.
    AudioBuffer* eight = Make(Pcm(1, 22050, 8), {0xC0, 0x40, 0x80, 0xFF});
    ASSERT_EQ(eight->Play(0, 0, 0), AudioOk);
    std::vector<int16_t> out(8);
    device->GetMixer().Render(out.data(), 4);
    EXPECT_EQ(out, (std::vector<int16_t>{16384, 16384, -16384, -16384, 0, 0, 32512, 32512}));

    AudioBuffer* stereo = Make(Pcm(2, 22050, 16), Samples16({1000, -2000, 3000, -4000}));
    ASSERT_EQ(stereo->Play(0, 0, 0), AudioOk);
    device->GetMixer().Render(out.data(), 4);
    EXPECT_EQ(out, (std::vector<int16_t>{1000, -2000, 3000, -4000, 0, 0, 0, 0}));
}

TEST_F(NullDevice, FrequencyResamplesToTheOutputRate) {
    struct Case {
        uint32_t frequency;
        std::vector<int16_t> expected;
    };
    const Case cases[] = {
        {44100, {0, 20, 40, 60, 80}}, // twice as fast: every other frame
        {11025, {0, 5, 10, 15, 20}},  // half as fast: halfway frames interpolated
        {0, {0, 10, 20, 30, 40}},     // 0 returns to the format's rate
        {22050, {0, 10, 20, 30, 40}},
    };
    AudioBuffer* buffer = Make(Pcm(1, 22050, 16), Samples16(Ramp(100, 10)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequency);
        ASSERT_EQ(buffer->SetFrequency(c.frequency), AudioOk);
        ASSERT_EQ(buffer->SetCurrentPosition(0), AudioOk);
        ASSERT_EQ(buffer->Play(0, 0, 0), AudioOk);
        EXPECT_EQ(RenderLeft(5), c.expected);
        ASSERT_EQ(buffer->Stop(), AudioOk);
    }
    uint32_t frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), AudioOk);
    EXPECT_EQ(frequency, 22050u);
    EXPECT_EQ(buffer->SetFrequency(99), AudioErrInvalidParam);
    EXPECT_EQ(buffer->SetFrequency(100001), AudioErrInvalidParam);
}

TEST_F(NullDevice, LoopingWrapsAndAOneShotStopsAtItsEndBackAtTheStart) {
    const std::vector<uint8_t> four = Samples16({100, 200, 300, 400});
    AudioBuffer* looping = Make(Pcm(1, 22050, 16), four);
    ASSERT_EQ(looping->Play(0, 0, AudioPlayLooping), AudioOk);
    EXPECT_EQ(RenderLeft(10), (std::vector<int16_t>{100, 200, 300, 400, 100, 200, 300, 400, 100, 200}));
    uint32_t status = 0;
    ASSERT_EQ(looping->GetStatus(&status), AudioOk);
    EXPECT_EQ(status, AudioStatusPlaying | AudioStatusLooping);
    ASSERT_EQ(looping->Stop(), AudioOk);

    AudioBuffer* once = Make(Pcm(1, 22050, 16), four);
    ASSERT_EQ(once->SetCurrentPosition(4), AudioOk); // bytes: the third frame
    ASSERT_EQ(once->Play(0, 0, 0), AudioOk);
    EXPECT_EQ(RenderLeft(4), (std::vector<int16_t>{300, 400, 0, 0}));
    ASSERT_EQ(once->GetStatus(&status), AudioOk);
    EXPECT_EQ(status, 0u);
    uint32_t play = 99, write = 99;
    ASSERT_EQ(once->GetCurrentPosition(&play, &write), AudioOk);
    EXPECT_EQ(play, 0u);
    // So a second play starts over.
    ASSERT_EQ(once->Play(0, 0, 0), AudioOk);
    EXPECT_EQ(RenderLeft(2), (std::vector<int16_t>{100, 200}));
}

TEST_F(NullDevice, PlayOnAPlayingBufferOnlyChangesLoopingAndStopKeepsThePosition) {
    AudioBuffer* buffer = Make(Pcm(1, 22050, 16), Samples16({1, 2, 3, 4}));
    ASSERT_EQ(buffer->Play(0, 0, 0), AudioOk);
    EXPECT_EQ(RenderLeft(2), (std::vector<int16_t>{1, 2}));
    ASSERT_EQ(buffer->Play(0, 0, AudioPlayLooping), AudioOk); // no restart
    EXPECT_EQ(RenderLeft(3), (std::vector<int16_t>{3, 4, 1}));
    ASSERT_EQ(buffer->Stop(), AudioOk);
    EXPECT_EQ(RenderLeft(1), (std::vector<int16_t>{0}));
    uint32_t play = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), AudioOk);
    EXPECT_EQ(play, 2u);
    ASSERT_EQ(buffer->Play(0, 0, 0), AudioOk);
    EXPECT_EQ(RenderLeft(4), (std::vector<int16_t>{2, 3, 4, 0}));
}

TEST_F(NullDevice, DuplicatesShareSamplesButNotTheirPlayState) {
    AudioBuffer* source = Make(Pcm(1, 22050, 16), Samples16({10, 20, 30, 40}));
    ASSERT_EQ(source->SetVolume(-2000), AudioOk);
    AudioBuffer* duplicate = nullptr;
    ASSERT_EQ(device->DuplicateSoundBuffer(source, &duplicate), AudioOk);
    int32_t volume = 0;
    ASSERT_EQ(duplicate->GetVolume(&volume), AudioOk);
    EXPECT_EQ(volume, -2000);
    ASSERT_EQ(duplicate->SetVolume(0), AudioOk);
    // What is written through the source is heard through the duplicate.
    Write(source, 0, Samples16({1000, 2000}));
    ASSERT_EQ(source->Play(0, 0, 0), AudioOk);
    RenderLeft(1);
    uint32_t status = 0;
    ASSERT_EQ(duplicate->GetStatus(&status), AudioOk);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(source->Stop(), AudioOk);
    // The duplicate outlives its source.
    source->Release();
    buffers.erase(buffers.begin());
    ASSERT_EQ(duplicate->Play(0, 0, 0), AudioOk);
    EXPECT_EQ(RenderLeft(5), (std::vector<int16_t>{1000, 2000, 30, 40, 0}));
    duplicate->Release();
}

TEST_F(NullDevice, LockWrapsPastTheEndIntoASecondPart) {
    AudioBuffer* buffer = Make(Pcm(1, 22050, 8), std::vector<uint8_t>(16, 0x80));
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(12, 8, &p1, &n1, &p2, &n2, 0), AudioOk);
    ASSERT_EQ(n1, 4u);
    ASSERT_EQ(n2, 4u);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(buffer->Lock(0, 4, &p1, &n1, &p2, &n2, 0), AudioErrInvalidCall); // one lock at a time
    std::memset(p1, 1, n1);
    std::memset(p2, 2, n2);
    ASSERT_EQ(buffer->Unlock(p1, n1, p2, n2), AudioOk);
    EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), AudioErrInvalidCall);

    ASSERT_EQ(buffer->Lock(0, 16, &p1, &n1, &p2, &n2, 0), AudioOk);
    ASSERT_EQ(n1, 16u);
    EXPECT_EQ(n2, 0u);
    EXPECT_EQ(p2, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(p1);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 16),
              (std::vector<uint8_t>{2, 2, 2, 2, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 1, 1, 1, 1}));
    ASSERT_EQ(buffer->Unlock(p1, 0, nullptr, 0), AudioOk); // nothing written back

    for (auto [offset, bytesWanted] : {std::pair{16u, 1u}, {0u, 17u}, {0u, 0u}})
        EXPECT_EQ(buffer->Lock(offset, bytesWanted, &p1, &n1, &p2, &n2, 0), AudioErrInvalidParam);
}

TEST_F(NullDevice, ReportsTheErrorCodesCallersTest) {
    const WaveFormat mono = Pcm(1, 22050, 16);
    AudioBuffer* plain = Make(mono, std::vector<uint8_t>(64), 0); // no controls
    AudioBuffer* volumeOnly = Make(mono, std::vector<uint8_t>(64), AudioCapsVolume);

    AudioBufferDesc primaryDesc;
    primaryDesc.flags = AudioCapsPrimary | AudioCapsVolume;
    AudioBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(primaryDesc, &primary, nullptr), AudioOk);
    buffers.push_back(primary);

    auto create = [&](WaveFormat format, uint32_t flags, uint32_t bytes) {
        AudioBufferDesc desc;
        desc.flags = flags;
        desc.bufferBytes = bytes;
        desc.format = &format;
        AudioBuffer* made = nullptr;
        const AudioResult result = device->CreateSoundBuffer(desc, &made, nullptr);
        if (made != nullptr)
            made->Release();
        return result;
    };
    WaveFormat floatTag = mono;
    floatTag.formatTag = 3;
    WaveFormat badAlign = mono;
    badAlign.blockAlign = 4;
    AudioBuffer* duplicate = nullptr;
    const WaveFormat stereo = Pcm(2, 22050, 16);
    struct Case {
        const char* what;
        AudioResult got;
        AudioResult expected;
    };
    const Case cases[] = {
        {"float format", create(floatTag, 0, 64), AudioErrBadFormat},
        {"24 bits", create(Pcm(1, 22050, 24), 0, 64), AudioErrBadFormat},
        {"4 channels", create(Pcm(4, 22050, 16), 0, 64), AudioErrBadFormat},
        {"0 channels", create(Pcm(0, 22050, 16), 0, 64), AudioErrBadFormat},
        {"0 Hz", create(Pcm(1, 0, 16), 0, 64), AudioErrBadFormat},
        {"inconsistent alignment", create(badAlign, 0, 64), AudioErrBadFormat},
        {"too small", create(mono, 0, 2), AudioErrInvalidParam},
        {"3D stereo", create(stereo, AudioCaps3D, 64), AudioErrInvalidParam},
        {"no out-pointer", AudioDevice::Create(nullptr, nullptr), AudioErrInvalidParam},
        {"no window", device->SetCooperativeLevel(0, AudioLevelPriority), AudioErrInvalidParam},
        {"format of a secondary", plain->SetFormat(&mono), AudioErrInvalidCall},
        {"bad primary format", primary->SetFormat(&floatTag), AudioErrBadFormat},
        {"volume without control", plain->SetVolume(-100), AudioErrControlUnavailable},
        {"frequency without control", volumeOnly->SetFrequency(11025), AudioErrControlUnavailable},
        {"pan without control", plain->SetPan(100), AudioErrControlUnavailable},
        {"no 3D out-pointer", plain->Query3DBuffer(nullptr), AudioErrInvalidParam},
        {"no listener out-pointer", primary->QueryListener(nullptr), AudioErrInvalidParam},
        {"duplicate of null", device->DuplicateSoundBuffer(nullptr, &duplicate), AudioErrInvalidParam},
        {"duplicate of the primary", device->DuplicateSoundBuffer(primary, &duplicate), AudioErrInvalidCall},
        {"position of the primary", primary->SetCurrentPosition(0), AudioErrInvalidCall},
        {"position past the end", plain->SetCurrentPosition(64), AudioErrInvalidParam},
        {"play with reserved", plain->Play(1, 0, 0), AudioErrInvalidParam},
        {"normal level", device->SetCooperativeLevel(1, AudioLevelNormal), AudioOk},
        {"format without priority", primary->SetFormat(&stereo), AudioErrPriorityNeeded},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
    AudioBuffer3D* buffer3D = nullptr;
    EXPECT_EQ(plain->Query3DBuffer(&buffer3D), AudioErrNoInterface);
    AudioListener* listener = nullptr;
    EXPECT_EQ(primary->QueryListener(&listener), AudioErrNoInterface);
    AudioDevice* second = nullptr;
    int outer = 0;
    EXPECT_EQ(AudioDevice::Create(&second, &outer), AudioErrNoAggregation);
    EXPECT_EQ(AudioDevice::Create(&second, nullptr), AudioErrAllocated); // one device at a time

    AudioTestHooks::SetBufferLimit(AudioTestHooks::LiveBufferCount());
    EXPECT_EQ(create(mono, 0, 64), AudioErrOutOfMemory);
    EXPECT_EQ(device->DuplicateSoundBuffer(plain, &duplicate), AudioErrOutOfMemory);
}

TEST_F(NullDevice, InjectedResultsReplaceOrFollowTheCall) {
    AudioBuffer* buffer = Make(Pcm(1, 22050, 16), Samples16({5, 6}));
    // A failure skips the work, for as many calls as asked.
    AudioTestHooks::InjectResult(AudioCall::Play, AudioErrNoDriver, 2);
    EXPECT_EQ(buffer->Play(0, 0, 0), AudioErrNoDriver);
    EXPECT_EQ(buffer->Play(0, 0, 0), AudioErrNoDriver);
    uint32_t status = 1;
    ASSERT_EQ(buffer->GetStatus(&status), AudioOk);
    EXPECT_EQ(status, 0u);
    // A success code other than 0 is returned after the work is done.
    AudioTestHooks::InjectResult(AudioCall::Play, static_cast<AudioResult>(0x0087000A));
    EXPECT_EQ(buffer->Play(0, 0, 0), 0x0087000A);
    ASSERT_EQ(buffer->GetStatus(&status), AudioOk);
    EXPECT_EQ(status, AudioStatusPlaying);
    EXPECT_EQ(buffer->Play(0, 0, 0), AudioOk);
}

TEST_F(NullDevice, LostBuffersRefuseToPlayUntilRestoredAndComeBackSilent) {
    AudioBuffer* buffer = Make(Pcm(1, 22050, 16), Samples16({700, 700, 700, 700}));
    AudioBufferDesc primaryDesc;
    primaryDesc.flags = AudioCapsPrimary;
    AudioBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(primaryDesc, &primary, nullptr), AudioOk);
    buffers.push_back(primary);
    ASSERT_EQ(buffer->Play(0, 0, AudioPlayLooping), AudioOk);

    AudioTestHooks::LoseBuffers(true);
    uint32_t status = 0;
    for (AudioBuffer* b : {buffer, primary}) {
        ASSERT_EQ(b->GetStatus(&status), AudioOk);
        EXPECT_EQ(status, AudioStatusLost); // exactly, playing bits cleared
    }
    EXPECT_EQ(RenderLeft(2), (std::vector<int16_t>{0, 0}));
    EXPECT_EQ(buffer->Play(0, 0, 0), AudioErrBufferLost);
    void* p1 = nullptr;
    uint32_t n1 = 0;
    EXPECT_EQ(buffer->Lock(0, 2, &p1, &n1, nullptr, nullptr, 0), AudioErrBufferLost);

    AudioTestHooks::SetRestoreFails(true);
    EXPECT_EQ(buffer->Restore(), AudioErrBufferLost);
    AudioTestHooks::SetRestoreFails(false);
    ASSERT_EQ(buffer->Restore(), AudioOk);
    ASSERT_EQ(primary->Restore(), AudioOk);
    ASSERT_EQ(primary->GetStatus(&status), AudioOk);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(buffer->Play(0, 0, 0), AudioOk);
    EXPECT_EQ(RenderLeft(2), (std::vector<int16_t>{0, 0})); // the content must be written again
}

TEST_F(NullDevice, ThreeDSettingsWaitForTheCommitAndPlaceTheSource) {
    AudioBufferDesc primaryDesc;
    primaryDesc.flags = AudioCapsPrimary | AudioCaps3D | AudioCapsVolume;
    AudioBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(primaryDesc, &primary, nullptr), AudioOk);
    buffers.push_back(primary);
    AudioListener* listener = nullptr;
    ASSERT_EQ(primary->QueryListener(&listener), AudioOk);
    AudioBuffer* source =
        Make(Pcm(1, 22050, 16), Samples16(std::vector<int16_t>(16, 8000)), AudioCapsVolume | AudioCaps3D);
    AudioBuffer3D* position = nullptr;
    ASSERT_EQ(source->Query3DBuffer(&position), AudioOk);
    ASSERT_EQ(source->Play(0, 0, AudioPlayLooping), AudioOk);

    // Four units to the listener's right (+x with the default orientation): a quarter, right side only.
    ASSERT_EQ(position->SetPosition(4, 0, 0, Audio3DDeferred), AudioOk);
    std::vector<int16_t> out(2);
    device->GetMixer().Render(out.data(), 1);
    EXPECT_EQ(out, (std::vector<int16_t>{8000, 8000}));
    ASSERT_EQ(listener->CommitDeferredSettings(), AudioOk);
    device->GetMixer().Render(out.data(), 1);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 2000}));
    // Turning the listener around puts the source on the other side.
    ASSERT_EQ(listener->SetOrientation(0, 0, -1, 0, 1, 0, Audio3DImmediate), AudioOk);
    device->GetMixer().Render(out.data(), 1);
    EXPECT_EQ(out, (std::vector<int16_t>{2000, 0}));
    position->Release();
    listener->Release();
}

TEST_F(NullDevice, PanAttenuatesTheOtherSide) {
    AudioBuffer* buffer =
        Make(Pcm(1, 22050, 16), Samples16(std::vector<int16_t>(8, 10000)), AudioCapsVolume | AudioCapsPan);
    ASSERT_EQ(buffer->SetPan(-2000), AudioOk);
    ASSERT_EQ(buffer->Play(0, 0, AudioPlayLooping), AudioOk);
    std::vector<int16_t> out(2);
    device->GetMixer().Render(out.data(), 1);
    EXPECT_EQ(out, (std::vector<int16_t>{10000, 1000}));
    EXPECT_EQ(buffer->SetPan(10001), AudioErrInvalidParam);
}

TEST(AudioDeviceOutput, OpensTheSdlDeviceOrFailsWithoutADriver) {
    AudioTestHooks::Reset();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = saved != nullptr ? saved : "";

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    AudioDevice* device = nullptr;
    ASSERT_EQ(AudioDevice::Create(&device, nullptr), AudioOk);
    ASSERT_EQ(device->SetCooperativeLevel(1, AudioLevelPriority), AudioOk);
    AudioBufferDesc desc;
    desc.flags = AudioCapsPrimary;
    AudioBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(desc, &primary, nullptr), AudioOk);
    const WaveFormat format = Pcm(2, 44100, 16); // reopens the output at the new rate
    EXPECT_EQ(primary->SetFormat(&format), AudioOk);
    EXPECT_EQ(device->GetMixer().GetOutputRate(), 44100u);
    primary->Release();
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(AudioTestHooks::CurrentDevice(), nullptr);

    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(AudioDevice::Create(&device, nullptr), AudioErrNoDriver);
    EXPECT_EQ(device, nullptr);
    EXPECT_FALSE(AudioDevice::GetLastError().empty());

    if (saved != nullptr)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}
