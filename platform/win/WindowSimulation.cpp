#include "platform/win/WindowSimulation.h"

#include "platform/input/InputSimulation.h"
#include "platform/input/KeyTable.h"
#include "platform/win/WindowCursor.h"
#include "platform/win/WindowState.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

namespace platform::sim {

using detail::State;

namespace {

WindowHandle Target() {
    detail::PlatformState& state = State();
    if (state.focus != 0)
        return state.focus;
    return state.windows.empty() ? 0 : state.windows.begin()->first;
}

void Push(SDL_Event& event) {
    if (!detail::StartVideo())
        return;
    event.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

void PushWindowEvent(Uint8 kind) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    event.window.windowID = Target();
    Push(event);
}

// Client pixels to the SDL window's pixels (they differ in full screen).
void ToWindowPixels(WindowHandle window, int32_t& x, int32_t& y) {
    detail::NativeWindowRecord* record = detail::FindWindow(window);
    if (record == nullptr || record->client.width <= 0 || record->client.height <= 0)
        return;
    int realWidth = 0;
    int realHeight = 0;
    SDL_GetWindowSize(record->sdl, &realWidth, &realHeight);
    // Rounded up so that the pump's conversion back (rounded down) lands on the same client pixel.
    x = static_cast<int32_t>((int64_t(x) * realWidth + record->client.width - 1) / record->client.width);
    y = static_cast<int32_t>((int64_t(y) * realHeight + record->client.height - 1) / record->client.height);
}

} // namespace

void SetDesktopMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    State().desktopOverridden = true;
    State().desktop = {width, height, bitsPerPixel};
}

void SetWorkArea(const ScreenRect& area) {
    State().workAreaOverridden = true;
    State().workArea = area;
}

void SetSwapButtons(bool swapped) {
    State().swapButtons = swapped;
}

int GetCursorShowCounter() {
    return State().cursorShowCounter;
}

uint32_t GetWindowIconWidth(WindowHandle window) {
    const detail::NativeWindowRecord* record = detail::FindWindow(window);
    return record != nullptr ? record->iconWidth : 0;
}

void FailRegisterClass(bool fail) {
    State().failRegisterClass = fail;
}

void FailCreateWindow(bool fail) {
    State().failCreateWindow = fail;
}

void FailDeviceContext(bool fail) {
    State().failDeviceContext = fail;
}

void PushKey(uint32_t keyCode, bool down) {
    const input::KeyBinding* binding = input::FindKeyByCode(keyCode);
    if (binding == nullptr)
        return;
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.windowID = Target();
    event.key.keysym.scancode = static_cast<SDL_Scancode>(binding->scancode);
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    Push(event);
}

void PushText(const std::string& utf8) {
    size_t start = 0;
    while (start < utf8.size()) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = Target();
        // Whole characters only in each event.
        size_t length = std::min(utf8.size() - start, sizeof(event.text.text) - 1);
        while (start + length < utf8.size() && length > 0 && (utf8[start + length] & 0xC0) == 0x80)
            --length;
        std::memcpy(event.text.text, utf8.data() + start, length);
        Push(event);
        start += length;
    }
}

void PushMouseMotion(int32_t clientX, int32_t clientY, int32_t dx, int32_t dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = Target();
    ToWindowPixels(event.motion.windowID, clientX, clientY);
    event.motion.x = clientX;
    event.motion.y = clientY;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    Push(event);
}

void PushMouseButton(int index, bool down) {
    static constexpr Uint8 buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1,
                                        SDL_BUTTON_X2};
    if (index < 0 || index >= 5)
        return;
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = Target();
    event.button.button = buttons[index];
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    int32_t x = 0;
    int32_t y = 0;
    GetCursorPos(x, y);
    ScreenRect client = GetClientRect(event.button.windowID);
    x -= client.left;
    y -= client.top;
    ToWindowPixels(event.button.windowID, x, y);
    event.button.x = x;
    event.button.y = y;
    Push(event);
}

void PushWheel(int32_t notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = Target();
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(event);
}

void PushClose() {
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
}

void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    Push(event);
}

void PushMinimize() {
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
}

void PushRestore() {
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
}

void PushMaximize() {
    PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
}

void PushFocus(bool gained) {
    // A lost focus names the window that had it; a gained one the first window when none has it.
    PushWindowEvent(gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void Reset() {
    detail::PlatformState& state = State();
    state.desktopOverridden = false;
    state.workAreaOverridden = false;
    state.swapButtons = false;
    state.failRegisterClass = false;
    state.failCreateWindow = false;
    state.failDeviceContext = false;
    state.windowStencilBits = 0;
    state.keysDown.fill(false);
    state.warpPending = false;
    if (state.videoStarted)
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    state.queue.clear();
    input::sim::Reset();
}

} // namespace platform::sim
