// The game's level list: every stage gets the environment whose scenery its levels share, every level its
// geometry file (named after its position) and its ace time; a level needs its stage environment's resource
// list. Created by the game during initialisation, which reads "data\levels\levels.xml" at once; one
// instance, owned by the application root.
#pragma once

#include "framework/LevelManagerBase.h"

#include <cstdint>
#include <string>

namespace VelmoraBall {

struct GameStageInfo : GameFramework::StageInfo {
    std::string environment;
};

struct GameLevelInfo : GameFramework::LevelInfo {
    std::string geometryFile; // "SS_LL.vbg"
    int32_t aceTime = 60;     // seconds
};

class LevelManager : public GameFramework::LevelManagerBase {
public:
    // Reads the level list; a stage without "environment" ends the program through the base's loader.
    LevelManager();
    ~LevelManager() override = default;

    // The stage's resource list, "data\environment\" + environment + "_resources.xml".
    void GetLevelResources(const GameFramework::LevelPosition& position,
                           std::vector<std::string>& resourceLists) override;

protected:
    GameFramework::StageInfo* CreateStage() override { return new GameStageInfo(); }
    GameFramework::LevelInfo* CreateLevel() override { return new GameLevelInfo(); }
    void ParseStage(GameFramework::StageInfo* stage, GameTools::XMLNode* element) override;
    void ParseLevel(GameFramework::LevelInfo* level, GameTools::XMLNode* element) override;
};

} // namespace VelmoraBall
