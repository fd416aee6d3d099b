// ctest-label: framework
// The options base: the working copy taken at Show, Apply writing only what changed (and always the
// settings file and the profile), resetting to the defaults and cancelling back to the volumes shown.
#include "framework/GUIOptionsWindowBase.h"

#include "engine/core/Config.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/RecordingSoundSystem.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using namespace OrvexEngine;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class TestOptionsWindow : public GUIOptionsWindowBase {
public:
    using GUIOptionsWindowBase::GUIOptionsWindowBase;
};

class GUIOptionsWindowBaseTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        config = std::make_unique<Config>(root.string(), "Options", false, "1024x768x32", false, false);
        Config::Instance(config.get());
        // The framework's command the options window triggers.
        config->RegisterVariable("g_update_video_mode", ConfigVariableCommand, false, false, nullptr, "",
                                 false);
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        audio = std::make_unique<AudioPlayer>(0.285f, 0.315f);
        index = std::make_unique<TestProfileManager>(audio.get(), userDirectory);
        index->SelectProfile(index->GetOrCreateProfile(L"Player"), true);
        window = std::make_unique<TestOptionsWindow>(audio.get(), index.get());
        // Added out of order: the list keeps itself sorted.
        for (auto [w, h] : {std::pair{1024u, 768u}, {640u, 480u}, {800u, 600u}, {800u, 480u}, {1280u, 1024u}})
            window->AddVideoMode(w, h);
    }
    void TearDown() override {
        window.reset();
        index.reset();
        audio.reset();
        sounds.reset();
    }

    std::string SettingsFile() const { return ReadFileBytes(root / "Options.ini"); }
    bool UpdateTriggered() const { return !config->IsCommandIdle("g_update_video_mode"); }

    RecordingSoundSystem system;
    std::unique_ptr<Config> config;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<AudioPlayer> audio;
    std::unique_ptr<TestProfileManager> index;
    std::unique_ptr<TestOptionsWindow> window;
};

} // namespace

TEST_F(GUIOptionsWindowBaseTest, ShowTakesACopyOfTheCurrentSettings) {
    std::vector<std::string> texts;
    for (const VideoModeItem* item : window->GetModes())
        texts.push_back(item->text);
    EXPECT_EQ(texts, (std::vector<std::string>{"640x480", "800x480", "800x600", "1024x768", "1280x1024"}));

    struct Case {
        const char* mode;
        uint32_t selected;
        uint32_t depth;
    };
    const Case cases[] = {
        {"800x600x16", 2, 16},
        {"800X600X32", 2, 32},
        {"1600x1200x32", 3, 32}, // not listed: the default, 1024x768
        {"nonsense", 0, 16},     // 640x480x16
    };
    for (const Case& c : cases) {
        config->SetValue("v_mode", c.mode);
        config->SetValue("v_fullscreen", "1");
        window->Show(25);
        EXPECT_EQ(window->mode, 25);
        EXPECT_EQ(window->selectedMode, c.selected) << c.mode;
        EXPECT_EQ(window->colourDepth, c.depth) << c.mode;
        EXPECT_TRUE(window->fullscreen);
    }
}

TEST_F(GUIOptionsWindowBaseTest, ApplyWritesWhatChangedAndAlwaysTheFileAndTheProfile) {
    struct Case {
        const char* storedMode;
        uint32_t select;
        bool fullscreen;
        const char* modeAfter;
        bool triggers;
    };
    const Case cases[] = {
        {"800x600x16", 3, false, "1024x768x16", true}, // another resolution, depth kept
        {"800x600x16", 2, false, "800x600x16", false}, // nothing changed
        {"800X600X32", 2, false, "800X600X32", false}, // the stored case does not count as a change
        {"800x600x16", 2, true, "800x600x16", true},   // full screen alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedMode);
        config->SetValue("v_mode", c.storedMode);
        config->SetValue("v_fullscreen", "0");
        config->SetCommandIdle("g_update_video_mode", true);
        window->Show(25);
        window->selectedMode = c.select;
        window->fullscreen = c.fullscreen;
        audio->SetMusicVolume(0.125f);
        audio->SetSoundVolume(0.625f);
        fs::remove(root / "Options.ini");
        fs::remove_all(ProfilesFolder());

        window->Apply();
        EXPECT_EQ(config->GetValueText("v_mode"), c.modeAfter);
        EXPECT_EQ(config->GetValueText("v_fullscreen"), c.fullscreen ? "1" : "0");
        EXPECT_EQ(UpdateTriggered(), c.triggers);
        EXPECT_NE(SettingsFile().find(std::string("v_mode ") + c.modeAfter), std::string::npos);
        TestProfile saved(userDirectory);
        saved.Load(index->GetCurrentProfile()->GetFileName());
        EXPECT_EQ(saved.settings.musicVolume, 0.125f);
        EXPECT_EQ(saved.settings.soundVolume, 0.625f);
    }

    // Without modes the video mode is left alone, the rest is written.
    TestOptionsWindow empty(audio.get(), index.get());
    config->SetValue("v_mode", "800x600x16");
    empty.Show(25);
    empty.fullscreen = true;
    empty.Apply();
    EXPECT_EQ(config->GetValueText("v_mode"), "800x600x16");
    EXPECT_EQ(config->GetValueText("v_fullscreen"), "1");
}

TEST_F(GUIOptionsWindowBaseTest, DefaultsAreHeardAtOnceAndCancellingRestoresTheVolumes) {
    config->SetValue("v_mode", "800x600x16");
    audio->SetMusicVolume(0.5f);
    audio->SetSoundVolume(0.75f);
    window->Show(25);
    const std::string settings = SettingsFile();

    window->ResetToDefaults();
    EXPECT_EQ(window->selectedMode, 3u);
    EXPECT_EQ(window->colourDepth, 32u);
    EXPECT_TRUE(window->fullscreen);
    EXPECT_EQ(audio->GetMusicVolume(), 0.285f);
    EXPECT_EQ(audio->GetSoundVolume(), 0.315f);
    EXPECT_EQ(config->GetValueText("v_mode"), "800x600x16"); // nothing written yet
    EXPECT_EQ(SettingsFile(), settings);

    window->RestoreVolumes();
    EXPECT_EQ(audio->GetMusicVolume(), 0.5f);
    EXPECT_EQ(audio->GetSoundVolume(), 0.75f);
    EXPECT_EQ(config->GetValueText("v_fullscreen"), "0");
}

TEST_F(GUIOptionsWindowBaseTest, TheCopyFollowsAFullScreenSwitchWhileItIsPending) {
    config->SetValue("v_fullscreen", "0");
    window->Show(25);
    window->result = 7;
    // Alt+Enter elsewhere: the variable changes and the command stays pending for two frames.
    config->SetValue("v_fullscreen", "1");
    config->SetCommandIdle("v_window_change_mode", false);
    window->Update();
    EXPECT_TRUE(window->fullscreen);
    EXPECT_EQ(window->result, 0);
    config->SetCommandIdle("v_window_change_mode", true);
    config->SetValue("v_fullscreen", "0");
    window->Update(); // not pending: the copy is the player's
    EXPECT_TRUE(window->fullscreen);
}

TEST_F(GUIOptionsWindowBaseTest, ApplyWithoutACurrentProfileStillWritesTheSettings) {
    index->SelectProfile(nullptr, false);
    config->SetValue("v_mode", "800x600x16");
    window->Show(25);
    window->selectedMode = 0;
    window->Apply();
    EXPECT_EQ(config->GetValueText("v_mode"), "640x480x16");
    EXPECT_TRUE(log.Contains("no current profile"));
}
