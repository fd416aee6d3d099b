// The flying bolts of both guns: a pool per kind (30 arbalest and 20 ballista bolts), each fired from the
// bat's body matrix and updated once a frame. Built and deleted by the level in play; the guns fire through
// it.
#pragma once

#include "engine/math/Matrix4.h"

#include <vector>

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Bat;
class Bullet;
class Effects;
class GameField;
class GameGeometry;
class GameLogic;

class BulletManager {
public:
    // The level logic is handed to the bullets, which keep it for the level's wiring.
    BulletManager(GameTools::DataKeeper* keeper, GameLogic* levelLogic, Effects* effects,
                  GameFramework::AudioPlayer* audioPlayer, GameField* field, GameGeometry* geometry,
                  Bat* bat);
    BulletManager(const BulletManager&) = delete;
    BulletManager& operator=(const BulletManager&) = delete;
    virtual ~BulletManager();

    // A free bolt of the kind, else the last one that is finishing, flies from the matrix with its shot
    // sound; with every bolt in flight nothing happens.
    void FireArbalest(const OrvexEngine::Matrix4& matrix);
    void FireBallista(const OrvexEngine::Matrix4& matrix);
    // Once a frame; nothing while paused.
    void Update(float fade);
    void SetPaused(bool value);

    const std::vector<Bullet*>& GetBullets() const { return bullets; }
    const std::vector<Bullet*>& GetPool(int kind) const { return kind == 1 ? ballistaPool : arbalestPool; }
    bool IsPaused() const { return paused; }

private:
    void Fire(int kind, const OrvexEngine::Matrix4& matrix);

    GameTools::DataKeeper* keeper = nullptr;           // not owned
    GameLogic* levelLogic = nullptr;                   // not owned
    Effects* effects = nullptr;                        // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    GameField* field = nullptr;                        // not owned
    GameGeometry* geometry = nullptr;                  // not owned
    Bat* bat = nullptr;                                // not owned
    std::vector<Bullet*> bullets;                      // owned: arbalest bolts first
    std::vector<Bullet*> arbalestPool;                 // not owned
    std::vector<Bullet*> ballistaPool;                 // not owned
    bool paused = false;
};

} // namespace VelmoraBall
