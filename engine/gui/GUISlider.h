// A GUI element that holds one of a fixed number of positions and shows it with a thumb, the toddler,
// between a minimum and a maximum place inside it. The toddler is an owned button whose window spans the
// whole track: pressing anywhere on the track captures it, and while it is held the slider snaps to the
// position under the cursor. Created and deleted by the GUI manager; many exist.
#pragma once

#include "engine/gui/GUIWindow.h"

#include <cstdint>

namespace OrvexEngine {

class GUIButton;
class GUISoundManager;

enum GUISliderState : int32_t {
    GUI_SLIDER_NORMAL = 0,
    GUI_SLIDER_HIGHLIGHTED = 1,
    GUI_SLIDER_DISABLED = 2,
};

class GUISlider : public GUIWindow {
public:
    // orientation 0 is horizontal (x), anything else vertical (y). A position count below 2 becomes 2.
    // The owned buttons draw with `camera`, so a slider without a model or material still works.
    GUISlider(GUIFontManager* fontManager, GUISoundManager* soundManager, Camera* camera, uint32_t flags,
              const Vec2& position, const Vec2& size, const Model* sourceModel,
              const ShaderDescriptor* material, int orientation, const Vec2& toddlerMinPosition,
              const Vec2& toddlerMaxPosition, uint32_t positionCount, GUIWindow* parent);
    // Deletes the toddler.
    ~GUISlider() override;

    // While the toddler is captured, the position follows the cursor (halves round up). False when hidden,
    // disabled or the toddler is hidden.
    bool Update(const Vec2& cursor, bool held, bool pressed) override;
    // Places the toddler's model at the current position and shows the slider's look for its state.
    bool Render() override;
    void SetColor(const Vec4& color) override;
    void SetAlpha(float alpha) override;
    void UpdateVisibility() override;
    // Replaces the toddler (its model drawn at `toddlerSize`); the window spans the whole track.
    virtual void CreateToddler(const Vec2& size, const Model* sourceModel, const ShaderDescriptor* material);
    virtual void SetEnabled(bool enabled);
    // The slider: the toddler is held. The scroll: the toddler or a step button is held.
    virtual bool IsDragging() const;

    // Clamped to the last position.
    void SetPosition(uint32_t n);
    // Raised to 2; the position is clamped again.
    void SetPositionCount(uint32_t n);
    void SetToddlerMinPosition(const Vec2& p);
    void SetToddlerMaxPosition(const Vec2& p);
    void SetToddlerSize(const Vec2& s);
    // 0 horizontal, anything else vertical; the slider control sets it from its description every frame.
    void SetOrientation(int newOrientation) { orientation = newOrientation; }
    bool IsEnabled() const { return state != GUI_SLIDER_DISABLED; }

    uint32_t GetPosition() const { return currentPosition; }
    uint32_t GetPositionCount() const { return positionCount; }
    GUIButton* GetToddler() const { return toddler; }
    int GetOrientation() const { return orientation; }
    const Vec2& GetToddlerMinPosition() const { return toddlerMinPosition; }
    const Vec2& GetToddlerMaxPosition() const { return toddlerMaxPosition; }
    const Vec2& GetToddlerSize() const { return toddlerSize; }

    // Owners set it directly: position 0 then lies at the maximum end.
    bool reversed = false;
    int32_t state = GUI_SLIDER_NORMAL;

protected:
    // A new owned button, a child of this slider, drawn with the slider's camera.
    GUIButton* MakeOwnedButton(const Vec2& position, const Vec2& size, const Model* sourceModel,
                               const ShaderDescriptor* material);
    // Sets the toddler's window to the whole track.
    void PlaceToddlerWindow();

    GUISoundManager* soundManager = nullptr; // not owned; handed to the owned buttons
    Camera* camera = nullptr;                // not owned: the GUI camera
    int orientation = 0;
    Vec2 toddlerMinPosition;
    Vec2 toddlerMaxPosition;
    Vec2 toddlerSize;
    uint32_t positionCount = 2;
    uint32_t currentPosition = 0;
    GUIButton* toddler = nullptr; // owned
};

} // namespace OrvexEngine
