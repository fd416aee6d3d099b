// The menu opened during play: the sound and music volumes, which follow their scrolls at once, the
// full-screen switch, and leave, restart or resume. Entered from play it replays its whole entrance with the
// animated title mount; coming back from one of its questions the frame is there at once, the controls
// follow sooner and the title stays on the static mount. The game creates the one menu with its windows;
// the application root deletes it.
#pragma once

#include "framework/GUIGameLogicMenuWindowBase.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameLogicMenuWindow : public GameFramework::GUIGameLogicMenuWindowBase, public GUIMenuWindow {
public:
    static constexpr int ResultAskLeave = 18;
    static constexpr int ResultAskRestart = 17;
    static constexpr int ResultResume = 19;
    static constexpr int ModeFromPlay = 17;
    // The effect looped while the sound scroll is held, so that the player hears the new volume.
    static constexpr int VolumeSound = 0;
    // Scroll positions 0..1000: a thousandth of the full volume each.
    static constexpr uint32_t VolumePositions = 1001;
    static constexpr int VolumeStep = 30;

    GUIGameLogicMenuWindow(GameFramework::AudioPlayer* audioPlayer,
                           GameFramework::ProfileManagerBase* profileManager,
                           GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                           GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result; while the menu is on screen the volumes follow the scrolls and
    // the buttons set their results.
    void Update() override;
    using GUIMenuWindow::Show;
    // mode: 17 from play, any other when the player steps back from a question.
    void Show(int newMode) override;
    // Writes the settings file and the profile's volumes (the base), and keeps the animated title mount only
    // when play resumes.
    void Hide() override;

    float GetWindowDelay() const { return windowDelay; }
    float GetControlsDelay() const { return controlsDelay; }

private:
    GameFramework::AudioPlayer* Audio() const { return GUIGameLogicMenuWindowBase::audioPlayer; }
    void EnableTitleMounts(bool animated);

    OrvexEngine::GUIScroll* soundScroll =
        nullptr; // not owned; never null: a missing one is a hidden stand-in
    OrvexEngine::GUIScroll* musicScroll = nullptr;     // not owned; never null
    OrvexEngine::GUICheckBox* fullscreenBox = nullptr; // not owned; never null
    OrvexEngine::GUIButton* leaveButton = nullptr;     // not owned; never null
    OrvexEngine::GUIButton* restartButton = nullptr;   // not owned; never null
    OrvexEngine::GUIButton* resumeButton = nullptr;    // not owned; never null
    float windowDelay = 0;                             // seconds: the frame's authored show offset
    float controlsDelay = 0;                           // seconds: the controls' authored show offset
};

} // namespace VelmoraBall
