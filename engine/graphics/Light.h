// One light of the fixed-function lighting model (directional, spot or point) bound to a device light index.
// Plain values written directly by the level's lighting set-up. Created and deleted only by LightManager.
#pragma once

#include "engine/math/Vector.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace OrvexEngine {

enum LightType : int32_t { LightDirectional = 0, LightSpot = 1, LightPoint = 2 };

class Light {
public:
    explicit Light(uint32_t deviceIndex) : index(deviceIndex) {}
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;
    virtual ~Light() = default;

    // Hands the light to the device; the device light is switched off when the light is disabled.
    virtual void Refresh() {}
    virtual void Restore() {}

    uint32_t index = 0;
    bool enabled = true;
    int32_t type = LightPoint;
    Vec3 position{0, 0, 0};
    Vec3 direction{0, 0, -1};
    float range = std::sqrt(std::numeric_limits<float>::max());
    Vec4 ambient{1, 1, 1, 1};
    Vec4 diffuse{1, 1, 1, 1};
    Vec4 specular{1, 1, 1, 1};
    float attenuation[3] = {1, 0, 0}; // constant, linear, quadratic
    float innerConeAngle = 0;         // radians
    float outerConeAngle = 0;
};

} // namespace OrvexEngine
