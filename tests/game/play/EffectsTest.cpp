// ctest-label: gameplay
// Shadows (height fade, sort depth, flattened placement, colour writes only on a visible change, slot reuse)
// and the debris of destroyed blocks (pool sizes, restarting the longest burst, the fragment timeline at a
// fixed frame time, fake fragments), over the engine's managers without a device.
#include "game/play/Effects.h"
#include "game/play/Explosion.h"
#include "game/play/ExplosionManager.h"
#include "game/play/Fragment.h"
#include "game/play/Lighting.h"
#include "game/play/Shadow.h"

#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/math/Random.h"
#include "gametools/DataKeeper.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraBall;

namespace {

constexpr float colourStep = 1.0f / 255; // vertex colours keep 8 bits per channel

class Gameplay : public testing::Test {
protected:
    Gameplay() {
        const std::string text = "128 128 128 0";
        services.data.Save("environment/lighting/lighting.ini",
                           std::vector<uint8_t>(text.begin(), text.end()));
        lighting = std::make_unique<Lighting>("lighting.ini");
        effects = std::make_unique<Effects>(lighting.get());
        services.timers.frameTime = 0.02f;
        SeedRandom(7);
    }
    ~Gameplay() override {
        keeper.reset();
        effects.reset();
        for (Model* model : owned)
            services.models->DeleteModel(model);
    }

    // A registered box model from min to max, standing where the transform puts it.
    Model* Owner(const Vec3& min, const Vec3& max, const Matrix4& transform = Matrix4()) {
        ShaderDescriptor material;
        Model* model = services.models->CreateBoxModel(min, max, &material, nullptr, 0);
        model->transform = transform;
        model->box.SetTransform(transform);
        owned.push_back(model);
        return model;
    }

    VelmoraTest::ModelServices services{"effects"};
    std::unique_ptr<Lighting> lighting;
    std::unique_ptr<Effects> effects;
    std::unique_ptr<GameTools::DataKeeper> keeper = std::make_unique<GameTools::DataKeeper>("en");
    std::vector<Model*> owned;
};

} // namespace

