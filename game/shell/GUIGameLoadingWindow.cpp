#include "game/shell/GUIGameLoadingWindow.h"

#include "gametools/DataKeeper.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

namespace {

// The keeper's own steps end after the temporary-texture pass and the hundred percentage steps.
constexpr uint32_t FirstExtraStep = 101;

} // namespace

GUIGameLoadingWindow::GUIGameLoadingWindow(GameFramework::AudioPlayer* audioPlayer,
                                           GameTools::DataKeeper* dataKeeper,
                                           GUITools::GUIToolManager* toolManager,
                                           GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {}

void GUIGameLoadingWindow::Show(int newMode, GameTools::DataKeeper* keeper) {
    GUILoadingWindowBase::Show(newMode, keeper);
    GUIMenuWindow::Show(true);
    ready = false;
}

void GUIGameLoadingWindow::Hide() {
    GUILoadingWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIGameLoadingWindow::Update() {
    GUIFrameworkWindow::Update();
    if (!IsVisible())
        return;
    GameTools::DataKeeper* keeper = GUILoadingWindowBase::dataKeeper;
    if (ready && !done && keeper != nullptr) {
        keeper->LoadNextStep();
        if (keeper->GetStep() >= static_cast<uint32_t>(keeper->GetExtraStepCount()) + FirstExtraStep) {
            done = true;
            result = 1;
        }
    }
    // Loading starts in the frame after the title has finished printing, so the player can read it.
    if (title != nullptr && (!title->IsActive() || !title->IsPrintingFinished()))
        return;
    ready = true;
}

} // namespace VelmoraBall
