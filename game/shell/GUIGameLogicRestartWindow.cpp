#include "game/shell/GUIGameLogicRestartWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIWindowControl.h"

namespace VelmoraBall {

GUIGameLogicRestartWindow::GUIGameLogicRestartWindow(GameFramework::AudioPlayer* audioPlayer,
                                                     GameTools::DataKeeper* dataKeeper,
                                                     GUITools::GUIToolManager* toolManager,
                                                     GUIMenuWindowManager* manager,
                                                     OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_logic_restart") {
    yesButton = GetButton(GetName() + "/window/button_1");
    noButton = GetButton(GetName() + "/window/button_0");
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, false);
}

void GUIGameLogicRestartWindow::Update() {
    GUIGameLogicRestartWindowBase::Update();
    if (!IsVisible())
        return;
    if (yesButton->clicked)
        result = ResultRestart;
    if (noButton->clicked)
        result = ResultBackToMenu;
}

void GUIGameLogicRestartWindow::Show(int newMode) {
    GUIGameLogicRestartWindowBase::Show(newMode);
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, true);
    GUIMenuWindow::Show(true);
}

void GUIGameLogicRestartWindow::Hide() {
    GUIGameLogicRestartWindowBase::Hide();
    // Back in the menu the title stays on its static mount; toward play or the main menu it goes at once.
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, result == ResultBackToMenu);
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
