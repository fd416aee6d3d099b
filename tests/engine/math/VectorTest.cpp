// ctest-label: core
#include "engine/math/Vector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace OrvexEngine;

// The tolerance is absolute and strict, taken in single precision: 1.0001f - 1 is just above 0.0001.
TEST(Vector, FloatEqualsUsesAStrictAbsoluteTolerance) {
    struct Case {
        float a, b;
        bool equal;
    };
    // The float nearest 1000.0001 is 1000.000122: the tolerance does not grow with the values.
    const std::vector<Case> cases = {
        {1, 1.00009f, true},       {1, 1.0001f, false},      {0, -0.00009f, true},  {0, 0.0001f, false},
        {1000, 1000.0001f, false}, {1000, 1000.001f, false}, {-5, -5.00005f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " " + std::to_string(c.b));
        EXPECT_EQ(FloatEquals(c.a, c.b), c.equal);
        EXPECT_EQ(Vec3(c.a, 0, 0).NotEquals(Vec3(c.b, 0, 0)), !c.equal);
        EXPECT_EQ(Vec3(0, 0, c.a) == Vec3(0, 0, c.b), c.equal);
    }
}

TEST(Vector, NormalizeLeavesTinyVectorsAlone) {
    struct Case {
        std::string name;
        Vec3 v;
        float length;
        Vec3 expected;
    };
    const std::vector<Case> cases = {
        {"zero stays zero", Vec3(0, 0, 0), 1, Vec3(0, 0, 0)},
        {"shorter than 0.0001 unchanged", Vec3(0.00005f, 0, 0), 1, Vec3(0.00005f, 0, 0)},
        {"3-4-5", Vec3(3, 4, 0), 1, Vec3(0.6f, 0.8f, 0)},
        {"to another length", Vec3(0, 0, -5), 2, Vec3(0, 0, -2)},
        {"already unit", Vec3(0, 1, 0), 1, Vec3(0, 1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Vec3 v = c.v;
        v.Normalize(c.length);
        EXPECT_FLOAT_EQ(v.x, c.expected.x);
        EXPECT_FLOAT_EQ(v.y, c.expected.y);
        EXPECT_FLOAT_EQ(v.z, c.expected.z);
    }
    Vec2 flat = Vec2(3, 4).Normalized();
    EXPECT_FLOAT_EQ(flat.x, 0.6f);
    EXPECT_FLOAT_EQ(flat.y, 0.8f);
    EXPECT_EQ(Vec2(0, 0).Normalized().x, 0.0f);
}

TEST(Vector, ConversionsCopyTheCommonComponentsAndZeroTheRest) {
    Vec3 fromVec2(Vec2(1, 2));
    EXPECT_EQ(fromVec2.x, 1);
    EXPECT_EQ(fromVec2.y, 2);
    EXPECT_EQ(fromVec2.z, 0);
    Vec3 fromVec4(Vec4(1, 2, 3, 4));
    EXPECT_TRUE(fromVec4 == Vec3(1, 2, 3));
    Vec4 fromVec3(Vec3(1, 2, 3));
    EXPECT_TRUE(fromVec3 == Vec4(1, 2, 3, 0));
    Vec2 fromWide(Vec3(7, 8, 9));
    EXPECT_TRUE(fromWide == Vec2(7, 8));
    EXPECT_TRUE(Vec4(0.5f) == Vec4(0.5f, 0.5f, 0.5f, 0.5f));

    float out[3] = {};
    Vec3(4, 5, 6).CopyTo(out);
    EXPECT_EQ(out[0], 4);
    EXPECT_EQ(out[2], 6);
}

TEST(Vector, ArithmeticWorksComponentByComponent) {
    const Vec3 a(1, 2, 3), b(4, -5, 6);
    EXPECT_TRUE(a + b == Vec3(5, -3, 9));
    EXPECT_TRUE(a - b == Vec3(-3, 7, -3));
    EXPECT_TRUE(-a == Vec3(-1, -2, -3));
    EXPECT_TRUE(a * 2.0f == Vec3(2, 4, 6));
    EXPECT_TRUE(2.0f * a == Vec3(2, 4, 6));
    EXPECT_TRUE(a * b == Vec3(4, -10, 18));
    EXPECT_TRUE(b / a == Vec3(4, -2.5f, 2));
    EXPECT_TRUE(a / 2.0f == Vec3(0.5f, 1, 1.5f));
    EXPECT_TRUE(a / 4 == Vec3(0.25f, 0.5f, 0.75f));
    EXPECT_FLOAT_EQ(a.Dot(b), 12);
    EXPECT_FLOAT_EQ(a.LengthSquared(), 14);
    EXPECT_FLOAT_EQ(Vec4(1, 2, 3, 4).Dot(Vec4(1, 1, 1, 1)), 10);
    EXPECT_TRUE(Vec3(1, 0, 0).Cross(Vec3(0, 1, 0)) == Vec3(0, 0, 1));
    EXPECT_TRUE(a.Cross(b) == Vec3(27, 6, -13));
    EXPECT_TRUE(Vec4(1, 0.5f, 0.5f, 1) * Vec4(0.5f, 0.5f, 1, 0) == Vec4(0.5f, 0.25f, 0.5f, 0));

    // Compound assignments change the vector and yield that same vector.
    Vec3 v = a;
    EXPECT_EQ(&(v += b), &v);
    EXPECT_TRUE(v == Vec3(5, -3, 9));
    EXPECT_EQ(&(v *= Vec3(2, 2, 0)), &v);
    EXPECT_TRUE(v == Vec3(10, -6, 0));
    EXPECT_EQ(&(v /= 2.0f), &v);
    EXPECT_TRUE(v == Vec3(5, -3, 0));
    Vec2 w(8, 6);
    w /= Vec2(2, 3);
    EXPECT_TRUE(w == Vec2(4, 2));

    Vec2i i(7, -3);
    EXPECT_TRUE(i + Vec2i(1, 1) == Vec2i(8, -2));
    EXPECT_FALSE(i == Vec2i(7, -2));
}

TEST(Vector, LerpAndGreaterThan) {
    const Vec3 a(0, 10, -4), b(10, 20, 4);
    EXPECT_TRUE(a.Lerp(b, 0) == a);
    EXPECT_TRUE(a.Lerp(b, 1) == b);
    EXPECT_TRUE(a.Lerp(b, 0.25f) == Vec3(2.5f, 12.5f, -2));
    EXPECT_TRUE(a.Lerp(b, 2) == Vec3(20, 30, 12)); // not clamped
    EXPECT_TRUE(a.Lerp(b, -1) == Vec3(-10, 0, -12));

    EXPECT_TRUE(Vec3(2, 2, 2).GreaterThan(Vec3(1, 1, 1)));
    EXPECT_FALSE(Vec3(2, 1, 2).GreaterThan(Vec3(1, 1, 1))); // one equal component
    EXPECT_FALSE(Vec3(2, 2, 0).GreaterThan(Vec3(1, 1, 1)));
    EXPECT_TRUE(Vec3(1.00001f, 1.00001f, 1.00001f).GreaterThan(Vec3(1, 1, 1))); // no tolerance
}
