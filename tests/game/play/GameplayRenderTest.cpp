// ctest-label: gameplay
// Levels drawn headless through the whole graphics stack with a stencil buffer, seen from the level's camera.
// The first level of the laid-out data in its scenery under the level lights, its blocks casting their
// shadows on the field (field-blocks.png); a made-up field of box bricks on a plain ground, where the
// shadows are measured against the same frame without them (box-field.png); and a row of explosive bricks
// caught mid-chain with flying debris (explosion.png). Frames are written under $VB_TEST_OUTPUT and checked
// by probing pixels.
#include "game/play/Block.h"
#include "game/play/Explosion.h"
#include "game/play/ExplosionManager.h"
#include "game/play/Shadow.h"

#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/Model.h"
#include "engine/math/Random.h"
#include "platform/win/Process.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tests/game/play/PlayTestWorld.h"
#include "tests/support/LevelScene.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestLog.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraBall;

namespace {

void SaveText(const VelmoraTest::DataFolder& data, const std::string& name, const std::string& text) {
    data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
}

// A level on screen; the derived fixtures provide the data and build the level.
class LevelRender : public testing::Test {
protected:
    void SetUp() override {
        SeedRandom(3);
        level = std::make_unique<VelmoraTest::LevelScene>("gameplay");
        level->scene->timers.frameTime = 0.02f;
        level->renderSystem->clearColor = Vec4(0.05f, 0.05f, 0.1f, 1);
    }
    void TearDown() override { level.reset(); }

    void Play(float seconds) {
        for (int frames = static_cast<int>(seconds / 0.02f + 0.5f); frames > 0; --frames) {
            level->geometry->Update(1);
            level->bonuses->Update(false, 3, 1);
            level->effects->Update();
        }
    }

    static int Brightness(const uint8_t* p) { return p[0] + p[1] + p[2]; }

    VelmoraTest::TestLog log;
    std::unique_ptr<VelmoraTest::LevelScene> level;
};

// A made-up level written as files: box bricks on a plain ground and a plain wall.
class GameplayRender : public LevelRender {
protected:
    void SetUp() override {
        LevelRender::SetUp();
        WriteLevel();
    }

    // Bricks of 16 x 8 x 6 standing on the field in rows, a stack of two, a row of explosive bricks.
    void WriteLevel() {
        VbFormats::ModelDescription brick;
        VelmoraTest::AppendBox(brick.vertices, brick.indices, {0, 0, 3}, {8, 4, 3});
        brick.boxes = {{{-8, -4, 0}, {8, 4, 6}}};
        for (const char* type : {"plain", "bomb"})
            data.Save(std::string("game_objects/blocks/models/") + type + ".mlf",
                      VbFormats::ModelWriter::Write(brick));
        VbFormats::ModelDescription piece;
        VelmoraTest::AppendBox(piece.vertices, piece.indices, {0, 0, 3}, {3, 2, 2});
        piece.boxes = {{{-3, -2, 1}, {3, 2, 5}}};
        for (int i = 0; i < 4; ++i)
            data.Save("game_objects/blocks/models/fragments/bomb_0" + std::to_string(i) + ".mlf",
                      VbFormats::ModelWriter::Write(piece));
        SaveText(data, "game_objects/blocks/plain.xml", "<block/>");
        SaveText(data, "game_objects/blocks/bomb.xml", "<block explosive=\"1\" fragment_count=\"4\"/>");
        SaveText(data, "environment/lighting/lighting.ini",
                 "90 90 100\n2\n-60 -80 160  0 0 0  230 225 210  0 0 0  1 0 0\n"
                 "80 40 120  0 0 0  60 60 90  0 0 0  1 0 0\n");
        data.Save("environment/field.vbf", VelmoraTest::PlayTestWorld::FieldFile());
        SaveText(data, "environment/test.xml", R"(<environment>
  <model name="scenery/ground" color="0.25 0.55 0.3 1"/>
  <model name="scenery/wall" color="0.55 0.45 0.35 1"/>
</environment>)");

        VbFormats::LevelGeometry layout;
        layout.textures = {""};
        auto at = [](const char* type, float x, float y, float z = 0) {
            VbFormats::LevelBlock block;
            block.type = type;
            block.keyFrames = {{{x, y, z}, {0, 0, 0, 1}}};
            return block;
        };
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 6; ++column)
                layout.blocks.push_back(at("plain", -55.0f + 22.0f * static_cast<float>(column),
                                           40.0f + 16.0f * static_cast<float>(row)));
        layout.blocks.push_back(at("plain", 0, 10, 6)); // rests on the next block
        layout.blocks.push_back(at("plain", 0, 10));
        layout.blocks[18].below = {19};
        layout.blocks[19].above = {18};
        for (int column = 0; column < 5; ++column)
            layout.blocks.push_back(at("bomb", -34.0f + 17.0f * static_cast<float>(column), -15));
        data.Save("levels_geometry/00_00.vbg", VbFormats::LevelGeometryWriter::Write(layout));
    }

