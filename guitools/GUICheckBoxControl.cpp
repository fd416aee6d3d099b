#include "guitools/GUICheckBoxControl.h"

#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIManager.h"

namespace GUITools {

GUICheckBoxControl::GUICheckBoxControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                                       const GUIControlDescription& description)
    : GUIControl(dataKeeper, description) {
    checkBox = OrvexEngine::GUIManager::Instance()->CreateCheckBox(
        OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size, DescribedModel(description.model),
        DescribedMaterial(description.shader), parent);
    checkBox->ScaleUV(description.uv);
    InitElement(checkBox, description);
    // The model's frames show the element's state, so no show or hide range is played on them.
    modelAnimation = nullptr;
}

GUICheckBoxControl::~GUICheckBoxControl() {
    OrvexEngine::GUIManager::Instance()->DeleteCheckBox(checkBox);
}

void GUICheckBoxControl::Update() {
    GUIControl::Update();
}

} // namespace GUITools
