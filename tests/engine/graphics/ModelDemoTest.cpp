// ctest-label: models
// The model demo: five scenes side by side on one floor, drawn headless through the whole graphics stack
// (render system, cameras, lights, materials, models, sprite groups, particle systems) in the order the
// engine's frame runs them: a placeholder box for a model file that is missing, a textured static box, a
// vertex-animated box that grows, a skinned bar that bends and a particle fountain bouncing on the floor.
// Frames are written as PNGs under $VB_TEST_OUTPUT and checked by probing pixels.
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/math/Random.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SceneServices.h"
#include "tools/formats/MaterialWriter.h"
#include "tools/formats/Picture.h"
#include "tools/formats/PngWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace OrvexEngine;

namespace {

constexpr float pi = 3.14159265f;

// The demo's data set, written into the data folder.
void WriteDemoData(const VelmoraTest::DataFolder& data) {
    // A checkerboard of red and yellow for the textured box.
    VelmoraFormats::Picture checker(64, 64, 3);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 64; ++x) {
            uint8_t* p = checker.At(x, y);
            const bool odd = ((x / 16) + (y / 16)) % 2 != 0;
            p[0] = 230;
            p[1] = odd ? 210 : 30;
            p[2] = 20;
        }
    data.Save("demo/crate.png", VelmoraFormats::WritePng(checker));
    VbFormats::Material crateMaterial;
    VbFormats::MaterialStage stage;
    stage.colorImage = "crate.png";
    crateMaterial.stages.push_back(stage);
    data.Save("demo/crate.srf", VbFormats::MaterialWriter::Write(crateMaterial));

    VbFormats::ModelDescription crate;
    VelmoraTest::AppendBox(crate.vertices, crate.indices, {0, 0, 1}, {0.9f, 0.9f, 0.9f});
    crate.boxes = {{{-0.9f, -0.9f, 0.1f}, {0.9f, 0.9f, 1.9f}}};
    data.Save("demo/crate.mlf", VbFormats::ModelWriter::Write(crate));

    // Eight frames of a box whose half size grows from 0.3 to 1.0.
    VbFormats::ModelDescription grow;
    grow.flags = 0x422CA;
    grow.frameCount = 8;
    grow.speed = 8;
    for (uint32_t f = 0; f < 8; ++f) {
        const float h = 0.3f + 0.1f * float(f);
        std::vector<uint32_t> indices;
        VelmoraTest::AppendBox(grow.vertices, indices, {0, 0, 1}, {h, h, h});
        if (f == 0)
            grow.indices = indices;
        grow.boxes.push_back({{-h, -h, 1 - h}, {h, h, 1 + h}});
    }
    data.Save("demo/grow.mlf", VbFormats::ModelWriter::Write(grow));

    // A bar from z = 0 to 2 on two bones: the bottom stays, the top swings along x over eight frames.
    VbFormats::ModelDescription bend;
    bend.flags = 0x422CC;
    bend.frameCount = 8;
    bend.speed = 8;
    bend.bones = {{0, "root", {0, 0, 0}, {-0.2f, -0.2f, 0}, {0.2f, 0.2f, 0.1f}},
                  {0, "tip", {0, 0, 0}, {-0.2f, -0.2f, 1.9f}, {0.2f, 0.2f, 2}}};
    for (uint32_t f = 0; f < 8; ++f) {
        const float swing = 0.8f * std::sin(2 * pi * float(f) / 8);
        const float keys[20] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, swing, 0, 0, 0, 0, 0, 1, 1, 1, 1};
        bend.keys.insert(bend.keys.end(), keys, keys + 20);
    }
    std::vector<VbFormats::ModelVertex> bar;
    VelmoraTest::AppendBox(bar, bend.indices, {0, 0, 1}, {0.2f, 0.2f, 1});
    for (const VbFormats::ModelVertex& v : bar) {
        VbFormats::ModelSkinnedVertex skinned;
        skinned.uv = v.uv;
        VbFormats::ModelInfluence influence;
        influence.bone = v.position[2] > 1 ? 1 : 0;
        influence.position = v.position;
        influence.normal = v.normal;
        skinned.influences.push_back(influence);
        bend.skinnedVertices.push_back(skinned);
    }
    bend.boxes = {{{-0.2f, -0.2f, 0}, {0.2f, 0.2f, 2}}};
    data.Save("demo/bend.mlf", VbFormats::ModelWriter::Write(bend));

    // A fountain: sparks thrown up, falling back and bouncing on the floor at z = 0 until they are slow.
    VbFormats::ParticleDescription fountain;
    fountain.maximumParticles = 300;
    fountain.gravity = 0.08f;
    fountain.floorHeight = 0;
    fountain.bounceFactor = 0.6f;
    fountain.minimumSpeedFactor = 0.2f;
    fountain.emissionRate.fill(60);
    fountain.lifetimeCentre.fill(3);
    fountain.lifetimeSpread.fill(0.5f);
    for (int k = 0; k < 6; ++k) {
        fountain.directionCentre[k] = {0, 0, 1};
        fountain.directionSpread[k] = {0.35f, 0.35f, 0.1f};
        fountain.colour[k] = {1, 0.9f - 0.14f * float(k), 0.2f, 1};
        fountain.size[k] = 0.09f;
        fountain.speedCentre[k] = 0.06f;
        fountain.speedSpread[k] = 0.01f;
    }
    data.Save("demo/fountain.psf", VbFormats::ParticleWriter::Write(fountain));
}