    // The ground and the wall are boxes made here; the rest comes from the files written.
    void Build() {
        ModelManager& models = *level->scene->models;
        level->gameData = std::make_unique<GameTools::DataKeeper>("en");
        level->levelData = std::make_unique<GameLogicData>("en", "00_00.vbg");
        level->levelData->AddModel("scenery/ground",
                                   models.NewBoxModel({-120, -150, -2}, {120, 140, 0}, nullptr, nullptr,
                                                      ModelLit | ModelVertexColors));
        level->levelData->AddModel("scenery/wall", models.NewBoxModel({-85, 100, 0}, {85, 110, 10}, nullptr,
                                                                      nullptr, ModelLit | ModelVertexColors));
        level->levelData->Load(~0u);
        level->Assemble("test");
    }

    VelmoraTest::DataFolder data{"gameplayrender"};
};

// The first level of the laid-out data, loaded as a level start loads it: the game's keeper with the
// gameplay resources, the level's keeper with its stage's resource list and its geometry file.
class FirstLevelRender : public LevelRender {
protected:
    void Build() { level->LoadFromData("00_00", "meadow"); }

    FirstLevelRender() { FileManager::Instance(&files); }

    // A rectangle of the capture (rows from the bottom), end exclusive.
    struct Area {
        uint32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    // Where the blocks and the field 3 units around them lie on the screen.
    Area BlocksArea() const {
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        for (const Block* block : level->geometry->GetBlocks()) {
            const BoundingBox& box = block->GetModelBox();
            for (int corner = 0; corner < 8; ++corner) {
                const Vec3 h = box.GetHalfSize() + Vec3(3, 3, 0);
                const Vec3 p = box.GetCentre() + Vec3(corner & 1 ? h.x : -h.x, corner & 2 ? h.y : -h.y,
                                                      corner & 4 ? h.z : -box.GetCentre().z);
                const Vec2 s = level->scene->cameras->Project(*level->camera, p);
                x0 = std::min(x0, s.x);
                y0 = std::min(y0, s.y);
                x1 = std::max(x1, s.x);
                y1 = std::max(y1, s.y);
            }
        }
        const auto clampTo = [](float v, uint32_t size) {
            return static_cast<uint32_t>(std::clamp(v, 0.0f, static_cast<float>(size)));
        };
        const uint32_t width = level->window->width, height = level->window->height;
        return {clampTo(x0, width), clampTo(y0, height), clampTo(x1 + 1, width), clampTo(y1 + 1, height)};
    }
    // The area enlarged `scale` times, for a person to see the slivers of shadow.
    static void SaveArea(const Image& image, const Area& area, uint32_t scale, const std::string& name) {
        const uint32_t width = (area.x1 - area.x0) * scale, height = (area.y1 - area.y0) * scale;
        std::vector<uint8_t> rgba(size_t(width) * height * 4);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* p =
                    image.Row(area.y1 - 1 - y / scale) + (area.x0 + x / scale) * image.BytesPerPixel();
                uint8_t* q = &rgba[(size_t(y) * width + x) * 4];
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
                q[3] = 255;
            }
        VelmoraTest::WritePng(VelmoraTest::TestOutputPath(name), width, height, rgba);
    }

    // The block nearest to the camera, whose near face is seen best.
    const Block* NearestBlock() const {
        const Block* nearest = nullptr;
        for (const Block* block : level->geometry->GetBlocks())
            if (nearest == nullptr ||
                block->GetModelBox().GetCentre().y < nearest->GetModelBox().GetCentre().y)
                nearest = block;
        return nearest;
    }

    FileManager files{
        (std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin").string(),
        true, "data", 16u << 20};
};

} // namespace

