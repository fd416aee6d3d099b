#include "tests/support/SceneServices.h"

#include "tests/support/PngWriter.h"

namespace VelmoraTest {

namespace {

template <class T> std::unique_ptr<T> Registered() {
    auto service = std::make_unique<T>();
    T::Instance(service.get());
    return service;
}

} // namespace

SceneServices::SceneServices(OrvexEngine::RenderSystem& renderSystem) : drawing(renderSystem) {
    OrvexEngine::TimerManager::Instance(&timers);
    cameras = Registered<OrvexEngine::CameraManager>();
    lights = Registered<OrvexEngine::LightManager>();
    shaders = Registered<OrvexEngine::ShaderManager>();
    models = Registered<OrvexEngine::ModelManager>();
    sprites = Registered<OrvexEngine::SpriteGroupManager>();
    particles = Registered<OrvexEngine::ParticleSystemManager>();
}

SceneServices::~SceneServices() {
    // Each service may still use, while it is deleted, those made before it.
    particles.reset();
    sprites.reset();
    models.reset();
    shaders.reset();
    lights.reset();
    cameras.reset();
}

OrvexEngine::Camera* SceneServices::UseLevelCamera() {
    OrvexEngine::Camera* camera = cameras->GetDefaultCamera();
    camera->fieldOfView = 1.5707964f;
    camera->nearPlane = 70;
    camera->farPlane = 650;
    camera->orientation = OrvexEngine::Quaternion(0.4939f, 0, 0, 0.8695f);
    camera->position = OrvexEngine::Vec3(0, -140, 98);
    cameras->Update();
    return camera;
}

void SceneServices::Frame(OrvexEngine::Image& image, OrvexEngine::GUIManager* gui) {
    drawing.Refresh();
    cameras->Update();
    particles->Update();
    sprites->Update();
    if (gui != nullptr)
        gui->Render();
    lights->Apply();
    shaders->Update();
    models->Render();
    drawing.CaptureScreen(image);
    models->Present();
}

void SceneServices::SavePng(const OrvexEngine::Image& image, const std::string& name) {
    WritePng(TestOutputPath(name), image);
}

const uint8_t* SceneServices::Pixel(const OrvexEngine::Image& image, float x, float y) {
    return image.Row(uint32_t(y)) + uint32_t(x) * image.BytesPerPixel();
}

const uint8_t* SceneServices::PixelAt(const OrvexEngine::Image& image, const OrvexEngine::Vec3& world) const {
    const OrvexEngine::Vec2 s = cameras->Project(*cameras->GetDefaultCamera(), world);
    return Pixel(image, s.x, s.y);
}

} // namespace VelmoraTest
