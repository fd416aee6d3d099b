#include "platform/win/WindowCursor.h"

#include "platform/win/WindowState.h"

#include <SDL2/SDL.h>

#include <map>
#include <vector>

namespace platform {

using detail::FindWindow;
using detail::State;

namespace {

constexpr CursorHandle arrowCursor = 1;
// Handles of the program's cursors: this base plus the resource id, so that each id has its own.
constexpr CursorHandle firstResourceCursor = 0x10000;

struct CursorResource {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
    int32_t hotX = 0;
    int32_t hotY = 0;
    SDL_Cursor* sdl = nullptr; // made on first use; SDL keeps it for the process, as video stays started
};

std::map<uint16_t, CursorResource>& Resources() {
    static std::map<uint16_t, CursorResource> resources;
    return resources;
}

// The cursor SDL shows now, so that the frequent re-applying asks SDL only for a change.
CursorHandle& AppliedCursor() {
    static CursorHandle applied = arrowCursor;
    return applied;
}

SDL_Cursor* SdlCursor(CursorResource& resource) {
    if (resource.sdl != nullptr)
        return resource.sdl;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        resource.rgba.data(), int(resource.width), int(resource.height), 32, int(resource.width * 4),
        SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
        return nullptr;
    resource.sdl = SDL_CreateColorCursor(surface, resource.hotX, resource.hotY);
    SDL_FreeSurface(surface);
    return resource.sdl;
}

void ApplyCursor(CursorHandle cursor) {
    if (!State().videoStarted || cursor == AppliedCursor())
        return;
    SDL_Cursor* sdl = nullptr;
    if (cursor >= firstResourceCursor) {
        auto found = Resources().find(static_cast<uint16_t>(cursor - firstResourceCursor));
        if (found != Resources().end())
            sdl = SdlCursor(found->second);
    }
    if (sdl == nullptr)
        sdl = SDL_GetDefaultCursor(); // the arrow, also for a driver that cannot make cursors
    if (sdl != nullptr)
        SDL_SetCursor(sdl);
    AppliedCursor() = cursor;
}

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

void RegisterCursorResource(uint16_t id, uint32_t width, uint32_t height, const uint8_t* rgba, int32_t hotX,
                            int32_t hotY) {
    if (width == 0 || height == 0 || rgba == nullptr)
        return;
    CursorResource& resource = Resources()[id];
    resource.width = width;
    resource.height = height;
    resource.rgba.assign(rgba, rgba + size_t(width) * height * 4);
    resource.hotX = hotX;
    resource.hotY = hotY;
    resource.sdl = nullptr; // the old SDL cursor may still be shown; SDL frees it at video shutdown
    if (AppliedCursor() == firstResourceCursor + id)
        AppliedCursor() = 0; // apply the new image at the next request
}

CursorHandle LoadCursorResource(uint16_t id) {
    return Resources().count(id) != 0 ? firstResourceCursor + id : arrowCursor;
}

void SetCurrentCursor(CursorHandle cursor) {
    State().currentCursor = cursor;
    ApplyCursor(cursor);
}

CursorHandle GetCurrentCursor() {
    return State().currentCursor;
}

} // namespace platform
