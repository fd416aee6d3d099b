#include "platform/input/KeyTable.h"

#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"

#include <SDL2/SDL_scancode.h>

namespace platform::input {

namespace {

// Every key the keyboard device reports: the 100 named keys and the few unnamed ones a keyboard sends often.
constexpr KeyBinding keyTable[] = {
    {SDL_SCANCODE_A, KeyA, 'A'},
    {SDL_SCANCODE_B, KeyB, 'B'},
    {SDL_SCANCODE_C, KeyC, 'C'},
    {SDL_SCANCODE_D, KeyD, 'D'},
    {SDL_SCANCODE_E, KeyE, 'E'},
    {SDL_SCANCODE_F, KeyF, 'F'},
    {SDL_SCANCODE_G, KeyG, 'G'},
    {SDL_SCANCODE_H, KeyH, 'H'},
    {SDL_SCANCODE_I, KeyI, 'I'},
    {SDL_SCANCODE_J, KeyJ, 'J'},
    {SDL_SCANCODE_K, KeyK, 'K'},
    {SDL_SCANCODE_L, KeyL, 'L'},
    {SDL_SCANCODE_M, KeyM, 'M'},
    {SDL_SCANCODE_N, KeyN, 'N'},
    {SDL_SCANCODE_O, KeyO, 'O'},
    {SDL_SCANCODE_P, KeyP, 'P'},
    {SDL_SCANCODE_Q, KeyQ, 'Q'},
    {SDL_SCANCODE_R, KeyR, 'R'},
    {SDL_SCANCODE_S, KeyS, 'S'},
    {SDL_SCANCODE_T, KeyT, 'T'},
    {SDL_SCANCODE_U, KeyU, 'U'},
    {SDL_SCANCODE_V, KeyV, 'V'},
    {SDL_SCANCODE_W, KeyW, 'W'},
    {SDL_SCANCODE_X, KeyX, 'X'},
    {SDL_SCANCODE_Y, KeyY, 'Y'},
    {SDL_SCANCODE_Z, KeyZ, 'Z'},
    {SDL_SCANCODE_1, Key1, '1'},
    {SDL_SCANCODE_2, Key2, '2'},
    {SDL_SCANCODE_3, Key3, '3'},
    {SDL_SCANCODE_4, Key4, '4'},
    {SDL_SCANCODE_5, Key5, '5'},
    {SDL_SCANCODE_6, Key6, '6'},
    {SDL_SCANCODE_7, Key7, '7'},
    {SDL_SCANCODE_8, Key8, '8'},
    {SDL_SCANCODE_9, Key9, '9'},
    {SDL_SCANCODE_0, Key0, '0'},
    {SDL_SCANCODE_F1, KeyF1, 0x70},
    {SDL_SCANCODE_F2, KeyF2, 0x71},
    {SDL_SCANCODE_F3, KeyF3, 0x72},
    {SDL_SCANCODE_F4, KeyF4, 0x73},
    {SDL_SCANCODE_F5, KeyF5, 0x74},
    {SDL_SCANCODE_F6, KeyF6, 0x75},
    {SDL_SCANCODE_F7, KeyF7, 0x76},
    {SDL_SCANCODE_F8, KeyF8, 0x77},
    {SDL_SCANCODE_F9, KeyF9, 0x78},
    {SDL_SCANCODE_F10, KeyF10, 0x79},
    {SDL_SCANCODE_F11, KeyF11, 0x7A},
    {SDL_SCANCODE_F12, KeyF12, 0x7B},
    {SDL_SCANCODE_KP_0, KeyNumpad0, 0x60},
    {SDL_SCANCODE_KP_1, KeyNumpad1, 0x61},
    {SDL_SCANCODE_KP_2, KeyNumpad2, 0x62},
    {SDL_SCANCODE_KP_3, KeyNumpad3, 0x63},
    {SDL_SCANCODE_KP_4, KeyNumpad4, 0x64},
    {SDL_SCANCODE_KP_5, KeyNumpad5, 0x65},
    {SDL_SCANCODE_KP_6, KeyNumpad6, 0x66},
    {SDL_SCANCODE_KP_7, KeyNumpad7, 0x67},
    {SDL_SCANCODE_KP_8, KeyNumpad8, 0x68},
    {SDL_SCANCODE_KP_9, KeyNumpad9, 0x69},
    {SDL_SCANCODE_KP_MULTIPLY, KeyMultiply, 0x6A},
    {SDL_SCANCODE_KP_PLUS, KeyAdd, 0x6B},
    {SDL_SCANCODE_KP_MINUS, KeySubtract, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, KeyDecimal, 0x6E},
    {SDL_SCANCODE_KP_DIVIDE, KeyDivide, 0x6F},
    {SDL_SCANCODE_KP_ENTER, KeyNumpadEnter, VkReturn},
    {SDL_SCANCODE_CAPSLOCK, KeyCapital, VkCapital},
    {SDL_SCANCODE_NUMLOCKCLEAR, KeyNumLock, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, KeyScroll, 0x91},
    {SDL_SCANCODE_BACKSPACE, KeyBack, VkBack},
    {SDL_SCANCODE_TAB, KeyTab, VkTab},
    {SDL_SCANCODE_SPACE, KeySpace, VkSpace},
    {SDL_SCANCODE_RETURN, KeyReturn, VkReturn},
    {SDL_SCANCODE_ESCAPE, KeyEscape, VkEscape},
    {SDL_SCANCODE_RSHIFT, KeyRShift, VkRShift},
    {SDL_SCANCODE_LSHIFT, KeyLShift, VkLShift},
    {SDL_SCANCODE_RCTRL, KeyRControl, VkRControl},
    {SDL_SCANCODE_LCTRL, KeyLControl, VkLControl},
    {SDL_SCANCODE_RALT, KeyRMenu, VkRMenu},
    {SDL_SCANCODE_LALT, KeyLMenu, VkLMenu},
    {SDL_SCANCODE_PAGEUP, KeyPrior, VkPrior},
    {SDL_SCANCODE_PAGEDOWN, KeyNext, VkNext},
    {SDL_SCANCODE_END, KeyEnd, VkEnd},
    {SDL_SCANCODE_HOME, KeyHome, VkHome},
    {SDL_SCANCODE_PRINTSCREEN, KeySysRq, VkSnapshot},
    {SDL_SCANCODE_INSERT, KeyInsert, VkInsert},
    {SDL_SCANCODE_DELETE, KeyDelete, VkDelete},
    {SDL_SCANCODE_PAUSE, KeyPause, VkPause},
    {SDL_SCANCODE_LEFT, KeyLeft, VkLeft},
    {SDL_SCANCODE_UP, KeyUp, VkUp},
    {SDL_SCANCODE_RIGHT, KeyRight, VkRight},
    {SDL_SCANCODE_DOWN, KeyDown, VkDown},
    {SDL_SCANCODE_GRAVE, KeyGrave, 0xC0},
    {SDL_SCANCODE_SEMICOLON, KeySemicolon, 0xBA},
    {SDL_SCANCODE_EQUALS, KeyEquals, 0xBB},
    {SDL_SCANCODE_COMMA, KeyComma, 0xBC},
    {SDL_SCANCODE_MINUS, KeyMinus, 0xBD},
    {SDL_SCANCODE_PERIOD, KeyPeriod, 0xBE},
    {SDL_SCANCODE_SLASH, KeySlash, 0xBF},
    {SDL_SCANCODE_LEFTBRACKET, KeyLBracket, 0xDB},
    {SDL_SCANCODE_BACKSLASH, KeyBackslash, 0xDC},
    {SDL_SCANCODE_RIGHTBRACKET, KeyRBracket, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, KeyApostrophe, 0xDE},
    {SDL_SCANCODE_LGUI, KeyLWin, 0x5B},
    {SDL_SCANCODE_RGUI, KeyRWin, 0x5C},
    {SDL_SCANCODE_APPLICATION, KeyApps, 0x5D},
};

} // namespace

const KeyBinding* FindKeyByScancode(int scancode) {
    for (const KeyBinding& binding : keyTable)
        if (binding.scancode == scancode)
            return &binding;
    return nullptr;
}

const KeyBinding* FindKeyByCode(uint32_t code) {
    for (const KeyBinding& binding : keyTable)
        if (binding.code == code)
            return &binding;
    return nullptr;
}

} // namespace platform::input
