#include "engine/graphics/ParticleSystemManager.h"

#include "engine/core/Error.h"
#include "engine/graphics/ParticleSystem.h"

namespace OrvexEngine {

ParticleSystemManager::ParticleSystemManager() = default;

ParticleSystemManager::~ParticleSystemManager() = default; // the registry deletes what it holds

ParticleSystem* ParticleSystemManager::NewParticleSystem(Camera* camera) {
    return new ParticleSystem(camera);
}

ParticleSystem* ParticleSystemManager::LoadParticleSystem(const std::string& name, Camera* camera,
                                                          uint8_t onDemand) {
    try {
        return new ParticleSystem(name, camera, onDemand);
    } catch (const Error&) {
        return new ParticleSystem(camera);
    }
}

ParticleSystem* ParticleSystemManager::CreateParticleSystemCopy(const ParticleSystem& system) {
    ParticleSystem* copy = new ParticleSystem(system);
    registry.Add(copy);
    return copy;
}

void ParticleSystemManager::Release(ParticleSystem* system) {
    if (registry.Remove(system))
        delete system;
}

void ParticleSystemManager::Update() {
    for (ParticleSystem* system : registry.GetObjects())
        if (system != nullptr)
            system->Update();
}

} // namespace OrvexEngine
