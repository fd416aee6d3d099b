// ctest-label: gui
// The GUI manager: the border windows on desktops that are not 4:3 (geometry, black, hidden in a window,
// kept in front of everything), the 4 x 3 virtual screen before the game sets its own, every element
// reached through its own pool and only there, freed slots reused, and the input step handing the same
// cursor and "MOUSE1" state to every element.
#include "engine/gui/GUIManager.h"
#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/Model.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>

using namespace OrvexEngine;

namespace {

// Mouse buttons set by the test instead of read from a device.
class TestMouse final : public Controls {
public:
    void SetPrimary(bool down, bool pressed) {
        keysDown["MOUSE1"] = down;
        keysPressed["MOUSE1"] = pressed;
    }
};

class GUIManagerTest : public testing::Test {
protected:
    void TearDown() override {
        manager.reset();
        mouse.reset();
        window.reset();
        platform::sim::Reset();
    }
    // An 800 x 600 client area on a desktop of the given size, then the manager.
    void Build(uint32_t desktopWidth, uint32_t desktopHeight) {
        TearDown();
        platform::sim::SetDesktopMode(desktopWidth, desktopHeight);
        platform::sim::SetWorkArea({0, 0, int32_t(desktopWidth), int32_t(desktopHeight)});
        window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
        Window::Instance(window.get());
        mouse = std::make_unique<TestMouse>();
        Controls::Instance(mouse.get());
        manager = std::make_unique<VelmoraTest::TestGuiManager>();
    }

    VelmoraTest::GuiServices gui;
    std::unique_ptr<Window> window;
    std::unique_ptr<TestMouse> mouse;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager;
};

void ExpectRect(const GUIWindow* w, Vec2 position, Vec2 size) {
    EXPECT_NEAR(w->position.x, position.x, 1e-3f);
    EXPECT_NEAR(w->position.y, position.y, 1e-3f);
    EXPECT_NEAR(w->size.x, size.x, 1e-3f);
    EXPECT_NEAR(w->size.y, size.y, 1e-3f);
}

} // namespace

