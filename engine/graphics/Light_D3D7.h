// A light on the Direct3D 7 device. It reaches the device through the render system's device slot, so a
// device re-created by a reset is used without touching the light. Made by RenderSystem_D3D7::CreateLight.
#pragma once

#include "engine/graphics/Light.h"

namespace platform {
class Device;
}

namespace OrvexEngine {

class RenderSystem_D3D7;

class Light_D3D7 final : public Light {
public:
    Light_D3D7(uint32_t deviceIndex, RenderSystem_D3D7* renderSystem);
    // Switches the device light off.
    ~Light_D3D7() override;

    void Refresh() override;
    void DisableLight();

private:
    RenderSystem_D3D7* renderSystem = nullptr; // not owned
};

} // namespace OrvexEngine
