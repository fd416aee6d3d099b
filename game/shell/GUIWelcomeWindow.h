// The window of the first start, shown while no profile exists: the player types a name (or leaves it blank
// for the default player name) and the profile is created and made current, or the player leaves the game.
// The game creates the one instance after loading and the application root deletes it.
#pragma once

#include "framework/GUIWelcomeWindowBase.h"
#include "game/shell/GUIMenuWindow.h"

namespace GameFramework {
class AudioPlayer;
class ProfileManagerBase;
} // namespace GameFramework

namespace GUITools {
class GUIButtonControl;
class GUIEditBoxControl;
} // namespace GUITools

namespace VelmoraBall {

class GUIWelcomeWindow final : public GameFramework::GUIWelcomeWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_welcome";

    // A control the description lacks is logged and left out: the window works without it.
    GUIWelcomeWindow(GameFramework::ProfileManagerBase* profileManager,
                     GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                     GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                     OrvexEngine::GUIWindow* parent);

    // Serves both the flow's per-frame update and the menu part's update slot.
    void Update() override;
    // Comes on screen with an empty name field.
    void Show(int newMode) override;
    void Hide() override;
    using GUIMenuWindow::Show;

private:
    GUITools::GUIEditBoxControl* nameBox = nullptr; // "/window/name", or null
    GUITools::GUIButtonControl* accept = nullptr;   // "/window/button_1", or null
    GUITools::GUIButtonControl* leave = nullptr;    // "/window/button_0", or null
};

} // namespace VelmoraBall
