// ctest-label: framework
// The two in-game window bases: the display holds the level and the profile only between Show and Hide and
// sums the score to show; the menu records the volumes at Show, applies a full-screen switch only when it
// changed, and on every closing writes the settings file and the profile's volumes. Both follow a video-
// mode change made elsewhere while it is pending.
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"

#include "engine/core/Config.h"
#include "engine/core/TimerManager.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "framework/GameLogicBase.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/RecordingSoundSystem.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using namespace OrvexEngine;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class TestDisplay final : public GUIGameLogicWindowBase {
public:
    using GUIGameLogicWindowBase::GUIGameLogicWindowBase;
    void SetActive(bool flag) override {
        GUIGameLogicWindowBase::SetActive(flag);
        activations.push_back(flag);
    }
    std::vector<bool> activations;
};

class TestMenu final : public GUIGameLogicMenuWindowBase {
public:
    using GUIGameLogicMenuWindowBase::GUIGameLogicMenuWindowBase;
};

class GUIGameLogicWindowBasesTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        config = std::make_unique<Config>(root.string(), "InGame", false, "800x600x32", false, false);
        Config::Instance(config.get());
        TimerManager::Instance(&timers);
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        audio = std::make_unique<AudioPlayer>(0.285f, 0.315f);
        index = std::make_unique<TestProfileManager>(audio.get(), userDirectory);
        alice = index->GetOrCreateProfile(L"Alice");
        bob = index->GetOrCreateProfile(L"Bob");
        index->SelectProfile(alice, true);
        level.stageIndex = 0;
        level.levelIndex = 1;
    }
    void TearDown() override {
        index.reset();
        audio.reset();
        sounds.reset();
    }

    fs::path SettingsPath() const { return root / "InGame.ini"; }
    bool ModeChangeTriggered() const { return !config->IsCommandIdle("v_window_change_mode"); }
    std::unique_ptr<GameLogicBase> NewLevel() {
        return std::make_unique<GameLogicBase>(audio.get(), &stage, &level, 3);
    }

    std::unique_ptr<Config> config;
    TimerManager timers;
    RecordingSoundSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<AudioPlayer> audio;
    std::unique_ptr<TestProfileManager> index;
    ProfileBase* alice = nullptr;
    ProfileBase* bob = nullptr;
    StageInfo stage;
    LevelInfo level;
};

} // namespace

TEST_F(GUIGameLogicWindowBasesTest, TheDisplayHoldsLevelAndProfileOnlyWhileShown) {
    TestDisplay display(index.get());
    EXPECT_EQ(display.gameLogic, nullptr);
    EXPECT_EQ(display.currentProfile, nullptr);
    EXPECT_TRUE(display.activations.empty()) << "the constructor activates nothing";

    auto game = NewLevel();
    alice->scoreTotal = 1200;
    game->SetScore(345);
    config->SetValue("v_fullscreen", "1");
    display.Show(16, game.get());
    EXPECT_EQ(display.mode, 16);
    EXPECT_EQ(display.gameLogic, game.get());
    EXPECT_EQ(display.currentProfile, alice);
    EXPECT_TRUE(display.fullscreen);
    EXPECT_EQ(display.activations, (std::vector<bool>{true})) << "Show activates through the game's override";
    EXPECT_TRUE(display.active);
    EXPECT_EQ(display.GetTotalScore(), 1545u);

    display.SetActive(false);
    EXPECT_FALSE(display.active);

    display.result = 15;
    display.resultSeen = false;
    display.Hide();
    EXPECT_EQ(display.gameLogic, nullptr);
    EXPECT_EQ(display.currentProfile, nullptr);
    EXPECT_TRUE(display.resultSeen);
    EXPECT_EQ(display.result, 15);

    // A later Show takes the profile current at that moment.
    index->SelectProfile(bob, true);
    bob->scoreTotal = 7;
    display.Show(16, game.get());
    EXPECT_EQ(display.currentProfile, bob);
    EXPECT_EQ(display.GetTotalScore(), 352u);
}

