// The engine services models, sprite groups and particle systems run on, built in the Engine's order over a
// recording render system (ready, with the given device stages) and a data folder, and deleted in reverse.
// The default camera sits at the origin looking along -z with a 4:3 frustum.
#pragma once

#include "engine/core/Config.h"
#include "engine/core/TimerManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tests/support/RecordingRenderSystem.h"

#include <memory>

namespace VelmoraTest {

class ModelServices {
public:
    explicit ModelServices(const std::string& folder = "models", uint32_t stages = 2) : data(folder) {
        OrvexEngine::Config::Instance(&config);
        OrvexEngine::TimerManager::Instance(&timers);
        render = std::make_unique<RecordingRenderSystem>(stages);
        render->ready = true;
        cameras = Register(std::make_unique<OrvexEngine::CameraManager>());
        lights = Register(std::make_unique<OrvexEngine::LightManager>());
        shaders = Register(std::make_unique<OrvexEngine::ShaderManager>());
        models = Register(std::make_unique<OrvexEngine::ModelManager>());
        sprites = Register(std::make_unique<OrvexEngine::SpriteGroupManager>());
        particles = Register(std::make_unique<OrvexEngine::ParticleSystemManager>());
        camera = cameras->GetDefaultCamera();
        camera->Update(4.0f / 3.0f);
    }
    ~ModelServices() {
        particles.reset();
        sprites.reset();
        models.reset();
        shaders.reset();
        lights.reset();
        cameras.reset();
        render.reset();
    }
    ModelServices(const ModelServices&) = delete;
    ModelServices& operator=(const ModelServices&) = delete;

    TestLog log;
    DataFolder data;
    OrvexEngine::Config config{"", "", false, "800x600x32", false, false};
    OrvexEngine::TimerManager timers;
    std::unique_ptr<RecordingRenderSystem> render;
    std::unique_ptr<OrvexEngine::CameraManager> cameras;
    std::unique_ptr<OrvexEngine::LightManager> lights;
    std::unique_ptr<OrvexEngine::ShaderManager> shaders;
    std::unique_ptr<OrvexEngine::ModelManager> models;
    std::unique_ptr<OrvexEngine::SpriteGroupManager> sprites;
    std::unique_ptr<OrvexEngine::ParticleSystemManager> particles;
    OrvexEngine::Camera* camera = nullptr;

private:
    template <class T> std::unique_ptr<T> Register(std::unique_ptr<T> service) {
        T::Instance(service.get());
        return service;
    }
};

} // namespace VelmoraTest
