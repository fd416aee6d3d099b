// ctest-label: gui
// Buttons and check boxes: the press/drag/release state machine with its one-frame click and its two sounds,
// disabling and hiding, the check box's toggle and the look frame that reaches the material after a whole
// frame (GUI layout, then the material update).
#include "engine/gui/GUIButton.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundBuffer.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SoundSystem.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/SilentSoundSystem.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <vector>

using namespace OrvexEngine;

namespace {

using VelmoraTest::SilentSystem;

const Vec2 on(120, 110); // inside the button at (100, 100) of size (50, 20)
const Vec2 off(10, 10);

class GUIButtonTest : public testing::Test {
protected:
    GUIButtonTest() {
        SoundSystem::Instance(&system);
        sounds = std::make_unique<SoundManager>();
        SoundManager::Instance(sounds.get());
        manager = std::make_unique<VelmoraTest::TestGuiManager>();
        // Index 0 and 1: the button's sounds; 2 and 3: the check box's.
        for (const char* name : {"gui_default_button_select", "gui_default_button_click",
                                 "gui_default_check_box_select", "gui_default_check_box_click"})
            manager->GetSoundManager()->AddSound(name, std::string(name) + ".wav", 1);
    }
    ~GUIButtonTest() override {
        manager.reset();
        sounds.reset();
    }

    template <class Element = GUIButton> Element* Make(const ShaderDescriptor* look = nullptr) {
        if constexpr (std::is_same_v<Element, GUICheckBox>)
            return manager->CreateCheckBox(0x1, Vec2(100, 100), Vec2(50, 20), nullptr, look, nullptr);
        else
            return manager->CreateButton(0x1, Vec2(100, 100), Vec2(50, 20), nullptr, look, nullptr);
    }
    int Plays(size_t entry) const { return manager->GetSoundManager()->GetEntries()[entry]->playCount; }

    VelmoraTest::GuiServices gui;
    SilentSystem system;
    std::unique_ptr<SoundManager> sounds;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager;
};

// One update of a script and what the button shows after it.
struct Step {
    Vec2 cursor;
    bool held, pressed;
    int state;
    bool captured, clicked;
    int selectSounds, clickSounds; // totals so far
};

} // namespace

TEST_F(GUIButtonTest, PressDragAndReleaseScripts) {
    const struct {
        const char* name;
        std::vector<Step> steps;
    } scripts[] = {
        {"cursor already over a new button: no select sound until it re-enters",
         {{on, false, false, 1, false, false, 0, 0},
          {off, false, false, 0, false, false, 0, 0},
          {on, false, false, 1, false, false, 1, 0},
          {on, false, false, 1, false, false, 1, 0}}},
        {"press on, drag off, release: no click",
         {{on, true, true, 2, true, false, 0, 1},
          {off, true, false, 0, true, false, 0, 1},
          {off, false, false, 0, false, false, 0, 1}}},
        {"press on, drag off and back, release: one click, then highlighted",
         {{on, true, true, 2, true, false, 0, 1},
          {off, true, false, 0, true, false, 0, 1},
          {on, true, false, 2, true, false, 0, 1},
          {on, false, false, 1, false, true, 0, 1},
          {on, false, false, 1, false, false, 0, 1}}},
        {"press outside, move on, release: no click",
         {{off, true, true, 0, false, false, 0, 0},
          {on, true, false, 1, false, false, 1, 0},
          {on, false, false, 1, false, false, 1, 0}}},
        {"press and release within one frame: captured now, clicked next",
         {{on, true, true, 2, true, false, 0, 1},
          {on, false, false, 1, false, true, 0, 1},
          {on, false, false, 1, false, false, 0, 1}}},
        {"a held button pressed again is not captured twice",
         {{on, true, true, 2, true, false, 0, 1},
          {on, true, true, 2, true, false, 0, 1},
          {off, false, false, 0, false, false, 0, 1}}},
    };
    for (const auto& script : scripts) {
        GUIButton* button = Make();
        const int selectBefore = Plays(0), clickBefore = Plays(1);
        for (size_t i = 0; i < script.steps.size(); ++i) {
            const Step& step = script.steps[i];
            SCOPED_TRACE(testing::Message() << script.name << ", update " << i);
            EXPECT_TRUE(button->Update(step.cursor, step.held, step.pressed));
            EXPECT_EQ(button->state, step.state);
            EXPECT_EQ(button->captured, step.captured);
            EXPECT_EQ(button->clicked, step.clicked);
            EXPECT_EQ(Plays(0) - selectBefore, step.selectSounds);
            EXPECT_EQ(Plays(1) - clickBefore, step.clickSounds);
        }
        manager->DeleteButton(button);
    }
}

