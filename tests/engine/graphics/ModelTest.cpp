// ctest-label: models
#include "engine/graphics/Model.h"

#include "engine/core/Error.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/VertexBuffer.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace OrvexEngine;
using VbFormats::ModelWriter;

namespace {

Vec3 PositionOf(const Model& model, uint32_t i) {
    Vec3 p;
    std::memcpy(p.Data(), model.vertexBuffer->GetData() + size_t(i) * model.vertexBuffer->GetStride(), 12);
    return p;
}

void ExpectNear(const Vec3& actual, const Vec3& expected, const char* what) {
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(actual[c], expected[c], 1e-4f) << what << " component " << c;
}

class ModelTest : public testing::Test {
protected:
    Model* Load(const VbFormats::ModelDescription& description, const std::string& name = "models\\m.mlf",
                uint32_t extraFlags = 0) {
        std::string path = name;
        for (char& c : path)
            if (c == '\\')
                c = '/';
        services.data.Save(path, ModelWriter::Write(description));
        Model* model = services.models->LoadModel(name, nullptr, extraFlags, 0);
        owned.emplace_back(model);
        return model;
    }
    Model* Box(uint32_t extraFlags = 0, const Vec3& min = Vec3(-1.0f), const Vec3& max = Vec3(1.0f)) {
        Model* model = services.models->NewBoxModel(min, max, nullptr, nullptr, extraFlags);
        owned.emplace_back(model);
        return model;
    }
    // Puts the model 10 units in front of the default camera.
    void InFront(Model* model, float distance = 10) {
        model->transform = Matrix4::Translation(Vec3(0, 0, -distance));
        model->box.SetTransform(model->transform);
    }

    VelmoraTest::ModelServices services;
    std::vector<std::unique_ptr<Model>> owned; // unregistered models, deleted before the services
};

TEST_F(ModelTest, FlagRulesKeepListAndCullBitsExclusive) {
    Model* box = Box();
    EXPECT_EQ(box->GetFlags(), 0x422C9u);
    struct Case {
        uint32_t start;
        bool set;
        uint32_t bits;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x200, false, 0x200, 0x400},       // clearing one list bit sets the other
        {0x200, false, 0x600, 0x0},         // clearing both clears both
        {0x400, true, 0x200, 0x200},        // setting one clears the other
        {0x2000, true, 0x4000, 0x4000},     // one cull bit at a time
        {0x4000, true, 0x400000, 0x400000}, //
        {0x400000, true, 0x2000, 0x2000},   //
        {0x2000, true, 0x40, 0x2040},       // other bits leave them alone
    };
    for (const Case& c : cases) {
        box->ClearFlags(0xFFFFFFFF);
        box->SetFlags(c.start);
        if (c.set)
            box->SetFlags(c.bits);
        else
            box->ClearFlags(c.bits);
        EXPECT_EQ(box->GetFlags(), c.expected) << std::hex << c.start << " " << c.bits;
    }
}

TEST_F(ModelTest, BoxIsTwelveTrianglesBoundedByItsCorners) {
    Model* box = Box(0x20, Vec3(-1, -2, -3), Vec3(1, 2, 3));
    EXPECT_EQ(box->name, "box");
    EXPECT_TRUE(box->vertexBuffer->HasColor());
    EXPECT_EQ(box->vertexBuffer->GetVertexCount(), 24u);
    EXPECT_EQ(box->indexBuffer->GetIndexCount(), 36u);
    EXPECT_FALSE(box->IsStrip());
    EXPECT_EQ(box->GetPrimitiveCount(), 12u);
    EXPECT_EQ(box->box.GetLocalMin(), Vec3(-1, -2, -3));
    EXPECT_EQ(box->box.GetLocalMax(), Vec3(1, 2, 3));
    ExpectNear(PositionOf(*box, 18), Vec3(-1, 2, 3), "vertex 18");
    EXPECT_EQ(box->indexBuffer->GetIndex(35), 20u); // face 5: 20 21 22 22 23 20
    EXPECT_EQ(box->GetDrawnPrimitives(), 0u);
}

