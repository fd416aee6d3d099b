// ctest-label: gameplay
// Guns and bolts on the fake clock, with a bat in place, a walled field and rows of blocks: fire rates and
// lost clicks, the clips from appearing to the last shot, taking one gun while the other is mounted, bolts
// that stop at the first block or go through them all, stop at the wall with their sound, slow down to their
// kind's speed and sink no lower than the floor clearance, pools that run out, and pausing.
#include "game/play/Bat.h"
#include "game/play/Bullet.h"
#include "game/play/BulletManager.h"
#include "game/play/Gun.h"
#include "game/play/GunPart.h"
#include "game/play/Shadow.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/ParticleSystem.h"
#include "tests/game/play/PlayTestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VbFormats::LevelBlock;
using VelmoraTest::Box3;
using VelmoraTest::PlayTestWorld;

namespace {

class GunsTest : public testing::Test {
protected:
    GunsTest() {
        // Clips at 100 frames per second: the arbalest appears in 0.33 s, its shot takes 0.07 s.
        world.AddModel("guns/arbalet/gun", PlayTestWorld::AnimatedBox(
                                               41, 100,
                                               [](uint32_t) {
                                                   return Box3{0, 1, 4};
                                               },
                                               [](uint32_t) {
                                                   return Box3{3, 1, 1};
                                               }));
        world.AddModel("guns/ballista/gun", PlayTestWorld::AnimatedBox(
                                                26, 100,
                                                [](uint32_t) {
                                                    return Box3{0, 1, 4};
                                                },
                                                [](uint32_t) {
                                                    return Box3{4, 1, 1};
                                                }));
        // A bolt lying on the body 4.7 above the floor, pointing along +y.
        for (const char* word : {"arbalet", "ballista"})
            world.AddModel(std::string("guns/") + word + "/bullet",
                           PlayTestWorld::BoxModel({0, 2, 5}, {0.3f, 1.5f, 0.3f}));
        world.BuildField(
            {{{-85, -95, 0}, {-75, 110, 10}}, {{75, -95, 0}, {85, 110, 10}}, {{-85, 100, 0}, {85, 110, 10}}});
    }
    ~GunsTest() override {
        arbalest.reset();
        ballista.reset();
        bullets.reset();
        bat.reset();
    }
    // The level's weapons around a block set; the bat is brought into place.
    void Build(const std::vector<LevelBlock>& blocks, void (*link)(VbFormats::LevelGeometry&) = nullptr) {
        arbalest.reset();
        ballista.reset();
        bullets.reset();
        bat.reset();
        world.BuildLevel(blocks, link);
        bat = std::make_unique<Bat>(world.keeper.get(), world.effects.get(), nullptr, world.audio.get());
        bullets = std::make_unique<BulletManager>(world.keeper.get(), nullptr, world.effects.get(),
                                                  world.audio.get(), world.field.get(), world.geometry.get(),
                                                  bat.get());
        arbalest = std::make_unique<Gun>(world.keeper.get(), world.effects.get(), bat.get(),
                                         world.audio.get(), bullets.get(), Gun::KindArbalest);
        ballista = std::make_unique<Gun>(world.keeper.get(), world.effects.get(), bat.get(),
                                         world.audio.get(), bullets.get(), Gun::KindBallista);
        world.SetCursor(400, 300);
        for (int i = 0; i < 150; ++i)
            Frame(20);
        ASSERT_TRUE(bat->IsInPlay());
        world.TakePlayedSounds();
    }
    // One frame of the level's weapons, in the level's order.
    void Frame(uint32_t milliseconds = 30, float fade = 1) {
        world.Frame(milliseconds, [&] {
            bat->Update(fade);
            arbalest->Update(fade);
            ballista->Update(fade);
            bullets->Update(fade);
        });
    }
    uint32_t Clip(const Gun& gun) const {
        return gun.GetPart()->GetGunModel()->animationControl->currentRangeId;
    }
    bool Shown(const Model* model) const { return (model->GetFlags() & ModelVisible) != 0; }
    size_t ActiveBullets(int kind) const {
        size_t n = 0;
        for (const Bullet* bullet : bullets->GetPool(kind))
            n += bullet->IsActive() ? 1 : 0;
        return n;
    }
    static std::vector<LevelBlock> Column(const char* type, int count) {
        std::vector<LevelBlock> column;
        for (int i = 0; i < count; ++i)
            column.push_back(PlayTestWorld::BlockAt(type, 0, -20.0f + 25.0f * float(i), 1));
        return column;
    }

