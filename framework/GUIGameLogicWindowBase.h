// The role of the in-game display shown over a running level: it hands the level in play and the profile
// current at Show to the game's display, tells it whether it may act on input, and keeps its own copy of
// the full-screen setting that follows a video-mode change made elsewhere. The game derives its display
// from it; the application root owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

#include <cstdint>

namespace GameFramework {

class GameLogicBase;
class ProfileBase;
class ProfileManagerBase;

class GUIGameLogicWindowBase : public GUIFrameworkWindow {
public:
    // Needs the configuration, whose "v_fullscreen" it reads directly.
    explicit GUIGameLogicWindowBase(ProfileManagerBase* profileManager);

    // Refreshes the full-screen copy while "v_window_change_mode" is pending.
    void Update() override;
    using GUIFrameworkWindow::Show;
    // Forgets the level and the profile.
    void Hide() override;
    // The flow's only way to show the display: keeps the level and the current profile, then activates.
    virtual void Show(int newMode, GameLogicBase* level);
    virtual void SetActive(bool flag);

    // The profile's score total plus the level's score; a part that is missing counts 0.
    uint32_t GetTotalScore() const;

    ProfileManagerBase* profileManager = nullptr; // not owned
    ProfileBase* currentProfile = nullptr;        // not owned; set only between Show and Hide
    GameLogicBase* gameLogic = nullptr;           // not owned; set only between Show and Hide
    bool fullscreen = false;                      // the window's copy of "v_fullscreen"
    bool active = false;                          // the display may act on input

protected:
    bool& fullscreenValue; // the configuration's own storage of "v_fullscreen"
};

} // namespace GameFramework
