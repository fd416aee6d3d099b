#include "game/shell/GUIOptionsWindow.h"

#include "engine/core/Config.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "framework/AudioPlayer.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUICheckBoxControl.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUITextControl.h"

#include <cmath>

namespace VelmoraBall {

namespace {

constexpr int resultClose = 3;
constexpr int soundPlaying = 0;

} // namespace

GUIOptionsWindow::GUIOptionsWindow(GameFramework::AudioPlayer* audioPlayer,
                                   GameFramework::ProfileManagerBase* profileManager,
                                   GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                                   GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIOptionsWindowBase(audioPlayer, profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_options") {
    const std::string& own = GetName();
    // The getters log a missing control; the window then does without it.
    if (GUITools::GUIScrollControl* control = GetScrollControl(own + "/window/sound"))
        soundSlider = control->scroll;
    if (GUITools::GUIScrollControl* control = GetScrollControl(own + "/window/music"))
        musicSlider = control->scroll;
    if (GUITools::GUICheckBoxControl* control = GetCheckBoxControl(own + "/window/fullscreen"))
        fullscreenBox = control->checkBox;
    modeText = GetTextControl(own + "/window/video_mode/text");
    const auto button = [this](const std::string& path) -> OrvexEngine::GUIButton* {
        GUITools::GUIButtonControl* control = GetButtonControl(GetName() + path);
        return control != nullptr ? control->button : nullptr;
    };
    previousMode = button("/window/decrease_video_mode");
    nextMode = button("/window/increase_video_mode");
    applyButton = button("/window/button_2");
    defaultsButton = button("/window/button_1");
    backButton = button("/window/button_0");
    for (OrvexEngine::GUIScroll* slider : {soundSlider, musicSlider}) {
        if (slider == nullptr)
            continue;
        slider->SetPositionCount(VolumePositions);
        slider->step = VolumeStep;
    }
    AddVideoMode(640, 480);
    AddVideoMode(800, 600);
    AddVideoMode(1024, 768);
}

uint32_t GUIOptionsWindow::VolumeToPosition(float volume) {
    // In double: the float product of 0.285f and 1000 rounds up to 285, while the volume lies just below.
    const double position = std::trunc(double(volume) * 1000.0);
    if (!(position > 0))
        return 0;
    return position >= double(VolumePositions - 1) ? VolumePositions - 1 : uint32_t(position);
}

void GUIOptionsWindow::ShowSettings() {
    GameFramework::AudioPlayer* audio = GUIOptionsWindowBase::audioPlayer;
    if (soundSlider != nullptr)
        soundSlider->SetPosition(VolumeToPosition(audio->GetSoundVolume()));
    if (musicSlider != nullptr)
        musicSlider->SetPosition(VolumeToPosition(audio->GetMusicVolume()));
    if (fullscreenBox != nullptr)
        fullscreenBox->checked = fullscreen;
}

void GUIOptionsWindow::Show(int newMode) {
    GUIOptionsWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
    ShowSettings();
}

void GUIOptionsWindow::Hide() {
    GUIFrameworkWindow::Hide();
    GUIMenuWindow::Show(false);
}

void GUIOptionsWindow::Update() {
    GUIOptionsWindowBase::Update();
    GUIMenuWindow::Update();
    // An Alt+Enter switch made while the window is open shows in the check box.
    if (fullscreenBox != nullptr && !OrvexEngine::Config::Instance()->IsCommandIdle("v_window_change_mode"))
        fullscreenBox->checked = fullscreen;
    if (!GUIMenuWindow::IsVisible())
        return;

    GameFramework::AudioPlayer* audio = GUIOptionsWindowBase::audioPlayer;
    // The threshold keeps a slider that shows a truncated volume from changing it.
    if (soundSlider != nullptr) {
        const float s = float(soundSlider->GetPosition()) / 1000.0f;
        if (std::fabs(s - audio->GetSoundVolume()) > 0.001f)
            audio->SetSoundVolume(s);
    }
    if (musicSlider != nullptr) {
        const float m = float(musicSlider->GetPosition()) / 1000.0f;
        if (std::fabs(m - audio->GetMusicVolume()) > 0.001f)
            audio->SetMusicVolume(m);
    }
    // The sound slider is heard while it is held; the music slider needs nothing, the music being heard.
    if (soundSlider != nullptr && soundSlider->IsPressed()) {
        if (audio->GetSoundState(SliderSound) != soundPlaying)
            audio->PlaySound(SliderSound);
    } else if (audio->GetSoundState(SliderSound) == soundPlaying) {
        audio->StopSound(SliderSound);
    }

    if (previousMode != nullptr && previousMode->clicked && selectedMode > 0)
        --selectedMode;
    if (nextMode != nullptr && nextMode->clicked && selectedMode + 1 < GetModes().size())
        ++selectedMode;
    if (applyButton != nullptr && applyButton->clicked) {
        if (fullscreenBox != nullptr)
            fullscreen = fullscreenBox->checked;
        Apply();
        result = resultClose;
    }
    if (defaultsButton != nullptr && defaultsButton->clicked) {
        ResetToDefaults();
        ShowSettings();
    }
    if (backButton != nullptr && backButton->clicked) {
        RestoreVolumes();
        result = resultClose;
    }
    if (modeText != nullptr && selectedMode < GetModes().size() && int64_t(selectedMode) != shownMode) {
        modeText->SetTextKey("'" + GetModes()[selectedMode]->text + "'");
        shownMode = selectedMode;
    }
}

} // namespace VelmoraBall