    PlayTestWorld world{"guns"};
    std::unique_ptr<Bat> bat;
    std::unique_ptr<BulletManager> bullets;
    std::unique_ptr<Gun> arbalest;
    std::unique_ptr<Gun> ballista;
};

TEST_F(GunsTest, ShotsComeNoFasterThanTheIntervalAndOnlyWhenAsked) {
    Build({});
    struct Case {
        Gun* gun;
        uint32_t shots;
        int framesBetween; // at 0.03 s: the first multiple past the interval
        int sound;
    };
    for (const Case& c : {Case{arbalest.get(), 24, 4, 24}, Case{ballista.get(), 12, 6, 25}}) {
        SCOPED_TRACE(c.sound);
        c.gun->AddShots(c.shots);
        EXPECT_EQ(c.gun->GetShotsLeft(), c.shots);
        std::vector<int> shotFrames;
        for (int frame = 0; frame < 200 && c.gun->GetShotsLeft() > 0; ++frame) {
            const uint32_t before = c.gun->GetShotsLeft();
            c.gun->RequestShot();
            Frame();
            // Earlier bolts reach the wall meanwhile; only the shots are counted here.
            const std::vector<int> played = world.TakePlayedSounds();
            const auto shots = std::count(played.begin(), played.end(), c.sound);
            if (c.gun->GetShotsLeft() != before) {
                shotFrames.push_back(frame);
                EXPECT_EQ(shots, 1);
            } else {
                EXPECT_EQ(shots, 0);
            }
        }
        ASSERT_EQ(shotFrames.size(), c.shots);
        for (size_t i = 1; i < shotFrames.size(); ++i)
            EXPECT_EQ(shotFrames[i] - shotFrames[i - 1], c.framesBetween) << i;
        EXPECT_EQ(c.gun->GetShotsFired(), int(c.shots));
        c.gun->RequestShot(); // none left: nothing asked
        EXPECT_FALSE(c.gun->IsShotRequested());
        for (int i = 0; i < 150; ++i)
            Frame();
    }

    // A click held for one frame fires one bolt; one during the interval is lost, not kept for later.
    arbalest->AddShots(24);
    for (int i = 0; i < 30; ++i)
        Frame();
    arbalest->RequestShot();
    Frame();
    EXPECT_EQ(arbalest->GetShotsLeft(), 23u);
    arbalest->RequestShot();
    Frame();
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(arbalest->GetShotsLeft(), 23u);
}

TEST_F(GunsTest, ClipsRunFromAppearingToTheLastShotAndTheGunsExcludeEachOther) {
    Build({});
    GunPart& part = *arbalest->GetPart();
    EXPECT_FALSE(part.IsVisible());
    arbalest->AddShots(2);
    EXPECT_TRUE(part.IsVisible());
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipAppear));
    EXPECT_FALSE(Shown(part.GetLoadedBulletModel()));
    for (int i = 0; i < 15; ++i) // 0.45 s: the 0.33 s of appearing are over
        Frame();
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipLoaded));
    EXPECT_TRUE(Shown(part.GetLoadedBulletModel()));
    // Both ride on the bat.
    const Vec3 onBat = bat->GetBodyMatrix().MultiplyPoint(Vec3(0, 1, 4));
    EXPECT_NEAR(part.GetGunModel()->box.GetCentre().x, onBat.x, 1e-3);
    EXPECT_NEAR(part.GetGunModel()->box.GetCentre().y, onBat.y, 1e-3);

    // The same bonus again: more shots, no new appearance.
    arbalest->AddShots(0);
    arbalest->AddShots(24);
    EXPECT_EQ(arbalest->GetShotsLeft(), 26u);
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipLoaded));

    arbalest->RequestShot();
    Frame();
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipShot));
    EXPECT_FALSE(Shown(part.GetLoadedBulletModel()));
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipLoaded));
    EXPECT_TRUE(Shown(part.GetLoadedBulletModel()));

    // The last shot: the shot clip, then the disappearing one, then hidden.
    while (arbalest->GetShotsLeft() > 1) {
        arbalest->RequestShot();
        Frame();
    }
    for (int i = 0; i < 5; ++i)
        Frame();
    arbalest->RequestShot();
    Frame();
    EXPECT_EQ(arbalest->GetShotsLeft(), 0u);
    EXPECT_TRUE(part.IsLastShot());
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipShot));
    for (int i = 0; i < 4; ++i)
        Frame();
    EXPECT_EQ(Clip(*arbalest), uint32_t(GunPart::ClipDisappear));
    EXPECT_TRUE(part.IsVisible());
    for (int i = 0; i < 15; ++i)
        Frame();
    EXPECT_FALSE(part.IsVisible());
    EXPECT_FALSE(part.GetShadow()->IsVisible());

    // The ballista bonus while the arbalest is mounted: the arbalest goes at once, as the level does it.
    arbalest->AddShots(24);
    for (int i = 0; i < 15; ++i)
        Frame();
    arbalest->Stop();
    ballista->AddShots(12);
    EXPECT_FALSE(part.IsVisible());
    EXPECT_FALSE(Shown(part.GetLoadedBulletModel()));
    EXPECT_EQ(arbalest->GetShotsLeft(), 0u);
    EXPECT_TRUE(ballista->GetPart()->IsVisible());
    EXPECT_EQ(ballista->GetShotsLeft(), 12u);
    EXPECT_EQ(Clip(*ballista), uint32_t(GunPart::ClipAppear));
}

