// A block of the level (never built on its own: Brick or BallKeeper): its model and shadow, its place in a
// stack (which blocks it rests on, which rest on it), the appearance cascade at the start of a level, falling
// when its support goes, key-frame motion, destruction with particles, and the chain explosion that destroys
// its neighbours. Built, linked, updated and deleted by the block set (GameGeometry).
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {
class Model;
class ParticleSystem;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Effects;
class GameGeometry;
class Shadow;
struct BlockDescriptor;

// An attribute of the block's type read as a bool, or the fallback when it is missing.
bool BlockAttribute(const BlockDescriptor& descriptor, const char* name, bool fallback);

class Block {
public:
    static constexpr int HitSimple = 0;
    static constexpr int HitSuper = 1;

    Block(GameTools::DataKeeper* particleKeeper, GameTools::DataKeeper* modelKeeper, Effects* effects,
          GameGeometry* geometry, const BlockDescriptor* descriptor);
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    virtual ~Block();

    // Alive from now on, hidden until its place in the appearance cascade comes.
    virtual void StartCreation();
    // Once a frame with the level animation's current frame, next frame and blend fraction.
    virtual void Update(uint32_t keyFrameA, uint32_t keyFrameB, float fraction);
    // Kind 0 simple, 1 super; chain asks a super hit for the chain explosion.
    virtual void Hit(int kind, bool chain);
    // The upward jump, passed on to the blocks resting on this one where they rest on nothing else.
    virtual void StartFalling();
    virtual void SetVisible(bool shown);
    virtual void UpdateTransform();

    void RefreshTransform() { UpdateTransform(); }
    // 0 on the field; else the highest top of the blocks below.
    float GetSupportHeight() const;
    void ScheduleCreation(float delay);
    // A neighbour's explosion: this block dies by a super hit 0.1..0.3 s later.
    void ScheduleDestruction(const OrvexEngine::Vec3& centre);
    void ExplodeNeighbours();
    void PlaceParticleSystem(OrvexEngine::ParticleSystem* system) const;
    void AddBlockAbove(Block* block);
    void AddBlockBelow(Block* block);
    // The survivors inherit the dead block's links.
    void RemoveBlockAbove(Block* dead);
    void RemoveBlockBelow(Block* dead);

    void SetExplosionType(int type) {
        hasFragments = true;
        explosionType = type;
    }

    bool IsAlive() const { return alive; }
    uint32_t GetKindFlags() const { return kindFlags; }
    bool Falls() const { return falls; }
    bool HasFragments() const { return hasFragments; }
    int GetExplosionType() const { return explosionType; }
    bool IsShadowEnabled() const { return shadowEnabled; }
    bool IsCreationScheduled() const { return creationScheduled; }
    bool IsDestructionScheduled() const { return destructionScheduled; }
    float GetCreationDelay() const { return creationDelay; }
    float GetHeight() const { return height; }
    float GetVerticalSpeed() const { return verticalSpeed; }
    const std::string& GetName() const { return name; }
    OrvexEngine::Model* GetModel() const { return model; }
    Shadow* GetShadow() const { return shadow; }
    const OrvexEngine::Model* GetCollisionModel() const { return collisionModel; }
    const OrvexEngine::BoundingBox& GetCollisionBox() const { return collisionBox; }
    const OrvexEngine::BoundingBox& GetModelBox() const { return *modelBox; }
    const OrvexEngine::Matrix4& GetWorld() const { return world; }
    const std::vector<Block*>& GetBlocksBelow() const { return blocksBelow; }
    const std::vector<Block*>& GetBlocksAbove() const { return blocksAbove; }
    const BlockDescriptor& GetDescriptor() const { return *descriptor; }

protected:
    // Releases a particle system still held; the pointer is cleared.
    static void ReleaseHeld(OrvexEngine::ParticleSystem*& system);
    OrvexEngine::ParticleSystem* CopyParticles(const std::string& name) const;

    GameTools::DataKeeper* particleKeeper = nullptr; // not owned
    GameTools::DataKeeper* modelKeeper = nullptr;    // not owned
    Effects* effects = nullptr;                      // not owned
    GameGeometry* geometry = nullptr;                // not owned
    const BlockDescriptor* descriptor = nullptr;     // not owned
    std::string name;
    OrvexEngine::Model* model = nullptr;                // owned, registered
    Shadow* shadow = nullptr;                           // owned through Effects
    const OrvexEngine::Model* collisionModel = nullptr; // not owned
    bool hasFragments = false;
    int explosionType = -1;
    uint32_t kindFlags = 0;
    bool falls = true;
    OrvexEngine::BoundingBox collisionBox;
    const OrvexEngine::BoundingBox* modelBox = nullptr; // the model's own
    OrvexEngine::Vec3 position;
    OrvexEngine::Matrix4 translation;
    OrvexEngine::Quaternion rotation;
    OrvexEngine::Matrix4 rotationMatrix;
    OrvexEngine::Vec3 scale{1, 1, 1};
    OrvexEngine::Matrix4 scaleMatrix;
    OrvexEngine::Matrix4 world;
    std::vector<Block*> blocksBelow; // not owned
    std::vector<Block*> blocksAbove; // not owned
    bool alive = false;
    bool destructionScheduled = false;
    float destructionDelay = 0;
    OrvexEngine::Vec3 explosionCentre;
    float restHeight = 0;
    float height = 0;
    float verticalSpeed = 0;
    bool creationScheduled = false;
    float creationDelay = 0;
    OrvexEngine::ParticleSystem* creationParticles = nullptr;           // owned until handed to Effects
    OrvexEngine::ParticleSystem* simpleDestructionParticles = nullptr;  // owned until handed to Effects
    OrvexEngine::ParticleSystem* superDestructionParticles = nullptr;   // owned until handed to Effects
    OrvexEngine::ParticleSystem* pendingDestructionParticles = nullptr; // owned until handed to Effects
    bool alwaysDrawShadow = false;
    bool shadowEnabled = true;
};

} // namespace VelmoraBall
