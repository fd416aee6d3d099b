#include "engine/core/StringUtils.h"

#include "platform/win/Process.h"

namespace OrvexEngine {

std::string GetExecutableDirectory() {
    std::string path = platform::GetExecutablePath();
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return path;
    return path.substr(0, slash);
}

bool IsAbsolutePath(const std::string& path) {
    if (path.empty())
        return false;
    if (path[0] == '/')
        return true;
    if (path.size() < 2)
        return false;
    return path[1] == ':' || (path[0] == '\\' && path[1] == '\\');
}

} // namespace OrvexEngine
