// Owns every camera in a slot table with a queue of freed ids, keeps the viewport (the window's size),
// creates the default perspective camera, updates all cameras once a frame, remembers which camera the
// device has, and converts between screen and world points. Created by the Engine right after the render
// system and deleted before it; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace OrvexEngine {

class Camera;

class CameraManager : public GlobalPointerHolder<CameraManager> {
public:
    // Creates the default camera (perspective, id 0).
    CameraManager();
    CameraManager(const CameraManager&) = delete;
    CameraManager& operator=(const CameraManager&) = delete;
    // Deletes every camera, also those other parts still hold.
    virtual ~CameraManager();

    // Never null.
    Camera* CreateCamera(int32_t projectionKind);
    // Null, or a camera the manager does not hold: nothing happens. The default camera is refused (logged).
    void DestroyCamera(Camera* camera);
    // Once a frame: the viewport from the window, every camera updated, no camera active.
    void Update();
    // Applies the camera to the device unless it is already the active one with the same z-bias choice.
    void SetActiveCamera(Camera* camera, bool zBiased);
    // Screen point (x, y from the viewport's bottom left, depth 0..1) to world; the origin when the point
    // cannot be unprojected.
    Vec3 Unproject(const Camera& camera, const Vec3& screen) const;
    Vec2 Project(const Camera& camera, const Vec3& world) const;

    Camera* GetDefaultCamera() const { return defaultCamera; }

    uint32_t viewportX = 0;
    uint32_t viewportY = 0;
    uint32_t viewportWidth = 0;
    uint32_t viewportHeight = 0;

private:
    std::deque<uint32_t> freeIds;
    std::vector<uint32_t> liveIds;   // creation order
    std::vector<Camera*> slots;      // owned; null for a free id
    Camera* defaultCamera = nullptr; // also in the slots
    Camera* activeCamera = nullptr;  // not owned
    bool activeZBiased = false;
};

} // namespace OrvexEngine
