// A camera on the Direct3D 7 device: adds the device's projections (normal and z-biased, with the far plane
// one unit further out) and hands itself to the device through the render system's device slot, so a device
// re-created by a reset is used without touching the camera. Made by RenderSystem_D3D7::CreateCamera.
#pragma once

#include "engine/graphics/Camera.h"

namespace OrvexEngine {

class RenderSystem_D3D7;

class Camera_D3D7 final : public Camera {
public:
    Camera_D3D7(int32_t projectionKind, RenderSystem_D3D7* renderSystem);
    ~Camera_D3D7() override = default;

    // The device projections come from the planes and display extents of the previous update, so a change
    // reaches the device one update after it reaches the frustum.
    void Update(float aspectRatio) override;
    void Apply() override;
    void ApplyZBiased() override;

    float deviceProjection[16] = {};
    float zBiasedProjection[16] = {};

private:
    void ApplyWith(const float* projection, const char* context);

    RenderSystem_D3D7* renderSystem = nullptr; // not owned
};

} // namespace OrvexEngine
