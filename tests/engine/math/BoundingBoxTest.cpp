// ctest-label: core
#include "engine/math/BoundingBox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

void ExpectVec(const Vec3& actual, const Vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

const BoundingBox unit = BoundingBox::FromMinMax(Vec3(-1, -1, -1), Vec3(1, 1, 1));

} // namespace

TEST(BoundingBox, TransformGivesTheAxisAlignedBoundsOfTheCorners) {
    BoundingBox box = unit;
    box.SetTransform(Matrix4::RotationZ(std::numbers::pi_v<float> / 4));
    const float r2 = std::sqrt(2.0f);
    ExpectVec(box.GetHalfSize(), Vec3(r2, r2, 1));
    ExpectVec(box.GetCentre(), Vec3(0, 0, 0));
    EXPECT_NEAR(box.GetRadius(), std::sqrt(5.0f), 1e-4f);
    ExpectVec(box.GetLocalMin(), Vec3(-1, -1, -1));

    box.SetTransform(Matrix4::Translation(Vec3(10, 0, 0)).Multiply(Matrix4::Scaling(Vec3(2, 3, 4))));
    ExpectVec(box.GetWorldMin(), Vec3(8, -3, -4));
    ExpectVec(box.GetWorldMax(), Vec3(12, 3, 4));
    ExpectVec(box.GetCentre(), Vec3(10, 0, 0));
    EXPECT_NEAR(box.GetRadius(), std::sqrt(29.0f), 1e-4f);

    // New local bounds drop the placement: the owner places the box again.
    box.Set(Vec3(0, 0, 0), Vec3(2, 2, 2));
    EXPECT_TRUE(box.GetTransform().Equals(Matrix4::Identity()));
    ExpectVec(box.GetWorldMin(), Vec3(0, 0, 0));
    ExpectVec(box.GetCentre(), Vec3(1, 1, 1));
}

// World bounds found by search start at +-100000, so they never leave that range.
TEST(BoundingBox, WorldBoundsStayWithinOneHundredThousand) {
    BoundingBox box = BoundingBox::FromMinMax(Vec3(200000, 0, 0), Vec3(300000, 1, 1));
    box.SetTransform(Matrix4::Identity());
    EXPECT_EQ(box.GetWorldMin().x, 100000.0f);
    EXPECT_EQ(box.GetWorldMax().x, 300000.0f);
}

TEST(BoundingBox, SetFromPointsBoundsThePointsOrIsInvertedWhenEmpty) {
    const Vec3 points[] = {Vec3(1, -2, 3), Vec3(-4, 5, 0), Vec3(2, 0, -6)};
    BoundingBox box = BoundingBox::FromPoints(3, points);
    ExpectVec(box.GetWorldMin(), Vec3(-4, -2, -6));
    ExpectVec(box.GetWorldMax(), Vec3(2, 5, 3));

    BoundingBox empty = BoundingBox::FromPoints(0, nullptr);
    ExpectVec(empty.GetLocalMin(), Vec3(100000, 100000, 100000));
    ExpectVec(empty.GetLocalMax(), Vec3(-100000, -100000, -100000));
    ExpectVec(empty.GetCentre(), Vec3(0, 0, 0));
    ExpectVec(empty.GetHalfSize(), Vec3(-100000, -100000, -100000));
    EXPECT_NEAR(empty.GetRadius(), std::sqrt(3.0f) * 100000, 1);
}

TEST(BoundingBox, MergeAndScaledGiveUntransformedBoxesFromWorldBounds) {
    BoundingBox moved = unit;
    moved.SetTransform(Matrix4::Translation(Vec3(5, 0, 0)));
    BoundingBox merged = unit;
    merged.Merge(moved);
    ExpectVec(merged.GetWorldMin(), Vec3(-1, -1, -1));
    ExpectVec(merged.GetWorldMax(), Vec3(6, 1, 1));
    ExpectVec(merged.GetLocalMax(), Vec3(6, 1, 1));
    EXPECT_TRUE(merged.GetTransform().Equals(Matrix4::Identity()));

    BoundingBox scaled = moved.Scaled(2);
    ExpectVec(scaled.GetWorldMin(), Vec3(3, -2, -2));
    ExpectVec(scaled.GetWorldMax(), Vec3(7, 2, 2));
    EXPECT_TRUE(scaled.GetTransform().Equals(Matrix4::Identity()));
}

