// The "scroll" control of a window description: a slider control whose element is an engine scroll, a slider
// with an increase and a decrease button. Every frame while the scroll is visible it hands the buttons their
// size, position and hit rectangles and orders them in front of the track or behind it. Created and deleted
// by the GUIWindowBase that built it; many exist.
#pragma once

#include "guitools/GUISliderControl.h"

namespace OrvexEngine {
class GUIScroll;
class Model;
class ShaderDescriptor;
} // namespace OrvexEngine

namespace GUITools {

// The description values of one step button.
struct GUIScrollButtonLayout {
    std::string model;
    std::string shader;
    OrvexEngine::Vec2 uv{1, 1};
    OrvexEngine::Vec2 position{0, 0};
    OrvexEngine::Vec2 size{1, 1};
    bool hasSelection = false;
    OrvexEngine::Vec2 selectionPosition{0, 0};
    OrvexEngine::Vec2 selectionSize{0, 0};
};

class GUIScrollControl final : public GUISliderControl {
public:
    GUIScrollControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                     const GUIControlDescription& description);
    ~GUIScrollControl() override;

    void Update() override;
    // Each creates its button with that button's current position and size; called before the button's
    // other attributes are set.
    void InitIncreaseButton(const std::string& modelName, const std::string& shaderName,
                            const OrvexEngine::Vec2& uv);
    void InitDecreaseButton(const std::string& modelName, const std::string& shaderName,
                            const OrvexEngine::Vec2& uv);

    OrvexEngine::GUIScroll* scroll = nullptr; // the element, also `slider`; deleted through the GUI manager
    GUIScrollButtonLayout increaseButton;
    GUIScrollButtonLayout decreaseButton;
    std::string buttons_alignment = "upper"; // exactly "lower" puts the buttons behind the track

private:
    using CreateButton = void (OrvexEngine::GUIScroll::*)(const OrvexEngine::Vec2&, const OrvexEngine::Vec2&,
                                                          const OrvexEngine::Model*,
                                                          const OrvexEngine::ShaderDescriptor*);
    void InitButton(GUIScrollButtonLayout& layout, const std::string& modelName,
                    const std::string& shaderName, const OrvexEngine::Vec2& uv, CreateButton create);
};

} // namespace GUITools
