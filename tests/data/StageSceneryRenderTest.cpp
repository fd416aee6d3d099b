// ctest-label: data
// A level of each stage built from the laid-out data the way a level starts: the game's keeper with the
// gameplay resources, the level's keeper with its stage's resource list and its geometry file, the shared
// lights and field, the stage's scenery and the blocks; drawn from the level's camera once the blocks have
// appeared (stage-<level>.png under $VB_TEST_OUTPUT). No error may be logged on the way, and the scenery
// fills the picture.
#include "engine/core/Error.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/math/Random.h"
#include "platform/win/Process.h"
#include "tests/support/LevelScene.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace OrvexEngine;

namespace {

struct StageLevel {
    const char* geometry;
    const char* environment;
};

class StageSceneryRender : public testing::TestWithParam<StageLevel> {
protected:
    void SetUp() override {
        SeedRandom(5);
        FileManager::Instance(&files);
        level = std::make_unique<VelmoraTest::LevelScene>("stage");
        level->scene->timers.frameTime = 0.05f;
        level->renderSystem->clearColor = Vec4(1, 0, 1, 1); // nothing of the scenery has this colour
    }
    void TearDown() override { level.reset(); }

    VelmoraTest::TestLog log;
    FileManager files{
        (std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin").string(),
        true, "data", 16u << 20};
    std::unique_ptr<VelmoraTest::LevelScene> level;
};

} // namespace

TEST_P(StageSceneryRender, TheLevelStandsInItsSceneryWithoutAnError) {
    const StageLevel stage = GetParam();
    try {
        level->LoadFromData(stage.geometry, stage.environment);
    } catch (const FatalError& error) {
        FAIL() << error.GetText();
    }
    Image image;
    for (int frame = 0; frame < 40; ++frame) { // two seconds: every block has appeared
        level->geometry->Update(1);
        level->effects->Update();
        level->scene->Frame(image);
    }
    VelmoraTest::SceneServices::SavePng(image, std::string("stage-") + stage.geometry + ".png");
    ASSERT_EQ(image.width, 640u);
    // The scenery reaches every edge: hardly a pixel of the clear colour is left.
    size_t clear = 0;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = image.Row(y) + x * image.BytesPerPixel();
            clear += p[0] > 250 && p[1] < 5 && p[2] > 250 ? 1 : 0;
        }
    EXPECT_LT(clear, size_t(image.width) * image.height / 200);
    EXPECT_FALSE(level->geometry->GetBlocks().empty());
    for (const std::string& line : log.Texts())
        EXPECT_EQ(line.find("Error"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Stages, StageSceneryRender,
                         testing::Values(StageLevel{"00_00", "meadow"}, StageLevel{"01_02", "coast"},
                                         StageLevel{"01_04", "coast"}, StageLevel{"02_04", "forge"}),
                         [](const testing::TestParamInfo<StageLevel>& param) {
                             return std::string("level_") + param.param.geometry;
                         });
