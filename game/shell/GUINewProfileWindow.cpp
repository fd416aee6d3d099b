#include "game/shell/GUINewProfileWindow.h"

#include "engine/core/Controls.h"
#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "framework/GameBase.h"
#include "framework/ProfileManagerBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

using GameFramework::GameBase;

GUINewProfileWindow::GUINewProfileWindow(GameFramework::ProfileManagerBase* profileManager,
                                         GameFramework::AudioPlayer* audioPlayer,
                                         GameTools::DataKeeper* dataKeeper,
                                         GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                                         OrvexEngine::GUIWindow* parent)
    : GUINewProfileWindowBase(profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    const std::string& own = GetName();
    nameBox = GetEditBoxControl(own + "/window/name");
    accept = GetButtonControl(own + "/window/button_1");
    cancel = GetButtonControl(own + "/window/button_0");
    cancelTitle = GetTextControl(own + "/window/button_0/title");
}

void GUINewProfileWindow::Show(int newMode, bool clearName) {
    GUINewProfileWindowBase::Show(newMode, clearName);
    GUIMenuWindow::Show(true);
    if (clearName && nameBox != nullptr)
        nameBox->editBox->SetText(L"");
    noProfiles = profileManager->GetProfiles().empty();
    if (cancelTitle != nullptr)
        cancelTitle->SetTextKey(noProfiles ? "common/exit" : "common/cancel");
}

void GUINewProfileWindow::Hide() {
    GUINewProfileWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUINewProfileWindow::Update() {
    GUINewProfileWindowBase::Update();
    if (!GUIMenuWindow::IsVisible())
        return;
    // An empty name can be neither clicked nor entered; the check stands on its own too, so that a
    // description without the accept button cannot make a profile without a name.
    ReadTrimmedText(nameBox, typedName);
    const bool canAccept = !typedName.empty();
    if (accept != nullptr)
        accept->button->SetEnabled(canAccept);
    if (Clicked(cancel))
        result = noProfiles ? GameBase::ResultToExit : GameBase::ResultToProfiles;
    if (canAccept && (Clicked(accept) || EnterPressed()))
        result = CreateProfile(typedName) ? GameBase::ResultToProfiles : GameBase::ResultNameInUse;
}

} // namespace VelmoraBall
