#include "game/shell/GUIContinueGameLogicWindow.h"

#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

GUIContinueGameLogicWindow::GUIContinueGameLogicWindow(GameFramework::AudioPlayer* audioPlayer,
                                                       GameFramework::ProfileManagerBase* profileManager,
                                                       GameTools::DataKeeper* dataKeeper,
                                                       GUITools::GUIToolManager* toolManager,
                                                       GUIMenuWindowManager* manager,
                                                       OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, "window_continue_game_logic"),
      profiles(profileManager) {
    const std::string prefix = GetName() + "/window/";
    continueButton = GetButton(prefix + "button_2");
    newGameButton = GetButton(prefix + "button_1");
    backButton = GetButton(prefix + "button_0");
    levelText = GetTextControl(prefix + "level");
    scoreText = GetTextControl(prefix + "score");
}

void GUIContinueGameLogicWindow::Update() {
    GUIContinueGameLogicWindowBase::Update();
    if (!IsVisible())
        return;
    if (continueButton->clicked)
        result = ResultContinue;
    if (newGameButton->clicked)
        result = ResultNewGame;
    if (backButton->clicked)
        result = ResultBack;
}

void GUIContinueGameLogicWindow::Show(int newMode) {
    GUIContinueGameLogicWindowBase::Show(newMode);
    GUIMenuWindow::Show(true);
    const GameFramework::ProfileBase* profile = profiles != nullptr ? profiles->GetCurrentProfile() : nullptr;
    if (profile == nullptr)
        return;
    const GameFramework::LevelPosition& position = profile->currentPosition;
    if (levelText != nullptr)
        levelText->SetText(OrvexEngine::UIntToTextW(position.stage + 1) + L"-" +
                           OrvexEngine::UIntToTextW(position.level + 1));
    if (scoreText != nullptr)
        scoreText->SetText(OrvexEngine::UIntToTextW(profile->scoreTotal));
}

void GUIContinueGameLogicWindow::Hide() {
    GUIContinueGameLogicWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

} // namespace VelmoraBall
