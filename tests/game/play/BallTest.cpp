// ctest-label: gameplay
// The balls and the ball manager on a fixture field (walls at x = +-75 and y = 100), a fixture bat in the
// middle of its line, a barrier and a few blocks, frame by frame on the fake clock: the speed model and the
// speed bonuses, the held ball and its launch, bounces off the walls, the bat's head, the barrier and the
// blocks with the sounds they make, lost and escaped balls, the split and the pool, and a ball's look.
#include "game/play/Ball.h"
#include "game/play/BallManager.h"
#include "game/play/Barrier.h"
#include "game/play/Bat.h"
#include "game/play/Block.h"
#include "game/play/BonusManager.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Physics.h"

#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/math/Random.h"
#include "framework/ScoreKeeper.h"
#include "tests/game/play/PlayTestWorld.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VelmoraTest::PlayTestWorld;

namespace {

constexpr float pi = std::numbers::pi_v<float>;

float Degrees(const Vec2& v) {
    return std::atan2(v.y, v.x) * 180 / pi;
}

// The unsigned angle between two directions, in degrees.
float AngleBetween(const Vec2& a, const Vec2& b) {
    return std::acos(std::clamp(a.Normalized().Dot(b.Normalized()), -1.0f, 1.0f)) * 180 / pi;
}

class Balls : public testing::Test {
protected:
    Balls() {
        SeedRandom(7);
        // A head of the same length in every frame of its animation.
        world.AddModel("bat/head", PlayTestWorld::AnimatedBox(
                                       61, 0,
                                       [](uint32_t) {
                                           return VelmoraTest::Box3{0, 5.5f, 3};
                                       },
                                       [](uint32_t) {
                                           return VelmoraTest::Box3{10, 1.5f, 1};
                                       }));
        world.AddModel("bat/body", PlayTestWorld::BoxModel({0, 3, 2}, {10, 3, 2}));
        world.AddModel("bat/screw", PlayTestWorld::BoxModel({0, 1, 1.5f}, {0.5f, 0.5f, 0.5f}));
        world.AddModel("balls/simple/model", PlayTestWorld::BoxModel({0, 0, 0}, {2, 2, 2}));
        world.AddModel("balls/super/model", PlayTestWorld::BoxModel({0, 0, 0}, {3, 3, 3}));
        for (const char* name : {"barrier/hardware_0", "barrier/hardware_1", "barrier/rope_0",
                                 "barrier/rope_1", "barrier/rope_2"})
            world.AddModel(name, PlayTestWorld::BoxModel({0, -95, 1}, {75, 1, 1}));
        world.services.data.Save("environment/field.vbf", VelmoraTest::PlayTestWorld::FieldFile());
        VbFormats::ModelDescription brick;
        VelmoraTest::AppendBox(brick.vertices, brick.indices, {0, 0, 3}, {8, 4, 3});
        brick.boxes = {{{-8, -4, 0}, {8, 4, 6}}};
        world.services.data.Save("game_objects/blocks/models/plain.mlf",
                                 VbFormats::ModelWriter::Write(brick));
        world.services.data.Save("game_objects/blocks/models/keeper.mlf",
                                 VbFormats::ModelWriter::Write(brick));
        world.Save("game_objects/blocks/plain.xml", "<block/>");
        world.Save("game_objects/blocks/keeper.xml", "<block type=\"ball_keeper\"/>");
    }
    ~Balls() override {
        manager.reset();
        geometry.reset();
        bonuses.reset();
        barrier.reset();
        bat.reset();
        field.reset();
        levelData.reset();
    }

