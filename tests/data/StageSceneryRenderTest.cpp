// ctest-label: data
// A level of each stage built from the laid-out data the way a level starts: the game's keeper with the
// gameplay resources, the level's keeper with its stage's resource list and its geometry file, the shared
// lights and field, the stage's scenery and the blocks; drawn from the level's camera once the blocks have
// appeared (stage-<level>.png under $VB_TEST_OUTPUT). No error may be logged on the way, and the scenery
// fills the picture.
#include "game/play/BallManager.h"
#include "game/play/BonusManager.h"
#include "game/play/Effects.h"
#include "game/play/Environment.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Lighting.h"

#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Process.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraBall;

namespace {

class NoBalls final : public BallManager {
public:
    Ball* AddBall(int) override { return nullptr; }
};

struct StageLevel {
    const char* geometry;
    const char* environment;
};

class StageSceneryRender : public testing::TestWithParam<StageLevel> {
protected:
    void SetUp() override {
        SeedRandom(5);
        FileManager::Instance(&files);
        platform::D3DTest::Reset();
        platform::sim::Reset();
        platform::sim::SetDesktopMode(1024, 768, 32);
        Config::Instance(&config);
        config.GetSettings().vMode = "640x480x32";
        window = std::make_unique<Window>("stage", 0, 0, 640, 480, false, true, Vec2i(0, 0));
        Window::Instance(window.get());
        rs = std::make_unique<RenderSystem_D3D7>(true, false);
        RenderSystem::Instance(rs.get());
        TimerManager::Instance(&timers);
        timers.frameTime = 0.05f;
        cameras = Make<CameraManager>();
        lights = Make<LightManager>();
        shaders = Make<ShaderManager>();
        models = Make<ModelManager>();
        sprites = Make<SpriteGroupManager>();
        particles = Make<ParticleSystemManager>();
        // The level's camera: 90 degrees, near 70, far 650, above and behind the bat.
        camera = cameras->GetDefaultCamera();
        camera->fieldOfView = 1.5707964f;
        camera->nearPlane = 70;
        camera->farPlane = 650;
        camera->orientation = Quaternion(0.4939f, 0, 0, 0.8695f);
        camera->position = Vec3(0, -140, 98);
        cameras->Update();
        rs->clearColor = Vec4(1, 0, 1, 1); // nothing of the scenery has this colour
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
    }
    void TearDown() override {
        geometry.reset();
        bonuses.reset();
        environment.reset();
        field.reset();
        effects.reset();
        lighting.reset();
        levelData.reset();
        gameData.reset();
        audio.reset();
        particles.reset();
        sprites.reset();
        models.reset();
        shaders.reset();
        lights.reset();
        cameras.reset();
        rs.reset();
        window.reset();
        platform::D3DTest::Reset();
        platform::sim::Reset();
    }
    template <class T> std::unique_ptr<T> Make() {
        auto service = std::make_unique<T>();
        T::Instance(service.get());
        return service;
    }

    void Build(const StageLevel& level) {
        gameData = std::make_unique<GameTools::DataKeeper>("en");
        gameData->LoadResourceList("data\\game_objects\\resources.xml", false);
        gameData->LoadAll();
        levelData = std::make_unique<GameLogicData>("en", std::string(level.geometry) + ".vbg");
        levelData->LoadResourceList("data\\environment\\" + std::string(level.environment) + "_resources.xml", false);
        levelData->LoadAll();
        lighting = std::make_unique<Lighting>("lighting.ini");
        effects = std::make_unique<Effects>(lighting.get());
        field = std::make_unique<GameField>("field.vbf");
        environment = std::make_unique<Environment>(levelData.get(), level.environment);
        bonuses = std::make_unique<BonusManager>(audio.get(), gameData.get(), effects.get());
        geometry =
            std::make_unique<GameGeometry>(gameData.get(), levelData.get(), effects.get(), &score, audio.get());
        geometry->Build(bonuses.get(), &balls, nullptr);
    }
    void Frame(Image& image) {
        rs->Refresh();
        cameras->Update();
        particles->Update();
        sprites->Update();
        lights->Apply();
        shaders->Update();
        models->Render();
        rs->CaptureScreen(image);
        models->Present();
    }
    void Save(const Image& image, const std::string& name) {
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
        VelmoraTest::WritePng(VelmoraTest::TestOutputPath(name), image.width, image.height, rgba);
    }

    VelmoraTest::TestLog log;
    FileManager files{(std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin").string(),
                      true, "data", 16u << 20};
    Config config{"", "", false, "640x480x32", false, false};
    TimerManager timers;
    std::unique_ptr<Window> window;
    std::unique_ptr<RenderSystem_D3D7> rs;
    std::unique_ptr<CameraManager> cameras;
    std::unique_ptr<LightManager> lights;
    std::unique_ptr<ShaderManager> shaders;
    std::unique_ptr<ModelManager> models;
    std::unique_ptr<SpriteGroupManager> sprites;
    std::unique_ptr<ParticleSystemManager> particles;
    Camera* camera = nullptr;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    GameFramework::ScoreKeeper score;
    NoBalls balls;
    std::unique_ptr<GameTools::DataKeeper> gameData;
    std::unique_ptr<GameLogicData> levelData;
    std::unique_ptr<Lighting> lighting;
    std::unique_ptr<Effects> effects;
    std::unique_ptr<GameField> field;
    std::unique_ptr<Environment> environment;
    std::unique_ptr<BonusManager> bonuses;
    std::unique_ptr<GameGeometry> geometry;
};

} // namespace

TEST_P(StageSceneryRender, TheLevelStandsInItsSceneryWithoutAnError) {
    const StageLevel level = GetParam();
    try {
        Build(level);
    } catch (const FatalError& error) {
        FAIL() << error.GetText();
    }
    Image image;
    for (int frame = 0; frame < 40; ++frame) { // two seconds: every block has appeared
        geometry->Update(1);
        effects->Update();
        Frame(image);
    }
    Save(image, std::string("stage-") + level.geometry + ".png");
    ASSERT_EQ(image.width, 640u);
    // The scenery reaches every edge: hardly a pixel of the clear colour is left.
    size_t clear = 0;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = image.Row(y) + x * image.BytesPerPixel();
            clear += p[0] > 250 && p[1] < 5 && p[2] > 250 ? 1 : 0;
        }
    EXPECT_LT(clear, size_t(image.width) * image.height / 200);
    EXPECT_FALSE(geometry->GetBlocks().empty());
    for (const std::string& line : log.Texts())
        EXPECT_EQ(line.find("Error"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Stages, StageSceneryRender,
                         testing::Values(StageLevel{"00_00", "meadow"}, StageLevel{"01_02", "coast"},
                                         StageLevel{"01_04", "coast"}, StageLevel{"02_04", "forge"}),
                         [](const testing::TestParamInfo<StageLevel>& param) {
                             return std::string("level_") + param.param.geometry;
                         });
