// ctest-label: shell
// The options window over a small description, frame by frame: the working copy the controls show, the
// resolution chooser and its ends, volumes that follow the sliders live (and the truncated default volumes
// that must not move), the looping slider sound while the sound slider is held, apply, defaults and back,
// an Alt+Enter switch reaching the check box, and a description without the controls.
#include "game/shell/GUIOptionsWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"

#include "engine/core/Config.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUICheckBoxControl.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "platform/win/Time.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/RecordingSoundSystem.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace VelmoraBall;
using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

const char* const optionsXml =
    "<window name=\"window_options\" size=\"800 600\">"
    "<window name=\"window\" position=\"180 120\" size=\"440 360\">"
    "<scroll name=\"sound\" position=\"160 290\" size=\"260 28\" toddler_size=\"24 28\""
    " toddler_min_position=\"28 0\" toddler_max_position=\"208 0\" decrease_button_size=\"28 28\""
    " decrease_button_position=\"0 0\" increase_button_size=\"28 28\" increase_button_position=\"232 0\"/>"
    "<scroll name=\"music\" position=\"160 242\" size=\"260 28\" toddler_size=\"24 28\""
    " toddler_min_position=\"28 0\" toddler_max_position=\"208 0\" decrease_button_size=\"28 28\""
    " decrease_button_position=\"0 0\" increase_button_size=\"28 28\" increase_button_position=\"232 0\"/>"
    "<check_box name=\"fullscreen\" position=\"160 192\" size=\"32 32\"/>"
    "<button name=\"decrease_video_mode\" position=\"160 146\" size=\"28 28\"/>"
    "<window name=\"video_mode\" position=\"194 140\" size=\"192 40\">"
    "<text_label name=\"text\" size=\"192 40\"/></window>"
    "<button name=\"increase_video_mode\" position=\"392 146\" size=\"28 28\"/>"
    "<button name=\"button_2\" position=\"15 20\" size=\"130 44\"/>"
    "<button name=\"button_1\" position=\"155 20\" size=\"130 44\"/>"
    "<button name=\"button_0\" position=\"295 20\" size=\"130 44\"/>"
    "</window></window>";

// The same window with nothing of its own: every control the window looks up is missing.
const char* const bareXml = "<window name=\"window_options\" size=\"800 600\">"
                            "<window name=\"window\" position=\"180 120\" size=\"440 360\"/></window>";

class GUIOptionsWindowTest : public VelmoraTest::ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        // The frame clock goes by frames, not by the machine's speed: a sound is only played again 0.02 s
        // after its last start, the first one too.
        platform::InstallFakeClock(0);
        gui = std::make_unique<VelmoraTest::GuiServices>();
        config = std::make_unique<Config>(root.string(), "Options", false, "1024x768x32", false, false);
        Config::Instance(config.get());
        config->RegisterVariable("g_update_video_mode", ConfigVariableCommand, false, false, nullptr, "",
                                 false);
        config->SetValue("v_mode", "800x600x32");
        config->SetValue("v_fullscreen", "0");
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        guiManager = std::make_unique<VelmoraTest::TestGuiManager>();
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
        audio->AddSound(GUIOptionsWindow::SliderSound, "slider.wav", true, 1, false);
        index = std::make_unique<VelmoraTest::TestProfileManager>(audio.get(), userDirectory);
        index->SelectProfile(index->GetOrCreateProfile(L"Player"), true);
        data = std::make_unique<GameData>("en");
        manager = std::make_unique<GUIMenuWindowManager>(data.get());
        gui->timers.frameTime = 0.1f;
    }
    void TearDown() override {
        window.reset();
        tools.reset();
        manager.reset();
        data.reset();
        index.reset();
        audio.reset();
        guiManager.reset();
        sounds.reset();
        gui.reset();
        platform::RemoveFakeClock();
    }
    void Build(const std::string& xml = optionsXml) {
        gui->data.Save("ui/windows/window_options.xml", std::vector<uint8_t>(xml.begin(), xml.end()));
        tools = std::make_unique<GUITools::GUIToolManager>("en");
        window = std::make_unique<GUIOptionsWindow>(audio.get(), index.get(), data.get(), tools.get(),
                                                    manager.get(), nullptr);
    }
    // Opened from the main menu and on screen.
    void Open() {
        window->Show(6);
        Frame();
        Frame();
        ASSERT_TRUE(window->GUIMenuWindow::IsVisible());
    }
    // One frame: the GUI's input step with the mouse at `cursor`, the framework's update of the window, the
    // manager's update of the menu part, the frame's queued sounds. `clicked` is clicked in this frame.
    void Frame(Vec2 cursor = Vec2(-100, -100), bool held = false, bool pressed = false,
               GUIButton* clicked = nullptr) {
        platform::AdvanceFakeClockMilliseconds(100);
        guiManager->UpdateElements(cursor, held, pressed);
        if (clicked != nullptr)
            clicked->clicked = true;
        window->Update();
        manager->UpdateWindows();
        sounds->Update(true);
    }
    void Click(const std::string& path) { Frame(Vec2(-100, -100), false, false, Button(path)); }
    GUIButton* Button(const std::string& path) {
        return window->GetButtonControl("window_options/window/" + path)->button;
    }
    GUIScroll* Slider(const std::string& name) {
        return window->GetScrollControl("window_options/window/" + name)->scroll;
    }
    GUICheckBox* CheckBox() {
        return window->GetCheckBoxControl("window_options/window/fullscreen")->checkBox;
    }
    std::wstring ModeText() { return window->GetTextControl("window_options/window/video_mode/text")->text; }
    // The middle of the slider's thumb track at a share of its travel, in screen units.
    Vec2 OnTrack(GUIScroll* slider, float share) {
        const Vec2 origin = slider->GetParentOrigin() + slider->position;
        return origin + Vec2(28 + 12 + 180 * share, 14);
    }
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> calls = system.calls;
        system.calls.clear();
        return calls;
    }
    bool UpdateTriggered() const { return !config->IsCommandIdle("g_update_video_mode"); }

    std::unique_ptr<VelmoraTest::GuiServices> gui;
    std::unique_ptr<Config> config;
    VelmoraTest::RecordingSoundSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<VelmoraTest::TestGuiManager> guiManager;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<VelmoraTest::TestProfileManager> index;
    std::unique_ptr<GameData> data;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::unique_ptr<GUIOptionsWindow> window;
};

} // namespace

