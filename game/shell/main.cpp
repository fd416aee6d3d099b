// The program entry of Velmora Ball.
#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "engine/files/FilePaths.h"

#include <cstdio>
#include <string>

namespace {

// The user data directory: the application-data folder, the company and the game.
std::string UserDataDirectory() {
    return OrvexEngine::GetUserDataFolder() + "\\Quillfen Games\\Velmora Ball";
}

} // namespace

int main() {
    try {
        OrvexEngine::EngineStartupParams params;
        params.title = "Velmora Ball";
        params.version = 100;
        params.logEnabled = true;
        params.logDirectory = UserDataDirectory();
        params.configDirectory = UserDataDirectory();
        params.configName = params.title;
        params.dataDirectory = "data";
        params.defaultVideoMode = "1024x768x32";
        params.saveConfigOnExit = true;

        OrvexEngine::Engine engine(params);
        while (!engine.IsExitRequested()) {
            engine.BeginFrame();
            engine.RequestExit();
            engine.Tick(0);
        }
        return 0;
    } catch (const OrvexEngine::Error& error) {
        std::fprintf(stderr, "Fatal Error: %s\n", error.GetText().c_str());
        return 1;
    }
}
