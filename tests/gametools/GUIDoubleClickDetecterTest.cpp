// ctest-label: gametools
// Double clicks on registered GUI elements, frame by frame on the fake clock: the 0.6 s window counted from
// the first press (strictly), attempts that move to another element or end on a press beside every element,
// hidden elements, the element left named after a double click, and removing the element of an attempt.
#include "gametools/GUIDoubleClickDetecter.h"

#include "engine/core/Controls.h"
#include "engine/gui/GUIWindow.h"
#include "platform/win/Time.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace GameTools;
using OrvexEngine::GUIWindow;
using OrvexEngine::Vec2;

namespace {

// The input of one frame: the left button's state, set by the test.
class FakeControls : public OrvexEngine::Controls {
public:
    void SetButton(bool down, bool pressed) {
        keysDown["MOUSE1"] = down;
        keysPressed["MOUSE1"] = pressed;
    }
};

// The fake clock must stand before the timer manager reads it.
struct FakeClock {
    FakeClock() { platform::InstallFakeClock(); }
    ~FakeClock() { platform::RemoveFakeClock(); }
};

enum class Button { Press, Hold, Release };
enum class Where { A, B, Hidden, Nowhere };

struct Step {
    uint32_t ms; // frame-clock time of the frame, from the scenario's start
    Button button;
    Where where;
    bool doubleClicked; // expected after the update
};

class GUIDoubleClickDetecterTest : public testing::Test {
protected:
    GUIDoubleClickDetecterTest() {
        OrvexEngine::Controls::Instance(&controls);
        a = manager.CreateWindow(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, &material);
        b = manager.CreateWindow(0x1, Vec2(20, 0), Vec2(10, 10), nullptr, &material);
        hidden = manager.CreateWindow(0x0, Vec2(40, 0), Vec2(10, 10), nullptr, &material);
        detecter.AddElement(a);
        detecter.AddElement(b);
        detecter.AddElement(hidden);
        // Scenarios start well after the clock's zero.
        platform::AdvanceFakeClockMilliseconds(1000);
    }

    GUIWindow* Element(Where where) const {
        return where == Where::A ? a : where == Where::B ? b : where == Where::Hidden ? hidden : nullptr;
    }

    // One frame at `ms` after the scenario's start: the GUI input step, then the detecter.
    void Frame(const Step& step) {
        const uint32_t target = base + step.ms;
        platform::AdvanceFakeClockMilliseconds(target - now);
        now = target;
        static const Vec2 cursors[] = {Vec2(5, 5), Vec2(25, 5), Vec2(45, 5), Vec2(100, 100)};
        manager.UpdateElements(cursors[int(step.where)], false, false);
        // A hidden element under the cursor: its flag set as if the GUI had missed it.
        hidden->mouseOver = step.where == Where::Hidden;
        controls.SetButton(step.button != Button::Release, step.button == Button::Press);
        active->Update();
    }
    void Run(const std::vector<Step>& steps, const std::string& name) {
        for (const Step& step : steps) {
            Frame(step);
            EXPECT_EQ(active->doubleClicked, step.doubleClicked) << name << " at " << step.ms << " ms";
        }
    }

