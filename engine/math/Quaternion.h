// A rotation as a quaternion x, y, z, w (w last), rotating v by q v q*. A plain value; a default quaternion
// is the identity rotation (0, 0, 0, 1). It need not be of unit length: ToMatrix divides by the squared norm,
// which lets skeletons and cameras blend rotations linearly without renormalising.
#pragma once

#include "engine/math/Matrix4.h"

namespace OrvexEngine {

class Quaternion {
public:
    Quaternion() = default;
    Quaternion(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}

    // x^2 + y^2 + z^2 + w^2.
    float NormSquared() const;
    // The rotation matrix of any non-zero quaternion; the identity for a zero one.
    Matrix4 ToMatrix() const;
    // The Hamilton product other * this: the rotation by this followed by the rotation by other.
    Quaternion Multiply(const Quaternion& other) const;
    // Linear blend a * (1 - t) + b * t along the shorter path (b negated when the dot product is negative);
    // not renormalised, t not clamped.
    static Quaternion Lerp(const Quaternion& a, const Quaternion& b, float t);

    float x = 0;
    float y = 0;
    float z = 0;
    float w = 1;
};

} // namespace OrvexEngine
