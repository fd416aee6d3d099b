// The platform's windows: a window class with its procedure, top-level SDL windows created windowed or
// full screen, their placement, focus and minimised state, and the desktop they live on.
// Implements: one process-wide class table, windows made with SDL_WINDOW_OPENGL (the renderer makes its GL
// context in them), focus and minimised state kept here because SDL's offscreen driver has none.
// Does not implement: child (embedded) windows, which this platform does not support, nor real display-mode
// changes: full screen covers the desktop and the renderer stretches the mode's picture over it.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;

namespace platform {

using WindowHandle = uint32_t;  // 0: none. Stays valid (and unique) until the window is destroyed.
using ModuleHandle = uintptr_t; // the program's module; never 0
using DeviceContext = uint32_t; // 0: none
using CursorHandle = uint32_t;  // 0: none

// A window procedure: (window, message, wParam, lParam) -> result. Messages are defined in Events.h.
using WindowProc = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// A rectangle in screen pixels. In full screen the screen is the video mode: (0, 0) to its size.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct DisplayMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
};

enum class WindowStyle { Windowed, FullScreen, Child };

ModuleHandle GetModuleHandle();

// Registers a class name with its procedure and the program's image resource its windows show as their
// icon (0, or a resource the program lacks: the desktop's default icon); false when the name is taken (or a
// failure is forced).
bool RegisterWindowClass(const std::string& className, WindowProc procedure, uint32_t iconResource = 0);
bool UnregisterWindowClass(const std::string& className);

// The stencil bits the GL windows created from now on ask for (0 or 8): a program that draws with a stencil
// asks before its window exists, so that it can draw into the window's own framebuffer.
void SetWindowStencilBits(int bits);

// Creates a hidden window of a registered class whose client area covers `client` (screen pixels; in full
// screen its size is the video mode's). 0 on failure; a Child window (embedded mode) always fails here.
WindowHandle CreateNativeWindow(const std::string& className, const std::string& title, WindowStyle style,
                                const ScreenRect& client, WindowHandle parent);
void DestroyNativeWindow(WindowHandle window);
bool IsWindowAlive(WindowHandle window);
// The window's parent (always 0 here: there are no child windows).
WindowHandle GetParentWindow(WindowHandle window);

// The outer rectangle of a window of this style around the client rectangle (the frame is drawn by the
// desktop's window manager, outside what the program places, so it adds nothing).
ScreenRect AdjustWindowRect(const ScreenRect& client, WindowStyle style);
// Restyles and places the window so that its client area covers `client`, then shows it.
void SetWindowStyle(WindowHandle window, WindowStyle style, const ScreenRect& client);
void SetWindowTopmost(WindowHandle window, bool topmost);
void ShowNativeWindow(WindowHandle window);
void SetWindowTitle(WindowHandle window, const std::string& title);
// The client rectangle in screen pixels (its size is the video mode's size in full screen).
ScreenRect GetClientRect(WindowHandle window);
WindowStyle GetWindowStyle(WindowHandle window);

// The window with the keyboard focus (0: another program's).
WindowHandle GetFocusWindow();
void SetFocusWindow(WindowHandle window);
// Minimising and restoring; the state is the platform's, so it is the same on every video driver.
bool IsWindowMinimized(WindowHandle window);
void MinimizeNativeWindow(WindowHandle window);
void RestoreNativeWindow(WindowHandle window);

// The usable part of the desktop (without panels), measured now.
ScreenRect GetWorkArea();
// The desktop's own mode, as the user configured it (not the mode a full-screen program set).
DisplayMode GetDesktopMode();
// Puts the desktop's own mode back after full screen (nothing to undo here: full screen never changes it).
void RestoreDesktopMode();

DeviceContext GetDeviceContext(WindowHandle window);
void ReleaseDeviceContext(WindowHandle window, DeviceContext context);

// The SDL window behind a handle, or null. Only platform code may call it (the renderer makes its GL
// context here; in full screen the drawable covers the desktop while GetClientRect keeps the mode's size).
SDL_Window* GetSdlWindow(WindowHandle window);

} // namespace platform
