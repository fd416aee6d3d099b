#include "guitools/GUIButtonControl.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"

namespace GUITools {

GUIButtonControl::GUIButtonControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                                   const GUIControlDescription& description)
    : GUIControl(dataKeeper, description) {
    button = OrvexEngine::GUIManager::Instance()->CreateButton(
        OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size, DescribedModel(description.model),
        DescribedMaterial(description.shader), parent);
    button->ScaleUV(description.uv);
    InitElement(button, description);
    // The model's frames show the element's state, so no show or hide range is played on them.
    modelAnimation = nullptr;
}

GUIButtonControl::~GUIButtonControl() {
    OrvexEngine::GUIManager::Instance()->DeleteButton(button);
}

void GUIButtonControl::Update() {
    GUIControl::Update();
}

} // namespace GUITools
