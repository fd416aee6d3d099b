// The quit question: yes ends the program (code 23), no goes back to the window that asked, which the mode
// names (the welcome window, the main menu or the new-player window). The game creates the one instance
// when its data has loaded; the application root deletes it with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace OrvexEngine {
class GUIButton;
}

namespace VelmoraBall {

class GUIExitWindow : public GameFramework::GUIExitWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_exit";
    static constexpr const char* YesButton = "/window/button_1";
    static constexpr const char* NoButton = "/window/button_0";
    static constexpr int QuitResult = 23;

    // A button missing from the description is logged and left out.
    GUIExitWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                  GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                  OrvexEngine::GUIWindow* parent);

    using GUIMenuWindow::Show;
    void Show(int newMode) override;
    void Hide() override;
    // Serves both bases: reads the two buttons while on screen; the manager never calls it.
    void Update() override;

    // The code of the no answer for the window that opened the question; 0 (no answer) for any other mode.
    static int BackResult(int openerMode);

private:
    OrvexEngine::GUIButton* yes = nullptr; // not owned: the description's; null if missing
    OrvexEngine::GUIButton* no = nullptr;  // not owned: the description's; null if missing
};

} // namespace VelmoraBall
