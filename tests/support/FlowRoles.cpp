#include "tests/support/FlowRoles.h"

#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUIFrameworkWindowBases.h"
#include "framework/GUIGameLogicMenuWindowBase.h"
#include "framework/GUIGameLogicWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIOptionsWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"

namespace VelmoraTest {

std::vector<FlowRole> FlowRoles(const GameFramework::GameBase& root) {
    return {
        {"logos", root.logosWindow},
        {"loading", root.loadingWindow},
        {"welcome", root.welcomeWindow},
        {"exit", root.exitWindow},
        {"main menu", root.mainMenuWindow},
        {"profiles", root.profilesWindow},
        {"level loading", root.gameLogicLoadingWindow},
        {"new profile", root.newProfileWindow},
        {"rename profile", root.renameProfileWindow},
        {"delete profile", root.deleteProfileWindow},
        {"name conflict", root.profileNameConflictWindow},
        {"start", root.startGameLogicWindow},
        {"continue", root.continueGameLogicWindow},
        {"high scores", root.highScoresWindow},
        {"options", root.optionsWindow},
        {"help", root.helpWindow},
        {"play", root.gameLogicWindow},
        {"pause", root.gameLogicPauseWindow},
        {"menu", root.gameLogicMenuWindow},
        {"menu exit", root.gameLogicMenuExitWindow},
        {"restart", root.gameLogicRestartWindow},
        {"game exit", root.gameLogicGameExitWindow},
        {"level complete", root.levelCompleteWindow},
        {"stage complete", root.stageCompleteWindow},
        {"game complete", root.gameCompleteWindow},
        {"game over", root.gameOverWindow},
        {"optional", root.optionalWindow},
    };
}

GameFramework::GUIFrameworkWindow* FlowRoleWindow(const GameFramework::GameBase& root,
                                                  const std::string& role) {
    for (const auto& [name, window] : FlowRoles(root))
        if (role == name)
            return window;
    return nullptr;
}

} // namespace VelmoraTest
