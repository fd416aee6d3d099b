// The system keyboard and mouse as polled input devices. An input system object creates one device per kind;
// a device gets its data format, cooperative level and buffer size, is acquired, then read once a frame as
// buffered events (overflow answered with InputBufferOverflow) or as its whole state. Result and key codes
// keep the values DirectInput 7 programs expect. Not implemented: other devices, exclusive access, event
// notification; input is reported with or without the focus. Objects are made by CreateInputSystem and
// CreateDevice and freed with Release.
#pragma once

#include "platform/win/NativeWindow.h"

#include <cstdint>
#include <deque>

namespace platform::input {

using InputResult = int32_t;
constexpr InputResult InputOk = 0;
constexpr InputResult InputBufferOverflow = 1; // the events given are valid, later ones were dropped
constexpr InputResult InputErrInputLost = static_cast<InputResult>(0x8007001E);
constexpr InputResult InputErrNotAcquired = static_cast<InputResult>(0x8007000C);
constexpr InputResult InputErrInvalidParam = static_cast<InputResult>(0x80070057);
constexpr InputResult InputErrGeneric = static_cast<InputResult>(0x80004005);

constexpr uint32_t InputVersion = 0x0700;

enum class DeviceKind { Keyboard, Mouse };
enum class DataFormat { None, Keyboard, Mouse2 };

constexpr uint32_t CooperativeExclusive = 0x01;
constexpr uint32_t CooperativeNonExclusive = 0x02;
constexpr uint32_t CooperativeForeground = 0x04;
constexpr uint32_t CooperativeBackground = 0x08;

struct DeviceEvent {
    uint32_t offset = 0;    // keyboard: key code; mouse: one of the MouseOffset values
    uint32_t data = 0;      // keys and buttons: 0x80 when down; axes: the signed delta
    uint32_t timeStamp = 0; // milliseconds
    uint32_t sequence = 0;
};

struct MouseState2 {
    int32_t x = 0; // motion since the previous state read
    int32_t y = 0;
    int32_t z = 0; // the wheel: 120 per notch
    uint8_t buttons[8] = {};
};

constexpr uint32_t KeyboardStateSize = 256;

constexpr uint32_t MouseOffsetX = 0;
constexpr uint32_t MouseOffsetY = 4;
constexpr uint32_t MouseOffsetZ = 8;
constexpr uint32_t MouseOffsetButton0 = 12;
constexpr uint32_t MouseOffsetButton7 = 19;

// Key codes of the keyboard device (the keyboard's set-1 scan codes; extended keys have bit 0x80).
constexpr uint32_t KeyEscape = 0x01;
constexpr uint32_t Key1 = 0x02;
constexpr uint32_t Key2 = 0x03;
constexpr uint32_t Key3 = 0x04;
constexpr uint32_t Key4 = 0x05;
constexpr uint32_t Key5 = 0x06;
constexpr uint32_t Key6 = 0x07;
constexpr uint32_t Key7 = 0x08;
constexpr uint32_t Key8 = 0x09;
constexpr uint32_t Key9 = 0x0A;
constexpr uint32_t Key0 = 0x0B;
constexpr uint32_t KeyMinus = 0x0C;
constexpr uint32_t KeyEquals = 0x0D;
constexpr uint32_t KeyBack = 0x0E;
constexpr uint32_t KeyTab = 0x0F;
constexpr uint32_t KeyQ = 0x10;
constexpr uint32_t KeyW = 0x11;
constexpr uint32_t KeyE = 0x12;
constexpr uint32_t KeyR = 0x13;
constexpr uint32_t KeyT = 0x14;
constexpr uint32_t KeyY = 0x15;
constexpr uint32_t KeyU = 0x16;
constexpr uint32_t KeyI = 0x17;
constexpr uint32_t KeyO = 0x18;
constexpr uint32_t KeyP = 0x19;
constexpr uint32_t KeyLBracket = 0x1A;
constexpr uint32_t KeyRBracket = 0x1B;
constexpr uint32_t KeyReturn = 0x1C;
constexpr uint32_t KeyLControl = 0x1D;
constexpr uint32_t KeyA = 0x1E;
constexpr uint32_t KeyS = 0x1F;
constexpr uint32_t KeyD = 0x20;
constexpr uint32_t KeyF = 0x21;
constexpr uint32_t KeyG = 0x22;
constexpr uint32_t KeyH = 0x23;
constexpr uint32_t KeyJ = 0x24;
constexpr uint32_t KeyK = 0x25;
constexpr uint32_t KeyL = 0x26;
constexpr uint32_t KeySemicolon = 0x27;
constexpr uint32_t KeyApostrophe = 0x28;
constexpr uint32_t KeyGrave = 0x29;
constexpr uint32_t KeyLShift = 0x2A;
constexpr uint32_t KeyBackslash = 0x2B;
constexpr uint32_t KeyZ = 0x2C;
constexpr uint32_t KeyX = 0x2D;
constexpr uint32_t KeyC = 0x2E;
constexpr uint32_t KeyV = 0x2F;
constexpr uint32_t KeyB = 0x30;
constexpr uint32_t KeyN = 0x31;
constexpr uint32_t KeyM = 0x32;
constexpr uint32_t KeyComma = 0x33;
constexpr uint32_t KeyPeriod = 0x34;
constexpr uint32_t KeySlash = 0x35;
constexpr uint32_t KeyRShift = 0x36;
constexpr uint32_t KeyMultiply = 0x37;
constexpr uint32_t KeyLMenu = 0x38;
constexpr uint32_t KeySpace = 0x39;
constexpr uint32_t KeyCapital = 0x3A;
constexpr uint32_t KeyF1 = 0x3B;
constexpr uint32_t KeyF2 = 0x3C;
constexpr uint32_t KeyF3 = 0x3D;
constexpr uint32_t KeyF4 = 0x3E;
constexpr uint32_t KeyF5 = 0x3F;
constexpr uint32_t KeyF6 = 0x40;
constexpr uint32_t KeyF7 = 0x41;
constexpr uint32_t KeyF8 = 0x42;
constexpr uint32_t KeyF9 = 0x43;
constexpr uint32_t KeyF10 = 0x44;
constexpr uint32_t KeyNumLock = 0x45;
constexpr uint32_t KeyScroll = 0x46;
constexpr uint32_t KeyNumpad7 = 0x47;
constexpr uint32_t KeyNumpad8 = 0x48;
constexpr uint32_t KeyNumpad9 = 0x49;
constexpr uint32_t KeySubtract = 0x4A;
constexpr uint32_t KeyNumpad4 = 0x4B;
constexpr uint32_t KeyNumpad5 = 0x4C;
constexpr uint32_t KeyNumpad6 = 0x4D;
constexpr uint32_t KeyAdd = 0x4E;
constexpr uint32_t KeyNumpad1 = 0x4F;
constexpr uint32_t KeyNumpad2 = 0x50;
constexpr uint32_t KeyNumpad3 = 0x51;
constexpr uint32_t KeyNumpad0 = 0x52;
constexpr uint32_t KeyDecimal = 0x53;
constexpr uint32_t KeyF11 = 0x57;
constexpr uint32_t KeyF12 = 0x58;
constexpr uint32_t KeyNumpadEnter = 0x9C;
constexpr uint32_t KeyRControl = 0x9D;
constexpr uint32_t KeyDivide = 0xB5;
constexpr uint32_t KeySysRq = 0xB7;
constexpr uint32_t KeyRMenu = 0xB8;
constexpr uint32_t KeyPause = 0xC5;
constexpr uint32_t KeyHome = 0xC7;
constexpr uint32_t KeyUp = 0xC8;
constexpr uint32_t KeyPrior = 0xC9;
constexpr uint32_t KeyLeft = 0xCB;
constexpr uint32_t KeyRight = 0xCD;
constexpr uint32_t KeyEnd = 0xCF;
constexpr uint32_t KeyDown = 0xD0;
constexpr uint32_t KeyNext = 0xD1;
constexpr uint32_t KeyInsert = 0xD2;
constexpr uint32_t KeyDelete = 0xD3;
constexpr uint32_t KeyLWin = 0xDB;
constexpr uint32_t KeyRWin = 0xDC;
constexpr uint32_t KeyApps = 0xDD;

class InputDevice;

// The input system object: creates the devices.
class InputSystem final {
public:
    // The new device, or an error with *out left null.
    InputResult CreateDevice(DeviceKind kind, InputDevice** out);
    // Frees the object (devices made by it stay valid until their own Release).
    void Release();

private:
    friend InputResult CreateInputSystem(ModuleHandle, uint32_t, InputSystem**);
    InputSystem() = default;
    ~InputSystem() = default;
};

// Creates the input system for a program module and an interface version (InputVersion).
InputResult CreateInputSystem(ModuleHandle module, uint32_t version, InputSystem** out);

// The desktop's own window, which input devices may name as their cooperative window.
WindowHandle GetDesktopWindow();

class InputDevice final {
public:
    InputResult SetDataFormat(DataFormat format);
    InputResult SetCooperativeLevel(WindowHandle window, uint32_t flags);
    // The buffer of events kept between reads; 0 turns buffering off.
    InputResult SetBufferSize(uint32_t events);
    // InputOk when acquired now, InputBufferOverflow (S_FALSE) when it already was, InputErrInputLost while
    // the device cannot be had.
    InputResult Acquire();
    InputResult Unacquire();
    // Takes up to *count oldest events into `events` and sets *count to the number taken. InputOk, or
    // InputBufferOverflow when events were dropped since the previous read (those given are still valid).
    InputResult GetDeviceData(DeviceEvent* events, uint32_t* count);
    // Keyboard: 256 bytes by key code, 0x80 while down. Mouse: a MouseState2.
    InputResult GetDeviceState(void* state, uint32_t size);
    void Release();

    // Used by the event pump and the test hooks.
    void Append(uint32_t offset, uint32_t data);
    void AddMotion(int32_t dx, int32_t dy, int32_t dz);
    void MarkLost() { lost = true; }
    // Forgets buffered events and motion not yet read.
    void ClearInput();
    DeviceKind Kind() const { return kind; }

private:
    friend class InputSystem;
    explicit InputDevice(DeviceKind deviceKind) : kind(deviceKind) {}
    ~InputDevice();

    DeviceKind kind;
    DataFormat format = DataFormat::None;
    bool cooperativeSet = false;
    bool acquired = false;
    bool lost = false; // taken away since the last acquisition: reads answer InputErrInputLost
    uint32_t bufferSize = 0;
    bool overflowed = false;
    std::deque<DeviceEvent> buffer;
    int32_t motionX = 0; // since the previous state read
    int32_t motionY = 0;
    int32_t motionZ = 0;
};

} // namespace platform::input
