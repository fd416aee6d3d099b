#include "game/shell/GUIProfileNameConflictWindow.h"

#include "engine/core/Controls.h"
#include "engine/gui/GUIButton.h"
#include "framework/GameBase.h"
#include "guitools/GUIButtonControl.h"

namespace VelmoraBall {

using GameFramework::GameBase;

GUIProfileNameConflictWindow::GUIProfileNameConflictWindow(GameFramework::AudioPlayer* audioPlayer,
                                                           GameTools::DataKeeper* dataKeeper,
                                                           GUITools::GUIToolManager* toolManager,
                                                           GUIMenuWindowManager* manager,
                                                           OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    accept = GetButtonControl(GetName() + "/window/button_0");
}

void GUIProfileNameConflictWindow::Show(int newMode) {
    GUIProfileNameConflictWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
}

void GUIProfileNameConflictWindow::Hide() {
    GUIProfileNameConflictWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIProfileNameConflictWindow::Update() {
    GUIProfileNameConflictWindowBase::Update();
    if (!GUIMenuWindow::IsVisible())
        return;
    const OrvexEngine::Controls* controls = OrvexEngine::Controls::Instance();
    const bool accepted = (accept != nullptr && accept->button->clicked) ||
                          (controls != nullptr && controls->WasPressed("ENTER"));
    // Back to the window the name was typed in.
    if (accepted)
        result =
            mode == GameBase::ModeNewProfile ? GameBase::ResultToNewProfile : GameBase::ResultToRenameProfile;
}

} // namespace VelmoraBall
