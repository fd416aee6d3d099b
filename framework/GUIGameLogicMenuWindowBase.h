// The role of the in-game menu with the sound, music and full-screen settings: it records the volumes when
// it opens (the game window places its controls from them), applies the full-screen switch of its check
// box, and on closing writes the settings file and keeps the player's volumes in the current profile. The
// game derives its in-game menu from it; the application root owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

namespace GameFramework {

class AudioPlayer;
class ProfileManagerBase;

class GUIGameLogicMenuWindowBase : public GUIFrameworkWindow {
public:
    // Needs the configuration, whose "v_fullscreen" it reads and writes directly.
    GUIGameLogicMenuWindowBase(AudioPlayer* audioPlayer, ProfileManagerBase* profileManager);

    // Refreshes the full-screen copy while "v_window_change_mode" is pending.
    void Update() override;
    // Takes the full-screen setting and the volumes in force.
    void Show(int newMode) override;
    // Writes the settings file and the current profile's volumes, whatever the player changed.
    void Hide() override;
    // After the game window changed the full-screen copy: writes it, saves the settings file and asks for
    // the mode change. An unchanged copy does nothing.
    virtual void ApplyFullscreen();

    AudioPlayer* audioPlayer = nullptr;           // not owned
    ProfileManagerBase* profileManager = nullptr; // not owned
    bool fullscreen = false;                      // the window's copy of "v_fullscreen"
    float openingSoundVolume = 0;
    float openingMusicVolume = 0;

protected:
    bool& fullscreenValue; // the configuration's own storage of "v_fullscreen"
};

} // namespace GameFramework
