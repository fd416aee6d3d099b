// ctest-label: gui
// 2D sprites: exactly the element of the current frame is visible after an update, the frames follow the
// animation on the frame time, a sprite without frames and an empty manager do nothing, and deleting a
// sprite (or the manager) gives every element back to the GUI manager and leaves the manager's table.
#include "gametools/SpriteManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/Sprite2D.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace OrvexEngine;
using GameTools::Sprite2D;
using GameTools::SpriteManager;

namespace {

class SpriteManagerTest : public testing::Test {
protected:
    SpriteManagerTest() { SpriteManager::Instance(sprites.get()); }
    ~SpriteManagerTest() override {
        sprites.reset();
        manager.reset();
    }
    Sprite2D* MakeSprite(size_t frameCount, float speed) {
        std::vector<const ShaderDescriptor*> looks(frameCount, &quad);
        return sprites->CreateSprite(Vec2(100, 50), Vec2(32, 32), looks, speed);
    }
    // Which frame elements are visible.
    static std::vector<bool> Shown(const Sprite2D* sprite) {
        std::vector<bool> shown;
        for (const GUIWindow* frame : sprite->GetFrames())
            shown.push_back(frame->visible);
        return shown;
    }

    VelmoraTest::GuiServices gui;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager = std::make_unique<VelmoraTest::TestGuiManager>();
    std::unique_ptr<SpriteManager> sprites = std::make_unique<SpriteManager>();
    ShaderDescriptor quad;
};

} // namespace

TEST_F(SpriteManagerTest, OnlyTheCurrentFrameIsVisible) {
    Sprite2D* sprite = MakeSprite(3, 0);
    ASSERT_EQ(sprite->GetFrames().size(), 3u);
    EXPECT_EQ(sprite->GetAnimation()->frameCount, 3u);
    for (const GUIWindow* frame : sprite->GetFrames()) {
        EXPECT_EQ(frame->GetParent(), sprite->GetContainer());
        EXPECT_EQ(frame->size, Vec2(32, 32));
    }
    EXPECT_EQ(sprite->GetContainer()->position, Vec2(100, 50));
    // The first and third were visible before; with the animation at frame 1 only the second stays.
    sprite->GetFrames()[0]->SetFlags(GUI_WINDOW_VISIBLE);
    sprite->GetFrames()[2]->SetFlags(GUI_WINDOW_VISIBLE);
    sprite->GetAnimation()->position = 1;
    sprites->Update();
    EXPECT_EQ(Shown(sprite), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(sprite->GetAnimation()->currentFrame, 1u);
}

TEST_F(SpriteManagerTest, FramesFollowTheAnimationOnTheFrameTime) {
    Sprite2D* sprite = MakeSprite(3, 10); // ten frames a second, looping
    gui.timers.frameTime = 0.1f;
    const std::vector<std::vector<bool>> expected = {
        {false, true, false}, {false, false, true}, {true, false, false}, {false, true, false}};
    for (size_t i = 0; i < expected.size(); ++i) {
        sprites->Update();
        EXPECT_EQ(Shown(sprite), expected[i]) << "update " << i;
    }
}

TEST_F(SpriteManagerTest, SpritesWithoutFramesAndEmptyManagersDoNothing) {
    sprites->Update(); // empty
    Sprite2D* bare = MakeSprite(0, 10);
    EXPECT_EQ(bare->GetAnimation(), nullptr);
    EXPECT_TRUE(bare->GetFrames().empty());
    const uint32_t flags = bare->GetContainer()->GetFlags();
    sprites->Update();
    EXPECT_EQ(bare->GetContainer()->GetFlags(), flags);
}

TEST_F(SpriteManagerTest, DeletingGivesTheElementsBackAndLeavesTheTable) {
    const int windowsBefore = manager->GetWindows().GetCount();
    Sprite2D* first = MakeSprite(2, 0);
    Sprite2D* second = MakeSprite(3, 0);
    MakeSprite(1, 0);
    EXPECT_EQ(manager->GetWindows().GetCount(), windowsBefore + 3 + 4 + 2);
    EXPECT_EQ(sprites->GetSprites().GetCount(), 3);
    delete first;
    EXPECT_EQ(sprites->GetSprites().GetCount(), 2);
    EXPECT_EQ(manager->GetWindows().GetCount(), windowsBefore + 4 + 2);
    // RemoveSprite only forgets: the sprite is still whole and deleted by its owner.
    sprites->RemoveSprite(second);
    EXPECT_EQ(sprites->GetSprites().GetCount(), 1);
    sprites->Update();
    delete second;
    // The manager deletes the one left; every element goes back (the sanitizers see no double delete).
    sprites.reset();
    EXPECT_EQ(manager->GetWindows().GetCount(), windowsBefore);
}