TEST_F(GUIManagerTest, BorderWindowsCoverTheStripsOutsideTheFourThirdsArea) {
    const struct {
        const char* name;
        uint32_t width, height;
        bool borders;
        Vec2 position0, position1, size; // for the 800 x 600 screen
    } cases[] = {
        {"4:3", 1024, 768, false, {}, {}, {}},
        {"aspect 1.33, inside the 4:3 band", 1330, 1000, false, {}, {}, {}},
        {"16:9", 1920, 1080, true, {-134.33333f, 0}, {800, 0}, {134.33333f, 600}},
        {"16:10", 1680, 1050, true, {-81, 0}, {800, 0}, {81, 600}},
        {"5:4", 1280, 1024, true, {0, -19.75f}, {0, 600}, {800, 19.75f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Build(c.width, c.height);
        const auto& borders = manager->GetBorderWindows();
        ASSERT_EQ(borders.size(), c.borders ? 2u : 0u);
        if (!c.borders) {
            EXPECT_EQ(manager->GetWindows().GetCount(), 0);
            continue;
        }
        EXPECT_EQ(manager->GetWindows().GetCount(), 2) << "the borders live in the window pool";
        ExpectRect(borders[0], c.position0, c.size);
        ExpectRect(borders[1], c.position1, c.size);
        for (const GUIWindow* border : borders) {
            EXPECT_EQ(border->GetColor(), Vec4(0, 0, 0, 1));
            ASSERT_NE(border->GetModel(), nullptr);
        }

        // Hidden in a window, shown in full screen, and always drawn in front of every layer.
        manager->Update();
        EXPECT_FALSE(borders[0]->visible);
        window->fullscreen = true;
        manager->Update();
        for (const GUIWindow* border : borders) {
            EXPECT_TRUE(border->visible);
            EXPECT_TRUE(border->GetModel()->GetFlags() & ModelVisible);
            EXPECT_FLOAT_EQ(border->GetModel()->sortDepth, GUIManager::borderDepth);
        }
        window->fullscreen = false;
        manager->Update();
        EXPECT_FALSE(borders[1]->visible);

        // A later virtual size moves them along.
        manager->SetScreenSize(4, 3);
        EXPECT_NEAR(borders[1]->position.x + borders[1]->position.y, c.position1.x > 0 ? 4 : 3, 1e-5f);
    }
}

TEST_F(GUIManagerTest, TheVirtualScreenIsFourByThreeUntilTheGameSetsIt) {
    Build(1024, 768);
    GUIManager plain; // not yet told the game's size
    EXPECT_FLOAT_EQ(plain.GetScreenWidth(), 4);
    EXPECT_FLOAT_EQ(plain.GetScreenHeight(), 3);
    EXPECT_FLOAT_EQ(plain.GetCamera()->nearPlane, 500);
    EXPECT_FLOAT_EQ(plain.GetCamera()->farPlane, -500);
    EXPECT_NE(plain.GetCamera()->projectionKind, 0);
    ASSERT_NE(plain.GetMainCursor(), nullptr);
    EXPECT_FALSE(plain.GetMainCursor()->visible);
    EXPECT_EQ(plain.GetMainCursor()->GetModel(), nullptr);
    EXPECT_EQ(plain.GetCursors().GetCount(), 1);
    plain.SetScreenSize(800, 600);
    EXPECT_FLOAT_EQ(plain.GetScreenWidth(), 800);
    EXPECT_FLOAT_EQ(plain.GetScreenHeight(), 600);
}

TEST_F(GUIManagerTest, EachElementLivesInItsOwnPoolAndOnlyItsDeleterRemovesIt) {
    Build(1024, 768);
    GUIManager& m = *manager;
    const ShaderDescriptor quad;
    GUIWindow* window0 = m.CreateWindow(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, &quad, nullptr);
    GUIWindow* empty = m.CreateEmptyWindow(0x1, window0);
    GUIButton* button = m.CreateButton(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, nullptr);
    GUICheckBox* box = m.CreateCheckBox(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, nullptr);
    GUIEditBox* edit = m.CreateEditBox(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, -1, Vec4(1, 1, 1, 1),
                                       Vec2(0, 0), 10, 100, 100, L'_', nullptr);
    GUISlider* slider = m.CreateSlider(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, 0, Vec2(0, 0),
                                       Vec2(8, 0), 3, nullptr);
    GUIScroll* scroll = m.CreateScroll(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, 1, Vec2(0, 0),
                                       Vec2(0, 8), 3, nullptr);
    EXPECT_EQ(empty->GetModel(), nullptr);
    EXPECT_EQ(empty->GetParent(), window0);
    EXPECT_EQ(empty->size, Vec2(0, 0));
    EXPECT_EQ(m.GetWindows().GetCount(), 2);
    EXPECT_EQ(m.GetButtons().GetObjects(), std::vector<GUIButton*>{button});
    EXPECT_EQ(m.GetCheckBoxes().GetObjects(), std::vector<GUICheckBox*>{box});
    EXPECT_EQ(m.GetEditBoxes().GetObjects(), std::vector<GUIEditBox*>{edit});
    EXPECT_EQ(m.GetSliders().GetObjects(), std::vector<GUISlider*>{slider});
    EXPECT_EQ(m.GetScrolls().GetObjects(), std::vector<GUIScroll*>{scroll});
    EXPECT_EQ(button->soundManager, m.GetSoundManager());

    // A deleter given an element of another pool, or null, leaves everything as it is.
    m.DeleteButton(box);
    m.DeleteWindow(button);
    m.DeleteSlider(scroll);
    m.DeleteButton(nullptr);
    m.DeleteCursor(nullptr);
    EXPECT_EQ(m.GetButtons().GetCount(), 1);
    EXPECT_EQ(m.GetCheckBoxes().GetCount(), 1);
    EXPECT_EQ(m.GetScrolls().GetCount(), 1);
    EXPECT_EQ(m.GetWindows().GetCount(), 2);

    // Every element sees the same cursor: all of them lie under it.
    m.UpdateElements(Vec2(5, 5), false, false);
    for (const GUIWindow* w : std::vector<const GUIWindow*>{window0, button, box, edit, slider, scroll})
        EXPECT_TRUE(w->mouseOver);

    m.DeleteCheckBox(box);
    m.DeleteSlider(slider);
    m.DeleteScroll(scroll);
    m.DeleteEditBox(edit);
    EXPECT_EQ(m.GetCheckBoxes().GetCount(), 0);
    EXPECT_EQ(m.GetSliders().GetCount(), 0);
    EXPECT_EQ(m.GetScrolls().GetCount(), 0);
    EXPECT_EQ(m.GetEditBoxes().GetCount(), 0);

    // A freed slot is taken by the next element, so the walk order is the slot order.
    GUIButton* second = m.CreateButton(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, nullptr);
    GUIButton* third = m.CreateButton(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, nullptr);
    m.DeleteButton(button);
    GUIButton* fourth = m.CreateButton(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, nullptr, nullptr);
    EXPECT_EQ(m.GetButtons().GetObjects(), (std::vector<GUIButton*>{fourth, second, third}));
    // The rest is deleted with the manager (under the sanitizers, nothing leaks).
}

TEST_F(GUIManagerTest, InputStepGivesEveryElementTheMouseAndOverlappingButtonsBothClick) {
    Build(1024, 768);
    GUIButton* a = manager->CreateButton(0x1, Vec2(100, 100), Vec2(100, 50), nullptr, nullptr, nullptr);
    GUIButton* b = manager->CreateButton(0x1, Vec2(150, 120), Vec2(100, 50), nullptr, nullptr, nullptr);
    GUIWindow* hidden = manager->CreateWindow(0x0, Vec2(0, 0), Vec2(800, 600));
    // Client pixel (175, 459) is GUI point (175, 140) on the 800 x 600 client area: inside both.
    mouse->SetMousePosition(Vec2(175, 459));
    mouse->SetPrimary(true, true);
    manager->Update();
    EXPECT_EQ(manager->GetCursorPosition(), Vec2(175, 140));
    EXPECT_TRUE(a->captured);
    EXPECT_TRUE(b->captured);
    EXPECT_FALSE(hidden->mouseOver);
    mouse->SetPrimary(false, false);
    manager->Update();
    EXPECT_TRUE(a->clicked);
    EXPECT_TRUE(b->clicked);

    // A locked input gives no button state: a press is not seen.
    mouse->LockInput();
    mouse->SetPrimary(true, true);
    manager->Update();
    EXPECT_FALSE(a->captured);
}
