// ctest-label: framework
// The audio player frame by frame under the fake clock, on a sound system that records what it is asked:
// which voice an effect takes, fades in and out, pausing and resuming, channels that change tracks, the two
// volumes and their per-frame re-apply, and a game without a sound service.
#include "framework/AudioPlayer.h"

#include "engine/core/Config.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/math/Random.h"
#include "engine/sound/SoundManager.h"
#include "framework/MusicTrack.h"
#include "platform/win/Time.h"
#include "tests/support/RecordingSoundSystem.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

using namespace GameFramework;
using namespace OrvexEngine;
using namespace VelmoraTest;

namespace {

class AudioPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock(0);
        const std::string base =
            TempDir() + "/audio-" + testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(base);
        files = std::make_unique<FileManager>(base, false, "data", 0);
        FileManager::Instance(files.get());
        config = std::make_unique<Config>(base, "Audio", false, "800x600x32", false, false);
        Config::Instance(config.get());
        timers = std::make_unique<TimerManager>();
        TimerManager::Instance(timers.get());
        if (withSound) {
            system = std::make_unique<RecordingSoundSystem>();
            SoundSystem::Instance(system.get());
            sounds = std::make_unique<SoundManager>();
            SoundManager::Instance(sounds.get());
        }
        // Well past the start, so that no voice looks as if it had just been started at time 0.
        platform::AdvanceFakeClockMilliseconds(1000);
        timers->Update();
        player = std::make_unique<AudioPlayer>(0.285f, 0.315f);
    }
    void TearDown() override {
        player.reset();
        sounds.reset();
        system.reset();
        timers.reset();
        config.reset();
        files.reset();
        platform::RemoveFakeClock();
    }

    // One frame as the frame driver runs it: clock, player, then the queued sound requests.
    void Frame(uint32_t milliseconds = 20) {
        platform::AdvanceFakeClockMilliseconds(milliseconds);
        timers->Update();
        player->Update();
        if (sounds)
            sounds->Update(true);
    }
    float Now() const { return timers->GetFrameTimer()->GetTime(); }
    std::vector<std::string>& Calls() { return system->calls; }
    // The calls made since the last look.
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> taken;
        for (const std::string& call : system->calls)
            if (call.rfind("volume", 0) != 0)
                taken.push_back(call);
        system->calls.clear();
        return taken;
    }
    MusicTrack* Track(int channel) const { return player->GetChannelTrack(channel); }

    bool withSound = true;
    TestLog log;
    std::unique_ptr<FileManager> files;
    std::unique_ptr<Config> config;
    std::unique_ptr<TimerManager> timers;
    std::unique_ptr<RecordingSoundSystem> system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<AudioPlayer> player;
};

class SilentAudioPlayerTest : public AudioPlayerTest {
protected:
    void SetUp() override {
        withSound = false;
        AudioPlayerTest::SetUp();
    }
};

} // namespace

TEST_F(AudioPlayerTest, AnEffectTakesTheVoiceStartedLongestAgo) {
    player->AddSound(7, "hit.wav", false, 2, true);
    player->AddSound(8, "slider.wav", true, 1, true);
    const std::vector<SoundVoice*>& voices = player->GetVoices();
    ASSERT_EQ(voices.size(), 3u);
    EXPECT_EQ(voices[0]->sound->GetVolume(), 0.315f);
    EXPECT_TRUE(voices[2]->sound->IsLooping());

    // Frames of 30 ms: a play in each lies beyond the 0.02 s guard of the one before (20 ms would not).
    Frame(30);
    player->PlaySound(7); // both voices at 0: the first in the list
    const float first = Now();
    EXPECT_EQ(voices[0]->lastStart, first);
    player->PlaySound(7); // within 0.02 s of a start of the id: dropped, nothing changes
    EXPECT_EQ(sounds->GetRequestCount(), 1u);
    EXPECT_EQ(voices[1]->lastStart, 0.0f);
    Frame(30);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play hit.wav"}));

    player->PlaySound(7);
    EXPECT_EQ(voices[1]->lastStart, Now());
    EXPECT_EQ(voices[0]->lastStart, first);
    Frame(30);
    player->PlaySound(7);
    EXPECT_EQ(voices[0]->lastStart, Now());
    EXPECT_EQ(sounds->GetRequestCount(), 1u); // a one-shot still sounding starts again
    Frame(30);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play hit.wav", "play hit.wav"}));

    // The state of an effect is its first voice's.
    static_cast<RecordingSound*>(voices[0]->sound)->Finish();
    EXPECT_EQ(voices[1]->sound->GetState(), SoundPlaying);
    EXPECT_EQ(player->GetSoundState(7), SoundStopped);
    EXPECT_EQ(player->GetSoundState(99), SoundStopped);

    // A looping voice that sounds is not started again, but counts as just started.
    player->PlaySound(8);
    Frame(30);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play slider.wav"}));
    Frame(30);
    player->PlaySound(8);
    EXPECT_EQ(sounds->GetRequestCount(), 0u);
    EXPECT_EQ(voices[2]->lastStart, Now());

    player->StopSound(7);
    player->PlaySound(99); // no voices: nothing
    Frame(30);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop hit.wav", "stop hit.wav"}));
}

