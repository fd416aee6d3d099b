#include "engine/graphics/ParticleSystem.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/TimerManager.h"
#include "engine/files/FilePaths.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/math/Random.h"

#include <algorithm>
#include <cmath>

namespace OrvexEngine {

namespace {

// A position p in 0..1 of a span: keys k and k2 with their weights o and l.
struct KeyBlend {
    int k = 0;
    int k2 = 1;
    float o = 1;
    float l = 0;

    explicit KeyBlend(float p) {
        const float s = p * 5.0f;
        k = std::clamp(static_cast<int>(s), 0, particleKeyCount - 1);
        k2 = k + 1 == particleKeyCount ? 0 : k + 1;
        l = s - float(k);
        o = 1 - l;
    }
    template <class T> T Of(const T (&table)[particleKeyCount]) const { return table[k] * o + table[k2] * l; }
};

} // namespace

ParticleSystem::ParticleSystem(Camera* systemCamera) : camera(systemCamera) {
    Build(ShaderDescriptor(), 0);
    emissionBox.Set(Vec3(-0.5f), Vec3(0.5f));
}

ParticleSystem::ParticleSystem(const std::string& fileName, Camera* systemCamera, uint8_t onDemand)
    : camera(systemCamera) {
    Load(fileName, onDemand);
}

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : emissionShape(other.emissionShape), emissionBox(other.emissionBox), name(other.name),
      settings(other.settings), camera(other.camera) {
    spriteGroup = SpriteGroupManager::Instance()->CreateSpriteGroupCopy(*other.spriteGroup);
    // The copy's pool starts with no live particle: a sprite copied from one of the other's would have no
    // particle to move it or end it, and would hang in place for ever.
    for (uint32_t id = 0; id < spriteGroup->GetSpriteCount(); ++id)
        spriteGroup->RemoveSprite(id);
    MakePool();
}

ParticleSystem::~ParticleSystem() {
    if (SpriteGroupManager::Instance() != nullptr)
        SpriteGroupManager::Instance()->DeleteSpriteGroup(spriteGroup);
}

void ParticleSystem::Load(const std::string& fileName, uint8_t onDemand) {
    name = fileName;
    ParticleFileContents file;
    try {
        ParticleFile::Read(fileName, file);
    } catch (const FileError& error) {
        Log()->Error(error.GetText());
        throw Error(error.GetText());
    }
    settings = file.settings;
    emissionShape = file.emissionShape;
    emissionBox.Set(file.boxMin, file.boxMax);
    ShaderDescriptor descriptor;
    std::string materialName = fileName;
    ReplaceExtension(materialName, "srf");
    try {
        descriptor.LoadFromFile(materialName);
    } catch (const Error&) {
        // The material reader has logged why; the system draws with the default material.
        descriptor = ShaderDescriptor();
    }
    Build(descriptor, onDemand);
}

void ParticleSystem::Build(const ShaderDescriptor& descriptor, uint8_t onDemand) {
    spriteGroup = SpriteGroupManager::Instance()->CreateSpriteGroup(settings.maximumParticles, &descriptor,
                                                                    camera, onDemand);
    MakePool();
}

void ParticleSystem::MakePool() {
    particles.assign(settings.maximumParticles, Particle());
    freeParticles = IdQueue(settings.maximumParticles);
    for (uint32_t id = settings.maximumParticles; id-- > 0;)
        freeParticles.PushBack(id);
}

void ParticleSystem::KillParticles() {
    for (uint32_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        if (particle.free)
            continue;
        spriteGroup->RemoveSprite(particle.spriteId);
        particle.free = true;
        freeParticles.PushBack(i);
    }
}

bool ParticleSystem::IsVisible() const {
    return spriteGroup->IsVisible();
}

void ParticleSystem::SetVisible(bool visible) {
    spriteGroup->SetVisible(visible);
}

void ParticleSystem::SetColor(const Vec4& colour) {
    spriteGroup->SetColor(colour);
}

Model* ParticleSystem::GetModel() const {
    return spriteGroup->GetModel();
}

ShaderUser* ParticleSystem::GetShaderUser() const {
    return spriteGroup->GetShaderUser();
}

void ParticleSystem::SetShader(const ShaderDescriptor& descriptor) {
    spriteGroup->SetShader(descriptor);
}

Vec3 ParticleSystem::StartPoint() const {
    if (emissionShape == 1) {
        const Vec3& min = emissionBox.GetWorldMin();
        const Vec3& max = emissionBox.GetWorldMax();
        Vec3 offset;
        for (int i = 0; i < 3; ++i)
            offset[i] = RandomFloatRange(min[i], max[i]);
        return emitterPosition + offset;
    }
    if (emissionShape == 2) {
        const int count = static_cast<int>(pathPoints.size());
        if (count == 0)
            return Vec3();
        if (pathInterpolation) {
            if (count == 1)
                return pathPoints[0];
            const int i = RandomIntRange(0, count - 2);
            return pathPoints[i] + (pathPoints[i + 1] - pathPoints[i]) * RandomFloat();
        }
        return pathPoints[RandomIntRange(0, count - 1)];
    }
    return emitterPosition;
}

void ParticleSystem::Emit(float lifetimeCentre, float lifetimeSpread) {
    const uint32_t index = freeParticles.Front();
    freeParticles.PopFront();
    Particle& particle = particles[index];
    particle.free = false;
    particle.spriteId = spriteGroup->AddSprite(StartPoint(), settings.size[0], settings.colour[0]);
    particle.lifetime = RandomAround(lifetimeCentre, lifetimeSpread);
    particle.age = 0;
    particle.direction = Vec3();
    for (int w = 0; w < particleKeyCount; ++w) {
        const Vec3& centre = settings.directionCentre[w];
        const Vec3& spread = settings.directionSpread[w];
        if (w > 0 && centre.Length() < 0.05f && spread.Length() < 0.05f) {
            particle.keyDirections[w] = particle.keyDirections[w - 1];
        } else {
            for (int c = 0; c < 3; ++c)
                particle.keyDirections[w][c] = RandomAround(centre[c], spread[c]);
            particle.keyDirections[w].Normalize();
        }
    }
    for (int w = 0; w < particleKeyCount; ++w)
        particle.keySpeeds[w] = RandomAround(settings.speedCentre[w], settings.speedSpread[w]);
    particle.fallSpeed = 0;
    particle.speedFactor = 1;
}

void ParticleSystem::Update() {
    if (!spriteGroup->IsVisible() || paused)
        return;
    const float dt = TimerManager::Instance()->frameTime;
    const float duration = settings.emissionDuration;

    if (active) {
        emitterTime += dt;
        if (!(duration > 0)) {
            // Files never carry such a cycle; a cycle without length has nothing to emit.
            emitterTime = 0;
            lastEmissionKey = -1;
            active = false;
        } else if (looping) {
            if (duration <= emitterTime)
                emitterTime = std::fmod(emitterTime, duration);
        } else if (duration <= emitterTime) {
            emitterTime = 0;
            lastEmissionKey = -1;
            active = false;
        }
    }
    if (active) {
        const KeyBlend key(emitterTime / duration);
        float lifetimeCentre = 0;
        float lifetimeSpread = 0;
        if (settings.interpolatedEmission) {
            emissionAccumulator += key.Of(settings.emissionRate) * dt;
            lifetimeCentre = key.Of(settings.lifetimeCentre);
            lifetimeSpread = key.Of(settings.lifetimeSpread);
        } else {
            if (key.k != lastEmissionKey)
                emissionAccumulator += settings.emissionRate[key.k];
            lifetimeCentre = settings.lifetimeCentre[key.k];
            lifetimeSpread = settings.lifetimeSpread[key.k];
        }
        const float owed = std::trunc(emissionAccumulator);
        if (owed > 0) {
            emissionAccumulator -= owed;
            const uint32_t count = owed < 1e9f ? static_cast<uint32_t>(owed) : 1000000000u;
            for (uint32_t i = 0; i < count && !freeParticles.Empty(); ++i)
                Emit(lifetimeCentre, lifetimeSpread);
        }
        lastEmissionKey = key.k;
    }

    liveParticles = 0;
    for (uint32_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        if (particle.free)
            continue;
        particle.age += dt;
        if (particle.age >= particle.lifetime) {
            spriteGroup->RemoveSprite(particle.spriteId);
            particle.free = true;
            freeParticles.PushBack(i);
            continue;
        }
        const KeyBlend key(particle.age / particle.lifetime);
        const float speed = key.Of(particle.keySpeeds) * particle.speedFactor;
        Vec3 direction = key.Of(particle.keyDirections);
        direction.Normalize();
        particle.direction = direction;

        Vec3 d = direction * (speed * 100 * dt);
        if (settings.gravityOn) {
            particle.fallSpeed += settings.gravity * dt;
            d.z -= particle.fallSpeed * 100 * dt;
        }
        GroupSprite& sprite = spriteGroup->GetSprite(particle.spriteId);
        sprite.position += d;
        if (settings.floorOn && settings.floorHeight > sprite.position.z) {
            sprite.position.z = settings.floorHeight + 0.0001f * 10;
            particle.fallSpeed = 0;
            particle.speedFactor *= settings.bounceFactor;
            if (settings.minimumSpeedFactor > particle.speedFactor) {
                particle.speedFactor = 0;
                if (settings.dieWhenSlow)
                    particle.age = particle.lifetime + 0.0001f;
            }
            // The particle carries on along the reflection of its last motion.
            Vec3 bounced(d.x, d.y, std::fabs(d.z));
            bounced.Normalize();
            particle.direction = bounced;
            for (Vec3& keyDirection : particle.keyDirections)
                keyDirection = bounced;
        }
        sprite.colour = key.Of(settings.colour);
        sprite.size = key.Of(settings.size);
        ++liveParticles;
    }
    peakLiveParticles = std::max(peakLiveParticles, liveParticles);
}

} // namespace OrvexEngine
