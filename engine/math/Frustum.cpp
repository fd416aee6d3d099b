#include "engine/math/Frustum.h"

namespace OrvexEngine {

void Frustum::FromMatrices(const Matrix4& first, const Matrix4& second) {
    Matrix4 m = second.Multiply(first);
    auto column = [&m](int k) { return Vec4(m[k], m[4 + k], m[8 + k], m[12 + k]); };
    const Vec4 x = column(0), y = column(1), z = column(2), w = column(3);
    const Vec4 sides[planeCount] = {w - x, w + x, w + y, w - y, w - z, w + z};
    for (int i = 0; i < planeCount; ++i)
        planes[i].Set(sides[i].x, sides[i].y, sides[i].z, sides[i].w);
}

bool Frustum::IntersectsSphere(const BoundingBox& box) const {
    float r = box.GetRadius();
    if (r < 0.001f)
        return false;
    for (const Plane& plane : planes)
        if (plane.DistanceTo(box.GetCentre()) <= -r)
            return false;
    return true;
}

} // namespace OrvexEngine
