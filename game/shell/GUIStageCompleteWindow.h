// Decides, after the last level of a stage was passed, whether the game goes on with the next stage or is
// complete. It has no look of its own: its result is set while it is shown, so the flow handles it in the
// same pass. Created once by the game's factory; the application root owns it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"

namespace VelmoraBall {

class GUIStageCompleteWindow : public GameFramework::GUIStageCompleteWindowBase {
public:
    static constexpr int ResultGameComplete = 22;
    static constexpr int ResultNextStage = 13;

    // levelManager: not owned; asked whether a level is the game's last.
    explicit GUIStageCompleteWindow(GameFramework::LevelManagerBase* levelManager);
    ~GUIStageCompleteWindow() override = default;

    using GUIStageCompleteWindowBase::Show;
    // Result 22 after the last level of the last stage, else 13, unseen until the flow has handled it.
    void Show(int newMode, const GameFramework::LevelPosition& passed) override;
};

} // namespace VelmoraBall
