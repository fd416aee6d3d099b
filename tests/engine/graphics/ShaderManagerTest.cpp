// ctest-label: materials
// Shaders and their manager over a recording render system: sharing by equal descriptions and the counts,
// Apply's device states, atlas cells and sequence frames under a fixed frame time, loading with a fallback,
// and releasing.
#include "engine/graphics/ShaderManager.h"
#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Shader.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureManager.h"
#include "tests/support/MaterialRenderSystem.h"
#include "tests/support/TestLog.h"
#include "tools/formats/MaterialWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

class Shaders : public testing::Test {
protected:
    Shaders() {
        fs::create_directories(fs::path(VelmoraTest::TempDir()) / "shaders" / "data");
        FileManager::Instance(&files);
        TimerManager::Instance(&timers);
        timers.frameTime = 0.125f;
    }

    ShaderDescriptor Still(const std::string& color, const std::string& opacity = "") {
        ShaderDescriptor d;
        d.AddStage(0, AnimationStill, 1, 1, 0, 0, color, opacity, 1);
        return d;
    }

    VelmoraTest::TestLog log;
    FileManager files{(fs::path(VelmoraTest::TempDir()) / "shaders").string(), false, "data", 0};
    TimerManager timers;
    Config config{"", "shaders", false, "800x600x32", false, false};
    Config* registered = Config::Instance(&config);
    VelmoraTest::MaterialRenderSystem renderSystem{2};
    ShaderManager manager;
};

} // namespace

TEST_F(Shaders, EqualDescriptionsShareOneShader) {
    ShaderDescriptor blended = Still("wall.png");
    blended.AddFlags(ShaderFlagAlphaBlend);
    blended.SetBlend(0, 4);
    blended.SetBlend(1, 5);

    ShaderUser* a = manager.CreateShaderUser(Still("wall.png"), false);
    ShaderUser* b = manager.CreateShaderUser(blended, true);
    ShaderUser* other = manager.CreateShaderUser(Still("floor.png"), false);
    EXPECT_EQ(a->GetShader(), b->GetShader());
    EXPECT_NE(a->GetShader(), other->GetShader());
    EXPECT_EQ(manager.GetShaderUserCount(), 3u);
    EXPECT_EQ(manager.GetShaderCount(), 2u);
    EXPECT_EQ(a->GetShader()->referenceCount, 2u);
    EXPECT_EQ(manager.GetTextureManager()->GetTextureCount(), 2u);
    EXPECT_FALSE(a->GetShader()->GetTexture(0, 0)->onDemand); // the first user's flag built the shader

    // Only the user with flags bit 0 draws blended.
    renderSystem.TakeCalls();
    b->Apply();
    std::vector<std::string> calls = renderSystem.TakeCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "alpha 1");
    EXPECT_EQ(calls[1], "blend 4 5");
    a->Apply();
    EXPECT_EQ(renderSystem.TakeCalls(), std::vector<std::string>{"alpha 0"}); // factors stay as they were

    manager.ReleaseShaderUser(a);
    EXPECT_EQ(manager.GetShaderCount(), 2u);
    EXPECT_EQ(b->GetShader()->referenceCount, 1u);
    manager.ReleaseShaderUser(b);
    EXPECT_EQ(manager.GetShaderCount(), 1u);
    EXPECT_EQ(manager.GetShaderUserCount(), 1u);
    EXPECT_EQ(manager.GetTextureManager()->GetTextureCount(),
              1u); // wall's texture went with its shader
    manager.ReleaseShaderUser(other);
    EXPECT_EQ(manager.GetShaderCount(), 0u);
    EXPECT_EQ(manager.GetTextureManager()->GetTextureCount(), 0u);
}

