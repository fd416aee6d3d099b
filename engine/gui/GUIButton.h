// A GUI element that turns the frame's cursor and mouse-button state into a look (normal, highlighted,
// pressed, disabled), a one-frame click and two GUI sounds. Created and deleted by the GUI manager, or by
// the slider that owns it; many exist. Owners read `clicked` after the frame's input step.
#pragma once

#include "engine/gui/GUIWindow.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

class AnimationControl;
class GUISoundManager;

enum GUIButtonState : int32_t {
    GUI_BUTTON_NORMAL = 0,
    GUI_BUTTON_HIGHLIGHTED = 1,
    GUI_BUTTON_PRESSED = 2,
    GUI_BUTTON_DISABLED = 3,
};

class GUIButton : public GUIWindow {
public:
    // The window's constructor; normal, not captured, and counted as under the cursor so that a cursor
    // already resting on a new button plays no select sound.
    GUIButton(GUIFontManager* fontManager, GUISoundManager* soundManager, Camera* camera, uint32_t flags,
              const Vec2& position, const Vec2& size, const Model* sourceModel,
              const ShaderDescriptor* material, GUIWindow* parent);
    ~GUIButton() override = default;

    // held: the mouse button is down now or went down this frame; pressed: it went down this frame.
    // False, with state and capture untouched, while hidden or disabled.
    bool Update(const Vec2& cursor, bool held, bool pressed) override;
    // Shows the look of the current state through the material's or the model's animation frame.
    bool Render() override;
    void UpdateVisibility() override;
    // Keeps a capture: a button re-enabled while the mouse button is still down may yet click.
    virtual void SetEnabled(bool enabled);
    virtual int GetFrame() const;

    // Pins a look frame by the animation's position: the animation recomputes its current frame from the
    // position when the material and the model update later in the frame.
    static void ShowFrame(AnimationControl* animation, uint32_t frame);

    GUISoundManager* soundManager = nullptr; // not owned; may be null
    int32_t state = GUI_BUTTON_NORMAL;
    bool captured = false;
    bool wasMouseOver = true;
    bool clicked = false;
    std::string selectSoundName = "gui_default_button_select";
    std::string clickSoundName = "gui_default_button_click";

private:
    void PlaySound(const std::string& name);
};

} // namespace OrvexEngine
