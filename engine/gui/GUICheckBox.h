// A button that toggles `checked` on every click and shows eight looks (four per checked state, and the
// disabled look of each). Created and deleted by the GUI manager; many exist. Owners may set `checked` to
// show a stored setting.
#pragma once

#include "engine/gui/GUIButton.h"

namespace OrvexEngine {

class GUICheckBox : public GUIButton {
public:
    GUICheckBox(GUIFontManager* fontManager, GUISoundManager* soundManager, Camera* camera, uint32_t flags,
                const Vec2& position, const Vec2& size, const Model* sourceModel,
                const ShaderDescriptor* material, GUIWindow* parent);
    ~GUICheckBox() override = default;

    bool Update(const Vec2& cursor, bool held, bool pressed) override;
    int GetFrame() const override;

    bool checked = false;
};

} // namespace OrvexEngine
