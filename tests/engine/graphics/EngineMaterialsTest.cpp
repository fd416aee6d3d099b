// ctest-label: materials
// The engine's share of materials: the shader manager exists while the engine does and material animations
// advance once a frame in the engine's tick.
#include "engine/core/Engine.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/TextureManager.h"
#include "platform/win/Time.h"

#include <gtest/gtest.h>

using namespace OrvexEngine;

TEST(EngineMaterials, TheTickAnimatesEveryMaterial) {
    platform::InstallFakeClock();
    {
        EngineStartupParams params;
        params.title = "Materials";
        params.version = 100;
        Engine engine(params);
        ShaderManager* shaders = ShaderManager::Instance();
        ASSERT_NE(shaders, nullptr);
        ASSERT_NE(shaders->GetTextureManager(), nullptr);

        ShaderDescriptor sequence;
        sequence.InitAnimated(false, AnimationColorSequence, 1, 1, 4, 10.0f, "fx\\spark3.png", "", false);
        ShaderUser* user = shaders->CreateShaderUser(sequence, true);
        for (uint32_t frame = 1; frame <= 3; ++frame) {
            platform::AdvanceFakeClockMilliseconds(100); // one frame of the animation at 10 per second
            engine.BeginFrame();
            engine.Tick(0);
            EXPECT_EQ(user->stages[0].currentFrame, frame);
        }
        // On-demand textures age in the same step: never drawn, none of them holds a surface.
        EXPECT_EQ(shaders->GetTextureManager()->GetUsedVideoMemory(), 0u);
    }
    EXPECT_EQ(ShaderManager::Instance(), nullptr); // deleted with the engine, users and all
    platform::RemoveFakeClock();
}
