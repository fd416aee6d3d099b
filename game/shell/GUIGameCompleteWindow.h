// The congratulation after the last stage. Each player sees it once: before the flow opens it the game
// sets whether it may show, and when it may not it answers at once without coming on screen. The game
// creates the one window with its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameCompleteWindow : public GameFramework::GUIGameCompleteWindowBase, public GUIMenuWindow {
public:
    static constexpr int ResultDone = 1;

    GUIGameCompleteWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                          GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                          OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result, then reads the button while the window is on screen.
    void Update() override;
    using GUIMenuWindow::Show;
    // Without show the result is set here, and kept for the flow's next pass of the same frame.
    void Show(int newMode) override;
    void Hide() override;

    // Whether the next Show puts the window on screen; stays as last set.
    bool show = true;

private:
    OrvexEngine::GUIButton* button = nullptr; // not owned; never null: a missing one is a hidden stand-in
};

} // namespace VelmoraBall
