#include "tests/support/LevelScene.h"

#include "platform/d3d/D3DTest.h"
#include "platform/win/WindowSimulation.h"

namespace VelmoraTest {

LevelScene::LevelScene(const std::string& title) {
    platform::D3DTest::Reset();
    platform::sim::Reset();
    platform::sim::SetDesktopMode(1024, 768, 32);
    OrvexEngine::Config::Instance(&config);
    config.GetSettings().vMode = "640x480x32";
    window =
        std::make_unique<OrvexEngine::Window>(title, 0, 0, 640, 480, false, true, OrvexEngine::Vec2i(0, 0));
    OrvexEngine::Window::Instance(window.get());
    renderSystem = std::make_unique<OrvexEngine::RenderSystem_D3D7>(true, false); // shadows need the stencil
    OrvexEngine::RenderSystem::Instance(renderSystem.get());
    scene = std::make_unique<SceneServices>(*renderSystem);
    camera = scene->UseLevelCamera();
    audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
}

LevelScene::~LevelScene() {
    geometry.reset();
    bonuses.reset();
    environment.reset();
    field.reset();
    effects.reset();
    lighting.reset();
    levelData.reset();
    gameData.reset();
    audio.reset();
    scene.reset();
    renderSystem.reset();
    window.reset();
    platform::D3DTest::Reset();
    platform::sim::Reset();
}

void LevelScene::LoadFromData(const std::string& geometryName, const std::string& environmentName) {
    gameData = std::make_unique<GameTools::DataKeeper>("en");
    gameData->LoadResourceList("data\\game_objects\\resources.xml", false);
    gameData->LoadAll();
    levelData = std::make_unique<VelmoraBall::GameLogicData>("en", geometryName + ".vbg");
    levelData->LoadResourceList("data\\environment\\" + environmentName + "_resources.xml", false);
    levelData->LoadAll();
    Assemble(environmentName);
}

void LevelScene::Assemble(const std::string& environmentName) {
    lighting = std::make_unique<VelmoraBall::Lighting>("lighting.ini");
    effects = std::make_unique<VelmoraBall::Effects>(lighting.get());
    field = std::make_unique<VelmoraBall::GameField>("field.vbf");
    environment = std::make_unique<VelmoraBall::Environment>(levelData.get(), environmentName);
    bonuses = std::make_unique<VelmoraBall::BonusManager>(audio.get(), gameData.get(), effects.get());
    geometry = std::make_unique<VelmoraBall::GameGeometry>(gameData.get(), levelData.get(), effects.get(),
                                                           &score, audio.get());
    geometry->Build(bonuses.get(), &balls, nullptr);
}

} // namespace VelmoraTest