TEST_F(Gameplay, ShadowFadesWithTheOwnersHeight) {
    struct Case {
        float bottom;
        float alpha;
        float sortDepth;
    };
    const Case cases[] = {
        {0, 0.25f, -0.0185f},    {-5, 0.25f, -0.0185f},   {20, 0.125f, -0.01975f},
        {40, 0.025f, -0.02075f}, {90, 0.025f, -0.02075f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(Shadow::Alpha(0.25f, c.bottom), c.alpha) << c.bottom;
        Model* owner = Owner({-1, -1, 0}, {1, 1, 2}, Matrix4::Translation({0, 0, c.bottom}));
        Shadow* shadow = effects->CreateShadow(owner, true);
        EXPECT_FALSE(shadow->IsVisible());
        shadow->SetVisible(true);
        effects->Update();
        EXPECT_NEAR(shadow->GetModel()->sortDepth, c.sortDepth, 1e-6f) << c.bottom;
        EXPECT_NEAR(shadow->GetModel()->GetColor().w, c.alpha, colourStep) << c.bottom;
        effects->RemoveShadowOf(shadow);
    }
    EXPECT_FLOAT_EQ(Shadow::Alpha(0.5f, 0), 0.5f); // an invisible brick's darker shadow
}

TEST_F(Gameplay, ShadowLiesFlatAlongTheLightAndWritesColourOnlyOnAVisibleChange) {
    Model* owner = Owner({-1, -2, 0}, {3, 2, 6}, Matrix4::Translation({10, 0, 0}));
    Shadow* shadow = effects->CreateShadow(owner, false); // a box of the owner's size
    const uint32_t flags = shadow->GetModel()->GetFlags();
    EXPECT_NE(flags & ModelStencil, 0u);
    EXPECT_NE(flags & ModelFixedSortDepth, 0u);
    EXPECT_NE(flags & ModelSecondList, 0u);
    EXPECT_EQ(flags & (ModelLit | ModelCullClockwise | ModelCullCounterClockwise | ModelVisible), 0u);
    EXPECT_NE(shadow->GetModel()->material->flags & ShaderFlagAlphaBlend, 0u);
    EXPECT_EQ(shadow->GetModel()->material->blendSource, 4);
    EXPECT_EQ(shadow->GetModel()->material->blendDestination, 5);

    effects->Update(); // hidden: not followed
    EXPECT_FLOAT_EQ(shadow->GetModel()->box.GetWorldMax().z, 6);
    shadow->SetVisible(true);
    effects->Update();
    const BoundingBox& box = shadow->GetModel()->box;
    EXPECT_NEAR(box.GetWorldMin().x, 9 + 0.70710677f, 1e-4f);
    EXPECT_NEAR(box.GetWorldMax().y, 2 - 0.70710677f, 1e-4f);
    EXPECT_NEAR(box.GetWorldMin().z, 0.02f, 1e-5f);
    EXPECT_NEAR(box.GetWorldMax().z, 0.02f, 1e-5f);

    // Rising by 1 changes the alpha by 0.00625: the colour stays (stored in 8 bits, a rewrite would show as
    // 62/255); by 2 it is written.
    const float resting = shadow->GetModel()->GetColor().w;
    EXPECT_NEAR(resting, 0.25f, colourStep);
    owner->transform = Matrix4::Translation({10, 0, 1});
    owner->box.SetTransform(owner->transform);
    effects->Update();
    EXPECT_FLOAT_EQ(shadow->GetModel()->GetColor().w, resting);
    EXPECT_NEAR(shadow->GetModel()->sortDepth, 0.24375f * 0.01f - 0.021f, 1e-6f);
    owner->transform = Matrix4::Translation({10, 0, 2});
    owner->box.SetTransform(owner->transform);
    effects->Update();
    EXPECT_NEAR(shadow->GetModel()->GetColor().w, 0.2375f, colourStep);
}

TEST_F(Gameplay, ShadowSlotsAreReusedLastFreedFirst) {
    Model* owner = Owner({0, 0, 0}, {1, 1, 1});
    Shadow* first = effects->CreateShadow(owner, true);
    Shadow* second = effects->CreateShadow(owner, true);
    effects->CreateShadow(owner, true);
    effects->RemoveShadowOf(first);
    effects->RemoveShadowOf(second);
    EXPECT_EQ(effects->GetActiveSlots(), (std::vector<int>{2}));
    Shadow* reused1 = effects->CreateShadow(owner, true);
    Shadow* reused0 = effects->CreateShadow(owner, true);
    EXPECT_EQ(effects->GetActiveSlots(), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(effects->GetShadowSlots()[1], reused1);
    EXPECT_EQ(effects->GetShadowSlots()[0], reused0);

    effects->RemoveShadowOf(nullptr);
    Effects other(lighting.get());
    Shadow* foreign = other.CreateShadow(owner, true);
    effects->RemoveShadowOf(foreign);
    EXPECT_EQ(effects->GetActiveSlots().size(), 3u);
    EXPECT_EQ(other.GetActiveSlots().size(), 1u);
}

TEST_F(Gameplay, ReleasedParticleSystemsLiveUntilPlayedOut) {
    ParticleSystem* system = services.particles->CreateParticleSystemCopy(*keeper->GetParticleSystem("none"));
    system->active = false;
    system->SetVisible(false);
    effects->ReleaseParticleSystem(nullptr);
    effects->ReleaseParticleSystem(system);
    EXPECT_TRUE(system->active);
    EXPECT_TRUE(system->IsVisible());
    EXPECT_FLOAT_EQ(system->emitterTime, 0);
    system->liveParticles = 3;
    system->active = false;
    effects->Update();
    ASSERT_EQ(effects->GetReleasedSystems().size(), 1u); // particles still alive
    system->liveParticles = 0;
    effects->Update();
    EXPECT_TRUE(effects->GetReleasedSystems().empty());
}

TEST(ExplosionPools, SizeByTheBlocksOfTheType) {
    const std::pair<uint32_t, uint32_t> cases[] = {{0, 1},  {1, 1},   {2, 2},   {3, 2},   {5, 3},
                                                   {10, 6}, {41, 21}, {42, 21}, {100, 21}};
    for (const auto& [blocks, pool] : cases)
        EXPECT_EQ(ExplosionManager::PoolSize(blocks), pool) << blocks;
}

TEST_F(Gameplay, BusyPoolRestartsTheLongestRunningBurst) {
    keeper->AddModel("geometry/t/fragments/00",
                     services.models->NewBoxModel({0, 0, 0}, {1, 1, 1}, nullptr, nullptr, 0));
    ExplosionManager manager(keeper.get(), effects.get());
    EXPECT_EQ(manager.RegisterType("geometry/u/fragments", 1, true, 1), 0);
    EXPECT_EQ(manager.RegisterType("geometry/t/fragments", 1, true, 5), 1);
    ASSERT_EQ(manager.GetExplosions().size(), 4u);
    Model* block = Owner({0, 0, 0}, {2, 2, 2});
    std::vector<Explosion*> pool;
    for (const auto& [type, explosion] : manager.GetExplosions())
        if (type == 1)
            pool.push_back(explosion);
    ASSERT_EQ(pool.size(), 3u);
    for (int burst = 0; burst < 3; ++burst) {
        manager.Trigger(1, *block, true);
        manager.Update();
        EXPECT_TRUE(pool[static_cast<size_t>(burst)]->IsActive());
    }
    EXPECT_NEAR(pool[0]->GetTime(), 0.06f, 1e-5f);
    manager.Trigger(1, *block, true); // all three busy: the oldest starts over
    EXPECT_FLOAT_EQ(pool[0]->GetTime(), 0);
    EXPECT_NEAR(pool[1]->GetTime(), 0.04f, 1e-5f);
    EXPECT_FALSE(manager.GetExplosions()[0].second->IsActive()); // the other type is untouched
}

TEST_F(Gameplay, FragmentFliesLandsFadesAndSinks) {
    // A piece of half size 5 at (4, 0, 1) inside its block.
    keeper->AddModel("geometry/t/fragments/00",
                     services.models->NewBoxModel({-1, -5, -4}, {9, 5, 6}, nullptr, nullptr, 0));
    Fragment fragment(keeper.get(), effects.get(), "geometry/t/fragments/00", true, FragmentSettings());
    EXPECT_FLOAT_EQ(fragment.GetSize(), 5);
    EXPECT_FALSE(fragment.IsActive());
    Model* block = Owner({-5, -5, 0}, {5, 5, 10}, Matrix4::Translation({0, 0, 60}));
    fragment.Start(*block, true);
    ASSERT_TRUE(fragment.IsActive());
    EXPECT_TRUE(fragment.GetShadow()->IsVisible());
    const Vec3 start = fragment.GetVelocity();
    // A unit vector with z 0.75 before normalising, then 1.5 upwards.
    EXPECT_NEAR(start.z - 1.5f, std::sqrt(1 - start.x * start.x - start.y * start.y), 1e-5f);
    EXPECT_GT(start.z - 1.5f, 0.75f / std::sqrt(2.5625f) - 1e-5f);

    fragment.Update();
    EXPECT_NEAR(fragment.GetVelocity().z, start.z - 7 * 0.02f, 1e-5f);
    int frame = 1;
    while (fragment.GetFloorTimeSpent() == 0 && frame < 1000) {
        fragment.Update();
        ++frame;
    }
    ASSERT_LT(frame, 1000) << "never landed";
    const float landedAt = static_cast<float>(frame) * 0.02f;
    EXPECT_GT(landedAt, 1.0f);                      // up first, then down from 61 units
    EXPECT_FLOAT_EQ(fragment.GetScale(), 2.8f / 5); // shrunk during its first second
    EXPECT_NEAR(fragment.GetModel()->box.GetCentre().z, 0, 1e-3f);
    // The shadow fades over one second on the floor, then hides.
    for (int i = 0; i < 25; ++i)
        fragment.Update();
    EXPECT_NEAR(fragment.GetShadow()->GetOpacity(), 0.25f * (1 - 26 * 0.02f), 1e-4f);
    for (int i = 0; i < 30; ++i)
        fragment.Update();
    EXPECT_FALSE(fragment.GetShadow()->IsVisible());
    // It lies until 12 s on the floor, then sinks at 4 units per second and is gone once its top is below
    // -0.2.
    while (fragment.GetFloorTimeSpent() < 12 - 1e-4f)
        fragment.Update();
    EXPECT_TRUE(fragment.IsActive());
    EXPECT_NEAR(fragment.GetModel()->box.GetCentre().z, 0, 1e-3f);
    const float halfHeight = fragment.GetModel()->box.GetHalfSize().z;
    int sinking = 0;
    while (fragment.IsActive() && sinking < 1000) {
        fragment.Update();
        ++sinking;
    }
    EXPECT_FALSE(fragment.IsActive());
    EXPECT_FALSE(fragment.GetModel()->GetFlags() & ModelVisible);
    EXPECT_NEAR(sinking, (halfHeight + 0.2f) / (4 * 0.02f), 1.5f);
}

TEST_F(Gameplay, FakeFragmentsShowACommonPieceAtTheNamedSize) {
    for (int i = 0; i < 3; ++i)
        keeper->AddModel("geometry/t/fragments/0" + std::to_string(i),
                         services.models->NewBoxModel({0, 0, 0}, {4, 2, 2}, nullptr, nullptr, 0));
    for (int i = 0; i < 10; ++i) {
        Model* common =
            services.models->NewBoxModel({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, nullptr, nullptr, 0);
        common->name = "common " + std::to_string(i);
        keeper->AddModel("geometry/fragments/common/0" + std::to_string(i), common);
    }
    Explosion explosion(keeper.get(), effects.get(), "geometry/t/fragments", 3, false, FragmentSettings());
    ASSERT_EQ(explosion.GetFragments().size(), 3u);
    for (Fragment* fragment : explosion.GetFragments()) {
        EXPECT_EQ(fragment->GetModel()->name.rfind("common ", 0), 0u);
        // The unit cube scaled to the named piece's largest half size: 2 / 0.5 = 4 times.
        EXPECT_FLOAT_EQ(fragment->GetModel()->transform.At(0, 0), 4);
    }
    Model* block = Owner({0, 0, 0}, {4, 2, 2});
    explosion.Start(*block, false);
    EXPECT_TRUE(explosion.IsActive());
    EXPECT_FALSE(explosion.GetFragments()[0]->GetShadow()->IsVisible()); // a block without shadows
}
