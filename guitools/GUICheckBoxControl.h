// The "check_box" control of a window description: a check box; the game reads and sets its checked state
// through the owning window. Its element is created hidden at (0, 0) with size (1, 1); the description's
// geometry reaches it at the first update. Created and deleted by the GUIWindowBase that built it; many
// exist.
#pragma once

#include "guitools/GUIControl.h"

namespace OrvexEngine {
class GUICheckBox;
}

namespace GUITools {

class GUICheckBoxControl final : public GUIControl {
public:
    GUICheckBoxControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                       const GUIControlDescription& description);
    ~GUICheckBoxControl() override;

    void Update() override;

    OrvexEngine::GUICheckBox* checkBox = nullptr; // the element; created and deleted through the GUI manager
};

} // namespace GUITools
