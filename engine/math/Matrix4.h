// The 4 x 4 transform of cameras, models, skeletons, boxes and sprites: a plain value of 16 floats stored row
// by row (element 4 * row + column) that acts on column vectors, so a point p becomes M * (p, 1) and the
// translation sits in elements 3, 7 and 11. In A.Multiply(B) applied to a point, B acts first.
// Copied freely; a default matrix is the identity, where every holder in the engine starts.
#pragma once

#include "engine/math/Ray.h"
#include "engine/math/Vector.h"

namespace OrvexEngine {

class Matrix4 {
public:
    static Matrix4 Identity();
    static Matrix4 Translation(const Vec3& t);
    // diag(s.x, s.y, s.z, 1).
    static Matrix4 Scaling(const Vec3& s);
    // Angles in radians; positive turns counter-clockwise looking down the axis towards the origin.
    static Matrix4 RotationY(float angle);
    static Matrix4 RotationZ(float angle);
    // The axis is normalised first; an axis shorter than 0.0001 is used as it is.
    static Matrix4 RotationAxis(const Vec3& axis, float angle);

    // this * other: other acts on a point first.
    Matrix4 Multiply(const Matrix4& other) const;
    // this = this * Translation(t): the translation acts on points before the old matrix.
    void Translate(const Vec3& t);
    // Rows 0..2 times (p, 1); row 3 is ignored and nothing is divided.
    Vec3 MultiplyPoint(const Vec3& p) const;
    // MultiplyPoint written into destination, which must be another vector than source.
    void TransformPoint(const Vec3& source, Vec3& destination) const;
    // All four rows times v.
    Vec4 MultiplyVec4(const Vec4& v) const;
    // The origin transformed as a point, the direction as the difference of two transformed points: it keeps
    // the matrix's scale and is not normalised.
    Ray TransformRay(const Ray& ray) const;

    void Transpose();
    // Swaps element (row, column) with (column, row).
    void SwapElements(int row, int column);
    // In place, by Cramer's rule. The matrix must be invertible: a singular one gives non-finite elements.
    void Inverse();
    // True when no element differs by more than 0.0001.
    bool Equals(const Matrix4& other) const;

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    float& At(int row, int column) { return m[4 * row + column]; }
    float At(int row, int column) const { return m[4 * row + column]; }
    // The 16 floats in storage order, as the render system hands them on.
    const float* Data() const { return m; }

    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

} // namespace OrvexEngine
