#include "game/play/Physics.h"

#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "game/play/Fatal.h"

#include <algorithm>
#include <cmath>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr float touchLimit = 0.9999f; // a centre this close to a triangle already touches it
constexpr float parallelLimit = 0.0001f;
constexpr float snapLimit = 0.0002f; // contact distances this close to 0 are 0
constexpr float tieLimit = 0.0001f;  // contacts this close to the first are one group

bool SameVector(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

Physics::Physics()
    : objects(new PhysicsObject[MaxObjects]), triangleVertices(new Vec3[MaxTriangles * 3]),
      trianglePlanes(new Plane[MaxTriangles]), triangleIds(new int[MaxTriangles]()) {}

PhysicsObject& Physics::NextObject(int id) {
    if (objectCount == MaxObjects)
        EndProgram("Physics: objects buffer overflow");
    PhysicsObject& object = objects[objectCount++];
    object.id = id;
    return object;
}

void Physics::AddModelObject(const Model* model, const Matrix4& transform, int id) {
    PhysicsObject& object = NextObject(id);
    object.sourceBox = model->box;
    object.model = model;
    object.transformed = true;
    object.transform = transform;
    object.broadPhaseBox = model->box;
    object.broadPhaseBox.SetTransform(transform);
}

void Physics::AddBoxObject(const BoundingBox& box, const Matrix4& transform, int id) {
    PhysicsObject& object = NextObject(id);
    object.sourceBox = box;
    object.model = nullptr;
    object.transformed = true;
    object.transform = transform;
    BoundingBox placed = box;
    placed.SetTransform(transform);
    Vec3 low = placed.GetWorldMin();
    Vec3 high = placed.GetWorldMax();
    low.z -= 1000.0f;
    high.z += 1000.0f;
    object.broadPhaseBox.Set(low, high);
}

void Physics::AddStaticBox(const BoundingBox& box, int id) {
    PhysicsObject& object = NextObject(id);
    object.sourceBox = box;
    object.model = nullptr;
    object.transformed = false;
    object.transform = Matrix4();
    object.broadPhaseBox = box;
}

bool Physics::Sweep(float sweepRadius, const Vec3& centre, const Vec2& step,
                    const std::vector<int>& ignoredIds, Vec2& newPosition, Plane& plane, int& objectId) {
    hit = false;
    radius = sweepRadius;
    const Vec3 r(radius, radius, radius);
    const Vec3 v(step.x, step.y, 0.0f);
    const Vec3 corners[4] = {centre + r, centre - r, centre + r + v, centre - r + v};
    const BoundingBox sweepBox = BoundingBox::FromPoints(4, corners).Scaled(1.1f);

    triangleCount = 0;
    for (uint32_t i = 0; i < objectCount; ++i) {
        const PhysicsObject& object = objects[i];
        if (std::find(ignoredIds.begin(), ignoredIds.end(), object.id) != ignoredIds.end())
            continue;
        if (object.broadPhaseBox.Intersects(sweepBox))
            CollectTriangles(object);
    }

    const Vec3 resolved = Resolve(centre / radius, Vec3(step.x / radius, step.y / radius, 0.0f));
    newPosition = Vec2(resolved.x * radius, resolved.y * radius);
    if (hit) {
        plane = resultPlane;
        objectId = contactObjectId;
    }
    return hit;
}

void Physics::CollectTriangles(const PhysicsObject& object) {
    if (object.model != nullptr) {
        CollectModelTriangles(object);
        return;
    }
    const Vec3& lo = object.sourceBox.GetWorldMin();
    const Vec3& hi = object.sourceBox.GetWorldMax();
    Vec3 c[8] = {{hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z},
                 {lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}};
    if (object.transformed)
        for (Vec3& corner : c)
            corner = object.transform.MultiplyPoint(corner);
    // Faces +y, -y, -x, +x, +z, -z, each wound so that its normal points out of the box.
    static const int faces[12][3] = {{0, 1, 2}, {2, 3, 0}, {4, 5, 6}, {6, 7, 4}, {3, 2, 4}, {4, 7, 3},
                                     {5, 1, 0}, {0, 6, 5}, {6, 0, 3}, {7, 6, 3}, {2, 1, 5}, {2, 5, 4}};
    for (const auto& face : faces)
        AddTriangle(c[face[0]], c[face[1]], c[face[2]], object.id);
}

void Physics::CollectModelTriangles(const PhysicsObject& object) {
    const Model& model = *object.model;
    if (model.indexBuffer == nullptr || model.vertexBuffer == nullptr)
        return;
    const IndexBuffer& indices = *model.indexBuffer;
    const VertexBuffer& vertices = *model.vertexBuffer;
    const uint32_t indexCount = indices.GetIndexCount();
    const bool list = (model.GetFlags() & ModelTriangleList) != 0;
    const uint32_t count = list ? indexCount / 3 : (indexCount >= 3 ? indexCount - 2 : 0);
    const uint8_t* data = vertices.GetData();
    const uint32_t stride = vertices.GetStride();
    const uint32_t vertexCount = vertices.GetVertexCount();
    for (uint32_t t = 0; t < count; ++t) {
        const uint32_t first = list ? 3 * t : t;
        Vec3 p[3];
        bool valid = true;
        for (uint32_t k = 0; k < 3; ++k) {
            const uint32_t index = indices.GetIndex(first + k);
            if (index >= vertexCount) {
                valid = false; // a mesh reaching past its vertices has no such triangle
                break;
            }
            // Both vertex layouts begin with the position.
            const float* position =
                reinterpret_cast<const float*>(data + static_cast<size_t>(index) * stride);
            p[k] = Vec3(position[0], position[1], position[2]);
            if (object.transformed)
                p[k] = object.transform.MultiplyPoint(p[k]);
        }
        if (valid)
            AddTriangle(p[0], p[1], p[2], object.id);
    }
}

void Physics::AddTriangle(const Vec3& p0, const Vec3& p1, const Vec3& p2, int id) {
    if (triangleCount == MaxTriangles)
        EndProgram("Physics: triangles buffer overflow");
    Vec3* v = &triangleVertices[static_cast<size_t>(triangleCount) * 3];
    v[0] = p0 / radius;
    v[1] = p1 / radius;
    v[2] = p2 / radius;
    trianglePlanes[triangleCount].FromPoints(v[0], v[1], v[2]);
    triangleIds[triangleCount] = id;
    ++triangleCount;
}

Vec3 Physics::Resolve(const Vec3& centre, const Vec3& step) {
    FindContacts(centre, step);
    hit = contactCount != 0;
    if (!hit)
        return centre + step;
    const PhysicsContact& first = contacts[0];
    Vec3 position;
    if (first.kind == PhysicsContact::KindEmbedded) {
        position = centre - first.plane.GetNormal() * first.distance;
        const Vec3& n = first.plane.GetNormal();
        resultPlane.Set(n.x, n.y, n.z, first.plane.GetD() * radius);
    } else {
        position = centre + step.Normalized() * first.distance;
        const Vec3* v = &triangleVertices[static_cast<size_t>(first.triangle) * 3];
        resultPlane.FromPoints(v[0] * radius, v[1] * radius, v[2] * radius);
    }
    contactTriangle = first.triangle;
    contactObjectId = triangleIds[first.triangle];
    return position;
}

void Physics::SelectTriangle(uint32_t index) {
    current = &triangleVertices[static_cast<size_t>(index) * 3];
    currentPlane = &trianglePlanes[index];
}

void Physics::FindContacts(const Vec3& centre, const Vec3& step) {
    contactCount = 0;
    const Vec3 direction = step.Normalized();
    for (uint32_t i = 0; i < triangleCount; ++i) {
        SelectTriangle(i);
        if (!(currentPlane->DistanceTo(centre) > 0.0f))
            continue; // only triangles that face the centre
        PhysicsContact contact;
        contact.triangle = i;
        Vec3 touched;
        if (IsEmbedded(centre, 1.0f, touched)) {
            contact.kind = PhysicsContact::KindEmbedded;
            contact.point = touched;
            contact.distance = (touched - centre).Length() - 1.0f;
            contact.plane.FromNormalAndPoint(centre - touched, touched);
        } else {
            if (!FindMovingContact(centre, step, direction, contact))
                continue;
            if (contact.distance > -snapLimit && contact.distance < snapLimit)
                contact.distance = 0.0f;
            if (contact.distance > step.Length())
                continue;
            if (contact.plane.GetNormal().Dot(direction) >= 0.0f)
                continue;
        }
        if (KeepContact(contact))
            return;
    }
}

bool Physics::KeepContact(const PhysicsContact& contact) {
    if (contactCount > 0) {
        const float first = contacts[0].distance;
        if (std::fabs(contact.distance - first) > tieLimit) {
            if (contact.distance > first)
                return false;
            contactCount = 0; // a nearer contact starts a new group
        }
    }
    contacts[contactCount++] = contact;
    return contactCount == MaxContacts;
}

bool Physics::FindMovingContact(const Vec3& centre, const Vec3& step, const Vec3& direction,
                                PhysicsContact& contact) const {
    const Vec3& n = currentPlane->GetNormal();
    const Vec3 nearest = centre - n; // the sphere's point nearest the plane
    float s = 0;
    if (!currentPlane->IntersectRay(Ray(nearest, direction), s))
        return false;
    const Vec3 b = nearest + direction * s;
    if (IsInsideTriangle(b)) {
        contact.kind = PhysicsContact::KindFace;
        contact.point = b;
        contact.distance = s;
        contact.plane = *currentPlane;
        return true;
    }

    Vec3 d, e;
    bool insideEdge = false;
    const Vec3 c = ClosestPointOnTriangleEdges(b, d, e, insideEdge);
    if (!insideEdge) {
        // The corner c lies on the path when the sphere's surface reaches it.
        if (!IntersectRayUnitSphere(c, -direction, centre, s))
            return false;
        const Vec3 t = c - direction * s;
        Plane plane;
        plane.FromNormalAndPoint(centre - t, c);
        if (step.Dot(centre - c) > 0.0f)
            return false;
        if (n.Dot(plane.GetNormal()) < 0.0f)
            return false;
        for (int k = 0; k < 3; ++k)
            if (!SameVector(current[k], c) && plane.DistanceTo(current[k]) > 0.0f)
                return false;
        contact.kind = PhysicsContact::KindVertex;
        contact.point = c;
        contact.distance = s;
        contact.plane = plane;
        return true;
    }

    const Vec3 edge = (e - d).Normalized();
    Plane travel; // holds the edge and the direction of travel
    travel.FromNormalAndPoint(direction.Cross(edge), e);
    const Vec3 projected = travel.ProjectPoint(centre);
    if ((projected - centre).Length() > touchLimit)
        return false;
    const Vec3 onLine = ClosestPointOnLine(d, e, projected);
    const Vec3 u = (projected - onLine).Normalized();
    if (!IntersectRayUnitSphere(onLine, u, centre, s))
        return false;
    const Vec3 t = onLine + u * s;
    Plane across;
    across.FromNormalAndPoint(((e - d).Cross(direction)).Cross(e - d).Normalized(), d);
    float s2 = s;
    const float denominator = across.GetNormal().Dot(direction);
    if (std::fabs(denominator) >= parallelLimit)
        s2 = -(across.GetNormal().Dot(t) + across.GetD()) / denominator;
    if (!IsBetween(d, e, t + direction * s2))
        return false;
    Plane plane;
    plane.FromNormalAndPoint(centre - t, c);
    const Vec3 centroid = (current[0] + current[1] + current[2]) / 3.0f;
    if (plane.DistanceTo(centroid) > 0.0f || n.Dot(plane.GetNormal()) < 0.0f)
        return false;
    float along = 0;
    if (!plane.IntersectRay(Ray(t, direction), along))
        return false;
    contact.kind = PhysicsContact::KindEdge;
    contact.point = c;
    contact.distance = along;
    contact.plane = plane;
    return true;
}

bool Physics::IsEmbedded(const Vec3& centre, float sphereRadius, Vec3& point) const {
    const float h = currentPlane->DistanceTo(centre);
    if (h > touchLimit * sphereRadius)
        return false;
    Vec3 q = centre - currentPlane->GetNormal() * h;
    if (!IsInsideTriangle(q)) {
        Vec3 d, e;
        bool inside = false;
        q = ClosestPointOnTriangleEdges(q, d, e, inside);
        if ((q - centre).Length() > touchLimit * sphereRadius)
            return false;
    }
    point = q;
    return true;
}

bool Physics::IsInsideTriangle(const Vec3& point) const {
    return PointInTriangle(*currentPlane, current[0], current[1], current[2], point);
}

Vec3 Physics::ClosestPointOnTriangleEdges(const Vec3& point, Vec3& edgeStart, Vec3& edgeEnd,
                                          bool& inside) const {
    Vec3 best;
    float bestDistance = 0;
    for (int k = 0; k < 3; ++k) {
        const Vec3& a = current[k];
        const Vec3& b = current[(k + 1) % 3];
        bool within = false;
        const Vec3 candidate = ClosestPointOnSegment(a, b, point, within);
        const float distance = (candidate - point).Length();
        if (k == 0 || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
            edgeStart = a;
            edgeEnd = b;
            inside = within;
        }
    }
    return best;
}

Vec3 Physics::ClosestPointOnSegment(const Vec3& start, const Vec3& end, const Vec3& point, bool& inside) {
    const Vec3 dir = (end - start).Normalized();
    const float t = (point - start).Dot(dir);
    inside = false;
    if (t < 0.0f)
        return start;
    if (t > (end - start).Length())
        return end;
    inside = true;
    return start + dir * t;
}

Vec3 Physics::ClosestPointOnLine(const Vec3& start, const Vec3& end, const Vec3& point) {
    const Vec3 dir = (end - start).Normalized();
    return start + dir * (point - start).Dot(dir);
}

bool Physics::IntersectRayUnitSphere(const Vec3& origin, const Vec3& direction, const Vec3& centre,
                                     float& distance) {
    const Vec3 q = centre - origin;
    const float c = q.Dot(direction);
    const float k = 1.0f - (q.LengthSquared() - c * c);
    if (k < 0.0f)
        return false;
    distance = c - std::sqrt(k);
    return true;
}

bool Physics::IsBetween(const Vec3& d, const Vec3& e, const Vec3& x) {
    return (d - x).Dot(e - x) <= 0.0f;
}

} // namespace VelmoraBall
