// ctest-label: gameplay
// The collision world and its contact search: single-triangle contact cases with their analytic distances,
// the nearest-group list policy, sweeps against box colliders in world units, and the overflow ends.
#include "game/play/Physics.h"

#include "engine/core/Error.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace OrvexEngine;
using VelmoraBall::Physics;
using VelmoraBall::PhysicsContact;

namespace {

struct ContactCase {
    const char* what;
    Vec3 a, b, c; // the triangle, normal (b - a) x (c - a)
    Vec3 centre, step;
    int kind; // 0: no contact
    float distance;
    Vec3 normal; // of the contact plane, when there is a contact
};

const Vec3 wideA(-10, -10, 0), wideB(10, -10, 0), wideC(0, 10, 0);
const Vec3 cornerA(0, 0, 0), cornerB(10, 0, 0), cornerC(0, 10, 0);
const Vec3 edgeA(-10, 0, 0), edgeB(10, 0, 0), edgeC(0, 10, 0);
const float root075 = std::sqrt(0.75f), root05 = std::sqrt(0.5f);

Vec3 Unit(float x, float y, float z) {
    return Vec3(x, y, z).Normalized();
}

void ExpectNear(const Vec3& actual, const Vec3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}

BoundingBox Box(const Vec3& min, const Vec3& max) {
    return BoundingBox::FromMinMax(min, max);
}

} // namespace

TEST(PhysicsContacts, SingleTriangleCases) {
    const ContactCase cases[] = {
        {"face head-on", wideA, wideB, wideC, {0, 0, 3}, {0, 0, -5}, PhysicsContact::KindFace, 2, {0, 0, 1}},
        {"face at the step's very end",
         wideA,
         wideB,
         wideC,
         {0, 0, 3},
         {0, 0, -2},
         PhysicsContact::KindFace,
         2,
         {0, 0, 1}},
        {"face beyond the step", wideA, wideB, wideC, {0, 0, 3}, {0, 0, -1.9f}, 0, 0, {}},
        {"embedded, whatever the step",
         wideA,
         wideB,
         wideC,
         {0, 0, 0.5f},
         {3, 0, 0},
         PhysicsContact::KindEmbedded,
         -0.5f,
         {0, 0, 1}},
        {"embedded with a zero step",
         wideA,
         wideB,
         wideC,
         {1, 1, 0.25f},
         {0, 0, 0},
         PhysicsContact::KindEmbedded,
         -0.75f,
         {0, 0, 1}},
        {"centre behind the face", wideA, wideB, wideC, {0, 0, -3}, {0, 0, 5}, 0, 0, {}},
        {"centre on the plane", wideA, wideB, wideC, {0, 0, 0}, {0, 0, -1}, 0, 0, {}},
        {"sliding along the face", wideA, wideB, wideC, {0, 0, 1.5f}, {5, 0, 0}, 0, 0, {}},
        {"moving away from the face", wideA, wideB, wideC, {0, 0, 3}, {0, 0, 5}, 0, 0, {}},
        {"edge only on the path",
         edgeA,
         edgeB,
         edgeC,
         {0, -0.5f, 3},
         {0, 0, -5},
         PhysicsContact::KindEdge,
         3 - root075,
         Unit(0, -0.5f, root075)},
        {"edge beyond the step", edgeA, edgeB, edgeC, {0, -0.5f, 3}, {0, 0, -2}, 0, 0, {}},
        {"vertex only on the path",
         cornerA,
         cornerB,
         cornerC,
         {-0.5f, -0.5f, 3},
         {0, 0, -5},
         PhysicsContact::KindVertex,
         3 - root05,
         Unit(-0.5f, -0.5f, root05)},
        {"passing wide of the corner", cornerA, cornerB, cornerC, {-1.5f, -1.5f, 3}, {0, 0, -5}, 0, 0, {}},
        {"moving away from the vertex",
         cornerA,
         cornerB,
         cornerC,
         {-0.5f, -0.5f, 1.2f},
         {-3, -3, -0.5f},
         0,
         0,
         {}},
        {"embedded at the edge",
         edgeA,
         edgeB,
         edgeC,
         {0, -0.6f, 0.6f},
         {0, 1, 0},
         PhysicsContact::KindEmbedded,
         std::sqrt(0.72f) - 1,
         Unit(0, -0.6f, 0.6f)},
    };
    for (const ContactCase& c : cases) {
        Physics physics;
        physics.AddTriangle(c.a, c.b, c.c, 5);
        physics.FindContacts(c.centre, c.step);
        if (c.kind == 0) {
            EXPECT_EQ(physics.GetContactCount(), 0u) << c.what;
            continue;
        }
        ASSERT_EQ(physics.GetContactCount(), 1u) << c.what;
        const PhysicsContact& contact = physics.GetContact(0);
        EXPECT_EQ(contact.kind, c.kind) << c.what;
        EXPECT_NEAR(contact.distance, c.distance, 1e-4f) << c.what;
        ExpectNear(contact.plane.GetNormal(), c.normal, c.what);
    }
}

