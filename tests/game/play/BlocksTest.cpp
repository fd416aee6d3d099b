// ctest-label: gameplay
// The blocks of a level built by the block set from written level files: the hit table (strengths,
// unbreakable, explosive chains), crack frames, stacks that fall, the appearance cascade, the counted
// blocks and their log line, reaping, debris registration and the ball keeper's ball; then the bonus
// countdown, kind weights, falling, pooling and the end-level hammer, all at a fixed frame time and seed.
#include "game/play/Ball.h"
#include "game/play/BallKeeper.h"
#include "game/play/BallManager.h"
#include "game/play/Block.h"
#include "game/play/Bonus.h"
#include "game/play/BonusManager.h"
#include "game/play/Brick.h"
#include "game/play/Effects.h"
#include "game/play/Explosion.h"
#include "game/play/ExplosionManager.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Lighting.h"
#include "game/play/Shadow.h"

#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "gametools/RandomSelecter.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VbFormats::LevelBlock;
using VbFormats::LevelGeometry;

namespace {

class RecordedBall final : public Ball {
public:
    void Launch() override {
        launched = true;
        direction = Vec2(0, 1);
    }
    bool launched = false;
};

class RecordingBallManager final : public BallManager {
public:
    Ball* AddBall(int type) override {
        types.push_back(type);
        balls.push_back(std::make_unique<RecordedBall>());
        return balls.back().get();
    }
    std::vector<int> types;
    std::vector<std::unique_ptr<RecordedBall>> balls;
};

// Every event scores a different power of ten, so the total tells which events were raised how often.
const std::map<uint32_t, int> eventPoints = {{1, 1}, {2, 10}, {3, 100}, {6, 1000}, {7, 10000}, {8, 100000}};

class Blocks : public testing::Test {
protected:
    Blocks() {
        Save("game_objects/blocks/simple.xml", "<block/>");
        Save("game_objects/blocks/strong.xml",
             "<block strength=\"3\" fragment_count=\"2\"><shader frame_count=\"3\"/></block>");
        Save("game_objects/blocks/tough.xml", "<block strength=\"5\"><shader frame_count=\"2\"/></block>");
        Save("game_objects/blocks/wall.xml", "<block strength=\"0\"/>");
        Save("game_objects/blocks/bomb.xml", "<block explosive=\"1\"/>");
        Save("game_objects/blocks/mine.xml", "<block strength=\"0\" explosive=\"1\"/>");
        Save("game_objects/blocks/keeper.xml", "<block type=\"ball_keeper\" ball_type=\"super\"/>");
        Save("game_objects/blocks/debris.xml", "<block fragment_count=\"6\" fake_fragments=\"1\"/>");
        Save("game_objects/blocks/fixed.xml", "<block shadow=\"0\"/>");
        Save("environment/lighting/lighting.ini", "100 100 100 0");
        services.timers.frameTime = 0.02f;
        SeedRandom(11);
        Brick::ResetCrashSoundTurn();
        for (const auto& [event, points] : eventPoints)
            score.SetPoints(event, points);
    }
    ~Blocks() override {
        geometry.reset();
        bonuses.reset();
        effects.reset();
        lighting.reset();
        levelData.reset();
    }

