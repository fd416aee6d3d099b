#include "engine/gui/GUISlider.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUIButton.h"
#include "engine/math/Matrix4.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

GUISlider::GUISlider(GUIFontManager* fonts, GUISoundManager* sounds, Camera* guiCamera, uint32_t newFlags,
                     const Vec2& newPosition, const Vec2& newSize, const Model* sourceModel,
                     const ShaderDescriptor* material, int newOrientation, const Vec2& minPosition,
                     const Vec2& maxPosition, uint32_t count, GUIWindow* newParent)
    : GUIWindow(fonts, guiCamera, newFlags, newPosition, newSize, sourceModel, material, newParent),
      soundManager(sounds), camera(guiCamera), orientation(newOrientation), toddlerMinPosition(minPosition),
      toddlerMaxPosition(maxPosition), positionCount(std::max(count, 2u)) {
    GUISlider::CreateToddler(Vec2(0, 0), nullptr, nullptr);
    SetPosition(0);
}

GUISlider::~GUISlider() {
    delete toddler;
}

GUIButton* GUISlider::MakeOwnedButton(const Vec2& buttonPosition, const Vec2& buttonSize,
                                      const Model* sourceModel, const ShaderDescriptor* material) {
    const uint32_t buttonFlags = GUI_WINDOW_VISIBLE | (flags & GUI_WINDOW_VERTEX_COLORS);
    return new GUIButton(fontManager, soundManager, camera, buttonFlags, buttonPosition, buttonSize,
                         sourceModel, material, this);
}

void GUISlider::CreateToddler(const Vec2& newSize, const Model* sourceModel,
                              const ShaderDescriptor* material) {
    delete toddler;
    toddlerSize = newSize;
    toddler = MakeOwnedButton(toddlerMinPosition, toddlerMaxPosition - toddlerMinPosition + toddlerSize,
                              sourceModel, material);
    // The slider places the toddler's model at the current position; its window is the whole track.
    toddler->autoTransform = false;
    toddler->selectSoundName = "gui_default_slider_toddler_select";
    toddler->clickSoundName = "gui_default_slider_toddler_click";
    SetPosition(currentPosition);
}

void GUISlider::PlaceToddlerWindow() {
    toddler->SetPosition(toddlerMinPosition);
    toddler->SetSize(toddlerMaxPosition - toddlerMinPosition + toddlerSize);
}

void GUISlider::SetPosition(uint32_t n) {
    currentPosition = std::min(n, positionCount - 1);
}

void GUISlider::SetPositionCount(uint32_t n) {
    if (n == positionCount)
        return;
    positionCount = std::max(n, 2u);
    SetPosition(currentPosition);
}

void GUISlider::SetToddlerMinPosition(const Vec2& p) {
    toddlerMinPosition = p;
    PlaceToddlerWindow();
}

void GUISlider::SetToddlerMaxPosition(const Vec2& p) {
    toddlerMaxPosition = p;
    PlaceToddlerWindow();
}

void GUISlider::SetToddlerSize(const Vec2& s) {
    toddlerSize = s;
    PlaceToddlerWindow();
}

void GUISlider::SetEnabled(bool enabled) {
    if (enabled == IsEnabled())
        return;
    state = enabled ? GUI_SLIDER_NORMAL : GUI_SLIDER_DISABLED;
    toddler->SetEnabled(enabled);
}

bool GUISlider::IsDragging() const {
    return toddler->captured;
}

void GUISlider::UpdateVisibility() {
    const bool wasVisible = visible;
    GUIWindow::UpdateVisibility();
    if (visible && !wasVisible && state != GUI_SLIDER_DISABLED)
        state = GUI_SLIDER_NORMAL;
}

void GUISlider::SetColor(const Vec4& color) {
    GUIWindow::SetColor(color);
    toddler->SetColor(color);
}

void GUISlider::SetAlpha(float alpha) {
    GUIWindow::SetAlpha(alpha);
    toddler->SetAlpha(alpha);
}

bool GUISlider::Update(const Vec2& cursor, bool held, bool pressed) {
    if (!GUIWindow::Update(cursor, held, pressed))
        return false;
    if (!toddler->Update(cursor, held, pressed))
        return false;
    if (state == GUI_SLIDER_DISABLED)
        return false;
    state = mouseOver ? GUI_SLIDER_HIGHLIGHTED : GUI_SLIDER_NORMAL;
    if (toddler->captured) {
        const int axis = orientation == 0 ? 0 : 1;
        const Vec2 origin = GetParentOrigin() + position;
        float range = toddlerMaxPosition[axis] - toddlerMinPosition[axis];
        if (range <= 1)
            range = 1;
        // The toddler's centre follows the cursor.
        float t = (cursor[axis] - origin[axis] - toddlerMinPosition[axis] - toddlerSize[axis] * 0.5f) / range;
        t = std::clamp(t, 0.0f, 1.0f);
        if (reversed)
            t = 1 - t;
        const float v = float(positionCount - 1) * t;
        const float whole = std::floor(v);
        SetPosition(static_cast<uint32_t>(v - whole < 0.5f ? whole : whole + 1));
    }
    return true;
}

bool GUISlider::Render() {
    if (!GUIWindow::Render())
        return false;
    if (Model* toddlerModel = toddler->GetModel()) {
        float t = float(currentPosition) / float(positionCount - 1);
        if (reversed)
            t = 1 - t;
        const Vec2 p = toddlerMinPosition + (toddlerMaxPosition - toddlerMinPosition) * t;
        const Vec2 at = GetParentOrigin() + position + p;
        toddlerModel->transform = toddlerModel->baseTransform;
        toddlerModel->box.SetTransform(toddlerModel->transform);
        toddlerModel->transform = Matrix4::Translation(Vec3(at.x, at.y, 0))
                                      .Multiply(Matrix4::Scaling(Vec3(toddlerSize.x, toddlerSize.y, 1)))
                                      .Multiply(toddlerModel->transform);
        toddlerModel->box.SetTransform(toddlerModel->transform);
    }
    toddler->Render();
    ShaderUser* material = GetShaderUser();
    if (material != nullptr && material->stageCount > 0)
        if (AnimationControl* stage = material->GetAnimation(0))
            GUIButton::ShowFrame(stage, static_cast<uint32_t>(state));
    return true;
}

} // namespace OrvexEngine