TEST_F(GameplayRender, FieldOfBlocksWithShadowsUnderItsLights) {
    Build();
    Play(1.5f); // the appearance cascade has shown every block
    Image image;
    level->scene->Frame(image);
    VelmoraTest::SceneServices::SavePng(image, "box-field.png");
    // A brick's lit top, the open ground, and the ground in a brick's shadow (towards +x, -y of it).
    const int top = Brightness(level->scene->PixelAt(image, {-55, 40, 6}));
    const int ground = Brightness(level->scene->PixelAt(image, {-66, 20, 0}));
    EXPECT_GT(top, ground);
    // Every block on the field shows its shadow; stacked ones do not.
    for (const Block* block : level->geometry->GetBlocks())
        EXPECT_EQ(block->GetShadow()->IsVisible(), block->GetBlocksBelow().empty());
    // The shadows lie 0.7 units towards +x, -y of their blocks: hidden again, that sliver of ground is
    // brighter, and nothing else changes.
    const int shaded = Brightness(level->scene->PixelAt(image, {-46.6f, 35.6f, 0}));
    for (const Block* block : level->geometry->GetBlocks())
        block->GetShadow()->SetVisible(false);
    Image bare;
    level->scene->Frame(bare);
    EXPECT_LT(shaded + 10, Brightness(level->scene->PixelAt(bare, {-46.6f, 35.6f, 0})));
    size_t darker = 0, lighter = 0;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const int with = Brightness(image.Row(y) + x * image.BytesPerPixel());
            const int without = Brightness(bare.Row(y) + x * bare.BytesPerPixel());
            darker += with + 10 < without ? 1 : 0;
            lighter += with > without + 10 ? 1 : 0;
        }
    EXPECT_GT(darker, 40u);
    EXPECT_EQ(lighter, 0u);
    EXPECT_GT(ground, 60); // lit, not background
    EXPECT_EQ(level->geometry->GetBlocks().size(), 25u);
}

TEST_F(GameplayRender, ExplosionMidChain) {
    Build();
    Play(1.5f);
    level->geometry->GetBlocks()[20]->Hit(0, false); // the first explosive brick: the row burns through
    Play(0.4f);
    Image image;
    level->scene->Frame(image);
    VelmoraTest::SceneServices::SavePng(image, "explosion.png");
    size_t flying = 0;
    for (const auto& entry : level->geometry->GetExplosionManager().GetExplosions())
        flying += entry.second->IsActive() ? 1 : 0;
    EXPECT_GT(flying, 0u);
    EXPECT_LT(level->geometry->GetBlocks().size(), 25u);
}

TEST_F(FirstLevelRender, BlocksOfTheFirstLevelCastShadowsOnTheField) {
    Build();
    Play(2); // the appearance cascade has shown every block
    Image image;
    level->scene->Frame(image);
    VelmoraTest::SceneServices::SavePng(image, "field-blocks.png");
    ASSERT_FALSE(level->geometry->GetBlocks().empty());
    for (const Block* block : level->geometry->GetBlocks())
        EXPECT_TRUE(block->GetShadow()->IsVisible());
    // The far row is of red clay: the middle of a brick's top shows it.
    float farY = -1000;
    for (const Block* block : level->geometry->GetBlocks())
        farY = std::max(farY, block->GetModelBox().GetCentre().y);
    size_t red = 0, far = 0;
    for (const Block* block : level->geometry->GetBlocks()) {
        const BoundingBox& box = block->GetModelBox();
        if (box.GetCentre().y < farY - 1)
            continue;
        ++far;
        const uint8_t* p = level->scene->PixelAt(image, box.GetCentre() + Vec3(0, 0, box.GetHalfSize().z));
        red += p[0] > p[1] + 40 && p[0] > p[2] + 40 ? 1 : 0;
    }
    EXPECT_GE(far, 8u);
    EXPECT_EQ(red, far);
    // Each shadow lies a little towards +x, -y of its block: just in front of a brick's near face the field
    // is darker than the field a little further out, and lighter again once the shadows are hidden.
    const BoundingBox& near = NearestBlock()->GetModelBox();
    const Vec3 inShadow(near.GetCentre().x, near.GetCentre().y - near.GetHalfSize().y - 0.4f, 0);
    const Vec3 lit = inShadow - Vec3(0, 2.5f, 0);
    const int shaded = Brightness(level->scene->PixelAt(image, inShadow));
    EXPECT_LT(shaded + 10, Brightness(level->scene->PixelAt(image, lit)));
    for (const Block* block : level->geometry->GetBlocks())
        block->GetShadow()->SetVisible(false);
    Image bare;
    level->scene->Frame(bare);
    EXPECT_LT(shaded + 10, Brightness(level->scene->PixelAt(bare, inShadow)));
    // Around the blocks (the scenery beyond moves on its own), the shadows darken the field; the few pixels
    // that change the other way are on the bricks, whose glint moves on between the two frames.
    const Area area = BlocksArea();
    SaveArea(image, area, 3, "field-blocks-close.png");
    size_t darker = 0, lighter = 0;
    for (uint32_t y = area.y0; y < area.y1; ++y)
        for (uint32_t x = area.x0; x < area.x1; ++x) {
            const int with = Brightness(image.Row(y) + x * image.BytesPerPixel());
            const int without = Brightness(bare.Row(y) + x * bare.BytesPerPixel());
            darker += with + 10 < without ? 1 : 0;
            lighter += with > without + 10 ? 1 : 0;
        }
    EXPECT_GT(darker, 10 * level->geometry->GetBlocks().size()) << "every block shows a sliver of shadow";
    EXPECT_LT(lighter, darker / 20);
}
