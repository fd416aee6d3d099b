// Every ball of the level in play: a pool of 18 reused balls and the list of those in play or held on the
// bat. Once a frame it registers the level's colliders (the bat's two boxes, the barrier, the blocks that
// stand on the field) with its collision world, sweeps every free ball along its step and answers what the
// ball met: the bat's head shapes the bounce, the barrier and the blocks are hit, the field's side and top
// walls reflect it. It keeps the common ball speed (set by the player's lives, raised by every destroyed
// block, pushed up or down for a while by the speed bonuses) and serves the split and super-ball bonuses,
// the launch of a held ball and the loss of balls below the field. Owned by the level in play; a ball keeper
// asks it for the ball it releases.
#pragma once

#include "engine/math/Plane.h"
#include "engine/math/Vector.h"

#include <memory>
#include <vector>

namespace OrvexEngine {
class ParticleSystem;
class SpriteGroup;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Ball;
class Barrier;
class Bat;
class Effects;
class GameField;
class GameGeometry;
class Physics;

class BallManager {
public:
    static constexpr int PoolSize = 18;
    static constexpr int HitEffectCount = 36; // per ball type
    static constexpr int SplitLimit = 12;     // a split stops once this many balls are in the list
    static constexpr float LostLine = -100;   // a free ball whose top falls below this is lost

    static constexpr int IdBatHead = 0;
    static constexpr int IdBatBody = 1;
    static constexpr int IdBarrier = 2;
    static constexpr int IdFirstBlock = 3; // + the block's index in the block set's list

    static constexpr int SoundHitBat = 17;
    static constexpr int SoundHitFieldSimple = 18;
    static constexpr int SoundHitFieldSuper = 19;
    static constexpr int SoundHitBarrier = 20;
    static constexpr int SoundBallLost = 21;

    BallManager(GameTools::DataKeeper* keeper, Effects* effects, GameField* field, GameGeometry* geometry,
                Bat* bat, Barrier* barrier, GameFramework::AudioPlayer* audioPlayer, int lives);
    BallManager(const BallManager&) = delete;
    BallManager& operator=(const BallManager&) = delete;
    virtual ~BallManager();

    // The frame's update with the player's lives and the level's fade (0 stops every ball).
    void Update(int lives, float fade);
    // A ball of the type (0 simple, 1 super) held on the bat. Never null: with every ball of the pool in
    // play, one of them is pulled back onto the bat.
    virtual Ball* AddBall(int type);
    // Deactivates the active ball at the index; the others keep their order.
    void RemoveBall(size_t index);
    // The next update launches the first held ball.
    void RequestLaunch() { launchRequested = true; }
    bool HasHeldBall() const;
    void SetPaused(bool value);
    void SpeedUp();
    void SlowDown();
    void MakeSuperBalls();
    // Every ball present splits into three, 120 degrees apart, until the list holds 12 or more.
    void SplitBalls();
    // The speed for the current lives; with blend, halfway from the present speed without its bonuses.
    void UpdateSpeed(bool blend);

    float GetTargetSpeed() const;
    float GetMinSpeed() const { return GetTargetSpeed() + (minimumBase - targetBase); }
    float GetMaxSpeed() const { return GetTargetSpeed() + (maximumBase - targetBase); }
    // The target speed for a count of lives.
    static float TargetSpeedFor(int lives);

    // The 2D direction in which a ball leaves the plane: the mirror image of its direction when the ray
    // from the position meets the plane ahead, else the plane's normal. Not normalised.
    static OrvexEngine::Vec2 ComputeReflection(const OrvexEngine::Vec2& position,
                                               const OrvexEngine::Plane& plane,
                                               const OrvexEngine::Vec2& direction);
    // The bounce off a wall or a block turned a little further from the mirror direction n of a ball that
    // came in along d: 3 degrees for a bounce straight back or a graze, up to 9 at right angles.
    static OrvexEngine::Vec2 Deflect(const OrvexEngine::Vec2& d, const OrvexEngine::Vec2& n);

    float GetSpeed() const { return speed; }
    void SetSpeed(float value) { speed = value; }
    bool IsSpeedUpActive() const { return speedUp.active; }
    bool IsSlowDownActive() const { return slowDown.active; }
    bool IsBallInPlay() const { return ballInPlay; }
    bool IsPaused() const { return paused; }
    bool IsLaunchRequested() const { return launchRequested; }
    const std::vector<Ball*>& GetActiveBalls() const { return activeBalls; }
    const std::vector<Ball*>& GetPool() const { return pool; }
    const std::vector<OrvexEngine::ParticleSystem*>& GetHitEffects(int type) const {
        return type == 1 ? superHitEffects : simpleHitEffects;
    }
    OrvexEngine::SpriteGroup* GetFlareGroup() const { return flareGroup; }
    const Physics& GetPhysics() const { return *physics; }
    float GetLeftLimit() const { return leftLimit; }
    float GetRightLimit() const { return rightLimit; }
    float GetTopLimit() const { return topLimit; }

protected:
    // A stand-in without pool, effects or collision world, for code that only asks for balls.
    BallManager();

private:
    struct SpeedBonus {
        bool active = false;
        float amount = 0;
        float time = 0;
    };

    void RegisterColliders();
    void MoveBall(Ball& ball);
    void PlayHitEffect(const Ball& ball, const OrvexEngine::Vec3& point);
    // One frame of a running speed bonus; the change of its amount, to be added (speed-up) or taken away.
    float AdvanceBonus(SpeedBonus& bonus, float dt) const;
    void PlaySound(int id) const;

    GameTools::DataKeeper* keeper = nullptr;           // not owned
    Effects* effects = nullptr;                        // not owned
    GameField* field = nullptr;                        // not owned
    GameGeometry* geometry = nullptr;                  // not owned
    Barrier* barrier = nullptr;                        // not owned
    Bat* bat = nullptr;                                // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    OrvexEngine::SpriteGroup* flareGroup = nullptr;    // owned through the sprite group manager
    std::unique_ptr<Physics> physics;
    std::vector<Ball*> pool;                                    // owned
    std::vector<Ball*> activeBalls;                             // not owned: pool balls in activation order
    std::vector<OrvexEngine::ParticleSystem*> simpleHitEffects; // owned, registered
    std::vector<OrvexEngine::ParticleSystem*> superHitEffects;  // owned, registered
    std::vector<int> ignoredIds;                                // the frame's; kept to avoid reallocation
    int difficulty = 0;
    float minimumBase = 50;
    float maximumBase = 125;
    float targetBase = 60;
    float bonusChange = 30;
    float speed = 0;
    SpeedBonus speedUp;
    SpeedBonus slowDown;
    bool launchRequested = false;
    float leftLimit = 0;
    float rightLimit = 0;
    float topLimit = 0;
    bool ballInPlay = false;
    bool paused = false;
};

} // namespace VelmoraBall
