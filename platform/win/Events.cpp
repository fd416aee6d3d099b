#include "platform/win/Events.h"

#include "platform/input/DeviceFeed.h"
#include "platform/input/KeyTable.h"
#include "platform/win/Utf8.h"
#include "platform/win/WindowState.h"

#include <SDL2/SDL.h>

#include <cstring>

namespace platform {

using detail::FindWindow;
using detail::State;

namespace {

// Where events of no particular window go: the focus window, else the first one.
WindowHandle TargetWindow(Uint32 windowId) {
    if (windowId != 0 && FindWindow(windowId) != nullptr)
        return windowId;
    detail::PlatformState& state = State();
    if (state.focus != 0)
        return state.focus;
    return state.windows.empty() ? 0 : state.windows.begin()->first;
}

void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (window != 0)
        State().queue.push_back({window, message, wParam, lParam});
}

bool KeyDown(int virtualKey) {
    return State().keysDown[static_cast<size_t>(virtualKey & 0xFF)];
}

// Modifiers are reported to window procedures without their side, as the generic code.
int MessageKey(int virtualKey) {
    switch (virtualKey) {
    case VkLShift:
    case VkRShift:
        return VkShift;
    case VkLControl:
    case VkRControl:
        return VkControl;
    case VkLMenu:
    case VkRMenu:
        return VkMenu;
    default:
        return virtualKey;
    }
}

void SetKey(int virtualKey, bool down) {
    detail::PlatformState& state = State();
    state.keysDown[static_cast<size_t>(virtualKey & 0xFF)] = down;
    int generic = MessageKey(virtualKey);
    if (generic != virtualKey) {
        int left = generic == VkShift ? VkLShift : generic == VkControl ? VkLControl : VkLMenu;
        state.keysDown[static_cast<size_t>(generic)] = KeyDown(left) || KeyDown(left + 1);
    }
}

void HandleKey(const SDL_KeyboardEvent& key) {
    const input::KeyBinding* binding = input::FindKeyByScancode(key.keysym.scancode);
    if (binding == nullptr)
        return;
    bool down = key.type == SDL_KEYDOWN;
    bool altWasDown = KeyDown(VkMenu);
    // The devices see transitions only; the layout's key repeat is for window messages.
    if (key.repeat == 0)
        input::FeedKey(binding->code, down);
    SetKey(binding->virtualKey, down);

    int code = MessageKey(binding->virtualKey);
    bool system = altWasDown || code == VkMenu || code == VkF10;
    intptr_t lParam = 1 | (static_cast<intptr_t>(binding->code & 0xFF) << 16);
    if (key.repeat != 0)
        lParam |= intptr_t(1) << 30;
    uint32_t message =
        down ? (system ? MessageSysKeyDown : MessageKeyDown) : (system ? MessageSysKeyUp : MessageKeyUp);
    Post(TargetWindow(key.windowID), message, static_cast<uintptr_t>(code), lParam);
}

// One character message per UTF-16 code unit of the typed text.
void HandleText(const SDL_TextInputEvent& text) {
    WindowHandle window = TargetWindow(text.windowID);
    const char* p = text.text;
    size_t left = std::strlen(p);
    while (left > 0) {
        uint32_t codePoint = 0xFFFD;
        size_t length = DecodeUtf8(p, left, codePoint);
        if (length == 0) {
            codePoint = 0xFFFD; // a byte that starts no character stands for one unknown character
            length = 1;
        }
        p += length;
        left -= length;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            Post(window, MessageChar, 0xD800 + (codePoint >> 10), 1);
            Post(window, MessageChar, 0xDC00 + (codePoint & 0x3FF), 1);
        } else {
            Post(window, MessageChar, codePoint, 1);
        }
    }
}

// SDL reports window pixels; the program's client pixels are the video mode's, which differ in full screen.
void UpdateCursor(Uint32 windowId, int32_t x, int32_t y) {
    detail::PlatformState& state = State();
    detail::NativeWindowRecord* record = FindWindow(windowId);
    if (record == nullptr)
        return;
    int realWidth = 0;
    int realHeight = 0;
    SDL_GetWindowSize(record->sdl, &realWidth, &realHeight);
    int64_t clientX = realWidth > 0 ? int64_t(x) * record->client.width / realWidth : x;
    int64_t clientY = realHeight > 0 ? int64_t(y) * record->client.height / realHeight : y;
    state.cursorX = record->client.left + static_cast<int32_t>(clientX);
    state.cursorY = record->client.top + static_cast<int32_t>(clientY);
}

int PhysicalButton(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    case SDL_BUTTON_X2:
        return 4;
    default:
        return -1;
    }
}

