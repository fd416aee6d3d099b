#include "game/shell/GUIGameLogicGameExitWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIWindowControl.h"

namespace VelmoraBall {

GUIGameLogicGameExitWindow::GUIGameLogicGameExitWindow(GameFramework::AudioPlayer* audioPlayer,
                                                       GameTools::DataKeeper* dataKeeper,
                                                       GUITools::GUIToolManager* toolManager,
                                                       GUIMenuWindowManager* manager,
                                                       OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_logic_game_exit") {
    yesButton = GetButton(GetName() + "/window/button_1");
    noButton = GetButton(GetName() + "/window/button_0");
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, false);
}

void GUIGameLogicGameExitWindow::Update() {
    GUIGameLogicGameExitWindowBase::Update();
    if (!IsVisible())
        return;
    if (yesButton->clicked)
        result = ResultQuit;
    if (noButton->clicked)
        result = ResultResume;
}

void GUIGameLogicGameExitWindow::Show(int newMode) {
    GUIGameLogicGameExitWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
}

void GUIGameLogicGameExitWindow::Hide() {
    GUIGameLogicGameExitWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
