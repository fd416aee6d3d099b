#include "game/shell/GameLoader.h"

#include "game/shell/Game.h"
#include "game/shell/Startup.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Shell.h"

#include <fstream>

namespace VelmoraBall {

namespace {

bool CanRead(const std::string& path) {
    std::ifstream file(path);
    return file.is_open();
}

} // namespace

GameLoader::GameLoader(void* instance, void* previousInstance, const std::string& commandLine,
                       int showCommand)
    : GameLoaderBase(instance, previousInstance, commandLine, showCommand, CompanyName, GameName,
                     BuiltInVersion) {}

GameFramework::GameBase* GameLoader::CreateGame() {
    game = new Game(companyName, gameName, version, registryKeyPath, installationDirectory, publisherName);
    return game;
}

int RunGame(const std::string& executableDirectory) {
    GameLoader loader(nullptr, nullptr, std::string(), 0);
    // Beside the executable, whatever installation folder the loader settled on.
    const std::string linkFile = executableDirectory + "/play.url";
    if (!CanRead(linkFile)) {
        platform::ShowMessageBox("Some files are corrupt. The game may not run. Please reinstall the game",
                                 "Error", platform::MessageBoxIcon::Information);
        return 1;
    }
    // Says once on standard error when the folder cannot hold the log, the settings and the profiles.
    PrepareUserDataDirectory();
    const bool ranCleanly = loader.Run();
    // A link file that went away during the run is not opened.
    if (CanRead(linkFile))
        platform::OpenWithShell(linkFile);
    return GameFramework::GameLoaderBase::ExitStatus(ranCleanly);
}

} // namespace VelmoraBall
