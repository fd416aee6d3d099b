// Drives the camera manager's default camera, the one the 3D scene is drawn with: each frame either the
// start pose the owner wrote or a pose blended between key frames counted by the key animation, plus the
// planes and the field of view passed straight to that camera. Made and deleted by its owner (one per
// level); needs the CameraManager to exist for its whole life. Main thread only.
#pragma once

#include "engine/math/Quaternion.h"
#include "engine/math/Vector.h"

#include <vector>

namespace OrvexEngine {
class AnimationControl;
class Camera;
} // namespace OrvexEngine

namespace GameTools {

class GameCamera {
public:
    // Takes the default camera; one key (identity at the origin) that is also the start pose.
    GameCamera();
    GameCamera(const GameCamera&) = delete;
    GameCamera& operator=(const GameCamera&) = delete;
    // The camera stays with the camera manager.
    virtual ~GameCamera();

    // Once a frame: the start pose while held and the key animation is not playing, the keys otherwise.
    void Update();
    // Holds the start pose from the next update on, until the key animation plays.
    void ResetToStart();

    void SetNearPlane(float distance);
    void SetFarPlane(float distance);
    void SetFieldOfView(float radians);
    float GetFieldOfView() const;

    // The owner starts, stops and sizes the key frames through it; never null.
    OrvexEngine::AnimationControl* GetKeyAnimation() const { return keyAnimation; }
    OrvexEngine::Camera* GetCamera() const { return camera; }
    const OrvexEngine::Quaternion& GetCurrentRotation() const { return currentRotation; }
    const OrvexEngine::Vec3& GetCurrentPosition() const { return currentPosition; }
    bool IsHoldingStart() const { return holdingStart; }

    // Written by the owner. Key lists should hold an entry for every frame of the key animation: a frame
    // beyond a list takes the list's last entry, and an empty list leaves that half of the pose as it was.
    OrvexEngine::Quaternion startRotation;
    OrvexEngine::Vec3 startPosition{0, 0, 0};
    std::vector<OrvexEngine::Quaternion> keyRotations;
    std::vector<OrvexEngine::Vec3> keyPositions;

private:
    OrvexEngine::Camera* camera = nullptr;                 // not owned: the camera manager's default camera
    OrvexEngine::AnimationControl* keyAnimation = nullptr; // owned
    bool holdingStart = false;
    OrvexEngine::Quaternion currentRotation;
    OrvexEngine::Vec3 currentPosition{0, 0, 0};
};

} // namespace GameTools
