// ctest-label: models
#include "engine/graphics/ParticleSystem.h"

#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/math/Random.h"
#include "tests/engine/graphics/ModelServices.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace OrvexEngine;
using VbFormats::ParticleDescription;
using VbFormats::ParticleWriter;

namespace {

class ParticleSystemTest : public testing::Test {
protected:
    void SetUp() override {
        SeedRandom(7);
        services.timers.frameTime = 0.1f;
    }
    // A registered working copy of the file's system, as gameplay takes one from a template.
    ParticleSystem* FromFile(const ParticleDescription& description) {
        services.data.Save("fx/test.psf", ParticleWriter::Write(description));
        template_.reset(services.particles->LoadParticleSystem("fx\\test.psf", nullptr, 0));
        return services.particles->CreateParticleSystemCopy(*template_);
    }
    static void Start(ParticleSystem* system) {
        system->emitterTime = 0;
        system->active = true;
    }
    // A system whose particles fly straight along direction at one speed and live long.
    static ParticleDescription Straight(const std::array<float, 3>& direction) {
        ParticleDescription d;
        d.lifetimeCentre.fill(100);
        for (auto& centre : d.directionCentre)
            centre = direction;
        for (auto& spread : d.directionSpread)
            spread = {0, 0, 0};
        return d;
    }