    FakeClock clock;
    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    OrvexEngine::ShaderDescriptor material;
    FakeControls controls;
    GUIDoubleClickDetecter detecter;
    GUIDoubleClickDetecter* active = &detecter; // the one Frame drives
    GUIWindow* a = nullptr;
    GUIWindow* b = nullptr;
    GUIWindow* hidden = nullptr;
    uint32_t now = 1000;  // the fake clock's milliseconds
    uint32_t base = 1000; // the clock at the scenario's start
};

TEST_F(GUIDoubleClickDetecterTest, Scenarios) {
    using B = Button;
    using W = Where;
    const struct {
        const char* name;
        std::vector<Step> steps;
        uint32_t phase; // after the last step
        Where element;
    } scenarios[] = {
        {"second release at 0.5 s",
         {{0, B::Press, W::A, false},
          {100, B::Hold, W::A, false},
          {200, B::Release, W::A, false},
          {300, B::Press, W::A, false},
          {500, B::Release, W::A, true},
          {520, B::Release, W::A, false}},
         0,
         W::A},
        {"second release at 0.599 s",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::A, false},
          {300, B::Press, W::A, false},
          {599, B::Release, W::A, true}},
         0,
         W::A},
        {"second release at 0.601 s is too late",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::A, false},
          {300, B::Press, W::A, false},
          {601, B::Release, W::A, false}},
         2,
         W::A},
        {"too late, then a press starts a new attempt",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::A, false},
          {400, B::Press, W::A, false},
          {650, B::Release, W::A, false},
          {700, B::Press, W::A, false},
          {800, B::Release, W::A, false},
          {900, B::Press, W::A, false},
          {1000, B::Release, W::A, true}},
         0,
         W::A},
        {"a press on B moves the attempt there",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::A, false},
          {200, B::Press, W::B, false},
          {300, B::Release, W::B, false},
          {500, B::Press, W::B, false},
          {700, B::Release, W::B, true}},
         0,
         W::B},
        {"second press on B completes nothing",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::A, false},
          {200, B::Press, W::B, false},
          {300, B::Release, W::B, false}},
         2,
         W::B},
        {"a press beside every element ends the attempt",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::A, false},
          {200, B::Press, W::Nowhere, false},
          {300, B::Release, W::Nowhere, false},
          {400, B::Press, W::A, false},
          {500, B::Release, W::A, false}},
         2,
         W::A},
        {"a hidden element is never hit",
         {{0, B::Press, W::Hidden, false},
          {100, B::Release, W::Hidden, false},
          {200, B::Press, W::Hidden, false},
          {300, B::Release, W::Hidden, false}},
         0,
         W::Nowhere},
        {"moving off the element between the clicks does not matter",
         {{0, B::Press, W::A, false},
          {100, B::Release, W::Nowhere, false},
          {200, B::Press, W::A, false},
          {300, B::Release, W::B, true}},
         0,
         W::A},
    };
    for (const auto& scenario : scenarios) {
        GUIDoubleClickDetecter fresh;
        fresh.AddElement(a);
        fresh.AddElement(b);
        fresh.AddElement(hidden);
        active = &fresh;
        base = now + 5000; // far from the previous scenario
        Run(scenario.steps, scenario.name);
        EXPECT_EQ(fresh.GetPhase(), scenario.phase) << scenario.name;
        EXPECT_EQ(fresh.element, Element(scenario.element)) << scenario.name;
        active = &detecter;
    }
}

TEST_F(GUIDoubleClickDetecterTest, ASecondReleaseExactlyAtTheWindowsEndIsTooLate) {
    // 1.0 s and 1.6 s on the frame clock: their float difference is exactly 0.6.
    Run({{0, Button::Press, Where::A, false},
         {100, Button::Release, Where::A, false},
         {300, Button::Press, Where::A, false},
         {600, Button::Release, Where::A, false}},
        "at 0.6 s");
    EXPECT_EQ(detecter.GetPhase(), 2u);
}

TEST_F(GUIDoubleClickDetecterTest, APressBesideEveryElementWithoutAnAttemptKeepsTheLastElement) {
    Run({{0, Button::Press, Where::B, false},
         {50, Button::Release, Where::B, false},
         {100, Button::Press, Where::B, false},
         {150, Button::Release, Where::B, true}},
        "double click on B");
    // The owner compares the element after the flag; it stays named until another attempt starts.
    Run({{2000, Button::Press, Where::Nowhere, false}, {2100, Button::Release, Where::Nowhere, false}},
        "press beside");
    EXPECT_EQ(detecter.element, b);
    EXPECT_EQ(detecter.GetPhase(), 0u);
    EXPECT_FLOAT_EQ(detecter.GetFirstClickTime(), -1);
}

TEST_F(GUIDoubleClickDetecterTest, RemovingTheAttemptsElementEndsTheAttempt) {
    detecter.RemoveElement(nullptr); // ignored

    // An element removed and registered again (as a new element at a freed address would be) starts afresh:
    // its first click cannot complete a double click begun before.
    Run({{0, Button::Press, Where::A, false}, {100, Button::Release, Where::A, false}}, "first click");
    EXPECT_EQ(detecter.GetPhase(), 2u);
    detecter.RemoveElement(a);
    EXPECT_EQ(detecter.element, a); // left named for the owner's comparison
    detecter.AddElement(a);
    Run({{200, Button::Press, Where::A, false}, {300, Button::Release, Where::A, false}}, "after re-adding");
    EXPECT_EQ(detecter.GetPhase(), 2u);
    Run({{400, Button::Press, Where::A, false}, {500, Button::Release, Where::A, true}}, "second click");

    // Removing another element leaves the attempt running.
    Run({{2000, Button::Press, Where::A, false}, {2100, Button::Release, Where::A, false}}, "first on A");
    detecter.RemoveElement(b);
    Run({{2200, Button::Press, Where::A, false}, {2300, Button::Release, Where::A, true}}, "second on A");

    // Only the first of repeated entries goes; a removed element is no longer hit.
    detecter.AddElement(b);
    detecter.AddElement(b);
    detecter.RemoveElement(b);
    Run({{4000, Button::Press, Where::B, false}}, "b still registered");
    EXPECT_EQ(detecter.element, b);
    detecter.RemoveElement(b);
    Run({{4100, Button::Release, Where::B, false}, {6000, Button::Press, Where::B, false}}, "b removed");
    EXPECT_EQ(detecter.GetPhase(), 0u);
}

} // namespace
