// A plane a*x + b*y + c*z + d = 0, kept normalised by every builder: a plain value that frustums, model
// picking and collision build and throw away freely. Also the point-in-triangle test that picking runs on the
// point where a ray meets a triangle's plane.
#pragma once

#include "engine/math/Ray.h"
#include "engine/math/Vector.h"

namespace OrvexEngine {

class Plane {
public:
    float GetA() const { return normal.x; }
    float GetB() const { return normal.y; }
    float GetC() const { return normal.z; }
    float GetD() const { return d; }
    const Vec3& GetNormal() const { return normal; }

    // Signed: positive on the side the normal points to; a true distance since the plane is normalised.
    float DistanceTo(const Vec3& point) const;
    Vec3 ProjectPoint(const Vec3& point) const;
    // False when the ray runs along the plane (t untouched) or meets it at or behind its origin (t stored).
    bool IntersectRay(const Ray& ray, float& t) const;
    // Divides the four values by the normal's length; a normal shorter than 0.0001 leaves the plane as it is.
    void Normalize();

    void Set(float a, float b, float c, float dValue);
    void FromNormalAndPoint(const Vec3& planeNormal, const Vec3& point);
    // The normal is (p1 - p0) x (p2 - p0): counter-clockwise corners face the viewer.
    void FromPoints(const Vec3& p0, const Vec3& p1, const Vec3& p2);
    void FromTriangle(const Vec3 corners[3]);

private:
    Vec3 normal;
    float d = 0;
};

// Whether point, lying in plane (the plane of a, b, c), is inside the triangle; edges and corners count as
// inside, and a degenerate triangle contains nothing.
bool PointInTriangle(const Plane& plane, const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& point);

} // namespace OrvexEngine
