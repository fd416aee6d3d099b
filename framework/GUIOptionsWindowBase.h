// The framework's side of the options window: a working copy of the video mode (chosen from a sorted list
// of resolutions the game window fills), full screen and the volumes, and what applying, resetting to the
// defaults and cancelling do with them. The game derives its options window from it; the application root
// owns the one instance.
#pragma once

#include "framework/GUIFrameworkWindow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {
struct EngineSettings;
}

namespace GameFramework {

class AudioPlayer;
class ProfileManagerBase;

struct VideoModeItem {
    VideoModeItem(uint32_t width, uint32_t height);

    std::string text; // "800x600"
    uint32_t width = 0;
    uint32_t height = 0;
};

class GUIOptionsWindowBase : public GUIFrameworkWindow {
public:
    // Needs the configuration, whose "v_mode" and "v_fullscreen" it reads and writes directly.
    GUIOptionsWindowBase(AudioPlayer* audioPlayer, ProfileManagerBase* profileManager);
    ~GUIOptionsWindowBase() override;

    // Follows a full-screen switch made elsewhere while "v_window_change_mode" is pending.
    void Update() override;
    // Takes a fresh copy of the current settings and volumes.
    void Show(int newMode) override;
    // Writes the changed video settings (and asks for the mode change), the settings file and the current
    // profile's volumes.
    virtual void Apply();
    // The default mode, depth and full screen into the copy; the default volumes heard at once.
    virtual void ResetToDefaults();
    // The volumes in force when the window was shown.
    virtual void RestoreVolumes();

    // The first item of that resolution; index written only when found.
    bool FindVideoMode(uint32_t width, uint32_t height, uint32_t& index) const;
    // The item of the default "v_mode", else 0.
    uint32_t FindDefaultVideoMode() const;
    // Inserts an item, keeping the list sorted by width, then height.
    void AddVideoMode(uint32_t width, uint32_t height);

    const std::vector<VideoModeItem*>& GetModes() const { return modes; }

    uint32_t selectedMode = 0;
    bool fullscreen = false;
    uint32_t colourDepth = 0;

protected:
    OrvexEngine::EngineSettings&
        videoSettings;                  // the configuration's own storage of "v_mode" and "v_fullscreen"
    AudioPlayer* audioPlayer = nullptr; // not owned
    ProfileManagerBase* profileManager = nullptr; // not owned
    std::vector<VideoModeItem*> modes;            // owned, sorted by width, then height
    float savedSoundVolume = 0;
    float savedMusicVolume = 0;
};

} // namespace GameFramework
