// The window that renames a profile: the old name is filled in, and the player may change it to any name no
// other profile has in any letter case (the profile's own name in another case changes nothing). The game
// creates the one instance after loading and the application root deletes it.
#pragma once

#include "framework/GUIRenameProfileWindowBase.h"
#include "game/shell/GUIMenuWindow.h"

#include <string>

namespace GameFramework {
class AudioPlayer;
class ProfileManagerBase;
} // namespace GameFramework

namespace GUITools {
class GUIButtonControl;
class GUIEditBoxControl;
} // namespace GUITools

namespace VelmoraBall {

class GUIRenameProfileWindow final : public GameFramework::GUIRenameProfileWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_rename_profile";

    // A control the description lacks is logged and left out: the window works without it.
    GUIRenameProfileWindow(GameFramework::ProfileManagerBase* profileManager,
                           GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                           GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                           OrvexEngine::GUIWindow* parent);

    // Serves both the flow's per-frame update and the menu part's update slot.
    void Update() override;
    // takeName true: the profile of that name is the one to rename, and its name fills the field. False
    // keeps both the old name and the typed text, for the way back from the name-conflict notice.
    void Show(int newMode, bool takeName, const std::wstring& profileName) override;
    void Hide() override;
    using GUIMenuWindow::Show;
    using GUIRenameProfileWindowBase::Show;

private:
    // The edit box's text trimmed at both ends, into typedName.

    GUITools::GUIEditBoxControl* nameBox = nullptr; // "/window/name", or null
    GUITools::GUIButtonControl* accept = nullptr;   // "/window/button_1", or null
    GUITools::GUIButtonControl* cancel = nullptr;   // "/window/button_0", or null
    std::wstring typedName;                         // reused from frame to frame
};

} // namespace VelmoraBall