    // The level's objects over blocks at the given places (x, y), of the given types.
    void Build(const std::vector<std::pair<std::string, Vec2>>& blocks = {}, int lives = 4) {
        VbFormats::LevelGeometry level;
        level.textures = {""};
        for (const auto& [type, at] : blocks) {
            VbFormats::LevelBlock block;
            block.type = type;
            block.keyFrames = {{{at.x, at.y, 0}, {0, 0, 0, 1}}};
            level.blocks.push_back(block);
        }
        world.services.data.Save("levels_geometry/00_00.vbg", VbFormats::LevelGeometryWriter::Write(level));
        levelData = std::make_unique<GameLogicData>("en", "00_00.vbg");
        levelData->Load(~0u);
        field = std::make_unique<GameField>("field.vbf");
        barrier = std::make_unique<Barrier>(world.keeper.get(), world.effects.get(), world.audio.get());
        bat =
            std::make_unique<Bat>(world.keeper.get(), world.effects.get(), barrier.get(), world.audio.get());
        bonuses = std::make_unique<BonusManager>(world.audio.get(), world.keeper.get(), world.effects.get());
        geometry = std::make_unique<GameGeometry>(world.keeper.get(), levelData.get(), world.effects.get(),
                                                  &score, world.audio.get());
        manager =
            std::make_unique<BallManager>(world.keeper.get(), world.effects.get(), field.get(),
                                          geometry.get(), bat.get(), barrier.get(), world.audio.get(), lives);
        geometry->Build(bonuses.get(), manager.get(), nullptr);
        world.SetCursor(400, 300);
        // The bat waits, slides in and stands in the middle of its line.
        for (int frame = 0; frame < 150; ++frame)
            world.Frame(20, [&] { bat->Update(1); });
        world.TakePlayedSounds();
    }

    void Frame(float fade = 1, int lives = 4) {
        world.Frame(20, [&] {
            bat->Update(fade);
            geometry->Update(fade);
            manager->Update(lives, fade);
        });
    }
    // Frames until the condition holds; false when it never did.
    bool RunUntil(const std::function<bool()>& done, int frames = 500) {
        for (int frame = 0; frame < frames; ++frame) {
            Frame();
            if (done())
                return true;
        }
        return false;
    }

    // A launched ball placed and aimed.
    Ball* FreeBall(const Vec2& at, const Vec2& direction, int type = 0) {
        Ball* ball = manager->AddBall(type);
        ball->Launch();
        ball->SetPosition(at);
        ball->SetDirection(direction.Normalized());
        return ball;
    }

    std::vector<int> Sounds() { return world.TakePlayedSounds(); }

    PlayTestWorld world{"balls"};
    GameFramework::ScoreKeeper score;
    std::unique_ptr<GameLogicData> levelData;
    std::unique_ptr<GameField> field;
    std::unique_ptr<Barrier> barrier;
    std::unique_ptr<Bat> bat;
    std::unique_ptr<BonusManager> bonuses;
    std::unique_ptr<GameGeometry> geometry;
    std::unique_ptr<BallManager> manager;
};

} // namespace

TEST_F(Balls, SpeedFollowsTheLives) {
    struct Case {
        int lives;
        float target;
    };
    const Case cases[] = {{0, 41.6f}, {1, 50.8f},  {2, 55.4f},  {3, 57.7f},  {4, 60},
                          {5, 64.6f}, {10, 87.6f}, {11, 92.2f}, {50, 92.2f}, {-1, 92.2f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lives);
        EXPECT_NEAR(BallManager::TargetSpeedFor(c.lives), c.target, 1e-4);
    }
    Build({}, 0);
    EXPECT_NEAR(manager->GetSpeed(), 41.6f, 1e-4);
    EXPECT_NEAR(manager->GetMinSpeed(), 31.6f, 1e-4);
    EXPECT_NEAR(manager->GetMaxSpeed(), 106.6f, 1e-4);
    // A life lost at 4 lives with the speed at 100: halfway back to the new target, bonuses ended.
    Frame(1, 4);
    EXPECT_NEAR(manager->GetMinSpeed(), 50, 1e-4);
    EXPECT_NEAR(manager->GetMaxSpeed(), 125, 1e-4);
    manager->SetSpeed(100);
    manager->SpeedUp();
    Frame(1, 3);
    manager->UpdateSpeed(true);
    EXPECT_NEAR(manager->GetSpeed(), 0.5f * 100 + 0.5f * 57.7f, 1e-3);
    EXPECT_FALSE(manager->IsSpeedUpActive());
    manager->SetSpeed(10);
    manager->UpdateSpeed(true); // never below the minimum
    EXPECT_NEAR(manager->GetSpeed(), 47.7f, 1e-3);
}

