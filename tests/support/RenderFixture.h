// Config, window and the Direct3D 7 render system as the Engine builds them, for tests that make textures or
// draw: the desktop is simulated (size and depth given), the window is windowed, and everything is taken down
// in reverse order, checking that no device object is left. SceneRenderFixture adds the engine's other
// drawing services for render tests that capture frames. One per test.
#pragma once

#include "engine/core/Config.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace VelmoraTest {

class RenderFixture {
public:
    // hardware false leaves only the software device.
    RenderFixture(uint32_t width, uint32_t height, uint32_t desktopBits = 32, bool hardware = true) {
        platform::D3DTest::Reset();
        platform::D3DTest::SetHardwareDevice(hardware);
        platform::sim::Reset();
        platform::sim::SetDesktopMode(1024, 768, desktopBits);
        platform::sim::SetWorkArea({0, 0, 1024, 768});
        config = std::make_unique<OrvexEngine::Config>("", "", false, "800x600x32", false, false);
        OrvexEngine::Config::Instance(config.get());
        config->GetSettings().vMode =
            std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(desktopBits);
        config->GetSettings().vFullscreen = false;
        window = std::make_unique<OrvexEngine::Window>("test", 0, 0, width, height, false, true,
                                                       OrvexEngine::Vec2i(0, 0));
        OrvexEngine::Window::Instance(window.get());
        renderSystem = std::make_unique<OrvexEngine::RenderSystem_D3D7>(false, false);
        OrvexEngine::RenderSystem::Instance(renderSystem.get());
    }
    ~RenderFixture() {
        renderSystem.reset();
        window.reset();
        config.reset();
        EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
        platform::D3DTest::Reset();
        platform::sim::Reset();
    }
    RenderFixture(const RenderFixture&) = delete;
    RenderFixture& operator=(const RenderFixture&) = delete;

    std::unique_ptr<OrvexEngine::Config> config;
    std::unique_ptr<OrvexEngine::Window> window;
    std::unique_ptr<OrvexEngine::RenderSystem_D3D7> renderSystem;
};

// The engine's drawing services over a RenderFixture, built in the Engine's order for render tests: timers,
// cameras, lights, materials, models, sprite groups, particle systems and the GUI manager (its virtual screen
// the size given, by default one unit per pixel). Frame runs the engine's manager update and captures the
// back buffer before the frame is shown; SavePng writes a capture for a person to look at and Pixel probes
// it. Needs the log and a file manager (a DataFolder) made first; one per test.
class SceneRenderFixture : public RenderFixture {
public:
    SceneRenderFixture(uint32_t width, uint32_t height, float guiWidth = 0, float guiHeight = 0)
        : RenderFixture(width, height) {
        OrvexEngine::TimerManager::Instance(&timers);
        cameras = Register(std::make_unique<OrvexEngine::CameraManager>());
        lights = Register(std::make_unique<OrvexEngine::LightManager>());
        shaders = Register(std::make_unique<OrvexEngine::ShaderManager>());
        models = Register(std::make_unique<OrvexEngine::ModelManager>());
        spriteGroups = Register(std::make_unique<OrvexEngine::SpriteGroupManager>());
        particles = Register(std::make_unique<OrvexEngine::ParticleSystemManager>());
        gui = std::make_unique<TestGuiManager>(guiWidth > 0 ? guiWidth : float(width),
                                               guiHeight > 0 ? guiHeight : float(height));
    }
    ~SceneRenderFixture() {
        gui.reset();
        particles.reset();
        spriteGroups.reset();
        models.reset();
        shaders.reset();
        lights.reset();
        cameras.reset();
    }

    // One frame in the engine's order, captured after the render pass.
    void Frame(OrvexEngine::Image& image) {
        renderSystem->Refresh();
        cameras->Update();
        particles->Update();
        spriteGroups->Update();
        gui->Render();
        lights->Apply();
        shaders->Update();
        models->Render();
        renderSystem->CaptureScreen(image);
        models->Present();
    }
    // Writes the capture as test-output/<name>.
    static void SavePng(const OrvexEngine::Image& image, const std::string& name) {
        std::vector<uint8_t> rgba(size_t(image.width) * image.height * 4);
        for (uint32_t y = 0; y < image.height; ++y)
            for (uint32_t x = 0; x < image.width; ++x) {
                const uint8_t* p = image.Row(image.height - 1 - y) + x * image.BytesPerPixel();
                uint8_t* q = &rgba[(size_t(y) * image.width + x) * 4];
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
                q[3] = 255;
            }
        WritePng(TestOutputPath(name), image.width, image.height, rgba);
    }
    // The pixel (R, G, B first) at (x, y) counted from the bottom left corner of the capture.
    static const uint8_t* Pixel(const OrvexEngine::Image& image, float x, float y) {
        return image.Row(uint32_t(y)) + uint32_t(x) * image.BytesPerPixel();
    }

    OrvexEngine::TimerManager timers;
    std::unique_ptr<OrvexEngine::CameraManager> cameras;
    std::unique_ptr<OrvexEngine::LightManager> lights;
    std::unique_ptr<OrvexEngine::ShaderManager> shaders;
    std::unique_ptr<OrvexEngine::ModelManager> models;
    std::unique_ptr<OrvexEngine::SpriteGroupManager> spriteGroups;
    std::unique_ptr<OrvexEngine::ParticleSystemManager> particles;
    std::unique_ptr<TestGuiManager> gui;

private:
    template <class T> static std::unique_ptr<T> Register(std::unique_ptr<T> service) {
        T::Instance(service.get());
        return service;
    }
};

} // namespace VelmoraTest
