// ctest-label: models
#include "engine/graphics/SpriteGroup.h"

#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace OrvexEngine;

namespace {

class SpriteGroupTest : public testing::Test {
protected:
    SpriteGroup* Group(uint32_t count) {
        return services.sprites->CreateSpriteGroup(count, nullptr, nullptr, 0);
    }
    static const ColoredVertex& Vertex(const SpriteGroup& group, uint32_t i) {
        return reinterpret_cast<const ColoredVertex*>(group.GetModel()->vertexBuffer->GetData())[i];
    }
    static void ExpectNear(const Vec3& actual, const Vec3& expected, const std::string& what) {
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(actual[c], expected[c], 1e-4f) << what << " component " << c;
    }

    VelmoraTest::ModelServices services;
};

TEST_F(SpriteGroupTest, IdsComeFirstFreedFirstReused) {
    SpriteGroup* group = Group(100);
    for (uint32_t i = 0; i < 10; ++i)
        EXPECT_EQ(group->AddSprite(Vec3(), 1, Vec4(1.0f)), i);
    group->RemoveSprite(5);
    group->RemoveSprite(3);
    group->RemoveSprite(3);   // already free: a second removal would hand the id out twice
    group->RemoveSprite(500); // beyond the pool
    for (uint32_t i = 10; i < 100; ++i)
        ASSERT_EQ(group->AddSprite(Vec3(), 1, Vec4(1.0f)), i);
    EXPECT_EQ(group->AddSprite(Vec3(), 1, Vec4(1.0f)), 5u);
    EXPECT_EQ(group->AddSprite(Vec3(), 1, Vec4(1.0f)), 3u);
    // Full: no live id is handed out, and the live sprite 0 stays as it was.
    group->GetSprite(0).size = 7;
    EXPECT_EQ(group->AddSprite(Vec3(1, 2, 3), 2, Vec4(0.0f)), SpriteGroup::noSprite);
    EXPECT_EQ(group->GetSprite(0).size, 7);
    group->RemoveSprite(SpriteGroup::noSprite);
    EXPECT_FALSE(group->GetSprite(0).free);
}

TEST_F(SpriteGroupTest, QuadsFaceTheCamera) {
    SpriteGroup* group = Group(4);
    const uint32_t plain = group->AddSprite(Vec3(0, 0, -10), 1, Vec4(1.0f));
    group->BuildGeometry();
    ExpectNear(Vertex(*group, 0).position, Vec3(-1, -1, -10), "c0");
    ExpectNear(Vertex(*group, 1).position, Vec3(-1, 1, -10), "c1");
    ExpectNear(Vertex(*group, 2).position, Vec3(1, -1, -10), "c2");
    ExpectNear(Vertex(*group, 3).position, Vec3(1, 1, -10), "c3");
    EXPECT_EQ(Vertex(*group, 3).u, 1);
    EXPECT_EQ(Vertex(*group, 1).v, 1);
    EXPECT_EQ(group->GetModel()->indexBuffer->GetIndexCount(), 6u);
    EXPECT_EQ(group->GetModel()->indexBuffer->GetIndex(4), 1u); // 0 1 2 2 1 3

    group->GetSprite(plain).rotation = 1.5707964f;
    group->BuildGeometry();
    ExpectNear(Vertex(*group, 0).position, Vec3(1, -1, -10), "c0 turned a quarter");

    // The camera turned half round about y: its right axis is -x, so the corners swap sides.
    services.camera->orientation = Quaternion(0, 1, 0, 0);
    services.camera->Update(4.0f / 3.0f);
    group->GetSprite(plain).rotation = 0;
    group->GetSprite(plain).position = Vec3(0, 0, 10);
    group->BuildGeometry();
    ExpectNear(Vertex(*group, 0).position, Vec3(1, -1, 10), "c0 seen from behind");
}

TEST_F(SpriteGroupTest, ColoursMultiplyAndDepthSortsFarthestFirst) {
    SpriteGroup* group = Group(4);
    group->SetColor(Vec4(0.5f, 1, 1, 0.5f));
    const uint32_t nearId = group->AddSprite(Vec3(0, 0, -10), 1, Vec4(1, 0.5f, 0.5f, 1));
    group->AddSprite(Vec3(0, 0, -20), 2, Vec4(1.0f));
    group->BuildGeometry();
    // Farthest first: the size-2 sprite is quad 0.
    ExpectNear(Vertex(*group, 0).position, Vec3(-2, -2, -20), "far sprite first");
    const uint32_t grey = group->GetModel()->vertexBuffer->PackColor(Vec4(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(Vertex(*group, 4).color, grey);
    EXPECT_EQ(group->GetSprite(nearId).depth, 10);

    group->depthSort = false; // id order
    group->BuildGeometry();
    ExpectNear(Vertex(*group, 0).position, Vec3(-1, -1, -10), "id order");
    EXPECT_EQ(group->GetModel()->indexBuffer->GetIndexCount(), 12u);

    // An emptied group draws nothing; a hidden one is not rebuilt.
    group->RemoveSprite(0);
    group->RemoveSprite(1);
    group->BuildGeometry();
    EXPECT_EQ(group->GetModel()->indexBuffer->GetIndexCount(), 0u);
    group->AddSprite(Vec3(0, 0, -10), 1, Vec4(1.0f));
    group->SetVisible(false);
    services.sprites->Update();
    EXPECT_EQ(group->GetModel()->indexBuffer->GetIndexCount(), 0u);
    EXPECT_FALSE(group->IsVisible());
}

TEST_F(SpriteGroupTest, ManagerOwnsRegisteredGroupsAndCopies) {
    SpriteGroup* unregistered = services.sprites->NewSpriteGroup(3, nullptr, nullptr, 0);
    services.sprites->DeleteSpriteGroup(unregistered); // left alone
    EXPECT_EQ(unregistered->GetSpriteCount(), 3u);
    unregistered->AddSprite(Vec3(), 1, Vec4(1.0f));
    SpriteGroup* copy = services.sprites->CreateSpriteGroupCopy(*unregistered);
    EXPECT_NE(copy->GetModel(), unregistered->GetModel());
    EXPECT_EQ(copy->GetCamera(), unregistered->GetCamera());
    // The copy's records agree with its queue: sprite 0 is live, the next id is 1.
    EXPECT_FALSE(copy->GetSprite(0).free);
    EXPECT_EQ(copy->AddSprite(Vec3(), 1, Vec4(1.0f)), 1u);
    delete unregistered;
    services.sprites->DeleteSpriteGroup(copy);
}

} // namespace

// A sprite whose position went NaN must not break the depth sort of the others (a comparison that is false
// both ways is no ordering, and the sort may then run past its range).
TEST_F(SpriteGroupTest, NanDepthsLeaveTheOthersFarthestFirst) {
    const uint32_t count = 64;
    SpriteGroup* group = Group(count);
    const float nan = std::nanf("");
    uint32_t finite = 0;
    for (uint32_t i = 0; i < count; ++i) {
        // Depths in a shuffled order, every third sprite lost in NaN.
        float depth = static_cast<float>((i * 37) % count + 1);
        bool lost = i % 3 == 0;
        group->AddSprite(lost ? Vec3(nan, nan, nan) : Vec3(0, 0, -depth), 1, Vec4(1.0f));
        finite += lost ? 0 : 1;
    }
    group->BuildGeometry();
    std::vector<float> order;
    for (uint32_t quad = 0; quad < count; ++quad) {
        float z = Vertex(*group, 4 * quad).position.z;
        if (!std::isnan(z))
            order.push_back(z);
    }
    ASSERT_EQ(order.size(), finite);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << "farthest (most negative z) first";
}
