// The game-wide data keeper: the keeper of every resource the menus and the game share, plus the two
// optional small publisher logos the menu windows show, and one extra loading step of its own. The game's
// application root creates the one instance during initialisation and deletes it with itself.
#pragma once

#include "gametools/DataKeeper.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {
class GUIWindow;
class ShaderUser;
} // namespace OrvexEngine

namespace VelmoraBall {

class GameData : public GameTools::DataKeeper {
public:
    static constexpr int PublisherLogoCount = 2;

    // Makes publisher logo i when both its image and its opacity image exist below the data directory.
    explicit GameData(const std::string& language);
    // Deletes the extra windows; the keeper releases the logos.
    ~GameData() override;

    // The first extra step (or everything at once) makes the two extra windows; any other step does nothing.
    bool Load(uint32_t step) override;

    // Null when the installation carries no such logo (or for an index outside 0..1).
    OrvexEngine::ShaderUser* GetPublisherLogo(int index) const;

    OrvexEngine::ShaderUser* publisherLogos[PublisherLogoCount] = {}; // kept by the keeper
    OrvexEngine::GUIWindow* extraWindowA = nullptr;                    // owned, through the GUI manager
    OrvexEngine::GUIWindow* extraWindowB = nullptr;                    // owned, through the GUI manager
};

} // namespace VelmoraBall
