// The program entry of Velmora Ball.
#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "engine/files/FilePaths.h"
#include "platform/win/Events.h"
#include "platform/win/MessageBox.h"

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
        // One window message at a time; a frame whenever none is waiting.
        while (!engine.IsExitRequested()) {
            platform::WindowMessage message;
            if (platform::PeekWindowMessage(message)) {
                platform::TranslateWindowMessage(message);
                platform::DispatchWindowMessage(message);
                continue;
            }
            engine.BeginFrame();
            engine.Tick(0);
        }
        return 0;
    } catch (const OrvexEngine::Error& error) {
        platform::ShowMessageBox(error.GetText(), "Fatal Error", platform::MessageBoxIcon::Error);
        return 1;
    }
}