    void Save(const std::string& name, const std::string& text) {
        services.data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    // Blocks are the 2 x 2 x 2 placeholder boxes of missing model files, so a block at height z spans
    // z - 1 .. z + 1.
    static LevelBlock At(const std::string& type, float x, float y, float z = 1) {
        LevelBlock block;
        block.type = type;
        block.keyFrames = {{{x, y, z}, {0, 0, 0, 1}}};
        return block;
    }

    // Block 'upper' rests on block 'lower'.
    static void Stack(LevelGeometry& level, uint16_t lower, uint16_t upper) {
        level.blocks[upper].below.push_back(lower);
        level.blocks[lower].above.push_back(upper);
    }

    void Build(const std::vector<LevelBlock>& blocks, void (*link)(LevelGeometry&) = nullptr) {
        LevelGeometry level;
        level.textures = {""};
        level.blocks = blocks;
        if (link != nullptr)
            link(level);
        services.data.Save("levels_geometry/00_00.vbg", VbFormats::LevelGeometryWriter::Write(level));
        // A new level replaces the last one, whose blocks hold shadows of its effects: gone first.
        geometry.reset();
        bonuses.reset();
        effects.reset();
        lighting.reset();
        levelData = std::make_unique<GameLogicData>("en", "00_00.vbg");
        levelData->Load(~0u);
        lighting = std::make_unique<Lighting>("lighting.ini");
        effects = std::make_unique<Effects>(lighting.get());
        bonuses = std::make_unique<BonusManager>(&audio, &gameData, effects.get());
        geometry = std::make_unique<GameGeometry>(&gameData, levelData.get(), effects.get(), &score, &audio);
        geometry->Build(bonuses.get(), &balls, nullptr);
    }

    Block& BlockAt(size_t index) { return *geometry->GetBlocks()[index]; }

    void Run(float seconds) {
        for (int frames = static_cast<int>(seconds / 0.02f + 0.5f); frames > 0; --frames)
            geometry->Update(1.0f);
    }

    size_t AliveCount() const {
        size_t alive = 0;
        for (const Block* block : geometry->GetBlocks())
            alive += block->IsAlive() ? 1 : 0;
        return alive;
    }

    VelmoraTest::ModelServices services{"blocks"};
    GameFramework::AudioPlayer audio{0.285f, 0.315f};
    GameFramework::ScoreKeeper score;
    GameTools::DataKeeper gameData{"en"};
    RecordingBallManager balls;
    std::unique_ptr<GameLogicData> levelData;
    std::unique_ptr<Lighting> lighting;
    std::unique_ptr<Effects> effects;
    std::unique_ptr<BonusManager> bonuses;
    std::unique_ptr<GameGeometry> geometry;
};

} // namespace

TEST_F(Blocks, HitTable) {
    struct Case {
        const char* what;
        const char* type;
        std::vector<int> hits; // kinds, in order
        bool aliveAfter;
        int score;
        uint32_t kindFlags;
    };
    const Case cases[] = {
        {"simple", "simple", {0}, false, 1, Brick::KindSimple},
        {"strong survives two simple hits", "strong", {0, 0}, true, 20, Brick::KindStrong},
        {"strong dies at the third", "strong", {0, 0, 0}, false, 120, Brick::KindStrong},
        {"strong at once by a super hit", "strong", {1}, false, 100, Brick::KindStrong},
        {"unbreakable takes 24 simple hits", "wall", std::vector<int>(24, 0), true, 0,
         Brick::KindUnbreakable},
        {"unbreakable dies at the 25th", "wall", std::vector<int>(25, 0), false, 10000,
         Brick::KindUnbreakable},
        {"unbreakable at once by a super hit", "wall", {1}, false, 10000, Brick::KindUnbreakable},
        {"explosive", "bomb", {0}, false, 1000, Brick::KindSimple | Brick::KindExplosive},
        {"explosive unbreakable", "mine", {1}, false, 1000, Brick::KindUnbreakable | Brick::KindExplosive},
        {"ball keeper", "keeper", {0}, false, 100000, BallKeeper::KindSuperBall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        score.SetTotal(0);
        Build({At(c.type, 0, 0)});
        Block& block = BlockAt(0);
        EXPECT_EQ(block.GetKindFlags(), c.kindFlags);
        for (int kind : c.hits)
            block.Hit(kind, false);
        EXPECT_EQ(block.IsAlive(), c.aliveAfter);
        EXPECT_EQ(score.GetTotal(), c.score);
        block.Hit(1, true); // a dead block ignores further hits; a live one dies now
        EXPECT_FALSE(block.IsAlive());
    }
}

TEST_F(Blocks, CrackFramesStayWithinTheLayer) {
    Build({At("strong", 0, 0), At("tough", 10, 0)});
    Brick& strong = static_cast<Brick&>(BlockAt(0));
    strong.Hit(0, false);
    EXPECT_EQ(strong.GetStrength(), 2u);
    EXPECT_EQ(strong.GetModel()->material->stages[0].currentFrame, 1u); // 3 frames - 2 hits left
    strong.Hit(0, false);
    EXPECT_EQ(strong.GetModel()->material->stages[0].currentFrame, 2u);
    // Five hits on two frames: 2 - 4 would point before the first frame; it stays at frame 0.
    Brick& tough = static_cast<Brick&>(BlockAt(1));
    tough.Hit(0, false);
    EXPECT_EQ(tough.GetStrength(), 4u);
    EXPECT_EQ(tough.GetModel()->material->stages[0].currentFrame, 0u);
    for (int i = 0; i < 3; ++i)
        tough.Hit(0, false);
    EXPECT_EQ(tough.GetModel()->material->stages[0].currentFrame, 1u);
}

TEST_F(Blocks, ChainsBurnThroughExplosivesOnly) {
    // Rows five long, 2.2 apart: neighbours meet when the boxes grow by 1.21 and 1.35.
    std::vector<LevelBlock> blocks;
    for (int i = 0; i < 5; ++i)
        blocks.push_back(At("simple", 2.2f * static_cast<float>(i), 0));
    for (int i = 0; i < 5; ++i)
        blocks.push_back(At("bomb", 2.2f * static_cast<float>(i), 20));
    Build(blocks);
    Run(0.4f);                // the cascade has shown every block
    BlockAt(0).Hit(1, true);  // a super ball's hit
    BlockAt(5).Hit(0, false); // an explosive always chains
    EXPECT_TRUE(BlockAt(1).IsDestructionScheduled());
    EXPECT_FALSE(BlockAt(2).IsDestructionScheduled());
    Run(0.06f);
    EXPECT_EQ(AliveCount(), 8u); // nothing dies sooner than 0.1 s after the blast
    Run(3.0f);
    // The simple row lost the hit brick and its one neighbour; the explosive row burnt down.
    ASSERT_EQ(geometry->GetBlocks().size(), 3u);
    for (const Block* block : geometry->GetBlocks())
        EXPECT_EQ(block->GetKindFlags(), Brick::KindSimple);
    EXPECT_EQ(score.GetTotal(), 2 * 1 + 5 * 1000);
}

TEST_F(Blocks, StacksJumpAndFallToTheirNewSupport) {
    // 0 carries 1 carries 2; 3 and 4 both carry 5; 6 (fixed) carries 7.
    Build({At("simple", 0, 0), At("simple", 0, 0, 3), At("simple", 0, 0, 5), At("simple", 10, 0),
           At("simple", 12, 0), At("simple", 11, 0, 3), At("fixed", 20, 0), At("simple", 20, 0, 3)},
          [](LevelGeometry& level) {
              Stack(level, 0, 1);
              Stack(level, 1, 2);
              Stack(level, 3, 5);
              Stack(level, 4, 5);
              Stack(level, 6, 7);
              level.blocks[6].flags = 1; // fixed
          });
    Block* middle = &BlockAt(1);
    Block* top = &BlockAt(2);
    Block* bridge = &BlockAt(5);
    Block* onFixed = &BlockAt(7);
    EXPECT_FLOAT_EQ(BlockAt(0).GetSupportHeight(), 0);
    EXPECT_FLOAT_EQ(middle->GetSupportHeight(), 2);
    EXPECT_FLOAT_EQ(top->GetSupportHeight(), 4);
    Run(1.5f);

    BlockAt(0).Hit(0, false);
    EXPECT_FLOAT_EQ(middle->GetVerticalSpeed(),
                    0.8f * 2 + 20); // supports counted while the dead one is listed
    EXPECT_FLOAT_EQ(top->GetVerticalSpeed(), 0.8f * 4 + 20);
    BlockAt(3).Hit(0, false); // level with the other support: the bridge jumps and comes back
    EXPECT_GT(bridge->GetVerticalSpeed(), 0);
    BlockAt(6).Hit(0, false); // fixed: no jump for what it carries
    EXPECT_FLOAT_EQ(onFixed->GetVerticalSpeed(), 0);
    Run(2.0f);
    EXPECT_TRUE(middle->GetBlocksBelow().empty());
    EXPECT_EQ(top->GetBlocksBelow(), std::vector<Block*>{middle});
    EXPECT_FLOAT_EQ(middle->GetHeight(), 0);
    EXPECT_FLOAT_EQ(top->GetHeight(), 2);
    EXPECT_NEAR(middle->GetModelBox().GetWorldMin().z, 0, 1e-4f); // down by the height of its lost support
    EXPECT_NEAR(top->GetModelBox().GetWorldMin().z, 2, 1e-4f);
    EXPECT_FLOAT_EQ(bridge->GetHeight(), 2);
    EXPECT_FLOAT_EQ(onFixed->GetHeight(), 0);
}

TEST_F(Blocks, AppearanceCascadeRunsUpTheStacks) {
    Build({At("simple", 0, 0), At("simple", 0, 0, 3), At("simple", 0, 0, 5), At("simple", 10, 0)},
          [](LevelGeometry& level) {
              Stack(level, 0, 1);
              Stack(level, 1, 2);
          });
    float previous = 0;
    for (size_t i = 0; i < 3; ++i) {
        const Block& block = BlockAt(i);
        EXPECT_TRUE(block.IsAlive()); // alive while still hidden
        EXPECT_TRUE(block.IsCreationScheduled());
        EXPECT_FALSE(block.GetModel()->GetFlags() & ModelVisible);
        EXPECT_GE(block.GetCreationDelay(), previous + 0.15f - 1e-5f) << i;
        EXPECT_LE(block.GetCreationDelay(), previous + 0.35f + 1e-5f) << i;
        previous = block.GetCreationDelay();
    }
    const float second = BlockAt(1).GetCreationDelay();
    BlockAt(1).ScheduleCreation(0); // already scheduled: nothing changes
    EXPECT_FLOAT_EQ(BlockAt(1).GetCreationDelay(), second);
    while (BlockAt(0).IsCreationScheduled())
        geometry->Update(1.0f);
    EXPECT_TRUE(BlockAt(0).GetModel()->GetFlags() & ModelVisible);
    EXPECT_FALSE(BlockAt(1).GetModel()->GetFlags() & ModelVisible);
    EXPECT_TRUE(BlockAt(0).GetShadow()->IsVisible());
    Run(1.0f);
    EXPECT_TRUE(BlockAt(2).GetModel()->GetFlags() & ModelVisible);
    EXPECT_FALSE(BlockAt(2).GetShadow()->IsVisible()); // stacked: no shadow of its own
}

TEST_F(Blocks, CountedBlocksAndTheirLogLine) {
    std::vector<LevelBlock> blocks;
    for (int i = 0; i < 10; ++i)
        blocks.push_back(At("simple", 10.0f * static_cast<float>(i), 0));
    blocks.push_back(At("wall", 0, 30));
    blocks.push_back(At("wall", 10, 30));
    blocks.push_back(At("mine", 20, 30));
    for (int i = 0; i < 3; ++i)
        blocks.push_back(At("keeper", 10.0f * static_cast<float>(i), 60));
    Build(blocks);
    EXPECT_EQ(geometry->GetCountedBlocksAtStart(), 11u);
    EXPECT_TRUE(services.log.Contains("...Blocks count: 16"));
    EXPECT_EQ(geometry->GetBlockKind(&BlockAt(13)), GameGeometry::KindBallKeeper);
    EXPECT_EQ(geometry->GetBlockKind(&BlockAt(0)), GameGeometry::KindBrick);
    EXPECT_EQ(geometry->GetBlockKind(nullptr), GameGeometry::KindOther);

    BlockAt(10).Hit(1, false); // unbreakable
    BlockAt(13).Hit(0, false); // ball keeper
    geometry->Update(1.0f);
    EXPECT_EQ(geometry->GetCountedBlocksLeft(), 11u);
    BlockAt(11).Hit(1, false); // the explosive unbreakable one
    geometry->SetPaused(true);
    geometry->Update(1.0f); // paused: nothing is reaped
    EXPECT_EQ(geometry->GetBlocks().size(), 14u);
    geometry->SetPaused(false);
    geometry->Update(1.0f);
    EXPECT_EQ(geometry->GetCountedBlocksLeft(), 10u);
    // Two dead neighbours in the list go in the same update.
    BlockAt(0).Hit(0, false);
    BlockAt(1).Hit(0, false);
    geometry->Update(1.0f);
    EXPECT_EQ(geometry->GetBlocks().size(), 11u);
    EXPECT_EQ(geometry->GetCountedBlocksLeft(), 8u);
}

TEST_F(Blocks, DebrisTypesAndBallKeepers) {
    Build({At("debris", 0, 0), At("debris", 10, 0), At("debris", 20, 0), At("debris", 30, 0),
           At("keeper", 40, 0), At("bomb", 42.2f, 0), At("simple", 60, 0)});
    const auto& explosions = geometry->GetExplosionManager().GetExplosions();
    ASSERT_EQ(explosions.size(), ExplosionManager::PoolSize(4));
    for (const auto& [type, explosion] : explosions) {
        EXPECT_EQ(type, 0);
        EXPECT_EQ(explosion->GetFragments().size(), 6u);
    }
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(BlockAt(i).HasFragments());
        EXPECT_EQ(BlockAt(i).GetExplosionType(), 0);
    }
    EXPECT_FALSE(BlockAt(6).HasFragments());
    BlockAt(0).Hit(0, false);
    geometry->Update(1.0f);
    EXPECT_TRUE(explosions[0].second->IsActive()); // the debris of the removed block flies

    // A keeper destroyed by its neighbour's blast: a super ball, away from the blast.
    Run(0.4f);
    Block& keeper = *geometry->GetBlocks()[3];
    ASSERT_EQ(geometry->GetBlockKind(&keeper), GameGeometry::KindBallKeeper);
    geometry->GetBlocks()[4]->Hit(0, false);
    Run(0.4f);
    ASSERT_EQ(balls.types, std::vector<int>{1});
    const RecordedBall& ball = *balls.balls[0];
    EXPECT_TRUE(ball.launched);
    EXPECT_NEAR(ball.GetPosition().x, 40, 1e-4f);
    EXPECT_NEAR(ball.GetDirection().x, -1, 1e-4f);
    EXPECT_NEAR(ball.GetDirection().y, 0, 1e-4f);
}

namespace {

class Bonuses : public testing::Test {
protected:
    Bonuses() {
        const std::string text = "0 0 0 0";
        services.data.Save("environment/lighting/lighting.ini",
                           std::vector<uint8_t>(text.begin(), text.end()));
        services.timers.frameTime = 0.02f;
        SeedRandom(5);
        lighting = std::make_unique<Lighting>("lighting.ini");
        effects = std::make_unique<Effects>(lighting.get());
        manager = std::make_unique<BonusManager>(&audio, &keeper, effects.get());
    }
    ~Bonuses() override {
        manager.reset();
        effects.reset();
    }