TEST_F(GUIOptionsWindowTest, TheControlsShowTheWorkingCopyAndTheChooserStopsAtItsEnds) {
    Build();
    std::vector<std::string> modes;
    for (const GameFramework::VideoModeItem* item : window->GetModes())
        modes.push_back(item->text);
    EXPECT_EQ(modes, (std::vector<std::string>{"640x480", "800x600", "1024x768"}));
    EXPECT_EQ(Slider("sound")->GetPositionCount(), 1001u);
    EXPECT_EQ(Slider("music")->step, 30);

    audio->SetSoundVolume(0.5f);
    audio->SetMusicVolume(0.25f);
    config->SetValue("v_fullscreen", "1");
    Open();
    EXPECT_EQ(Slider("sound")->GetPosition(), 500u);
    EXPECT_EQ(Slider("music")->GetPosition(), 250u);
    EXPECT_TRUE(CheckBox()->checked);
    EXPECT_EQ(ModeText(), L"800x600");

    Click("increase_video_mode");
    EXPECT_EQ(ModeText(), L"1024x768");
    Click("increase_video_mode");
    EXPECT_EQ(window->selectedMode, 2u) << "the last item stays";
    for (int i = 0; i < 3; ++i)
        Click("decrease_video_mode");
    EXPECT_EQ(window->selectedMode, 0u) << "the first item stays";
    EXPECT_EQ(ModeText(), L"640x480");
    EXPECT_EQ(window->result, 0);
    // Nothing reached the settings: only apply writes them.
    EXPECT_EQ(config->GetValueText("v_mode"), "800x600x32");
}