TEST_F(Balls, SpeedBonusesRiseHoldAndReturnWhileABallIsInPlay) {
    Build();
    ASSERT_EQ(manager->GetActiveBalls().size(), 0u);
    manager->AddBall(0);
    manager->SpeedUp();
    for (int frame = 0; frame < 100; ++frame) // a held ball: the bonus waits
        Frame();
    EXPECT_NEAR(manager->GetSpeed(), 60, 1e-4);
    // A free ball keeps the play going; the level's fade of 0 holds it still but not the bonus's time.
    manager->RemoveBall(0);
    Ball* ball = FreeBall({0, 50}, {1, 0});
    auto speedAfter = [&](float seconds) {
        for (int frame = static_cast<int>(std::lround(seconds / 0.02f)); frame > 0; --frame)
            Frame(0);
        return manager->GetSpeed();
    };
    EXPECT_NEAR(speedAfter(0.5f), 75, 1e-2);
    EXPECT_NEAR(speedAfter(0.5f), 90, 1e-2);
    EXPECT_NEAR(speedAfter(8.9f), 90, 1e-2);
    EXPECT_NEAR(speedAfter(0.6f), 90 - 30 * 0.5f, 0.7f); // returning from 10 s on
    EXPECT_NEAR(speedAfter(0.6f), 60, 1e-2);
    EXPECT_FALSE(manager->IsSpeedUpActive());
    EXPECT_EQ(ball->GetSpeed(), manager->GetSpeed());

    manager->SlowDown();
    EXPECT_NEAR(speedAfter(1), 50, 1e-2); // clamped at the minimum for 4 lives
    EXPECT_TRUE(manager->IsSlowDownActive());
}

TEST_F(Balls, AHeldBallRestsOnTheHeadAndLaunchesOffItsCentre) {
    Build();
    Ball* ball = manager->AddBall(0);
    EXPECT_TRUE(ball->IsHeld());
    EXPECT_TRUE(manager->HasHeldBall());
    const BoundingBox& head = bat->GetHeadBox();
    EXPECT_NEAR(ball->GetPosition().x, head.GetCentre().x + 0.3f * 10, 1e-4);
    EXPECT_NEAR(ball->GetPosition().y, head.GetWorldMax().y + 2 - 2, 1e-4);
    world.SetCursor(200, 300);
    for (int frame = 0; frame < 150; ++frame) // moved and settled
        Frame();
    EXPECT_LT(head.GetCentre().x, -30);
    EXPECT_NEAR(ball->GetPosition().x, head.GetCentre().x + 3, 1e-4);
    EXPECT_FALSE(manager->IsBallInPlay());

    manager->RequestLaunch();
    Frame();
    EXPECT_FALSE(ball->IsHeld());
    EXPECT_FALSE(manager->IsBallInPlay()); // as of the start of the frame that launched it
    Frame();
    EXPECT_TRUE(manager->IsBallInPlay());
    EXPECT_NEAR(90 - Degrees(ball->GetDirection()), 0.15f * 0.85f * 90, 1e-3);
    EXPECT_TRUE(ball->GetCurrentTrail()->active);
}

