#include "game/shell/GUIGameLogicMenuWindow.h"

#include "engine/core/Config.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "framework/AudioPlayer.h"
#include "guitools/GUIControl.h"
#include "guitools/GUIWindowControl.h"

#include <cmath>

namespace VelmoraBall {

namespace {

// The faders whose controls make up the menu's two entrance groups.
constexpr const char* WindowFader = "game_logic_window";
constexpr const char* ControlFader = "game_logic_control";
// Smaller volume differences are the rounding of the scroll positions, not a change by the player.
constexpr float VolumeTolerance = 0.001f;

uint32_t VolumeToPosition(float volume) {
    // In double: a volume stored as a float just below a thousandth (0.315 is 0.31499999...) must stay below
    // it, where a float product would round up to the next position.
    const double position = static_cast<double>(volume) * 1000.0;
    return position > 0 ? static_cast<uint32_t>(position) : 0;
}

} // namespace

GUIGameLogicMenuWindow::GUIGameLogicMenuWindow(GameFramework::AudioPlayer* audioPlayer,
                                               GameFramework::ProfileManagerBase* profileManager,
                                               GameTools::DataKeeper* dataKeeper,
                                               GUITools::GUIToolManager* toolManager,
                                               GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIGameLogicMenuWindowBase(audioPlayer, profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_logic_menu") {
    const std::string& own = GetName();
    soundScroll = GetScroll(own + "/window/sound");
    musicScroll = GetScroll(own + "/window/music");
    fullscreenBox = GetCheckBox(own + "/window/fullscreen");
    leaveButton = GetButton(own + "/window/button_0");
    restartButton = GetButton(own + "/window/button_1");
    resumeButton = GetButton(own + "/window/button_2");
    for (OrvexEngine::GUIScroll* scroll : {soundScroll, musicScroll}) {
        scroll->SetPositionCount(VolumePositions);
        scroll->step = VolumeStep;
    }
    if (frame != nullptr)
        windowDelay = frame->show_offset;
    if (const GUITools::GUIControl* first = GetControl(own + "/window/button_0"))
        controlsDelay = first->show_offset;
}

void GUIGameLogicMenuWindow::EnableTitleMounts(bool animated) {
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, animated);
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, !animated);
}

void GUIGameLogicMenuWindow::Update() {
    GUIGameLogicMenuWindowBase::Update();
    if (!OrvexEngine::Config::Instance()->IsCommandIdle("v_window_change_mode"))
        fullscreenBox->checked = fullscreen;
    if (!IsVisible())
        return;

    GameFramework::AudioPlayer* audio = Audio();
    const float soundTarget = static_cast<float>(soundScroll->GetPosition()) / 1000.0f;
    const float musicTarget = static_cast<float>(musicScroll->GetPosition()) / 1000.0f;
    if (std::fabs(soundTarget - audio->GetSoundVolume()) > VolumeTolerance)
        audio->SetSoundVolume(soundTarget);
    if (std::fabs(musicTarget - audio->GetMusicVolume()) > VolumeTolerance)
        audio->SetMusicVolume(musicTarget);
    if (soundScroll->IsPressed()) {
        if (audio->GetSoundState(VolumeSound) != 0)
            audio->PlaySound(VolumeSound);
    } else if (audio->GetSoundState(VolumeSound) == 0) {
        audio->StopSound(VolumeSound);
    }

    if (fullscreenBox->clicked) {
        fullscreen = fullscreenBox->checked;
        ApplyFullscreen();
    }
    if (leaveButton->clicked)
        result = ResultAskLeave;
    if (restartButton->clicked)
        result = ResultAskRestart;
    if (resumeButton->clicked)
        result = ResultResume;
}

void GUIGameLogicMenuWindow::Show(int newMode) {
    GUIGameLogicMenuWindowBase::Show(newMode);
    EnableTitleMounts(newMode == ModeFromPlay);
    // From play both groups keep their authored delays; back from a question the frame is there at once and
    // the controls follow after the difference.
    float windowOffset = windowDelay;
    float controlsOffset = controlsDelay;
    if (newMode != ModeFromPlay) {
        windowOffset = 0;
        controlsOffset = controlsDelay - windowDelay;
    }
    for (GUITools::GUIControl* control : GetControls()) {
        if (control->fader == WindowFader)
            control->show_offset = windowOffset;
        else if (control->fader == ControlFader)
            control->show_offset = controlsOffset;
    }
    GUIMenuWindow::Show(true);
    soundScroll->SetPosition(VolumeToPosition(openingSoundVolume));
    musicScroll->SetPosition(VolumeToPosition(openingMusicVolume));
    fullscreenBox->checked = fullscreen;
}

void GUIGameLogicMenuWindow::Hide() {
    GUIGameLogicMenuWindowBase::Hide();
    EnableTitleMounts(result == ResultResume);
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
