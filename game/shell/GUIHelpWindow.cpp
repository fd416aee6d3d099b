#include "game/shell/GUIHelpWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIButtonControl.h"

namespace VelmoraBall {

GUIHelpWindow::GUIHelpWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                             GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                             OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    if (GUITools::GUIButtonControl* control = GetButtonControl(GetName() + BackButton))
        back = control->button;
}

void GUIHelpWindow::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    GUIMenuWindow::Show(true);
}

void GUIHelpWindow::Hide() {
    GUIFrameworkWindow::Hide();
    GUIMenuWindow::Show(false);
}

void GUIHelpWindow::Update() {
    GUIFrameworkWindow::Update();
    if (IsVisible() && back != nullptr && back->clicked)
        result = BackResult;
}

} // namespace VelmoraBall
