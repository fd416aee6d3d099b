#include "platform/win/WindowCursor.h"

#include "platform/win/WindowState.h"

#include <SDL2/SDL.h>

namespace platform {

using detail::FindWindow;
using detail::State;

namespace {

constexpr CursorHandle arrowCursor = 1;

// The window under a screen position, else the focus window, else the first one.
WindowHandle WindowAt(int32_t x, int32_t y) {
    detail::PlatformState& state = State();
    for (const auto& [handle, record] : state.windows) {
        const ScreenRect& r = record.client;
        if (x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height)
            return handle;
    }
    if (state.focus != 0)
        return state.focus;
    return state.windows.empty() ? 0 : state.windows.begin()->first;
}

} // namespace

void GetCursorPos(int32_t& x, int32_t& y) {
    x = State().cursorX;
    y = State().cursorY;
}

void SetCursorPos(int32_t x, int32_t y) {
    detail::PlatformState& state = State();
    state.cursorX = x;
    state.cursorY = y;
    detail::NativeWindowRecord* record = FindWindow(WindowAt(x, y));
    if (record == nullptr || record->client.width <= 0 || record->client.height <= 0)
        return;
    int realWidth = 0;
    int realHeight = 0;
    SDL_GetWindowSize(record->sdl, &realWidth, &realHeight);
    int64_t clientX = x - record->client.left;
    int64_t clientY = y - record->client.top;
    if (clientX < 0 || clientY < 0 || clientX >= record->client.width || clientY >= record->client.height)
        return; // outside every window: nothing of SDL's to move
    state.warpX = static_cast<int32_t>(clientX * realWidth / record->client.width);
    state.warpY = static_cast<int32_t>(clientY * realHeight / record->client.height);
    state.warpPending = true;
    SDL_WarpMouseInWindow(record->sdl, state.warpX, state.warpY);
}

void ScreenToClient(WindowHandle window, int32_t& x, int32_t& y) {
    ScreenRect client = GetClientRect(window);
    x -= client.left;
    y -= client.top;
}

void ClientToScreen(WindowHandle window, int32_t& x, int32_t& y) {
    ScreenRect client = GetClientRect(window);
    x += client.left;
    y += client.top;
}

int ShowCursor(bool show) {
    detail::PlatformState& state = State();
    bool wasShown = state.cursorShowCounter >= 0;
    state.cursorShowCounter += show ? 1 : -1;
    bool shown = state.cursorShowCounter >= 0;
    if (shown != wasShown && state.videoStarted)
        SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
    return state.cursorShowCounter;
}

bool GetSwapButtons() {
    return State().swapButtons;
}

CursorHandle LoadArrowCursor() {
    return arrowCursor;
}

CursorHandle LoadCursorResource(uint16_t /*id*/) {
    return arrowCursor;
}

void SetCurrentCursor(CursorHandle cursor) {
    State().currentCursor = cursor;
}

CursorHandle GetCurrentCursor() {
    return State().currentCursor;
}

} // namespace platform
