// The window on screen while the game-wide data loads: once its title has printed it runs one staged
// loading step of the keeper per frame and reports code 1 in the frame of the last step; the flow then makes
// the other windows. Built at start-up from "window_game_loading", so its description may use only the
// basic resources and fonts. The game creates the one instance with the menu background; the application
// root deletes it with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace VelmoraBall {

class GUIGameLoadingWindow : public GameFramework::GUILoadingWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_game_loading";

    GUIGameLoadingWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                         GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                         OrvexEngine::GUIWindow* parent);

    using GUILoadingWindowBase::Show;
    using GUIMenuWindow::Show;
    // Comes on screen when the manager lets it; loading waits for the title to print again.
    void Show(int newMode, GameTools::DataKeeper* keeper) override;
    void Hide() override;
    // Serves both bases: the flow's per-frame update, which loads; the manager never calls it.
    void Update() override;

    bool IsReady() const { return ready; }

private:
    bool ready = false; // the title has printed: loading may run
};

} // namespace VelmoraBall
