// The engine's scene services for render tests that capture frames: timers, cameras, lights, materials,
// models, sprite groups and particle systems, made and registered in the Engine's order over a render system
// that already exists (and outlives them), deleted in reverse. Frame runs the engine's manager update and
// captures the back buffer before the frame is shown; SavePng writes a capture for a person to look at,
// Pixel and PixelAt probe it. Needs the log and a file manager made first; one per test.
#pragma once

#include "engine/core/TimerManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/gui/GUIManager.h"

#include <cstdint>
#include <memory>
#include <string>

namespace VelmoraTest {

class SceneServices {
public:
    explicit SceneServices(OrvexEngine::RenderSystem& renderSystem);
    ~SceneServices();
    SceneServices(const SceneServices&) = delete;
    SceneServices& operator=(const SceneServices&) = delete;

    // Aims the default camera the way a level does (90 degrees, near 70, far 650, above and behind the bat)
    // and updates the cameras, so that the device's projection follows before the first frame.
    OrvexEngine::Camera* UseLevelCamera();

    // One frame in the engine's order, captured after the render pass; a GUI, when given, places its models
    // and texts between the sprite groups and the lights.
    void Frame(OrvexEngine::Image& image, OrvexEngine::GUIManager* gui = nullptr);
    // Writes the capture as test-output/<name>, top row first.
    static void SavePng(const OrvexEngine::Image& image, const std::string& name);
    // The pixel (R, G, B first) at (x, y) counted from the bottom left corner of the capture.
    static const uint8_t* Pixel(const OrvexEngine::Image& image, float x, float y);
    // The pixel where the default camera sees the world point.
    const uint8_t* PixelAt(const OrvexEngine::Image& image, const OrvexEngine::Vec3& world) const;

    OrvexEngine::TimerManager timers;
    std::unique_ptr<OrvexEngine::CameraManager> cameras;
    std::unique_ptr<OrvexEngine::LightManager> lights;
    std::unique_ptr<OrvexEngine::ShaderManager> shaders;
    std::unique_ptr<OrvexEngine::ModelManager> models;
    std::unique_ptr<OrvexEngine::SpriteGroupManager> sprites;
    std::unique_ptr<OrvexEngine::ParticleSystemManager> particles;

private:
    OrvexEngine::RenderSystem& drawing; // not owned
};

} // namespace VelmoraTest
