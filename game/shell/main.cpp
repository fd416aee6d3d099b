// The program entry of Velmora Ball.
#include "exe_resources.h"
#include "game/shell/GameLoader.h"
#include "game/shell/ProgramResources.h"
#include "game/shell/Startup.h"
#include "platform/win/Process.h"
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

std::string ExecutableDirectory() {
    const std::string path = platform::GetExecutablePath();
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

int main() {
    platform::SetProgramResourceLookup(FindResource);
    return VelmoraBall::RunReportingFailures([] {
        // The system cursor the executable carries, before the window can ask for it.
        if (const VelmoraBall::ExeResource* cursor = VelmoraBall::FindExeResource(1000))
            VelmoraBall::InstallCursorResource(cursor->id, cursor->bytes, cursor->size);
        return VelmoraBall::RunGame(ExecutableDirectory());
    });
}
