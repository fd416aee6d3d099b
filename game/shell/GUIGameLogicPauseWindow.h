// The pause shown over a running level: one button resumes play. It always enters and leaves with the
// animated title mount, since it is opened from play and closed toward it. The game creates the one
// window with its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameLogicPauseWindow : public GameFramework::GUIGameLogicPauseWindowBase, public GUIMenuWindow {
public:
    static constexpr int ResultResume = 19;

    GUIGameLogicPauseWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                            GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                            OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result, then reads the button while the window is on screen.
    void Update() override;
    using GUIMenuWindow::Show;
    void Show(int newMode) override;
    void Hide() override;

private:
    OrvexEngine::GUIButton* resumeButton =
        nullptr; // not owned; never null: a missing one is a hidden stand-in
};

} // namespace VelmoraBall
