// Per-frame costs of the model side of a frame over a render system without a device: the render pass
// (update, cull, sort and draw of many boxes), a particle system's update with hundreds of live particles,
// and a sprite group's rebuild of its camera-facing quads.
#include "engine/core/Config.h"
#include "engine/core/MessageManager.h"
#include "engine/core/TimerManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/math/Random.h"
#include "tests/support/RecordingRenderSystem.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace OrvexEngine;

namespace {

// The services of the model side, built in the engine's order and deleted in reverse.
struct Services {
    Services() {
        MessageManager::Instance(&log);
        Config::Instance(&config);
        TimerManager::Instance(&timers);
        timers.frameTime = 1.0f / 60;
        render = std::make_unique<VelmoraTest::RecordingRenderSystem>(2);
        render->ready = true;
        cameras = std::make_unique<CameraManager>();
        CameraManager::Instance(cameras.get());
        lights = std::make_unique<LightManager>();
        LightManager::Instance(lights.get());
        shaders = std::make_unique<ShaderManager>();
        ShaderManager::Instance(shaders.get());
        models = std::make_unique<ModelManager>();
        ModelManager::Instance(models.get());
        sprites = std::make_unique<SpriteGroupManager>();
        SpriteGroupManager::Instance(sprites.get());
        particles = std::make_unique<ParticleSystemManager>();
        ParticleSystemManager::Instance(particles.get());
        cameras->GetDefaultCamera()->Update(4.0f / 3.0f);
    }
    ~Services() {
        particles.reset();
        sprites.reset();
        models.reset();
        shaders.reset();
        lights.reset();
        cameras.reset();
        render.reset();
    }

    MessageManager log{"Bench", false, false, "", ""};
    Config config{"", "", false, "800x600x32", false, false};
    TimerManager timers;
    std::unique_ptr<VelmoraTest::RecordingRenderSystem> render;
    std::unique_ptr<CameraManager> cameras;
    std::unique_ptr<LightManager> lights;
    std::unique_ptr<ShaderManager> shaders;
    std::unique_ptr<ModelManager> models;
    std::unique_ptr<SpriteGroupManager> sprites;
    std::unique_ptr<ParticleSystemManager> particles;
};

void RenderPass(benchmark::State& state) {
    Services services;
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) {
        Model* box = services.models->CreateBoxModel(Vec3(-0.5f), Vec3(0.5f), nullptr, nullptr,
                                                     i % 3 == 0 ? uint32_t(ModelSecondList) : 0u);
        // Half of them in front of the camera, the others behind it (culled).
        const float z = (i % 2 == 0 ? -1.0f : 1.0f) * (5.0f + float(i % 50));
        box->transform = Matrix4::Translation(Vec3(float(i % 7) - 3, float(i % 5) - 2, z));
        box->box.SetTransform(box->transform);
    }
    for (auto _ : state) {
        services.models->Render();
        services.render->calls.clear();
        services.render->draws.clear();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(RenderPass)->Arg(100)->Arg(1000);

void ParticleUpdate(benchmark::State& state) {
    Services services;
    SeedRandom(3);
    std::unique_ptr<ParticleSystem> templateSystem(services.particles->NewParticleSystem(nullptr));
    ParticleSystem* system = services.particles->CreateParticleSystemCopy(*templateSystem);
    system->looping = true;
    system->active = true;
    // Two seconds of frames first: ten births a second with one-second lives is the steady state.
    for (int frame = 0; frame < 120; ++frame)
        services.particles->Update();
    for (auto _ : state) {
        services.particles->Update();
        services.sprites->Update();
    }
    state.counters["live"] = system->liveParticles;
    services.particles->Release(system);
}
BENCHMARK(ParticleUpdate);

void SpriteRebuild(benchmark::State& state) {
    Services services;
    const uint32_t count = static_cast<uint32_t>(state.range(0));
    SpriteGroup* group = services.sprites->CreateSpriteGroup(count, nullptr, nullptr, 0);
    for (uint32_t i = 0; i < count; ++i)
        group->AddSprite(Vec3(float(i % 30) - 15, float(i % 20) - 10, -20.0f - float(i % 40)), 0.5f,
                         Vec4(1.0f));
    for (auto _ : state)
        group->BuildGeometry();
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(SpriteRebuild)->Arg(100)->Arg(2000);

} // namespace

BENCHMARK_MAIN();
