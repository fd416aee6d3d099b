// ctest-label: gui
// GUI sounds on a recording sound system: the least-played variant of a name is queued and played at the
// sound service's update, names are exact, and without a sound service the GUI stays silent; then the
// same on the platform's sound system with real files.
#include "engine/gui/GUISoundManager.h"
#include "engine/core/MessageManager.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/files/FileManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem.h"
#include "engine/sound/SoundSystem_DS7.h"
#include "platform/sound/AudioTestHooks.h"
#include "platform/win/Time.h"
#include "tests/support/TestLog.h"

#include "tools/formats/WavWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

std::vector<std::string> played; // file names, in the order the platform was told to play them

class SilentBuffer final : public SoundBuffer {
public:
    using SoundBuffer::SoundBuffer;
    void AllocateBuffer(SoundBuffer*) override {}
    void ReleaseBuffer() override {}
    bool WriteSegment(uint32_t, uint32_t) override { return true; }
    void QueueBuffer(uint32_t) override {}
    void UnqueueProcessedBuffers(std::vector<uint32_t>& segments) override { segments.clear(); }
};

class RecordingSound final : public Sound {
public:
    using Sound::Sound;
    bool Play() override {
        played.push_back(fileName);
        return true;
    }
    void Pause() override {}
    void Stop() override {}
    int GetState() const override { return SoundStopped; }
};

class RecordingSystem final : public SoundSystem {
public:
    RecordingSystem() : SoundSystem(false) {}
    Sound* CreateSound(const std::string& name, bool resident) override {
        return new RecordingSound(bufferManager, name, resident);
    }
    Sound* CloneSound(Sound* sound) override {
        return new RecordingSound(*static_cast<RecordingSound*>(sound));
    }
    SoundBuffer* CreateSoundBuffer(const std::string& name, uint8_t* scratch, bool resident) override {
        return new SilentBuffer(name, scratch, resident);
    }
    SoundBuffer* DuplicateSoundBuffer(SoundBuffer* source, uint8_t* scratch) override {
        return new SilentBuffer(*source, scratch);
    }
};

class GUISoundManagerTest : public testing::Test {
protected:
    void SetUp() override {
        played.clear();
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
    }
    // Plays `name` `count` times, one frame each, and returns what the platform played.
    std::vector<std::string> PlayFrames(const std::string& name, int count) {
        played.clear();
        for (int i = 0; i < count; ++i) {
            gui->Play(name);
            EXPECT_TRUE(played.empty() || int(played.size()) == i) << "played before the update";
            sounds->Update(true);
        }
        return played;
    }

    VelmoraTest::TestLog log;
    RecordingSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<GUISoundManager> gui = std::make_unique<GUISoundManager>();
};

using Files = std::vector<std::string>;

} // namespace

TEST_F(GUISoundManagerTest, VariantsTakeTurnsByPlayCount) {
    gui->AddSound("click", "a.wav", 1);
    gui->AddSound("select", "s.wav", 1);
    gui->AddSound("click", "b.wav", 1);
    gui->AddSound("click", "c.wav", 1);
    EXPECT_EQ(PlayFrames("click", 6), (Files{"a.wav", "b.wav", "c.wav", "a.wav", "b.wav", "c.wav"}));
    EXPECT_EQ(PlayFrames("click", 9).size(), 9u);
    // Each has now played 5 times: a late variant starts at 0 and is taken until it has caught up.
    gui->AddSound("click", "d.wav", 1);
    EXPECT_EQ(PlayFrames("click", 6), (Files{"d.wav", "d.wav", "d.wav", "d.wav", "d.wav", "a.wav"}));
    EXPECT_EQ(PlayFrames("select", 2), (Files{"s.wav", "s.wav"}));
    ASSERT_EQ(gui->GetEntries().size(), 5u);
    EXPECT_EQ(gui->GetEntries()[4]->playCount, 5);
}

TEST_F(GUISoundManagerTest, PlaysAreQueuedUntilTheSoundServiceUpdates) {
    gui->AddSound("click", "a.wav", 1);
    gui->AddSound("click", "b.wav", 1);
    gui->Play("click");
    gui->Play("click");
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(sounds->GetRequestCount(), 2u);
    sounds->Update(true);
    EXPECT_EQ(played, (Files{"a.wav", "b.wav"}));
}

TEST_F(GUISoundManagerTest, UnknownNamesAndCaseVariantsPlayNothing) {
    gui->AddSound("click", "a.wav", 1);
    const uint32_t logLines = MessageManager::Instance()->GetEntryCount();
    for (const char* name : {"Click", "CLICK", "click ", "", "select"})
        EXPECT_TRUE(PlayFrames(name, 1).empty()) << '"' << name << '"';
    EXPECT_EQ(gui->GetEntries()[0]->playCount, 0);
    EXPECT_EQ(MessageManager::Instance()->GetEntryCount(), logLines);
}

