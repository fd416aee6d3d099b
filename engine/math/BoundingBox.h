// The bounds of a model, bone, skeleton or particle emitter: local corners in the object's own space, the
// world transform that places them, and the axis-aligned world bounds derived from both (corners, centre,
// half size, bounding-sphere radius). A plain value, copied member by member; owners keep it by value.
// World bounds are confined to +-100000 on every axis.
#pragma once

#include "engine/math/Matrix4.h"
#include "engine/math/Ray.h"
#include "engine/math/Vector.h"

#include <cstddef>

namespace OrvexEngine {

class BoundingBox {
public:
    // An empty box at the origin with identity transforms.
    BoundingBox() = default;
    static BoundingBox FromMinMax(const Vec3& min, const Vec3& max);
    static BoundingBox FromPoints(std::size_t count, const Vec3* points);

    // New local corners; drops any world transform (call SetTransform again to place the box).
    void Set(const Vec3& min, const Vec3& max);
    // The local bounds of the points, untransformed. With no points the box is inverted: min 100000 and
    // max -100000 on every axis.
    void SetFromPoints(std::size_t count, const Vec3* points);
    // Places the box: world bounds become the axis-aligned bounds of the eight transformed corners.
    void SetTransform(const Matrix4& matrix);
    const Matrix4& GetTransform() const { return transform; }
    // Recomputes the world bounds; untransformed resets both transforms to identity first.
    void Update(bool transformed);
    // Becomes the untransformed union of both boxes' world bounds.
    void Merge(const BoundingBox& other);
    // A new untransformed box about the same world centre with the half size times factor.
    BoundingBox Scaled(float factor) const;
    // Whether the world bounds overlap; touching boxes do.
    bool Intersects(const BoundingBox& other) const;
    // Whether the segment from segment.origin to segment.origin + segment.direction meets the world bounds
    // (touching counts); a zero-length segment is a point test.
    bool IntersectsSegment(const Ray& segment) const;
    BoundingBox& Copy(const BoundingBox& other) { return *this = other; }

    const Vec3& GetLocalMin() const { return localMin; }
    const Vec3& GetLocalMax() const { return localMax; }
    // Carried and copied with the box, reset with the world transform; the box itself never reads it.
    const Matrix4& GetSecondTransform() const { return secondTransform; }
    const Vec3& GetWorldMin() const { return worldMin; }
    const Vec3& GetWorldMax() const { return worldMax; }
    const Vec3& GetCentre() const { return centre; }
    const Vec3& GetHalfSize() const { return halfSize; }
    float GetRadius() const { return radius; }

private:
    Vec3 localMin;
    Vec3 localMax;
    Matrix4 transform;
    Matrix4 secondTransform;
    Vec3 worldMin;
    Vec3 worldMax;
    Vec3 centre;
    Vec3 halfSize;
    float radius = 0;
};

} // namespace OrvexEngine
