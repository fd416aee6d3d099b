// ctest-label: models
// The model, sprite-group and particle-system managers in the Engine: created after the shader manager,
// driven every frame by the tick (particles, sprite groups, the one render pass, the present) and deleted
// before it, with no error in the log.
#include "engine/core/Engine.h"

#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
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

TEST(EngineModelsTest, EveryFrameRunsTheRenderPassAndPresents) {
    // Frame times come from the fake clock, which Tick's sleep advances: the same particles every run,
    // however loaded the machine is.
    platform::InstallFakeClock();
    platform::D3DTest::Reset();
    platform::sim::Reset();
    EngineStartupParams params;
    params.title = "Models";
    params.logEnabled = true;
    params.logDirectory = VelmoraTest::TempDir() + "/engine-models";
    std::string path;
    {
        Engine engine(params);
        path = Log()->GetFilePath();
        ModelManager* models = ModelManager::Instance();
        ASSERT_NE(models, nullptr);
        ASSERT_NE(SpriteGroupManager::Instance(), nullptr);
        ASSERT_NE(ParticleSystemManager::Instance(), nullptr);

        // An empty pass first, as the game's first frames run it.
        const uint32_t presents = platform::D3DTest::Presents();
        engine.BeginFrame();
        engine.Tick(0);
        EXPECT_EQ(platform::D3DTest::Presents(), presents + 1);
        EXPECT_EQ(models->visibleModels, 0u);

        // A box in front of the default camera and a running particle system.
        Model* box = models->CreateBoxModel(Vec3(-1.0f), Vec3(1.0f), nullptr, nullptr, 0);
        box->transform = Matrix4::Translation(Vec3(0, 0, -6));
        box->box.SetTransform(box->transform);
        std::unique_ptr<ParticleSystem> fire(ParticleSystemManager::Instance()->NewParticleSystem(nullptr));
        ParticleSystem* copy = ParticleSystemManager::Instance()->CreateParticleSystemCopy(*fire);
        copy->emitterPosition = Vec3(0, 0, -8);
        copy->looping = true;
        copy->active = true;
        for (int frame = 0; frame < 12; ++frame) {
            engine.BeginFrame();
            engine.Tick(20);
        }
        EXPECT_EQ(platform::D3DTest::Presents(), presents + 13);
        EXPECT_GT(copy->liveParticles, 0u);
        EXPECT_GE(models->drawnModels, 2u); // the box and the particles' sprites
        EXPECT_GT(box->GetDrawnPrimitives(), 0u);
        ParticleSystemManager::Instance()->Release(copy);
    }
    EXPECT_EQ(ModelManager::Instance(), nullptr);
    EXPECT_EQ(SpriteGroupManager::Instance(), nullptr);
    EXPECT_EQ(ParticleSystemManager::Instance(), nullptr);
    EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
    const std::string html = ReadLog(path);
    EXPECT_EQ(html.find("Error: "), std::string::npos) << html;
    EXPECT_EQ(html.find("PROGRAM ABORTING"), std::string::npos);
    platform::sim::Reset();
    platform::RemoveFakeClock();
}

} // namespace
