#include "engine/math/Plane.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

float Plane::DistanceTo(const Vec3& point) const {
    return normal.Dot(point) + d;
}

Vec3 Plane::ProjectPoint(const Vec3& point) const {
    return point - normal * DistanceTo(point);
}

bool Plane::IntersectRay(const Ray& ray, float& t) const {
    float denominator = normal.Dot(ray.direction);
    if (std::fabs(denominator) < 0.0001f)
        return false;
    t = -(normal.Dot(ray.origin) + d) / denominator;
    return t > 0;
}

void Plane::Normalize() {
    float length = std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
    if (length < 0.0001f)
        return;
    normal /= length;
    d /= length;
}

void Plane::Set(float a, float b, float c, float dValue) {
    normal = Vec3(a, b, c);
    d = dValue;
    Normalize();
}

void Plane::FromNormalAndPoint(const Vec3& planeNormal, const Vec3& point) {
    normal = planeNormal;
    d = -planeNormal.Dot(point);
    Normalize();
}

void Plane::FromPoints(const Vec3& p0, const Vec3& p1, const Vec3& p2) {
    normal = (p1 - p0).Cross(p2 - p0);
    d = -normal.Dot(p0);
    Normalize();
}

void Plane::FromTriangle(const Vec3 corners[3]) {
    FromPoints(corners[0], corners[1], corners[2]);
}

// Works in 2D on the two coordinates that the plane's normal leaves widest, solving
// p = a + t (b - a) + s (c - a) for s and t.
bool PointInTriangle(const Plane& plane, const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& point) {
    const Vec3& n = plane.GetNormal();
    float nx = std::fabs(n.x), ny = std::fabs(n.y), nz = std::fabs(n.z);
    float largest = std::max(nx, std::max(ny, nz));
    int u = 0, v = 1; // dropping z
    if (std::fabs(largest - nx) < 0.0001f) {
        u = 1;
        v = 2;
    } else if (std::fabs(largest - ny) < 0.0001f) {
        u = 0;
        v = 2;
    }

    Vec3 p1 = point - a;
    Vec3 b1 = b - a;
    Vec3 c1 = c - a;
    float s = 0, t = 0;
    if (std::fabs(b1[u]) < 0.0001f) {
        s = p1[u] / c1[u];
        if (!(s >= 0 && s <= 1))
            return false;
        t = (p1[v] - s * c1[v]) / b1[v];
    } else {
        s = (p1[v] * b1[u] - p1[u] * b1[v]) / (c1[v] * b1[u] - c1[u] * b1[v]);
        if (!(s >= 0 && s <= 1))
            return false;
        t = (p1[u] - s * c1[u]) / b1[u];
    }
    // Written so that a NaN from a degenerate triangle fails every comparison and answers false.
    return t >= 0 && s + t <= 1;
}

} // namespace OrvexEngine
