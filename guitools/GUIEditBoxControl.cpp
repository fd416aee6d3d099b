#include "guitools/GUIEditBoxControl.h"

#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIManager.h"
#include "guitools/GUIFontTool.h"

namespace GUITools {

GUIEditBoxControl::GUIEditBoxControl(GameTools::DataKeeper* dataKeeper, GUIFontTool* fonts,
                                     OrvexEngine::GUIWindow* parent, const GUIControlDescription& description)
    : GUIControl(dataKeeper, description), fontTool(fonts) {
    editBox = OrvexEngine::GUIManager::Instance()->CreateEditBox(
        OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size, DescribedModel(description.model),
        DescribedMaterial(description.shader), fontId, fontColor, textOffset, maxCharacterCount,
        maxTextLength, visibleTextWidth, cursorCharacter, parent);
    editBox->ScaleUV(description.uv);
    InitElement(editBox, description);
    // The box's model shows the box, not a show or hide animation.
    modelAnimation = nullptr;
}

GUIEditBoxControl::~GUIEditBoxControl() {
    OrvexEngine::GUIManager::Instance()->DeleteEditBox(editBox);
}

void GUIEditBoxControl::SetFont(const std::string& name) {
    fontName = name;
    fontId = name.empty() || fontTool == nullptr ? -1 : fontTool->GetFontIndex(name);
}

void GUIEditBoxControl::Update() {
    GUIControl::Update();
    if (!editBox->visible)
        return;
    editBox->SetFont(fontId);
    editBox->fontColor = fontColor;
    editBox->SetTextOffset(textOffset);
    editBox->SetCursorCharacter(cursorCharacter);
    editBox->maxCharacterCount = maxCharacterCount;
    editBox->maxTextLength = maxTextLength;
    editBox->visibleTextWidth = visibleTextWidth;
}

} // namespace GUITools