TEST_F(Shaders, ApplySetsEveryDeviceStage) {
    ShaderDescriptor d = Still("wall.png");
    d.stages[0].addressU = 0;
    d.stages[0].scaleU = 2;
    d.stages[0].offsetV = 0.5f;
    ShaderUser* user = manager.CreateShaderUser(d, false);
    Texture2D* texture = user->GetShader()->GetTexture(0, 0);
    ASSERT_NE(texture, nullptr);
    texture->framesUnused = 7;
    // States another material left behind.
    renderSystem.SetAlphaBlend(true);
    renderSystem.SetTextureAdressV(0, 0);
    renderSystem.SetTexture(1, texture);
    renderSystem.TakeCalls();

    user->Apply();
    const std::string filter = texture->HasMipMaps() ? "filter 0 2" : "filter 0 1";
    EXPECT_EQ(renderSystem.TakeCalls(),
              (std::vector<std::string>{"alpha 0", "texture 0 " + texture->name, filter, "address-u 0 0",
                                        "address-v 0 1", "matrix 0 2.000000 1.000000 0.000000 0.500000",
                                        "texture 1 none"}));
    EXPECT_EQ(texture->framesUnused, 0u);
    user->Apply();
    EXPECT_TRUE(renderSystem.TakeCalls().empty()); // the cache holds it all

    // No stage: every device stage loses its texture; states of the stages stay.
    ShaderUser* bare = manager.CreateShaderUser(ShaderDescriptor(), false);
    bare->Apply();
    EXPECT_EQ(renderSystem.TakeCalls(), std::vector<std::string>{"texture 0 none"});

    // A stage without images binds none and leaves its other states alone.
    ShaderDescriptor none = Still("wall.png");
    none.stages[0].flags = StageFlagNoImages;
    ShaderUser* empty = manager.CreateShaderUser(none, false);
    user->Apply();
    renderSystem.TakeCalls();
    empty->Apply();
    EXPECT_EQ(renderSystem.TakeCalls(), std::vector<std::string>{"texture 0 none"});

    // More stages than the device has: the spare stage is not touched.
    VelmoraTest::MaterialRenderSystem one{1};
    ShaderDescriptor two = Still("wall.png");
    two.AddStage(0, AnimationStill, 1, 1, 0, 0, "detail.png", "", 1);
    ShaderUser* twoStages = manager.CreateShaderUser(two, false);
    twoStages->Apply();
    for (const std::string& call : one.TakeCalls())
        EXPECT_EQ(call.find(" 1 "), std::string::npos) << call;
}

TEST_F(Shaders, AtlasCellsUnderAFixedFrameTime) {
    ShaderDescriptor d;
    d.InitAnimated(false, AnimationAtlas, 4, 2, 8, 8.0f, "ui\\button.png", "", false);
    ShaderUser* user = manager.CreateShaderUser(d, false);
    ShaderUser* still = manager.CreateShaderUser(Still("ui\\button.png"), false);
    EXPECT_EQ(user->GetShader(), still->GetShader()); // an atlas is one texture

    struct Expected {
        int updates;
        float scaleU, scaleV, offsetU, offsetV;
    } frames[] = {{0, 0.24975f, 0.4995f, 0.000125f, 0.50025f}, {5, 0.24975f, 0.4995f, 0.250125f, 0.00025f}};
    for (const Expected& e : frames) {
        user->GetAnimation(0)->position = 0;
        timers.frameTime = 0.0f;
        manager.Update();
        timers.frameTime = 0.125f; // one frame at 8 frames per second
        for (int i = 0; i < e.updates; ++i)
            manager.Update();
        ASSERT_EQ(user->GetAnimation(0)->currentFrame, uint32_t(e.updates));
        const ShaderStage& s = user->stages[0];
        EXPECT_NEAR(s.scaleU, e.scaleU, 1e-6);
        EXPECT_NEAR(s.scaleV, e.scaleV, 1e-6);
        EXPECT_NEAR(s.offsetU, e.offsetU, 1e-6);
        EXPECT_NEAR(s.offsetV, e.offsetV, 1e-6);
        EXPECT_EQ(s.currentFrame, 0u);
    }
    // The still user's own copy is untouched by the animation of the other.
    EXPECT_EQ(still->stages[0].scaleU, 1.0f);

    // An atlas without a frame count stays on its first cell.
    d.InitAnimated(false, AnimationAtlas, 4, 2, 0, 8.0f, "ui\\button.png", "", false);
    ShaderUser* first = manager.CreateShaderUser(d, false);
    for (int i = 0; i < 3; ++i)
        manager.Update();
    EXPECT_NEAR(first->stages[0].scaleU, 0.24975f, 1e-6);
    EXPECT_NEAR(first->stages[0].offsetV, 0.50025f, 1e-6);
}

