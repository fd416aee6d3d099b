// ctest-label: core
#include "engine/math/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

const float halfPi = std::numbers::pi_v<float> / 2;

void ExpectNear(const Vec3& actual, const Vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Matrix4 FromElements(std::initializer_list<float> values) {
    Matrix4 r;
    int i = 0;
    for (float v : values)
        r.m[i++] = v;
    return r;
}

} // namespace

// Storage is row by row for column vectors: translation in elements 3, 7, 11, and the named rotation
// elements where cameras and skeletons expect them.
TEST(Matrix4, BuildersFillTheDocumentedElements) {
    EXPECT_TRUE(Matrix4().Equals(FromElements({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})));
    EXPECT_TRUE(Matrix4::Translation(Vec3(1, 2, 3))
                    .Equals(FromElements({1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1})));
    EXPECT_TRUE(Matrix4::Scaling(Vec3(2, 3, 4))
                    .Equals(FromElements({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1})));
    float c = std::cos(0.3f), s = std::sin(0.3f);
    EXPECT_TRUE(
        Matrix4::RotationZ(0.3f).Equals(FromElements({c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})));
    EXPECT_TRUE(
        Matrix4::RotationY(0.3f).Equals(FromElements({c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1})));
    EXPECT_EQ(Matrix4::Translation(Vec3(1, 2, 3)).At(1, 3), 2.0f);
}

TEST(Matrix4, TransformsPointsAsColumnVectors) {
    struct Case {
        std::string name;
        Matrix4 matrix;
        Vec3 point;
        Vec3 expected;
    };
    const Vec3 t(10, 20, 30);
    const std::vector<Case> cases = {
        {"translation moves the origin", Matrix4::Translation(Vec3(1, 2, 3)), Vec3(0, 0, 0), Vec3(1, 2, 3)},
        {"scaling", Matrix4::Scaling(Vec3(2, 3, 4)), Vec3(1, 1, -1), Vec3(2, 3, -4)},
        {"z quarter turn", Matrix4::RotationZ(halfPi), Vec3(1, 0, 0), Vec3(0, 1, 0)},
        {"y quarter turn", Matrix4::RotationY(halfPi), Vec3(0, 0, 1), Vec3(1, 0, 0)},
        {"axis is normalised first", Matrix4::RotationAxis(Vec3(0, 0, 5), halfPi), Vec3(1, 0, 0),
         Vec3(0, 1, 0)},
        {"x axis quarter turn", Matrix4::RotationAxis(Vec3(1, 0, 0), halfPi), Vec3(0, 1, 0), Vec3(0, 0, 1)},
        {"diagonal axis a third turn cycles the axes",
         Matrix4::RotationAxis(Vec3(1, 1, 1), 2 * std::numbers::pi_v<float> / 3), Vec3(1, 0, 0),
         Vec3(0, 1, 0)},
        {"right operand acts first: rotate, then translate",
         Matrix4::Translation(t).Multiply(Matrix4::RotationZ(halfPi)), Vec3(1, 0, 0), Vec3(10, 21, 30)},
        {"left operand acts last: translate, then rotate",
         Matrix4::RotationZ(halfPi).Multiply(Matrix4::Translation(t)), Vec3(1, 0, 0), Vec3(-20, 11, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectNear(c.matrix.MultiplyPoint(c.point), c.expected);
        Vec3 destination(99, 99, 99);
        c.matrix.TransformPoint(c.point, destination);
        ExpectNear(destination, c.expected);
    }
}

TEST(Matrix4, RotationAxisAboutTheNamedAxesMatchesTheirBuilders) {
    for (float a : {-2.0f, 0.4f, 1.3f}) {
        EXPECT_TRUE(Matrix4::RotationAxis(Vec3(0, 0, 1), a).Equals(Matrix4::RotationZ(a)));
        EXPECT_TRUE(Matrix4::RotationAxis(Vec3(0, 3, 0), a).Equals(Matrix4::RotationY(a)));
    }
}

TEST(Matrix4, TranslateAppliesTheTranslationBeforeTheMatrix) {
    Matrix4 m = Matrix4::Scaling(Vec3(2, 2, 2));
    m.Translate(Vec3(1, 0, 0));
    ExpectNear(m.MultiplyPoint(Vec3(0, 0, 0)), Vec3(2, 0, 0));
}

// Row 3 takes part in MultiplyVec4 but not in MultiplyPoint, which never divides.
TEST(Matrix4, OnlyMultiplyVec4UsesTheBottomRow) {
    Matrix4 m = Matrix4::Translation(Vec3(1, 2, 3));
    m.m[12] = 0;
    m.m[13] = 0;
    m.m[14] = -1;
    m.m[15] = 0;
    Vec4 v = m.MultiplyVec4(Vec4(1, 1, 2, 1));
    EXPECT_TRUE(v == Vec4(2, 3, 5, -2));
    ExpectNear(m.MultiplyPoint(Vec3(1, 1, 2)), Vec3(2, 3, 5));
}

TEST(Matrix4, TransformRayKeepsScaleAndIgnoresTranslationForTheDirection) {
    Matrix4 m = Matrix4::Translation(Vec3(5, 0, 0)).Multiply(Matrix4::Scaling(Vec3(2, 2, 2)));
    Ray r = m.TransformRay(Ray(Vec3(1, 1, 1), Vec3(0, 0, 1)));
    ExpectNear(r.origin, Vec3(7, 2, 2));
    ExpectNear(r.direction, Vec3(0, 0, 2));
}

TEST(Matrix4, TransposeSwapsRowsAndColumns) {
    Matrix4 m = FromElements({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    m.Transpose();
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(m.At(row, column), static_cast<float>(4 * column + row));
}

TEST(Matrix4, InverseUndoesTheMatrixOnBothSides) {
    const std::vector<Matrix4> cases = {
        Matrix4::Translation(Vec3(1, 2, 3)),
        Matrix4::Translation(Vec3(-4, 0.5f, 7))
            .Multiply(Matrix4::RotationAxis(Vec3(1, 2, 3), 0.7f))
            .Multiply(Matrix4::Scaling(Vec3(2, 0.5f, 3))),
        // A perspective projection: a bottom row that is not (0, 0, 0, 1).
        FromElements({1.5f, 0, 0, 0, 0, 2, 0, 0, 0, 0, -1.02f, -2.02f, 0, 0, -1, 0}),
        FromElements({2, -1, 0, 3, 1, 4, -2, 0, 0, 1, 3, -1, 1, 0, 2, 5}),
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        Matrix4 inverse = cases[i];
        inverse.Inverse();
        EXPECT_TRUE(cases[i].Multiply(inverse).Equals(Matrix4::Identity()));
        EXPECT_TRUE(inverse.Multiply(cases[i]).Equals(Matrix4::Identity()));
        Matrix4 back = inverse;
        back.Inverse();
        EXPECT_TRUE(back.Equals(cases[i]));
    }
    Matrix4 translation = Matrix4::Translation(Vec3(1, 2, 3));
    translation.Inverse();
    EXPECT_TRUE(translation.Equals(Matrix4::Translation(Vec3(-1, -2, -3))));
}

TEST(Matrix4, EqualsAllowsOneTenThousandthPerElement) {
    Matrix4 a = Matrix4::Identity();
    Matrix4 b = a;
    b.m[6] = 0.0001f;
    EXPECT_TRUE(a.Equals(b));
    b.m[6] = 0.00011f;
    EXPECT_FALSE(a.Equals(b));
    b.m[6] = std::nanf("");
    EXPECT_FALSE(a.Equals(b));
}
