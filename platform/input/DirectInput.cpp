#include "platform/input/DirectInput.h"

#include "platform/input/DeviceFeed.h"
#include "platform/input/InputSimulation.h"
#include "platform/win/Events.h"

#include <SDL2/SDL_timer.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <vector>

namespace platform::input {

namespace {

struct Devices {
    std::vector<InputDevice*> live; // not owned: each device removes itself when released
    std::array<uint8_t, KeyboardStateSize> keys{};
    std::array<uint8_t, 8> buttons{};
    uint32_t sequence = 0;

    std::set<sim::Step> failing;
    int acquireRefusals[2] = {0, 0};
    bool failStateRead[2] = {false, false};
    int acquireCalls[2] = {0, 0};
};

Devices& TheDevices() {
    static Devices devices;
    return devices;
}

int KindIndex(DeviceKind kind) {
    return kind == DeviceKind::Keyboard ? 0 : 1;
}

bool Failing(sim::Step step) {
    return TheDevices().failing.count(step) != 0;
}

sim::Step PerKind(DeviceKind kind, sim::Step keyboard, sim::Step mouse) {
    return kind == DeviceKind::Keyboard ? keyboard : mouse;
}

} // namespace

InputResult CreateInputSystem(ModuleHandle module, uint32_t version, InputSystem** out) {
    if (out == nullptr)
        return InputErrInvalidParam;
    *out = nullptr;
    if (module == 0 || version != InputVersion || Failing(sim::Step::CreateSystem))
        return InputErrGeneric;
    *out = new InputSystem();
    return InputOk;
}

WindowHandle GetDesktopWindow() {
    return 0xFFFFFFFFu; // no real window has this number
}

InputResult InputSystem::CreateDevice(DeviceKind kind, InputDevice** out) {
    if (out == nullptr)
        return InputErrInvalidParam;
    *out = nullptr;
    if (Failing(PerKind(kind, sim::Step::CreateKeyboard, sim::Step::CreateMouse)))
        return InputErrGeneric;
    *out = new InputDevice(kind);
    TheDevices().live.push_back(*out);
    return InputOk;
}

void InputSystem::Release() {
    delete this;
}

InputDevice::~InputDevice() {
    std::erase(TheDevices().live, this);
}

void InputDevice::Release() {
    delete this;
}

InputResult InputDevice::SetDataFormat(DataFormat newFormat) {
    DataFormat expected = kind == DeviceKind::Keyboard ? DataFormat::Keyboard : DataFormat::Mouse2;
    if (newFormat != expected)
        return InputErrInvalidParam;
    if (Failing(PerKind(kind, sim::Step::KeyboardFormat, sim::Step::MouseFormat)))
        return InputErrGeneric;
    format = newFormat;
    return InputOk;
}

InputResult InputDevice::SetCooperativeLevel(WindowHandle /*window*/, uint32_t flags) {
    bool oneAccess = ((flags & CooperativeExclusive) != 0) != ((flags & CooperativeNonExclusive) != 0);
    bool oneTime = ((flags & CooperativeForeground) != 0) != ((flags & CooperativeBackground) != 0);
    if (!oneAccess || !oneTime)
        return InputErrInvalidParam;
    if (Failing(PerKind(kind, sim::Step::KeyboardCooperativeLevel, sim::Step::MouseCooperativeLevel)))
        return InputErrGeneric;
    cooperativeSet = true;
    return InputOk;
}

InputResult InputDevice::SetBufferSize(uint32_t events) {
    if (acquired)
        return InputErrGeneric; // a property of a device not yet acquired
    if (Failing(PerKind(kind, sim::Step::KeyboardBufferSize, sim::Step::MouseBufferSize)))
        return InputErrGeneric;
    bufferSize = events;
    buffer.clear();
    overflowed = false;
    return InputOk;
}

InputResult InputDevice::Acquire() {
    Devices& devices = TheDevices();
    int index = KindIndex(kind);
    ++devices.acquireCalls[index];
    if (format == DataFormat::None)
        return InputErrInvalidParam;
    if (devices.acquireRefusals[index] != 0) {
        if (devices.acquireRefusals[index] > 0)
            --devices.acquireRefusals[index];
        return InputErrInputLost;
    }
    if (acquired)
        return InputBufferOverflow; // S_FALSE: already acquired
    acquired = true;
    lost = false;
    buffer.clear();
    overflowed = false;
    motionX = motionY = motionZ = 0;
    return InputOk;
}

InputResult InputDevice::Unacquire() {
    if (!acquired)
        return InputBufferOverflow;
    acquired = false;
    return InputOk;
}

InputResult InputDevice::GetDeviceData(DeviceEvent* events, uint32_t* count) {
    if (count == nullptr || (events == nullptr && *count != 0))
        return InputErrInvalidParam;
    uint32_t room = *count;
    *count = 0;
    PumpEvents(); // what happened since the last pump reaches the buffer first
    if (!acquired)
        return lost ? InputErrInputLost : InputErrNotAcquired;
    if (bufferSize == 0)
        return InputErrGeneric; // not a buffered device
    uint32_t taken = std::min<uint32_t>(room, static_cast<uint32_t>(buffer.size()));
    for (uint32_t i = 0; i < taken; ++i) {
        events[i] = buffer.front();
        buffer.pop_front();
    }
    *count = taken;
    bool wasOverflowed = overflowed;
    overflowed = false;
    return wasOverflowed ? InputBufferOverflow : InputOk;
}

InputResult InputDevice::GetDeviceState(void* state, uint32_t size) {
    Devices& devices = TheDevices();
    uint32_t expected = kind == DeviceKind::Keyboard ? KeyboardStateSize : sizeof(MouseState2);
    if (state == nullptr || size != expected)
        return InputErrInvalidParam;
    PumpEvents();
    if (!acquired)
        return lost ? InputErrInputLost : InputErrNotAcquired;
    bool& forced = devices.failStateRead[KindIndex(kind)];
    if (forced) {
        forced = false;
        return InputErrGeneric;
    }
    if (kind == DeviceKind::Keyboard) {
        std::memcpy(state, devices.keys.data(), KeyboardStateSize);
    } else {
        MouseState2 mouse;
        mouse.x = motionX;
        mouse.y = motionY;
        mouse.z = motionZ;
        std::memcpy(mouse.buttons, devices.buttons.data(), sizeof(mouse.buttons));
        std::memcpy(state, &mouse, sizeof(mouse));
        motionX = motionY = motionZ = 0;
    }
    return InputOk;
}

void InputDevice::Append(uint32_t offset, uint32_t data) {
    if (!acquired || bufferSize == 0)
        return;
    if (buffer.size() >= bufferSize) {
        overflowed = true;
        return;
    }
    DeviceEvent event;
    event.offset = offset;
    event.data = data;
    event.timeStamp = SDL_GetTicks();
    event.sequence = ++TheDevices().sequence;
    buffer.push_back(event);
}

void InputDevice::AddMotion(int32_t dx, int32_t dy, int32_t dz) {
    if (!acquired)
        return;
    motionX += dx;
    motionY += dy;
    motionZ += dz;
}

void InputDevice::ClearInput() {
    buffer.clear();
    overflowed = false;
    motionX = motionY = motionZ = 0;
}

void FeedKey(uint32_t code, bool down) {
    Devices& devices = TheDevices();
    if (code >= KeyboardStateSize)
        return;
    devices.keys[code] = down ? 0x80 : 0;
    for (InputDevice* device : devices.live)
        if (device->Kind() == DeviceKind::Keyboard)
            device->Append(code, down ? 0x80 : 0);
}

void FeedMouseMotion(int32_t dx, int32_t dy) {
    for (InputDevice* device : TheDevices().live) {
        if (device->Kind() != DeviceKind::Mouse)
            continue;
        device->AddMotion(dx, dy, 0);
        if (dx != 0)
            device->Append(MouseOffsetX, static_cast<uint32_t>(dx));
        if (dy != 0)
            device->Append(MouseOffsetY, static_cast<uint32_t>(dy));
    }
}

void FeedMouseWheel(int32_t dz) {
    for (InputDevice* device : TheDevices().live) {
        if (device->Kind() != DeviceKind::Mouse || dz == 0)
            continue;
        device->AddMotion(0, 0, dz);
        device->Append(MouseOffsetZ, static_cast<uint32_t>(dz));
    }
}

void FeedMouseButton(int index, bool down) {
    Devices& devices = TheDevices();
    if (index < 0 || index >= 8)
        return;
    devices.buttons[static_cast<size_t>(index)] = down ? 0x80 : 0;
    for (InputDevice* device : devices.live)
        if (device->Kind() == DeviceKind::Mouse)
            device->Append(MouseOffsetButton0 + static_cast<uint32_t>(index), down ? 0x80 : 0);
}

namespace sim {

void FailStep(Step step) {
    TheDevices().failing.insert(step);
}

void LoseDevice(DeviceKind kind, int acquireRefusals) {
    Devices& devices = TheDevices();
    devices.acquireRefusals[KindIndex(kind)] = acquireRefusals;
    for (InputDevice* device : devices.live) {
        if (device->Kind() == kind && device->Unacquire() == InputOk)
            device->MarkLost();
    }
}

void FailNextStateRead(DeviceKind kind) {
    TheDevices().failStateRead[KindIndex(kind)] = true;
}

int AcquireCalls(DeviceKind kind) {
    return TheDevices().acquireCalls[KindIndex(kind)];
}

void Reset() {
    Devices& devices = TheDevices();
    devices.failing.clear();
    devices.keys.fill(0);
    devices.buttons.fill(0);
    for (InputDevice* device : devices.live)
        device->ClearInput();
    for (int i = 0; i < 2; ++i) {
        devices.acquireRefusals[i] = 0;
        devices.failStateRead[i] = false;
        devices.acquireCalls[i] = 0;
    }
}

} // namespace sim

} // namespace platform::input