    VelmoraTest::ModelServices services{"particles"};
    std::unique_ptr<ParticleSystem> template_;
};

TEST_F(ParticleSystemTest, DefaultSystemEmitsTenPerSecondForOneCycle) {
    ParticleSystem* system = services.particles->CreateParticleSystemCopy(
        *std::unique_ptr<ParticleSystem>(services.particles->NewParticleSystem(nullptr)));
    EXPECT_EQ(system->GetName(), "self_made");
    EXPECT_EQ(system->GetSpriteGroup()->GetSpriteCount(), 100u);
    Start(system);
    for (int frame = 1; frame <= 9; ++frame) {
        services.particles->Update();
        EXPECT_TRUE(system->active) << frame;
    }
    EXPECT_EQ(system->liveParticles, 9u);
    services.particles->Update(); // the cycle ends: nothing more, emitter idle again
    EXPECT_FALSE(system->active);
    EXPECT_EQ(system->emitterTime, 0);
    EXPECT_EQ(system->GetPeakLiveParticles(), 9u);
    // The particles live their second out: after it every one is gone and its sprite freed.
    for (int frame = 0; frame < 12; ++frame)
        services.particles->Update();
    EXPECT_EQ(system->liveParticles, 0u);
    // Freed sprite ids queue behind the ten never used.
    EXPECT_EQ(system->GetSpriteGroup()->AddSprite(Vec3(), 1, Vec4(1.0f)), 9u);
}

TEST_F(ParticleSystemTest, BurstsComeOncePerKeySpanAndPerCycle) {
    ParticleDescription d;
    d.interpolatedEmission = false;
    d.emissionRate = {3, 0, 0, 0, 0, 0};
    d.lifetimeCentre.fill(100);
    d.floorOn = false; // no particle may die of bouncing
    ParticleSystem* system = FromFile(d);
    Start(system);
    services.particles->Update();
    EXPECT_EQ(system->liveParticles, 3u);
    for (int frame = 0; frame < 9; ++frame)
        services.particles->Update();
    EXPECT_EQ(system->liveParticles, 3u);
    EXPECT_FALSE(system->active);

    system->looping = true;
    Start(system);
    for (int frame = 0; frame < 25; ++frame) // frames at 0.1 .. 2.5 s: cycles start at 0, 1 and 2 s
        services.particles->Update();
    EXPECT_EQ(system->liveParticles, 12u);
}

TEST_F(ParticleSystemTest, EmissionStopsWhenThePoolIsEmpty) {
    ParticleDescription d;
    d.maximumParticles = 1;
    d.interpolatedEmission = false;
    d.emissionRate = {4, 0, 0, 0, 0, 0};
    d.lifetimeCentre.fill(100);
    ParticleSystem* system = FromFile(d);
    Start(system);
    services.particles->Update();
    EXPECT_EQ(system->liveParticles, 1u);
    EXPECT_EQ(system->GetPeakLiveParticles(), 1u);
}

TEST_F(ParticleSystemTest, ParticlesFlyAlongTheirFirstKeyWhenLaterKeysAreEmpty) {
    ParticleDescription d = Straight({1, 0, 0});
    for (int k = 1; k < 6; ++k) {
        d.directionCentre[k] = {0, 0, 0};
        d.directionSpread[k] = {0.01f, 0, 0}; // both shorter than 0.05: key 0 is copied
    }
    d.directionSpread[0] = {0, 1, 0};
    d.gravityOn = false;
    d.floorOn = false;
    ParticleSystem* system = FromFile(d);
    system->emitterPosition = Vec3(0, 0, 5);
    Start(system);
    services.particles->Update(); // emitted and moved once
    const Particle* live = nullptr;
    for (const Particle& p : system->GetParticles())
        if (!p.free)
            live = &p;
    ASSERT_NE(live, nullptr);
    const Vec3 first = live->keyDirections[0];
    EXPECT_NEAR(first.Length(), 1, 1e-4f);
    for (int k = 1; k < 6; ++k)
        EXPECT_EQ(live->keyDirections[k], first) << k;
    const Vec3 start = system->GetSpriteGroup()->GetSprite(live->spriteId).position;
    services.particles->Update();
    const Vec3 moved = system->GetSpriteGroup()->GetSprite(live->spriteId).position - start;
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(moved[c], first[c] * 10, 1e-3f) << c; // speed 1: 100 units per second
}

TEST_F(ParticleSystemTest, ParticlesBounceOnTheFloorUntilTooSlowThenDie) {
    ParticleDescription d = Straight({0, 0, -1});
    d.interpolatedEmission = false;
    d.emissionRate = {1, 0, 0, 0, 0, 0};
    d.gravity = 20;
    ParticleSystem* system = FromFile(d);
    Start(system);
    services.timers.frameTime = 0.01f;
    int bounces = 0;
    float lastFactor = 1;
    bool sawFirstBounce = false;
    for (int frame = 0; frame < 5000 && (frame == 0 || system->liveParticles > 0); ++frame) {
        services.particles->Update();
        for (const Particle& p : system->GetParticles()) {
            if (p.free)
                continue;
            const GroupSprite& sprite = system->GetSpriteGroup()->GetSprite(p.spriteId);
            ASSERT_GE(sprite.position.z, -1.0f) << "below the floor in frame " << frame;
            if (p.speedFactor < lastFactor) {
                ++bounces;
                lastFactor = p.speedFactor;
                if (!sawFirstBounce) {
                    sawFirstBounce = true;
                    EXPECT_NEAR(sprite.position.z, -0.999f, 1e-5f);
                    EXPECT_GT(p.direction.z, 0) << "heads up after the bounce";
                    EXPECT_NEAR(p.speedFactor, 0.9f, 1e-5f);
                }
            }
        }
    }
    // 0.9 to the eighth power is 0.43; the ninth bounce brings 0.387, below 0.4: the factor drops to 0 and
    // the particle dies at its next step.
    EXPECT_EQ(bounces, 9);
    EXPECT_EQ(lastFactor, 0);
    EXPECT_EQ(system->liveParticles, 0u);
}

TEST_F(ParticleSystemTest, HiddenOrPausedSystemsFreeze) {
    ParticleDescription d = Straight({1, 0, 0});
    ParticleSystem* system = FromFile(d);
    Start(system);
    services.particles->Update();
    ASSERT_EQ(system->liveParticles, 1u);
    const Particle* live = nullptr;
    for (const Particle& p : system->GetParticles())
        if (!p.free)
            live = &p;
    const Vec3 where = system->GetSpriteGroup()->GetSprite(live->spriteId).position;
    const float time = system->emitterTime;
    system->SetVisible(false);
    services.particles->Update();
    system->SetVisible(true);
    system->paused = true;
    services.particles->Update();
    EXPECT_EQ(system->GetSpriteGroup()->GetSprite(live->spriteId).position, where);
    EXPECT_EQ(system->emitterTime, time);
    EXPECT_FLOAT_EQ(live->age, 0.1f);
}

TEST_F(ParticleSystemTest, PathShapeWithoutPointsEmitsAtTheOrigin) {
    ParticleDescription d = Straight({1, 0, 0});
    d.emissionShape = 2;
    d.floorOn = false;
    ParticleSystem* system = FromFile(d);
    system->emitterPosition = Vec3(50, 50, 50);
    Start(system);
    services.particles->Update();
    for (const Particle& p : system->GetParticles())
        if (!p.free) {
            const Vec3 at = system->GetSpriteGroup()->GetSprite(p.spriteId).position;
            EXPECT_NEAR(at.y, 0, 1e-4f);                    // moved along x only, from the origin
            EXPECT_NEAR(at.z, -(0.1f * 0.1f * 100), 1e-3f); // one step of gravity
        }
}

TEST_F(ParticleSystemTest, StartPointsOfEachShape) {
    // Particles that do not move: every sprite stays where it was born.
    ParticleDescription d = Straight({1, 0, 0});
    d.speedCentre.fill(0);
    d.gravityOn = false;
    d.floorOn = false;
    d.interpolatedEmission = false;
    d.emissionRate = {40, 0, 0, 0, 0, 0};
    services.particles->Release(FromFile(d));
    const std::vector<Vec3> path = {Vec3(0, 0, 0), Vec3(4, 0, 0), Vec3(4, 4, 0)};

    struct Case {
        const char* what;
        uint32_t shape;
        std::vector<Vec3> points;
        bool interpolation;
    };
    const Case cases[] = {
        {"point", 0, {}, false},
        {"unknown shape acts as a point", 7, {}, false},
        {"box around the emitter", 1, {}, false},
        {"path points", 2, path, false},
        {"path segments", 2, path, true},
        {"one path point", 2, {Vec3(5, 5, 5)}, true},
    };
    for (const Case& c : cases) {
        // A fresh copy each time: a burst comes once per key span of a cycle.
        ParticleSystem* system = services.particles->CreateParticleSystemCopy(*template_);
        system->emitterPosition = Vec3(10, 20, 30);
        system->emissionBox.Set(Vec3(-1, -2, -3), Vec3(1, 2, 3));
        system->emissionShape = c.shape;
        system->pathPoints = c.points;
        system->pathInterpolation = c.interpolation;
        Start(system);
        services.particles->Update();
        ASSERT_EQ(system->liveParticles, 40u) << c.what;
        bool sawInside = false;
        for (const Particle& p : system->GetParticles()) {
            if (p.free)
                continue;
            const Vec3 at = system->GetSpriteGroup()->GetSprite(p.spriteId).position;
            if (c.shape == 1) {
                EXPECT_TRUE(std::fabs(at.x - 10) <= 1 && std::fabs(at.y - 20) <= 2 &&
                            std::fabs(at.z - 30) <= 3)
                    << c.what;
                sawInside = sawInside || std::fabs(at.x - 10) > 0.01f;
            } else if (c.shape == 2 && c.interpolation && c.points.size() > 1) {
                // On one of the two segments: y = 0 with x in 0..4, or x = 4 with y in 0..4.
                const bool first = std::fabs(at.y) < 1e-4f && at.x >= 0 && at.x <= 4;
                const bool second = std::fabs(at.x - 4) < 1e-4f && at.y >= 0 && at.y <= 4;
                EXPECT_TRUE(first || second) << c.what;
                sawInside = sawInside || (at.x > 0.01f && at.x < 3.99f);
            } else if (c.shape == 2 && c.points.size() > 1) {
                EXPECT_TRUE(at == path[0] || at == path[1] || at == path[2]) << c.what;
                sawInside = sawInside || at == path[2]; // the last point can be drawn too
            } else if (c.shape == 2) {
                EXPECT_EQ(at, Vec3(5, 5, 5)) << c.what;
                sawInside = true;
            } else {
                EXPECT_EQ(at, Vec3(10, 20, 30)) << c.what;
                sawInside = true;
            }
        }
        EXPECT_TRUE(sawInside) << c.what;
        services.particles->Release(system);
    }
}

TEST_F(ParticleSystemTest, TemplatesAndBrokenFiles) {
    // A broken file gives a default-built system; the reader's text is logged once.
    ParticleDescription endless;
    endless.emissionDuration = 0;
    services.data.Save("fx/endless.psf", ParticleWriter::Write(endless, {.skipChecks = true}));
    std::unique_ptr<ParticleSystem> fallback(
        services.particles->LoadParticleSystem("fx\\endless.psf", nullptr, 0));
    EXPECT_EQ(fallback->GetName(), "self_made");
    EXPECT_FLOAT_EQ(fallback->GetSettings().emissionDuration, 1);
    EXPECT_TRUE(services.log.Contains("Incorrect \"fx\\endless.psf\" file format"));

    // Releasing a template leaves it alive; releasing a registered copy deletes it and its sprite group.
    services.particles->Release(fallback.get());
    EXPECT_TRUE(fallback->IsVisible());
    ParticleSystem* copy = services.particles->CreateParticleSystemCopy(*fallback);
    const size_t models = services.models->GetModels().size();
    services.particles->Release(copy);
    services.particles->Release(nullptr);
    size_t live = 0;
    for (Model* model : services.models->GetModels())
        live += model != nullptr;
    EXPECT_LT(live, models);
}

} // namespace

// A copy taken while the original has live particles starts with none: a sprite copied from a particle the
// copy does not have would hang in place for ever.
TEST_F(ParticleSystemTest, ACopyOfARunningSystemStartsWithEverySpriteFree) {
    ParticleSystem* running = FromFile(Straight({1, 0, 0}));
    Start(running);
    for (int frame = 0; frame < 5; ++frame)
        services.particles->Update();
    ASSERT_GT(running->liveParticles, 0u);

    ParticleSystem* copy = services.particles->CreateParticleSystemCopy(*running);
    SpriteGroup* sprites = copy->GetSpriteGroup();
    for (uint32_t id = 0; id < sprites->GetSpriteCount(); ++id)
        EXPECT_TRUE(sprites->GetSprite(id).free) << id;
    services.particles->Update();
    sprites->BuildGeometry();
    EXPECT_EQ(sprites->GetModel()->indexBuffer->GetIndexCount(), 0u) << "nothing left to draw";
    EXPECT_GT(running->liveParticles, 0u) << "the original keeps its particles";
}
