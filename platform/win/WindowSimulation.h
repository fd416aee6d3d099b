// Test hooks of the window platform: the desktop a program runs on (mode and work area), the user's
// swapped-buttons setting, forced failures of window creation, and the events a user would cause (keys,
// text, mouse, close, quit, minimise, restore, maximise, focus), pushed into SDL's queue so that they travel
// the same event pump as real ones. Events go to the focus window, else to the first window.
#pragma once

#include "platform/win/NativeWindow.h"

#include <cstdint>
#include <string>

namespace platform::sim {

void SetDesktopMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel = 32);
void SetWorkArea(const ScreenRect& area);
void SetSwapButtons(bool swapped);
int GetCursorShowCounter();
// The width of the icon the window shows from the program's resources; 0 when it shows the desktop's default.
uint32_t GetWindowIconWidth(WindowHandle window);

void FailRegisterClass(bool fail);
void FailCreateWindow(bool fail);
void FailDeviceContext(bool fail);

// A key of the keyboard device by its key code (platform/input/DirectInput.h), e.g. KeyA.
void PushKey(uint32_t keyCode, bool down);
void PushText(const std::string& utf8);
// The cursor moved to (x, y) in client pixels, the mouse itself by (dx, dy) device units.
void PushMouseMotion(int32_t clientX, int32_t clientY, int32_t dx, int32_t dy);
// Physical button: 0 left, 1 right, 2 middle, 3 and 4 the side buttons.
void PushMouseButton(int index, bool down);
// Notches of the wheel, positive away from the user.
void PushWheel(int32_t notches);
void PushClose();
void PushQuit();
void PushMinimize();
void PushRestore();
void PushMaximize();
void PushFocus(bool gained);

// Back to the real desktop and settings, no forced failure, every key up, no queued event or message.
// Windows that exist keep existing.
void Reset();

} // namespace platform::sim