void HandleButton(const SDL_MouseButtonEvent& button) {
    int index = PhysicalButton(button.button);
    if (index < 0)
        return;
    bool down = button.type == SDL_MOUSEBUTTONDOWN;
    input::FeedMouseButton(index, down);
    // The asynchronous state names the logical buttons: with swapped buttons the right one is primary.
    static constexpr int buttonKeys[] = {VkLButton, VkRButton, VkMButton, VkXButton1, VkXButton2};
    int logical = index;
    if (State().swapButtons && index < 2)
        logical = 1 - index;
    State().keysDown[static_cast<size_t>(buttonKeys[logical])] = down;
    UpdateCursor(button.windowID, button.x, button.y);
}

void HandleWindowEvent(const SDL_WindowEvent& event) {
    detail::PlatformState& state = State();
    detail::NativeWindowRecord* record = FindWindow(event.windowID);
    if (record == nullptr)
        return;
    WindowHandle window = event.windowID;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        Post(window, MessageClose, 0, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (!record->minimized)
            Post(window, MessageSysCommand, CommandMinimize, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (record->minimized)
            Post(window, MessageSysCommand, CommandRestore, 0);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        // Some window managers report a full-screen window as maximised: that is not a request.
        if (record->style == WindowStyle::FullScreen)
            break;
        // The procedure decides what maximising means; the window manager's own maximising is undone.
        SDL_RestoreWindow(record->sdl);
        Post(window, MessageSysCommand, CommandMaximize, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        state.focus = window;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (state.focus == window)
            state.focus = 0;
        break;
    case SDL_WINDOWEVENT_MOVED:
        if (record->style == WindowStyle::Windowed) {
            record->client.left = event.data1;
            record->client.top = event.data2;
        }
        break;
    case SDL_WINDOWEVENT_ENTER:
        Post(window, MessageSetCursor, window, 1);
        break;
    default:
        break;
    }
}

void HandleEvent(const SDL_Event& event) {
    detail::PlatformState& state = State();
    switch (event.type) {
    case SDL_QUIT:
        for (const auto& [window, record] : state.windows)
            Post(window, MessageQuit, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        HandleKey(event.key);
        break;
    case SDL_TEXTINPUT:
        HandleText(event.text);
        break;
    case SDL_MOUSEMOTION:
        UpdateCursor(event.motion.windowID, event.motion.x, event.motion.y);
        if (state.warpPending && event.motion.x == state.warpX && event.motion.y == state.warpY) {
            state.warpPending = false; // the program moved the cursor; the mouse itself did not move
            break;
        }
        input::FeedMouseMotion(event.motion.xrel, event.motion.yrel);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        HandleButton(event.button);
        break;
    case SDL_MOUSEWHEEL: {
        int32_t notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        input::FeedMouseWheel(notches * 120);
        break;
    }
    default:
        break;
    }
}

} // namespace

void PumpEvents() {
    if (!State().videoStarted)
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
        HandleEvent(event);
}

bool PeekWindowMessage(WindowMessage& out) {
    PumpEvents();
    detail::PlatformState& state = State();
    if (state.queue.empty())
        return false;
    out = state.queue.front();
    state.queue.pop_front();
    return true;
}

void TranslateWindowMessage(const WindowMessage& message) {
    if (message.message != MessageKeyDown && message.message != MessageSysKeyDown)
        return;
    switch (message.wParam) {
    case VkBack:
    case VkTab:
    case VkReturn:
    case VkEscape:
        // The character is the very next message, before anything queued since the key went down.
        State().queue.push_front({message.window, MessageChar, message.wParam, message.lParam});
        break;
    default:
        break;
    }
}

intptr_t DispatchWindowMessage(const WindowMessage& message) {
    detail::NativeWindowRecord* record = FindWindow(message.window);
    if (record == nullptr)
        return 0;
    return record->procedure(message.window, message.message, message.wParam, message.lParam);
}

void PostWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (FindWindow(window) != nullptr)
        Post(window, message, wParam, lParam);
}

intptr_t DefaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t /*lParam*/) {
    switch (message) {
    case MessageSysCommand:
        if (wParam == CommandMinimize)
            MinimizeNativeWindow(window);
        else if (wParam == CommandRestore)
            RestoreNativeWindow(window);
        else if (wParam == CommandClose)
            Post(window, MessageClose, 0, 0);
        return 0;
    case MessageSysKeyDown:
        // Alt+F4 asks to close the window, as the system menu's Close does.
        if (wParam == VkF4 && KeyDown(VkMenu))
            Post(window, MessageSysCommand, CommandClose, 0);
        return 0;
    default:
        return 0;
    }
}

int16_t GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return KeyDown(virtualKey) ? static_cast<int16_t>(0x8000) : 0;
}

} // namespace platform
