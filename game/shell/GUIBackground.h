// The animated menu background: the layers of "data\ui\background\background.xml" behind every menu
// window, whose front window parents the menus. The game creates it with the loading window, shows it at
// once, loads its additional layers when the game's data has loaded, and deletes it with itself.
#pragma once

#include "guitools/GUIBackgroundBase.h"

namespace VelmoraBall {

class GUIBackground : public GUITools::GUIBackgroundBase {
public:
    // Reads the description and makes the basic layers at once.
    explicit GUIBackground(GameTools::DataKeeper* dataKeeper);
    ~GUIBackground() override = default;
};

} // namespace VelmoraBall
