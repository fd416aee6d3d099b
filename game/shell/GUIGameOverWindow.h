// The end of a lost game: one button goes on. It enters and leaves with the animated title mount. The game
// creates the one window with its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameOverWindow : public GameFramework::GUIGameOverWindowBase, public GUIMenuWindow {
public:
    static constexpr int ResultDone = 1;

    GUIGameOverWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                      GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                      OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result, then reads the button while the window is on screen.
    void Update() override;
    using GUIMenuWindow::Show;
    void Show(int newMode) override;
    void Hide() override;

private:
    OrvexEngine::GUIButton* button = nullptr; // not owned; never null: a missing one is a hidden stand-in
};

} // namespace VelmoraBall
