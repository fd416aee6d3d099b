// The credits window, in the help role: who made the game, and a back button (code 3). The game creates
// the one instance when its data has loaded; the application root deletes it with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace OrvexEngine {
class GUIButton;
}

namespace VelmoraBall {

class GUIHelpWindow : public GameFramework::GUIHelpWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_credits";
    static constexpr const char* BackButton = "/window/button_0";
    static constexpr int BackResult = 3;

    // A button missing from the description is logged and left out.
    GUIHelpWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                  GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                  OrvexEngine::GUIWindow* parent);

    using GUIMenuWindow::Show;
    void Show(int newMode) override;
    void Hide() override;
    // Serves both bases: reads the back button while on screen; the manager never calls it.
    void Update() override;

private:
    OrvexEngine::GUIButton* back = nullptr; // not owned: the description's; null if missing
};

} // namespace VelmoraBall
