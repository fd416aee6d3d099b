#include "gametools/GameCamera.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"

#include <cassert>

using namespace OrvexEngine;

namespace GameTools {

namespace {

// The entry of a key frame; a frame past the end of a shorter list takes its last entry.
template <class T> const T& Key(const std::vector<T>& keys, uint32_t frame) {
    return keys[frame < keys.size() ? frame : keys.size() - 1];
}

} // namespace

GameCamera::GameCamera() : keyRotations(1, Quaternion(0, 0, 0, 1)), keyPositions(1, Vec3(0, 0, 0)) {
    CameraManager* cameras = CameraManager::Instance();
    assert(cameras != nullptr && "the game camera needs the camera manager");
    camera = cameras != nullptr ? cameras->GetDefaultCamera() : nullptr;
    keyAnimation = new AnimationControl(0, 1);
    startRotation = keyRotations[0];
    startPosition = keyPositions[0];
    currentRotation = startRotation;
    currentPosition = startPosition;
}

GameCamera::~GameCamera() {
    delete keyAnimation;
}

void GameCamera::Update() {
    const bool wasPlaying = keyAnimation->playing;
    keyAnimation->Update();
    if (!holdingStart || wasPlaying) {
        holdingStart = false;
        const uint32_t current = keyAnimation->currentFrame, next = keyAnimation->nextFrame;
        const float t = keyAnimation->blendFraction;
        if (!keyRotations.empty())
            currentRotation = Quaternion::Lerp(Key(keyRotations, current), Key(keyRotations, next), t);
        if (!keyPositions.empty())
            currentPosition = Key(keyPositions, current).Lerp(Key(keyPositions, next), t);
    } else {
        currentRotation = startRotation;
        currentPosition = startPosition;
    }
    if (camera == nullptr)
        return;
    camera->orientation = currentRotation;
    camera->SetPosition(currentPosition);
}

void GameCamera::ResetToStart() {
    holdingStart = true;
    currentRotation = startRotation;
    currentPosition = startPosition;
}

void GameCamera::SetNearPlane(float distance) {
    if (camera != nullptr)
        camera->nearPlane = distance;
}

void GameCamera::SetFarPlane(float distance) {
    if (camera != nullptr)
        camera->farPlane = distance;
}

void GameCamera::SetFieldOfView(float radians) {
    if (camera != nullptr)
        camera->fieldOfView = radians;
}

float GameCamera::GetFieldOfView() const {
    return camera != nullptr ? camera->fieldOfView : 0.0f;
}

} // namespace GameTools