TEST_F(GUIGameLogicWindowBasesTest, TheDisplayWithoutACurrentProfileCountsTheLevelAlone) {
    index->DeleteProfile(L"Alice");
    index->DeleteProfile(L"Bob");
    ASSERT_EQ(index->GetCurrentProfile(), nullptr);
    TestDisplay display(index.get());
    auto game = NewLevel();
    game->SetScore(40);
    display.Show(16, game.get());
    EXPECT_EQ(display.GetTotalScore(), 40u);
}

TEST_F(GUIGameLogicWindowBasesTest, BothFollowAVideoModeChangeOnlyWhileItIsPending) {
    TestDisplay display(index.get());
    TestMenu menu(audio.get(), index.get());
    auto game = NewLevel();
    config->SetValue("v_fullscreen", "0");
    display.Show(16, game.get());
    menu.Show(17);

    // A change made elsewhere without the command: the copies stay.
    config->SetValue("v_fullscreen", "1");
    display.Update();
    menu.Update();
    EXPECT_FALSE(display.fullscreen);
    EXPECT_FALSE(menu.fullscreen);

    config->SetCommandIdle("v_window_change_mode", false);
    display.result = menu.result = 4;
    display.Update();
    menu.Update();
    EXPECT_TRUE(display.fullscreen);
    EXPECT_TRUE(menu.fullscreen);
    EXPECT_EQ(display.result, 0);
    EXPECT_EQ(menu.result, 0);
}

TEST_F(GUIGameLogicWindowBasesTest, TheMenuAppliesFullScreenOnlyWhenItsCopyDiffers) {
    TestMenu menu(audio.get(), index.get());
    config->SetValue("v_fullscreen", "0");
    menu.Show(17);
    EXPECT_FALSE(menu.fullscreen);

    fs::remove(SettingsPath());
    config->SetCommandIdle("v_window_change_mode", true);
    menu.ApplyFullscreen();
    EXPECT_FALSE(fs::exists(SettingsPath()));
    EXPECT_FALSE(ModeChangeTriggered());

    menu.fullscreen = true;
    menu.ApplyFullscreen();
    EXPECT_EQ(config->GetValueText("v_fullscreen"), "1");
    EXPECT_NE(ReadFileBytes(SettingsPath()).find("v_fullscreen 1"), std::string::npos);
    EXPECT_TRUE(ModeChangeTriggered());
}

TEST_F(GUIGameLogicWindowBasesTest, TheMenuRecordsTheVolumesAtShowAndKeepsThePlayersOnEveryClose) {
    TestMenu menu(audio.get(), index.get());
    audio->SetSoundVolume(0.5f);
    audio->SetMusicVolume(0.25f);
    menu.Show(17);
    EXPECT_EQ(menu.openingSoundVolume, 0.5f);
    EXPECT_EQ(menu.openingMusicVolume, 0.25f);

    // Closing without touching anything still writes both files.
    fs::remove(SettingsPath());
    fs::remove(ProfilesFolder() / alice->GetFileName());
    menu.Hide();
    EXPECT_TRUE(menu.resultSeen);
    EXPECT_TRUE(fs::exists(SettingsPath()));
    {
        TestProfile saved(userDirectory);
        saved.Load(alice->GetFileName());
        EXPECT_EQ(saved.settings.musicVolume, 0.25f);
        EXPECT_EQ(saved.settings.soundVolume, 0.5f);
    }

    menu.Show(17);
    audio->SetSoundVolume(0.75f);
    audio->SetMusicVolume(0.125f);
    menu.Hide();
    TestProfile saved(userDirectory);
    saved.Load(alice->GetFileName());
    EXPECT_EQ(saved.settings.musicVolume, 0.125f);
    EXPECT_EQ(saved.settings.soundVolume, 0.75f);
    EXPECT_NE(ReadFileBytes(SettingsPath()).find("g_sound_volume 0.75"), std::string::npos);
    // The other profile is untouched.
    EXPECT_NE(bob->settings.soundVolume, 0.75f);

    // No current profile: the settings file is still written and nothing is dereferenced.
    index->DeleteProfile(L"Alice");
    index->DeleteProfile(L"Bob");
    fs::remove(SettingsPath());
    menu.Show(17);
    menu.Hide();
    EXPECT_TRUE(fs::exists(SettingsPath()));
    EXPECT_TRUE(log.Contains("no current profile"));
}
