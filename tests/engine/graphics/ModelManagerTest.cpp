// ctest-label: models
#include "engine/graphics/ModelManager.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderUser.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace OrvexEngine;

namespace {

class RenderPassTest : public testing::Test {
protected:
    // A registered unit box whose centre lies depth units in front of the default camera.
    Model* BoxAt(float depth, uint32_t extraFlags = 0, float x = 0) {
        Model* model = services.models->CreateBoxModel(Vec3(-0.5f), Vec3(0.5f), nullptr, nullptr, extraFlags);
        model->transform = Matrix4::Translation(Vec3(x, 0, -depth));
        model->box.SetTransform(model->transform);
        return model;
    }
    // The models in the order the last pass drew them.
    std::vector<Model*> DrawOrder() const {
        std::vector<Model*> order;
        for (const auto& draw : services.render->draws)
            for (Model* model : services.models->GetModels())
                if (model != nullptr && model->vertexBuffer == draw.vertices)
                    order.push_back(model);
        return order;
    }

    VelmoraTest::ModelServices services;
};

TEST_F(RenderPassTest, NearListFirstNearestFirstThenTheRestFarthestFirst) {
    Model* near5 = BoxAt(5);
    Model* near3 = BoxAt(3);
    Model* far4 = BoxAt(4, ModelSecondList);
    Model* far8 = BoxAt(8, ModelSecondList);
    Model* neither = BoxAt(6);
    neither->ClearFlags(ModelFirstList | ModelSecondList);
    Model* gui = BoxAt(2, ModelSecondList | ModelFixedSortDepth);
    gui->sortDepth = -10; // the GUI's fixed negative depths come last
    services.models->Render();
    EXPECT_EQ(DrawOrder(), (std::vector<Model*>{near3, near5, far8, neither, far4, gui}));
    ASSERT_GE(services.render->calls.size(), 2u);
    EXPECT_EQ(std::count(services.render->calls.begin(), services.render->calls.end(), "BeginScene"), 1);
    EXPECT_EQ(services.render->calls.back(), "EndScene");
    EXPECT_EQ(services.models->visibleModels, 6u);
    EXPECT_EQ(services.models->drawnModels, 6u);
    EXPECT_EQ(services.models->drawnPrimitives, 72u);
}

TEST_F(RenderPassTest, NearlyEqualDepthsAreOrderedByAddress) {
    // Many boxes at one depth and at the next float: the sort must stay strict (no out-of-range reads) and
    // order them by address, lower first in the near list and higher first in the far list.
    std::vector<Model*> nearModels;
    std::vector<Model*> farModels;
    const float next = std::nextafter(5.0f, 6.0f);
    for (int i = 0; i < 40; ++i) {
        nearModels.push_back(BoxAt(5, ModelFixedSortDepth));
        nearModels.back()->sortDepth = i % 2 ? 5.0f : next;
        farModels.push_back(BoxAt(5, ModelFixedSortDepth | ModelSecondList));
        farModels.back()->sortDepth = i % 2 ? 5.0f : next;
    }
    Model* deeper = BoxAt(5, ModelFixedSortDepth);
    deeper->sortDepth = 5.1f;
    services.models->Render();
    std::sort(nearModels.begin(), nearModels.end(), std::less<Model*>());
    std::sort(farModels.begin(), farModels.end(), std::greater<Model*>());
    std::vector<Model*> expected = nearModels;
    expected.push_back(deeper);
    expected.insert(expected.end(), farModels.begin(), farModels.end());
    EXPECT_EQ(DrawOrder(), expected);
}

TEST_F(RenderPassTest, CountersAndCulling) {
    BoxAt(5);
    Model* outside = BoxAt(-5); // behind the camera
    Model* hidden = BoxAt(5);
    hidden->ClearFlags(ModelVisible);
    services.models->Render();
    EXPECT_EQ(services.models->visibleModels, 2u);
    EXPECT_EQ(services.models->visiblePrimitives, 24u);
    EXPECT_EQ(services.models->drawnModels, 1u);
    EXPECT_EQ(services.models->drawnPrimitives, 12u);
    EXPECT_EQ(DrawOrder().size(), 1u);
    EXPECT_EQ(outside->GetDrawnPrimitives(), 0u);
}

TEST_F(RenderPassTest, DeviceNotReadyFreezesEverything) {
    Model* box = BoxAt(5);
    services.models->Render();
    ASSERT_EQ(services.models->drawnModels, 1u);
    box->animationControl->speed = 10;
    box->animationControl->Play();
    services.render->ready = false;
    services.render->calls.clear();
    services.render->draws.clear();
    services.models->Render();
    services.models->Present();
    EXPECT_EQ(services.models->visibleModels, 0u);
    EXPECT_EQ(services.models->drawnPrimitives, 0u);
    EXPECT_TRUE(services.render->calls.empty());
    EXPECT_EQ(box->animationControl->position, 0);
    services.render->ready = true;
    services.models->Present();
    EXPECT_EQ(services.render->calls, (std::vector<std::string>{"SwapBuffers"}));
}

TEST_F(RenderPassTest, DrawStatesFollowTheFlags) {
    Model* twoPasses = BoxAt(5, ModelTwoPasses);
    services.models->Render();
    ASSERT_EQ(services.render->draws.size(), 2u);
    EXPECT_EQ(services.render->draws[0].cull, CullCodeCounterClockwise);
    EXPECT_EQ(services.render->draws[1].cull, CullCodeClockwise);
    EXPECT_EQ(services.render->draws[0].primitives, 12u);
    EXPECT_FALSE(services.render->draws[0].strip);
    services.models->DeleteModel(twoPasses);

    // A stencil model without a stencil buffer, and a material with more stages than the device: not drawn.
    BoxAt(5, ModelStencil);
    ShaderDescriptor threeStages;
    threeStages.AddStage(0, 0, 1, 1, 0, 0, "", "", 1);
    threeStages.AddStage(0, 0, 1, 1, 0, 0, "", "", 1);
    Model* wide = services.models->CreateBoxModel(Vec3(-0.5f), Vec3(0.5f), &threeStages, nullptr, 0);
    wide->transform = Matrix4::Translation(Vec3(0, 0, -5));
    wide->box.SetTransform(wide->transform);
    services.render->stageCount = 1;
    services.render->draws.clear();
    services.models->Render();
    EXPECT_TRUE(services.render->draws.empty());
    EXPECT_EQ(services.models->drawnModels, 2u); // culling passed, drawing refused
}

TEST_F(RenderPassTest, RegistryOwnsCreatedModelsOnly) {
    Model* registered = BoxAt(5);
    Model* copy = services.models->NewModelCopy(*registered, nullptr, 0);
    services.models->DeleteModel(copy); // not registered: left alone
    EXPECT_EQ(copy->name, "box");
    delete copy;
    services.models->DeleteModel(nullptr);

    Model* second = BoxAt(6);
    services.models->DeleteModel(registered);
    Model* third = BoxAt(7);
    const std::vector<Model*>& slots = services.models->GetModels();
    EXPECT_EQ(slots.size(), 2u);
    EXPECT_EQ(slots[0], third); // the freed slot is reused
    EXPECT_EQ(slots[1], second);
}

} // namespace