TEST_F(Balls, WallsReflectTheBallAndTurnItAFewDegreesFurther) {
    Build();
    struct Case {
        const char* what;
        int type;
        Vec2 at, direction;
        Vec2 mirror;
        int sound;
    };
    const Case cases[] = {
        {"right wall", 0, {65, 0}, {0.6f, 0.8f}, {-0.6f, 0.8f}, 18},
        {"left wall", 0, {-65, 0}, {-0.8f, -0.6f}, {0.8f, -0.6f}, 18},
        {"top wall, super", 1, {0, 88}, {0.28f, 0.96f}, {0.28f, -0.96f}, 19},
        {"right angle", 0, {65, 0}, {0.7071068f, 0.7071068f}, {-0.7071068f, 0.7071068f}, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        while (!manager->GetActiveBalls().empty())
            manager->RemoveBall(0);
        Ball* ball = FreeBall(c.at, c.direction, c.type);
        const Vec2 before = ball->GetDirection();
        ASSERT_TRUE(RunUntil([&] { return ball->GetDirection().NotEquals(before); }));
        EXPECT_EQ(Sounds(), std::vector<int>{c.sound});
        const float off = AngleBetween(ball->GetDirection(), c.mirror);
        EXPECT_GE(off, 3 - 1e-3);
        EXPECT_LE(off, 9 + 1e-3);
        EXPECT_NEAR(ball->GetDirection().Length(), 1, 1e-4);
        // Inside the walls after the bounce.
        EXPECT_LE(std::fabs(ball->GetPosition().x) + ball->GetRadius(), 75 + 1e-3);
        EXPECT_LE(ball->GetPosition().y + ball->GetRadius(), 100 + 1e-3);
    }
    // At right angles the extra turn is the largest, 9 degrees, away from the wall's normal.
    EXPECT_NEAR(AngleBetween(BallManager::Deflect({0.7071068f, 0.7071068f}, {-0.7071068f, 0.7071068f}),
                             {-0.7071068f, 0.7071068f}),
                9, 1e-2);
}

TEST_F(Balls, TheBatHeadSetsTheBounceAndARisingBallPassesThrough) {
    Build();
    const float headX = bat->GetHeadBox().GetCentre().x;
    struct Case {
        float offset; // from the head's centre
        float degreesRight;
    };
    for (const Case& c : {Case{0, 0}, Case{5, 0.25f * 0.85f * 90}, Case{-5, -0.25f * 0.85f * 90}}) {
        SCOPED_TRACE(c.offset);
        while (!manager->GetActiveBalls().empty())
            manager->RemoveBall(0);
        Ball* ball = FreeBall({headX + c.offset, -40}, {0, -1});
        ASSERT_TRUE(RunUntil([&] { return ball->GetDirection().y > 0; }));
        EXPECT_EQ(Sounds(), std::vector<int>{17});
        // Met where the head's collider (three down the field) begins, no deflection.
        EXPECT_NEAR(ball->GetDirection().x, std::sin(c.degreesRight * pi / 180), 0.02f);
        Frame();
        EXPECT_LT(bat->GetRecoilOffset(), 0);
    }
    // A ball coming up from below the bat is not stopped by it.
    while (!manager->GetActiveBalls().empty())
        manager->RemoveBall(0);
    Ball* rising = FreeBall({headX, -95}, {0, 1});
    ASSERT_TRUE(RunUntil([&] { return rising->GetPosition().y > -60; }, 100));
    EXPECT_EQ(rising->GetDirection().y, 1);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(Balls, TheBarrierBouncesAFallingBallAndLosesItsNewestSegment) {
    Build();
    barrier->AddSegment();
    barrier->AddSegment();
    world.SetCursor(0, 300); // the bat out of the way
    for (int frame = 0; frame < 20; ++frame)
        Frame();
    Ball* ball = FreeBall({40, -70}, {0.6f, -0.8f});
    ASSERT_TRUE(RunUntil([&] { return ball->GetDirection().y > 0; }));
    EXPECT_EQ(Sounds(), std::vector<int>{20});
    EXPECT_EQ(barrier->GetSegmentCount(), 1);
    EXPECT_NEAR(ball->GetDirection().x, 0.6f, 1e-3); // a plain mirror image, no deflection
    EXPECT_NEAR(ball->GetDirection().y, 0.8f, 1e-3);
    EXPECT_GT(ball->GetPosition().y - ball->GetRadius(), barrier->GetBox().GetWorldMax().y - 1e-3f);

    // The last segment goes with the next bounce; after it the ball falls through and is lost.
    ball->SetDirection(Vec2(0, -1));
    ASSERT_TRUE(RunUntil([&] { return ball->GetDirection().y > 0; }));
    EXPECT_EQ(barrier->GetSegmentCount(), 0);
    Sounds();
    ball->SetDirection(Vec2(0, -1));
    ASSERT_TRUE(RunUntil([&] { return manager->GetActiveBalls().empty(); }));
    EXPECT_EQ(Sounds(), std::vector<int>{21});
}

TEST_F(Balls, BlocksAreHitOnceAFrameAndEveryKillRaisesTheSpeed) {
    Build({{"plain", {0, 40}}, {"plain", {40, 40}}, {"keeper", {-40, 40}}});
    for (int frame = 0; frame < 100; ++frame) // the blocks appear
        Frame();
    ASSERT_EQ(geometry->GetCountedBlocksAtStart(), 2u);
    // Two balls side by side reach the same block in the same frame: only the first hits it.
    Ball* first = FreeBall({-3, 20}, {0, 1});
    Ball* second = FreeBall({3, 20}, {0, 1});
    const float before = manager->GetSpeed();
    ASSERT_TRUE(RunUntil([&] { return first->GetDirection().y < 0; }));
    EXPECT_FALSE(geometry->GetBlocks()[0]->IsAlive());
    EXPECT_GT(second->GetDirection().y, 0); // passed through the dying block
    const float step = (0.78f * 125 + 0.22f * 60 - 60) / 2;
    EXPECT_NEAR(manager->GetSpeed(), before + step, 1e-3);
    const float off = AngleBetween(first->GetDirection(), {0, -1});
    EXPECT_GE(off, 3 - 1e-3);
    EXPECT_LE(off, 9 + 1e-3);

    // A ball keeper's new ball leaves the way the hitting ball came.
    while (!manager->GetActiveBalls().empty())
        manager->RemoveBall(0);
    Ball* hitter = FreeBall({-40, 20}, {0.1f, 1});
    const Vec2 incoming = hitter->GetDirection();
    ASSERT_TRUE(RunUntil([&] { return manager->GetActiveBalls().size() == 2; }));
    Ball* released = manager->GetActiveBalls()[1];
    EXPECT_FALSE(released->IsHeld());
    EXPECT_NEAR(released->GetDirection().x, incoming.x, 1e-4);
    EXPECT_NEAR(released->GetDirection().y, incoming.y, 1e-4);
}

TEST_F(Balls, LostAndEscapedBalls) {
    Build();
    world.SetCursor(0, 300);
    for (int frame = 0; frame < 20; ++frame)
        Frame();
    Ball* falling = FreeBall({40, -90}, {0, -1});
    FreeBall({-40, 50}, {1, 0});
    // Lost once its top is below -100: centre below -102 for the simple ball.
    ASSERT_TRUE(RunUntil([&] { return manager->GetActiveBalls().size() == 1; }));
    EXPECT_LT(falling->GetPosition().y + 2, -100);
    EXPECT_FALSE(falling->IsActive());
    EXPECT_EQ(Sounds(), std::vector<int>{21});

    // Every ball outside the field box, still above the loss line: one new ball of the first's type on
    // the bat, without a sound.
    manager->RemoveBall(0);
    FreeBall({200, 50}, {1, 0}, 1)->PlaceModels(0);
    FreeBall({-200, 50}, {-1, 0}, 0)->PlaceModels(0);
    Frame();
    ASSERT_EQ(manager->GetActiveBalls().size(), 1u);
    EXPECT_TRUE(manager->GetActiveBalls()[0]->IsHeld());
    EXPECT_EQ(manager->GetActiveBalls()[0]->GetType(), 1);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(Balls, SplitMakesThreeOfEachUntilTwelveAndThePoolNeverRunsOut) {
    Build();
    Ball* ball = FreeBall({0, 0}, {0, 1});
    manager->SplitBalls();
    ASSERT_EQ(manager->GetActiveBalls().size(), 3u);
    for (size_t i = 1; i < 3; ++i) {
        const Ball* split = manager->GetActiveBalls()[i];
        EXPECT_FALSE(split->IsHeld());
        EXPECT_NEAR(AngleBetween(split->GetDirection(), ball->GetDirection()), 120, 1e-2);
    }
    EXPECT_NEAR(AngleBetween(manager->GetActiveBalls()[1]->GetDirection(),
                             manager->GetActiveBalls()[2]->GetDirection()),
                120, 1e-2);

    // Six balls: the first three split, then the list holds twelve and the split stops.
    while (!manager->GetActiveBalls().empty())
        manager->RemoveBall(0);
    for (int i = 0; i < 6; ++i)
        FreeBall({-50.0f + 20 * static_cast<float>(i), 0}, {0, 1});
    manager->SplitBalls();
    EXPECT_EQ(manager->GetActiveBalls().size(), 12u);

    // A held ball splits into free balls flying up the field; it stays on the bat.
    while (!manager->GetActiveBalls().empty())
        manager->RemoveBall(0);
    Ball* held = manager->AddBall(0);
    manager->SplitBalls();
    ASSERT_EQ(manager->GetActiveBalls().size(), 3u);
    EXPECT_TRUE(held->IsHeld());
    EXPECT_FALSE(manager->GetActiveBalls()[1]->IsHeld());
    EXPECT_FALSE(manager->GetActiveBalls()[2]->IsHeld());
    EXPECT_NEAR(AngleBetween(manager->GetActiveBalls()[1]->GetDirection(),
                             manager->GetActiveBalls()[2]->GetDirection()),
                120, 1e-2);

    // All 18 in play: a further ball pulls one of the type back onto the bat.
    while (!manager->GetActiveBalls().empty())
        manager->RemoveBall(0);
    for (int i = 0; i < 18; ++i)
        FreeBall({0, 0}, {0, 1}, i == 5 ? 1 : 0);
    Ball* reused = manager->AddBall(1);
    EXPECT_EQ(manager->GetActiveBalls().size(), 18u);
    EXPECT_EQ(reused, manager->GetPool()[5]);
    EXPECT_TRUE(reused->IsHeld());
}

TEST_F(Balls, ABallsLookMovementAndPause) {
    Build();
    Ball* ball = FreeBall({0, 0}, {0, 1});
    ParticleSystem* simpleTrail = ball->GetTrail(0);
    ParticleSystem* superTrail = ball->GetTrail(1);
    EXPECT_TRUE(simpleTrail->active);
    EXPECT_TRUE(ball->GetModel(0)->GetFlags() & ModelVisible);
    ball->SetType(1); // the super trail takes over at once
    EXPECT_FALSE(simpleTrail->active);
    EXPECT_FALSE(simpleTrail->IsVisible());
    EXPECT_TRUE(superTrail->active);
    EXPECT_TRUE(superTrail->IsVisible());
    EXPECT_EQ(superTrail->liveParticles, 0u);
    EXPECT_FALSE(ball->GetModel(0)->GetFlags() & ModelVisible);
    EXPECT_TRUE(ball->GetModel(1)->GetFlags() & ModelVisible);
    EXPECT_NEAR(ball->GetRadius(), 3, 1e-4);

    // Fade 0 or speed 0: the ball neither moves nor rolls.
    ball->PlaceModels(0);
    for (float fade : {0.0f, 1.0f}) {
        const Matrix4 placed = ball->GetModel(1)->transform;
        const Vec2 at = ball->GetPosition();
        if (fade == 0) {
            Frame(fade);
        } else {
            ball->SetSpeed(0);
            ball->Update(fade);
        }
        EXPECT_FALSE(ball->GetPosition().NotEquals(at));
        EXPECT_TRUE(ball->GetModel(1)->transform.Equals(placed));
    }
    // Pausing stops the trail; resuming restarts it for a free ball only.
    manager->AddBall(0);
    manager->SetPaused(true);
    EXPECT_FALSE(superTrail->active);
    manager->SetPaused(false);
    EXPECT_TRUE(superTrail->active);
    EXPECT_FALSE(manager->GetActiveBalls()[1]->GetCurrentTrail()->active);

    // Deactivated twice: hidden, no flare, nothing further to remove.
    manager->RemoveBall(0);
    ball->Deactivate();
    EXPECT_FALSE(ball->IsActive());
    EXPECT_FALSE(ball->GetModel(1)->GetFlags() & ModelVisible);
    EXPECT_EQ(ball->GetFlareSpriteId(), SpriteGroup::noSprite);
    const Vec2 at = ball->GetPosition();
    ball->Update(1); // an idle ball ignores updates
    EXPECT_FALSE(ball->GetPosition().NotEquals(at));
}
