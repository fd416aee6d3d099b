#include "guitools/GUIWindowControl.h"

#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"

namespace GUITools {

GUIWindowControl::GUIWindowControl(GameTools::DataKeeper* dataKeeper, OrvexEngine::GUIWindow* parent,
                                   const GUIControlDescription& description)
    : GUIControl(dataKeeper, description) {
    OrvexEngine::GUIWindow* window = OrvexEngine::GUIManager::Instance()->CreateWindow(
        OrvexEngine::GUI_WINDOW_VERTEX_COLORS, position, size, DescribedModel(description.model),
        DescribedMaterial(description.shader), parent);
    window->ScaleUV(description.uv);
    InitElement(window, description);
}

GUIWindowControl::~GUIWindowControl() {
    OrvexEngine::GUIManager::Instance()->DeleteWindow(element);
}

void GUIWindowControl::Update() {
    GUIControl::Update();
}

} // namespace GUITools
