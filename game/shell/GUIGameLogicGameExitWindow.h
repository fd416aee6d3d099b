// The question, asked during play, whether to quit the program; answering no resumes play. It enters and
// leaves with the animated title mount, since it is opened from play. The game creates the one window with
// its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameLogicGameExitWindow : public GameFramework::GUIGameLogicGameExitWindowBase,
                                   public GUIMenuWindow {
public:
    static constexpr int ResultQuit = 23;
    static constexpr int ResultResume = 19;

    GUIGameLogicGameExitWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                               GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                               OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result, then reads the buttons while the window is on screen; with
    // both clicked in one frame, resuming wins.
    void Update() override;
    using GUIMenuWindow::Show;
    void Show(int newMode) override;
    void Hide() override;

private:
    OrvexEngine::GUIButton* yesButton = nullptr; // not owned; never null: a missing one is a hidden stand-in
    OrvexEngine::GUIButton* noButton = nullptr;  // not owned; never null
};

} // namespace VelmoraBall
