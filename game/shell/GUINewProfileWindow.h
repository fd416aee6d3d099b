// The window that creates a further profile: the player types a name that no profile has in any letter
// case, and the new profile becomes current. While no profile exists its cancel button leaves the game,
// and says so. The game creates the one instance after loading and the application root deletes it.
#pragma once

#include "framework/GUINewProfileWindowBase.h"
#include "game/shell/GUIMenuWindow.h"

#include <string>

namespace GameFramework {
class AudioPlayer;
class ProfileManagerBase;
} // namespace GameFramework

namespace GUITools {
class GUIButtonControl;
class GUIEditBoxControl;
class GUITextControl;
} // namespace GUITools

namespace VelmoraBall {

class GUINewProfileWindow final : public GameFramework::GUINewProfileWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_new_profile";

    // A control the description lacks is logged and left out: the window works without it.
    GUINewProfileWindow(GameFramework::ProfileManagerBase* profileManager,
                        GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                        GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                        OrvexEngine::GUIWindow* parent);

    // Serves both the flow's per-frame update and the menu part's update slot.
    void Update() override;
    // clearName false keeps the typed name, for the way back from the name-conflict notice.
    void Show(int newMode, bool clearName) override;
    void Hide() override;
    using GUIMenuWindow::Show;
    using GUINewProfileWindowBase::Show;

private:
    // The edit box's text trimmed at both ends, into typedName.

    GUITools::GUIEditBoxControl* nameBox = nullptr;  // "/window/name", or null
    GUITools::GUIButtonControl* accept = nullptr;    // "/window/button_1", or null
    GUITools::GUIButtonControl* cancel = nullptr;    // "/window/button_0", or null
    GUITools::GUITextControl* cancelTitle = nullptr; // "/window/button_0/title", or null
    // No profile existed when the window was last shown: cancelling then leaves the game.
    bool noProfiles = true;
    std::wstring typedName; // reused from frame to frame
};

} // namespace VelmoraBall
