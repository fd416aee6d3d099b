// A camera: a pose (position and orientation) and a projection (perspective or orthographic) from which
// every update derives the projection and view matrices (both kept in the row-vector layout the device
// takes), the camera's axes and its view frustum. View space is right-handed: the camera looks along -z.
// Owners write the pose and planes directly. Created and deleted only by CameraManager.
#pragma once

#include "engine/math/Frustum.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector.h"

#include <cstdint>

namespace OrvexEngine {

// Extents of a view volume: at the near plane (perspective) or in world units (orthographic).
struct ViewExtents {
    float top = 1;
    float bottom = -1;
    float left = -1;
    float right = 1;
};

class Camera {
public:
    // Kind 0 is perspective, any other orthographic.
    explicit Camera(int32_t projectionKind);
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;
    virtual ~Camera();

    // The aspect ratio is not used: the picture is always 4:3, corrected only for the desktop's shape in full
    // screen.
    virtual void Update(float aspectRatio);
    virtual void Apply() {}
    virtual void ApplyZBiased() {}

    void SetPosition(const Vec3& p) { position = p; }

    int32_t projectionKind = 0;
    float nearPlane = 1.0f;
    float farPlane = 1000.0f;
    float fieldOfView = 1.5707964f;
    float orthoWidth = 1.0f;
    float orthoHeight = 1.0f;
    Quaternion orientation;
    Vec3 position{0, 0, 0};
    Matrix4 projectionMatrix; // clip depth -1..1; for the frustum and the screen conversions
    Matrix4 viewMatrix;
    ViewExtents frustumExtents;
    ViewExtents displayExtents; // the frustum extents corrected for a wide or tall desktop in full screen
    Vec3 rightAxis;
    Vec3 upAxis;
    Vec3 backAxis;
    Frustum* frustum = nullptr; // owned
};

} // namespace OrvexEngine
