// ctest-label: audio
// The platform-neutral half of the sound service, on a recording sound system: the manager's ids and
// request queue, buffer sharing, reader choice and the stream ring's filling.
#include "engine/core/Error.h"
#include "engine/files/FileManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundBufferManager.h"
#include "engine/sound/SoundFileReader.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem.h"
#include "tests/support/TestLog.h"
#include "tools/formats/WavWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

using namespace OrvexEngine;
using VbFormats::WavWriter;

namespace {

std::vector<std::string> calls; // what the fakes were asked, in order

// A platform buffer in memory: the ring (or the static data) as written.
class FakeBuffer final : public SoundBuffer {
public:
    FakeBuffer(const std::string& name, uint8_t* scratchBlock, bool resident)
        : SoundBuffer(name, scratchBlock, resident) {
        Reload(nullptr);
    }
    FakeBuffer(const FakeBuffer& source, uint8_t* scratchBlock) : SoundBuffer(source, scratchBlock) {
        duplicate = true;
        Reload(const_cast<FakeBuffer*>(&source));
    }
    ~FakeBuffer() override { Unload(); }

    void Update() override {
        calls.push_back("refill " + name);
        SoundBuffer::Update();
    }
    void AllocateBuffer(SoundBuffer* /*source*/) override {
        memory.assign(streamed ? StreamRingBytes : dataSize, 0xEE);
    }
    void ReleaseBuffer() override {}
    bool WriteSegment(uint32_t segment, uint32_t bytes) override {
        if (failWrites)
            return false;
        memory.resize(std::max<size_t>(memory.size(), segment * SegmentBytes + bytes));
        std::memcpy(memory.data() + segment * SegmentBytes, scratch, bytes);
        writes.push_back(segment);
        return true;
    }
    void QueueBuffer(uint32_t segment) override { queued.push_back(segment); }
    void UnqueueProcessedBuffers(std::vector<uint32_t>& segments) override {
        segments = processedNext;
        processedNext.clear();
    }

    bool duplicate = false;
    bool failWrites = false;
    std::vector<uint8_t> memory;
    std::vector<uint32_t> writes, queued, processedNext;
};

class FakeSound final : public Sound {
public:
    using Sound::Sound;
    void Update() override { calls.push_back("update " + fileName); }
    bool Play() override {
        calls.push_back("play " + fileName);
        state = 0;
        return true;
    }
    void Pause() override {
        calls.push_back("pause " + fileName);
        state = 1;
    }
    void Stop() override {
        calls.push_back("stop " + fileName);
        state = 2;
    }
    int GetState() const override { return state; }

private:
    int state = 2;
};

class FakeSystem final : public SoundSystem {
public:
    FakeSystem() : SoundSystem(false) {}
    Sound* CreateSound(const std::string& name, bool resident) override {
        return new FakeSound(bufferManager, name, resident);
    }
    Sound* CloneSound(Sound* sound) override { return new FakeSound(*static_cast<FakeSound*>(sound)); }
    SoundBuffer* CreateSoundBuffer(const std::string& name, uint8_t* scratch, bool resident) override {
        return new FakeBuffer(name, scratch, resident);
    }
    SoundBuffer* DuplicateSoundBuffer(SoundBuffer* source, uint8_t* scratch) override {
        return new FakeBuffer(*static_cast<FakeBuffer*>(source), scratch);
    }
};

// A log, a file manager over a temporary data folder, the recording sound system and the manager.
class SoundService : public testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        base = VelmoraTest::TempDir() + "/sound-" +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(base + "/data/audio");
        files = new FileManager(base, false, "data", 0);
        FileManager::Instance(files);
        system = new FakeSystem();
        SoundSystem::Instance(system);
        manager = new SoundManager();
        SoundManager::Instance(manager);
    }
    void TearDown() override {
        delete manager;
        delete system;
        delete files;
    }

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        WavWriter::WriteFile(base + "/data/audio/" + name, bytes);
    }
    FakeBuffer* BufferOf(Sound* sound) { return static_cast<FakeBuffer*>(sound->GetBuffer()); }

    VelmoraTest::TestLog log;
    std::string base;
    FileManager* files = nullptr;
    FakeSystem* system = nullptr;
    SoundManager* manager = nullptr;
};

std::vector<uint8_t> Pattern(size_t bytes) {
    std::vector<uint8_t> data(bytes);
    for (size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<uint8_t>((i * 13 + i / 251) & 0xFF);
    return data;
}

} // namespace

