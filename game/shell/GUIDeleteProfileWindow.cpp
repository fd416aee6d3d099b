#include "game/shell/GUIDeleteProfileWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/GameBase.h"
#include "framework/ProfileManagerBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

using GameFramework::GameBase;

GUIDeleteProfileWindow::GUIDeleteProfileWindow(GameFramework::ProfileManagerBase* profileManager,
                                               GameFramework::AudioPlayer* audioPlayer,
                                               GameTools::DataKeeper* dataKeeper,
                                               GUITools::GUIToolManager* toolManager,
                                               GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIDeleteProfileWindowBase(profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    const std::string& own = GetName();
    confirm = GetButtonControl(own + "/window/button_1");
    cancel = GetButtonControl(own + "/window/button_0");
}

void GUIDeleteProfileWindow::Show(int newMode, const std::wstring& profileName) {
    GUIDeleteProfileWindowBase::Show(newMode, profileName);
    GUIMenuWindow::Show(true);
    // Quoted as a literal of a text expression; variables are put in after the text is composed, so the
    // name shows as it was typed.
    if (text != nullptr)
        text->SetVariable(L"PROFILE_NAME", L"\"" + profileName + L"\"");
}

void GUIDeleteProfileWindow::Hide() {
    GUIDeleteProfileWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIDeleteProfileWindow::Update() {
    GUIDeleteProfileWindowBase::Update();
    if (!GUIMenuWindow::IsVisible())
        return;
    if (Clicked(cancel))
        result = GameBase::ResultToProfiles;
    if (Clicked(confirm)) {
        DeleteProfile();
        result =
            profileManager->GetProfiles().empty() ? GameBase::ResultToNewProfile : GameBase::ResultToProfiles;
    }
}

} // namespace VelmoraBall
