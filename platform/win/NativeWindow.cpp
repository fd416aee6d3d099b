#include "platform/win/NativeWindow.h"
#include "platform/win/ProgramResources.h"

#include "platform/win/WindowState.h"

#include <SDL2/SDL.h>

namespace platform {

namespace detail {

PlatformState& State() {
    static PlatformState state;
    return state;
}

NativeWindowRecord* FindWindow(WindowHandle window) {
    auto found = State().windows.find(window);
    return found == State().windows.end() ? nullptr : &found->second;
}

bool StartVideo() {
    PlatformState& state = State();
    if (state.videoStarted)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return false;
    // Text arrives as its own events, which become character messages.
    SDL_StartTextInput();
    state.videoStarted = true;
    // The GL library stays loaded for the process: SDL would otherwise unload it with the last window and
    // load it again with the next, and the driver's allocations would be lost with its module each time.
    SDL_GL_LoadLibrary(nullptr);
    return true;
}

} // namespace detail

using detail::FindWindow;
using detail::State;

namespace {

Uint32 FullScreenFlags(WindowStyle style) {
    return style == WindowStyle::FullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
}

void PlaceSdlWindow(detail::NativeWindowRecord& record) {
    SDL_SetWindowFullscreen(record.sdl, FullScreenFlags(record.style));
    if (record.style != WindowStyle::FullScreen) {
        SDL_SetWindowSize(record.sdl, record.client.width, record.client.height);
        SDL_SetWindowPosition(record.sdl, record.client.left, record.client.top);
    }
}

// The class's icon from the program's resources; a missing or damaged resource leaves the desktop's default.
void SetIcon(detail::NativeWindowRecord& record, uint32_t iconResource) {
    ImageResource image;
    if (iconResource == 0 || !FindImageResource(iconResource, image))
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(image.rgba),
                                                              int(image.width), int(image.height), 32,
                                                              int(image.width * 4), SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(record.sdl, surface); // SDL keeps its own copy
    SDL_FreeSurface(surface);
    record.iconWidth = image.width;
}

} // namespace

ModuleHandle GetModuleHandle() {
    return 0x400000; // the program's image; the number only has to be non-zero
}

bool RegisterWindowClass(const std::string& className, WindowProc procedure, uint32_t iconResource) {
    detail::PlatformState& state = State();
    if (state.failRegisterClass || procedure == nullptr || state.classes.count(className) != 0)
        return false;
    if (!detail::StartVideo())
        return false;
    state.classes[className] = detail::WindowClass{procedure, iconResource};
    return true;
}

bool UnregisterWindowClass(const std::string& className) {
    return State().classes.erase(className) != 0;
}

void SetWindowStencilBits(int bits) {
    State().windowStencilBits = bits > 0 ? 8 : 0;
}

WindowHandle CreateNativeWindow(const std::string& className, const std::string& title, WindowStyle style,
                                const ScreenRect& client, WindowHandle /*parent*/) {
    detail::PlatformState& state = State();
    auto found = state.classes.find(className);
    if (found == state.classes.end() || state.failCreateWindow || style == WindowStyle::Child)
        return 0;
    if (client.width <= 0 || client.height <= 0)
        return 0;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | FullScreenFlags(style);
    int left = style == WindowStyle::FullScreen ? 0 : client.left;
    int top = style == WindowStyle::FullScreen ? 0 : client.top;
    // The renderer draws into the window's own framebuffer when it can: ask for the depth buffer it uses
    // most (24 bits, with a stencil only for a program that asked: it costs every clear and depth write), and
    // take what the display has when it has not that.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, state.windowStencilBits);
    SDL_Window* sdl = SDL_CreateWindow(title.c_str(), left, top, client.width, client.height, flags);
    if (sdl == nullptr) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
        sdl = SDL_CreateWindow(title.c_str(), left, top, client.width, client.height, flags);
    }
    if (sdl == nullptr)
        return 0;
    WindowHandle handle = SDL_GetWindowID(sdl);
    detail::NativeWindowRecord& record = state.windows[handle];
    record.sdl = sdl;
    record.procedure = found->second.procedure;
    SetIcon(record, found->second.iconResource);
    record.style = style;
    record.client = client;
    return handle;
}

