#include "platform/win/MessageBox.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

bool DisplayAvailable() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

} // namespace

void ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
    if (DisplayAvailable()) {
        Uint32 flags = icon == MessageBoxIcon::Error     ? SDL_MESSAGEBOX_ERROR
                       : icon == MessageBoxIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                         : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr) == 0)
            return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

} // namespace platform
