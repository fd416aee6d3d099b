#include "game/shell/GUIExitWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIButtonControl.h"

namespace VelmoraBall {

GUIExitWindow::GUIExitWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                             GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                             OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    if (GUITools::GUIButtonControl* control = GetButtonControl(GetName() + YesButton))
        yes = control->button;
    if (GUITools::GUIButtonControl* control = GetButtonControl(GetName() + NoButton))
        no = control->button;
}

void GUIExitWindow::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    GUIMenuWindow::Show(true);
}

void GUIExitWindow::Hide() {
    GUIFrameworkWindow::Hide();
    GUIMenuWindow::Show(false);
}

int GUIExitWindow::BackResult(int openerMode) {
    switch (openerMode) {
    case 4: // the welcome window
        return 2;
    case 6: // the main menu
        return 3;
    case 11: // the new-player window
        return 6;
    default:
        return 0;
    }
}

void GUIExitWindow::Update() {
    GUIFrameworkWindow::Update();
    if (!IsVisible())
        return;
    if (yes != nullptr && yes->clicked)
        result = QuitResult;
    // Read after yes: with both clicked in one frame, going back wins.
    if (no != nullptr && no->clicked && BackResult(mode) != 0)
        result = BackResult(mode);
}

} // namespace VelmoraBall
