// The question before a profile is deleted, naming the profile in its text. The game creates the one
// instance after loading and the application root deletes it.
#pragma once

#include "framework/GUIDeleteProfileWindowBase.h"
#include "game/shell/GUIMenuWindow.h"

#include <string>

namespace GameFramework {
class AudioPlayer;
class ProfileManagerBase;
} // namespace GameFramework

namespace GUITools {
class GUIButtonControl;
} // namespace GUITools

namespace VelmoraBall {

class GUIDeleteProfileWindow final : public GameFramework::GUIDeleteProfileWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_delete_profile";

    // A control the description lacks is logged and left out: the window works without it.
    GUIDeleteProfileWindow(GameFramework::ProfileManagerBase* profileManager,
                           GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                           GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                           OrvexEngine::GUIWindow* parent);

    // Serves both the flow's per-frame update and the menu part's update slot.
    void Update() override;
    // The text's PROFILE_NAME becomes the name in double quotes.
    void Show(int newMode, const std::wstring& profileName) override;
    void Hide() override;
    using GUIDeleteProfileWindowBase::Show;
    using GUIMenuWindow::Show;

private:
    GUITools::GUIButtonControl* confirm = nullptr; // "/window/button_1", or null
    GUITools::GUIButtonControl* cancel = nullptr;  // "/window/button_0", or null
};

} // namespace VelmoraBall
