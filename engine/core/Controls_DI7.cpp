#include "engine/core/Controls_DI7.h"

#include "engine/core/MessageManager.h"
#include "engine/core/Window.h"
#include "platform/input/DirectInput.h"

#include <cstring>

namespace OrvexEngine {

namespace in = platform::input;

namespace {

constexpr uint32_t keyboardBufferSize = 8;
constexpr uint32_t mouseBufferSize = 16;
constexpr uint32_t eventsPerRead = 8;
// A device that stays lost is asked again next frame rather than in an endless loop now.
constexpr int acquireAttempts = 10;

struct KeyName {
    const char* name;
    uint32_t code;
};

const KeyName keyboardNames[] = {
    {"A", in::KeyA},
    {"B", in::KeyB},
    {"C", in::KeyC},
    {"D", in::KeyD},
    {"E", in::KeyE},
    {"F", in::KeyF},
    {"G", in::KeyG},
    {"H", in::KeyH},
    {"I", in::KeyI},
    {"J", in::KeyJ},
    {"K", in::KeyK},
    {"L", in::KeyL},
    {"M", in::KeyM},
    {"N", in::KeyN},
    {"O", in::KeyO},
    {"P", in::KeyP},
    {"Q", in::KeyQ},
    {"R", in::KeyR},
    {"S", in::KeyS},
    {"T", in::KeyT},
    {"U", in::KeyU},
    {"V", in::KeyV},
    {"W", in::KeyW},
    {"X", in::KeyX},
    {"Y", in::KeyY},
    {"Z", in::KeyZ},
    {"0", in::Key0},
    {"1", in::Key1},
    {"2", in::Key2},
    {"3", in::Key3},
    {"4", in::Key4},
    {"5", in::Key5},
    {"6", in::Key6},
    {"7", in::Key7},
    {"8", in::Key8},
    {"9", in::Key9},
    {"F1", in::KeyF1},
    {"F2", in::KeyF2},
    {"F3", in::KeyF3},
    {"F4", in::KeyF4},
    {"F5", in::KeyF5},
    {"F6", in::KeyF6},
    {"F7", in::KeyF7},
    {"F8", in::KeyF8},
    {"F9", in::KeyF9},
    {"F10", in::KeyF10},
    {"F11", in::KeyF11},
    {"F12", in::KeyF12},
    {"NUMPAD_0", in::KeyNumpad0},
    {"NUMPAD_1", in::KeyNumpad1},
    {"NUMPAD_2", in::KeyNumpad2},
    {"NUMPAD_3", in::KeyNumpad3},
    {"NUMPAD_4", in::KeyNumpad4},
    {"NUMPAD_5", in::KeyNumpad5},
    {"NUMPAD_6", in::KeyNumpad6},
    {"NUMPAD_7", in::KeyNumpad7},
    {"NUMPAD_8", in::KeyNumpad8},
    {"NUMPAD_9", in::KeyNumpad9},
    {"CAPS_LOCK", in::KeyCapital},
    {"NUM_LOCK", in::KeyNumLock},
    {"SCROLL_LOCK", in::KeyScroll},
    {"BACKSPACE", in::KeyBack},
    {"TAB", in::KeyTab},
    {"SPACE", in::KeySpace},
    {"ENTER", in::KeyReturn},
    {"ESCAPE", in::KeyEscape},
    {"RSHIFT", in::KeyRShift},
    {"LSHIFT", in::KeyLShift},
    {"RCTRL", in::KeyRControl},
    {"LCTRL", in::KeyLControl},
    {"RALT", in::KeyRMenu},
    {"LALT", in::KeyLMenu},
    {"PAGEUP", in::KeyPrior},
    {"PAGEDOWN", in::KeyNext},
    {"END", in::KeyEnd},
    {"HOME", in::KeyHome},
    {"PRINTSCRN", in::KeySysRq},
    {"INSERT", in::KeyInsert},
    {"DELETE", in::KeyDelete},
    {"PAUSE", in::KeyPause},
    {"LEFTARROW", in::KeyLeft},
    {"UPARROW", in::KeyUp},
    {"RIGHTARROW", in::KeyRight},
    {"DOWNARROW", in::KeyDown},
    {"NUMPAD_MULTIPLY", in::KeyMultiply},
    {"NUMPAD_PLUS", in::KeyAdd},
    {"NUMPAD_MINUS", in::KeySubtract},
    {"NUMPAD_DELETE", in::KeyDecimal},
    {"NUMPAD_DIVIDE", in::KeyDivide},
    {"~", in::KeyGrave},
    {";", in::KeySemicolon},
    {"=", in::KeyEquals},
    {",", in::KeyComma},
    {"-", in::KeyMinus},
    {".", in::KeyPeriod},
    {"/", in::KeySlash},
    {"[", in::KeyLBracket},
    {"\\", in::KeyBackslash},
    {"", in::KeyRBracket},
    {"'", in::KeyApostrophe},
};
static_assert(sizeof(keyboardNames) / sizeof(keyboardNames[0]) == 100);

// Acquires a device again after a failed read, as long as it answers that input was lost (bounded).
void Reacquire(in::InputDevice* device) {
    for (int attempt = 0; attempt < acquireAttempts; ++attempt)
        if (device->Acquire() != in::InputErrInputLost)
            return;
}

} // namespace

Controls_DI7::Controls_DI7(bool buffered) : keyboardBuffered(buffered), mouseBuffered(buffered) {
    MessageManager* log = Log();
    log->Message("Initialization of DirectInput devices...");
    log->Message("...Creating a DirectInput object...");
    const Window* window = Window::Instance();
    platform::ModuleHandle module = window != nullptr ? window->instanceHandle : platform::GetModuleHandle();
    if (in::CreateInputSystem(module, in::InputVersion, &directInput) != in::InputOk)
        FailSetUp("Failed to create a DirectInput object");

    log->Message("...Keyboard:");
    keyboard = CreateDevice(true);
    log->Message("...Mouse:");
    mouse = CreateDevice(false);

    for (const KeyName& key : keyboardNames) {
        nameToCode[key.name] = key.code;
        codeToName[key.code] = key.name;
    }
}

in::InputDevice* Controls_DI7::CreateDevice(bool isKeyboard) {
    MessageManager* log = Log();
    in::InputDevice*& device = isKeyboard ? keyboard : mouse;
    log->Message(isKeyboard ? "......Obtaining an interface to the system keyboard device..."
                            : "......Obtaining an interface to the system mouse device...");
    if (directInput->CreateDevice(isKeyboard ? in::DeviceKind::Keyboard : in::DeviceKind::Mouse, &device) !=
        in::InputOk)
        FailSetUp(isKeyboard ? "Failed to obtain an interface to the system keyboard device"
                             : "Failed to obtain an interface to the system mouse device");

    log->Message("......Setting the data format...");
    if (device->SetDataFormat(isKeyboard ? in::DataFormat::Keyboard : in::DataFormat::Mouse2) != in::InputOk)
        FailSetUp("Failed to set the data format");

    // Background and non-exclusive: the devices are read with or without the focus, and the system keeps
    // its own handling of every key.
    log->Message("......Setting the cooperativity level...");
    if (device->SetCooperativeLevel(in::GetDesktopWindow(),
                                    in::CooperativeNonExclusive | in::CooperativeBackground) != in::InputOk)
        FailSetUp("Failed to set the cooperativity level");

    bool& deviceBuffered = isKeyboard ? keyboardBuffered : mouseBuffered;
    if (deviceBuffered) {
        log->Message("......Setting the buffered mode...");
        if (device->SetBufferSize(isKeyboard ? keyboardBufferSize : mouseBufferSize) != in::InputOk) {
            deviceBuffered = false;
            log->Error("Failed to set the buffered mode, switching to the immediate mode");
        }
    }
    device->Acquire();
    return device;
}

// What was created is released before the error leaves the constructor, whose destructor never runs.
void Controls_DI7::FailSetUp(const std::string& text) {
    ReleaseDevices();
    Log()->Fatal(text);
}

void Controls_DI7::ReleaseDevices() {
    if (keyboard != nullptr) {
        keyboard->Unacquire();
        keyboard->Release();
        keyboard = nullptr;
    }
    if (mouse != nullptr) {
        mouse->Unacquire();
        mouse->Release();
        mouse = nullptr;
    }
    if (directInput != nullptr) {
        directInput->Release();
        directInput = nullptr;
    }
}

Controls_DI7::~Controls_DI7() {
    MessageManager* log = Log();
    log->Message("\nDirectInput devices destroying:");
    log->Message("...Keyboard...");
    if (keyboard != nullptr) {
        keyboard->Unacquire();
        keyboard->Release();
        keyboard = nullptr;
    }
    log->Message("...Mouse...");
    if (mouse != nullptr) {
        mouse->Unacquire();
        mouse->Release();
        mouse = nullptr;
    }
    log->Message("...DirectInput object...");
    if (directInput != nullptr) {
        directInput->Release();
        directInput = nullptr;
    }
    SetCursorVisible(true);
}

void Controls_DI7::SetKeyState(const std::string& name, bool down) {
    auto found = keysDown.find(name);
    if (found == keysDown.end())
        return;
    if (down) {
        if (!found->second) {
            found->second = true;
            keysPressed[name] = true;
        }
    } else {
        found->second = false;
    }
}

void Controls_DI7::Update() {
    ReadKeyboard();
    deviceDelta = Vec2(0.0f, 0.0f);
    wheel = 0;
    ReadMouse();
    Controls::Update();
}

void Controls_DI7::ReadKeyboard() {
    bool wholeState = !keyboardBuffered;
    if (keyboardBuffered) {
        in::DeviceEvent events[eventsPerRead];
        uint32_t count = eventsPerRead;
        if (keyboard->GetDeviceData(events, &count) == in::InputOk) {
            for (uint32_t i = 0; i < count; ++i) {
                auto found = codeToName.find(events[i].offset);
                if (found != codeToName.end())
                    SetKeyState(found->second, (events[i].data & 0x80) != 0);
            }
        } else {
            // An overflow or a lost device: the events cannot be trusted, the state can.
            Reacquire(keyboard);
            wholeState = true;
        }
    }
    if (!wholeState)
        return;
    uint8_t state[in::KeyboardStateSize] = {};
    if (keyboard->GetDeviceState(state, sizeof(state)) != in::InputOk) {
        Reacquire(keyboard);
        std::memset(state, 0, sizeof(state));
    }
    for (const auto& [name, code] : nameToCode)
        SetKeyState(name, state[code] != 0);
}

void Controls_DI7::ReadMouse() {
    bool wholeState = !mouseBuffered;
    if (mouseBuffered) {
        in::DeviceEvent events[eventsPerRead];
        uint32_t count = eventsPerRead;
        if (mouse->GetDeviceData(events, &count) == in::InputOk) {
            for (uint32_t i = 0; i < count; ++i) {
                const in::DeviceEvent& event = events[i];
                int32_t delta = static_cast<int32_t>(event.data);
                if (event.offset == in::MouseOffsetX)
                    deviceDelta.x += static_cast<float>(delta);
                else if (event.offset == in::MouseOffsetY)
                    deviceDelta.y += static_cast<float>(delta);
                else if (event.offset == in::MouseOffsetZ)
                    wheel += delta;
                else if (event.offset >= in::MouseOffsetButton0 && event.offset <= in::MouseOffsetButton7)
                    SetKeyState(mouseButtonNames[event.offset - in::MouseOffsetButton0],
                                (event.data & 0x80) != 0);
            }
        } else {
            Reacquire(mouse);
            wholeState = true;
        }
    }
    if (!wholeState)
        return;
    in::MouseState2 state;
    if (mouse->GetDeviceState(&state, sizeof(state)) != in::InputOk) {
        Reacquire(mouse);
        state = in::MouseState2();
    }
    for (size_t i = 0; i < 8; ++i)
        SetKeyState(mouseButtonNames[i], state.buttons[i] != 0);
    // A buffered mouse falling back for one frame takes its buttons only: its motion was in the events.
    if (!mouseBuffered) {
        deviceDelta = Vec2(static_cast<float>(state.x), static_cast<float>(state.y));
        wheel = state.z;
    }
}

void Controls_DI7::ResetFrame() {
    Controls::ResetFrame();
}

} // namespace OrvexEngine
