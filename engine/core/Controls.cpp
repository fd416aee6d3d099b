#include "engine/core/Controls.h"

#include "engine/core/StringUtils.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "platform/win/Events.h"
#include "platform/win/WindowCursor.h"

#include <cmath>

namespace OrvexEngine {

namespace {

// The 108 key names: mouse buttons first (their order is the button index), then the keyboard.
const char* const keyNames[] = {
    "MOUSE1",
    "MOUSE2",
    "MOUSE3",
    "MOUSE4",
    "MOUSE5",
    "MOUSE6",
    "MOUSE7",
    "MOUSE8",
    "CAPS_LOCK",
    "NUM_LOCK",
    "SCROLL_LOCK",
    "0",
    "1",
    "2",
    "3",
    "4",
    "5",
    "6",
    "7",
    "8",
    "9",
    "A",
    "B",
    "C",
    "D",
    "E",
    "F",
    "G",
    "H",
    "I",
    "J",
    "K",
    "L",
    "M",
    "N",
    "O",
    "P",
    "Q",
    "R",
    "S",
    "T",
    "U",
    "V",
    "W",
    "X",
    "Y",
    "Z",
    "BACKSPACE",
    "TAB",
    "SPACE",
    "ENTER",
    "ESCAPE",
    "RSHIFT",
    "LSHIFT",
    "RCTRL",
    "LCTRL",
    "RALT",
    "LALT",
    "PAGEUP",
    "PAGEDOWN",
    "END",
    "HOME",
    "PRINTSCRN",
    "INSERT",
    "DELETE",
    "PAUSE",
    "LEFTARROW",
    "UPARROW",
    "RIGHTARROW",
    "DOWNARROW",
    "NUMPAD_0",
    "NUMPAD_1",
    "NUMPAD_2",
    "NUMPAD_3",
    "NUMPAD_4",
    "NUMPAD_5",
    "NUMPAD_6",
    "NUMPAD_7",
    "NUMPAD_8",
    "NUMPAD_9",
    "NUMPAD_MULTIPLY",
    "NUMPAD_PLUS",
    "NUMPAD_MINUS",
    "NUMPAD_DELETE",
    "NUMPAD_DIVIDE",
    "F1",
    "F2",
    "F3",
    "F4",
    "F5",
    "F6",
    "F7",
    "F8",
    "F9",
    "F10",
    "F11",
    "F12",
    "~",
    ";",
    "=",
    ",",
    "-",
    ".",
    "/",
    "[",
    "\\",
    "",
    "'",
};
static_assert(sizeof(keyNames) / sizeof(keyNames[0]) == 108);

constexpr float fourThirds = 4.0f / 3.0f;
constexpr float lockPhysicalAfter = 2.0f; // seconds

// The cursor's position in screen pixels.
Vec2i CursorPosition() {
    Vec2i p;
    platform::GetCursorPos(p.x, p.y);
    return p;
}

bool Mapped(const Window* window) {
    return window != nullptr && window->fullscreen && (window->wideDesktop || window->tallDesktop);
}

} // namespace

Controls::Controls() {
    lastCursorPos = CursorPosition();
    for (const char* name : keyNames)
        keysDown[name] = false;
    keysPressed = keysDown;
    mouseButtonNames.assign(keyNames, keyNames + 8);
}

Controls::~Controls() {
    SetCursorVisible(true);
}

bool Controls::WasPressed(const std::string& name) const {
    if (inputLocked)
        return false;
    auto found = keysPressed.find(ToUpperCopy(name));
    return found != keysPressed.end() && found->second;
}

bool Controls::IsDownOrPressed(const std::string& name) const {
    if (inputLocked)
        return false;
    std::string upper = ToUpperCopy(name);
    auto down = keysDown.find(upper);
    if (down == keysDown.end())
        return false;
    return down->second || keysPressed.at(upper);
}

bool Controls::GetTypedChar(uint16_t& code, bool& isCharacter) const {
    const Window* window = Window::Instance();
    if (inputLocked || window == nullptr || !window->keyEventPending)
        return false;
    code = window->keyEventCode;
    isCharacter = window->keyEventIsChar;
    return true;
}

Vec2 Controls::GetMousePosition() const {
    const Window* window = Window::Instance();
    Vec2i p = CursorPosition();
    if (window != nullptr)
        platform::ScreenToClient(window->handle, p.x, p.y);
    Vec2 result(static_cast<float>(p.x), static_cast<float>(p.y));
    if (Mapped(window)) {
        float a = window->desktopAspect;
        float r = a / fourThirds;
        if (window->wideDesktop)
            result.x = r * result.x - (r - 1.0f) * static_cast<float>(window->width) / 2.0f;
        else
            result.y = (fourThirds / a) * result.y - (1.0f - r) * static_cast<float>(window->height) / 2.0f;
    }
    return result;
}

void Controls::SetMousePosition(const Vec2& p) {
    const Window* window = Window::Instance();
    float x = p.x;
    float y = p.y;
    if (Mapped(window)) {
        float r = window->desktopAspect / fourThirds;
        if (window->wideDesktop)
            x = (p.x + (r - 1.0f) * static_cast<float>(window->width) / 2.0f) / r;
        else
            y = (p.y + (1.0f - r) * static_cast<float>(window->height) / 2.0f) * r;
    }
    // Rounded, not truncated: the mapping's float arithmetic lands a hair below whole pixels (x = 0 on a
    // 16:9 desktop gives 127.99997 for pixel 128), and truncating would miss them by one.
    Vec2i screen(static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y)));
    if (window != nullptr)
        platform::ClientToScreen(window->handle, screen.x, screen.y);
    platform::SetCursorPos(screen.x, screen.y);
}

