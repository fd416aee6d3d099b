// ctest-label: gameplay
// The hammer and the barrier on the fake clock: charges, swings and the clicks they ignore, the lean with the
// cursor, which block a strike picks (nearest triangle, then the first box, stacked blocks included), the
// strike through a scripted mouse on a 16:9 desktop in full screen, and the barrier's segments and collider.
#include "game/play/Barrier.h"
#include "game/play/Hammer.h"
#include "game/play/ScreenMapping.h"
#include "game/play/Shadow.h"

#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/gui/GUICursor.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/GameCamera.h"
#include "platform/win/WindowCursor.h"
#include "platform/win/WindowSimulation.h"
#include "tests/game/play/PlayTestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VbFormats::LevelBlock;
using VelmoraTest::Box3;
using VelmoraTest::PlayTestWorld;

namespace {

constexpr float pi = std::numbers::pi_v<float>;

// 10 frames at 20 per second: the swing down (0..4) takes 0.2 s, the swing back (4..9) 0.25 s.
VbFormats::ModelDescription HammerModel() {
    return PlayTestWorld::AnimatedBox(
        10, 20,
        [](uint32_t) {
            return Box3{0, 10, 0};
        },
        [](uint32_t) {
            return Box3{3, 10, 3};
        });
}

class HammerTest : public testing::Test {
protected:
    HammerTest() {
        world.AddModel("hammer/model", HammerModel());
        overlay = world.gui->CreateEmptyWindow(GUI_WINDOW_VISIBLE, nullptr);
    }
    ~HammerTest() override {
        hammer.reset();
        world.gui->DeleteWindow(overlay);
    }
    void Build(const std::vector<LevelBlock>& blocks) {
        world.BuildLevel(blocks);
        hammer =
            std::make_unique<Hammer>(world.audio.get(), world.keeper.get(), world.geometry.get(), overlay);
    }
    void Frame() {
        world.Frame(10, [&] { hammer->Update(1); });
    }
    // Frames until the swing has landed (a charge spent) or the time is up.
    void RunUntilLanded(int charges) {
        for (int i = 0; i < 100 && hammer->GetCharges() != charges - 1; ++i)
            Frame();
        ASSERT_EQ(hammer->GetCharges(), charges - 1);
    }
    bool Idle() const {
        const AnimationControl& a = *hammer->GetModel()->animationControl;
        return !a.playing;
    }
    // A vertical segment from high above the point down through the floor.
    static Ray Down(float x, float y) { return Ray(Vec3(x, y, 100), Vec3(0, 0, -200)); }

