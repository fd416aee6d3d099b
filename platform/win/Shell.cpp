#include "platform/win/Shell.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

std::function<void(const std::string&)>& TestOpener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

// Starts the desktop's opener detached: the grandchild runs it, the child ends at once and is reaped here,
// so no zombie is left and the game never waits for a browser.
bool SpawnOpener(const std::string& target) {
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (fork() == 0) {
            setsid();
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, STDIN_FILENO);
                dup2(null, STDOUT_FILENO);
                dup2(null, STDERR_FILENO);
            }
            execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

bool DisplayAvailable() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

std::string ReadShellTarget(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        return {};
    std::string line;
    bool inShortcut = false;
    bool isLink = false;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            inShortcut = line == "[InternetShortcut]";
            isLink = isLink || inShortcut;
            continue;
        }
        if (inShortcut && line.compare(0, 4, "URL=") == 0)
            return Trim(line.substr(4));
    }
    // A link without an address opens nothing; any other document opens as itself.
    return isLink ? std::string() : "file://" + path;
}

bool OpenWithShell(const std::string& path) {
    const std::string target = ReadShellTarget(path);
    if (target.empty())
        return false;
    if (TestOpener()) {
        TestOpener()(target);
        return true;
    }
    if (!DisplayAvailable())
        return false;
    return SpawnOpener(target);
}

void SetShellOpenerForTests(std::function<void(const std::string& target)> opener) {
    TestOpener() = std::move(opener);
}

} // namespace platform
