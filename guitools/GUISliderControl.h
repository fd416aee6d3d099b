// The "slider" control of a window description: drives an engine slider (a track with a draggable thumb, the
// toddler) and, every frame while the slider is visible, hands it the description's orientation, thumb size,
// travel and thumb hit rectangle. The game reads and sets positions on the slider itself. Base of the scroll
// control. Created and deleted by the GUIWindowBase that built it; many exist.
#pragma once

#include "guitools/GUIControl.h"

namespace OrvexEngine {
class GUISlider;
}

namespace GUITools {

class GUISliderControl : public GUIControl {
public:
    GUISliderControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                     const GUIControlDescription& description);
    ~GUISliderControl() override;

    void Update() override;
    // Creates the thumb with the current toddler size; called before the other slider attributes are set.
    void InitToddler(const std::string& modelName, const std::string& shaderName,
                     const OrvexEngine::Vec2& uv);

    OrvexEngine::GUISlider* slider = nullptr; // the element; created and deleted through the GUI manager
    std::string orientation = "horizontal";   // "vertical" anywhere in it makes a vertical slider
    std::string toddler_model;
    std::string toddler_shader;
    OrvexEngine::Vec2 toddler_uv{1, 1};
    OrvexEngine::Vec2 toddler_min_position{0, 0};
    OrvexEngine::Vec2 toddler_max_position{0, 0};
    OrvexEngine::Vec2 toddler_size{1, 1};
    bool hasToddlerSelection = false;
    OrvexEngine::Vec2 toddler_selection_position{0, 0};
    OrvexEngine::Vec2 toddler_selection_size{0, 0};

protected:
    // Without an element: the scroll control creates its own.
    GUISliderControl(GameTools::DataKeeper* dataKeeper, const GUIControlDescription& description);
};

} // namespace GUITools
