#include "game/shell/GUIBackground.h"

#include "engine/gui/GUIWindow.h"

namespace VelmoraBall {

GUIBackground::GUIBackground(GameTools::DataKeeper* dataKeeper)
    : GUIBackgroundBase(dataKeeper, nullptr, "data\\ui\\background\\background.xml") {
    LoadBasicLayers();
    // Well in front of the layers, also of those the additional set adds later.
    foregroundWindow->SetOrder(foregroundWindow->GetOrder() + 20);
}

} // namespace VelmoraBall
