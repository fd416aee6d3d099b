// Keyboard and mouse state by key name ("SPACE", "ENTER", "MOUSE1", "F12"...): whether a key is down or went
// down in this frame, the frame's typed character, the mouse position (mapped into the 4:3 picture in full
// screen on wide and tall desktops), the system cursor's visibility and a lock of key input. The platform-
// independent base of Controls_DI7, which reads the devices; the Engine creates that one and registers it
// as the single Controls, updates it at the start of every frame and resets its frame flags at the end.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {

class Controls : public GlobalPointerHolder<Controls> {
public:
    Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;
    // Shows the system cursor again.
    virtual ~Controls();

    // The base part of the frame's update: button order, cursor motion, wheel, input lock, cursor.
    virtual void Update();
    // End of frame: no key counts as pressed any more and the window's key event is gone.
    virtual void ResetFrame();

    // True in exactly the one frame in which the key went down (also when it was released again before the
    // update). Names are upper-cased first; an unknown name and a locked input answer false.
    bool WasPressed(const std::string& name) const;
    // True while the key is down, and in the frame in which it went down.
    bool IsDownOrPressed(const std::string& name) const;
    // The frame's last key event: a UTF-16 code unit (isCharacter) or a virtual-key code. False while locked
    // or when no key event arrived since the previous frame.
    bool GetTypedChar(uint16_t& code, bool& isCharacter) const;
    // The cursor in client pixels; in full screen on a wide or tall desktop the 4:3 picture's area is
    // stretched over the whole client area.
    Vec2 GetMousePosition() const;
    // Puts the cursor where GetMousePosition would report `p`.
    void SetMousePosition(const Vec2& p);
    void SetCursorVisible(bool visible);
    bool IsCursorVisible() const { return cursorVisible; }
    void ApplyCursorVisibility();
    // Until no key is active any more (after 2 s: until no key is physically down) every query answers false.
    void LockInput();
    bool IsInputLocked() const { return inputLocked; }
    bool IsAnyKeyActive() const;

    // Raw motion of the frame: the cursor's in pixels and the device's in its units (y up), the wheel's.
    const Vec2& GetCursorDelta() const { return cursorDelta; }
    const Vec2& GetDeviceDelta() const { return deviceDelta; }
    int32_t GetWheel() const { return wheel; }

protected:
    // Key transitions, written by the derived class.
    std::map<std::string, bool> keysDown;
    std::map<std::string, bool> keysPressed;
    // The name of each mouse button index as the device reports it; "MOUSE1" is always the primary button.
    std::vector<std::string> mouseButtonNames;
    int32_t wheel = 0;
    Vec2 deviceDelta;

private:
    bool swapButtons = false;
    bool cursorVisible = true;
    bool centerMouse = false;
    Vec2 sensitivity{1.0f, 1.0f};
    bool wheelSeen = false;
    Vec2 cursorDelta;
    Vec2i lastCursorPos;
    bool inputLocked = false;
    float lockTime = 0;
};

} // namespace OrvexEngine
