// ctest-label: graphics
// The render system, the cameras and the lights in the Engine: created after the window, driven by the tick,
// and released with no reference left when the engine goes.
#include "engine/core/Engine.h"

#include "engine/graphics/CameraManager.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/RenderSystem.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace OrvexEngine;

namespace {

std::string ReadLog(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(EngineGraphicsTest, TickClearsAndPresentsAndShutDownReleasesTheDevice) {
    platform::D3DTest::Reset();
    platform::sim::Reset();
    EngineStartupParams params;
    params.title = "Graphics";
    params.logEnabled = true;
    params.logDirectory = VelmoraTest::TempDir() + "/graphics";
    params.useStencilBuffer = true;
    std::string path;
    {
        Engine engine(params);
        path = Log()->GetFilePath();
        RenderSystem* renderSystem = RenderSystem::Instance();
        ASSERT_NE(renderSystem, nullptr);
        ASSERT_NE(CameraManager::Instance(), nullptr);
        ASSERT_NE(LightManager::Instance(), nullptr);
        EXPECT_TRUE(renderSystem->hasStencil);
        uint32_t presents = platform::D3DTest::Presents();
        for (int frame = 0; frame < 3; ++frame) {
            engine.BeginFrame();
            engine.Tick(0);
        }
        EXPECT_EQ(platform::D3DTest::Presents(), presents + 3);
        EXPECT_EQ(CameraManager::Instance()->viewportWidth, 800u);

        // A lost display: frames go on without presenting, and come back by themselves.
        platform::D3DTest::SetCooperativeResult(platform::ErrNoExclusiveMode);
        engine.BeginFrame();
        engine.Tick(0);
        EXPECT_EQ(platform::D3DTest::Presents(), presents + 3);
        platform::D3DTest::SetCooperativeResult(platform::ResultOk);
        engine.BeginFrame();
        engine.Tick(0);
        EXPECT_EQ(platform::D3DTest::Presents(), presents + 4);
    }
    EXPECT_EQ(RenderSystem::Instance(), nullptr);
    EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
    std::string html = ReadLog(path);
    EXPECT_NE(html.find("Initialization of Direct3D subsystem..."), std::string::npos);
    EXPECT_NE(html.find("Maximal texture units: "), std::string::npos);
    EXPECT_NE(html.find("...Releasing DirectDraw..."), std::string::npos);
    EXPECT_EQ(html.find("still referenced"), std::string::npos);
    // The render system is made after the window and released before it.
    EXPECT_LT(html.find("Window creation:"), html.find("Initialization of Direct3D subsystem..."));
    EXPECT_LT(html.find("Direct3D Subsystem destroying:"), html.find("Window destroying:"));
    platform::sim::Reset();
}

} // namespace
