#include "guitools/GUIScrollControl.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScroll.h"

namespace GUITools {

namespace {

void ApplyLayout(OrvexEngine::GUIButton* button, const GUIScrollButtonLayout& layout) {
    button->SetSize(layout.size);
    button->SetPosition(layout.position);
    button->selection = layout.hasSelection;
    if (layout.hasSelection) {
        button->selectionPosition = layout.selectionPosition;
        button->selectionSize = layout.selectionSize;
    }
}

} // namespace

GUIScrollControl::GUIScrollControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                                   const GUIControlDescription& description)
    : GUISliderControl(dataKeeper, description) {
    scroll = OrvexEngine::GUIManager::Instance()->CreateScroll(
        OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size, DescribedModel(description.model),
        DescribedMaterial(description.shader), 0, toddler_min_position, toddler_max_position, 2, parent);
    slider = scroll;
    scroll->ScaleUV(description.uv);
    InitElement(scroll, description);
    modelAnimation = nullptr;
}

GUIScrollControl::~GUIScrollControl() {
    OrvexEngine::GUIManager::Instance()->DeleteScroll(scroll);
    scroll = nullptr;
    slider = nullptr; // already deleted: the slider part must not delete it again
}

void GUIScrollControl::InitIncreaseButton(const std::string& modelName, const std::string& shaderName,
                                          const OrvexEngine::Vec2& uv) {
    InitButton(increaseButton, modelName, shaderName, uv, &OrvexEngine::GUIScroll::CreateIncreaseButton);
    scroll->GetIncreaseButton()->ScaleUV(uv);
}

void GUIScrollControl::InitDecreaseButton(const std::string& modelName, const std::string& shaderName,
                                          const OrvexEngine::Vec2& uv) {
    InitButton(decreaseButton, modelName, shaderName, uv, &OrvexEngine::GUIScroll::CreateDecreaseButton);
    scroll->GetDecreaseButton()->ScaleUV(uv);
}

void GUIScrollControl::InitButton(GUIScrollButtonLayout& layout, const std::string& modelName,
                                  const std::string& shaderName, const OrvexEngine::Vec2& uv,
                                  CreateButton create) {
    layout.model = modelName;
    layout.shader = shaderName;
    layout.uv = uv;
    (scroll->*create)(layout.position, layout.size, DescribedModel(modelName), DescribedMaterial(shaderName));
}

void GUIScrollControl::Update() {
    GUISliderControl::Update();
    if (!scroll->visible)
        return;
    ApplyLayout(scroll->GetIncreaseButton(), increaseButton);
    ApplyLayout(scroll->GetDecreaseButton(), decreaseButton);
    if (buttons_alignment == "lower") {
        scroll->GetIncreaseButton()->SetOrder(-1);
        scroll->GetDecreaseButton()->SetOrder(-1);
        scroll->SetOrder(height + 1);
    } else {
        scroll->GetIncreaseButton()->SetOrder(2);
        scroll->GetDecreaseButton()->SetOrder(2);
        scroll->SetOrder(height);
    }
}

} // namespace GUITools