TEST(PhysicsContacts, NearestGroupWithinATenThousandthAndAtMostFour) {
    auto AddFloor = [](Physics& physics, float z, int id) {
        physics.AddTriangle({-10, -10, z}, {10, -10, z}, {0, 10, z}, id);
    };
    {
        Physics physics; // two ties, then a nearer one by more than 0.0001
        AddFloor(physics, 0, 1);
        AddFloor(physics, 0.00005f, 2);
        physics.FindContacts({0, 0, 3}, {0, 0, -5});
        ASSERT_EQ(physics.GetContactCount(), 2u);
        EXPECT_EQ(physics.GetContact(0).triangle, 0u);
        EXPECT_EQ(physics.GetContact(1).triangle, 1u);
        AddFloor(physics, 0.5f, 3);
        physics.FindContacts({0, 0, 3}, {0, 0, -5});
        ASSERT_EQ(physics.GetContactCount(), 1u);
        EXPECT_EQ(physics.GetContact(0).triangle, 2u);
        EXPECT_NEAR(physics.GetContact(0).distance, 1.5f, 1e-5f);
    }
    {
        Physics physics; // a farther contact found later is dropped
        AddFloor(physics, 0.5f, 1);
        AddFloor(physics, 0, 2);
        physics.FindContacts({0, 0, 3}, {0, 0, -5});
        ASSERT_EQ(physics.GetContactCount(), 1u);
        EXPECT_EQ(physics.GetContact(0).triangle, 0u);
    }
    {
        Physics physics; // four ties end the search: the nearer fifth is never examined
        for (int i = 0; i < 4; ++i)
            AddFloor(physics, 0, i);
        AddFloor(physics, 0.5f, 4);
        physics.FindContacts({0, 0, 3}, {0, 0, -5});
        ASSERT_EQ(physics.GetContactCount(), 4u);
        EXPECT_NEAR(physics.GetContact(0).distance, 2.0f, 1e-5f);
        EXPECT_EQ(physics.GetContact(3).triangle, 3u);
    }
}

TEST(PhysicsContacts, GeometricHelpers) {
    bool inside = true;
    ExpectNear(Physics::ClosestPointOnSegment({0, 0, 0}, {4, 0, 0}, {-1, 2, 0}, inside), {0, 0, 0}, "before");
    EXPECT_FALSE(inside);
    ExpectNear(Physics::ClosestPointOnSegment({0, 0, 0}, {4, 0, 0}, {5, 2, 0}, inside), {4, 0, 0}, "after");
    EXPECT_FALSE(inside);
    ExpectNear(Physics::ClosestPointOnSegment({0, 0, 0}, {4, 0, 0}, {4, 2, 0}, inside), {4, 0, 0},
               "at the end");
    EXPECT_TRUE(inside);
    ExpectNear(Physics::ClosestPointOnLine({0, 0, 0}, {4, 0, 0}, {7, 2, 1}), {7, 0, 0}, "line");
    float distance = 0;
    ASSERT_TRUE(Physics::IntersectRayUnitSphere({0, 0, 0}, {1, 0, 0}, {3, 0, 0}, distance));
    EXPECT_FLOAT_EQ(distance, 2.0f);
    ASSERT_TRUE(Physics::IntersectRayUnitSphere({0, 0, 0}, {1, 0, 0}, {-3, 0, 0}, distance));
    EXPECT_FLOAT_EQ(distance, -4.0f);
    EXPECT_FALSE(Physics::IntersectRayUnitSphere({0, 0, 0}, {1, 0, 0}, {3, 1.5f, 0}, distance));
    EXPECT_TRUE(Physics::IsBetween({0, 0, 0}, {2, 0, 0}, {2, 0, 0}));
    EXPECT_FALSE(Physics::IsBetween({0, 0, 0}, {2, 0, 0}, {2.01f, 0, 0}));
}

TEST(PhysicsSweep, EmptyWorldMovesTheWholeStep) {
    Physics physics;
    Vec2 position;
    Plane plane;
    plane.Set(1, 0, 0, 7);
    int id = -1;
    EXPECT_FALSE(physics.Sweep(2, {1, 2, 3}, {4, -5}, {}, position, plane, id));
    EXPECT_FLOAT_EQ(position.x, 5);
    EXPECT_FLOAT_EQ(position.y, -3);
    // A miss leaves the caller's plane and id alone, and the world's own plane is defined from the start.
    EXPECT_FLOAT_EQ(plane.GetD(), 7);
    EXPECT_EQ(id, -1);
    ExpectNear(physics.GetResultPlane().GetNormal(), {0, 0, 1}, "initial plane");
}

