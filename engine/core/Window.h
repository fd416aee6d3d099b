// The engine's one application window: creates it windowed or full screen, restyles it for the render
// system's video mode, runs its window procedure and turns system events into configuration commands
// (closing ends the program, Alt+Enter and Maximize switch to full screen). It keeps the frame's last key
// event for Controls and measures the desktop's aspect once, for the 4:3 picture on wide and tall desktops.
// Created after Config and deleted by the Engine; single instance, reached through Window::Instance().
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"
#include "platform/win/NativeWindow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Window : public GlobalPointerHolder<Window> {
public:
    // Opens the window; a full-screen request places it at (0, 0) with the mode's size, a windowed one
    // centred in the work area or at `windowPosition`. Fails with FatalError (after logging "PROGRAM
    // ABORTING: "). A parent window (embedded mode) is not supported on this platform and fails as a window
    // that cannot be created.
    Window(const std::string& title, uint32_t parent, uint32_t iconResource, uint32_t clientWidth,
           uint32_t clientHeight, bool fullScreen, bool centerWindow, const Vec2i& windowPosition);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // The render system's chosen mode, at every device creation. Ignored in embedded mode.
    void SetMode(uint32_t modeWidth, uint32_t modeHeight, bool fullScreen);
    // Once a frame: Alt+Enter while the window is active switches "v_fullscreen", once per press.
    void Update();
    bool HasFocus() const;
    // Asks for minimising as the title bar's button does; the window procedure handles it.
    void Minimize();
    void SetTitle(const std::string& text);
    void SetCursor(platform::CursorHandle newCursor);
    // The program's cursor with this resource id; the window does not keep it.
    platform::CursorHandle LoadCursor(uint16_t resourceId) const;

    // The client size for the "v_mode" setting: a size no window can have (zero, or beyond any display)
    // puts the default mode back, and a size beyond the desktop is reduced to it; both are logged.
    static void ChooseClientSize(uint32_t& clientWidth, uint32_t& clientHeight);

    // The character of one typed UTF-16 code unit, as the key event stores it.
    static uint16_t TranslateChar(uint16_t unit);
    static intptr_t StaticWndProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam);

    // Read by the render system, cameras, the GUI and Controls.
    bool minimized = false;
    bool centered = false;
    Vec2i position;
    uint32_t width = 0;
    uint32_t height = 0;
    bool fullscreen = false;
    std::vector<platform::WindowHandle> ancestors; // embedded mode: the host first, the top level last
    platform::WindowHandle parentWindow = 0;
    platform::WindowHandle handle = 0;
    platform::ModuleHandle instanceHandle = 0;
    platform::DeviceContext deviceContext = 0;
    platform::CursorHandle cursor = 0;
    // The frame's last key event: a virtual-key code, or a UTF-16 code unit when keyEventIsChar is set.
    bool keyEventPending = false;
    bool keyEventIsChar = false;
    uint16_t keyEventCode = 0;
    platform::ScreenRect workArea;
    platform::ScreenRect outerRect;
    bool wideDesktop = false;
    bool tallDesktop = false;
    float desktopAspect = 0;

private:
    intptr_t WndProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    intptr_t HandleSystemCommand(platform::WindowHandle window, uintptr_t command, intptr_t lParam);
    platform::WindowStyle Style() const;
    platform::ScreenRect ClientRect() const;
    // "v_fullscreen" set (or inverted), the settings file written and "v_window_change_mode" triggered.
    void SwitchFullScreen(bool value);
    [[noreturn]] void FailCreation(const std::string& text);
    void ReleaseHandles();

    static inline Window* instance = nullptr; // not owned: the window receiving the class's messages
    bool altEnterHeld = false;                // Alt+Enter already acted on and not yet released
};

} // namespace OrvexEngine
