#include "game/shell/GUIGameOverWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIWindowControl.h"

namespace VelmoraBall {

GUIGameOverWindow::GUIGameOverWindow(GameFramework::AudioPlayer* audioPlayer,
                                     GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                                     GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_over") {
    button = GetButton(GetName() + "/window/button_0");
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, false);
}

void GUIGameOverWindow::Update() {
    GUIGameOverWindowBase::Update();
    if (IsVisible() && button->clicked)
        result = ResultDone;
}

void GUIGameOverWindow::Show(int newMode) {
    GUIGameOverWindowBase::Show(newMode);
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, true);
    GUIMenuWindow::Show(true);
}

void GUIGameOverWindow::Hide() {
    GUIGameOverWindowBase::Hide();
    if (animatedTitleMount != nullptr)
        SetControlEnabled(animatedTitleMount, false);
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
