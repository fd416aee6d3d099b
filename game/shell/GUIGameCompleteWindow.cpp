#include "game/shell/GUIGameCompleteWindow.h"

#include "engine/gui/GUIButton.h"

namespace VelmoraBall {

GUIGameCompleteWindow::GUIGameCompleteWindow(GameFramework::AudioPlayer* audioPlayer,
                                             GameTools::DataKeeper* dataKeeper,
                                             GUITools::GUIToolManager* toolManager,
                                             GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_game_complete") {
    button = GetButton(GetName() + "/window/button_0");
}

void GUIGameCompleteWindow::Update() {
    GUIGameCompleteWindowBase::Update();
    if (IsVisible() && button->clicked)
        result = ResultDone;
}

void GUIGameCompleteWindow::Show(int newMode) {
    if (!show) {
        // The handler that opened the window may run after this window's handler in the flow's pass; an
        // unseen result lives into the next pass.
        result = ResultDone;
        resultSeen = false;
        return;
    }
    GUIGameCompleteWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
}

void GUIGameCompleteWindow::Hide() {
    GUIGameCompleteWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
