// ctest-label: core
#include "engine/math/Plane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

Plane Make(float a, float b, float c, float d) {
    Plane p;
    p.Set(a, b, c, d);
    return p;
}

void ExpectPlane(const Plane& p, float a, float b, float c, float d) {
    EXPECT_NEAR(p.GetA(), a, 1e-6f);
    EXPECT_NEAR(p.GetB(), b, 1e-6f);
    EXPECT_NEAR(p.GetC(), c, 1e-6f);
    EXPECT_NEAR(p.GetD(), d, 1e-6f);
}

} // namespace

TEST(Plane, BuildersNormaliseAndFollowTheWinding) {
    Plane p;
    p.FromPoints(Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0));
    ExpectPlane(p, 0, 0, 1, 0);
    p.FromPoints(Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 0, 0));
    ExpectPlane(p, 0, 0, -1, 0);
    const Vec3 corners[3] = {Vec3(0, 0, 3), Vec3(2, 0, 3), Vec3(0, 2, 3)};
    p.FromTriangle(corners);
    ExpectPlane(p, 0, 0, 1, -3);
    p.FromNormalAndPoint(Vec3(0, 3, 0), Vec3(1, 2, 3));
    ExpectPlane(p, 0, 1, 0, -2);
    ExpectPlane(Make(0, 0, 2, 4), 0, 0, 1, 2);
    // A normal too short to normalise is kept as given, never divided by.
    ExpectPlane(Make(0, 0, 0, 5), 0, 0, 0, 5);
    ExpectPlane(Make(0, 0, 0.00005f, 5), 0, 0, 0.00005f, 5);
}

TEST(Plane, DistanceIsSignedAndProjectionLandsOnThePlane) {
    Plane p = Make(0, 0, 2, -4); // z = 2
    EXPECT_FLOAT_EQ(p.DistanceTo(Vec3(1, 1, 5)), 3);
    EXPECT_FLOAT_EQ(p.DistanceTo(Vec3(1, 1, 0)), -2);
    Vec3 projected = p.ProjectPoint(Vec3(1, -1, 5));
    EXPECT_TRUE(projected == Vec3(1, -1, 2));
}

TEST(Plane, IntersectRayHitsOnlyAheadOfTheOrigin) {
    const Plane p = Make(0, 0, 1, -2); // z = 2
    struct Case {
        std::string name;
        Ray ray;
        bool hit;
        float t; // 99: left untouched
    };
    const std::vector<Case> cases = {
        {"ahead", Ray(Vec3(0, 0, -1), Vec3(0, 0, 1)), true, 3},
        {"t counts direction lengths", Ray(Vec3(5, 5, -1), Vec3(1, 0, 2)), true, 1.5f},
        {"coming from above", Ray(Vec3(0, 0, 4), Vec3(0, 0, -1)), true, 2},
        {"behind the origin: t stored", Ray(Vec3(0, 0, 4), Vec3(0, 0, 1)), false, -2},
        {"origin on the plane: t stored", Ray(Vec3(3, 0, 2), Vec3(0, 0, 1)), false, 0},
        {"nearly parallel", Ray(Vec3(0, 0, 0), Vec3(1, 0, 0.00005f)), false, 99},
        {"zero direction", Ray(Vec3(0, 0, 0), Vec3(0, 0, 0)), false, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        float t = 99;
        EXPECT_EQ(p.IntersectRay(c.ray, t), c.hit);
        EXPECT_FLOAT_EQ(t, c.t);
    }
}

TEST(Plane, PointInTriangleCountsEdgesAndCornersAsInside) {
    struct Case {
        std::string name;
        Vec3 a, b, c, point;
        bool inside;
    };
    // Both solving branches: b - a with and without a zero first kept coordinate.
    const Vec3 a(0, 0, 0), b(4, 0, 0), c(0, 4, 0);
    const Vec3 b2(0, 4, 0), c2(4, 0, 0);
    const std::vector<Case> cases = {
        {"corner a", a, b, c, a, true},
        {"corner b", a, b, c, b, true},
        {"corner c", a, b, c, c, true},
        {"on the hypotenuse", a, b, c, Vec3(2, 2, 0), true},
        {"on an axis edge", a, b, c, Vec3(1, 0, 0), true},
        {"inside", a, b, c, Vec3(1, 1, 0), true},
        {"beyond the hypotenuse", a, b, c, Vec3(2.1f, 2, 0), false},
        {"left of a", a, b, c, Vec3(-0.1f, 1, 0), false},
        {"below a", a, b, c, Vec3(1, -0.1f, 0), false},
        {"branch b-a vertical: inside", a, b2, c2, Vec3(1, 2, 0), true},
        {"branch b-a vertical: corner", a, b2, c2, b2, true},
        {"branch b-a vertical: outside", a, b2, c2, Vec3(3, 3, 0), false},
        {"branch b-a vertical: behind a", a, b2, c2, Vec3(-1, 1, 0), false},
        {"upright triangle", Vec3(0, 0, 0), Vec3(0, 0, 2), Vec3(0, 2, 0), Vec3(0, 0.5f, 0.5f), true},
        {"upright triangle, outside", Vec3(0, 0, 0), Vec3(0, 0, 2), Vec3(0, 2, 0), Vec3(0, 1.5f, 1.5f),
         false},
        {"degenerate: a line", Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(2, 0, 0), Vec3(1, 0, 0), false},
        {"degenerate: one point", Vec3(1, 1, 1), Vec3(1, 1, 1), Vec3(1, 1, 1), Vec3(1, 1, 1), false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Plane plane;
        plane.FromPoints(k.a, k.b, k.c);
        EXPECT_EQ(PointInTriangle(plane, k.a, k.b, k.c, k.point), k.inside);
    }
}

// A normal with |x| = |y| drops x: a point off the plane shows which two coordinates were compared,
// since it is inside the triangle seen along x and outside it seen along y.
TEST(Plane, PointInTriangleTieDropsXFirst) {
    const Vec3 a(0, 0, 0), b(1, -1, 0), c(0, 0, 1);
    Plane plane;
    plane.FromPoints(a, b, c);
    ASSERT_FLOAT_EQ(std::fabs(plane.GetA()), std::fabs(plane.GetB()));
    EXPECT_TRUE(PointInTriangle(plane, a, b, c, Vec3(5, -0.25f, 0.25f)));
    EXPECT_FALSE(PointInTriangle(plane, a, b, c, Vec3(-0.25f, 5, 0.25f)));
}