    PlayTestWorld world{"hammer"};
    GUIWindow* overlay = nullptr;
    std::unique_ptr<Hammer> hammer;
};

TEST_F(HammerTest, SixStrikesPerBonusAndClicksDuringASwingAreIgnored) {
    Build({PlayTestWorld::BlockAt("wall", 0, 0)});
    EXPECT_FALSE(hammer->IsVisible());
    EXPECT_EQ(hammer->GetModel()->sortDepth, overlay->GetDepth());
    EXPECT_FALSE(hammer->GetModel()->GetFlags() & ModelLit);
    hammer->AddCharges(0);
    EXPECT_FALSE(hammer->IsVisible());
    hammer->AddCharges(6);
    EXPECT_TRUE(hammer->IsVisible());
    world.TakePlayedSounds();

    for (int strike = 6; strike > 0; --strike) {
        SCOPED_TRACE(strike);
        hammer->Strike();
        EXPECT_EQ(world.TakePlayedSounds(), std::vector<int>{Hammer::SoundHammer});
        Frame();
        hammer->Strike(); // during the swing: nothing, and nothing queued
        EXPECT_TRUE(world.TakePlayedSounds().empty());
        RunUntilLanded(strike);
        EXPECT_EQ(hammer->GetModel()->animationControl->currentRangeId, uint32_t(Hammer::ClipBack));
        hammer->Strike(); // during the swing back: nothing either
        EXPECT_TRUE(world.TakePlayedSounds().empty());
        if (strike == 1) {
            // A second bonus during the last swing back: the hammer stays.
            Frame();
            hammer->AddCharges(6);
        }
        for (int i = 0; i < 40; ++i)
            Frame();
        EXPECT_TRUE(hammer->IsVisible());
        EXPECT_TRUE(Idle());
    }
    EXPECT_EQ(hammer->GetCharges(), 6);

    // Spending them all: the hammer goes only after the last swing back.
    for (int strike = 6; strike > 0; --strike) {
        hammer->Strike();
        RunUntilLanded(strike);
        EXPECT_TRUE(hammer->IsVisible());
        for (int i = 0; i < 40; ++i)
            Frame();
    }
    EXPECT_FALSE(hammer->IsVisible());
    EXPECT_EQ(hammer->GetModel()->animationControl->currentRangeId, uint32_t(Hammer::ClipSwing));
    EXPECT_EQ(hammer->GetModel()->animationControl->position, 0.0f);

    // A life lost mid-swing: no charges, hidden, ready for the next bonus.
    hammer->AddCharges(6);
    hammer->Strike();
    Frame();
    hammer->Reset();
    EXPECT_FALSE(hammer->IsVisible());
    EXPECT_EQ(hammer->GetCharges(), 0);
}

TEST_F(HammerTest, FollowsTheCursorLeaningUpTo45Degrees) {
    Build({});
    hammer->AddCharges(6);
    struct Case {
        float x, y, angle;
    };
    for (const Case& c :
         {Case{0, 100, -pi / 4}, Case{400, 300, 0}, Case{800, 500, pi / 4}, Case{600, 0, pi / 8}}) {
        SCOPED_TRACE(c.x);
        world.SetCursor(c.x, c.y);
        Frame();
        const Matrix4& m = hammer->GetModel()->transform;
        const Vec3 origin = m.MultiplyPoint(Vec3());
        EXPECT_NEAR(origin.x, c.x, 1e-4);
        EXPECT_NEAR(origin.y, c.y, 1e-4);
        EXPECT_NEAR(origin.z, Hammer::Height, 1e-4);
        const Vec3 side = m.MultiplyPoint(Vec3(1, 0, 0)) - origin;
        const Vec3 expected = Matrix4::RotationY(c.angle).MultiplyPoint(Vec3(1, 0, 0));
        EXPECT_NEAR(side.x, expected.x, 1e-4);
        EXPECT_NEAR(side.z, expected.z, 1e-4);
    }
    // A paused hammer stands still.
    hammer->SetPaused(true);
    world.SetCursor(100, 100);
    Frame();
    EXPECT_NEAR(hammer->GetModel()->transform.MultiplyPoint(Vec3()).x, 600, 1e-4);
}

TEST_F(HammerTest, StrikePicksTheNearestTriangleThenTheFirstBox) {
    // 0 and 1: a stack at (0, 0); 2: a block turned by 45 degrees at (20, 0), whose box corners hold no
    // triangle; 3: a block under that corner, lower down; 4: far away.
    const float half = std::sin(pi / 8);
    const float w = std::cos(pi / 8);
    LevelBlock turned = PlayTestWorld::BlockAt("simple", 20, 0, 5);
    turned.keyFrames[0].rotation = {0, 0, half, w};
    world.BuildLevel({PlayTestWorld::BlockAt("simple", 0, 0, 1), PlayTestWorld::BlockAt("simple", 0, 0, 3),
                      turned, PlayTestWorld::BlockAt("simple", 21.2f, 1.2f, 1),
                      PlayTestWorld::BlockAt("simple", 60, 60)},
                     [](VbFormats::LevelGeometry& level) {
                         level.blocks[1].below = {0};
                         level.blocks[0].above = {1};
                     });
    hammer = std::make_unique<Hammer>(world.audio.get(), world.keeper.get(), world.geometry.get(), overlay);
    const auto& blocks = world.geometry->GetBlocks();
    struct Case {
        const char* what;
        Ray segment;
        const Block* expected;
    };
    const Case cases[] = {
        {"the top of a stack", Down(0.5f, 0.5f), blocks[1]},
        {"a triangle below beats a box above", Down(21.2f, 1.2f), blocks[3]},
        {"only a box", Down(21.25f, -1.2f), blocks[2]},
        {"the turned block's own face", Down(20, 0), blocks[2]},
        {"nothing", Down(-40, 40), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(hammer->FindTarget(c.segment), c.expected);
    }
    // A dead block still takes the strike (and ignores it).
    blocks[1]->Hit(Block::HitSuper, false);
    EXPECT_EQ(hammer->FindTarget(Down(0.5f, 0.5f)), blocks[1]);
}

// The level's camera over a 4:3 video mode stretched to a 16:9 desktop in full screen: the GUI, and with it
// the cursor, fills only the middle of the window, while the field fills all of it.
class WideScreenHammerTest : public HammerTest {
protected:
    WideScreenHammerTest() {
        platform::sim::Reset();
        platform::sim::SetDesktopMode(1920, 1080);
        platform::sim::SetWorkArea({0, 0, 1920, 1080});
        window = std::make_unique<Window>("t", 0, 0, 1024, 768, true, true, Vec2i());
        Window::Instance(window.get());
        controls = std::make_unique<Controls>();
        Controls::Instance(controls.get());
        camera = std::make_unique<GameTools::GameCamera>();
        camera->SetFieldOfView(pi / 2);
        camera->SetNearPlane(70);
        camera->SetFarPlane(650);
        camera->startRotation = Quaternion(0.4939f, 0, 0, 0.8695f);
        camera->startPosition = Vec3(0, -140, 98);
        camera->ResetToStart();
        camera->Update();
        world.services.cameras->Update();
    }
    ~WideScreenHammerTest() override {
        camera.reset();
        controls.reset();
        window.reset();
        platform::sim::Reset();
    }
    // The system mouse on the window pixel (from the bottom left), then the GUI cursor follows it.
    void MouseAt(const Vec2& pixel) {
        int32_t x = int32_t(std::lround(pixel.x));
        int32_t y = int32_t(std::lround(float(window->height) - pixel.y));
        platform::ClientToScreen(window->handle, x, y);
        platform::SetCursorPos(x, y);
        world.gui->GetMainCursor()->UpdateFromMouse();
    }
    Vec2 PixelOf(const Block& block) const {
        const Vec3 top = block.GetModelBox().GetCentre() + Vec3(0, 0, block.GetModelBox().GetHalfSize().z);
        return world.services.cameras->Project(*world.services.camera, top);
    }

    std::unique_ptr<Window> window;
    std::unique_ptr<Controls> controls;
    std::unique_ptr<GameTools::GameCamera> camera;
};

TEST_F(WideScreenHammerTest, StrikesTheBlockUnderTheCursor) {
    ASSERT_TRUE(window->fullscreen);
    ASSERT_TRUE(window->wideDesktop);
    std::vector<LevelBlock> row;
    for (float x : {-60.0f, -30.0f, 0.0f, 30.0f, 60.0f})
        row.push_back(PlayTestWorld::BlockAt("wall", x, 40, 3, 3));
    Build(row);
    const auto& blocks = world.geometry->GetBlocks();
    for (size_t target : {size_t(4), size_t(0), size_t(3)}) {
        SCOPED_TRACE(target);
        MouseAt(PixelOf(*blocks[target]));
        const Vec2 cursor = world.gui->GetCursorPosition();
        // Scaled by the whole window instead, the point would land on another block or on none.
        const Vec2 plain(cursor.x / 800 * float(window->width), cursor.y / 600 * float(window->height));
        const CameraManager& cameras = *world.services.cameras;
        const Vec3 a = cameras.Unproject(*world.services.camera, Vec3(plain.x, plain.y, -1));
        const Vec3 b = cameras.Unproject(*world.services.camera, Vec3(plain.x, plain.y, 1));
        EXPECT_NE(hammer->FindTarget(Ray(a, b - a)), blocks[target]);

        std::vector<bool> alive;
        for (const Block* block : blocks)
            alive.push_back(block->IsAlive());
        alive[target] = false; // an unbreakable brick goes at once
        hammer->AddCharges(1);
        hammer->Strike();
        RunUntilLanded(1);
        for (size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i]->IsAlive(), alive[i]) << i;
        for (int i = 0; i < 40; ++i)
            Frame();
        EXPECT_FALSE(hammer->IsVisible());
    }
}

TEST(ScreenMappingTest, GuiAndPixelsMeetThroughTheMiddleOfAWideOrTallScreen) {
    VelmoraTest::PlayTestWorld world("mapping");
    struct Case {
        uint32_t desktopWidth, desktopHeight;
        bool fullScreen;
        Vec2 gui, pixel;
    };
    const Case cases[] = {
        // A window, or a 4:3 desktop: the whole client area.
        {1920, 1080, false, {0, 0}, {0, 0}},
        {1920, 1080, false, {800, 600}, {1024, 768}},
        {1600, 1200, true, {400, 150}, {512, 192}},
        // 16:9 in full screen: the GUI's 4:3 is the middle three quarters of the width.
        {1920, 1080, true, {0, 300}, {128, 384}},
        {1920, 1080, true, {800, 600}, {896, 768}},
        {1920, 1080, true, {400, 0}, {512, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desktopWidth << "x" << c.desktopHeight << " " << c.gui.x);
        platform::sim::Reset();
        platform::sim::SetDesktopMode(c.desktopWidth, c.desktopHeight);
        platform::sim::SetWorkArea({0, 0, int32_t(c.desktopWidth), int32_t(c.desktopHeight)});
        Window window("t", 0, 0, 1024, 768, c.fullScreen, true, Vec2i());
        Window::Instance(&window);
        const Vec2 pixel = ScreenMapping::GuiToPixel(c.gui);
        EXPECT_NEAR(pixel.x, c.pixel.x, 1e-3);
        EXPECT_NEAR(pixel.y, c.pixel.y, 1e-3);
        const Vec2 back = ScreenMapping::PixelToGui(pixel);
        EXPECT_NEAR(back.x, c.gui.x, 1e-3);
        EXPECT_NEAR(back.y, c.gui.y, 1e-3);
    }
    platform::sim::Reset();
}

class BarrierTest : public testing::Test {
protected:
    BarrierTest() {
        for (int i = 0; i < 2; ++i)
            world.AddModel("barrier/hardware_" + std::to_string(i),
                           PlayTestWorld::AnimatedBox(
                               5, 10,
                               [i](uint32_t) {
                                   return Box3{i == 0 ? -80.0f : 80.0f, -87, 2};
                               },
                               [](uint32_t) {
                                   return Box3{2, 2, 2};
                               }));
        // The rope stretches over its frames; its last frame's y extent is the collider.
        for (int i = 0; i < 3; ++i)
            world.AddModel("barrier/rope_" + std::to_string(i),
                           PlayTestWorld::AnimatedBox(
                               4, 10,
                               [](uint32_t) {
                                   return Box3{0, -87, 2};
                               },
                               [](uint32_t f) {
                                   return Box3{20.0f * float(f + 1), 0.5f * float(f + 1), 1};
                               }));
        barrier = std::make_unique<Barrier>(world.keeper.get(), world.effects.get(), world.audio.get());
    }
    ~BarrierTest() override { barrier.reset(); }
    bool RopeShown(int i) const { return barrier->GetRopeModels()[size_t(i)]->GetFlags() & ModelVisible; }

    PlayTestWorld world{"barrier"};
    std::unique_ptr<Barrier> barrier;
};

TEST_F(BarrierTest, UpToThreeSegmentsTheNewestGoesFirst) {
    EXPECT_EQ(barrier->GetSegmentCount(), 0);
    // Rope 0 at its last frame: y -89 .. -85, at every height.
    EXPECT_NEAR(barrier->GetBox().GetWorldMin().y, -89, 1e-4);
    EXPECT_NEAR(barrier->GetBox().GetWorldMax().y, -85, 1e-4);
    EXPECT_EQ(barrier->GetBox().GetWorldMin().z, -1000.0f);
    EXPECT_EQ(barrier->GetBox().GetWorldMax().z, 1000.0f);
    EXPECT_FALSE(RopeShown(0));

    // Segments 1 and 3 animate hardware 0, segment 2 hardware 1.
    const std::vector<int> hardware = {0, 1, 0};
    for (int segment = 0; segment < 3; ++segment) {
        for (Model* model : barrier->GetHardwareModels())
            model->animationControl->Stop();
        barrier->AddSegment();
        EXPECT_EQ(barrier->GetSegmentCount(), segment + 1);
        EXPECT_TRUE(RopeShown(segment));
        for (int h = 0; h < 2; ++h)
            EXPECT_EQ(barrier->GetHardwareModels()[size_t(h)]->animationControl->playing,
                      h == hardware[size_t(segment)]);
    }
    barrier->AddSegment(); // a fourth: nothing
    EXPECT_EQ(barrier->GetSegmentCount(), 3);

    barrier->Hit();
    EXPECT_EQ(barrier->GetSegmentCount(), 2);
    EXPECT_FALSE(RopeShown(2));
    EXPECT_TRUE(RopeShown(1));
    barrier->Hit();
    barrier->Hit();
    EXPECT_EQ(barrier->GetSegmentCount(), 0);
    EXPECT_FALSE(RopeShown(0));
    barrier->Hit(); // none left: nothing
    EXPECT_EQ(barrier->GetSegmentCount(), 0);

    // The hardware stays; the rope's shadow never shows.
    barrier->AddSegment();
    barrier->GetRopeShadow()->SetVisible(true);
    barrier->Update();
    EXPECT_FALSE(barrier->GetRopeShadow()->IsVisible());
    for (Model* model : barrier->GetHardwareModels())
        EXPECT_TRUE(model->GetFlags() & ModelVisible);
}

} // namespace
