// The "window" control of a window description: a plain GUI window: a panel, a picture or a container for
// other controls. Its element is created hidden at (0, 0) with size (1, 1); the description's geometry
// reaches it at the first update. Created and deleted by the GUIWindowBase that built it; many exist.
#pragma once

#include "guitools/GUIControl.h"

namespace OrvexEngine {
class GUIWindow;
}

namespace GUITools {

class GUIWindowControl final : public GUIControl {
public:
    GUIWindowControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                     const GUIControlDescription& description);
    ~GUIWindowControl() override;

    void Update() override;
};

} // namespace GUITools
