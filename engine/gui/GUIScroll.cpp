#include "engine/gui/GUIScroll.h"

#include "engine/core/TimerManager.h"
#include "engine/gui/GUIButton.h"

#include <algorithm>

namespace OrvexEngine {

namespace {

// Below this the repeat accumulator counts as spent.
constexpr float repeatEpsilon = 0.0001f;

void SetNavigationSounds(GUIButton* button) {
    button->selectSoundName = "gui_default_scroll_navigation_select";
    button->clickSoundName = "gui_default_scroll_navigation_click";
}

} // namespace

GUIScroll::GUIScroll(GUIFontManager* fonts, GUISoundManager* sounds, Camera* guiCamera, uint32_t newFlags,
                     const Vec2& newPosition, const Vec2& newSize, const Model* sourceModel,
                     const ShaderDescriptor* material, int newOrientation, const Vec2& minPosition,
                     const Vec2& maxPosition, uint32_t count, GUIWindow* newParent)
    : GUISlider(fonts, sounds, guiCamera, newFlags, newPosition, newSize, sourceModel, material,
                newOrientation, minPosition, maxPosition, count, newParent) {
    GUIScroll::CreateToddler(Vec2(0, 0), nullptr, nullptr);
    CreateIncreaseButton(Vec2(0, 0), Vec2(0, 0), nullptr, nullptr);
    CreateDecreaseButton(Vec2(0, 0), Vec2(0, 0), nullptr, nullptr);
}

GUIScroll::~GUIScroll() {
    delete increaseButton;
    delete decreaseButton;
}

void GUIScroll::CreateToddler(const Vec2& newSize, const Model* sourceModel,
                              const ShaderDescriptor* material) {
    GUISlider::CreateToddler(newSize, sourceModel, material);
    // Over the step buttons, which have order 1.
    toddler->SetOrder(2);
    toddler->selectSoundName = "gui_default_scroll_toddler_select";
    toddler->clickSoundName = "gui_default_scroll_toddler_click";
}

void GUIScroll::CreateIncreaseButton(const Vec2& buttonPosition, const Vec2& buttonSize,
                                     const Model* sourceModel, const ShaderDescriptor* material) {
    delete increaseButton;
    increaseButton = MakeOwnedButton(buttonPosition, buttonSize, sourceModel, material);
    SetNavigationSounds(increaseButton);
}

void GUIScroll::CreateDecreaseButton(const Vec2& buttonPosition, const Vec2& buttonSize,
                                     const Model* sourceModel, const ShaderDescriptor* material) {
    delete decreaseButton;
    decreaseButton = MakeOwnedButton(buttonPosition, buttonSize, sourceModel, material);
    SetNavigationSounds(decreaseButton);
}

void GUIScroll::SetEnabled(bool enabled) {
    if (enabled == IsEnabled())
        return;
    GUISlider::SetEnabled(enabled);
    increaseButton->SetEnabled(enabled);
    decreaseButton->SetEnabled(enabled);
}

bool GUIScroll::IsDragging() const {
    return toddler->captured || increaseButton->captured || decreaseButton->captured;
}

void GUIScroll::SetColor(const Vec4& color) {
    GUISlider::SetColor(color);
    increaseButton->SetColor(color);
    decreaseButton->SetColor(color);
}

void GUIScroll::SetAlpha(float alpha) {
    GUISlider::SetAlpha(alpha);
    increaseButton->SetAlpha(alpha);
    decreaseButton->SetAlpha(alpha);
}

void GUIScroll::Step(int64_t delta) {
    const int64_t target =
        std::clamp<int64_t>(int64_t(currentPosition) + delta, 0, int64_t(positionCount) - 1);
    SetPosition(static_cast<uint32_t>(target));
}

bool GUIScroll::Update(const Vec2& cursor, bool held, bool pressed) {
    if (!GUISlider::Update(cursor, held, pressed)) {
        repeatTime = 0;
        return false;
    }
    increaseButton->Update(cursor, held, pressed);
    decreaseButton->Update(cursor, held, pressed);
    bool up = increaseButton->captured && increaseButton->mouseOver;
    bool down = decreaseButton->captured && decreaseButton->mouseOver;
    if (reversed)
        std::swap(up, down);
    if (!up && !down) {
        repeatTime = 0;
        return true;
    }
    // The first frame of a press steps at once; the accumulator then sits about one period below zero.
    repeatTime += TimerManager::Instance()->frameTime;
    while (repeatTime > repeatEpsilon) {
        repeatTime -= repeatPeriod;
        if (up)
            Step(step);
        if (down)
            Step(-int64_t(step));
    }
    return true;
}

bool GUIScroll::Render() {
    if (!GUISlider::Render())
        return false;
    increaseButton->Render();
    decreaseButton->Render();
    return true;
}

} // namespace OrvexEngine
