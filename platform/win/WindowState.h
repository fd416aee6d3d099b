// The platform's own record of windows, focus, desktop, cursor and keys: the state Windows would keep and
// SDL either lacks (offscreen driver) or does not update for pushed events. Internal to platform/; one
// instance for the process, created on first use.
#pragma once

#include "platform/win/Events.h"
#include "platform/win/NativeWindow.h"

#include <array>
#include <deque>
#include <map>
#include <string>

namespace platform::detail {

struct NativeWindowRecord {
    SDL_Window* sdl = nullptr; // owned
    WindowProc procedure = nullptr;
    WindowStyle style = WindowStyle::Windowed;
    ScreenRect client;
    uint32_t iconWidth = 0; // 0: no icon of the program's own
    bool minimized = false;
    bool topmost = false;
};

// A registered window class: its procedure and the program resource of its icon (0: the desktop's default).
struct WindowClass {
    WindowProc procedure = nullptr;
    uint32_t iconResource = 0;
};

struct PlatformState {
    std::map<std::string, WindowClass> classes;
    std::map<WindowHandle, NativeWindowRecord> windows;
    WindowHandle focus = 0;
    bool videoStarted = false;

    bool desktopOverridden = false;
    DisplayMode desktop;
    bool workAreaOverridden = false;
    ScreenRect workArea;

    int32_t cursorX = 0; // screen pixels
    int32_t cursorY = 0;
    int cursorShowCounter = 0;
    bool swapButtons = false;
    CursorHandle currentCursor = 0;
    bool warpPending = false; // the motion event a warp produces is not the user's
    int32_t warpX = 0;
    int32_t warpY = 0;

    std::array<bool, 256> keysDown{}; // by virtual-key code
    std::deque<WindowMessage> queue;

    bool failRegisterClass = false;
    bool failCreateWindow = false;
    int windowStencilBits = 0; // asked of the GL windows created next
    bool failDeviceContext = false;
};

PlatformState& State();
// Null when the handle names no live window.
NativeWindowRecord* FindWindow(WindowHandle window);
// Starts SDL's video (and events) once; false when it cannot start.
bool StartVideo();

} // namespace platform::detail