TEST_F(ModelTest, PrimitiveCountsOfStripsAndLists) {
    struct Case {
        uint32_t flags;
        uint32_t indices;
        uint32_t primitives;
    };
    for (const Case& c : {Case{0x1, 4, 2}, Case{0x1, 2, 0}, Case{0x9, 36, 12}, Case{0x9, 7, 2}}) {
        Model* model = services.models->CreateModelFromArrays(c.flags, 8, c.indices, 1, nullptr, nullptr, 0);
        EXPECT_EQ(model->name, "self_made");
        EXPECT_EQ(model->GetPrimitiveCount(), c.primitives) << c.flags << " " << c.indices;
        services.models->DeleteModel(model);
    }
}

TEST_F(ModelTest, LoadedStaticModelFillsItsBuffer) {
    Model* model = Load(VelmoraTest::QuadModel(0.5f), "models\\quad.mlf", 0x20);
    EXPECT_EQ(model->name, "models\\quad.mlf");
    EXPECT_EQ(model->GetFlags(), 0x422C9u | 0x20u);
    EXPECT_TRUE(model->vertexBuffer->HasColor());
    ExpectNear(PositionOf(*model, 2), Vec3(1, 1, 0.5f), "vertex 2");
    EXPECT_EQ(model->GetColor(), Vec4(1, 1, 1, 1)); // no colours in the file: white
    EXPECT_EQ(model->GetPrimitiveCount(), 2u);
    EXPECT_EQ(model->material->stageCount, 0u); // no material file beside it
}

TEST_F(ModelTest, BrokenFileGivesTheLoggedPlaceholderBox) {
    VbFormats::ModelDescription future = VelmoraTest::QuadModel();
    future.version = 203;
    services.data.Save("models/future.mlf", ModelWriter::Write(future, {.skipChecks = true}));
    struct Case {
        std::string name;
        std::string logged;
    };
    const Case cases[] = {
        {"models\\future.mlf", "Incorrect \"models\\future.mlf\" format version, current is 202"},
        {"models\\absent.mlf", "Failed to open"},
    };
    for (const Case& c : cases) {
        Model* model = services.models->LoadModel(c.name, nullptr, 0, 0);
        owned.emplace_back(model);
        EXPECT_EQ(model->name, c.name);
        EXPECT_EQ(model->box.GetLocalMin(), Vec3(-1, -1, -1));
        EXPECT_EQ(model->box.GetLocalMax(), Vec3(1, 1, 1));
        EXPECT_EQ(model->GetPrimitiveCount(), 12u);
        EXPECT_TRUE(services.log.Contains(c.logged)) << c.name;
        for (Model* registered : services.models->GetModels())
            EXPECT_NE(registered, model) << "a loaded model is never registered";
    }
}

TEST_F(ModelTest, VertexAnimationBlendsFramesAndBoxes) {
    Model* model = Load(VelmoraTest::AnimatedQuad(4, 10));
    InFront(model);
    model->animationControl->Play();
    services.timers.frameTime = 0.05f; // half a frame per update
    model->Update(true);
    ASSERT_GT(model->GetDrawnPrimitives(), 0u);
    ExpectNear(PositionOf(*model, 0), Vec3(-0.5f, -1, 0), "frame 0.5, vertex 0");
    EXPECT_NEAR(model->box.GetWorldMin().x, -0.5f, 1e-4f);
    EXPECT_NEAR(model->box.GetWorldMin().z, -10, 1e-4f); // the box follows the transform
    model->Update(true);
    model->Update(true);
    model->Update(true); // position 2.0: frame 2 exactly
    ExpectNear(PositionOf(*model, 1), Vec3(3, -1, 0), "frame 2, vertex 1");
}

