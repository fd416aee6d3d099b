#include "engine/graphics/LightManager.h"

#include "engine/graphics/Light.h"
#include "engine/graphics/RenderSystem.h"

#include <algorithm>

namespace OrvexEngine {

LightManager::~LightManager() {
    freeSlots.clear();
    for (uint32_t slot : liveSlots) {
        delete slots[slot];
        slots[slot] = nullptr;
    }
    liveSlots.clear();
    slots.clear();
}

Light* LightManager::CreateLight() {
    uint32_t deviceIndex = 0;
    auto used = [&](uint32_t i) {
        return std::any_of(liveSlots.begin(), liveSlots.end(),
                           [&](uint32_t s) { return slots[s]->index == i; });
    };
    while (deviceIndex < slots.size() && used(deviceIndex))
        ++deviceIndex;
    uint32_t slot = static_cast<uint32_t>(slots.size());
    if (!freeSlots.empty()) {
        slot = freeSlots.front();
        freeSlots.pop_front();
    }
    liveSlots.push_back(slot);
    Light* light = RenderSystem::Instance()->CreateLight(static_cast<int32_t>(deviceIndex));
    if (slot < slots.size())
        slots[slot] = light;
    else
        slots.push_back(light);
    return light;
}

void LightManager::DestroyLight(Light* light) {
    if (light == nullptr)
        return;
    auto found =
        std::find_if(liveSlots.begin(), liveSlots.end(), [&](uint32_t s) { return slots[s] == light; });
    if (found == liveSlots.end())
        return;
    uint32_t slot = *found;
    delete light;
    slots[slot] = nullptr;
    freeSlots.push_back(slot);
    liveSlots.erase(found);
}

void LightManager::Apply() {
    RenderSystem::Instance()->SetAmbientColor(ambient);
    for (uint32_t slot : liveSlots)
        slots[slot]->Refresh();
}

void LightManager::EnableLighting(bool on) {
    RenderSystem::Instance()->SetLighting(on);
}

} // namespace OrvexEngine
