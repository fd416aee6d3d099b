#include "tests/support/SdlTestWindow.h"

#include <SDL2/SDL.h>

#include <stdexcept>
#include <string>

namespace VelmoraTest {

SdlTestWindow::SdlTestWindow(uint32_t width, uint32_t height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("SDL video: ") + SDL_GetError());
    window = SDL_CreateWindow("test", 0, 0, static_cast<int>(width), static_cast<int>(height),
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr)
        throw std::runtime_error(std::string("SDL window: ") + SDL_GetError());
}

SdlTestWindow::~SdlTestWindow() {
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace VelmoraTest
