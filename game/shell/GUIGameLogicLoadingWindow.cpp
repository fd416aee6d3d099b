#include "game/shell/GUIGameLogicLoadingWindow.h"

#include "gametools/DataKeeper.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

GUIGameLogicLoadingWindow::GUIGameLogicLoadingWindow(GameFramework::LevelManagerBase* levelManager,
                                                     GameFramework::AudioPlayer* audioPlayer,
                                                     GameTools::DataKeeper* dataKeeper,
                                                     GUITools::GUIToolManager* toolManager,
                                                     GUIMenuWindowManager* manager,
                                                     OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName),
      levelManager(levelManager) {}

void GUIGameLogicLoadingWindow::Show(int newMode, GameTools::DataKeeper* keeper) {
    GUILoadingWindowBase::Show(newMode, keeper);
    GUIMenuWindow::Show(true);
    ready = false;
}

void GUIGameLogicLoadingWindow::Hide() {
    GUILoadingWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIGameLogicLoadingWindow::Update() {
    GUIFrameworkWindow::Update();
    if (!IsVisible())
        return;
    GameTools::DataKeeper* keeper = GUILoadingWindowBase::dataKeeper;
    // Once only: the flow hides the window in the next frame, but a level loaded twice would make every
    // resource twice.
    if (ready && !done && keeper != nullptr) {
        keeper->LoadAll();
        done = true;
        result = 1;
    }
    // Loading waits until the title has finished printing, so the player can read it.
    if (title != nullptr && (!title->IsActive() || !title->IsPrintingFinished()))
        return;
    ready = true;
}

} // namespace VelmoraBall