TEST(PhysicsSweep, BoxesInWorldUnits) {
    struct SweepCase {
        const char* what;
        float radius;
        Vec3 centre;
        Vec2 step;
        bool hit;
        Vec2 position;
        Vec3 normal;
        float d;
    };
    // One static box x -50..50, y 4..9, z -50..50 with id 11.
    const SweepCase cases[] = {
        {"radius 2 towards -y face", 2, {0, -10, 2}, {0, 20}, true, {0, 2}, {0, -1, 0}, 4},
        {"radius 1 stops one unit short", 1, {3, 0, 0}, {0, 10}, true, {3, 3}, {0, -1, 0}, 4},
        {"step ending exactly at the contact", 1, {0, 0, 0}, {0, 3}, true, {0, 3}, {0, -1, 0}, 4},
        {"step ending short of it", 1, {0, 0, 0}, {0, 2.9f}, false, {0, 2.9f}, {}, 0},
        {"towards the +y face", 1, {0, 20, 0}, {0, -20}, true, {0, 10}, {0, 1, 0}, -9},
        {"towards the -x face", 1, {-60, 6, 0}, {20, 0}, true, {-51, 6}, {-1, 0, 0}, -50},
        {"towards the +x face", 1, {60, 6, 0}, {-20, 0}, true, {51, 6}, {1, 0, 0}, -50},
        {"embedded: pushed out along the normal", 1, {0, 3.5f, 0}, {0, 5}, true, {0, 3}, {0, -1, 0}, 4},
        {"leaving through the inside", 1, {0, 6.5f, 0}, {0, 20}, false, {0, 26.5f}, {}, 0},
    };
    for (const SweepCase& c : cases) {
        Physics physics;
        physics.AddStaticBox(Box({-50, 4, -50}, {50, 9, 50}), 11);
        Vec2 position;
        Plane plane;
        int id = -1;
        ASSERT_EQ(physics.Sweep(c.radius, c.centre, c.step, {}, position, plane, id), c.hit) << c.what;
        EXPECT_NEAR(position.x, c.position.x, 1e-4f) << c.what;
        EXPECT_NEAR(position.y, c.position.y, 1e-4f) << c.what;
        if (!c.hit)
            continue;
        EXPECT_EQ(id, 11) << c.what;
        ExpectNear(plane.GetNormal(), c.normal, c.what);
        EXPECT_NEAR(plane.GetD(), c.d, 1e-3f) << c.what;
    }
}

TEST(PhysicsSweep, IgnoredIdsTiesAndPlacedBoxes) {
    Physics physics;
    physics.AddStaticBox(Box({-5, 4, -5}, {5, 6, 5}), 7);
    physics.AddStaticBox(Box({-5, 4, -5}, {5, 8, 5}), 3); // the same -y face, registered second
    Vec2 position;
    Plane plane;
    int id = -1;
    ASSERT_TRUE(physics.Sweep(1, {0, 0, 0}, {0, 10}, {}, position, plane, id));
    EXPECT_EQ(id, 7);
    ASSERT_TRUE(physics.Sweep(1, {0, 0, 0}, {0, 10}, {7}, position, plane, id));
    EXPECT_EQ(id, 3);
    EXPECT_FALSE(physics.Sweep(1, {0, 0, 0}, {0, 10}, {3, 7}, position, plane, id));
    EXPECT_FLOAT_EQ(position.y, 10);

    // A placed box reaches the broad phase 1000 units above it, but only its real faces stop a sphere.
    physics.ClearObjects();
    physics.AddBoxObject(Box({-1, -1, 0}, {1, 1, 10}), Matrix4::Translation({0, 20, 0}), 4);
    EXPECT_FALSE(physics.Sweep(1, {0, 0, 500}, {0, 40}, {}, position, plane, id));
    EXPECT_EQ(physics.GetTriangleCount(), 12u);
    id = -1;
    ASSERT_TRUE(physics.Sweep(1, {0, 0, 5}, {0, 40}, {}, position, plane, id));
    EXPECT_EQ(id, 4);
    EXPECT_NEAR(position.y, 18, 1e-4f);
    // Far beside it the broad phase collects nothing.
    EXPECT_FALSE(physics.Sweep(1, {100, 0, 5}, {0, 40}, {}, position, plane, id));
    EXPECT_EQ(physics.GetTriangleCount(), 0u);
}

TEST(PhysicsSweep, OverflowsEndTheProgram) {
    VelmoraTest::TestLog log;
    Physics physics;
    for (uint32_t i = 0; i < Physics::MaxObjects; ++i)
        physics.AddStaticBox(Box({0, 0, 0}, {1, 1, 1}), static_cast<int>(i));
    try {
        physics.AddStaticBox(Box({0, 0, 0}, {1, 1, 1}), 786);
        FAIL() << "the 787th object was taken";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "Physics: objects buffer overflow");
    }
    EXPECT_TRUE(log.Contains("PROGRAM ABORTING: Physics: objects buffer overflow"));

    physics.ClearObjects();
    for (uint32_t i = 0; i < Physics::MaxTriangles; ++i)
        physics.AddTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0);
    try {
        physics.AddTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0);
        FAIL() << "the 16385th triangle was taken";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "Physics: triangles buffer overflow");
    }
}
