// The program entry of Velmora Ball.
#include "engine/core/Engine.h"
#include "engine/core/Error.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The user data directory: the application-data folder, the company and the game.
std::string UserDataDirectory() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::string base = dataHome != nullptr && dataHome[0] != '\0'
                           ? dataHome
                           : std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.local/share";
    return base + "/Quillfen Games/Velmora Ball";
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
