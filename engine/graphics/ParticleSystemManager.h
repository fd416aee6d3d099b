// Makes particle systems, keeps the registered working copies, updates them once a frame (after the
// cameras, before the sprite groups are rebuilt) and deletes them on release. Templates made by
// NewParticleSystem and LoadParticleSystem belong to their callers. Created by the Engine after the sprite
// group manager and deleted before it; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/core/ObjectManager.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

class Camera;
class ParticleSystem;

class ParticleSystemManager : public GlobalPointerHolder<ParticleSystemManager> {
public:
    ParticleSystemManager();
    ParticleSystemManager(const ParticleSystemManager&) = delete;
    ParticleSystemManager& operator=(const ParticleSystemManager&) = delete;
    // Deletes the registered systems.
    virtual ~ParticleSystemManager();

    // Not registered.
    ParticleSystem* NewParticleSystem(Camera* camera);
    // Never null, not registered: a file that fails to load (logged) gives a default-built system.
    ParticleSystem* LoadParticleSystem(const std::string& name, Camera* camera, uint8_t onDemand);
    // Registered: updated every frame.
    ParticleSystem* CreateParticleSystemCopy(const ParticleSystem& system);
    // Deletes a registered system; null or an unregistered one is left alone.
    void Release(ParticleSystem* system);
    void Update();

private:
    ObjectManager<ParticleSystem> registry;
};

} // namespace OrvexEngine
