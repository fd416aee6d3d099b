// The game's collision world: a per-frame table of colliders (model meshes and boxes under the caller's
// ids) through which a sphere is swept along one straight step in the field's plane. A sweep gathers the
// triangles near the step, scaled so that the sphere has radius 1, finds the first contact (face, edge,
// vertex, or a triangle already touched), stops there and reports the contact plane and the object's id.
// Owned by the ball manager; everything is allocated once by the constructor, nothing during a sweep.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Plane.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace OrvexEngine {
class Model;
}

namespace VelmoraBall {

// One candidate contact of the current sweep, in unit space.
struct PhysicsContact {
    static constexpr int KindFace = 1;
    static constexpr int KindEdge = 2;
    static constexpr int KindVertex = 3;
    static constexpr int KindEmbedded = 4;

    uint32_t triangle = 0;
    int kind = 0;
    OrvexEngine::Vec3 point;
    OrvexEngine::Plane plane;
    float distance = 0; // along the step; for an embedded contact the (negative) penetration
};

// One registered collider.
struct PhysicsObject {
    int id = 0;
    OrvexEngine::BoundingBox sourceBox;
    const OrvexEngine::Model* model = nullptr; // not owned; null for boxes
    bool transformed = false;
    OrvexEngine::Matrix4 transform;
    OrvexEngine::BoundingBox broadPhaseBox;
};

class Physics {
public:
    static constexpr uint32_t MaxObjects = 786;
    static constexpr uint32_t MaxTriangles = 16384;
    static constexpr uint32_t MaxContacts = 4;

    Physics();
    Physics(const Physics&) = delete;
    Physics& operator=(const Physics&) = delete;
    virtual ~Physics() = default;

    void ClearObjects() { objectCount = 0; }
    // Each add ends the program (FatalError "Physics: objects buffer overflow") when the table is full.
    // A collider made of the model's mesh placed by the transform; the model must outlive the frame.
    void AddModelObject(const OrvexEngine::Model* model, const OrvexEngine::Matrix4& transform, int id);
    // A box placed by a transform; found by the broad phase at any height within 1000 units of it.
    void AddBoxObject(const OrvexEngine::BoundingBox& box, const OrvexEngine::Matrix4& transform, int id);
    // A box already in world space.
    void AddStaticBox(const OrvexEngine::BoundingBox& box, int id);

    // Sweeps the sphere from centre along step (x and y; the height stays) and stops at the first contact.
    // newPosition is always written; plane and objectId only on a hit. Objects with an ignored id are never
    // hit. Ends the program (FatalError "Physics: triangles buffer overflow") beyond MaxTriangles.
    bool Sweep(float radius, const OrvexEngine::Vec3& centre, const OrvexEngine::Vec2& step,
               const std::vector<int>& ignoredIds, OrvexEngine::Vec2& newPosition, OrvexEngine::Plane& plane,
               int& objectId);

    // One triangle, divided by the current sweep's radius (1 outside a sweep), with its object's id.
    void AddTriangle(const OrvexEngine::Vec3& p0, const OrvexEngine::Vec3& p1, const OrvexEngine::Vec3& p2,
                     int id);
    void ClearTriangles() { triangleCount = 0; }

    // The contact search over the collected triangles, in unit space: fills the contact list with the
    // nearest group of contacts (within 0.0001 of the first found), at most four.
    void FindContacts(const OrvexEngine::Vec3& centre, const OrvexEngine::Vec3& step);

    // Tests on the current triangle (SelectTriangle) or on given points, unit space.
    void SelectTriangle(uint32_t index);
    bool IsEmbedded(const OrvexEngine::Vec3& centre, float radius, OrvexEngine::Vec3& point) const;
    bool IsInsideTriangle(const OrvexEngine::Vec3& point) const;
    OrvexEngine::Vec3 ClosestPointOnTriangleEdges(const OrvexEngine::Vec3& point,
                                                  OrvexEngine::Vec3& edgeStart, OrvexEngine::Vec3& edgeEnd,
                                                  bool& inside) const;
    static OrvexEngine::Vec3 ClosestPointOnSegment(const OrvexEngine::Vec3& start,
                                                   const OrvexEngine::Vec3& end,
                                                   const OrvexEngine::Vec3& point, bool& inside);
    static OrvexEngine::Vec3 ClosestPointOnLine(const OrvexEngine::Vec3& start, const OrvexEngine::Vec3& end,
                                                const OrvexEngine::Vec3& point);
    // Ray with a unit direction against the unit sphere around centre; the distance may be negative.
    static bool IntersectRayUnitSphere(const OrvexEngine::Vec3& origin, const OrvexEngine::Vec3& direction,
                                       const OrvexEngine::Vec3& centre, float& distance);
    static bool IsBetween(const OrvexEngine::Vec3& d, const OrvexEngine::Vec3& e, const OrvexEngine::Vec3& x);

    // The last sweep's answer.
    bool IsHit() const { return hit; }
    const OrvexEngine::Plane& GetResultPlane() const { return resultPlane; }
    uint32_t GetContactTriangle() const { return contactTriangle; }
    int GetContactObjectId() const { return contactObjectId; }
    uint32_t GetContactCount() const { return contactCount; }
    const PhysicsContact& GetContact(uint32_t index) const { return contacts[index]; }
    uint32_t GetObjectCount() const { return objectCount; }
    uint32_t GetTriangleCount() const { return triangleCount; }
    float GetRadius() const { return radius; }

private:
    PhysicsObject& NextObject(int id);
    void CollectTriangles(const PhysicsObject& object);
    void CollectModelTriangles(const PhysicsObject& object);
    // Moves the unit-space centre to the first contact of the step and returns the new centre.
    OrvexEngine::Vec3 Resolve(const OrvexEngine::Vec3& centre, const OrvexEngine::Vec3& step);
    // The face, edge or vertex contact of the current triangle, when there is one.
    bool FindMovingContact(const OrvexEngine::Vec3& centre, const OrvexEngine::Vec3& step,
                           const OrvexEngine::Vec3& direction, PhysicsContact& contact) const;
    // Adds the contact to the list by the nearest-group rule; true when the list is full.
    bool KeepContact(const PhysicsContact& contact);

    float radius = 1.0f;
    bool hit = false;
    // Defined before any sweep has hit, so no reader ever sees an unset plane.
    OrvexEngine::Plane resultPlane = UpPlane();
    uint32_t contactTriangle = 0;
    int contactObjectId = 0;
    uint32_t contactCount = 0;
    PhysicsContact contacts[MaxContacts];
    uint32_t objectCount = 0;
    std::unique_ptr<PhysicsObject[]> objects;
    uint32_t triangleCount = 0;
    std::unique_ptr<OrvexEngine::Vec3[]> triangleVertices; // three per triangle
    std::unique_ptr<OrvexEngine::Plane[]> trianglePlanes;
    std::unique_ptr<int[]> triangleIds;
    const OrvexEngine::Vec3* current = nullptr; // the three vertices of the triangle under test
    const OrvexEngine::Plane* currentPlane = nullptr;

    static OrvexEngine::Plane UpPlane() {
        OrvexEngine::Plane plane;
        plane.Set(0, 0, 1, 0);
        return plane;
    }
};

} // namespace VelmoraBall
