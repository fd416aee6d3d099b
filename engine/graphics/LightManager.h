// Owns every light in a slot table, hands out the lowest free device index, keeps the ambient colour,
// re-sends everything to the device once a frame and switches lighting for the render pass. Created by the
// Engine right after the camera manager and deleted before the render system; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace OrvexEngine {

class Light;

class LightManager : public GlobalPointerHolder<LightManager> {
public:
    LightManager() = default;
    LightManager(const LightManager&) = delete;
    LightManager& operator=(const LightManager&) = delete;
    // Deletes every live light (each switches its device light off).
    virtual ~LightManager();

    // A white point light at the origin, enabled, with the lowest device index no live light uses.
    Light* CreateLight();
    // Null or a light the manager does not hold: nothing happens.
    void DestroyLight(Light* light);
    // Reaches the device at the next Apply.
    void SetAmbient(const Vec4& colour) { ambient = colour; }
    const Vec4& GetAmbient() const { return ambient; }
    // Once a frame before the render pass: the ambient colour, then every live light in creation order.
    void Apply();
    void EnableLighting(bool on);

private:
    std::deque<uint32_t> freeSlots;
    std::vector<uint32_t> liveSlots; // in creation order
    std::vector<Light*> slots;       // owned; a freed slot holds null
    Vec4 ambient{0, 0, 0, 1};
};

} // namespace OrvexEngine
