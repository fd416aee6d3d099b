// The game's levels grouped into stages, read once from "data\levels\levels.xml": one stage record per
// stage and one level record per level, made by the game's factory operations so that they carry the
// game's own fields. The game derives its level manager and loads from its constructor; the application
// root owns the one instance. Records live, at fixed addresses, until the manager is deleted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace GameTools {
class XMLNode;
}

namespace GameFramework {

// A level by (stage index, level index), both from 0.
struct LevelPosition {
    uint32_t stage = 0;
    uint32_t level = 0;

    bool operator==(const LevelPosition&) const = default;
};

struct StageInfo {
    StageInfo() = default;
    StageInfo(const StageInfo&) = delete;
    StageInfo& operator=(const StageInfo&) = delete;
    virtual ~StageInfo() = default;

    uint32_t stageIndex = 0;
    uint32_t levelCount = 0;
};

struct LevelInfo {
    LevelInfo() = default;
    LevelInfo(const LevelInfo&) = delete;
    LevelInfo& operator=(const LevelInfo&) = delete;
    virtual ~LevelInfo() = default;

    uint32_t stageIndex = 0;
    uint32_t levelIndex = 0;
};

class LevelManagerBase {
public:
    LevelManagerBase() = default;
    LevelManagerBase(const LevelManagerBase&) = delete;
    LevelManagerBase& operator=(const LevelManagerBase&) = delete;
    virtual ~LevelManagerBase();

    // Appends the resource lists a level needs besides the common ones; the base needs none.
    virtual void GetLevelResources(const LevelPosition& position, std::vector<std::string>& resourceLists);
    // Reads the list; a missing or malformed file, or a FileError of a parser, ends the program through
    // MessageManager::Fatal.
    virtual void Load();

    // True for the last level of the last stage that has levels.
    bool IsLastLevel(const LevelPosition& position) const;
    // The next level, skipping stages without levels; the last level (and any position outside the
    // list) gives the position itself.
    LevelPosition GetNextLevel(const LevelPosition& position) const;
    // The last level of the last stage that has levels; false (and nothing written) when no level exists.
    bool GetLastLevel(LevelPosition& position) const;
    // Bounds-checked lookups for positions that come from files: null outside the list.
    StageInfo* GetStage(uint32_t stageIndex) const;
    LevelInfo* GetLevel(const LevelPosition& position) const;

    std::vector<StageInfo*> stages;               // owned, by stage index
    std::vector<std::vector<LevelInfo*>*> levels; // owned, by stage index, then level index

protected:
    virtual StageInfo* CreateStage() = 0;
    virtual LevelInfo* CreateLevel() = 0;
    // A derived parser calls the base first. The base sets the level count to 0.
    virtual void ParseStage(StageInfo* stage, GameTools::XMLNode* element);
    virtual void ParseLevel(LevelInfo* level, GameTools::XMLNode* element);

private:
    void Clear();
    uint32_t LevelCount(uint32_t stageIndex) const;
};

} // namespace GameFramework
