// The window on screen while a level's data loads: once its title has printed it loads the whole level
// keeper in one frame and reports code 1; the flow then creates the level in play. Built from
// "window_game_logic_loading". The game creates the one instance with the other windows; the application
// root deletes it with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace GameFramework {
class LevelManagerBase;
}

namespace VelmoraBall {

class GUIGameLogicLoadingWindow : public GameFramework::GUILoadingWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_game_logic_loading";

    GUIGameLogicLoadingWindow(GameFramework::LevelManagerBase* levelManager,
                              GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
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
    GameFramework::LevelManagerBase* levelManager = nullptr; // not owned; kept for the game's use
    bool ready = false;                                      // the title has printed: loading may run
};

} // namespace VelmoraBall
