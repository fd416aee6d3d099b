// ctest-label: framework
// The framework's cursor: one type after another (an unknown type changes only the number), the kind in
// use switched by "ui_custom_cursor" only while the cursor is shown, the system cursor used while no type
// is current, and custom cursors owned by the cursor object (a second one for the same type included).
#include "framework/GUIGameCursorBase.h"

#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>

using namespace GameFramework;
using namespace OrvexEngine;

namespace {

class PlainControls final : public Controls {};

class GUIGameCursorBaseTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        window = std::make_unique<Window>("t", 0, 0, 800, 600, false, true, Vec2i());
        Window::Instance(window.get());
        Controls::Instance(&controls);
        gui = std::make_unique<VelmoraTest::TestGuiManager>();
        baseCursors = gui->GetCursors().GetCount();
    }
    void TearDown() override {
        gui.reset();
        window.reset();
        platform::sim::Reset();
    }
    GUICursor* NewCustom() { return gui->CreateCursor(nullptr, nullptr, 32); }
    // The engine's frame around the cursor's update: change tracking first, changed flags cleared last.
    void Frame(GUIGameCursorBase& cursor) {
        services.config.Update();
        cursor.Update();
        services.config.ClearChangedFlags();
    }

    VelmoraTest::GuiServices services;
    std::unique_ptr<Window> window;
    PlainControls controls;
    std::unique_ptr<VelmoraTest::TestGuiManager> gui;
    int baseCursors = 0;
};

} // namespace

TEST_F(GUIGameCursorBaseTest, StartsHiddenWithoutATypeAndKeepsItsSettingAcrossInstances) {
    {
        GUIGameCursorBase cursor;
        EXPECT_EQ(cursor.GetCursorType(), -1);
        EXPECT_TRUE(cursor.IsCustomInUse());
        EXPECT_FALSE(controls.IsCursorVisible());
        EXPECT_FALSE(cursor.IsVisible());
        EXPECT_EQ(services.config.GetValueText("ui_custom_cursor"), "1");

        // Custom in use but no current entry: the system cursor is what shows and hides.
        cursor.SetVisible(true);
        EXPECT_TRUE(controls.IsCursorVisible());
        EXPECT_TRUE(cursor.IsVisible());
        services.config.SetValue("ui_custom_cursor", "0");
    }
    // The setting outlives the object that registered it and is taken up by the next one.
    EXPECT_EQ(services.config.GetValueText("ui_custom_cursor"), "0");
    GUIGameCursorBase again;
    EXPECT_FALSE(again.IsCustomInUse());
}

TEST_F(GUIGameCursorBaseTest, SwitchingTypesSwapsTheShownCustomCursorAndSetsTheSystemCursorOnce) {
    GUIGameCursorBase cursor;
    GUICursor* arrow = NewCustom();
    GUICursor* hand = NewCustom();
    arrow->visible = hand->visible = true;
    cursor.AddSystemCursor(1, 1000, arrow);
    cursor.AddSystemCursor(2, 1000, hand);
    EXPECT_FALSE(arrow->visible); // added hidden
    EXPECT_FALSE(hand->visible);

    window->cursor = 0;
    cursor.SetCursorType(1);
    EXPECT_NE(window->cursor, 0u) << "the type's system cursor becomes the window's";
    cursor.SetVisible(true);
    EXPECT_TRUE(arrow->visible);
    EXPECT_FALSE(controls.IsCursorVisible()) << "the system cursor is not touched while custom is in use";

    cursor.SetCursorType(2);
    EXPECT_FALSE(arrow->visible);
    EXPECT_TRUE(hand->visible);

    // The current type again: nothing, not even the system cursor re-applied.
    window->cursor = 0;
    cursor.SetCursorType(2);
    EXPECT_EQ(window->cursor, 0u);

    // A type never added: only the number changes.
    cursor.SetCursorType(7);
    EXPECT_EQ(cursor.GetCursorType(), 7);
    EXPECT_EQ(window->cursor, 0u);
    EXPECT_TRUE(hand->visible);
    EXPECT_TRUE(cursor.IsVisible());

    // A hidden cursor stays hidden across a switch.
    cursor.SetVisible(false);
    cursor.SetCursorType(1);
    EXPECT_FALSE(arrow->visible);
    EXPECT_FALSE(hand->visible);
}

TEST_F(GUIGameCursorBaseTest, TheKindFollowsTheSettingOnlyWhileTheCursorIsShown) {
    GUIGameCursorBase cursor;
    GUICursor* custom = NewCustom();
    cursor.AddSystemCursor(1, 1000, custom);
    cursor.SetCursorType(1);
    cursor.SetVisible(true);
    Frame(cursor);
    ASSERT_TRUE(custom->visible);

    // Shown: the change is taken over in its frame, the custom cursor swapped for the system one.
    services.config.SetValue("ui_custom_cursor", "0");
    Frame(cursor);
    EXPECT_FALSE(cursor.IsCustomInUse());
    EXPECT_FALSE(custom->visible);
    EXPECT_TRUE(controls.IsCursorVisible());

    // Hidden: the change is missed and the old kind stays, also after showing again.
    cursor.SetVisible(false);
    services.config.SetValue("ui_custom_cursor", "1");
    Frame(cursor);
    cursor.SetVisible(true);
    Frame(cursor);
    EXPECT_FALSE(cursor.IsCustomInUse());
    EXPECT_TRUE(controls.IsCursorVisible());
    EXPECT_FALSE(custom->visible);

    // The next change made while shown is taken over.
    services.config.SetValue("ui_custom_cursor", "0");
    Frame(cursor);
    services.config.SetValue("ui_custom_cursor", "1");
    Frame(cursor);
    EXPECT_TRUE(cursor.IsCustomInUse());
    EXPECT_TRUE(custom->visible);
    EXPECT_FALSE(controls.IsCursorVisible());
}

TEST_F(GUIGameCursorBaseTest, CustomCursorsAreDeletedWithTheCursorObjectAndASecondOneForATypeAtOnce) {
    {
        GUIGameCursorBase cursor;
        GUICursor* first = NewCustom();
        cursor.AddSystemCursor(1, 1000, first);
        cursor.AddSystemCursor(1, 1001, NewCustom());
        EXPECT_EQ(gui->GetCursors().GetCount(), baseCursors + 1);
        // Adding the entry's own cursor again must not delete it.
        cursor.AddSystemCursor(1, 1000, first);
        EXPECT_EQ(gui->GetCursors().GetCount(), baseCursors + 1);
        cursor.AddSystemCursor(2, 1000, NewCustom());
        cursor.AddSystemCursor(3, 1000, nullptr);
        EXPECT_EQ(gui->GetCursors().GetCount(), baseCursors + 2);

        cursor.SetCursorType(1);
        cursor.SetVisible(true);
        EXPECT_TRUE(first->visible);
    }
    EXPECT_EQ(gui->GetCursors().GetCount(), baseCursors);
}