TEST_F(GunsTest, ArbalestBoltsStopAtTheFirstBlockBallistaBoltsGoThroughThemAll) {
    // A column straight ahead; block 2 rests on block 1, out of a bolt's reach.
    struct Case {
        int kind;
        std::vector<bool> alive;
        int wallSounds; // the bolt got to the wall
    };
    const Case cases[] = {
        {Gun::KindArbalest, {false, true, true, true}, 0},
        {Gun::KindBallista, {false, false, true, false}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Build({PlayTestWorld::BlockAt("simple", 0, -20, 1), PlayTestWorld::BlockAt("simple", 0, 10, 1),
               PlayTestWorld::BlockAt("simple", 0, 10, 3), PlayTestWorld::BlockAt("simple", 0, 40, 1)},
              [](VbFormats::LevelGeometry& level) {
                  level.blocks[2].below = {1};
                  level.blocks[1].above = {2};
              });
        Gun* gun = c.kind == Gun::KindBallista ? ballista.get() : arbalest.get();
        gun->AddShots(5);
        for (int i = 0; i < 15; ++i)
            Frame();
        gun->RequestShot();
        Frame();
        const Bullet& bolt = *bullets->GetPool(c.kind)[0];
        ASSERT_TRUE(bolt.IsActive());
        world.TakePlayedSounds();
        for (int i = 0; i < 300 && !bolt.IsFinishing(); ++i)
            Frame();
        ASSERT_TRUE(bolt.IsFinishing());
        EXPECT_FALSE(Shown(bolt.GetModel()));
        EXPECT_FALSE(bolt.GetTrail()->active); // its trail fades out
        const std::vector<int> played = world.TakePlayedSounds();
        EXPECT_EQ(std::count(played.begin(), played.end(), 27), c.wallSounds);
        EXPECT_EQ(std::count(played.begin(), played.end(), 26), 0);
        const auto& blocks = world.geometry->GetBlocks();
        for (size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i]->IsAlive(), c.alive[i]) << i;
        for (int i = 0; i < 300 && bolt.IsActive(); ++i)
            Frame();
        EXPECT_FALSE(bolt.IsActive());
    }
}

TEST_F(GunsTest, BoltsSlowToTheirKindsSpeedSinkToTheClearanceAndStopAtTheWall) {
    Build({});
    struct Case {
        Gun* gun;
        int kind;
        float startSpeed, minimumSpeed;
        int wallSound;
    };
    for (const Case& c : {Case{arbalest.get(), Gun::KindArbalest, 112, 80, 26},
                          Case{ballista.get(), Gun::KindBallista, 70, 70, 27}}) {
        SCOPED_TRACE(c.kind);
        c.gun->AddShots(5);
        for (int i = 0; i < 15; ++i)
            Frame();
        c.gun->RequestShot();
        Frame();
        const Bullet& bolt = *bullets->GetPool(c.kind)[0];
        ASSERT_TRUE(bolt.IsActive());
        EXPECT_LT(bolt.GetSpeed(), c.startSpeed + 1e-3f);
        EXPECT_GT(bolt.GetSpeed(), c.startSpeed - 0.1f * c.startSpeed);
        // Along the bat's +y, from the loaded place on the bat.
        EXPECT_NEAR(bolt.GetDirection().y, 1, 1e-3);
        world.TakePlayedSounds();
        float lowest = 1000;
        float y = bolt.GetBox().GetCentre().y;
        int frames = 0;
        for (; frames < 300 && !bolt.IsFinishing(); ++frames) {
            Frame();
            EXPECT_GE(bolt.GetSpeed(), c.minimumSpeed);
            EXPECT_GT(bolt.GetBox().GetCentre().y, y);
            y = bolt.GetBox().GetCentre().y;
            lowest = std::min(lowest, bolt.GetBox().GetWorldMin().z);
        }
        EXPECT_EQ(bolt.GetSpeed(), c.minimumSpeed);
        EXPECT_NEAR(lowest, Bullet::FloorClearance, 1e-3);
        // The wall at y 100 stops it; the burst shows where it was.
        EXPECT_EQ(world.TakePlayedSounds(), std::vector<int>{c.wallSound});
        EXPECT_GT(y + bolt.GetBox().GetHalfSize().y, 95.0f);
        EXPECT_TRUE(bolt.GetDestructionParticles()->IsVisible());
        EXPECT_NEAR(bolt.GetDestructionParticles()->emitterPosition.y, y, 5);
        for (int i = 0; i < 300 && bolt.IsActive(); ++i)
            Frame();
        EXPECT_FALSE(bolt.IsActive());
        c.gun->Stop();
    }
}

