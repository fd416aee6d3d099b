#include "platform/win/Process.h"

#include <climits>
#include <unistd.h>

namespace platform {

namespace {
std::string executablePathOverride;
}

std::string GetExecutablePath() {
    if (!executablePathOverride.empty())
        return executablePathOverride;
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(length));
}

void SetExecutablePathForTests(const std::string& path) {
    executablePathOverride = path;
}

} // namespace platform
