// ctest-label: gameplay
// The bat, frame by frame on the fake clock with a fixture bat whose head grows with its frame: the assembly
// of its three parts, the size as the head's frame, the mouse range and its clamp, the bounce directions,
// the recoil, the sway, lean and screw, the slide-in of the first and of a later bat with its sound, and its
// destruction into three explosions.
#include "game/play/Bat.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/ParticleSystem.h"
#include "game/play/Explosion.h"
#include "game/play/Shadow.h"
#include "tests/game/play/PlayTestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VelmoraTest::Box3;
using VelmoraTest::PlayTestWorld;

namespace {

constexpr float pi = std::numbers::pi_v<float>;

// The bat as modelled: a body 20 wide whose centre is off the head's by 1 in x, a head whose half length
// is 7 + 0.3 x frame (13 at the start size 20, 25 at the largest), a screw in front of the body.
const Box3 bodyCentre{2, 3, 2};
const Box3 bodyHalf{10, 3, 2};
const Box3 headCentre{1, 5.5f, 3};
const Box3 screwCentre{2, 1, 1.5f};

float HeadHalf(float size) {
    return 7 + 0.3f * size;
}

class BatTest : public testing::Test {
protected:
    BatTest() {
        world.AddModel("bat/head", PlayTestWorld::AnimatedBox(
                                       61, 0, [](uint32_t) { return headCentre; },
                                       [](uint32_t f) {
                                           return Box3{HeadHalf(float(f)), 1.5f, 1};
                                       }));
        world.AddModel("bat/body", PlayTestWorld::BoxModel(bodyCentre, bodyHalf));
        world.AddModel("bat/screw", PlayTestWorld::BoxModel(screwCentre, {0.5f, 0.5f, 0.5f}));
        bat = std::make_unique<Bat>(world.keeper.get(), world.effects.get(), nullptr, world.audio.get());
        world.SetCursor(400, 300);
    }
    ~BatTest() override { bat.reset(); }

    void Frame(uint32_t milliseconds = 20, float fade = 1) {
        world.Frame(milliseconds, [&] { bat->Update(fade); });
    }
    void Run(float seconds, uint32_t milliseconds = 20, float fade = 1) {
        for (int n = int(std::lround(seconds * 1000 / float(milliseconds))); n > 0; --n)
            Frame(milliseconds, fade);
    }
    // Past the first bat's start delay and its slide-in.
    void BringIn() {
        Run(1.8f + 1.0f);
        ASSERT_TRUE(bat->IsInPlay());
        ASSERT_EQ(bat->GetEntryOffset(), 0.0f);
    }
    float WorldX() const { return bat->GetHeadBox().GetCentre().x; }