    VelmoraTest::ModelServices services{"bonuses"};
    GameFramework::AudioPlayer audio{0.285f, 0.315f};
    GameTools::DataKeeper keeper{"en"};
    std::unique_ptr<Lighting> lighting;
    std::unique_ptr<Effects> effects;
    std::unique_ptr<BonusManager> manager;
};

} // namespace

TEST_F(Bonuses, CountdownRunsWithPlayAndShrinksWithEachBrick) {
    const float start = manager->GetCountdown();
    EXPECT_GE(start, 6);
    EXPECT_LE(start, 9);
    manager->Update(false, 3, 1);
    EXPECT_FLOAT_EQ(manager->GetCountdown(), start); // no ball in play
    manager->Update(true, 3, 0.5f);
    EXPECT_FLOAT_EQ(manager->GetCountdown(), start - 0.01f);
    manager->OnBlockDestroyed({1, 2});
    EXPECT_FLOAT_EQ(manager->GetCountdown(), (start - 0.01f) * 0.96f);
    EXPECT_TRUE(manager->GetBonuses().empty());
    manager->SetCountdown(-0.001f);
    manager->OnBlockDestroyed({1, 2});
    ASSERT_EQ(manager->GetBonuses().size(), 1u);
    EXPECT_FLOAT_EQ(manager->GetBonuses()[0]->GetPosition().y, 2);
    EXPECT_GE(manager->GetCountdown(), 8);
    EXPECT_LE(manager->GetCountdown(), 12);
    manager->SetPaused(true);
    manager->Update(true, 3, 1);
    EXPECT_FLOAT_EQ(manager->GetBonuses()[0]->GetPosition().y, 2);
}

TEST_F(Bonuses, LifeWeighsMoreWithFewerLivesAndKindsNeverRepeat) {
    const std::pair<int, uint32_t> cases[] = {{0, 138}, {1, 126}, {2, 114}, {5, 114}};
    for (const auto& [lives, total] : cases) {
        manager->Update(false, lives, 1);
        manager->Spawn({0, 0}, BonusManager::KindRandom);
        EXPECT_EQ(manager->GetSelecter().GetTotalWeight(), total) << lives;
    }
    int previous = manager->GetBonuses().back()->GetKind();
    std::vector<int> seen(BonusManager::KindCount, 0);
    for (int i = 0; i < 300; ++i) {
        manager->Spawn({0, 0}, BonusManager::KindRandom);
        const int kind = manager->GetBonuses().back()->GetKind();
        EXPECT_NE(kind, previous);
        ++seen[static_cast<size_t>(kind)];
        previous = kind;
    }
    for (int kind = 0; kind < BonusManager::KindCount; ++kind)
        EXPECT_GT(seen[static_cast<size_t>(kind)], 0) << BonusManager::GetKindName(kind);
    manager->Spawn({0, 0}, 3); // fixed kinds may repeat
    manager->Spawn({0, 0}, 3);
    EXPECT_EQ(manager->GetBonuses().back()->GetKind(), 3);
    EXPECT_EQ(BonusManager::GetKindName(6), "balls_super");
    EXPECT_EQ(BonusManager::GetKindName(11), "");
}

TEST_F(Bonuses, FallLeaveTheFieldAndReturnTheirModels) {
    for (int i = 0; i < 3; ++i)
        manager->Spawn({0, static_cast<float>(-100 + i)}, 4);
    const std::vector<Model*> pool = manager->GetModelPool();
    EXPECT_EQ(pool[8], nullptr); // both models of kind 4 lent
    EXPECT_EQ(pool[9], nullptr);
    manager->Update(false, 3, 0.5f);
    EXPECT_FLOAT_EQ(manager->GetBonuses()[0]->GetPosition().y, -100 - 18 * 0.02f * 0.5f);
    for (int frame = 0; frame < 200 && !manager->GetBonuses().empty(); ++frame)
        manager->Update(false, 3, 1);
    EXPECT_TRUE(manager->GetBonuses().empty()); // below -110 they left the field
    EXPECT_NE(manager->GetModelPool()[8], nullptr);
    EXPECT_NE(manager->GetModelPool()[9], nullptr);

    // A caught bonus stays in the list, hidden and still, while its catch particles play.
    manager->Spawn({0, 0}, 1);
    manager->CatchBonus(0);
    EXPECT_TRUE(manager->GetBonuses()[0]->IsCaught());
    EXPECT_FALSE(manager->GetBonuses()[0]->HasFlare());
    EXPECT_FALSE(manager->GetBonuses()[0]->GetModel()->GetFlags() & ModelVisible);
    for (int frame = 0; frame < 10; ++frame)
        manager->Update(false, 3, 1);
    ASSERT_EQ(manager->GetBonuses().size(), 1u);
    EXPECT_FLOAT_EQ(manager->GetBonuses()[0]->GetPosition().y, 0);
}

TEST_F(Bonuses, HammerEveryEightAndAHalfSecondsOfUnfadedPlay) {
    manager->ArmEndLevelBonus();
    EXPECT_FLOAT_EQ(manager->GetEndLevelTimer(), 8.5f);
    manager->Update(false, 3, 0.5f); // fading: the timer stands
    EXPECT_FLOAT_EQ(manager->GetEndLevelTimer(), 8.5f);
    int drops = 0;
    for (int frame = 0; frame < 900; ++frame) { // 18 s
        manager->ArmEndLevelBonus();
        const size_t before = manager->GetBonuses().size();
        manager->Update(false, 3, 1);
        if (manager->GetBonuses().size() > before) {
            ++drops;
            EXPECT_EQ(manager->GetBonuses().back()->GetKind(), BonusManager::KindHammer);
            EXPECT_FLOAT_EQ(manager->GetBonuses().back()->GetPosition().x, 0);
        }
    }
    EXPECT_EQ(drops, 2);
}

TEST_F(Bonuses, EachKindsFlareShowsItsColour) {
    // The flare material blends by alpha: a flare without alpha would never be seen under its bonus.
    const Vec4 blue(0, 144 / 255.0f, 1, 1);
    const Vec4 red(1, 66 / 255.0f, 0, 1);
    const Vec4 gold(1, 216 / 255.0f, 0, 1);
    const Vec4 expected[BonusManager::KindCount] = {blue, blue, red,  red,  blue, blue,
                                                    blue, blue, gold, gold, gold};
    for (int kind = 0; kind < BonusManager::KindCount; ++kind) {
        manager->Spawn({0, 50}, kind);
        const Bonus& bonus = *manager->GetBonuses().back();
        ASSERT_TRUE(bonus.HasFlare());
        const Vec4 colour = manager->GetFlareGroup()->GetSprite(bonus.GetFlareSpriteId()).colour;
        EXPECT_FLOAT_EQ(colour.x, expected[kind].x) << BonusManager::GetKindName(kind);
        EXPECT_FLOAT_EQ(colour.y, expected[kind].y) << BonusManager::GetKindName(kind);
        EXPECT_FLOAT_EQ(colour.z, expected[kind].z) << BonusManager::GetKindName(kind);
        EXPECT_FLOAT_EQ(colour.w, 1) << BonusManager::GetKindName(kind);
    }
}

TEST_F(Bonuses, AFullFlareGroupLeavesNewBonusesWithoutAFlare) {
    for (int i = 0; i < 101; ++i)
        manager->Spawn({0, 50}, i % BonusManager::KindCount);
    EXPECT_TRUE(manager->GetBonuses()[99]->HasFlare());
    EXPECT_FALSE(manager->GetBonuses()[100]->HasFlare());
    manager->CatchBonus(100); // no flare to remove
    manager->CatchBonus(0);
    manager->Spawn({0, 50}, 0); // the caught bonus gave its sprite back
    EXPECT_TRUE(manager->GetBonuses().back()->HasFlare());
}