TEST_F(AudioPlayerTest, MusicFadesInAndATrackReplacedOnItsChannelFadesOut) {
    player->AddMusicTrack(0, "menu.ogg", true);
    player->AddMusicTrack(1, "game0.ogg", true);
    player->SetMusicVolume(0.5f);
    player->PlayMusic(0, 0, true, 0.5f);
    MusicTrack* menu = Track(0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetSound()->GetVolume(), 0.0f);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play menu.ogg"})); // music starts at once

    int frames = 0;
    float previous = 0;
    while (menu->GetFade() == MusicFade::In && frames < 500) {
        Frame();
        ++frames;
        EXPECT_NEAR(menu->GetLevel(), std::min(1.0f, 0.01f * frames), 1e-4f) << frames;
        EXPECT_GT(menu->GetLevel(), previous);
        previous = menu->GetLevel();
        // The sound plays at level × music volume (the volume moves by at most 0.0005 per frame).
        EXPECT_NEAR(menu->GetSound()->GetVolume(), menu->GetLevel() * 0.5f, 0.001f);
    }
    EXPECT_NEAR(frames, 100, 1);
    EXPECT_EQ(menu->GetLevel(), 1.0f);
    EXPECT_EQ(player->GetMusicVolume(), 0.5f); // the re-apply does not drift the stored value

    // Asking for the track the channel plays changes nothing.
    player->PlayMusic(0, 0, true, 0.5f);
    EXPECT_EQ(menu->GetLevel(), 1.0f);
    EXPECT_TRUE(TakeCalls().empty());

    // Another track: the old one fades at 1.0 per second and stops by itself; the new starts at level 1.
    player->PlayMusic(0, 1, false, 0.25f);
    MusicTrack* game = Track(0);
    ASSERT_NE(game, menu);
    EXPECT_EQ(game->GetLevel(), 1.0f);
    EXPECT_EQ(menu->GetFade(), MusicFade::OutThenStop);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play game0.ogg"}));
    for (frames = 0; menu->GetState() == SoundPlaying && frames < 500; ++frames)
        Frame();
    EXPECT_NEAR(frames, 51, 1);
    EXPECT_EQ(menu->GetLevel(), 0.0f);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop menu.ogg"}));
    EXPECT_EQ(game->GetState(), SoundPlaying);

    // While the channel's track fades out to stop, asking for it again leaves the fade running.
    player->StopMusic(0, true, 2.0f);
    player->PlayMusic(0, 1, true, 1.0f);
    EXPECT_EQ(game->GetFade(), MusicFade::OutThenStop);
    // A track id never registered leaves the channel as it is.
    player->PlayMusic(0, 42, false, 1.0f);
    EXPECT_EQ(Track(0), game);
    player->PlayMusic(5, 42, false, 1.0f);
    EXPECT_EQ(Track(5), nullptr);
    EXPECT_EQ(player->GetMusicState(5), SoundStopped);
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(AudioPlayerTest, PausingAndResumingFollowTheTracksState) {
    enum Start { Playing, Stopping, Paused, Stopped };
    struct Case {
        const char* what;
        Start start;
        bool pause;
        bool fade;
        int state;
        MusicFade fadeAfter;
        float level;
    };
    const Case cases[] = {
        {"pause with a fade", Playing, true, true, SoundPlaying, MusicFade::OutThenPause, 1},
        {"pause at once", Playing, true, false, SoundPaused, MusicFade::None, 1},
        {"pause a stopping track with a fade: it still stops", Stopping, true, true, SoundPlaying,
         MusicFade::OutThenStop, 1},
        {"pause a stopping track at once: it stops", Stopping, true, false, SoundStopped,
         MusicFade::OutThenStop, 1},
        {"pause a paused track", Paused, true, true, SoundPaused, MusicFade::None, 1},
        {"pause a stopped track", Stopped, true, false, SoundStopped, MusicFade::None, 1},
        {"resume with a fade: from level 0", Paused, false, true, SoundPlaying, MusicFade::In, 0},
        {"resume at once", Paused, false, false, SoundPlaying, MusicFade::None, 1},
        {"resume a stopped track", Stopped, false, true, SoundStopped, MusicFade::None, 1},
        {"resume a playing track", Playing, false, true, SoundPlaying, MusicFade::None, 1},
    };
    int channel = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        player->AddMusicTrack(channel, "track" + std::to_string(channel) + ".ogg", true);
        player->PlayMusic(channel, channel, false, 0);
        if (c.start == Stopping)
            player->StopMusic(channel, true, 0.5f);
        if (c.start == Paused)
            player->PauseMusic(channel, true, false, 0);
        if (c.start == Stopped)
            player->StopMusic(channel, false, 0);
        player->PauseMusic(channel, c.pause, c.fade, 0.5f);
        EXPECT_EQ(player->GetMusicState(channel), c.state);
        EXPECT_EQ(Track(channel)->GetFade(), c.fadeAfter);
        EXPECT_EQ(Track(channel)->GetLevel(), c.level);
        ++channel;
    }
}