TEST_F(GUIButtonTest, DisabledOrHiddenButtonsKeepTheirCapture) {
    GUIButton* button = Make();
    button->Update(on, true, true);
    ASSERT_TRUE(button->captured);

    // Disabling keeps the capture; while disabled nothing reacts, not even a release over it.
    button->SetEnabled(false);
    EXPECT_EQ(button->state, GUI_BUTTON_DISABLED);
    button->SetEnabled(false);
    EXPECT_EQ(button->state, GUI_BUTTON_DISABLED);
    EXPECT_FALSE(button->Update(on, false, false));
    EXPECT_FALSE(button->clicked);
    EXPECT_TRUE(button->captured);
    EXPECT_EQ(button->state, GUI_BUTTON_DISABLED);
    EXPECT_TRUE(button->mouseOver) << "the hit test still runs";

    // Enabled again, the first update with the mouse button up over it is the click.
    button->SetEnabled(true);
    EXPECT_EQ(button->state, GUI_BUTTON_NORMAL);
    EXPECT_TRUE(button->captured);
    EXPECT_TRUE(button->Update(on, false, false));
    EXPECT_TRUE(button->clicked);
    EXPECT_EQ(button->state, GUI_BUTTON_HIGHLIGHTED);

    // Hidden, the state stays; shown again it is normal, unless disabled.
    button->Update(on, true, true);
    button->Show(false);
    EXPECT_FALSE(button->Update(on, false, false));
    EXPECT_EQ(button->state, GUI_BUTTON_PRESSED);
    EXPECT_TRUE(button->captured);
    button->Show(true);
    EXPECT_EQ(button->state, GUI_BUTTON_NORMAL);
    button->SetEnabled(false);
    button->Show(false);
    button->Show(true);
    EXPECT_EQ(button->state, GUI_BUTTON_DISABLED);

    // Hiding a parent reaches the button through the tree.
    GUIWindow* parent = manager->CreateWindow(0x1, Vec2(0, 0), Vec2(400, 300), nullptr, nullptr, nullptr);
    GUIButton* child = manager->CreateButton(0x1, Vec2(100, 100), Vec2(50, 20), nullptr, nullptr, parent);
    child->Update(on, false, false);
    EXPECT_EQ(child->state, GUI_BUTTON_HIGHLIGHTED);
    parent->Show(false);
    parent->Show(true);
    EXPECT_EQ(child->state, GUI_BUTTON_NORMAL);
}

TEST_F(GUIButtonTest, WithoutSoundsOrModelTheInputWorksTheSame) {
    GUICheckBox* silent = Make<GUICheckBox>();
    silent->soundManager = nullptr;
    EXPECT_EQ(silent->GetModel(), nullptr);
    silent->Update(off, false, false);
    silent->Update(on, true, true);
    EXPECT_EQ(silent->state, GUI_BUTTON_PRESSED);
    silent->Update(on, false, false);
    EXPECT_TRUE(silent->clicked);
    EXPECT_TRUE(silent->checked);
    EXPECT_TRUE(silent->Render());
}

