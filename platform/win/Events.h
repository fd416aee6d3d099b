// The message queue and the one event pump: every SDL event updates the platform's key, button and cursor
// state, feeds the input devices' buffers (platform/input) and becomes the window messages a window procedure
// handles (key down then character, close, quit, minimise, restore, maximise). Message, command and key
// codes keep the values programs written for the Windows message model expect.
// Implements: posting, peeking, translating and dispatching messages, the default procedure, the
// asynchronous key state. Does not implement: messages no procedure of this program handles.
#pragma once

#include "platform/win/NativeWindow.h"

#include <cstdint>

namespace platform {

struct WindowMessage {
    WindowHandle window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Messages.
constexpr uint32_t MessageSize = 0x0005;
constexpr uint32_t MessageClose = 0x0010;
constexpr uint32_t MessageQuit = 0x0012;
constexpr uint32_t MessageSetCursor = 0x0020;
constexpr uint32_t MessageWindowPosChanging = 0x0046;
constexpr uint32_t MessageNcLButtonDblClk = 0x00A3;
constexpr uint32_t MessageKeyDown = 0x0100;
constexpr uint32_t MessageKeyUp = 0x0101;
constexpr uint32_t MessageChar = 0x0102;
constexpr uint32_t MessageSysKeyDown = 0x0104;
constexpr uint32_t MessageSysKeyUp = 0x0105;
constexpr uint32_t MessageSysCommand = 0x0112;

// System commands (wParam of MessageSysCommand).
constexpr uintptr_t CommandSize = 0xF000;
constexpr uintptr_t CommandMinimize = 0xF020;
constexpr uintptr_t CommandMaximize = 0xF030;
constexpr uintptr_t CommandClose = 0xF060;
constexpr uintptr_t CommandRestore = 0xF120;
constexpr uintptr_t CommandTaskList = 0xF130;
constexpr uintptr_t CommandScreenSave = 0xF140;
constexpr uintptr_t CommandHotKey = 0xF150;
constexpr uintptr_t CommandMonitorPower = 0xF170;

constexpr intptr_t HitCaption = 2; // wParam of MessageNcLButtonDblClk on the title bar

// Virtual-key codes.
constexpr int VkLButton = 0x01;
constexpr int VkRButton = 0x02;
constexpr int VkMButton = 0x04;
constexpr int VkXButton1 = 0x05;
constexpr int VkXButton2 = 0x06;
constexpr int VkBack = 0x08;
constexpr int VkTab = 0x09;
constexpr int VkReturn = 0x0D;
constexpr int VkShift = 0x10;
constexpr int VkControl = 0x11;
constexpr int VkMenu = 0x12;
constexpr int VkPause = 0x13;
constexpr int VkCapital = 0x14;
constexpr int VkEscape = 0x1B;
constexpr int VkSpace = 0x20;
constexpr int VkPrior = 0x21;
constexpr int VkNext = 0x22;
constexpr int VkEnd = 0x23;
constexpr int VkHome = 0x24;
constexpr int VkLeft = 0x25;
constexpr int VkUp = 0x26;
constexpr int VkRight = 0x27;
constexpr int VkDown = 0x28;
constexpr int VkSnapshot = 0x2C;
constexpr int VkInsert = 0x2D;
constexpr int VkDelete = 0x2E;
constexpr int VkF4 = 0x73;
constexpr int VkF10 = 0x79;
constexpr int VkLShift = 0xA0;
constexpr int VkRShift = 0xA1;
constexpr int VkLControl = 0xA2;
constexpr int VkRControl = 0xA3;
constexpr int VkLMenu = 0xA4;
constexpr int VkRMenu = 0xA5;

// Drains SDL's event queue into the platform's state, the input devices and the message queue. Peeking and
// the input devices' reads call it, so pushed events reach everything without an explicit call.
void PumpEvents();
// Takes the oldest queued message; false when none is waiting (after pumping).
bool PeekWindowMessage(WindowMessage& out);
// Key messages of keys that type a control character (Backspace, Tab, Enter, Escape) queue that character;
// printable text arrives from the keyboard layout as its own character messages.
void TranslateWindowMessage(const WindowMessage& message);
// Calls the procedure of the message's window; 0 when the window is gone.
intptr_t DispatchWindowMessage(const WindowMessage& message);
void PostWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// What a procedure does with a message it does not handle itself.
intptr_t DefaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// 0x8000 while the key or mouse button of this virtual-key code is physically down, else 0.
int16_t GetAsyncKeyState(int virtualKey);

} // namespace platform