TEST_F(SoundService, IdsAreReusedLastFreedFirstAndPositionsFollowCreation) {
    std::vector<Sound*> sounds;
    for (int i = 0; i < 6; ++i)
        sounds.push_back(manager->CreateSound("", false));
    manager->DeleteSound(sounds[3]);
    manager->DeleteSound(sounds[5]);
    EXPECT_EQ(manager->GetSoundCount(), 4u);
    EXPECT_EQ(manager->GetSound(3), sounds[4]);      // later sounds moved down
    Sound* first = manager->CreateSound("", false);  // takes id 5
    Sound* second = manager->CreateSound("", false); // takes id 3
    EXPECT_EQ(manager->GetSound(4), first);
    EXPECT_EQ(manager->GetSound(5), second);
    EXPECT_EQ(manager->GetSound(6), nullptr);
    // Deleting id 3 (second) and creating again gives it back, at the end of the list.
    manager->DeleteSound(second);
    Sound* third = manager->CreateSound("", false);
    EXPECT_EQ(manager->GetSound(5), third);
    manager->DeleteSound(nullptr);
    SoundBufferManager otherBuffers;
    FakeSound stranger(&otherBuffers, "", false); // not the manager's: left alone
    manager->DeleteSound(&stranger);
    EXPECT_EQ(manager->GetSoundCount(), 6u);
}