TEST_F(ModelTest, AnimatedVerticesAreRewrittenOnlyWhenTheFrameChanges) {
    Model* model = Load(VelmoraTest::AnimatedQuad(4, 10));
    InFront(model);
    model->animationControl->Play();
    services.timers.frameTime = 0.05f;
    model->Update(true);
    // A mark in the buffer survives updates that do not move the animation...
    PlainVertex* v = model->vertexBuffer->LockPlainVertices(0, 1);
    v->position.y = 42;
    model->vertexBuffer->Unlock();
    model->animationControl->speed = 0;
    model->Update(true);
    EXPECT_FLOAT_EQ(PositionOf(*model, 0).y, 42);
    // ...and goes with the next one that does.
    model->animationControl->speed = 10;
    model->Update(true);
    EXPECT_FLOAT_EQ(PositionOf(*model, 0).y, -1);
}

TEST_F(ModelTest, HiddenModelAdvancesItsClockOnly) {
    Model* model = Load(VelmoraTest::AnimatedQuad(4, 10));
    InFront(model);
    model->animationControl->Play();
    services.timers.frameTime = 0.1f;
    model->ClearFlags(ModelVisible);
    const Vec3 before = PositionOf(*model, 0);
    model->Update(true);
    EXPECT_EQ(model->animationControl->currentFrame, 1u);
    EXPECT_EQ(PositionOf(*model, 0), before);
    EXPECT_EQ(model->GetDrawnPrimitives(), 0u);
}

TEST_F(ModelTest, SkinnedVerticesFollowTheirBones) {
    Model* model = Load(VelmoraTest::SkinnedQuad(4, 10));
    // Loading leaves only the texture coordinates in the buffer.
    ExpectNear(PositionOf(*model, 2), Vec3(0, 0, 0), "before the first update");
    InFront(model);
    model->animationControl->Play();
    services.timers.frameTime = 0.05f;
    model->Update(true); // frames 0 and 1 blended by 0.5: the upper bone is lifted by 0.5
    ExpectNear(PositionOf(*model, 0), Vec3(-1, -1, 0), "lower bone");
    ExpectNear(PositionOf(*model, 2), Vec3(1, 1, 0.5f), "upper bone");
    EXPECT_NEAR(model->box.GetWorldMax().z, -10 + 0.5f + 0.1f, 1e-4f);

    // A version 201 file (no pivots) with the same content skins the same.
    Model* old = Load(VelmoraTest::SkinnedQuad(4, 10, 201), "models\\old.mlf");
    InFront(old);
    old->animationControl->Play();
    old->Update(true);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(PositionOf(*old, i), PositionOf(*model, i)) << i;
}

TEST_F(ModelTest, CullingAndSortDepth) {
    Model* front = Box();
    InFront(front, 10);
    front->Update(true);
    EXPECT_EQ(front->GetDrawnPrimitives(), 12u);
    EXPECT_NEAR(front->sortDepth, 10, 1e-4f);

    Model* behind = Box();
    behind->transform = Matrix4::Translation(Vec3(0, 0, 10));
    behind->box.SetTransform(behind->transform);
    behind->sortDepth = 7;
    behind->Update(true);
    EXPECT_EQ(behind->GetDrawnPrimitives(), 0u);
    EXPECT_EQ(behind->sortDepth, 7); // culled: no depth computed
    behind->Update(false);
    EXPECT_EQ(behind->GetDrawnPrimitives(), 12u);

    Model* fixed = Box(ModelFixedSortDepth);
    InFront(fixed, 10);
    fixed->sortDepth = -15;
    fixed->Update(true);
    EXPECT_EQ(fixed->sortDepth, -15);
}