class ModelDemoTest : public testing::Test {
protected:
    void SetUp() override {
        SeedRandom(11);
        // Seen from the front: the camera at y = -14 looks along +y with z up.
        Camera* camera = scene.cameras->GetDefaultCamera();
        camera->position = Vec3(0, -14, 1.5f);
        camera->orientation = Quaternion(std::sin(pi / 4), 0, 0, std::cos(pi / 4));
        scene.cameras->Update();
        render.renderSystem->clearColor = Vec4(0.05f, 0.05f, 0.1f, 1);
        Light* lamp = scene.lights->CreateLight();
        lamp->position = Vec3(-4, -10, 8);
        lamp->attenuation[0] = 1;
        lamp->diffuse = Vec4(0.65f, 0.65f, 0.6f, 1);
        lamp->ambient = Vec4(0, 0, 0, 1);
        lamp->specular = Vec4(0, 0, 0, 1);
        scene.lights->SetAmbient(Vec4(0.3f, 0.3f, 0.3f, 1));
    }

    // A registered copy of a loaded template, placed at x on the floor and playing in a loop.
    Model* Place(const std::string& name, float x) {
        loaded.emplace_back(scene.models->LoadModel(name, nullptr, 0, 0));
        Model* model = scene.models->CreateModelCopy(*loaded.back(), nullptr, 0);
        model->transform = Matrix4::Translation(Vec3(x, 0, 0));
        model->box.SetTransform(model->transform);
        model->animationControl->loop = true;
        model->animationControl->Play();
        return model;
    }

    static bool Background(const uint8_t* p) { return p[0] < 30 && p[1] < 30 && p[2] < 45; }

    VelmoraTest::TestLog log;
    VelmoraTest::DataFolder data{"demo"};
    VelmoraTest::RenderFixture render{320, 240};
    VelmoraTest::SceneServices scene{*render.renderSystem};
    // Unregistered templates, deleted before the services.
    std::vector<std::unique_ptr<Model>> loaded;
    std::vector<std::unique_ptr<ParticleSystem>> templates;
};

TEST_F(ModelDemoTest, FiveScenes) {
    WriteDemoData(data);
    ShaderDescriptor grey;
    grey.color1 = Vec4(0.6f, 0.6f, 0.6f, 1);
    scene.models->CreateBoxModel(Vec3(-8, -2, -0.2f), Vec3(8, 2, 0), &grey, nullptr, 0); // the floor
    Model* placeholder = Place("demo\\missing.mlf", -6);
    Place("demo\\crate.mlf", -3);
    Place("demo\\grow.mlf", 0);
    Place("demo\\bend.mlf", 3);
    templates.emplace_back(scene.particles->LoadParticleSystem("demo\\fountain.psf", nullptr, 0));
    ParticleSystem* fountain = scene.particles->CreateParticleSystemCopy(*templates.back());
    fountain->emitterPosition = Vec3(6, 0, 0.05f);
    fountain->looping = true;
    fountain->emitterTime = 0;
    fountain->active = true;
    EXPECT_EQ(placeholder->name, "demo\\missing.mlf");
    EXPECT_TRUE(log.Contains("Failed to open"));

    scene.timers.frameTime = 1.0f / 30;
    Image first;
    scene.Frame(first);
    VelmoraTest::SceneServices::SavePng(first, "models-demo-frame-01.png");
    Image image;
    for (int frame = 2; frame <= 20; ++frame)
        scene.Frame(image);
    VelmoraTest::SceneServices::SavePng(image, "models-demo-frame-20.png");

    // Each scene shows where its model stands.
    EXPECT_FALSE(Background(scene.PixelAt(image, Vec3(-6, -1, 0.5f))));
    EXPECT_FALSE(Background(scene.PixelAt(image, Vec3(-3, -0.9f, 1))));
    // The crate shows its texture: red everywhere, green only on the yellow squares.
    const uint8_t* crate = scene.PixelAt(image, Vec3(-3, -0.9f, 1));
    EXPECT_GT(crate[0], crate[2] + 60) << "the checkerboard's red";
    // The growing box covers at frame 20 (half size about 0.83) what it did not at frame 1 (about 0.33).
    EXPECT_TRUE(Background(scene.PixelAt(first, Vec3(0.7f, -1, 1))));
    EXPECT_FALSE(Background(scene.PixelAt(image, Vec3(0.7f, -1, 1))));
    // The bar's top has swung towards -x by about 0.66.
    EXPECT_TRUE(Background(scene.PixelAt(first, Vec3(2.45f, -0.2f, 1.9f))));
    EXPECT_FALSE(Background(scene.PixelAt(image, Vec3(2.45f, -0.2f, 1.9f))));
    // The fountain: sparks in the air above the emitter, none below the floor.
    EXPECT_GT(fountain->liveParticles, 20u);
    int sparks = 0;
    for (float z = 0.5f; z < 2.5f; z += 0.1f)
        for (float x = 5; x < 7; x += 0.1f)
            sparks += !Background(scene.PixelAt(image, Vec3(x, -2.1f, z)));
    EXPECT_GT(sparks, 5);

    // Later: the first sparks have come down and bounce on the floor.
    for (int frame = 21; frame <= 60; ++frame) {
        scene.Frame(image);
        for (const Particle& p : fountain->GetParticles()) {
            if (!p.free) {
                ASSERT_GE(fountain->GetSpriteGroup()->GetSprite(p.spriteId).position.z, 0.0f);
            }
        }
    }
    VelmoraTest::SceneServices::SavePng(image, "models-demo-frame-60.png");
    bool bounced = false;
    for (const Particle& p : fountain->GetParticles())
        bounced = bounced || (!p.free && p.speedFactor < 1);
    EXPECT_TRUE(bounced);
    // Everything is drawn but the fountain template's sprite group, which never holds a sprite.
    EXPECT_EQ(scene.models->drawnModels, scene.models->visibleModels - 1);
}

} // namespace
