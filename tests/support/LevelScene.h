// A level of the game drawn headless from the level's camera: a 640 x 480 window on a simulated desktop, the
// render system with a stencil buffer (block shadows need it), the scene services, the audio player and the
// objects of a level's field, which LoadFromData or Assemble builds. Everything is deleted in reverse order
// of creation, the level's objects first. Needs the log and a file manager made first; one per test.
#pragma once

#include "game/play/BallManager.h"
#include "game/play/BonusManager.h"
#include "game/play/Effects.h"
#include "game/play/Environment.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Lighting.h"

#include "engine/core/Config.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "gametools/DataKeeper.h"
#include "tests/support/SceneServices.h"

#include <memory>
#include <string>

namespace VelmoraTest {

class LevelScene {
public:
    // title: the window's.
    explicit LevelScene(const std::string& title);
    ~LevelScene();
    LevelScene(const LevelScene&) = delete;
    LevelScene& operator=(const LevelScene&) = delete;

    // The level as a level start loads it from the laid-out data: the game's keeper with the gameplay
    // resources, the level's keeper with the environment's resource list and the geometry file
    // <geometryName>.vbg, then Assemble.
    void LoadFromData(const std::string& geometryName, const std::string& environmentName);
    // Over gameData and levelData, made and loaded: the shared lights and field, the environment's scenery,
    // the bonuses and the blocks.
    void Assemble(const std::string& environmentName);

    OrvexEngine::Config config{"", "", false, "640x480x32", false, false};
    std::unique_ptr<OrvexEngine::Window> window;
    std::unique_ptr<OrvexEngine::RenderSystem_D3D7> renderSystem;
    std::unique_ptr<SceneServices> scene;
    OrvexEngine::Camera* camera = nullptr; // the scene's default camera, aimed as the level's; not owned
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<GameTools::DataKeeper> gameData;
    std::unique_ptr<VelmoraBall::GameLogicData> levelData;
    std::unique_ptr<VelmoraBall::Lighting> lighting;
    std::unique_ptr<VelmoraBall::Effects> effects;
    std::unique_ptr<VelmoraBall::GameField> field;
    std::unique_ptr<VelmoraBall::Environment> environment;
    std::unique_ptr<VelmoraBall::BonusManager> bonuses;
    std::unique_ptr<VelmoraBall::GameGeometry> geometry;

private:
    // The level is drawn without balls: none is ever added.
    class NoBalls final : public VelmoraBall::BallManager {
    public:
        VelmoraBall::Ball* AddBall(int) override { return nullptr; }
    };

    GameFramework::ScoreKeeper score;
    NoBalls balls;
};

} // namespace VelmoraTest
