// The question, asked from the in-game menu, whether to start the level again; answering no steps back to the
// menu. Between the menu and its questions the title keeps the static mount, so that its animation does not
// replay on every step; the mount stays only when the player steps back. The game creates the one window
// with its windows; the application root deletes it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameLogicRestartWindow : public GameFramework::GUIGameLogicRestartWindowBase, public GUIMenuWindow {
public:
    static constexpr int ResultRestart = 13;
    static constexpr int ResultBackToMenu = 16;

    GUIGameLogicRestartWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                              GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                              OrvexEngine::GUIWindow* parent);

    // Serves both bases: clears the result, then reads the buttons while the window is on screen; with
    // both clicked in one frame, stepping back wins.
    void Update() override;
    using GUIMenuWindow::Show;
    void Show(int newMode) override;
    void Hide() override;

private:
    OrvexEngine::GUIButton* yesButton = nullptr; // not owned; never null: a missing one is a hidden stand-in
    OrvexEngine::GUIButton* noButton = nullptr;  // not owned; never null
};

} // namespace VelmoraBall
