// A time-keyed emitter of camera-facing sprites: emission rate and lifetime over the emitter's cycle, and
// each particle's direction, speed, colour and size over its own life, as six-key tables; particles may fall,
// bounce on a floor and die when slow. Draws through one sprite group with a sprite per particle. Made and
// deleted through ParticleSystemManager; owners start a system by placing it, setting emitterTime 0 and
// active, and see it finished when active is false and no particle lives.
#pragma once

#include "engine/graphics/ParticleFile.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class Camera;
class Model;
class ShaderDescriptor;
class ShaderUser;

struct Particle {
    bool free = true;
    uint32_t spriteId = 0;
    float lifetime = 0;
    float age = 0;
    Vec3 direction;
    Vec3 keyDirections[particleKeyCount];
    float keySpeeds[particleKeyCount] = {};
    float speedFactor = 1;
    float fallSpeed = 0;
};

class ParticleSystem {
public:
    // Default settings, a default material, a registered sprite group of 100 sprites.
    explicit ParticleSystem(Camera* camera);
    // Throws Error (after logging its text) when the particle file cannot be read.
    ParticleSystem(const std::string& fileName, Camera* camera, uint8_t onDemand);
    // Name, settings, shape and box of the other, a copy of its sprite group, a new idle pool.
    explicit ParticleSystem(const ParticleSystem& other);
    ParticleSystem& operator=(const ParticleSystem&) = delete;
    virtual ~ParticleSystem();

    // Once a frame: the emitter, then every particle; nothing while hidden or paused.
    void Update();
    void KillParticles();
    bool IsVisible() const;
    void SetVisible(bool visible);
    void SetColor(const Vec4& colour);
    Model* GetModel() const;
    ShaderUser* GetShaderUser() const;
    void SetShader(const ShaderDescriptor& descriptor);
    SpriteGroup* GetSpriteGroup() const { return spriteGroup; }
    const ParticleSettings& GetSettings() const { return settings; }
    const std::string& GetName() const { return name; }
    uint32_t GetPeakLiveParticles() const { return peakLiveParticles; }
    const std::vector<Particle>& GetParticles() const { return particles; }

    bool paused = false;
    float emitterTime = 0; // seconds into the current cycle
    bool looping = false;
    bool active = false;
    uint32_t liveParticles = 0;
    Vec3 emitterPosition;
    uint32_t emissionShape = 0; // 0 point, 1 box, 2 path; others act as 0
    BoundingBox emissionBox;
    std::vector<Vec3> pathPoints;
    bool pathInterpolation = false;

private:
    void Load(const std::string& fileName, uint8_t onDemand);
    // The sprite group of maximumParticles sprites with the description, and the idle pool.
    void Build(const ShaderDescriptor& descriptor, uint8_t onDemand);
    void MakePool();
    void Emit(float lifetimeCentre, float lifetimeSpread);
    Vec3 StartPoint() const;

    std::string name = "self_made";
    ParticleSettings settings;
    SpriteGroup* spriteGroup = nullptr; // owned through the SpriteGroupManager
    Camera* camera = nullptr;           // not owned
    float emissionAccumulator = 0;
    IdQueue freeParticles;
    std::vector<Particle> particles;
    uint32_t peakLiveParticles = 0;
    int32_t lastEmissionKey = -1;
};

} // namespace OrvexEngine
