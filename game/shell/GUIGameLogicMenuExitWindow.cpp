#include "game/shell/GUIGameLogicMenuExitWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIWindowControl.h"

namespace VelmoraBall {

GUIGameLogicMenuExitWindow::GUIGameLogicMenuExitWindow(GameFramework::AudioPlayer* audioPlayer,
                                                       GameTools::DataKeeper* dataKeeper,
                                                       GUITools::GUIToolManager* toolManager,
                                                       GUIMenuWindowManager* manager,
                                                       OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_logic_menu_exit") {
    yesButton = GetButton(GetName() + "/window/button_1");
    noButton = GetButton(GetName() + "/window/button_0");
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, false);
}

void GUIGameLogicMenuExitWindow::Update() {
    GUIGameLogicMenuExitWindowBase::Update();
    if (!IsVisible())
        return;
    if (yesButton->clicked)
        result = ResultMainMenu;
    if (noButton->clicked)
        result = ResultBackToMenu;
}

void GUIGameLogicMenuExitWindow::Show(int newMode) {
    GUIGameLogicMenuExitWindowBase::Show(newMode);
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, true);
    GUIMenuWindow::Show(true);
}

void GUIGameLogicMenuExitWindow::Hide() {
    GUIGameLogicMenuExitWindowBase::Hide();
    // Back in the menu the title stays on its static mount; toward play or the main menu it goes at once.
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, result == ResultBackToMenu);
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