TEST(BoundingBox, IntersectsWhenTouchingButNotAcrossAGap) {
    struct Case {
        std::string name;
        Vec3 min, max;
        bool hit;
    };
    const std::vector<Case> cases = {
        {"faces touch on x", Vec3(1, -1, -1), Vec3(3, 1, 1), true},
        {"gap of 0.001 on x", Vec3(1.001f, -1, -1), Vec3(3, 1, 1), false},
        {"gap of 0.001 on y", Vec3(-1, -3, -1), Vec3(1, -1.001f, 1), false},
        {"gap of 0.001 on z", Vec3(-1, -1, 1.001f), Vec3(1, 1, 2), false},
        {"contained", Vec3(-0.5f, -0.5f, -0.5f), Vec3(0.5f, 0.5f, 0.5f), true},
        {"edges touch", Vec3(1, 1, -1), Vec3(2, 2, 1), true},
        {"overlapping on x only", Vec3(0, 2, 2), Vec3(3, 3, 3), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoundingBox other = BoundingBox::FromMinMax(c.min, c.max);
        EXPECT_EQ(unit.Intersects(other), c.hit);
        EXPECT_EQ(other.Intersects(unit), c.hit);
    }
}

TEST(BoundingBox, IntersectsSegmentAgainstTheWorldBounds) {
    struct Case {
        std::string name;
        Vec3 start, delta;
        bool hit;
    };
    const std::vector<Case> cases = {
        {"straight through", Vec3(-3, 0, 0), Vec3(6, 0, 0), true},
        {"along a face", Vec3(-2, 1, 0), Vec3(4, 0, 0), true},
        {"ending just before the box", Vec3(-3, 0, 0), Vec3(1.99f, 0, 0), false},
        {"ending on the face", Vec3(-3, 0, 0), Vec3(2, 0, 0), true},
        {"starting inside", Vec3(0, 0, 0), Vec3(0, 10, 0), true},
        {"diagonal through a corner region", Vec3(-2, -2, -2), Vec3(4, 4, 4), true},
        // Its bounds overlap the box; only a cross axis shows that it passes the corner (1, 1).
        {"passing beside a corner", Vec3(0, 2.5f, 0), Vec3(2.5f, -2.5f, 0), false},
        {"passing through near the corner", Vec3(0, 1.9f, 0), Vec3(1.9f, -1.9f, 0), true},
        {"parallel beside the box", Vec3(-3, 1.01f, 0), Vec3(6, 0, 0), false},
        {"zero length inside", Vec3(0.5f, 0.5f, 0.5f), Vec3(0, 0, 0), true},
        {"zero length outside", Vec3(1.5f, 0, 0), Vec3(0, 0, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(unit.IntersectsSegment(Ray(c.start, c.delta)), c.hit);
    }
    BoundingBox moved = unit;
    moved.SetTransform(Matrix4::Translation(Vec3(10, 0, 0)));
    EXPECT_FALSE(moved.IntersectsSegment(Ray(Vec3(0, -3, 0), Vec3(0, 6, 0))));
    EXPECT_TRUE(moved.IntersectsSegment(Ray(Vec3(10, -3, 0), Vec3(0, 6, 0))));
}

TEST(BoundingBox, CopyIsIndependentOfItsSource) {
    BoundingBox source = unit;
    source.SetTransform(Matrix4::Translation(Vec3(1, 2, 3)));
    BoundingBox copy;
    EXPECT_EQ(&copy.Copy(source), &copy);
    source.SetTransform(Matrix4::Translation(Vec3(-5, 0, 0)));
    EXPECT_TRUE(copy.GetTransform().Equals(Matrix4::Translation(Vec3(1, 2, 3))));
    ExpectVec(copy.GetCentre(), Vec3(1, 2, 3));
    ExpectVec(source.GetCentre(), Vec3(-5, 0, 0));
}
