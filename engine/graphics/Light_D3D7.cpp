#include "engine/graphics/Light_D3D7.h"

#include "engine/graphics/RenderSystem_D3D7.h"
#include "platform/d3d/Direct3D.h"

namespace OrvexEngine {

namespace {

platform::ColorValue ToColor(const Vec4& c) {
    return platform::ColorValue{c.x, c.y, c.z, c.w};
}

platform::Vector3 ToVector(const Vec3& v) {
    return platform::Vector3{v.x, v.y, v.z};
}

} // namespace

Light_D3D7::Light_D3D7(uint32_t deviceIndex, RenderSystem_D3D7* owner)
    : Light(deviceIndex), renderSystem(owner) {}

Light_D3D7::~Light_D3D7() {
    DisableLight();
}

void Light_D3D7::DisableLight() {
    platform::Device* device = renderSystem->GetDevice();
    if (device != nullptr)
        renderSystem->ErrorText("Light_D3D7::DisableLight", device->LightEnable(index, false));
}

void Light_D3D7::Refresh() {
    if (!enabled) {
        DisableLight();
        return;
    }
    platform::Device* device = renderSystem->GetDevice();
    if (device == nullptr)
        return;
    platform::LightDesc light;
    light.diffuse = ToColor(diffuse);
    light.specular = ToColor(specular);
    light.ambient = ToColor(ambient);
    light.range = range;
    if (type == LightDirectional) {
        light.type = platform::LightDirectional;
        light.direction = ToVector(direction);
    } else if (type == LightSpot || type == LightPoint) {
        light.position = ToVector(position);
        light.attenuation0 = attenuation[0];
        light.attenuation1 = attenuation[1];
        light.attenuation2 = attenuation[2];
        if (type == LightSpot) {
            light.type = platform::LightSpot;
            light.direction = ToVector(direction);
            light.theta = innerConeAngle;
            light.phi = outerConeAngle;
            light.falloff = 1.0f;
        } else {
            light.type = platform::LightPoint;
        }
    }
    renderSystem->ErrorText("Light_D3D7::Refresh", device->SetLight(index, light));
    renderSystem->ErrorText("Light_D3D7::Refresh", device->LightEnable(index, true));
}

} // namespace OrvexEngine