void Controls::SetCursorVisible(bool visible) {
    cursorVisible = visible;
    ApplyCursorVisibility();
}

// The system's display counter shows the cursor while it is 0 or more; keeping it within -10..10 lets
// other code's unmatched requests be absorbed without the counter drifting far.
void Controls::ApplyCursorVisibility() {
    int counter = 0;
    if (cursorVisible) {
        do
            counter = platform::ShowCursor(true);
        while (counter < 0);
        if (counter > 10)
            platform::ShowCursor(false);
    } else {
        do
            counter = platform::ShowCursor(false);
        while (counter >= 0);
        if (counter < -10)
            platform::ShowCursor(true);
    }
}

void Controls::LockInput() {
    inputLocked = true;
}

bool Controls::IsAnyKeyActive() const {
    if (inputLocked)
        return false;
    for (const auto& [name, down] : keysDown)
        if (down || keysPressed.at(name))
            return true;
    return false;
}

void Controls::Update() {
    const Window* window = Window::Instance();

    swapButtons = platform::GetSwapButtons();
    mouseButtonNames[0] = swapButtons ? "MOUSE2" : "MOUSE1";
    mouseButtonNames[1] = swapButtons ? "MOUSE1" : "MOUSE2";

    Vec2i now = CursorPosition();
    cursorDelta =
        Vec2(static_cast<float>(now.x - lastCursorPos.x), static_cast<float>(now.y - lastCursorPos.y));
    if (centerMouse && window != nullptr) {
        SetMousePosition(Vec2(static_cast<float>(window->outerRect.width) * 0.5f,
                              static_cast<float>(window->outerRect.height) * 0.5f));
    } else if (!FloatEquals(sensitivity.x, 1.0f) || !FloatEquals(sensitivity.y, 1.0f)) {
        platform::SetCursorPos(lastCursorPos.x + static_cast<int32_t>(cursorDelta.x * sensitivity.x),
                               lastCursorPos.y + static_cast<int32_t>(cursorDelta.y * sensitivity.y));
    }
    lastCursorPos = CursorPosition();

    cursorDelta.y = -cursorDelta.y;
    deviceDelta.y = -deviceDelta.y;

    if (wheelSeen) {
        wheel = 0;
        wheelSeen = false;
    } else {
        wheelSeen = wheel != 0;
    }

    if (inputLocked) {
        inputLocked = false;
        inputLocked = (window != nullptr && window->keyEventPending) || IsAnyKeyActive();
        if (inputLocked) {
            if (TimerManager* timers = TimerManager::Instance())
                lockTime += timers->frameTime;
            if (lockTime > lockPhysicalAfter) {
                bool anyDown = false;
                for (int key = 0; key < 256 && !anyDown; ++key)
                    anyDown = platform::GetAsyncKeyState(key) != 0;
                if (!anyDown) {
                    inputLocked = false;
                    lockTime = 0;
                }
            }
        }
    }
    if (!inputLocked)
        lockTime = 0;

    ApplyCursorVisibility();
}

void Controls::ResetFrame() {
    for (auto& [name, pressed] : keysPressed)
        pressed = false;
    if (Window* window = Window::Instance())
        window->keyEventPending = false;
}

} // namespace OrvexEngine
