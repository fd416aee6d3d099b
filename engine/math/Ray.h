// A half-line from an origin along a direction, or, used as a segment, a start point and the vector from the
// start to the end (delta). A plain value record; no operation of its own beyond construction.
// Matrices transform it (Matrix4::TransformRay); planes and boxes test against it.
#pragma once

#include "engine/math/Vector.h"

namespace OrvexEngine {

struct Ray {
    Ray() = default;
    Ray(const Vec3& rayOrigin, const Vec3& rayDirection) : origin(rayOrigin), direction(rayDirection) {}

    Vec3 origin;
    Vec3 direction; // as a segment: end minus start; never normalised here
};

} // namespace OrvexEngine