TEST_F(GUISoundManagerTest, DestructionDeletesEverySoundItCreated) {
    sounds->CreateSound("music.ogg", false);
    gui->AddSound("click", "a.wav", 1);
    gui->AddSound("click", "b.wav", 0);
    EXPECT_EQ(sounds->GetSoundCount(), 3u);
    gui->Play("click");
    gui.reset(); // drops its queued request with the sound
    EXPECT_EQ(sounds->GetSoundCount(), 1u);
    EXPECT_EQ(sounds->GetSound(0)->GetFileName(), "music.ogg");
    EXPECT_EQ(sounds->GetRequestCount(), 0u);
}

TEST_F(GUISoundManagerTest, SilentWithoutSoundService) {
    gui->AddSound("click", "a.wav", 1);
    // The sound service goes (or never started): its sounds went with it.
    sounds.reset();
    ASSERT_EQ(SoundManager::Instance(), nullptr);
    gui->AddSound("click", "b.wav", 1);
    gui->Play("click");
    ASSERT_EQ(gui->GetEntries().size(), 1u);
    EXPECT_EQ(gui->GetEntries()[0]->playCount, 0);
    EXPECT_TRUE(played.empty());
    gui.reset(); // must not reach for the deleted sounds

    GUISoundManager never;
    never.AddSound("click", "a.wav", 1);
    never.Play("click");
    EXPECT_TRUE(never.GetEntries().empty());
}

namespace {

// The platform's sound system on a silent output, over a data folder with two short clicks.
class GUISoundPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        platform::AudioTestHooks::Reset();
        platform::AudioTestHooks::SetNullOutput(true);
        platform::InstallFakeClock(5000);
        base = VelmoraTest::TempDir() + "/gui-sound";
        std::filesystem::create_directories(base + "/data/audio/menu");
        for (const char* name : {"click_0", "click_1"})
            VbFormats::WavWriter::WriteFile(
                base + "/data/audio/menu/" + name + ".wav",
                VbFormats::WavWriter(1, 22050, 16)
                    .Build(VbFormats::WavWriter::Bytes(std::vector<int16_t>(4410, 1000))));
        timers = std::make_unique<TimerManager>();
        TimerManager::Instance(timers.get());
        files = std::make_unique<FileManager>(base, false, "data", 0);
        FileManager::Instance(files.get());
        window = std::make_unique<Window>("Sound", 0, 0, 320, 240, false, true, Vec2i());
        Window::Instance(window.get());
        system = std::make_unique<SoundSystem_DS7>(false);
        SoundSystem::Instance(system.get());
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
    }
    void TearDown() override {
        gui.reset();
        sounds.reset();
        system.reset();
        window.reset();
        files.reset();
        timers.reset();
        platform::RemoveFakeClock();
        platform::AudioTestHooks::Reset();
    }
    void Frame() {
        platform::AdvanceFakeClockMilliseconds(20);
        system->Refresh();
        sounds->Update(true);
    }
    int State(size_t entry) const { return gui->GetEntries()[entry]->sound->GetState(); }

    VelmoraTest::TestLog log;
    std::string base;
    std::unique_ptr<TimerManager> timers;
    std::unique_ptr<FileManager> files;
    std::unique_ptr<Window> window;
    std::unique_ptr<SoundSystem_DS7> system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<GUISoundManager> gui = std::make_unique<GUISoundManager>();
};

} // namespace

TEST_F(GUISoundPlatformTest, VariantsOfRealFilesPlayInTurn) {
    gui->AddSound("gui_default_button_select", "audio\\menu\\click_0.wav", 1);
    gui->AddSound("gui_default_button_select", "audio\\menu\\click_1.wav", 1);
    gui->AddSound("gui_default_button_click", "audio\\menu\\missing.wav", 1); // plays silence
    ASSERT_EQ(gui->GetEntries().size(), 3u);
    EXPECT_EQ(State(0), SoundStopped);

    gui->Play("gui_default_button_select");
    EXPECT_EQ(State(0), SoundStopped) << "queued, not played at once";
    Frame();
    EXPECT_EQ(State(0), SoundPlaying);
    EXPECT_EQ(State(1), SoundStopped);
    gui->Play("gui_default_button_select");
    Frame();
    EXPECT_EQ(State(1), SoundPlaying);
    gui->Play("gui_default_button_click");
    Frame();
    EXPECT_EQ(gui->GetEntries()[2]->playCount, 1);
    for (size_t i : {0, 1}) // the variants' files were read
        EXPECT_EQ(gui->GetEntries()[i]->sound->GetBuffer()->GetDataSize(), 4410u * 2) << i;
    gui.reset();
    EXPECT_EQ(sounds->GetSoundCount(), 0u);
}
