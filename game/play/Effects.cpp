#include "game/play/Effects.h"

#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "game/play/Shadow.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

Effects::Effects(const Lighting* effectsLighting) : lighting(effectsLighting) {}

Effects::~Effects() {
    for (Shadow* shadow : shadowSlots)
        delete shadow;
    if (ParticleSystemManager* manager = ParticleSystemManager::Instance())
        for (ParticleSystem* system : releasedSystems)
            manager->Release(system);
}

Shadow* Effects::CreateShadow(const Model* owner, bool modelShaped) {
    int slot = static_cast<int>(shadowSlots.size());
    if (!freeSlots.empty()) {
        slot = freeSlots.back();
        freeSlots.pop_back();
    }
    activeSlots.push_back(slot);
    Shadow* shadow = new Shadow(lighting, owner, modelShaped);
    if (slot == static_cast<int>(shadowSlots.size()))
        shadowSlots.push_back(shadow);
    else
        shadowSlots[static_cast<size_t>(slot)] = shadow;
    return shadow;
}

void Effects::RemoveShadowOf(Shadow* shadow) {
    if (shadow == nullptr)
        return;
    const auto found = std::find_if(activeSlots.begin(), activeSlots.end(), [&](int slot) {
        return shadowSlots[static_cast<size_t>(slot)] == shadow;
    });
    if (found == activeSlots.end())
        return;
    const int slot = *found;
    delete shadow;
    shadowSlots[static_cast<size_t>(slot)] = nullptr;
    freeSlots.push_back(slot);
    activeSlots.erase(found);
}

void Effects::ReleaseParticleSystem(ParticleSystem* system) {
    if (system == nullptr)
        return;
    system->emitterTime = 0.0f;
    system->active = true;
    system->SetVisible(true);
    releasedSystems.push_back(system);
}

void Effects::Update() {
    for (int slot : activeSlots)
        shadowSlots[static_cast<size_t>(slot)]->Update();
    ParticleSystemManager* manager = ParticleSystemManager::Instance();
    for (ParticleSystem*& system : releasedSystems)
        if (!system->active && system->liveParticles == 0) {
            manager->Release(system);
            system = nullptr;
        }
    releasedSystems.erase(std::remove(releasedSystems.begin(), releasedSystems.end(), nullptr),
                          releasedSystems.end());
}

} // namespace VelmoraBall
