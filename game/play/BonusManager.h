// Decides when a destroyed brick drops a bonus and of which kind (a countdown and weighted kinds, the life
// bonus weighing more with fewer lives), keeps the falling bonuses in drop order with models lent from a
// pool of two per kind, and drops the hammer bonus that helps to finish a level. Built by the level in play,
// which also tests the bonuses against the bat and applies what is caught.
#pragma once

#include "engine/math/Vector.h"

#include <memory>
#include <string>
#include <vector>

namespace OrvexEngine {
class Camera;
class Model;
class SpriteGroup;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
class RandomSelecter;
} // namespace GameTools

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Bonus;
class Effects;

class BonusManager {
public:
    static constexpr int KindCount = 11;
    static constexpr int KindRandom = 11; // a weighted random kind
    static constexpr int KindHammer = 10;

    BonusManager(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* keeper, Effects* effects);
    BonusManager(const BonusManager&) = delete;
    BonusManager& operator=(const BonusManager&) = delete;
    virtual ~BonusManager();

    // Once a frame: counting while a ball is in play, the player's lives, the level's pause fade.
    void Update(bool counting, int lives, float fade);
    // A brick was destroyed at the point: drops a random bonus when the countdown has run out, else brings
    // the next one 4 % closer.
    void OnBlockDestroyed(const OrvexEngine::Vec2& position);
    // Drops one bonus of the kind (0..10, or 11 for a weighted random kind) at the point.
    void Spawn(const OrvexEngine::Vec2& position, int kind);
    // Starts the end-level hammer timer unless it is running.
    void ArmEndLevelBonus();
    void CatchBonus(size_t index);
    void SetPaused(bool value) { paused = value; }

    // The kind's name (model "bonuses/" + name); empty outside 0..10.
    static std::string GetKindName(int kind);
    static int GetKindWeight(int kind);

    const std::vector<Bonus*>& GetBonuses() const { return bonuses; }
    float GetCountdown() const { return countdown; }
    void SetCountdown(float seconds) { countdown = seconds; }
    float GetEndLevelTimer() const { return endLevelTimer; }
    const GameTools::RandomSelecter& GetSelecter() const { return *selecter; }
    const std::vector<OrvexEngine::Model*>& GetModelPool() const { return modelPool; }
    OrvexEngine::SpriteGroup* GetFlareGroup() const { return flareGroup; }

private:
    void RetireFinished();

    GameTools::DataKeeper* keeper = nullptr;           // not owned
    Effects* effects = nullptr;                        // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    float countdown = 0;
    std::unique_ptr<GameTools::RandomSelecter> selecter;
    int lives = 10;
    bool endLevelArmable = true;
    float endLevelTimer = -1;
    OrvexEngine::Camera* flareCamera = nullptr;     // owned through the camera manager
    OrvexEngine::SpriteGroup* flareGroup = nullptr; // owned through the sprite group manager
    std::vector<OrvexEngine::Model*> modelPool;     // owned; kind * 2 + j, null while lent
    std::vector<Bonus*> bonuses;                    // owned, in drop order
    bool paused = false;
};

} // namespace VelmoraBall
