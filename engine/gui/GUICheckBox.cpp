#include "engine/gui/GUICheckBox.h"

namespace OrvexEngine {

GUICheckBox::GUICheckBox(GUIFontManager* fonts, GUISoundManager* sounds, Camera* camera, uint32_t newFlags,
                         const Vec2& newPosition, const Vec2& newSize, const Model* sourceModel,
                         const ShaderDescriptor* material, GUIWindow* newParent)
    : GUIButton(fonts, sounds, camera, newFlags, newPosition, newSize, sourceModel, material, newParent) {
    selectSoundName = "gui_default_check_box_select";
    clickSoundName = "gui_default_check_box_click";
}

bool GUICheckBox::Update(const Vec2& cursor, bool held, bool pressed) {
    if (!GUIButton::Update(cursor, held, pressed))
        return false;
    if (clicked)
        checked = !checked;
    return true;
}

int GUICheckBox::GetFrame() const {
    // Unchecked looks 0-2, checked 3-5; the disabled looks come last.
    switch (state) {
    case GUI_BUTTON_NORMAL:
    case GUI_BUTTON_HIGHLIGHTED:
    case GUI_BUTTON_PRESSED:
        return checked ? state + 3 : state;
    case GUI_BUTTON_DISABLED:
        return checked ? 7 : 6;
    default:
        return 0;
    }
}

} // namespace OrvexEngine