TEST_F(ModelTest, RayPicksReadTrianglesThroughTheIndices) {
    Model* box = Box();
    box->transform = Matrix4::Translation(Vec3(10, 0, 0));
    box->box.SetTransform(box->transform);
    // From above onto the top face: triangles 10 and 11, whose vertices are 16 to 19. Off the face's
    // diagonal, where the vertices taken three by three (15 to 17) would form a slanted triangle 4.5 below.
    const Ray down(Vec3(10.5f, 5, -0.5f), Vec3(0, -10, 0));
    float distance = -1;
    EXPECT_TRUE(box->RayPick(down, &distance));
    EXPECT_NEAR(distance, 4, 1e-4f); // the near face, not the bottom one at 6

    // Without a distance the first triangle hit answers.
    EXPECT_TRUE(box->RayPick(Ray(Vec3(10, 0, 5), Vec3(0, 0, -10)), nullptr));

    // A ray beside the box: false, the distance untouched.
    distance = -1;
    EXPECT_FALSE(box->RayPick(Ray(Vec3(0, 5, 0), Vec3(0, -10, 0)), &distance));
    EXPECT_EQ(distance, -1);

    // A strip model: a quad as the strip 0 1 3 2.
    Model* strip = services.models->CreateModelFromArrays(0x1, 4, 4, 1, nullptr, nullptr, 0);
    PlainVertex* v = strip->vertexBuffer->LockPlainVertices(0, 4);
    v[0].position = Vec3(-1, -1, 0);
    v[1].position = Vec3(1, -1, 0);
    v[2].position = Vec3(1, 1, 0);
    v[3].position = Vec3(-1, 1, 0);
    strip->vertexBuffer->Unlock();
    const uint32_t order[4] = {0, 1, 3, 2};
    strip->indexBuffer->SetIndices(0, 4, order);
    strip->ComputeBoundingBox(strip->box);
    EXPECT_TRUE(strip->RayPick(Ray(Vec3(0.9f, 0.9f, 3), Vec3(0, 0, -6)), &distance));
    EXPECT_NEAR(distance, 3, 1e-4f);
    services.models->DeleteModel(strip);
}

TEST_F(ModelTest, CopiesOwnTheirBuffersAndMaterial) {
    Model* source = Load(VelmoraTest::AnimatedQuad(3, 5));
    source->transform = Matrix4::Translation(Vec3(1, 2, 3));
    Model* copy = services.models->CreateModelCopy(*source, nullptr, 0x20);
    EXPECT_EQ(copy->name, source->name);
    EXPECT_EQ(copy->GetFlags(), source->GetFlags() | 0x20u);
    EXPECT_TRUE(copy->vertexBuffer->HasColor());
    EXPECT_NE(copy->vertexBuffer, source->vertexBuffer);
    EXPECT_NE(copy->material, source->material);
    EXPECT_EQ(copy->GetCamera(), source->GetCamera());
    EXPECT_NEAR(copy->box.GetWorldMin().z, 3, 1e-4f);
    EXPECT_EQ(copy->animationControl->frameCount, 3u);
    // The copy animates from its own frames.
    InFront(copy);
    copy->animationControl->Play();
    services.timers.frameTime = 0.2f; // one frame
    copy->Update(true);
    ExpectNear(PositionOf(*copy, 0), Vec3(0, -1, 0), "copy at frame 1");
}

} // namespace

// A state the program cannot go on from is not a broken file: it reaches the top level instead of turning
// into a placeholder box.
TEST(ModelLoading, AFatalErrorPassesThroughLoading) {
    struct FatalIndexBuffers : VelmoraTest::RecordingRenderSystem {
        using RecordingRenderSystem::RecordingRenderSystem;
        IndexBuffer* CreateIndexBuffer(int32_t, uint32_t) override { throw FatalError("out of buffers"); }
    };
    VelmoraTest::ModelServices services;
    services.render = std::make_unique<FatalIndexBuffers>(2);
    services.render->ready = true;
    services.data.Save("models/m.mlf", ModelWriter::Write(VelmoraTest::QuadModel()));
    EXPECT_THROW(delete services.models->LoadModel("models\\m.mlf", nullptr, 0, 0), FatalError);
}
