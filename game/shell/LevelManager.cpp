#include "game/shell/LevelManager.h"

#include "engine/core/Error.h"
#include "game/play/GameLogicData.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLValue.h"

namespace VelmoraBall {

LevelManager::LevelManager() {
    Load();
}

void LevelManager::GetLevelResources(const GameFramework::LevelPosition& position,
                                     std::vector<std::string>& resourceLists) {
    LevelManagerBase::GetLevelResources(position, resourceLists);
    if (const auto* stage = static_cast<const GameStageInfo*>(GetStage(position.stage)))
        resourceLists.push_back("data\\environment\\" + stage->environment + "_resources.xml");
}

void LevelManager::ParseStage(GameFramework::StageInfo* stage, GameTools::XMLNode* element) {
    LevelManagerBase::ParseStage(stage, element);
    GameTools::XMLValue* environment = element->GetAttribute("environment", 0);
    if (environment == nullptr)
        throw OrvexEngine::FileError("No \"environment\" attribute in stage description");
    static_cast<GameStageInfo*>(stage)->environment = environment->AsString();
}

void LevelManager::ParseLevel(GameFramework::LevelInfo* level, GameTools::XMLNode* element) {
    LevelManagerBase::ParseLevel(level, element);
    auto* gameLevel = static_cast<GameLevelInfo*>(level);
    gameLevel->geometryFile = TwoDigits(level->stageIndex) + "_" + TwoDigits(level->levelIndex) + ".vbg";
    GameTools::XMLValue* aceTime = element->GetAttribute("ace_time", 0);
    gameLevel->aceTime = aceTime != nullptr ? aceTime->AsInt() : 60;
}

} // namespace VelmoraBall
