// ctest-label: shell
// The game's cursor: the system cursor in use from the start whatever the settings held, nothing touched
// before the effects exist, the trail following 12 units right of and 18 below the hot spot, a click burst
// only while the trail is enabled, and the trail stopped by hiding and restarted by showing only when wanted.
#include "game/shell/GUIGameCursor.h"

#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "gametools/DataKeeper.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>

using namespace VelmoraBall;
using namespace OrvexEngine;

namespace {

class TestKeys final : public Controls {
public:
    void Click() { keysPressed["MOUSE1"] = keysDown["MOUSE1"] = true; }
};

class GUIGameCursorTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
        Window::Instance(window.get());
        Controls::Instance(&keys);
        gui = std::make_unique<VelmoraTest::TestGuiManager>();
        keeper = std::make_unique<GameTools::DataKeeper>("en");
        keeper->AddParticleSystem("ui/cursor_train", services.particles->NewParticleSystem(nullptr));
        keeper->AddParticleSystem("ui/cursor_click", services.particles->NewParticleSystem(nullptr));
    }
    void TearDown() override {
        keeper.reset();
        gui.reset();
        window.reset();
        platform::sim::Reset();
    }
    void Frame(GUIGameCursor& cursor) {
        services.config.Update();
        cursor.Update();
        services.config.ClearChangedFlags();
        keys.ResetFrame();
    }

    VelmoraTest::GuiServices services;
    std::unique_ptr<Window> window;
    TestKeys keys;
    std::unique_ptr<VelmoraTest::TestGuiManager> gui;
    std::unique_ptr<GameTools::DataKeeper> keeper;
};

} // namespace

TEST_F(GUIGameCursorTest, StartsHiddenOnTheSystemCursorWhateverTheSettingsHeld) {
    {
        // A setting of 1 left by an earlier session, as the settings file would give it.
        GameFramework::GUIGameCursorBase earlier;
        services.config.SetValue("ui_custom_cursor", "1");
    }
    window->cursor = 0;
    GUIGameCursor cursor;
    EXPECT_FALSE(cursor.IsCustomInUse());
    EXPECT_EQ(services.config.GetValueText("ui_custom_cursor"), "0");
    EXPECT_EQ(cursor.GetCursorType(), GUIGameCursor::CursorType);
    EXPECT_NE(window->cursor, 0u) << "the type's system cursor is the window's";
    EXPECT_FALSE(cursor.IsVisible());
    EXPECT_EQ(gui->GetCursors().GetCount(), 2) << "the GUI's own cursor and the custom one";

    // Before the effects exist only the wishes are kept.
    cursor.SetTrailVisible(false);
    cursor.SetVisible(true);
    gui->GetMainCursor()->position = Vec2(100, 200);
    keys.Click();
    Frame(cursor);
    EXPECT_EQ(cursor.GetTrail(), nullptr);
    EXPECT_FALSE(cursor.IsTrailEnabled());
    EXPECT_TRUE(keys.IsCursorVisible());

    // A change of the setting while shown turns to the custom cursor.
    services.config.SetValue("ui_custom_cursor", "1");
    Frame(cursor);
    EXPECT_TRUE(cursor.IsCustomInUse());
    EXPECT_FALSE(keys.IsCursorVisible());
}

TEST_F(GUIGameCursorTest, TheTrailFollowsTheCursorAndClicksBurstOnlyWhileItIsEnabled) {
    GUIGameCursor cursor;
    cursor.CreateEffects(keeper.get());
    ParticleSystem* trail = cursor.GetTrail();
    ParticleSystem* click = cursor.GetClickEffect();
    ASSERT_NE(trail, nullptr);
    ASSERT_NE(click, nullptr);
    EXPECT_NE(trail, keeper->GetParticleSystem("ui/cursor_train")) << "a registered copy, not the keeper's";
    for (ParticleSystem* effect : {trail, click}) {
        EXPECT_EQ(effect->GetModel()->GetCamera(), gui->GetCamera());
        EXPECT_NE(effect->GetModel()->GetFlags() & ModelFixedSortDepth, 0u);
        EXPECT_EQ(effect->GetModel()->sortDepth, -21.0f);
    }
    EXPECT_TRUE(trail->looping);
    EXPECT_FALSE(click->looping);
    EXPECT_TRUE(trail->active) << "the trail is wanted from the start";
    EXPECT_FALSE(click->active);

    cursor.SetVisible(true);
    gui->GetMainCursor()->position = Vec2(100, 200);
    click->emitterTime = 0.3f;
    keys.Click();
    Frame(cursor);
    EXPECT_EQ(trail->emitterPosition, Vec3(112, 182, 0));
    EXPECT_EQ(click->emitterPosition, Vec3(100, 200, 0));
    EXPECT_EQ(click->emitterTime, 0.0f);
    EXPECT_TRUE(click->active);

    // In play: no trail, and a click makes no burst.
    click->active = false;
    cursor.SetTrailVisible(false);
    EXPECT_FALSE(trail->active);
    gui->GetMainCursor()->position = Vec2(300, 300);
    keys.Click();
    Frame(cursor);
    EXPECT_FALSE(click->active);
    EXPECT_EQ(trail->emitterPosition, Vec3(112, 182, 0));

    // Showing does not restart an unwanted trail; hiding always stops it.
    cursor.SetVisible(false);
    cursor.SetVisible(true);
    EXPECT_FALSE(trail->active);
    cursor.SetTrailVisible(true);
    EXPECT_TRUE(trail->active);
    cursor.SetVisible(false);
    EXPECT_FALSE(trail->active);
    cursor.SetVisible(true);
    EXPECT_TRUE(trail->active);
}
