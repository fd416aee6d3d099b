#include "gametools/GUIDoubleClickDetecter.h"

#include "engine/core/Controls.h"
#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/gui/GUIWindow.h"

#include <algorithm>

using namespace OrvexEngine;

namespace GameTools {

namespace {

constexpr float doubleClickWindow = 0.6f; // seconds from the first press, compared strictly
const char* const button = "MOUSE1";

} // namespace

void GUIDoubleClickDetecter::AddElement(GUIWindow* added) {
    elements.push_back(added);
}

void GUIDoubleClickDetecter::RemoveElement(GUIWindow* removed) {
    if (removed == nullptr)
        return;
    auto found = std::find(elements.begin(), elements.end(), removed);
    if (found == elements.end())
        return;
    elements.erase(found);
    if (removed == element && phase != 0) {
        firstClickTime = -1;
        phase = 0;
    }
}

GUIWindow* GUIDoubleClickDetecter::Hit() const {
    for (GUIWindow* candidate : elements)
        if (candidate->visible && candidate->mouseOver)
            return candidate;
    return nullptr;
}

void GUIDoubleClickDetecter::Update() {
    doubleClicked = false;
    Controls* controls = Controls::Instance();
    TimerManager* timers = TimerManager::Instance();
    if (controls == nullptr || timers == nullptr)
        return;
    const float now = timers->GetFrameTimer()->GetTime();
    const bool pressed = controls->WasPressed(button);
    const bool down = controls->IsDownOrPressed(button);

    if (now - firstClickTime < doubleClickWindow) {
        if (pressed) {
            GUIWindow* hit = Hit();
            if (hit == nullptr) {
                firstClickTime = -1;
                phase = 0;
                element = nullptr;
            } else if (hit != element) {
                element = hit;
                firstClickTime = now;
                phase = 1;
            }
        } else if (buttonWasDown && !down) {
            if (phase < 2) {
                ++phase;
            } else {
                firstClickTime = -1;
                phase = 0;
                doubleClicked = true;
            }
        }
    } else if (pressed) {
        if (GUIWindow* hit = Hit()) {
            element = hit;
            firstClickTime = now;
            phase = 1;
        }
    }
    buttonWasDown = down;
}

} // namespace GameTools