void DestroyNativeWindow(WindowHandle window) {
    detail::PlatformState& state = State();
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr)
        return;
    SDL_DestroyWindow(record->sdl);
    state.windows.erase(window);
    if (state.focus == window)
        state.focus = 0;
    // Messages for a window that no longer exists would reach a procedure whose object is gone.
    std::erase_if(state.queue, [window](const WindowMessage& m) { return m.window == window; });
}

bool IsWindowAlive(WindowHandle window) {
    return FindWindow(window) != nullptr;
}

WindowHandle GetParentWindow(WindowHandle /*window*/) {
    return 0;
}

ScreenRect AdjustWindowRect(const ScreenRect& client, WindowStyle /*style*/) {
    return client;
}

void SetWindowStyle(WindowHandle window, WindowStyle style, const ScreenRect& client) {
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr || style == WindowStyle::Child || client.width <= 0 || client.height <= 0)
        return;
    record->style = style;
    record->client = client;
    if (style == WindowStyle::FullScreen) {
        record->client.left = 0;
        record->client.top = 0;
    }
    PlaceSdlWindow(*record);
    ShowNativeWindow(window);
}

void SetWindowTopmost(WindowHandle window, bool topmost) {
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr)
        return;
    record->topmost = topmost;
    SDL_SetWindowAlwaysOnTop(record->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void ShowNativeWindow(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr)
        return;
    SDL_ShowWindow(record->sdl);
    SDL_RaiseWindow(record->sdl);
}

void SetWindowTitle(WindowHandle window, const std::string& title) {
    if (detail::NativeWindowRecord* record = FindWindow(window))
        SDL_SetWindowTitle(record->sdl, title.c_str());
}

ScreenRect GetClientRect(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    return record == nullptr ? ScreenRect() : record->client;
}

WindowStyle GetWindowStyle(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    return record == nullptr ? WindowStyle::Windowed : record->style;
}

WindowHandle GetFocusWindow() {
    return State().focus;
}

void SetFocusWindow(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr)
        return;
    State().focus = window;
    SDL_SetWindowInputFocus(record->sdl);
}

bool IsWindowMinimized(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    return record != nullptr && record->minimized;
}

void MinimizeNativeWindow(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr || record->minimized)
        return;
    record->minimized = true;
    if (State().focus == window)
        State().focus = 0;
    SDL_MinimizeWindow(record->sdl);
}

void RestoreNativeWindow(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    if (record == nullptr || !record->minimized)
        return;
    record->minimized = false;
    SDL_RestoreWindow(record->sdl);
    SetFocusWindow(window);
}

ScreenRect GetWorkArea() {
    detail::PlatformState& state = State();
    if (state.workAreaOverridden)
        return state.workArea;
    ScreenRect area;
    SDL_Rect bounds;
    if (detail::StartVideo() && SDL_GetDisplayUsableBounds(0, &bounds) == 0)
        area = {bounds.x, bounds.y, bounds.w, bounds.h};
    else {
        DisplayMode desktop = GetDesktopMode();
        area = {0, 0, static_cast<int32_t>(desktop.width), static_cast<int32_t>(desktop.height)};
    }
    return area;
}

DisplayMode GetDesktopMode() {
    detail::PlatformState& state = State();
    if (state.desktopOverridden)
        return state.desktop;
    DisplayMode mode{1024, 768, 32};
    SDL_DisplayMode sdlMode;
    if (detail::StartVideo() && SDL_GetDesktopDisplayMode(0, &sdlMode) == 0 && sdlMode.w > 0 &&
        sdlMode.h > 0) {
        mode.width = static_cast<uint32_t>(sdlMode.w);
        mode.height = static_cast<uint32_t>(sdlMode.h);
        mode.bitsPerPixel = SDL_BITSPERPIXEL(sdlMode.format) > 24 ? 32 : SDL_BITSPERPIXEL(sdlMode.format);
        if (mode.bitsPerPixel == 24)
            mode.bitsPerPixel = 32; // a 24-bit X visual is stored in 32-bit pixels
    }
    return mode;
}

void RestoreDesktopMode() {}

DeviceContext GetDeviceContext(WindowHandle window) {
    if (State().failDeviceContext || FindWindow(window) == nullptr)
        return 0;
    return window;
}

void ReleaseDeviceContext(WindowHandle /*window*/, DeviceContext /*context*/) {}

SDL_Window* GetSdlWindow(WindowHandle window) {
    detail::NativeWindowRecord* record = FindWindow(window);
    return record == nullptr ? nullptr : record->sdl;
}

} // namespace platform
