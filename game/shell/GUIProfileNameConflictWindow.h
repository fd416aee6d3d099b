// The notice that a typed name belongs to another profile already; accepting it goes back to the window
// the name was typed in. The game creates the one instance after loading and the application root deletes
// it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace GameFramework {
class AudioPlayer;
} // namespace GameFramework

namespace GUITools {
class GUIButtonControl;
} // namespace GUITools

namespace VelmoraBall {

class GUIProfileNameConflictWindow final : public GameFramework::GUIProfileNameConflictWindowBase,
                                           public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_profile_name_conflict";

    // A control the description lacks is logged and left out: ENTER still accepts.
    GUIProfileNameConflictWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                                 GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                                 OrvexEngine::GUIWindow* parent);

    // Serves both the flow's per-frame update and the menu part's update slot.
    void Update() override;
    void Show(int newMode) override;
    void Hide() override;
    using GUIMenuWindow::Show;

private:
    GUITools::GUIButtonControl* accept = nullptr; // "/window/button_0", or null
};

} // namespace VelmoraBall
