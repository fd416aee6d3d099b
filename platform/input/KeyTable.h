// The one binding of physical keys between SDL's scancodes, the input devices' key codes and the window
// messages' virtual-key codes. Internal to platform/; read-only table, built at compile time.
#pragma once

#include <cstdint>

namespace platform::input {

struct KeyBinding {
    int scancode = 0;   // SDL_Scancode
    uint32_t code = 0;  // key code of the keyboard device (DirectInput.h)
    int virtualKey = 0; // virtual-key code; modifiers name their side (VkLShift, VkRMenu...)
};

// Null for a key the devices do not report.
const KeyBinding* FindKeyByScancode(int scancode);
const KeyBinding* FindKeyByCode(uint32_t code);

} // namespace platform::input
