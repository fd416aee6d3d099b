// Recognises a double click of the left mouse button ("MOUSE1") on one of a set of registered GUI elements:
// press, release, press, release, the second press on the same element, all within 0.6 s of the first press
// by the frame clock. Made and deleted by its owner (the stage map); the elements stay the GUI manager's.
// Update once a frame after the GUI input step, then read doubleClicked and element. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

namespace OrvexEngine {
class GUIWindow;
}

namespace GameTools {

class GUIDoubleClickDetecter {
public:
    GUIDoubleClickDetecter() = default;
    GUIDoubleClickDetecter(const GUIDoubleClickDetecter&) = delete;
    GUIDoubleClickDetecter& operator=(const GUIDoubleClickDetecter&) = delete;
    virtual ~GUIDoubleClickDetecter() = default;

    // Appends the element, also a repeat.
    void AddElement(OrvexEngine::GUIWindow* element);
    // Erases the first entry of the element; null is ignored. Removing the element of a running attempt ends
    // that attempt, so a new element made at the same address cannot complete it.
    void RemoveElement(OrvexEngine::GUIWindow* element);
    // Needs the Controls and the TimerManager; without them only the flag is cleared.
    void Update();

    uint32_t GetPhase() const { return phase; }
    float GetFirstClickTime() const { return firstClickTime; }

    // Read by the owner after Update.
    bool doubleClicked = false;                // true only in the update that completes a double click
    OrvexEngine::GUIWindow* element = nullptr; // not owned; only compared: the first press's element

private:
    // The first registered element that is visible and under the cursor, or null.
    OrvexEngine::GUIWindow* Hit() const;

    std::vector<OrvexEngine::GUIWindow*> elements; // not owned, in registration order
    float firstClickTime = -1;                     // frame-clock seconds; -1 when there is no attempt
    bool buttonWasDown = false;
    uint32_t phase = 0; // 0 no attempt, 1 first press seen, 2 first release seen
};

} // namespace GameTools
