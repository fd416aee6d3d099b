// ctest-label: core
#include "engine/math/Frustum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

BoundingBox Sphere(const Vec3& centre, const Vec3& half) {
    return BoundingBox::FromMinMax(centre - half, centre + half);
}

// Matrices as a camera stores them: the row-vector layout, the transpose of the column-vector matrix.
Matrix4 Stored(Matrix4 columnConvention) {
    columnConvention.Transpose();
    return columnConvention;
}

// A right-handed perspective looking down -z, clip depth -1..1: 90 degrees vertically, square, near 1, far
// 100.
Matrix4 Perspective() {
    const float n = 1, f = 100;
    Matrix4 p;
    p.m[0] = 1;
    p.m[5] = 1;
    p.m[10] = (n + f) / (n - f);
    p.m[11] = 2 * n * f / (n - f);
    p.m[14] = -1;
    p.m[15] = 0;
    return p;
}

} // namespace

// With identity matrices the clip volume is the cube -1..1; the planes come in the fixed order.
TEST(Frustum, PlanesComeInTheirOrder) {
    Frustum frustum;
    frustum.FromMatrices(Matrix4::Identity(), Matrix4::Identity());
    const float expected[6][4] = {{-1, 0, 0, 1}, {1, 0, 0, 1},  {0, 1, 0, 1},
                                  {0, -1, 0, 1}, {0, 0, -1, 1}, {0, 0, 1, 1}};
    for (int i = 0; i < Frustum::planeCount; ++i) {
        SCOPED_TRACE(i);
        const Plane& p = frustum.GetPlane(i);
        EXPECT_NEAR(p.GetA(), expected[i][0], 1e-6f);
        EXPECT_NEAR(p.GetB(), expected[i][1], 1e-6f);
        EXPECT_NEAR(p.GetC(), expected[i][2], 1e-6f);
        EXPECT_NEAR(p.GetD(), expected[i][3], 1e-6f);
    }
}

TEST(Frustum, CullsSpheresOfTheUnitCube) {
    Frustum frustum;
    frustum.FromMatrices(Matrix4::Scaling(Vec3(0.5f, 0.5f, 0.5f)), Matrix4::Identity()); // the cube -2..2
    struct Case {
        std::string name;
        BoundingBox box;
        bool visible;
    };
    // The planes are normalised, so a sphere of radius 1 centred at x = 3 touches the side x = 2.
    const std::vector<Case> cases = {
        {"at the centre", Sphere(Vec3(0, 0, 0), Vec3(0.5f, 0.5f, 0.5f)), true},
        {"degenerate radius 0.0005 at the centre", Sphere(Vec3(0, 0, 0), Vec3(0.0005f, 0, 0)), false},
        {"radius 0.001 at the centre", Sphere(Vec3(0, 0, 0), Vec3(0.001f, 0, 0)), true},
        {"touching the right side from outside", Sphere(Vec3(3, 0, 0), Vec3(1, 0, 0)), false},
        {"overlapping the right side", Sphere(Vec3(2.9f, 0, 0), Vec3(1, 0, 0)), true},
        {"beyond the left side", Sphere(Vec3(-4, 0, 0), Vec3(1, 1, 1)), false},
        {"above", Sphere(Vec3(0, 4, 0), Vec3(1, 1, 1)), false},
        {"below", Sphere(Vec3(0, -4, 0), Vec3(1, 1, 1)), false},
        {"behind", Sphere(Vec3(0, 0, 4), Vec3(1, 1, 1)), false},
        {"in front", Sphere(Vec3(0, 0, -4), Vec3(1, 1, 1)), false},
        {"large sphere around everything", Sphere(Vec3(10, 0, 0), Vec3(20, 20, 20)), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frustum.IntersectsSphere(c.box), c.visible);
    }
}

// A camera at (0, 0, 10) looking down -z: the view must act before the projection, which only holds when the
// planes are taken from view * projection of the stored matrices.
TEST(Frustum, CullsSpheresAroundAPerspectiveCamera) {
    Frustum frustum;
    frustum.FromMatrices(Stored(Perspective()), Stored(Matrix4::Translation(Vec3(0, 0, -10))));
    const Vec3 small(0.5f, 0.5f, 0.5f);
    struct Case {
        std::string name;
        Vec3 centre;
        bool visible;
    };
    const std::vector<Case> cases = {
        {"origin, in front of the camera", Vec3(0, 0, 0), true},
        {"right edge of the view at the origin's depth", Vec3(9.5f, 0, 0), true},
        {"right of the view", Vec3(12, 0, 0), false},
        {"left of the view", Vec3(-12, 0, 0), false},
        {"above the view", Vec3(0, 12, 0), false},
        {"below the view", Vec3(0, -12, 0), false},
        {"behind the camera", Vec3(0, 0, 15), false},
        {"between camera and near plane", Vec3(0, 0, 9.95f), false},
        {"far away but inside", Vec3(0, 0, -85), true},
        {"beyond the far plane", Vec3(0, 0, -95), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frustum.IntersectsSphere(Sphere(c.centre, small)), c.visible);
    }
}
