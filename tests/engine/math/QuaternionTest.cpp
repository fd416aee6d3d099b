// ctest-label: core
#include "engine/math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace OrvexEngine;

namespace {

// The textbook Hamilton product a * b, written out term by term.
Quaternion Hamilton(const Quaternion& a, const Quaternion& b) {
    return Quaternion(
        a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
        a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

Quaternion AxisAngle(Vec3 axis, float angle) {
    axis.Normalize(1);
    float s = std::sin(angle / 2);
    return Quaternion(axis.x * s, axis.y * s, axis.z * s, std::cos(angle / 2));
}

void ExpectNear(const Quaternion& actual, const Quaternion& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
    EXPECT_NEAR(actual.w, expected.w, 1e-5f);
}

const std::vector<Quaternion> samples = {
    Quaternion(),
    AxisAngle(Vec3(0, 0, 1), 1.1f),
    AxisAngle(Vec3(1, -2, 0.5f), 2.5f),
    Quaternion(0.3f, -0.7f, 1.2f, 0.4f), // not of unit length
    Quaternion(-1, 0.25f, 0, -2),
};

} // namespace

TEST(Quaternion, ToMatrixGivesTheRotationWhateverTheLength) {
    EXPECT_TRUE(Quaternion(0, 0, 0, 2).ToMatrix().Equals(Matrix4::Identity()));
    // A zero quaternion has no rotation; it must not fill a bone's matrix with non-finite values.
    EXPECT_TRUE(Quaternion(0, 0, 0, 0).ToMatrix().Equals(Matrix4::Identity()));
    for (float a : {-1.0f, 0.5f, std::numbers::pi_v<float> / 2, 3.0f}) {
        SCOPED_TRACE(a);
        Quaternion z = AxisAngle(Vec3(0, 0, 1), a);
        EXPECT_TRUE(z.ToMatrix().Equals(Matrix4::RotationZ(a)));
        EXPECT_TRUE(Quaternion(z.x * 3, z.y * 3, z.z * 3, z.w * 3).ToMatrix().Equals(Matrix4::RotationZ(a)));
        EXPECT_TRUE(AxisAngle(Vec3(0, 1, 0), a).ToMatrix().Equals(Matrix4::RotationY(a)));
        Vec3 axis(1, 2, -2);
        EXPECT_TRUE(AxisAngle(axis, a).ToMatrix().Equals(Matrix4::RotationAxis(axis, a)));
    }
}

// other * this, i.e. this rotation first: the product's matrix is other's matrix times this one's.
TEST(Quaternion, MultiplyIsTheProductOtherTimesThis) {
    for (const Quaternion& p : samples)
        for (const Quaternion& q : samples) {
            Quaternion product = p.Multiply(q);
            ExpectNear(product, Hamilton(q, p));
            EXPECT_TRUE(product.ToMatrix().Equals(q.ToMatrix().Multiply(p.ToMatrix())));
        }
    for (const Quaternion& p : samples) {
        ExpectNear(p.Multiply(Quaternion(0, 0, 0, 1)), p);
        ExpectNear(Quaternion(0, 0, 0, 1).Multiply(p), p);
    }
}

TEST(Quaternion, LerpTakesTheShorterPathWithoutRenormalising) {
    const Quaternion q = AxisAngle(Vec3(1, 2, 3), 0.8f);
    const Quaternion minusQ(-q.x, -q.y, -q.z, -q.w);
    const Quaternion z90 = AxisAngle(Vec3(0, 0, 1), std::numbers::pi_v<float> / 2);
    const float s = std::sin(std::numbers::pi_v<float> / 4), c = std::cos(std::numbers::pi_v<float> / 4);
    struct Case {
        const char* name;
        Quaternion a, b;
        float t;
        Quaternion expected;
    };
    const std::vector<Case> cases = {
        {"q and -q blend to q, not to zero", q, minusQ, 0.5f, q},
        {"start", Quaternion(), z90, 0, Quaternion()},
        {"end", Quaternion(), z90, 1, z90},
        {"half way is shorter than unit", Quaternion(), z90, 0.5f, Quaternion(0, 0, s / 2, (1 + c) / 2)},
        {"the end of a negated b is -b", Quaternion(), Quaternion(0, 0, 0, -1), 1, Quaternion()},
        {"t is not clamped", Quaternion(), Quaternion(0, 0, 1, 1), 2, Quaternion(0, 0, 2, 1)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ExpectNear(Quaternion::Lerp(k.a, k.b, k.t), k.expected);
    }
    // The shortened half-way blend is still the half-way rotation once ToMatrix divides by its norm.
    EXPECT_TRUE(Quaternion::Lerp(Quaternion(), z90, 0.5f)
                    .ToMatrix()
                    .Equals(Matrix4::RotationZ(std::numbers::pi_v<float> / 4)));
}