TEST_F(AudioPlayerTest, AFadeOutEndsOnlyWhenItsLevelGoesBelowZero) {
    player->AddMusicTrack(0, "menu.ogg", true);
    player->PlayMusic(0, 0, false, 0);
    Frame();
    MusicTrack* menu = Track(0);
    // One frame's step of the fade, so that the next frame lands on exactly 0.
    menu->SetLevel(2.0f * timers->frameTime);
    player->PauseMusic(0, true, true, 2.0f);
    Frame();
    EXPECT_EQ(menu->GetLevel(), 0.0f);
    EXPECT_EQ(menu->GetState(), SoundPlaying);
    Frame();
    EXPECT_EQ(menu->GetState(), SoundPaused);
    EXPECT_EQ(menu->GetFade(), MusicFade::None);
    EXPECT_EQ(menu->GetLevel(), 0.0f);

    // Every channel in ascending order.
    player->AddMusicTrack(1, "game0.ogg", true);
    player->PlayMusic(3, 1, false, 0);
    TakeCalls();
    player->PauseAllMusic(false, false, 0);
    player->StopAllMusic(false, 0);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play menu.ogg", "stop menu.ogg", "stop game0.ogg"}));
}

TEST_F(AudioPlayerTest, VolumesAreClampedAndReachEverySoundButTheMusic) {
    player->AddSound(1, "click.wav", false, 1, true);
    player->AddMusicTrack(0, "menu.ogg", true);
    Sound* gui = sounds->CreateSound("gui.wav", true); // made by someone else
    player->PlayMusic(0, 0, false, 0);

    struct Case {
        float sound, music;
        float storedSound, storedMusic;
    };
    const Case cases[] = {
        {0.5f, 0.25f, 0.5f, 0.25f},
        {1.5f, -0.2f, 1.0f, 0.0f},
        {NAN, NAN, 0.315f, 0.285f}, // the defaults
        {INFINITY, -INFINITY, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        player->SetSoundVolume(c.sound);
        player->SetMusicVolume(c.music);
        EXPECT_EQ(player->GetSoundVolume(), c.storedSound);
        EXPECT_EQ(player->GetMusicVolume(), c.storedMusic);
        EXPECT_EQ(player->GetVoices()[0]->sound->GetVolume(), c.storedSound);
        EXPECT_EQ(gui->GetVolume(), c.storedSound);
        EXPECT_EQ(Track(0)->GetSound()->GetVolume(), c.storedMusic); // level 1 × music volume
    }
    EXPECT_EQ(player->GetDefaultMusicVolume(), 0.285f);
    EXPECT_EQ(config->GetDefaultText("g_sound_volume"), "0.315000");

    // The frame's re-apply: exactly two random draws, the sounds near the volume, the values unchanged.
    player->SetSoundVolume(0.5f);
    player->SetMusicVolume(0.5f);
    Sound* later = sounds->CreateSound("later.wav", true);
    SeedRandom(99);
    RandomSigned();
    RandomSigned();
    const uint32_t third = NextRandom();
    SeedRandom(99);
    platform::AdvanceFakeClockMilliseconds(20);
    timers->Update();
    player->Update();
    EXPECT_EQ(NextRandom(), third);
    EXPECT_NEAR(later->GetVolume(), 0.5f, 0.0005f);
    EXPECT_NEAR(Track(0)->GetSound()->GetVolume(), 0.5f, 0.0005f);
    EXPECT_EQ(player->GetSoundVolume(), 0.5f);
    EXPECT_EQ(config->GetValueText("g_sound_volume"), "0.500000");

    // A NaN written by the console becomes the default at the next frame.
    config->SetValue("g_music_volume", "nan");
    Frame();
    EXPECT_EQ(player->GetMusicVolume(), 0.285f);
    EXPECT_NEAR(Track(0)->GetSound()->GetVolume(), 0.285f, 0.0005f);

    // The settings keep the last values when the player goes.
    player->SetSoundVolume(0.75f);
    player.reset();
    EXPECT_EQ(config->GetValueText("g_sound_volume"), "0.750000");
}

TEST_F(SilentAudioPlayerTest, WithoutASoundServiceNothingHappens) {
    config->SetValue("g_sound_volume", "0.6");
    player->AddSound(1, "click.wav", false, 3, true);
    player->AddMusicTrack(0, "menu.ogg", true);
    EXPECT_TRUE(player->GetVoices().empty());
    EXPECT_TRUE(player->GetTracks().empty());
    player->SetSoundVolume(0.1f);
    player->SetMusicVolume(0.9f);
    EXPECT_EQ(player->GetSoundVolume(), 0.6f); // the configured value stays
    EXPECT_EQ(player->GetMusicVolume(), 0.285f);
    player->PlaySound(1);
    player->PlayMusic(0, 0, true, 1.0f);
    player->PauseAllMusic(true, true, 1.0f);
    Frame();
    EXPECT_EQ(player->GetSoundState(1), SoundStopped);
    EXPECT_EQ(player->GetMusicState(0), SoundStopped);
}
