#include "platform/win/MessageBox.h"

#include "platform/win/Shell.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

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
