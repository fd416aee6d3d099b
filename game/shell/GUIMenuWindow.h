// The shared second base of the game's menu-like windows: a panel built from its window description that
// animates in and out, with an optional frame, title, text, title mounts and publisher logo places, a sound
// when its frame has come on screen and another when it has gone. A window asked to show waits for the
// menu-window manager, so only one menu window is on screen at a time; the manager, not the framework,
// updates its menu part every frame. Each game window that derives from it is created once by the game.
#pragma once

#include "guitools/GUIWindowBase.h"

#include <string>

namespace GameFramework {
class AudioPlayer;
}

namespace GUITools {
class GUIButtonControl;
class GUIEditBoxControl;
class GUITextControl;
} // namespace GUITools

namespace VelmoraBall {

class GUIMenuWindowManager;

class GUIMenuWindow : public GUITools::GUIWindowBase {
public:
    // Effect ids of the window sounds.
    static constexpr int AppearSound = 2;
    static constexpr int DisappearSound = 3;

    // Builds the window's controls from its description and registers it with the manager. The frame
    // ("/window"), title ("/title"), text ("/window/text") and title mounts are optional: a description
    // without them gives null and logs nothing.
    GUIMenuWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                  GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                  OrvexEngine::GUIWindow* parent, const std::string& windowName);

    // Does nothing: the manager updates a menu window, through UpdateMenu.
    void Update() override;
    // Showing waits for the manager; hiding starts the hide animations at once. A window hidden while it
    // still waits never comes on screen.
    void Show(bool show) override;
    // Meant to be on screen and actually visible.
    bool IsVisible() const override;
    // Once a frame, from the manager: comes on screen when the manager lets it, animates, lets the manager
    // go once every part has finished hiding, and plays the appear or disappear sound when it is due.
    virtual void UpdateMenu();

    bool IsShown() const { return shown; }

protected:
    // The control's button was clicked this frame; false for a control the description lacks.
    static bool Clicked(const GUITools::GUIButtonControl* control);
    static bool EnterPressed();
    // The edit box's text without blanks at either end into `text` (kept, so its room is reused each frame);
    // empty for a box the description lacks.
    static void ReadTrimmedText(const GUITools::GUIEditBoxControl* box, std::wstring& text);

    GameFramework::AudioPlayer* audioPlayer = nullptr;        // not owned
    GameTools::DataKeeper* gameData = nullptr;                // not owned: the game-wide keeper
    GUIMenuWindowManager* manager = nullptr;                  // not owned
    GUITools::GUIWindowControl* frame = nullptr;              // "/window", or null
    GUITools::GUITextControl* title = nullptr;                // "/title", or null
    GUITools::GUITextControl* text = nullptr;                 // "/window/text", or null
    GUITools::GUIWindowControl* animatedTitleMount = nullptr; // "/title_mount_animated", or null
    GUITools::GUIWindowControl* staticTitleMount = nullptr;   // "/title_mount_static", or null
    bool soundPending = false;
    // Which sound is due: the appear sound after coming on screen, else the disappear sound. A frame that
    // is still fading out is active and visible too, and must not sound as if it were appearing.
    bool appearSoundDue = false;
    bool shown = false;
    bool showPending = false;

private:
    // Every part that exists has finished hiding (a title also its typing).
    bool PartsFinished() const;
};

} // namespace VelmoraBall
