// The six clipping planes of a camera's view, rebuilt by the camera at every update and asked by the model
// pass whether a model's bounding sphere can be seen. A plain value owned by its camera.
// Planes, in order: X <= W, X >= -W, Y >= -W, Y <= W, Z <= W, Z >= -W of the clip coordinates.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Plane.h"

namespace OrvexEngine {

class Frustum {
public:
    static constexpr int planeCount = 6;

    // Both matrices in the row-vector layout the camera stores (projection first, view second): the planes
    // come from view * projection, which takes a row (x, y, z, 1) to clip coordinates.
    void FromMatrices(const Matrix4& first, const Matrix4& second);
    // False when the box's sphere (its world centre and radius) lies wholly outside a plane (touching from
    // outside counts as outside), and for a degenerate box of radius below 0.001.
    bool IntersectsSphere(const BoundingBox& box) const;
    const Plane& GetPlane(int index) const { return planes[index]; }

private:
    Plane planes[planeCount];
};

} // namespace OrvexEngine
