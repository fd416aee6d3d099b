#include "game/shell/GUIRenameProfileWindow.h"

#include "engine/core/Controls.h"
#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "framework/GameBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUIEditBoxControl.h"

namespace VelmoraBall {

using GameFramework::GameBase;

GUIRenameProfileWindow::GUIRenameProfileWindow(GameFramework::ProfileManagerBase* profileManager,
                                               GameFramework::AudioPlayer* audioPlayer,
                                               GameTools::DataKeeper* dataKeeper,
                                               GUITools::GUIToolManager* toolManager,
                                               GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIRenameProfileWindowBase(profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    const std::string& own = GetName();
    nameBox = GetEditBoxControl(own + "/window/name");
    accept = GetButtonControl(own + "/window/button_1");
    cancel = GetButtonControl(own + "/window/button_0");
}

void GUIRenameProfileWindow::Show(int newMode, bool takeName, const std::wstring& profileName) {
    GUIRenameProfileWindowBase::Show(newMode, takeName, profileName);
    GUIMenuWindow::Show(true);
    if (takeName && nameBox != nullptr)
        nameBox->editBox->SetText(profileName);
}

void GUIRenameProfileWindow::Hide() {
    GUIRenameProfileWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIRenameProfileWindow::Update() {
    GUIRenameProfileWindowBase::Update();
    if (!GUIMenuWindow::IsVisible())
        return;
    // An empty name can be neither clicked nor entered; the check stands on its own too, so that a
    // description without the accept button cannot give a profile an empty name.
    ReadTrimmedText(nameBox, typedName);
    const bool canAccept = !typedName.empty();
    if (accept != nullptr)
        accept->button->SetEnabled(canAccept);
    if (Clicked(cancel))
        result = GameBase::ResultToProfiles;
    if (canAccept && (Clicked(accept) || EnterPressed()))
        result = RenameProfile(typedName) ? GameBase::ResultToProfiles : GameBase::ResultNameInUse;
}

} // namespace VelmoraBall