TEST_F(GUIOptionsWindowTest, TheSoundSliderIsHeardWhileHeldAndVolumesFollowTheSlidersLive) {
    Build();
    Open();
    TakeCalls();
    GUIScroll* sound = Slider("sound");
    // Pressed on the track: the thumb is captured and the looping sound starts once.
    Frame(OnTrack(sound, 0.5f), true, true);
    EXPECT_TRUE(sound->IsPressed());
    const float middle = audio->GetSoundVolume();
    EXPECT_NEAR(middle, 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(middle, float(sound->GetPosition()) / 1000.0f);
    Frame(OnTrack(sound, 0.9f), true, false);
    Frame(OnTrack(sound, 0.9f), true, false);
    EXPECT_NEAR(audio->GetSoundVolume(), 0.9f, 0.01f);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play slider.wav"})) << "played once, while not playing";
    Frame(OnTrack(sound, 0.9f), false, false);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop slider.wav"}));
    Frame();
    EXPECT_TRUE(TakeCalls().empty());

    // The music slider changes the music volume and plays nothing.
    GUIScroll* music = Slider("music");
    Frame(OnTrack(music, 0.1f), true, true);
    Frame(OnTrack(music, 0.1f), false, false);
    EXPECT_NEAR(audio->GetMusicVolume(), 0.1f, 0.01f);
    EXPECT_FLOAT_EQ(audio->GetMusicVolume(), float(music->GetPosition()) / 1000.0f);
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(GUIOptionsWindowTest, DefaultsShowTruncatedVolumesThatDoNotMoveTheVolumes) {
    Build();
    audio->SetSoundVolume(0.9f);
    audio->SetMusicVolume(0.1f);
    Open();
    Click("button_1");
    EXPECT_EQ(Slider("music")->GetPosition(), 284u);
    EXPECT_EQ(Slider("sound")->GetPosition(), 314u);
    EXPECT_TRUE(CheckBox()->checked) << "the default is full screen";
    EXPECT_EQ(window->selectedMode, 2u) << "the default 1024x768";
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_EQ(audio->GetMusicVolume(), 0.285f);
    EXPECT_EQ(audio->GetSoundVolume(), 0.315f);
    EXPECT_EQ(window->result, 0) << "the window stays open";
    EXPECT_EQ(GUIOptionsWindow::VolumeToPosition(1.0f), 1000u);
    EXPECT_EQ(GUIOptionsWindow::VolumeToPosition(-0.5f), 0u);
}

TEST_F(GUIOptionsWindowTest, BackRestoresTheVolumesAndDropsTheChoicesApplyKeepsThem) {
    Build();
    audio->SetSoundVolume(0.5f);
    audio->SetMusicVolume(0.25f);
    Open();
    Slider("sound")->SetPosition(800);
    Slider("music")->SetPosition(100);
    CheckBox()->checked = true;
    Click("increase_video_mode");
    EXPECT_FLOAT_EQ(audio->GetSoundVolume(), 0.8f);
    Click("button_0");
    EXPECT_EQ(window->result, 3);
    EXPECT_EQ(audio->GetSoundVolume(), 0.5f);
    EXPECT_EQ(audio->GetMusicVolume(), 0.25f);
    EXPECT_FALSE(UpdateTriggered());
    window->Hide();
    for (int i = 0; i < 3; ++i)
        Frame();

    // Opened again: the stored resolution and full-screen state, not the dropped ones.
    Open();
    EXPECT_EQ(window->selectedMode, 1u);
    EXPECT_FALSE(CheckBox()->checked);

    // Apply with only the check box changed: the mode change, the settings file and the profile.
    fs::remove(root / "Options.ini");
    CheckBox()->checked = true;
    Slider("sound")->SetPosition(700);
    Frame();
    Click("button_2");
    EXPECT_EQ(window->result, 3);
    EXPECT_TRUE(UpdateTriggered());
    EXPECT_EQ(config->GetValueText("v_fullscreen"), "1");
    EXPECT_EQ(config->GetValueText("v_mode"), "800x600x32");
    EXPECT_NE(VelmoraTest::ReadFileBytes(root / "Options.ini").find("v_fullscreen 1"), std::string::npos);
    VelmoraTest::TestProfile saved(userDirectory);
    saved.Load(index->GetCurrentProfile()->GetFileName());
    EXPECT_FLOAT_EQ(saved.settings.soundVolume, 0.7f);
}

TEST_F(GUIOptionsWindowTest, AFullScreenSwitchMadeElsewhereReachesTheCheckBox) {
    Build();
    Open();
    EXPECT_FALSE(CheckBox()->checked);
    config->GetSettings().vFullscreen = true;
    config->SetCommandIdle("v_window_change_mode", false);
    Frame();
    EXPECT_TRUE(CheckBox()->checked);
    EXPECT_TRUE(window->fullscreen);
    config->SetCommandIdle("v_window_change_mode", true);
    // Once the switch is done the box is the player's again.
    CheckBox()->checked = false;
    Frame();
    EXPECT_FALSE(CheckBox()->checked);
}

TEST_F(GUIOptionsWindowTest, ADescriptionWithoutTheControlsIsLoggedAndTheWindowStillWorks) {
    Build(bareXml);
    for (const char* path :
         {"/window/sound", "/window/music", "/window/fullscreen", "/window/video_mode/text",
          "/window/decrease_video_mode", "/window/increase_video_mode", "/window/button_2",
          "/window/button_1", "/window/button_0"})
        EXPECT_TRUE(gui->log.Contains(std::string("window_options") + path)) << path << " not logged";
    audio->SetSoundVolume(0.5f);
    Open();
    for (int i = 0; i < 5; ++i)
        Frame(Vec2(400, 300), i % 2 == 0, i % 2 == 0);
    EXPECT_EQ(window->result, 0);
    EXPECT_EQ(audio->GetSoundVolume(), 0.5f);
    window->Apply();
    EXPECT_EQ(config->GetValueText("v_mode"), "800x600x32");
}
