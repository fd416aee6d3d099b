#include "engine/gui/GUIButton.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUISoundManager.h"

#include <algorithm>

namespace OrvexEngine {

GUIButton::GUIButton(GUIFontManager* fonts, GUISoundManager* sounds, Camera* camera, uint32_t newFlags,
                     const Vec2& newPosition, const Vec2& newSize, const Model* sourceModel,
                     const ShaderDescriptor* material, GUIWindow* newParent)
    : GUIWindow(fonts, camera, newFlags, newPosition, newSize, sourceModel, material, newParent),
      soundManager(sounds) {}

bool GUIButton::Update(const Vec2& cursor, bool held, bool pressed) {
    clicked = false;
    if (!GUIWindow::Update(cursor, held, pressed))
        return false;
    if (state == GUI_BUTTON_DISABLED)
        return false;
    // The click sound answers the press, not the release.
    if (mouseOver && pressed && !captured) {
        captured = true;
        PlaySound(clickSoundName);
    }
    if (captured) {
        if (held) {
            state = mouseOver ? GUI_BUTTON_PRESSED : GUI_BUTTON_NORMAL;
        } else {
            clicked = mouseOver;
            captured = false;
        }
    }
    if (!captured) {
        state = mouseOver ? GUI_BUTTON_HIGHLIGHTED : GUI_BUTTON_NORMAL;
        if (mouseOver && !wasMouseOver)
            PlaySound(selectSoundName);
    }
    wasMouseOver = mouseOver;
    return true;
}

bool GUIButton::Render() {
    if (!GUIWindow::Render())
        return false;
    const auto frame = static_cast<uint32_t>(GetFrame());
    ShaderUser* material = GetShaderUser();
    AnimationControl* stage =
        material != nullptr && material->stageCount > 0 ? material->GetAnimation(0) : nullptr;
    if (stage != nullptr && stage->frameCount > 1)
        ShowFrame(stage, frame);
    else if (model != nullptr && model->animationControl != nullptr &&
             model->animationControl->frameCount > 1)
        ShowFrame(model->animationControl, frame);
    return true;
}

void GUIButton::UpdateVisibility() {
    const bool wasVisible = visible;
    GUIWindow::UpdateVisibility();
    if (visible && !wasVisible && state != GUI_BUTTON_DISABLED)
        state = GUI_BUTTON_NORMAL;
}

void GUIButton::SetEnabled(bool enabled) {
    const bool isEnabled = state != GUI_BUTTON_DISABLED;
    if (isEnabled == enabled)
        return;
    state = enabled ? GUI_BUTTON_NORMAL : GUI_BUTTON_DISABLED;
}

int GUIButton::GetFrame() const {
    return state >= GUI_BUTTON_NORMAL && state <= GUI_BUTTON_DISABLED ? state : 0;
}

void GUIButton::PlaySound(const std::string& name) {
    if (soundManager != nullptr)
        soundManager->Play(name);
}

void GUIButton::ShowFrame(AnimationControl* animation, uint32_t frame) {
    animation->position = static_cast<float>(frame);
    animation->currentFrame = std::min(frame, animation->frameCount - 1);
}

} // namespace OrvexEngine
