#include "guitools/GUISliderControl.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISlider.h"

namespace GUITools {

GUISliderControl::GUISliderControl(GameTools::DataKeeper* dataKeeper,
                                   const GUIControlDescription& description)
    : GUIControl(dataKeeper, description) {}

GUISliderControl::GUISliderControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                                   const GUIControlDescription& description)
    : GUIControl(dataKeeper, description) {
    slider = OrvexEngine::GUIManager::Instance()->CreateSlider(
        OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size, DescribedModel(description.model),
        DescribedMaterial(description.shader), 0, toddler_min_position, toddler_max_position, 2, parent);
    slider->ScaleUV(description.uv);
    InitElement(slider, description);
    // The track's frames show its state, not a show or hide animation.
    modelAnimation = nullptr;
}

GUISliderControl::~GUISliderControl() {
    if (slider != nullptr)
        OrvexEngine::GUIManager::Instance()->DeleteSlider(slider);
}

void GUISliderControl::InitToddler(const std::string& modelName, const std::string& shaderName,
                                   const OrvexEngine::Vec2& uv) {
    toddler_model = modelName;
    toddler_shader = shaderName;
    toddler_uv = uv;
    slider->CreateToddler(toddler_size, DescribedModel(toddler_model), DescribedMaterial(toddler_shader));
    slider->GetToddler()->ScaleUV(toddler_uv);
}

void GUISliderControl::Update() {
    GUIControl::Update();
    if (!slider->visible)
        return;
    slider->SetOrientation(orientation.find("vertical") != std::string::npos ? 1 : 0);
    slider->SetToddlerSize(toddler_size);
    slider->SetToddlerMinPosition(toddler_min_position);
    slider->SetToddlerMaxPosition(toddler_max_position);
    OrvexEngine::GUIButton* toddler = slider->GetToddler();
    toddler->selection = hasToddlerSelection;
    if (hasToddlerSelection) {
        toddler->SetSelectionPosition(toddler_selection_position);
        toddler->SetSelectionSize(toddler_selection_size);
    }
}

} // namespace GUITools