    PlayTestWorld world{"bat"};
    std::unique_ptr<Bat> bat;
};

TEST_F(BatTest, PartsKeepTheirModelledPlacesAroundTheBatPosition) {
    BringIn();
    const BoundingBox& head = bat->GetHeadBox();
    const BoundingBox& body = bat->GetBodyBox();
    const BoundingBox& screw = bat->GetScrewModel()->box;
    // The head's centre is the bat's x, the body stands on the floor with its near edge on the bat line.
    EXPECT_NEAR(head.GetCentre().x, 0, 1e-4);
    EXPECT_NEAR(body.GetWorldMin().y, Bat::BaseY, 1e-4);
    EXPECT_NEAR(body.GetWorldMin().z, 0, 1e-4);
    for (int axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(axis);
        EXPECT_NEAR(body.GetCentre()[axis] - head.GetCentre()[axis], bodyCentre[axis] - headCentre[axis],
                    1e-4);
        EXPECT_NEAR(screw.GetCentre()[axis] - body.GetCentre()[axis], screwCentre[axis] - bodyCentre[axis],
                    1e-4);
    }
    // The guns ride on the body's matrix; bonuses are caught by head and body together.
    const Vec3 bodyPlace =
        bat->GetBodyMatrix().MultiplyPoint(Vec3(bodyCentre[0], bodyCentre[1], bodyCentre[2]));
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(bodyPlace[axis], body.GetCentre()[axis], 1e-4);
    EXPECT_NEAR(bat->GetBatBox().GetWorldMin().y, Bat::BaseY, 1e-4);
    EXPECT_NEAR(bat->GetBatBox().GetWorldMax().y, head.GetWorldMax().y, 1e-4);
    EXPECT_NEAR(bat->GetBatBox().GetWorldMin().x, std::min(head.GetWorldMin().x, body.GetWorldMin().x), 1e-4);
}

TEST_F(BatTest, SizeIsTheHeadFrameAndFollowsTheBonusesAtItsOwnSpeed) {
    BringIn();
    bat->Grow();
    bat->Grow();
    bat->Grow(); // beyond the largest size: no effect
    EXPECT_EQ(bat->GetTargetSize(), 60.0f);
    // 20 -> 60 at 55 per second takes 0.727 s: 36 frames of 0.02 s fall short, 37 arrive.
    Run(0.72f);
    EXPECT_NEAR(bat->GetSize(), 20 + 55 * 0.72f, 1e-3);
    EXPECT_EQ(bat->GetHeadModel()->animationControl->position, bat->GetSize());
    Frame();
    EXPECT_EQ(bat->GetSize(), 60.0f);
    Frame();
    EXPECT_NEAR(bat->GetHeadBox().GetHalfSize().x, HeadHalf(60), 1e-4);

    bat->Shrink();
    bat->Shrink();
    bat->Shrink();
    bat->Shrink(); // below the smallest size: no effect
    EXPECT_EQ(bat->GetTargetSize(), 0.0f);
    Run(1.2f);
    EXPECT_EQ(bat->GetSize(), 0.0f);
    EXPECT_EQ(bat->GetHeadModel()->animationControl->position, 0.0f);
}

TEST_F(BatTest, FollowsTheMouseWithinTheFieldAndIgnoresItWhileFadedOut) {
    BringIn();
    struct Case {
        float guiX;
        float size;
        float x; // expected, mouse units
    };
    const Case cases[] = {
        {400, 20, 75},
        {0, 20, HeadHalf(20)},
        {800, 20, 150 - HeadHalf(20)},
        {80, 20, 15},
        {0, 60, HeadHalf(60)}, // a longer bat stops earlier
        {800, 60, 150 - HeadHalf(60)},
        {80, 60, HeadHalf(60)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.guiX);
        while (bat->GetTargetSize() < c.size)
            bat->Grow();
        Run(1);
        world.SetCursor(c.guiX, 300);
        Run(2); // the sway settles too
        EXPECT_NEAR(bat->GetX(), c.x, 1e-4);
        EXPECT_NEAR(WorldX(), c.x - 75, 1e-3);
    }

    // Faded out: the mouse is ignored, but the size and the sway still settle.
    bat->Shrink();
    world.SetCursor(400, 300);
    const float x = bat->GetX();
    Run(1, 20, 0.0f);
    EXPECT_EQ(bat->GetX(), x);
    EXPECT_EQ(bat->GetSize(), 40.0f);
    EXPECT_NEAR(bat->GetSway(), 0, 1e-3);
    Frame(20, 0.5f);
    EXPECT_NEAR(bat->GetX(), 75, 1e-4);
}

TEST_F(BatTest, BounceDirectionTurnsWithTheHitPointUpTo38Degrees) {
    BringIn();
    const float centre = WorldX();
    const float half = bat->GetHeadBox().GetHalfSize().x;
    const float side = 0.85f * pi / 4; // 38.25 degrees
    struct Case {
        float x;
        float angle;
    };
    const Case cases[] = {
        {centre, 0}, {centre + half, side}, {centre - half, -side}, {centre + half / 2, side / 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const Vec2 d = bat->GetBounceDirection(Vec2(c.x, -80));
        EXPECT_NEAR(d.x, std::sin(c.angle), 1e-5);
        EXPECT_NEAR(d.y, std::cos(c.angle), 1e-5);
    }
}

TEST_F(BatTest, RecoilDipsTheHeadAndBringsItBack) {
    BringIn();
    const float y = bat->GetHeadBox().GetCentre().y;
    bat->Recoil();
    // Frame by frame at 0.01 s: down at 9 units per second to the deepest point, back at 6.
    std::vector<float> offsets;
    float deepestHead = y;
    for (int i = 0; i < 40; ++i) {
        Frame(10);
        offsets.push_back(bat->GetRecoilOffset());
        deepestHead = std::min(deepestHead, bat->GetHeadBox().GetCentre().y);
    }
    const auto deepest = std::find(offsets.begin(), offsets.end(), -Bat::RecoilDepth);
    ASSERT_NE(deepest, offsets.end());
    EXPECT_NEAR(float(deepest - offsets.begin() + 1) * 0.01f, 0.1f, 0.011f);
    EXPECT_NEAR(deepestHead, y - Bat::RecoilDepth, 1e-4);
    const auto back = std::find(deepest, offsets.end(), 0.0f);
    ASSERT_NE(back, offsets.end());
    EXPECT_NEAR(float(back - deepest) * 0.01f, 0.15f, 0.011f);
    EXPECT_TRUE(std::all_of(back, offsets.end(), [](float offset) { return offset == 0; }));
    EXPECT_NEAR(bat->GetHeadBox().GetCentre().y, y, 1e-4);
}

TEST_F(BatTest, MovingSwaysTheHeadLeansTheBodyAndSpinsTheScrewUntilItSettles) {
    BringIn();
    EXPECT_EQ(bat->GetScrewSpinRate(), 0.5f); // the idle spin
    world.SetCursor(800, 300);                // a jump of 62 units to the right
    Frame();
    EXPECT_LT(bat->GetSway(), -2.0f); // the head lags behind, at most 2.5
    EXPECT_GE(bat->GetSway(), -2.5f);
    EXPECT_GT(bat->GetLeanAngle(), 0.0f);
    EXPECT_EQ(bat->GetScrewSpinRate(), 8.0f);
    const float angle = bat->GetScrewAngle();
    Frame();
    EXPECT_GT(bat->GetScrewAngle(), angle);

    // A steady sweep to the left leans the other way, up to 7.5 degrees.
    for (int i = 1; i <= 20; ++i) {
        world.SetCursor(800.0f - 20.0f * float(i), 300);
        Frame();
        EXPECT_LE(std::fabs(bat->GetLeanAngle()), pi / 24 + 1e-6f);
    }
    EXPECT_FLOAT_EQ(bat->GetLeanAngle(), -pi / 24);
    EXPECT_GT(bat->GetBodyBox().GetHalfSize().z, bodyHalf[2] + 0.1f);

    Run(4);
    EXPECT_NEAR(bat->GetSway(), 0, 1e-4);
    EXPECT_NEAR(bat->GetLeanAngle(), 0, 1e-4);
    EXPECT_EQ(bat->GetScrewSpinRate(), 0.5f);
    // Level again once the lean has settled.
    EXPECT_NEAR(bat->GetBodyBox().GetHalfSize().z, bodyHalf[2], 1e-3);
}

TEST_F(BatTest, FirstBatWaitsThenSlidesInAndALaterBatSlidesInAtOnce) {
    world.TakePlayedSounds();
    // Waiting: nothing moves and nothing sounds until 1.8 s have passed; then the bat is in play at once,
    // so that a ball can be launched before the slide ends.
    int frames = 0;
    while (!bat->IsInPlay() && frames < 200) {
        EXPECT_EQ(bat->GetEntryOffset(), -30.0f);
        Frame();
        ++frames;
    }
    EXPECT_NEAR(float(frames) * 0.02f, Bat::StartDelay, 0.021f);
    EXPECT_NEAR(bat->GetBodyBox().GetWorldMin().y, Bat::BaseY - 30, 1e-4);
    EXPECT_TRUE(world.TakePlayedSounds().empty());
    // The slide: 75 - 92 t units per second covers the 30 units in about 0.72 s at this frame time.
    auto slide = [&] {
        Frame(5);
        EXPECT_EQ(world.TakePlayedSounds(), std::vector<int>{Bat::SoundCreation});
        Run(0.695f, 5);
        EXPECT_LT(bat->GetEntryOffset(), -0.05f);
        EXPECT_NEAR(bat->GetBodyBox().GetWorldMin().y, Bat::BaseY + bat->GetEntryOffset(), 1e-4);
        Run(0.03f, 5);
        EXPECT_EQ(bat->GetEntryOffset(), 0.0f);
        EXPECT_TRUE(bat->IsInPlay());
        EXPECT_TRUE(world.TakePlayedSounds().empty()); // once per slide
    };
    slide();

    // A later bat: no start delay, but in play only when it has arrived; a paused one does not move.
    bat->Destroy();
    Run(3);
    ASSERT_FALSE(bat->IsInPlay());
    bat->Reset();
    bat->SetPaused(true);
    world.TakePlayedSounds();
    Run(0.5f);
    EXPECT_EQ(bat->GetEntryOffset(), -30.0f);
    EXPECT_FALSE(bat->IsInPlay());
    bat->SetPaused(false);
    Frame(5);
    EXPECT_FALSE(bat->IsInPlay());
    Run(0.695f, 5);
    EXPECT_FALSE(bat->IsInPlay());
    bat->Reset();
    world.TakePlayedSounds();
    slide();
}

TEST_F(BatTest, DestroyBreaksTheBatIntoThreeExplosionsAndStaysInPlayUntilTheyEnd) {
    BringIn();
    world.TakePlayedSounds();
    bat->Destroy();
    EXPECT_TRUE(bat->IsDestroyed());
    EXPECT_TRUE(bat->IsInPlay());
    EXPECT_EQ(world.TakePlayedSounds(), std::vector<int>{Bat::SoundDestruction});
    EXPECT_FALSE(bat->GetHeadModel()->GetFlags() & ModelVisible);
    EXPECT_FALSE(bat->GetBodyModel()->GetFlags() & ModelVisible);
    EXPECT_FALSE(bat->GetScrewModel()->GetFlags() & ModelVisible);
    EXPECT_FALSE(bat->GetHeadShadow()->IsVisible());
    EXPECT_EQ(bat->GetHeadExplosion()->GetFragments().size(), 7u);
    EXPECT_EQ(bat->GetBodyExplosion()->GetFragments().size(), 35u);
    EXPECT_EQ(bat->GetScrewExplosion()->GetFragments().size(), 1u);
    for (const Explosion* explosion :
         {bat->GetHeadExplosion(), bat->GetBodyExplosion(), bat->GetScrewExplosion()}) {
        EXPECT_TRUE(explosion->IsActive());
        EXPECT_GT(explosion->GetTime(), 0.0f); // one update with the frame's time already
    }
    EXPECT_TRUE(bat->GetDestructionParticles()->IsVisible());
    EXPECT_NEAR(bat->GetDestructionParticles()->emitterPosition.y, bat->GetBodyBox().GetCentre().y, 1e-4);

    int frames = 0;
    while (bat->IsInPlay() && frames < 1000) {
        Frame();
        ++frames;
    }
    EXPECT_FALSE(bat->IsInPlay());
    EXPECT_GT(frames, 10);
    EXPECT_FALSE(bat->GetHeadExplosion()->IsActive());
    EXPECT_FALSE(bat->GetBodyExplosion()->IsActive());
    EXPECT_FALSE(bat->GetScrewExplosion()->IsActive());
    EXPECT_TRUE(bat->IsDestroyed()); // until the level resets it

    bat->Reset();
    EXPECT_FALSE(bat->IsDestroyed());
    EXPECT_FALSE(bat->IsInPlay());
    EXPECT_TRUE(bat->GetHeadShadow()->IsVisible());
    EXPECT_EQ(bat->GetX(), 75.0f);
    EXPECT_EQ(bat->GetSize(), Bat::StartSize);
}

} // namespace
