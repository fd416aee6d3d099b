#include "game/shell/GUIGameLogicPauseWindow.h"

#include "engine/gui/GUIButton.h"
#include "guitools/GUIWindowControl.h"

namespace VelmoraBall {

GUIGameLogicPauseWindow::GUIGameLogicPauseWindow(GameFramework::AudioPlayer* audioPlayer,
                                                 GameTools::DataKeeper* dataKeeper,
                                                 GUITools::GUIToolManager* toolManager,
                                                 GUIMenuWindowManager* manager,
                                                 OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_logic_pause") {
    resumeButton = GetButton(GetName() + "/window/button_0");
    if (staticTitleMount != nullptr)
        SetControlEnabled(staticTitleMount, false);
}

void GUIGameLogicPauseWindow::Update() {
    GUIGameLogicPauseWindowBase::Update();
    if (!IsVisible())
        return;
    if (resumeButton->clicked)
        result = ResultResume;
}

void GUIGameLogicPauseWindow::Show(int newMode) {
    GUIGameLogicPauseWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
}

void GUIGameLogicPauseWindow::Hide() {
    GUIGameLogicPauseWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
