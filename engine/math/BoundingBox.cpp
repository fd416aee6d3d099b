#include "engine/math/BoundingBox.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

namespace {

// Start values of every min/max search: they also bound what a box can hold.
const Vec3 searchMin(100000, 100000, 100000);
const Vec3 searchMax(-100000, -100000, -100000);

void Lower(Vec3& min, const Vec3& p) {
    for (int i = 0; i < 3; ++i)
        min[i] = std::min(min[i], p[i]);
}

void Raise(Vec3& max, const Vec3& p) {
    for (int i = 0; i < 3; ++i)
        max[i] = std::max(max[i], p[i]);
}

} // namespace

BoundingBox BoundingBox::FromMinMax(const Vec3& min, const Vec3& max) {
    BoundingBox box;
    box.Set(min, max);
    return box;
}

BoundingBox BoundingBox::FromPoints(std::size_t count, const Vec3* points) {
    BoundingBox box;
    box.SetFromPoints(count, points);
    return box;
}

void BoundingBox::Set(const Vec3& min, const Vec3& max) {
    localMin = min;
    localMax = max;
    Update(false);
}

void BoundingBox::SetFromPoints(std::size_t count, const Vec3* points) {
    localMin = searchMin;
    localMax = searchMax;
    for (std::size_t i = 0; i < count; ++i) {
        Lower(localMin, points[i]);
        Raise(localMax, points[i]);
    }
    Update(false);
}

void BoundingBox::SetTransform(const Matrix4& matrix) {
    transform = matrix;
    Update(true);
}

void BoundingBox::Update(bool transformed) {
    if (transformed) {
        worldMin = searchMin;
        worldMax = searchMax;
        for (int corner = 0; corner < 8; ++corner) {
            Vec3 local((corner & 1) ? localMax.x : localMin.x, (corner & 2) ? localMax.y : localMin.y,
                       (corner & 4) ? localMax.z : localMin.z);
            Vec3 world;
            transform.TransformPoint(local, world);
            Lower(worldMin, world);
            Raise(worldMax, world);
        }
    } else {
        transform = Matrix4::Identity();
        secondTransform = Matrix4::Identity();
        worldMin = localMin;
        worldMax = localMax;
    }
    halfSize = (worldMax - worldMin) * 0.5f;
    centre = worldMin + halfSize;
    radius = std::sqrt(halfSize.LengthSquared());
}

void BoundingBox::Merge(const BoundingBox& other) {
    Vec3 min = worldMin;
    Vec3 max = worldMax;
    Lower(min, other.worldMin);
    Raise(max, other.worldMax);
    localMin = min;
    localMax = max;
    Update(false);
}

BoundingBox BoundingBox::Scaled(float factor) const {
    return FromMinMax(centre - halfSize * factor, centre + halfSize * factor);
}

bool BoundingBox::Intersects(const BoundingBox& other) const {
    Vec3 d = other.centre - centre;
    for (int i = 0; i < 3; ++i)
        if (std::fabs(d[i]) > halfSize[i] + other.halfSize[i])
            return false;
    return true;
}

// Separating axes: the box's three axes, then the cross products of the segment's direction with them.
bool BoundingBox::IntersectsSegment(const Ray& segment) const {
    Vec3 middle = segment.origin + segment.direction * 0.5f;
    Vec3 w = segment.direction;
    w.Normalize(1);
    float h = segment.direction.Length() * 0.5f;
    Vec3 d = centre - middle;

    for (int i = 0; i < 3; ++i)
        if (std::fabs(d[i]) > std::fabs(w[i]) * h + halfSize[i])
            return false;

    if (std::fabs(d.y * w.z - d.z * w.y) > halfSize.y * std::fabs(w.z) + halfSize.z * std::fabs(w.y))
        return false;
    if (std::fabs(d.z * w.x - d.x * w.z) > halfSize.x * std::fabs(w.z) + halfSize.z * std::fabs(w.x))
        return false;
    if (std::fabs(d.x * w.y - d.y * w.x) > halfSize.x * std::fabs(w.y) + halfSize.y * std::fabs(w.x))
        return false;
    return true;
}

} // namespace OrvexEngine
