// The "edit_box" control of a window description: wraps one engine edit box and keeps its own copy of every
// setting the description gives (font, colour, offset, caret, limits), written into the box in every frame
// in which the box is visible, so a change on the control takes effect at the next frame. The game reads and
// sets the typed text on the box itself. Created and deleted by the GUIWindowBase that built it; many exist.
#pragma once

#include "guitools/GUIControl.h"

namespace OrvexEngine {
class GUIEditBox;
}

namespace GUITools {

class GUIFontTool;

class GUIEditBoxControl final : public GUIControl {
public:
    GUIEditBoxControl(GameTools::DataKeeper* dataKeeper, GUIFontTool* fontTool,
                      OrvexEngine::GUIWindow* parent, const GUIControlDescription& description);
    ~GUIEditBoxControl() override;

    // Refreshes the box's settings while it is visible; its text, caret and view are left alone.
    void Update() override;
    // An empty name, or one the font tool lacks, leaves the box without a font from its next update on.
    void SetFont(const std::string& name);

    GUIFontTool* fontTool = nullptr;            // not owned
    OrvexEngine::GUIEditBox* editBox = nullptr; // the element; created and deleted through the GUI manager
    std::string fontName;
    int32_t fontId = -1;
    OrvexEngine::Vec4 fontColor{1, 1, 1, 1};
    OrvexEngine::Vec2 textOffset{0, 0};
    wchar_t cursorCharacter = L'_';
    int32_t maxCharacterCount = 255;
    float maxTextLength = 800;
    float visibleTextWidth = 800;
};

} // namespace GUITools