TEST_F(GunsTest, AFullPoolDropsTheShotAndAFinishingBoltIsReused) {
    Build({});
    const std::vector<Bullet*>& pool = bullets->GetPool(Gun::KindArbalest);
    ASSERT_EQ(pool.size(), 30u);
    ASSERT_EQ(bullets->GetPool(Gun::KindBallista).size(), 20u);
    // 30 bolts fired in 30 frames in which no bolt moves.
    for (int i = 0; i < 30; ++i)
        world.Frame(30, [&] { bullets->FireArbalest(bat->GetBodyMatrix()); });
    EXPECT_EQ(ActiveBullets(Gun::KindArbalest), 30u);
    EXPECT_EQ(world.TakePlayedSounds(), std::vector<int>(30, 24));
    // The 31st: no bolt, no sound; the gun's shot still counts.
    arbalest->AddShots(24);
    for (int i = 0; i < 15; ++i)
        world.Frame(30, [&] { arbalest->Update(1); });
    world.TakePlayedSounds();
    arbalest->RequestShot();
    world.Frame(30, [&] { arbalest->Update(1); });
    EXPECT_EQ(arbalest->GetShotsLeft(), 23u);
    EXPECT_TRUE(world.TakePlayedSounds().empty());
    for (const Bullet* bullet : pool)
        EXPECT_EQ(bullet->GetPosition().y, 0.0f);

    // All of them at the wall together: the last one in the pool flies again.
    for (int i = 0; i < 300 && !pool[0]->IsFinishing(); ++i)
        world.Frame(30, [&] { bullets->Update(1); });
    ASSERT_TRUE(std::all_of(pool.begin(), pool.end(), [](const Bullet* b) { return b->IsFinishing(); }));
    world.TakePlayedSounds();
    bullets->FireArbalest(bat->GetBodyMatrix());
    EXPECT_EQ(world.TakePlayedSounds(), std::vector<int>{24});
    for (size_t i = 0; i < pool.size(); ++i)
        EXPECT_EQ(pool[i]->IsFinishing(), i != pool.size() - 1) << i;
    EXPECT_TRUE(pool.back()->IsActive());
}

TEST_F(GunsTest, PausedBoltsStandStillWithoutTrails) {
    Build({});
    ballista->AddShots(12);
    for (int i = 0; i < 15; ++i)
        Frame();
    ballista->RequestShot();
    Frame();
    const Bullet& bolt = *bullets->GetPool(Gun::KindBallista)[0];
    ASSERT_TRUE(bolt.IsActive());
    EXPECT_TRUE(bolt.GetTrail()->active);
    EXPECT_TRUE(bolt.GetTrail()->IsVisible());
    bullets->SetPaused(true);
    ballista->SetPaused(true);
    const Vec3 at = bolt.GetBox().GetCentre();
    ballista->RequestShot();
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(bolt.GetBox().GetCentre().y, at.y);
    EXPECT_FALSE(bolt.GetTrail()->active);
    EXPECT_EQ(ballista->GetShotsLeft(), 11u); // no shot while paused
    // An idle bolt's trail stays off either way.
    EXPECT_FALSE(bullets->GetPool(Gun::KindBallista)[1]->GetTrail()->active);
    bullets->SetPaused(false);
    ballista->SetPaused(false);
    EXPECT_TRUE(bolt.GetTrail()->active);
    EXPECT_FALSE(bullets->GetPool(Gun::KindBallista)[1]->GetTrail()->active);
    Frame();
    EXPECT_GT(bolt.GetBox().GetCentre().y, at.y);
}

} // namespace
