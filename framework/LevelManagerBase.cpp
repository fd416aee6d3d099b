#include "framework/LevelManagerBase.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

#include <cassert>

using namespace OrvexEngine;
using GameTools::XMLNode;

namespace GameFramework {

namespace {

const char* const LevelsFile = "data\\levels\\levels.xml";

} // namespace

LevelManagerBase::~LevelManagerBase() {
    Clear();
}

void LevelManagerBase::Clear() {
    DeletePointerVector(stages);
    for (std::vector<LevelInfo*>* stageLevels : levels) {
        if (stageLevels != nullptr)
            DeletePointerVector(*stageLevels);
        delete stageLevels;
    }
    levels.clear();
}

void LevelManagerBase::GetLevelResources(const LevelPosition&, std::vector<std::string>&) {}

void LevelManagerBase::ParseStage(StageInfo* stage, XMLNode*) {
    stage->levelCount = 0;
}

void LevelManagerBase::ParseLevel(LevelInfo*, XMLNode*) {}

void LevelManagerBase::Load() {
    assert(MessageManager::Instance() != nullptr &&
           "the level list reports through the log; create it first");
    Clear();
    uint32_t totalLevels = 0;
    try {
        XMLNode document;
        GameTools::XMLParser().Load(&document, LevelsFile);
        XMLNode* list = document.GetChild("levels", XMLNode::SeverityNone);
        if (list == nullptr)
            throw FileError("Incorrect \"data\\levels\\levels.xml\" file format");

        std::vector<XMLNode*> stageElements;
        list->GetChildren(stageElements);
        stages.resize(stageElements.size(), nullptr);
        levels.resize(stageElements.size(), nullptr);
        for (uint32_t s = 0; s < stageElements.size(); ++s) {
            StageInfo* stage = CreateStage();
            stage->stageIndex = s;
            stages[s] = stage;
            ParseStage(stage, stageElements[s]);

            std::vector<XMLNode*> levelElements;
            stageElements[s]->GetChildren(levelElements);
            // The document decides the count, whatever a parser wrote.
            stage->levelCount = static_cast<uint32_t>(levelElements.size());
            levels[s] = new std::vector<LevelInfo*>(levelElements.size(), nullptr);
            for (uint32_t l = 0; l < levelElements.size(); ++l) {
                LevelInfo* level = CreateLevel();
                (*levels[s])[l] = level;
                level->stageIndex = s;
                level->levelIndex = l;
                ParseLevel(level, levelElements[l]);
            }
            totalLevels += stage->levelCount;
        }
    } catch (const FatalError&) {
        throw;
    } catch (const FileError& error) {
        MessageManager::Instance()->Fatal(error.GetText());
    }
    MessageManager::Instance()->Message("\nLevel Manager: Found " + std::to_string(stages.size()) +
                                        " stages with " + std::to_string(totalLevels) + " levels...");
}

uint32_t LevelManagerBase::LevelCount(uint32_t stageIndex) const {
    if (stageIndex >= levels.size() || levels[stageIndex] == nullptr)
        return 0;
    return static_cast<uint32_t>(levels[stageIndex]->size());
}

StageInfo* LevelManagerBase::GetStage(uint32_t stageIndex) const {
    return stageIndex < stages.size() ? stages[stageIndex] : nullptr;
}

LevelInfo* LevelManagerBase::GetLevel(const LevelPosition& position) const {
    if (position.level >= LevelCount(position.stage))
        return nullptr;
    return (*levels[position.stage])[position.level];
}

bool LevelManagerBase::GetLastLevel(LevelPosition& position) const {
    for (size_t s = levels.size(); s-- > 0;) {
        const uint32_t count = LevelCount(static_cast<uint32_t>(s));
        if (count > 0) {
            position = LevelPosition{static_cast<uint32_t>(s), count - 1};
            return true;
        }
    }
    return false;
}

bool LevelManagerBase::IsLastLevel(const LevelPosition& position) const {
    LevelPosition last;
    return GetLastLevel(last) && last == position;
}

LevelPosition LevelManagerBase::GetNextLevel(const LevelPosition& position) const {
    if (GetLevel(position) == nullptr)
        return position;
    if (position.level + 1 < LevelCount(position.stage))
        return LevelPosition{position.stage, position.level + 1};
    // Stages without levels are passed over: a level index 0 there would name no level.
    for (uint32_t s = position.stage + 1; s < levels.size(); ++s)
        if (LevelCount(s) > 0)
            return LevelPosition{s, 0};
    return position;
}

} // namespace GameFramework
