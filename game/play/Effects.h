// The level's keeper of transient visuals that objects hand over: shadows (made here, attached to an
// owner's model, given back when the owner goes) in reusable slots, and one-shot particle systems kept until
// they have played out. Created by the level in play with its lighting and deleted late, after every object
// that holds shadows.
#pragma once

#include <vector>

namespace OrvexEngine {
class Model;
class ParticleSystem;
} // namespace OrvexEngine

namespace VelmoraBall {

class Lighting;
class Shadow;

class Effects {
public:
    explicit Effects(const Lighting* lighting);
    Effects(const Effects&) = delete;
    Effects& operator=(const Effects&) = delete;
    virtual ~Effects();

    // A hidden shadow of the owner's shape, or a box of its size; the slot freed last is used first.
    Shadow* CreateShadow(const OrvexEngine::Model* owner, bool modelShaped);
    // Deletes a shadow made here and frees its slot; null or a shadow held elsewhere is ignored.
    void RemoveShadowOf(Shadow* shadow);
    // Takes over a placed, non-looping system and plays it once; null is ignored. The caller must not touch
    // it again.
    void ReleaseParticleSystem(OrvexEngine::ParticleSystem* system);
    // Once a frame: shadows follow their owners, finished particle systems are released.
    void Update();

    const std::vector<int>& GetActiveSlots() const { return activeSlots; }
    const std::vector<Shadow*>& GetShadowSlots() const { return shadowSlots; }
    const std::vector<OrvexEngine::ParticleSystem*>& GetReleasedSystems() const { return releasedSystems; }

private:
    const Lighting* lighting = nullptr;                        // not owned
    std::vector<int> freeSlots;                                // last in, first out
    std::vector<int> activeSlots;                              // in creation order
    std::vector<Shadow*> shadowSlots;                          // owned; null while free
    std::vector<OrvexEngine::ParticleSystem*> releasedSystems; // owned
};

} // namespace VelmoraBall
