// ctest-label: framework
// The level list: stages and levels from the file's element structure alone, the game's parsers, fatal
// ends for a missing or malformed list, and the next and last level, also around stages without levels.
#include "framework/LevelManagerBase.h"

#include "engine/core/Error.h"
#include "engine/files/FileManager.h"
#include "gametools/XMLNode.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

struct GameStage : StageInfo {
    std::string environment;
};

// Reads one attribute per stage, as a game does, and fails on a stage without it.
class TestLevelManager : public LevelManagerBase {
public:
    int stagesParsed = 0;
    int levelsParsed = 0;

protected:
    StageInfo* CreateStage() override { return new GameStage; }
    LevelInfo* CreateLevel() override { return new LevelInfo; }
    void ParseStage(StageInfo* stage, GameTools::XMLNode* element) override {
        LevelManagerBase::ParseStage(stage, element);
        stage->levelCount = 99; // the document decides the count in the end
        GameTools::XMLValue* environment =
            element->GetAttribute("environment", GameTools::XMLNode::SeverityNone);
        if (environment == nullptr)
            throw OrvexEngine::FileError("No \"environment\" attribute in stage description");
        static_cast<GameStage*>(stage)->environment = environment->AsString();
        ++stagesParsed;
    }
    void ParseLevel(LevelInfo* level, GameTools::XMLNode* element) override {
        LevelManagerBase::ParseLevel(level, element);
        ++levelsParsed;
    }
};

class LevelManagerBaseTest : public ProfileFixture {
protected:
    void WriteLevels(const std::string& xml) { WriteFileBytes(root / "data/levels/levels.xml", xml); }

    // Loads and returns the FatalError's text, or "" when the list loaded.
    std::string Load(TestLevelManager& levels) {
        try {
            levels.Load();
        } catch (const OrvexEngine::FatalError& error) {
            return error.GetText();
        }
        return "";
    }
};

} // namespace

TEST_F(LevelManagerBaseTest, StagesAndLevelsComeFromTheElementStructure) {
    WriteLevels("<?xml version=\"1.0\"?>\n<levels>\n"
                "  <stage environment=\"meadow\"><level/><level ace_time=\"95\"/><x/></stage>\n"
                "  <other environment=\"coast\"><a/><b/></other>\n</levels>\n");
    TestLevelManager levels;
    ASSERT_EQ(Load(levels), "");
    ASSERT_EQ(levels.stages.size(), 2u);
    EXPECT_EQ(levels.stages[0]->levelCount, 3u);
    EXPECT_EQ(levels.stages[1]->levelCount, 2u);
    EXPECT_EQ(levels.stages[1]->stageIndex, 1u);
    EXPECT_EQ(static_cast<GameStage*>(levels.stages[1])->environment, "coast");
    EXPECT_EQ((*levels.levels[1])[1]->stageIndex, 1u);
    EXPECT_EQ((*levels.levels[1])[1]->levelIndex, 1u);
    EXPECT_EQ(levels.stagesParsed, 2);
    EXPECT_EQ(levels.levelsParsed, 5);
    EXPECT_TRUE(log.Contains("\nLevel Manager: Found 2 stages with 5 levels..."));
}

TEST_F(LevelManagerBaseTest, AListThatCannotBeReadEndsTheProgram) {
    struct Case {
        const char* what;
        const char* xml; // null: no file at all
        std::string fatal;
    };
    const Case cases[] = {
        {"no levels element", "<stages><stage environment=\"a\"/></stages>",
         "Incorrect \"data\\levels\\levels.xml\" file format"},
        {"a stage the game's parser refuses", "<levels><stage/></levels>",
         "No \"environment\" attribute in stage description"},
        {"malformed XML", "<levels><stage></levels>", "XML format error"},
        {"no file", nullptr, "levels.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root / "data");
        if (c.xml != nullptr)
            WriteLevels(c.xml);
        TestLevelManager levels;
        const std::string fatal = Load(levels);
        EXPECT_NE(fatal.find(c.fatal), std::string::npos) << fatal;
        EXPECT_TRUE(log.Contains("PROGRAM ABORTING: " + fatal));
    }
}

TEST_F(LevelManagerBaseTest, NextAndLastLevelPassOverStagesWithoutLevels) {
    WriteLevels("<levels><s environment=\"a\"><l/><l/><l/></s><s environment=\"b\"/>"
                "<s environment=\"c\"><l/><l/></s><s environment=\"d\"/></levels>");
    TestLevelManager levels;
    ASSERT_EQ(Load(levels), "");
    EXPECT_TRUE(log.Contains("Found 4 stages with 5 levels..."));
    struct Case {
        LevelPosition position;
        LevelPosition next;
        bool last;
        bool exists;
    };
    const Case cases[] = {
        {{0, 0}, {0, 1}, false, true},  {{0, 2}, {2, 0}, false, true}, // stage 1 is empty
        {{2, 0}, {2, 1}, false, true},  {{2, 1}, {2, 1}, true, true},  // the last level: stage 3 is empty
        {{1, 0}, {1, 0}, false, false}, {{0, 3}, {0, 3}, false, false},
        {{9, 9}, {9, 9}, false, false}, {{0xFFFFFFFF, 0xFFFFFFFF}, {0xFFFFFFFF, 0xFFFFFFFF}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position.stage << "," << c.position.level);
        EXPECT_EQ(levels.GetNextLevel(c.position), c.next);
        EXPECT_EQ(levels.IsLastLevel(c.position), c.last);
        EXPECT_EQ(levels.GetLevel(c.position) != nullptr, c.exists);
    }
    LevelPosition last;
    ASSERT_TRUE(levels.GetLastLevel(last));
    EXPECT_EQ(last, (LevelPosition{2, 1}));
    EXPECT_EQ(levels.GetStage(3)->levelCount, 0u);
    EXPECT_EQ(levels.GetStage(4), nullptr);

    // An empty list: no level at all.
    WriteLevels("<levels/>");
    TestLevelManager empty;
    ASSERT_EQ(Load(empty), "");
    EXPECT_TRUE(log.Contains("Found 0 stages with 0 levels..."));
    EXPECT_FALSE(empty.GetLastLevel(last));
    EXPECT_FALSE(empty.IsLastLevel({0, 0}));
    EXPECT_EQ(empty.GetNextLevel({0, 0}), (LevelPosition{0, 0}));
}