TEST_F(SoundService, QueuedRequestsRunInOrderBeforeSoundsAndStreamsUpdate) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, bool>> requests; // kind, immediate
        std::vector<std::string> expected;
        int state;
    };
    const Case cases[] = {
        {"play then stop", {{0, false}, {2, false}}, {"play a", "stop a", "update a", "refill a"}, 2},
        {"stop then play", {{2, false}, {0, false}}, {"stop a", "play a", "update a", "refill a"}, 0},
        {"an immediate play in between",
         {{1, false}, {0, true}, {2, false}},
         {"play a", "pause a", "stop a", "update a", "refill a"},
         2},
        {"nothing queued", {}, {"update a", "refill a"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sound* sound = manager->CreateSound("a", false);
        calls.clear();
        for (auto [kind, immediate] : c.requests) {
            if (kind == 0)
                manager->Play(sound, immediate);
            else if (kind == 1)
                manager->Pause(sound, immediate);
            else
                manager->Stop(sound, immediate);
        }
        manager->Update(true);
        EXPECT_EQ(calls, c.expected);
        EXPECT_EQ(sound->GetState(), c.state);
        EXPECT_EQ(manager->GetRequestCount(), 0u);
        manager->DeleteSound(sound);
    }
}

TEST_F(SoundService, DeletingASoundDropsItsQueuedRequests) {
    Sound* doomed = manager->CreateSound("x", false);
    Sound* kept = manager->CreateSound("y", false);
    manager->Play(doomed, false);
    manager->Play(kept, false);
    manager->Stop(doomed, false);
    manager->DeleteSound(doomed); // the next update must not reach it
    calls.clear();
    manager->Update(true);
    EXPECT_EQ(calls, (std::vector<std::string>{"play y", "update y", "refill y"}));
}

TEST_F(SoundService, BuffersAreSharedByNameOnlyForStaticData) {
    WriteFile("small.wav", WavWriter(1, 22050, 8).Build(Pattern(1000)));
    WriteFile("big.wav", WavWriter(1, 22050, 8).Build(Pattern(0x90000 + 2)));
    Sound* a = manager->CreateSound("audio\\Small.WAV", true);
    Sound* b = manager->CreateSound("audio\\small.wav", false);
    EXPECT_FALSE(BufferOf(a)->duplicate);
    EXPECT_TRUE(BufferOf(b)->duplicate);
    EXPECT_TRUE(BufferOf(b)->IsResident()); // the source's flag, not the caller's
    EXPECT_EQ(BufferOf(b)->GetName(), "audio\\small.wav");
    Sound* c = manager->CreateSound("audio\\big.wav", true);
    Sound* d = manager->CreateSound("audio\\BIG.wav", true);
    EXPECT_TRUE(BufferOf(c)->IsStreamed());
    EXPECT_FALSE(BufferOf(d)->duplicate);
    EXPECT_FALSE(BufferOf(c)->IsResident()); // a stream never is
    EXPECT_NE(BufferOf(c)->GetReader(), BufferOf(d)->GetReader());
    EXPECT_EQ(manager->GetBufferManager()->GetBufferCount(), 4u);
    manager->DeleteSound(a);
    EXPECT_EQ(manager->GetBufferManager()->GetBufferCount(), 3u);
}

TEST_F(SoundService, StreamsStartAboveTheRingSize) {
    WriteFile("exact.wav", WavWriter(1, 22050, 8).Unchecked().Build(Pattern(589824)));
    WriteFile("over.wav", WavWriter(1, 22050, 8).Unchecked().Build(Pattern(589825)));
    EXPECT_FALSE(manager->CreateSound("audio\\exact.wav", true)->GetBuffer()->IsStreamed());
    EXPECT_TRUE(manager->CreateSound("audio\\over.wav", true)->GetBuffer()->IsStreamed());
}

TEST_F(SoundService, UnreadableFilesPlaySilenceWithTheReasonLogged) {
    WriteFile("broken.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    struct Case {
        std::string name;
        std::string logged; // "" when nothing is
    };
    const Case cases[] = {
        {"", ""},
        {"audio\\noextension", "Error: Failed to load \"audio\\noextension\" sound file - unknown type!"},
        {"audio\\Tune.MP3", "Error: Failed to load \"audio\\tune.mp3\" sound file - unknown type!"},
        {"audio\\missing.wav", "Error: Failed to open"},
        {"audio\\broken.wav",
         "Error: Failed to load \"data\\audio\\broken.wav\" sound file - no RIFF header!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.Manager().ClearEntries();
        SoundBuffer* buffer = manager->CreateSound(c.name, true)->GetBuffer();
        EXPECT_EQ(buffer->GetDataSize(), 8u);
        EXPECT_EQ(buffer->GetBitsPerSample(), 8u);
        EXPECT_EQ(buffer->GetChannels(), 1u);
        EXPECT_EQ(buffer->GetSampleRate(), 22050u);
        EXPECT_FALSE(buffer->IsStreamed());
        EXPECT_EQ(static_cast<FakeBuffer*>(buffer)->memory.size(), 8u);
        if (c.logged.empty())
            EXPECT_EQ(log.Manager().GetEntryCount(), 0u);
        else
            EXPECT_TRUE(log.Contains(c.logged)) << log.Texts().back();
    }
}

TEST_F(SoundService, FillingPadsWithTheFormatsSilenceAndReportsTheEnd) {
    WriteFile("eight.wav", WavWriter(1, 22050, 8).Build(Pattern(100)));
    WriteFile("sixteen.wav", WavWriter(1, 22050, 16).Build(Pattern(100)));
    for (auto [name, silence] : {std::pair{"audio\\eight.wav", 128}, {"audio\\sixteen.wav", 0}}) {
        SCOPED_TRACE(name);
        FakeBuffer* buffer = BufferOf(manager->CreateSound(name, true));
        buffer->GetReader()->Rewind();
        EXPECT_FALSE(buffer->FillSegment(0, 0));   // nothing asked
        EXPECT_FALSE(buffer->FillSegment(0, 160)); // static and short: false, but written
        EXPECT_TRUE(std::equal(buffer->memory.begin(), buffer->memory.begin() + 100, Pattern(100).begin()));
        ASSERT_EQ(buffer->memory.size(), 160u);
        EXPECT_EQ(std::count(buffer->memory.begin() + 100, buffer->memory.end(), silence), 60);
        buffer->GetReader()->Rewind();
        EXPECT_TRUE(buffer->FillSegment(0, 100));
        buffer->failWrites = true;
        buffer->GetReader()->Rewind();
        EXPECT_FALSE(buffer->FillSegment(0, 100));
    }
}

TEST_F(SoundService, AStreamFillsItsRingFromTheStartAndRefillsInPlayOrder) {
    const std::vector<uint8_t> data = Pattern(0x90000 + 0x7000);
    WriteFile("stream.wav", WavWriter(1, 22050, 8).Build(data));
    Sound* sound = manager->CreateSound("audio\\stream.wav", false);
    FakeBuffer* buffer = BufferOf(sound);
    ASSERT_TRUE(buffer->IsStreamed());

    buffer->SetStreamState(SoundBuffer::StreamPlaying);
    std::vector<uint32_t> all(24);
    for (uint32_t i = 0; i < 24; ++i)
        all[i] = i;
    EXPECT_EQ(buffer->writes, all);
    EXPECT_EQ(buffer->queued, all);
    EXPECT_TRUE(std::equal(buffer->memory.begin(), buffer->memory.end(), data.begin()));

    // Refills take the next bytes of the file, in the order listed; past the end, silence and no queue.
    buffer->writes.clear();
    buffer->queued.clear();
    buffer->processedNext = {5, 6, 7};
    manager->Update(true);
    EXPECT_EQ(buffer->writes, (std::vector<uint32_t>{5, 6, 7}));
    EXPECT_EQ(buffer->queued, (std::vector<uint32_t>{5, 6})); // 7 got nothing of the file
    EXPECT_TRUE(std::equal(buffer->memory.begin() + 5 * 0x6000, buffer->memory.begin() + 6 * 0x6000,
                           data.begin() + 0x90000));
    EXPECT_TRUE(std::equal(buffer->memory.begin() + 6 * 0x6000 + 0x1000, buffer->memory.begin() + 7 * 0x6000,
                           std::vector<uint8_t>(0x5000, 128).begin()));

    // Pausing and playing again keeps the ring; stopping and playing refills it from the start.
    buffer->writes.clear();
    buffer->SetStreamState(SoundBuffer::StreamPaused);
    buffer->SetStreamState(SoundBuffer::StreamPlaying);
    EXPECT_TRUE(buffer->writes.empty());
    buffer->SetStreamState(SoundBuffer::StreamStopped);
    buffer->SetStreamState(SoundBuffer::StreamPlaying);
    EXPECT_EQ(buffer->writes, all);
}

TEST_F(SoundService, AStreamPausedBeforeItEverPlayedStartsFromAFullRing) {
    const std::vector<uint8_t> data = Pattern(0x90000 + 0x100);
    WriteFile("stream.wav", WavWriter(1, 22050, 8).Build(data));
    FakeBuffer* buffer = BufferOf(manager->CreateSound("audio\\stream.wav", false));
    buffer->SetStreamState(SoundBuffer::StreamPaused);
    EXPECT_TRUE(buffer->writes.empty());
    buffer->SetStreamState(SoundBuffer::StreamPlaying);
    EXPECT_EQ(buffer->writes.size(), 24u);
    EXPECT_TRUE(std::equal(buffer->memory.begin(), buffer->memory.end(), data.begin()));
}

TEST_F(SoundService, ALoopingStreamContinuesAtTheStartWithinTheSameSegment) {
    const std::vector<uint8_t> data = Pattern(600000);
    WriteFile("loop.wav", WavWriter(1, 22050, 8).Build(data));
    Sound* sound = manager->CreateSound("audio\\loop.wav", false);
    sound->SetLooping(true);
    FakeBuffer* buffer = BufferOf(sound);
    ASSERT_TRUE(buffer->IsLooping());
    buffer->SetStreamState(SoundBuffer::StreamPlaying);
    buffer->processedNext = {0};
    manager->Update(true);
    // Segment 0 now holds the last 600000 - 0x90000 bytes of the file, then its start.
    const size_t tail = 600000 - 0x90000;
    std::vector<uint8_t> expected(data.end() - static_cast<std::ptrdiff_t>(tail), data.end());
    expected.insert(expected.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(0x6000 - tail));
    EXPECT_TRUE(std::equal(buffer->memory.begin(), buffer->memory.begin() + 0x6000, expected.begin()));
    EXPECT_EQ(buffer->queued.back(), 0u);
    // A looping stream never reports its end.
    for (int i = 0; i < 30; ++i) {
        EXPECT_TRUE(buffer->FillSegment(static_cast<uint32_t>(i % 24), 0x6000));
    }
}

TEST_F(SoundService, CopiedSoundsTakeTheSettingsAndAResidentBuffer) {
    WriteFile("a.wav", WavWriter(1, 22050, 16).Build(Pattern(200)));
    Sound* sound = manager->CreateSound("audio\\a.wav", false);
    sound->SetVolume(0.25f);
    sound->SetLooping(true);
    sound->SetTempo(1.5f);
    sound->SetPosition(Vec3(1, 2, 3));
    std::unique_ptr<Sound> copy(system->CloneSound(sound));
    EXPECT_EQ(copy->GetVolume(), 0.25f);
    EXPECT_TRUE(copy->IsLooping());
    EXPECT_EQ(copy->GetTempo(), 1.5f);
    EXPECT_EQ(copy->GetPosition().z, 3.0f);
    EXPECT_TRUE(static_cast<FakeBuffer*>(copy->GetBuffer())->duplicate);
}
