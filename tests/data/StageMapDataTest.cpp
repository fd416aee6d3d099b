// ctest-label: data
// The laid-out stage map read by the game's own reader: one icon per level of the level list, in play
// order, the start first, a check point opening every later stage and the finish last, each icon standing
// for the level it is placed for, all inside the map window above its buttons.
#include "engine/files/FileManager.h"
#include "game/shell/StageMapFile.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"
#include "platform/win/Process.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

TEST(StageMapData, OneIconPerLevelInPlayOrder) {
    VelmoraTest::TestLog log;
    const fs::path bin = fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
    OrvexEngine::FileManager files(bin.string(), true, "data", 16u << 20);
    OrvexEngine::FileManager::Instance(&files);

    GameTools::XMLNode* root = nullptr;
    GameTools::XMLParser().ParseFile(root, "data\\levels\\levels.xml");
    std::unique_ptr<GameTools::XMLNode> owner(root);
    ASSERT_NE(root, nullptr);
    std::vector<std::pair<uint32_t, uint32_t>> levels;
    std::vector<GameTools::XMLNode*> stages;
    root->GetChildrenByName("stage", stages);
    for (uint32_t stage = 0; stage < stages.size(); ++stage) {
        std::vector<GameTools::XMLNode*> stageLevels;
        stages[stage]->GetChildrenByName("level", stageLevels);
        for (uint32_t level = 0; level < stageLevels.size(); ++level)
            levels.push_back({stage, level});
    }

    const std::vector<VelmoraBall::StageMapElement> map =
        VelmoraBall::StageMapFile::Read("data\\ui\\map\\map.gmf");
    ASSERT_EQ(map.size(), levels.size());
    for (size_t i = 0; i < map.size(); ++i) {
        EXPECT_EQ(map[i].stage, levels[i].first) << i;
        EXPECT_EQ(map[i].levelIndex, levels[i].second) << i;
        const uint32_t expected = i == 0                  ? VelmoraBall::StageMapFile::typeStart
                                  : levels[i].second == 0 ? VelmoraBall::StageMapFile::typeCheckPoint
                                  : i + 1 == map.size()   ? VelmoraBall::StageMapFile::typeFinish
                                                          : VelmoraBall::StageMapFile::typePath;
        EXPECT_EQ(map[i].type, expected) << i;
        EXPECT_GT(map[i].placement[7], 70) << i;
        EXPECT_LE(map[i].placement[7], 400) << i;
        EXPECT_GE(map[i].placement[3], 0) << i;
        EXPECT_LE(map[i].placement[3], 640) << i;
    }
}
