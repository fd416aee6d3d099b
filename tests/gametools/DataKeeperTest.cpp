// ctest-label: gametools
// The resource database over the engine's managers: exact-name lookups with default answers and their error
// lines, duplicates, unnamed keeping, and that destruction gives back every material and timer it took.
#include "gametools/DataKeeper.h"

#include "engine/core/Timer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/SpriteGroup.h"
#include "gametools/TexturePack.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace GameTools;
using OrvexEngine::Vec3;

namespace {

class Keeper : public testing::Test {
protected:
    size_t LiveTimers() const {
        const auto& timers = services.timers.GetTimers();
        return static_cast<size_t>(std::count_if(timers.begin(), timers.end(), [](auto* t) { return t; }));
    }
    size_t ErrorCount(const std::string& text) const {
        const std::vector<std::string> texts = services.log.Texts();
        return static_cast<size_t>(std::count_if(texts.begin(), texts.end(), [&](const std::string& entry) {
            return entry.find(text) != std::string::npos;
        }));
    }
    OrvexEngine::Model* NewBox() {
        return services.models->NewBoxModel(Vec3(-1.0f), Vec3(1.0f), nullptr, nullptr, 0);
    }

    VelmoraTest::ModelServices services{"keeper"};
};

TEST_F(Keeper, LookupsAreExactAndMissesAnswerTheDefaultsWithAnError) {
    DataKeeper keeper("en");
    OrvexEngine::Model* model = NewBox();
    OrvexEngine::ShaderUser* material =
        services.shaders->CreateShaderUser(OrvexEngine::ShaderDescriptor(), false);
    keeper.AddModel("balls/super/model", model);
    keeper.AddShaderUser("balls/super/model", material); // the same name in another kind
    EXPECT_EQ(keeper.GetModel("balls/super/model"), model);
    EXPECT_EQ(keeper.GetShaderUser("balls/super/model"), material);
    EXPECT_FALSE(services.log.Contains("There is no"));

    struct Miss {
        const char* operation;
        const void* first;
        const void* second;
    };
    const Miss misses[] = {
        {"GetModel", keeper.GetModel("Balls/Super/Model"), keeper.GetModel("Balls/Super/Model")},
        {"GetShaderUser", keeper.GetShaderUser("x"), keeper.GetShaderUser("x")},
        {"GetSpriteGroup", keeper.GetSpriteGroup("x"), keeper.GetSpriteGroup("x")},
        {"GetParticleSystem", keeper.GetParticleSystem("x"), keeper.GetParticleSystem("x")},
        {"GetTexturePack", keeper.GetTexturePack("x"), keeper.GetTexturePack("x")},
    };
    for (const Miss& miss : misses) {
        SCOPED_TRACE(miss.operation);
        ASSERT_NE(miss.first, nullptr);
        EXPECT_EQ(miss.first, miss.second); // one default, nothing inserted
        const std::string name = std::string(miss.operation) == "GetModel" ? "Balls/Super/Model" : "x";
        EXPECT_EQ(ErrorCount("Error: (DataKeeper::" + std::string(miss.operation) + "): There is no \"" +
                             name + "\" resource!"),
                  2u);
    }
    EXPECT_NE(misses[0].first, model);
    EXPECT_NE(misses[1].first, material);
    EXPECT_FALSE(keeper.GetSpriteGroup("x")->IsVisible());
    EXPECT_FALSE(keeper.GetParticleSystem("x")->IsVisible());
    TexturePack* pack = keeper.GetTexturePack("x");
    EXPECT_EQ(pack->GetName(), "default");
    EXPECT_EQ(pack->GetShaderUser()->stageCount, 0u);
    EXPECT_EQ(keeper.GetShaderUser("x")->stageCount, 0u);
}

TEST_F(Keeper, DuplicatesKeepTheFirstAndAreReleasedWithTheKeeper) {
    {
        DataKeeper keeper("en");
        OrvexEngine::Model* first = NewBox();
        keeper.AddModel("bat/body", first);
        keeper.AddModel("bat/body", NewBox());
        EXPECT_EQ(keeper.GetModel("bat/body"), first);
        EXPECT_TRUE(
            services.log.Contains("Error: (DataKeeper::AddModel): Model \"bat/body\" is duplicated!"));

        OrvexEngine::ShaderUser* material =
            services.shaders->CreateShaderUser(OrvexEngine::ShaderDescriptor(), false);
        keeper.AddShaderUser("m", material);
        keeper.AddShaderUser("m", services.shaders->CreateShaderUser(OrvexEngine::ShaderDescriptor(), true));
        EXPECT_EQ(keeper.GetShaderUser("m"), material);
        EXPECT_TRUE(services.log.Contains("(DataKeeper::AddShaderUser): Shader User \"m\" is duplicated"));

        keeper.AddParticleSystem("p", services.particles->NewParticleSystem(nullptr));
        keeper.AddParticleSystem("p", services.particles->NewParticleSystem(nullptr));
        EXPECT_TRUE(
            services.log.Contains("(DataKeeper::AddParticleSystem): Particle System \"p\" is duplicated"));
        keeper.AddSpriteGroup("s", services.sprites->NewSpriteGroup(1, nullptr, nullptr, 0));
        keeper.AddSpriteGroup("s", services.sprites->NewSpriteGroup(1, nullptr, nullptr, 0));
        EXPECT_TRUE(services.log.Contains("(DataKeeper::AddSpriteGroup): Sprite Group \"s\" is duplicated"));
        OrvexEngine::ShaderDescriptor plain;
        keeper.AddTexturePack("t", new TexturePack(&plain));
        keeper.AddTexturePack("t", new TexturePack(&plain));
        EXPECT_TRUE(services.log.Contains("(DataKeeper::AddTexturePack): Texture Pack \"t\" is duplicated"));
    }
    // Every material came back; the leak checker sees the rejected objects deleted.
    EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
}

TEST_F(Keeper, KeptObjectsAreUnnamedAndNullsAreIgnored) {
    const size_t timersBefore = LiveTimers();
    {
        DataKeeper keeper("en");
        EXPECT_EQ(LiveTimers(), timersBefore + 1);
        keeper.KeepShaderUser(services.shaders->CreateShaderUser(OrvexEngine::ShaderDescriptor(), false));
        keeper.KeepModel(NewBox());
        keeper.KeepParticleSystem(services.particles->NewParticleSystem(nullptr));
        OrvexEngine::ShaderDescriptor plain;
        keeper.KeepTexturePack(new TexturePack(&plain));
        keeper.KeepShaderUser(nullptr);
        keeper.KeepModel(nullptr);
        keeper.KeepParticleSystem(nullptr);
        keeper.KeepTexturePack(nullptr);
        keeper.AddModel("n", nullptr);
        keeper.AddShaderUser("n", nullptr);
        keeper.AddSpriteGroup("n", nullptr);
        keeper.AddParticleSystem("n", nullptr);
        keeper.AddTexturePack("n", nullptr);
        EXPECT_FALSE(services.log.Contains("DataKeeper"));
        keeper.GetModel("n"); // a null add registered nothing
        EXPECT_TRUE(services.log.Contains("There is no \"n\" resource"));
        EXPECT_FALSE(keeper.Load(~0u));
    }
    EXPECT_EQ(services.shaders->GetShaderUserCount(), 0u);
    EXPECT_EQ(LiveTimers(), timersBefore);
}

} // namespace
