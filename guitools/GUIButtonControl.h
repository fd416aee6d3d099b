// The "button" control of a window description: a button; the game reads its click through the owning window.
// Its element is created hidden at (0, 0) with size (1, 1); the description's geometry reaches it at the
// first update. Created and deleted by the GUIWindowBase that built it; many exist.
#pragma once

#include "guitools/GUIControl.h"

namespace OrvexEngine {
class GUIButton;
}

namespace GUITools {

class GUIButtonControl final : public GUIControl {
public:
    GUIButtonControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                     const GUIControlDescription& description);
    ~GUIButtonControl() override;

    void Update() override;

    OrvexEngine::GUIButton* button = nullptr; // the element; created and deleted through the GUI manager
};

} // namespace GUITools
