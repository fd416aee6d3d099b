// ctest-label: gui
// Sliders and scrolls: snapping the dragged toddler to the nearest position (halves up, reversed, vertical,
// a track of no length), where the toddler is drawn, the step buttons' first step and 0.15 s auto-repeat on
// the frame time, steps clamped at both ends (a negative step too), disabling, and elements without model.
#include "engine/graphics/Camera.h"
#include "engine/graphics/Model.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIScroll.h"
#include "engine/sound/SoundManager.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/SilentSoundSystem.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace OrvexEngine;

namespace {

class GUISliderTest : public testing::Test {
protected:
    GUISliderTest() {
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        manager = std::make_unique<VelmoraTest::TestGuiManager>();
        manager->GetSoundManager()->AddSound("gui_default_slider_toddler_click", "t.wav", 1);
    }
    ~GUISliderTest() override {
        manager.reset();
        sounds.reset();
    }

    // A horizontal slider at (100, 100) whose toddler, 20 wide, runs from x 10 to 210 inside it: the
    // toddler's centre is at the cursor when t = (x - 120) / 200.
    GUISlider* MakeSlider(uint32_t count, const ShaderDescriptor* toddlerLook = nullptr) {
        GUISlider* slider = manager->CreateSlider(0x1, Vec2(100, 100), Vec2(240, 20), nullptr, &quad, 0,
                                                  Vec2(10, 0), Vec2(210, 0), count, nullptr);
        slider->CreateToddler(Vec2(20, 20), nullptr, toddlerLook);
        return slider;
    }
    // A scroll with its step buttons: decrease at (0, 0), increase at (30, 0), each 20 x 20.
    GUIScroll* MakeScroll(uint32_t count) {
        GUIScroll* scroll = manager->CreateScroll(0x1, Vec2(0, 0), Vec2(300, 20), nullptr, &quad, 0,
                                                  Vec2(60, 0), Vec2(260, 0), count, nullptr);
        scroll->CreateDecreaseButton(Vec2(0, 0), Vec2(20, 20), nullptr, nullptr);
        scroll->CreateIncreaseButton(Vec2(30, 0), Vec2(20, 20), nullptr, nullptr);
        return scroll;
    }
    // Presses at x (captures the toddler) and drags to x, as the input step hands it on.
    void Drag(GUISlider* slider, float pressX, float dragX, float y = 110) {
        slider->Update(Vec2(pressX, y), true, true);
        slider->Update(Vec2(dragX, y), true, false);
    }
    // One frame of the input step with the frame time dt.
    void Frame(GUIScroll* scroll, const Vec2& cursor, bool held, bool pressed, float dt = 0.016f) {
        gui.timers.frameTime = dt;
        scroll->Update(cursor, held, pressed);
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::SilentSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager;
    ShaderDescriptor quad;
};

const Vec2 increase(40, 10), decrease(10, 10), outside(150, 200);

} // namespace

TEST_F(GUISliderTest, TheDraggedToddlerSnapsToTheNearestPositionHalvesUp) {
    const struct {
        const char* name;
        uint32_t count;
        bool reversed;
        float x;
        uint32_t expected;
    } cases[] = {
        {"2 positions, t just below a half", 2, false, 219.9f, 0},
        {"2 positions, t exactly a half", 2, false, 220, 1},
        {"5 positions, t = 0.25", 5, false, 170, 1},
        {"11 positions, t = 0.25 gives 2.5, rounded up", 11, false, 170, 3},
        {"5 positions reversed, t = 0.25 counts from the other end", 5, true, 170, 3},
        {"left of the track clamps to the first", 5, false, 0, 0},
        {"right of the track clamps to the last", 5, false, 799, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GUISlider* slider = MakeSlider(c.count);
        slider->reversed = c.reversed;
        slider->SetPosition(2);
        Drag(slider, 300, c.x);
        EXPECT_TRUE(slider->IsDragging());
        EXPECT_EQ(slider->GetPosition(), c.expected);
        // The release ends the drag where it was.
        slider->Update(Vec2(120, 110), false, false);
        EXPECT_FALSE(slider->IsDragging());
        EXPECT_EQ(slider->GetPosition(), c.expected);
        manager->DeleteSlider(slider);
    }

    // A vertical slider follows y; a track of no length counts as one unit, so t is 0 or 1.
    GUISlider* vertical = manager->CreateSlider(0x1, Vec2(0, 0), Vec2(20, 300), nullptr, &quad, 1,
                                                Vec2(0, 50), Vec2(0, 250), 3, nullptr);
    vertical->CreateToddler(Vec2(20, 10), nullptr, nullptr);
    vertical->Update(Vec2(10, 55), true, true);
    vertical->Update(Vec2(10, 155), true, false);
    EXPECT_EQ(vertical->GetPosition(), 1u);
    GUISlider* point = manager->CreateSlider(0x1, Vec2(0, 0), Vec2(20, 20), nullptr, &quad, 0, Vec2(5, 0),
                                             Vec2(5, 0), 3, nullptr);
    point->CreateToddler(Vec2(10, 20), nullptr, nullptr);
    for (const auto& [x, expected] : {std::pair{9.0f, 0u}, std::pair{11.0f, 2u}, std::pair{14.0f, 2u}}) {
        point->Update(Vec2(x, 10), true, true);
        EXPECT_EQ(point->GetPosition(), expected) << x;
        point->Update(Vec2(x, 10), false, false);
    }
}

TEST_F(GUISliderTest, PressingTheTrackJumpsThereAndTheToddlerIsDrawnAtThePosition) {
    ShaderDescriptor look;
    GUISlider* slider = MakeSlider(5, &look);
    // Inside the track but away from the drawn toddler: the position jumps at the press, with the click.
    slider->Update(Vec2(170, 105), true, true);
    EXPECT_EQ(slider->GetPosition(), 1u);
    EXPECT_EQ(manager->GetSoundManager()->GetEntries()[0]->playCount, 1);
    EXPECT_EQ(slider->state, GUI_SLIDER_HIGHLIGHTED);
    manager->Render();
    const Model* model = slider->GetToddler()->GetModel();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->GetCamera(), manager->GetCamera());
    EXPECT_EQ(model->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(160, 100, 0));
    EXPECT_EQ(model->transform.MultiplyPoint(Vec3(1, 1, 0)), Vec3(180, 120, 0));
    // Drawn over the slider, and again at the same place a frame later.
    EXPECT_LT(slider->GetToddler()->GetDepth(), slider->GetDepth());
    manager->Render();
    EXPECT_EQ(model->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(160, 100, 0));
    slider->reversed = true;
    manager->Render();
    EXPECT_EQ(model->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(260, 100, 0));
}

TEST_F(GUISliderTest, PositionCountAndPositionAreClamped) {
    GUISlider* slider = MakeSlider(10);
    slider->SetPosition(20);
    EXPECT_EQ(slider->GetPosition(), 9u);
    slider->SetPositionCount(4);
    EXPECT_EQ(slider->GetPosition(), 3u);
    slider->SetPositionCount(1);
    EXPECT_EQ(slider->GetPositionCount(), 2u);
    EXPECT_EQ(slider->GetPosition(), 1u);
    GUIScroll* scroll = manager->CreateScroll(0x1, Vec2(0, 0), Vec2(10, 10), nullptr, &quad, 0, Vec2(0, 0),
                                              Vec2(0, 0), 0, nullptr);
    EXPECT_EQ(scroll->GetPositionCount(), 2u);
}

TEST_F(GUISliderTest, StepButtonsStepAtOnceThenEveryHundredFiftyMilliseconds) {
    GUIScroll* scroll = MakeScroll(100);
    // Held over the increase button at 16 ms a frame: a step in the first frame, then one each time the
    // held time passes the next 0.15 s (after 9, 9 and 10 frames: the remainders add up).
    std::vector<int> steppedFrames;
    uint32_t last = scroll->GetPosition();
    for (int frame = 1; frame <= 30; ++frame) {
        Frame(scroll, increase, true, frame == 1);
        if (scroll->GetPosition() != last)
            steppedFrames.push_back(frame);
        last = scroll->GetPosition();
    }
    EXPECT_EQ(steppedFrames, (std::vector<int>{1, 10, 19, 29}));
    EXPECT_TRUE(scroll->IsPressed());

    // Dragged off the held button: no steps and the accumulator is reset; back on, a step at once.
    Frame(scroll, outside, true, false);
    Frame(scroll, outside, true, false);
    EXPECT_EQ(scroll->GetPosition(), 4u);
    EXPECT_FLOAT_EQ(scroll->repeatTime, 0);
    Frame(scroll, increase, true, false);
    EXPECT_EQ(scroll->GetPosition(), 5u);
    Frame(scroll, increase, false, false);

    // One long frame carries several steps; the decrease button goes the other way.
    Frame(scroll, decrease, true, true, 0.4f);
    EXPECT_EQ(scroll->GetPosition(), 2u);
    Frame(scroll, decrease, false, false);
    EXPECT_FALSE(scroll->IsPressed());
}

TEST_F(GUISliderTest, StepsStayWithinTheRange) {
    const struct {
        const char* name;
        int32_t step;
        bool reversed;
        uint32_t from;
        Vec2 button;
        uint32_t expected;
    } cases[] = {
        {"step 30 up from 990 stops at the last", 30, false, 990, increase, 1000},
        {"step 30 down from 20 stops at 0", 30, false, 20, decrease, 0},
        {"reversed: the increase button lowers", 30, true, 500, increase, 470},
        {"reversed: the decrease button raises", 30, true, 500, decrease, 530},
        {"a negative step up from 5 stops at 0", -30, false, 5, increase, 0},
        {"a negative step down from 990 stops at the last", -30, false, 990, decrease, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GUIScroll* scroll = MakeScroll(1001);
        scroll->step = c.step;
        scroll->reversed = c.reversed;
        scroll->SetPosition(c.from);
        Frame(scroll, c.button, true, true);
        EXPECT_EQ(scroll->GetPosition(), c.expected);
        manager->DeleteScroll(scroll);
    }
}

TEST_F(GUISliderTest, ADisabledSliderNeitherMovesNorStepsAndItsButtonsLookDisabled) {
    GUIScroll* scroll = MakeScroll(10);
    scroll->SetPosition(5);
    scroll->SetEnabled(false);
    EXPECT_FALSE(scroll->IsEnabled());
    for (const GUIButton* button :
         {scroll->GetToddler(), scroll->GetIncreaseButton(), scroll->GetDecreaseButton()})
        EXPECT_EQ(button->state, GUI_BUTTON_DISABLED);
    Frame(scroll, increase, true, true);
    Frame(scroll, Vec2(200, 10), true, true);
    EXPECT_EQ(scroll->GetPosition(), 5u);
    EXPECT_EQ(scroll->state, GUI_SLIDER_DISABLED);
    scroll->SetEnabled(true);
    Frame(scroll, increase, true, true);
    EXPECT_EQ(scroll->GetPosition(), 6u);
    // Hidden, it resets its repeat and does nothing.
    scroll->Show(false);
    EXPECT_FALSE(scroll->Update(increase, true, false));
    EXPECT_FLOAT_EQ(scroll->repeatTime, 0);
}

TEST_F(GUISliderTest, WithoutModelOrMaterialTheOwnedButtonsUseTheGuiCamera) {
    GUISlider* slider = manager->CreateSlider(0x3, Vec2(0, 0), Vec2(100, 20), nullptr, nullptr, 0, Vec2(0, 0),
                                              Vec2(80, 0), 3, nullptr);
    GUIScroll* scroll = manager->CreateScroll(0x3, Vec2(0, 50), Vec2(100, 20), nullptr, nullptr, 0,
                                              Vec2(0, 0), Vec2(80, 0), 3, nullptr);
    EXPECT_EQ(slider->GetModel(), nullptr);
    ShaderDescriptor look;
    slider->CreateToddler(Vec2(20, 20), nullptr, &look);
    scroll->CreateIncreaseButton(Vec2(90, 0), Vec2(10, 20), nullptr, &look);
    EXPECT_EQ(slider->GetToddler()->GetModel()->GetCamera(), manager->GetCamera());
    EXPECT_EQ(scroll->GetIncreaseButton()->GetModel()->GetCamera(), manager->GetCamera());
    EXPECT_TRUE(slider->GetToddler()->GetModel()->GetFlags() & ModelVertexColors);
    manager->UpdateElements(Vec2(50, 10), true, true);
    manager->Render();
    EXPECT_EQ(slider->GetPosition(), 1u);
}
