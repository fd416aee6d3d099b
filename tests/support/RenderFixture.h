// Config, window and the Direct3D 7 render system as the Engine builds them, for tests that make textures or
// draw: the desktop is simulated (size and depth given), the window is windowed, and everything is taken down
// in reverse order, checking that no device object is left (SceneRenderFixture adds the scene services and
// the GUI for render tests that capture frames). One per test.
#pragma once

#include "engine/core/Config.h"
#include "engine/core/Window.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"

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

} // namespace VelmoraTest
