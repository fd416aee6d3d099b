// ctest-label: gui
// Animated backgrounds: layer orders and the foreground's, the resource prefix, basic and additional sets,
// the background's fade and a layer's own fade multiplying, hiding with and without a fade, the layers'
// animation settings, particles that follow their window and leave with their layer, and a description
// that cannot be read.
#include "guitools/GUIBackgroundBase.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIBackgroundLayer.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"
#include "tools/formats/ModelWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;
using GUITools::GUIBackgroundBase;
using GUITools::GUIBackgroundLayer;

namespace {

const char* const fileName = "data\\ui\\background\\test.xml";

class GUIBackgroundBaseTest : public testing::Test {
protected:
    GUIBackgroundBaseTest() {
        gui.data.Save("bg/quad.mlf", VbFormats::ModelWriter::Write(VelmoraTest::AnimatedQuad(6, 4)));
        for (const char* name : {"bg/sky", "bg/hills", "bg/sun", "sky", "bg/mover"})
            keeper.RequestModel(name, "bg\\quad.mlf", true, false, 0, false, true, false);
        for (const char* name : {"bg/snow", "bg/rain"}) {
            ParticleSystem* system = gui.particles->NewParticleSystem(nullptr);
            if (std::string(name) == "bg/snow") {
                system->emissionShape = 1;
                system->emissionBox.Set(Vec3(-5, -2, 0), Vec3(5, 2, 0));
            }
            keeper.AddParticleSystem(name, system);
        }
        gui.timers.frameTime = 0.125f;
        fixtureErrors = Errors();
    }
    void Describe(const std::string& xml) {
        gui.data.Save("ui/background/test.xml", std::vector<uint8_t>(xml.begin(), xml.end()));
    }
    std::unique_ptr<GUIBackgroundBase> Make(const std::string& xml) {
        Describe(xml);
        return std::make_unique<GUIBackgroundBase>(&keeper, nullptr, fileName);
    }
    static float Alpha(const GUIBackgroundLayer* layer) { return layer->window->GetColor().w; }
    size_t RegisteredModels() const {
        size_t count = 0;
        for (const Model* model : gui.models->GetModels())
            count += model != nullptr;
        return count;
    }
    // Error lines since the fixture was made (loading its models logs their missing material files).
    size_t Errors() {
        size_t count = 0;
        for (uint32_t i = 0; i < gui.log.Manager().GetEntryCount(); ++i)
            count += gui.log.Manager().GetEntry(i)->type == OrvexEngine::MessageTypeError;
        return count - fixtureErrors;
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    GameTools::DataKeeper keeper{"en"};
    size_t fixtureErrors = 0;
};

const char* const layered = "<background resources_prefix=\"bg\">"
                            "<model name=\"sky\"/>"
                            "<note name=\"not a layer\"/>"
                            "<model name=\"hills\" additional=\"1\"/>"
                            "<model name=\"sun\" additional=\"true\" color=\"1 1 1 0.5\"/>"
                            "<model shader=\"nameless\"/>"
                            "<particles name=\"snow\" additional=\"1\"/>"
                            "</background>";

} // namespace

TEST_F(GUIBackgroundBaseTest, LayersTakeTheirEntrysPlaceAndComeInTwoSets) {
    std::unique_ptr<GUIBackgroundBase> background = Make(layered);
    EXPECT_EQ(background->resourcesPrefix, "bg/");
    EXPECT_TRUE(background->layers.empty());
    EXPECT_EQ(background->foregroundWindow->GetOrder(), 9);
    EXPECT_FALSE(background->IsVisible());

    background->LoadBasicLayers();
    ASSERT_EQ(background->layers.size(), 2u);
    EXPECT_EQ(background->layers[0]->name, "sky");
    EXPECT_EQ(background->layers[0]->window->GetOrder(), 1);
    EXPECT_EQ(background->layers[1]->name, "sun"); // "true" is no number: not additional
    EXPECT_EQ(background->layers[1]->window->GetOrder(), 4);
    EXPECT_NE(background->layers[0]->window->GetModel(), nullptr);
    EXPECT_EQ(background->layers[0]->window->GetParent(), background->layersWindow);

    background->LoadAdditionalLayers();
    ASSERT_EQ(background->layers.size(), 4u);
    EXPECT_EQ(background->layers[2]->name, "hills");
    EXPECT_EQ(background->layers[2]->window->GetOrder(), 3);
    EXPECT_EQ(background->layers[3]->name, "snow");
    EXPECT_NE(background->layers[3]->particleSystem, nullptr);
    EXPECT_EQ(background->layers[3]->window->GetOrder(), 6);
    EXPECT_EQ(Errors(), 0u); // every name was found with its prefix

    // Without a prefix the names are taken as they are.
    std::unique_ptr<GUIBackgroundBase> bare = Make("<b><model name=\"sky\"/></b>");
    EXPECT_EQ(bare->resourcesPrefix, "");
    bare->LoadBasicLayers();
    EXPECT_EQ(bare->layers.size(), 1u);
    EXPECT_EQ(bare->foregroundWindow->GetOrder(), 4);
    EXPECT_EQ(Errors(), 0u);
}

TEST_F(GUIBackgroundBaseTest, BackgroundAndLayerFadesMultiply) {
    std::unique_ptr<GUIBackgroundBase> background = Make(layered);
    background->LoadBasicLayers();
    GUIBackgroundLayer* sky = background->layers[0];
    GUIBackgroundLayer* sun = background->layers[1];
    EXPECT_FALSE(sky->window->visible);

    background->Show(true, true, 2);
    EXPECT_TRUE(background->IsVisible());
    EXPECT_TRUE(sky->window->visible);
    // Loaded while visible, the additional layers fade in by themselves over a second.
    background->LoadAdditionalLayers();
    GUIBackgroundLayer* hills = background->layers[2];
    const float expectedSky[] = {0.25f, 0.5f, 0.75f, 1, 1};
    const float expectedHills[] = {0.125f * 0.25f, 0.25f * 0.5f, 0.375f * 0.75f, 0.5f, 0.625f};
    for (size_t i = 0; i < 5; ++i) {
        background->Update();
        EXPECT_NEAR(Alpha(sky), expectedSky[i], 0.003) << i;
        EXPECT_NEAR(Alpha(sun), 0.5f * expectedSky[i], 0.003) << i;
        EXPECT_NEAR(Alpha(hills), expectedHills[i], 0.003) << i;
    }
    EXPECT_FALSE(background->fading);

    // Hiding with a fade at speed 2: half a second of linear fall, then everything is hidden.
    for (int i = 0; i < 3; ++i)
        background->Update(); // the hills finish their own fade
    background->Show(false, true, 2);
    const float falling[] = {0.75f, 0.5f, 0.25f};
    for (float alpha : falling) {
        background->Update();
        EXPECT_NEAR(Alpha(sky), alpha, 0.003);
        EXPECT_NEAR(Alpha(hills), alpha, 0.003);
        EXPECT_TRUE(background->IsVisible());
    }
    background->Update();
    EXPECT_FALSE(background->IsVisible());
    EXPECT_FALSE(sky->window->visible);
    EXPECT_FALSE(background->layers[3]->particleSystem->IsVisible());

    // Shown again without a fade, every layer is at full alpha at once; hidden without one, gone at once.
    background->Show(true, false, 1);
    background->Update();
    EXPECT_NEAR(Alpha(hills), 1, 0.003);
    background->Show(false, false, 1);
    EXPECT_FALSE(background->IsVisible());
    EXPECT_FALSE(hills->window->visible);
}

TEST_F(GUIBackgroundBaseTest, AnimationSettingsOfTheLayers) {
    std::unique_ptr<GUIBackgroundBase> background = Make(
        "<background resources_prefix=\"bg\">"
        "<model name=\"sky\" animation_speed=\"0\" random_start_frame=\"0\" animation_loop=\"0\"/>"
        "<model name=\"sun\" animation_speed=\"-1\"/>"
        "<model name=\"hills\" animation_speed=\"2.5\" animator_model=\"mover\" random_start_frame=\"0\"/>"
        "</background>");
    background->LoadBasicLayers();
    AnimationControl* sky = background->layers[0]->window->GetModel()->animationControl;
    AnimationControl* sun = background->layers[1]->window->GetModel()->animationControl;
    AnimationControl* hills = background->layers[2]->window->GetModel()->animationControl;
    EXPECT_EQ(sky->speed, 0);
    EXPECT_FALSE(sky->loop);
    EXPECT_EQ(sun->speed, 4); // the model's own
    EXPECT_TRUE(sun->loop);
    EXPECT_EQ(hills->speed, 2.5f);
    ASSERT_NE(background->layers[2]->animatorModel, nullptr);
    EXPECT_EQ(background->layers[2]->animatorModel->animationControl->speed, 2.5f);
    EXPECT_TRUE(background->layers[2]->animatorModel->animationControl->playing);

    // Without a random start the animations restart at position 0 at every show.
    for (int show = 0; show < 2; ++show) {
        sky->position = 3;
        hills->position = 2;
        background->Show(true, false, 1);
        EXPECT_EQ(sky->position, 0);
        EXPECT_EQ(hills->position, 0);
        EXPECT_TRUE(hills->playing);
        background->Show(false, false, 1);
    }
    // The animator moves the window to its box's centre: frame f of the quad is centred on (f, 0).
    background->layers[2]->animatorModel->animationControl->position = 0;
    background->Show(true, false, 1);
    background->Update();
    const Vec2 moved = background->layers[2]->window->position;
    EXPECT_NEAR(moved.x, 2.5f * 0.125f, 1e-4);
    EXPECT_NEAR(moved.y, 0, 1e-4);
}

TEST_F(GUIBackgroundBaseTest, ParticlesFollowTheirWindowAndLeaveWithTheirLayer) {
    const size_t modelsBefore = RegisteredModels();
    std::unique_ptr<GUIBackgroundBase> background =
        Make("<background resources_prefix=\"bg\"><particles name=\"snow\" animator_model=\"mover\"/>"
             "<particles name=\"rain\"/></background>");
    background->LoadBasicLayers();
    ASSERT_EQ(background->layers.size(), 2u);
    GUIBackgroundLayer* snow = background->layers[0];
    GUIBackgroundLayer* rain = background->layers[1];
    EXPECT_TRUE(snow->particleSystem->looping);
    EXPECT_TRUE(snow->particleSystem->active);
    EXPECT_TRUE(snow->particleSystem->IsVisible()); // visible from construction on
    EXPECT_EQ(snow->particleSystem->GetModel()->sortDepth, snow->window->GetDepth());
    EXPECT_GT(RegisteredModels(), modelsBefore);

    background->Show(true, false, 1);
    snow->animatorModel->animationControl->position = 2;
    snow->animatorModel->animationControl->Stop();
    snow->animatorModel->animationControl->position = 2;
    background->Update();
    // A box emitter keeps its half size about the window's position; a point emitter sits on it.
    EXPECT_EQ(snow->window->position, Vec2(2, 0));
    EXPECT_EQ(snow->particleSystem->emissionBox.GetLocalMin(), Vec3(-3, -2, 0));
    EXPECT_EQ(snow->particleSystem->emissionBox.GetLocalMax(), Vec3(7, 2, 0));
    rain->window->SetPosition(Vec2(30, 40));
    background->Update();
    EXPECT_EQ(rain->particleSystem->emitterPosition, Vec3(30, 40, 0));

    // The particle systems leave the particle manager with their layers.
    background.reset();
    EXPECT_EQ(RegisteredModels(), modelsBefore);
}

TEST_F(GUIBackgroundBaseTest, AnUnreadableDescriptionLeavesAnEmptyBackground) {
    std::unique_ptr<GUIBackgroundBase> background =
        std::make_unique<GUIBackgroundBase>(&keeper, nullptr, "data\\ui\\background\\missing.xml");
    EXPECT_EQ(Errors(), 1u);
    EXPECT_EQ(background->description, nullptr);
    background->LoadBasicLayers();
    background->LoadAdditionalLayers();
    EXPECT_TRUE(background->layers.empty());
    background->Show(true, true, 1);
    background->Update();
    EXPECT_TRUE(background->IsVisible());
    background->Show(false, false, 1);
    EXPECT_FALSE(background->IsVisible());

    std::unique_ptr<GUIBackgroundBase> broken = Make("<background><model name=\"sky\"></background>");
    EXPECT_EQ(Errors(), 2u);
    EXPECT_EQ(broken->description, nullptr);
}