TEST_F(GUIButtonTest, CheckBoxTogglesOnClicksAndShowsEightLooks) {
    GUICheckBox* box = Make<GUICheckBox>();
    EXPECT_FALSE(box->checked);
    for (bool expected : {true, false}) {
        box->Update(on, true, true);
        box->Update(on, false, false);
        EXPECT_TRUE(box->clicked);
        EXPECT_EQ(box->checked, expected);
    }
    EXPECT_EQ(Plays(3), 2) << "the check box's own click sound";
    EXPECT_EQ(Plays(1), 0);

    box->SetEnabled(false);
    box->Update(on, true, true);
    box->Update(on, false, false);
    EXPECT_FALSE(box->checked);

    GUIButton* button = Make();
    const struct {
        int state;
        int button, unchecked, checked;
    } frames[] = {{0, 0, 0, 3}, {1, 1, 1, 4}, {2, 2, 2, 5}, {3, 3, 6, 7}, {4, 0, 0, 0}, {-1, 0, 0, 0}};
    for (const auto& f : frames) {
        button->state = box->state = f.state;
        EXPECT_EQ(button->GetFrame(), f.button) << f.state;
        box->checked = false;
        EXPECT_EQ(box->GetFrame(), f.unchecked) << f.state;
        box->checked = true;
        EXPECT_EQ(box->GetFrame(), f.checked) << f.state;
    }
}

TEST_F(GUIButtonTest, LookFrameSurvivesTheMaterialUpdate) {
    // A 2 x 2 atlas that does not play by itself: frame 0 top left, 1 top right, 2 bottom left, 3 bottom
    // right.
    ShaderDescriptor atlas;
    atlas.InitAnimated(false, AnimationAtlas, 2, 2, 4, 0, "", "", true);
    GUIButton* button = Make(&atlas);
    GUICheckBox* box = Make<GUICheckBox>(&atlas);
    ShaderDescriptor still;
    GUIButton* plain = Make(&still);

    const struct {
        int state;
        bool checked;
        float offsetU, offsetV; // of the button, then of the check box
    } cases[] = {{0, false, 0, 0.5f}, {1, false, 0.5f, 0.5f}, {2, false, 0, 0}, {3, false, 0.5f, 0}};
    for (const auto& c : cases) {
        button->state = c.state;
        manager->Render();
        gui.shaders->Update();
        const ShaderStage& stage = button->GetShaderUser()->stages[0];
        EXPECT_NEAR(stage.offsetU, c.offsetU, 0.01f) << c.state;
        EXPECT_NEAR(stage.offsetV, c.offsetV, 0.01f) << c.state;
        // And again a frame later: the frame stays pinned.
        gui.shaders->Update();
        EXPECT_NEAR(button->GetShaderUser()->stages[0].offsetU, c.offsetU, 0.01f) << c.state;
    }

    // A checked, highlighted check box shows look 4, which a 4-frame atlas wraps round to its first cell.
    box->checked = true;
    box->state = GUI_BUTTON_HIGHLIGHTED;
    manager->Render();
    gui.shaders->Update();
    EXPECT_EQ(box->GetShaderUser()->GetAnimation(0)->currentFrame, 0u);

    // A single-frame material shows the same look in every state.
    plain->state = GUI_BUTTON_PRESSED;
    manager->Render();
    EXPECT_EQ(plain->GetShaderUser()->GetAnimation(0), nullptr);
    EXPECT_FLOAT_EQ(plain->GetModel()->animationControl->position, 0);
}

TEST_F(GUIButtonTest, LookFrameOfAnAnimatedModelSurvivesTheModelUpdate) {
    gui.data.Save("lamp.mlf", VbFormats::ModelWriter::Write(VelmoraTest::AnimatedQuad(4, 0)));
    std::unique_ptr<Model> lamp(gui.models->LoadModel("lamp.mlf", nullptr, 0, 0));
    ASSERT_EQ(lamp->animationControl->frameCount, 4u);
    GUIButton* button =
        manager->CreateButton(0x1, Vec2(100, 100), Vec2(50, 20), lamp.get(), nullptr, nullptr);
    for (int state : {2, 1, 3, 0}) {
        button->state = state;
        manager->Render();
        button->GetModel()->Update(false);
        EXPECT_EQ(button->GetModel()->animationControl->currentFrame, uint32_t(state));
    }
}
