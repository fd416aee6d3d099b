// ctest-label: gui
// The description control's show and hide on the fake frame clock: delays, timed and model-animation
// faders, action words, the model's show and hide ranges (clamped, pinned, a model without frames), and an
// animator model that moves the element and decides when its hide ends.
#include "guitools/GUIControl.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "gametools/DataKeeper.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"
#include "tools/formats/ModelWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;
using GUITools::GUIControl;
using GUITools::GUIControlDescription;

namespace {

// A control on an element the test makes.
class ProbeControl final : public GUIControl {
public:
    ProbeControl(GameTools::DataKeeper* keeper, const GUIControlDescription& description, GUIWindow* window)
        : GUIControl(keeper, description) {
        InitElement(window, description);
    }
    Model* GetModel() const { return model; }
};

class GUIControlTest : public testing::Test {
protected:
    GUIControlTest() {
        gui.data.Save("ui/lamp.mlf", VbFormats::ModelWriter::Write(VelmoraTest::AnimatedQuad(5, 4)));
        gui.data.Save("ui/slide.mlf", VbFormats::ModelWriter::Write(VelmoraTest::AnimatedQuad(3, 4)));
        keeper.RequestModel("ui/lamp", "ui\\lamp.mlf", false, false, 0, false, true, false);
        keeper.RequestModel("ui/slide", "ui\\slide.mlf", false, false, 0, false, true, false);
        gui.timers.frameTime = 0.125f;
    }

    // An element with a material (so that its alpha can be read) or with the named model.
    std::unique_ptr<ProbeControl> Make(GUIControlDescription description = {}) {
        const Model* source =
            description.model.empty() ? nullptr : keeper.GetModel("ui/" + description.model);
        GUIWindow* window = manager.CreateWindow(0x3, Vec2(0, 0), Vec2(1, 1), source, gui.material);
        return std::make_unique<ProbeControl>(&keeper, description, window);
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    GameTools::DataKeeper keeper{"en"};
};

// One call and what the element shows after it.
struct Step {
    char call; // 'S' show, 'H' hide, 'U' update
    bool visible;
    float alpha; // < 0: not checked
};

struct FaderCase {
    const char* name;
    std::string fader, type;
    float showSpeed, hideSpeed, min, max, fadeOffset, showOffset, hideOffset;
    std::vector<Step> steps;
};

} // namespace

TEST_F(GUIControlTest, FaderTimelinesOnTheFrameClock) {
    // Every update lasts 0.125 s.
    const FaderCase cases[] = {
        {"timed show: appears after show_offset, waits fade_offset at min, then rises at show_speed",
         "f",
         "timed",
         2,
         1,
         0.2f,
         1,
         0.5f,
         0.25f,
         0,
         {{'S', false, -1},
          {'U', false, -1},
          {'U', true, 0.2f},
          {'U', true, 0.2f},
          {'U', true, 0.2f},
          {'U', true, 0.2f},
          {'U', true, 0.4f},
          {'U', true, 0.6f},
          {'U', true, 0.8f},
          {'U', true, 1},
          {'U', true, 1}}},
        {"timed hide: waits hide_offset at max, falls at hide_speed, hidden when the value reaches 0",
         "f",
         "timed",
         8,
         4,
         0,
         1,
         0,
         0,
         0.25f,
         {{'S', false, -1},
          {'U', true, 1},
          {'H', true, 1},
          {'U', true, 1},
          {'U', true, 0.5f},
          {'U', false, 0}}},
        {"no fader: visible at the first update, hidden at the first update after the hide",
         "",
         "timed",
         1,
         1,
         0,
         1,
         0,
         5,
         5,
         {{'S', false, -1}, {'U', true, 1}, {'U', true, 1}, {'H', true, 1}, {'U', false, 1}}},
        {"model_animation fader without any animation: min while shown, hidden when the hide starts",
         "f",
         "model_animation",
         1,
         1,
         0.25f,
         1,
         0,
         0,
         0.125f,
         {{'S', false, -1}, {'U', true, 0.25f}, {'U', true, 0.25f}, {'H', true, -1}, {'U', false, -1}}},
        {"a show during a hide starts again from its own beginning",
         "f",
         "timed",
         4,
         4,
         0,
         1,
         0,
         0,
         0,
         {{'S', false, -1},
          {'U', true, 0.5f},
          {'U', true, 1},
          {'H', true, 1},
          {'U', true, 0.5f},
          {'S', false, -1},
          {'U', true, 0.5f}}},
    };
    for (const FaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ProbeControl> control = Make();
        control->fader = c.fader;
        control->type = c.type;
        control->show_speed = c.showSpeed;
        control->hide_speed = c.hideSpeed;
        control->min = c.min;
        control->max = c.max;
        control->fade_offset = c.fadeOffset;
        control->show_offset = c.showOffset;
        control->hide_offset = c.hideOffset;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (step.call == 'U')
                control->Update();
            else
                control->Show(step.call == 'S', true);
            EXPECT_EQ(control->GetWindow()->visible, step.visible) << "step " << i;
            if (step.alpha >= 0) {
                // The alpha lives in 8-bit vertex colours.
                EXPECT_NEAR(control->GetWindow()->GetAlpha(), step.alpha, 0.003) << "step " << i;
            }
        }
    }
}