TEST_F(Shaders, SequencesBindTheTextureOfTheCurrentFrame) {
    ShaderDescriptor d;
    d.InitAnimated(false, AnimationColorSequence, 1, 1, 8, 8.0f, "fx\\fire7.png", "", false);
    ShaderUser* user = manager.CreateShaderUser(d, false);
    Shader* shader = user->GetShader();
    ASSERT_EQ(shader->GetFrameCount(0), 8u);
    EXPECT_EQ(manager.GetTextureManager()->GetTextureCount(), 8u);
    for (int frame = 1; frame < 8; ++frame) {
        manager.Update();
        ASSERT_EQ(user->stages[0].currentFrame, uint32_t(frame));
        renderSystem.TakeCalls();
        user->Apply();
        std::vector<std::string> calls = renderSystem.TakeCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls[0], "texture 0 " + shader->GetTexture(0, frame)->name);
        EXPECT_NE(calls[0].find("fire" + std::to_string(frame) + ".png"), std::string::npos) << calls[0];
    }
    // A frame past the table (the description changed by its owner) shows the last texture.
    user->stages[0].currentFrame = 3;
    user->Apply();
    renderSystem.TakeCalls();
    user->stages[0].currentFrame = 40;
    user->Apply();
    EXPECT_EQ(renderSystem.TakeCalls(),
              std::vector<std::string>{"texture 0 " + shader->GetTexture(0, 7)->name});

    // A still stage is never advanced; a random start still plays every frame it lands on.
    ShaderDescriptor random;
    random.InitAnimated(false, AnimationColorSequence, 1, 1, 8, 8.0f, "fx\\fire7.png", "", false);
    random.stages[0].flags |= StageFlagRandomStart;
    ShaderUser* second = manager.CreateShaderUser(random, false);
    EXPECT_EQ(second->GetShader(), shader);
    manager.Update();
    EXPECT_LT(second->stages[0].currentFrame, 8u);
}

TEST_F(Shaders, LoadingFallsBackToThePlainMaterial) {
    VbFormats::Material m;
    VbFormats::MaterialStage stage;
    stage.colorImage = "ball.png";
    m.stages = {stage};
    VbFormats::MaterialWriter::Save(files.GetBaseDirectory() + "/data/models/ball.srf", m);

    ShaderUser* ball = manager.LoadShaderUser("models\\ball.srf", true);
    ASSERT_EQ(ball->stageCount, 1u);
    EXPECT_EQ(ball->stages[0].colorImage, "models\\ball.png");
    EXPECT_TRUE(ball->GetShader()->GetTexture(0, 0)->onDemand);

    ShaderUser* missing = manager.LoadShaderUser("models\\missing.srf", false);
    EXPECT_EQ(missing->stageCount, 0u);
    EXPECT_EQ(missing->flags, 0u);
    EXPECT_TRUE(log.Contains("Failed to open"));
    manager.ReleaseShaderUser(missing);
    manager.ReleaseShaderUser(ball);
    EXPECT_EQ(manager.GetShaderUserCount(), 0u);
}

TEST_F(Shaders, ReleasingWhatTheManagerDoesNotHold) {
    manager.ReleaseShaderUser(nullptr);
    ShaderDescriptor d = Still("wall.png");
    ShaderUser stranger(new Shader(manager.GetTextureManager(), d, false), d);
    try {
        manager.ReleaseShaderUser(&stranger);
        FAIL() << "released";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.GetText(), "Shader Manager: Failed to remove shader");
    }
    // A registered user whose names changed after creation is still found.
    ShaderUser* renamed = manager.CreateShaderUser(d, false);
    renamed->stages[0].colorImage = "other.png";
    renamed->UpdateNameHash();
    manager.ReleaseShaderUser(renamed);
    EXPECT_EQ(manager.GetShaderUserCount(), 0u);
}
