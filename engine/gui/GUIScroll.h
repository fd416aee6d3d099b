// A slider with two owned step buttons: pressing one moves the position by `step` at once and again every
// 0.15 s while it is held over the button. Created and deleted by the GUI manager; many exist.
#pragma once

#include "engine/gui/GUISlider.h"

namespace OrvexEngine {

class GUIScroll : public GUISlider {
public:
    static constexpr float repeatPeriod = 0.15f;

    GUIScroll(GUIFontManager* fontManager, GUISoundManager* soundManager, Camera* camera, uint32_t flags,
              const Vec2& position, const Vec2& size, const Model* sourceModel,
              const ShaderDescriptor* material, int orientation, const Vec2& toddlerMinPosition,
              const Vec2& toddlerMaxPosition, uint32_t positionCount, GUIWindow* parent);
    // Deletes the two step buttons; the slider deletes the toddler.
    ~GUIScroll() override;

    // The slider's update, then the step buttons with their auto-repeat on the frame time.
    bool Update(const Vec2& cursor, bool held, bool pressed) override;
    bool Render() override;
    void SetColor(const Vec4& color) override;
    void SetAlpha(float alpha) override;
    // The toddler is drawn over the step buttons.
    void CreateToddler(const Vec2& size, const Model* sourceModel, const ShaderDescriptor* material) override;
    void SetEnabled(bool enabled) override;
    // The toddler or a step button is held.
    bool IsDragging() const override;
    bool IsPressed() const { return IsDragging(); }

    // Each replaces the button of its kind; the button places its own model.
    void CreateIncreaseButton(const Vec2& position, const Vec2& size, const Model* sourceModel,
                              const ShaderDescriptor* material);
    void CreateDecreaseButton(const Vec2& position, const Vec2& size, const Model* sourceModel,
                              const ShaderDescriptor* material);

    GUIButton* GetIncreaseButton() const { return increaseButton; }
    GUIButton* GetDecreaseButton() const { return decreaseButton; }

    // Positions moved per step; owners set it directly. A negative step moves the other way, within range.
    int32_t step = 1;
    float repeatTime = 0;

private:
    // The position moved by `delta` steps, kept within 0..count-1.
    void Step(int64_t delta);

    GUIButton* increaseButton = nullptr; // owned; raises the position (lowers it when reversed)
    GUIButton* decreaseButton = nullptr; // owned
};

} // namespace OrvexEngine
