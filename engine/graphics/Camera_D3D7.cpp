#include "engine/graphics/Camera_D3D7.h"

#include "engine/graphics/RenderSystem_D3D7.h"
#include "platform/d3d/Direct3D.h"

#include <cstring>

namespace OrvexEngine {

Camera_D3D7::Camera_D3D7(int32_t kind, RenderSystem_D3D7* owner) : Camera(kind), renderSystem(owner) {}

void Camera_D3D7::Update(float aspectRatio) {
    float n = nearPlane;
    float f = farPlane;
    const ViewExtents& d = displayExtents;
    float* p = deviceProjection;
    std::memset(p, 0, sizeof(deviceProjection));
    if (projectionKind == 0) {
        p[0] = 2 * n / (d.right - d.left);
        p[5] = 2 * n / (d.top - d.bottom);
        p[8] = (d.right + d.left) / (d.left - d.right);
        p[9] = (d.top + d.bottom) / (d.bottom - d.top);
        p[10] = f / (f - n);
        p[11] = 1;
        p[14] = f * n / (n - f);
    } else {
        p[0] = 2 / (d.right - d.left);
        p[5] = 2 / (d.top - d.bottom);
        p[10] = 1 / (n - f);
        p[12] = (d.right + d.left) / (d.left - d.right);
        p[13] = (d.top + d.bottom) / (d.bottom - d.top);
        p[14] = n / (n - f);
        p[15] = 1;
    }
    std::memcpy(zBiasedProjection, deviceProjection, sizeof(deviceProjection));
    float biased = f + 1;
    if (projectionKind == 0) {
        zBiasedProjection[10] = biased / (biased - n);
        zBiasedProjection[14] = biased * n / (n - biased);
    } else {
        zBiasedProjection[10] = 1 / (n - biased);
        zBiasedProjection[14] = n / (n - biased);
    }
    Camera::Update(aspectRatio);
}

void Camera_D3D7::ApplyWith(const float* projection, const char* context) {
    platform::Device* device = renderSystem->GetDevice();
    if (device != nullptr) {
        platform::Matrix m;
        std::memcpy(m.m, projection, sizeof(m.m));
        renderSystem->ErrorText(context, device->SetTransform(platform::TransformProjection, m));
    }
    renderSystem->SetViewMatrix(viewMatrix);
}

void Camera_D3D7::Apply() {
    ApplyWith(deviceProjection, "Camera_D3D7::Apply");
}

void Camera_D3D7::ApplyZBiased() {
    ApplyWith(zBiasedProjection, "Camera_D3D7::ApplyZBiased");
}

} // namespace OrvexEngine
