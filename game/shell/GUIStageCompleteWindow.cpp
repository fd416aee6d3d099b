#include "game/shell/GUIStageCompleteWindow.h"

namespace VelmoraBall {

GUIStageCompleteWindow::GUIStageCompleteWindow(GameFramework::LevelManagerBase* levelManager)
    : GUIStageCompleteWindowBase(levelManager) {}

void GUIStageCompleteWindow::Show(int newMode, const GameFramework::LevelPosition& passed) {
    GUIStageCompleteWindowBase::Show(newMode, passed);
    const bool last = levelManager != nullptr && levelManager->IsLastLevel(passed);
    result = last ? ResultGameComplete : ResultNextStage;
    resultSeen = false;
}

} // namespace VelmoraBall
