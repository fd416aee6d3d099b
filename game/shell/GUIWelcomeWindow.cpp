#include "game/shell/GUIWelcomeWindow.h"

#include "engine/core/Controls.h"
#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "framework/GameBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUITextTool.h"

namespace VelmoraBall {

using GameFramework::GameBase;

GUIWelcomeWindow::GUIWelcomeWindow(GameFramework::ProfileManagerBase* profileManager,
                                   GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                                   GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                                   OrvexEngine::GUIWindow* parent)
    : GUIWelcomeWindowBase(profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    const std::string& own = GetName();
    nameBox = GetEditBoxControl(own + "/window/name");
    accept = GetButtonControl(own + "/window/button_1");
    leave = GetButtonControl(own + "/window/button_0");
}

void GUIWelcomeWindow::Show(int newMode) {
    GUIWelcomeWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
    if (nameBox != nullptr)
        nameBox->editBox->SetText(L"");
}

void GUIWelcomeWindow::Hide() {
    GUIWelcomeWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIWelcomeWindow::Update() {
    GUIWelcomeWindowBase::Update();
    if (!GUIMenuWindow::IsVisible())
        return;
    if (Clicked(leave))
        result = GameBase::ResultToExit;
    // The accept button is never disabled here, so ENTER accepts whenever the window is on screen.
    if (Clicked(accept) || EnterPressed()) {
        std::wstring playerName = nameBox != nullptr ? OrvexEngine::TrimCopyW(nameBox->editBox->text) : L"";
        if (playerName.empty())
            playerName = textTool->GetText("welcome/player");
        CreateProfile(playerName);
        result = GameBase::ResultToMainMenu;
    }
}

} // namespace VelmoraBall
