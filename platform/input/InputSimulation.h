// Test hooks of the input devices: force the failures a program must survive (creating the system or a
// device, data format, cooperative level, buffer size) and lose a device, so that every fallback runs.
// Key, text and mouse events themselves are pushed through platform/win/WindowSimulation.h.
#pragma once

#include "platform/input/DirectInput.h"

namespace platform::input::sim {

enum class Step {
    CreateSystem,
    CreateKeyboard,
    CreateMouse,
    KeyboardFormat,
    MouseFormat,
    KeyboardCooperativeLevel,
    MouseCooperativeLevel,
    KeyboardBufferSize,
    MouseBufferSize
};

// The step answers InputErrGeneric from now on (until Reset).
void FailStep(Step step);
// The device of this kind is taken away: reads answer InputErrInputLost and it is no longer acquired.
// The next `acquireRefusals` calls of Acquire answer InputErrInputLost too (a negative count: every call).
void LoseDevice(DeviceKind kind, int acquireRefusals = 0);
// The next whole-state read of this kind fails (InputErrGeneric) without losing the device.
void FailNextStateRead(DeviceKind kind);
// How many times Acquire was called on devices of this kind since Reset.
int AcquireCalls(DeviceKind kind);
// Everything back to normal: no forced failure, counters at 0, all keys and buttons up.
void Reset();

} // namespace platform::input::sim
