// Controls over the system keyboard and mouse devices: opens both, reads them once a frame as buffered
// events (falling back to the whole device state for a frame when a buffered read fails) and turns what it
// reads into key transitions, mouse motion and wheel motion of the base. Owns the binding of each keyboard
// key name to its key code. Created by the Engine after the window and the graphics services, registered as
// the single Controls, deleted at shutdown.
#pragma once

#include "engine/core/Controls.h"

#include <cstdint>
#include <map>
#include <string>

namespace platform::input {
class InputSystem;
class InputDevice;
} // namespace platform::input

namespace OrvexEngine {

class Controls_DI7 final : public Controls {
public:
    // Fails with FatalError when the input system, a device, its data format or its cooperative level
    // cannot be had; a device that refuses buffering is read as a whole state instead.
    explicit Controls_DI7(bool buffered);
    ~Controls_DI7() override;

    // Reads both devices, then runs the base update.
    void Update() override;
    void ResetFrame() override;
    // The one way key transitions enter the state; an unknown name changes nothing.
    void SetKeyState(const std::string& name, bool down);

    bool IsKeyboardBuffered() const { return keyboardBuffered; }
    bool IsMouseBuffered() const { return mouseBuffered; }

private:
    platform::input::InputDevice* CreateDevice(bool keyboard);
    void ReadKeyboard();
    void ReadMouse();
    void ReleaseDevices();
    [[noreturn]] void FailSetUp(const std::string& text);

    platform::input::InputSystem* directInput = nullptr; // owned
    platform::input::InputDevice* keyboard = nullptr;    // owned
    platform::input::InputDevice* mouse = nullptr;       // owned
    std::map<std::string, uint32_t> nameToCode;
    std::map<uint32_t, std::string> codeToName;
    bool keyboardBuffered = true;
    bool mouseBuffered = true;
};

} // namespace OrvexEngine
