// The program entry of Velmora Ball.
#include "engine/core/Engine.h"
#include "exe_resources.h"
#include "game/shell/ProgramResources.h"
#include "game/shell/Startup.h"
#include "platform/win/Events.h"
#include "platform/win/ProgramResources.h"

#include <string>

namespace {

// The platform finds the program's own resources (its window icon) in the table compiled into it.
platform::ResourceBytes FindResource(uint32_t id) {
    const VelmoraBall::ExeResource* resource = VelmoraBall::FindExeResource(id);
    if (resource == nullptr)
        return {};
    return {resource->bytes, resource->size};
}

} // namespace

int main() {
    platform::SetProgramResourceLookup(FindResource);
    return VelmoraBall::RunReportingFailures([] {
        // The system cursor the executable carries, before the window can ask for it.
        if (const VelmoraBall::ExeResource* cursor = VelmoraBall::FindExeResource(1000))
            VelmoraBall::InstallCursorResource(cursor->id, cursor->bytes, cursor->size);
        const std::string userData = VelmoraBall::PrepareUserDataDirectory();
        OrvexEngine::EngineStartupParams params;
        params.title = "Velmora Ball";
        params.version = 100;
        params.logEnabled = true;
        params.logDirectory = userData;
        params.configDirectory = userData;
        params.configName = params.title;
        params.dataDirectory = "data";
        params.defaultVideoMode = "1024x768x32";
        params.iconResource = 101;
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
    });
}
