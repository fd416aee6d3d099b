// The offer, from the main menu, to continue the current player's interrupted game, with the level and
// the score it stands at; the player continues, starts a new game or goes back. The game creates the one
// window with its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace GameFramework {
class ProfileManagerBase;
}

namespace VelmoraBall {

class GUIContinueGameLogicWindow : public GameFramework::GUIContinueGameLogicWindowBase,
                                   public GUIMenuWindow {
public:
    static constexpr int ResultContinue = 14;
    static constexpr int ResultNewGame = 13;
    static constexpr int ResultBack = 3;

    GUIContinueGameLogicWindow(GameFramework::AudioPlayer* audioPlayer,
                               GameFramework::ProfileManagerBase* profileManager,
                               GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                               GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result, then reads the buttons while the window is on screen; of two
    // clicked in one frame the later in the order continue, new game, back wins.
    void Update() override;
    using GUIMenuWindow::Show;
    // Shows the current profile's level ("stage-level", from 1) and score total.
    void Show(int newMode) override;
    void Hide() override;

private:
    GameFramework::ProfileManagerBase* profiles = nullptr; // not owned
    OrvexEngine::GUIButton* continueButton =
        nullptr; // not owned; never null: a missing one is a hidden stand-in
    OrvexEngine::GUIButton* newGameButton = nullptr; // not owned; never null
    OrvexEngine::GUIButton* backButton = nullptr;    // not owned; never null
    GUITools::GUITextControl* levelText = nullptr;   // not owned; or null when the description lacks it
    GUITools::GUITextControl* scoreText = nullptr;   // not owned; or null
};

} // namespace VelmoraBall
