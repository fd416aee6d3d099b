// The game's loader: the company, game and built-in version the installation's registry key, user folder
// and file names are made from, and the factory of the game's application root.
#pragma once

#include "framework/GameLoaderBase.h"

namespace VelmoraBall {

class GameLoader : public GameFramework::GameLoaderBase {
public:
    static constexpr const char* CompanyName = "Quillfen Games";
    static constexpr const char* GameName = "Velmora Ball";
    static constexpr int BuiltInVersion = 100; // shown as 1.00

    GameLoader(void* instance, void* previousInstance, const std::string& commandLine, int showCommand);

    // The fully initialised Game; its initialisation errors leave here and Run reports them.
    GameFramework::GameBase* CreateGame() override;
};

// The program entry's work: with the link file "play.url" beside the executable the game runs and the link
// file opens afterwards (only where a desktop can show it); without it only an "Error" box appears and
// nothing else runs. The exit status is 0 after a normal end, 1 after an error or the missing file.
int RunGame(const std::string& executableDirectory);

} // namespace VelmoraBall
