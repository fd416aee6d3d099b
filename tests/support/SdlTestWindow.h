// An SDL window that can carry an OpenGL context, for tests of the drawing layer that run without the
// engine's own window. Initialises SDL video for its lifetime; one at a time.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace VelmoraTest {

class SdlTestWindow {
public:
    SdlTestWindow(uint32_t width, uint32_t height);
    ~SdlTestWindow();
    SdlTestWindow(const SdlTestWindow&) = delete;
    SdlTestWindow& operator=(const SdlTestWindow&) = delete;

    SDL_Window* Get() const { return window; }

private:
    SDL_Window* window = nullptr; // owned
};

} // namespace VelmoraTest