TEST_F(GUIControlTest, ActionWordsDecideWhatAWindowsShowAndHideDo) {
    const struct {
        const char *showAction, *hideAction;
        bool afterShow, afterHide; // element visible after the show's and the hide's first update
        bool activeAfterShow;
    } cases[] = {
        {"show", "hide", true, false, true},
        {"hide", "hide", false, false, false}, // disappears when its window is shown
        {"show", "show", true, true, true},    // stays when its window hides
        {"stay", "keep", false, false, false}, // unknown words: the control is left alone
        {"show", "Hide", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.showAction) + "/" + c.hideAction);
        std::unique_ptr<ProbeControl> control = Make();
        control->show_action = c.showAction;
        control->hide_action = c.hideAction;
        control->Show(true, true);
        control->Update();
        EXPECT_EQ(control->GetWindow()->visible, c.afterShow);
        EXPECT_EQ(control->IsActive(), c.activeAfterShow);
        control->Show(false, true);
        control->Update();
        EXPECT_EQ(control->GetWindow()->visible, c.afterHide);
    }
    // Without actions the direction itself counts: a disabled control hides whatever its words say.
    std::unique_ptr<ProbeControl> control = Make();
    control->hide_action = "show";
    control->Show(true, true);
    control->Update();
    control->Show(false, false);
    control->Update();
    EXPECT_FALSE(control->GetWindow()->visible);
    EXPECT_FALSE(control->IsActive());
}

TEST_F(GUIControlTest, ModelRangesAreClampedAndEqualEndsPinAFrame) {
    const struct {
        int32_t start, end;
        bool animated;
        uint32_t first, last; // the show range, or the pinned frame in first
    } cases[] = {
        {-1, -1, true, 0, 4}, {1, 3, true, 1, 3},  {2, -1, true, 2, 4}, {-1, 9, true, 0, 4},
        {7, 9, false, 4, 4},  {3, 1, false, 3, 3}, {2, 2, false, 2, 2}, {-5, -1, false, 4, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ".." + std::to_string(c.end));
        GUIControlDescription description;
        description.model = "lamp";
        description.model_start_frame = c.start;
        description.model_end_frame = c.end;
        std::unique_ptr<ProbeControl> control = Make(description);
        AnimationControl* animation = control->GetModel()->animationControl;
        EXPECT_FALSE(animation->loop);
        ASSERT_EQ(control->modelAnimation != nullptr, c.animated);
        if (c.animated) {
            EXPECT_EQ(animation->ranges.at(GUIControl::ShowRange), std::make_pair(c.first, c.last));
            EXPECT_EQ(animation->ranges.at(GUIControl::HideRange), std::make_pair(c.last, c.first));
        } else {
            EXPECT_EQ(animation->ranges.count(GUIControl::ShowRange), 0u);
            control->GetModel()->Update(false);
            EXPECT_EQ(animation->currentFrame, c.first);
        }
    }
}

TEST_F(GUIControlTest, AModelWithoutFramesIsAOneFrameModel) {
    keeper.GetModel("ui/lamp")->animationControl->frameCount = 0;
    GUIControlDescription description;
    description.model = "lamp";
    description.model_end_frame = 3;
    std::unique_ptr<ProbeControl> control = Make(description);
    EXPECT_EQ(control->modelAnimation, nullptr);
    EXPECT_FLOAT_EQ(control->GetModel()->animationControl->position, 0);
    EXPECT_EQ(control->GetModel()->animationControl->ranges.count(GUIControl::ShowRange), 0u);
}

TEST_F(GUIControlTest, ShowAndHideRangesPlayAndTheHideEndsWithTheAnimation) {
    GUIControlDescription description;
    description.model = "lamp";
    std::unique_ptr<ProbeControl> control = Make(description);
    AnimationControl* animation = control->modelAnimation;
    ASSERT_NE(animation, nullptr);
    control->Show(true, true);
    control->Update();
    EXPECT_TRUE(control->GetWindow()->visible);
    EXPECT_EQ(animation->currentRangeId, GUIControl::ShowRange);
    EXPECT_TRUE(animation->playing);

    control->Show(false, true);
    control->Update();
    EXPECT_EQ(animation->currentRangeId, GUIControl::HideRange);
    // Four frames at 4 per second: the hide range plays for a second, the element staying until its end.
    for (int i = 0; i < 7; ++i) {
        animation->Update();
        control->Update();
        EXPECT_TRUE(control->GetWindow()->visible) << i;
        EXPECT_TRUE(control->IsActive());
    }
    animation->Update();
    control->Update();
    EXPECT_FALSE(control->GetWindow()->visible);
    EXPECT_FALSE(control->IsActive());
}

TEST_F(GUIControlTest, AnimatorMovesTheElementAndItsHideDecides) {
    GUIControlDescription description;
    description.model = "lamp";
    description.animator_model = "slide";
    std::unique_ptr<ProbeControl> control = Make(description);
    ASSERT_NE(control->animatorModel, nullptr);
    ASSERT_NE(control->animatorAnimation, nullptr);
    control->position = Vec2(10, 20);
    control->Show(true, true);
    // Frame f of the animator's model has its box's lower left corner at (f - 1, -1); at 4 frames a second
    // every update of 0.125 s moves half a frame.
    const float expectedX[] = {9.5f, 10, 10.5f, 11, 11};
    for (float x : expectedX) {
        control->Update();
        EXPECT_FLOAT_EQ(control->GetWindow()->position.x, x);
        EXPECT_FLOAT_EQ(control->GetWindow()->position.y, 19);
    }
    control->Show(false, true);
    control->Update();
    // The model's hide range (4 frames) ends long after the animator's (2 frames): the animator decides.
    int updates = 1;
    while (control->GetWindow()->visible && updates < 20) {
        control->modelAnimation->Update();
        control->Update();
        ++updates;
    }
    EXPECT_EQ(updates, 5);
    EXPECT_TRUE(control->modelAnimation->playing);
}
