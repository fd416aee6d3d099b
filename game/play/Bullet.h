// One flying bolt: launched from the bat's body matrix along its +y, it slows to its kind's minimum speed,
// sinks to just above the floor, hits the blocks standing on the field (an arbalest bolt stops at the first,
// a ballista bolt goes on) and stops at the first wall, then waits for its trail and burst to fade. Pooled
// and owned by the BulletManager.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Vector.h"

namespace OrvexEngine {
class Model;
class ParticleSystem;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Bat;
class Effects;
class GameField;
class GameGeometry;
class GameLogic;
class Shadow;

class Bullet {
public:
    static constexpr float FloorClearance = 1; // the bolt's bottom never goes lower
    static constexpr float SinkSpeed = 10;

    Bullet(GameTools::DataKeeper* keeper, GameLogic* levelLogic, Effects* effects, GameField* field,
           GameGeometry* geometry, GameFramework::AudioPlayer* audioPlayer, Bat* bat, int kind);
    Bullet(const Bullet&) = delete;
    Bullet& operator=(const Bullet&) = delete;
    virtual ~Bullet();

    // Flies from the matrix's origin along its +y.
    void Launch(const OrvexEngine::Matrix4& matrix);
    void Update(float fade);
    // A paused flight keeps its place; its trail stops emitting.
    void SetPaused(bool value);
    void UpdateTransform();

    const OrvexEngine::BoundingBox& GetBox() const;
    bool IsActive() const { return active; }
    bool IsFinishing() const { return finishing; }
    bool IsPaused() const { return paused; }
    int GetKind() const { return kind; }
    float GetSpeed() const { return speed; }
    const OrvexEngine::Vec3& GetPosition() const { return position; }
    const OrvexEngine::Vec3& GetDirection() const { return direction; }
    OrvexEngine::Model* GetModel() const { return model; }
    OrvexEngine::ParticleSystem* GetTrail() const { return trail; }
    OrvexEngine::ParticleSystem* GetDestructionParticles() const { return destruction; }

private:
    // The wall or block it met: the bolt vanishes, its trail fades and it bursts where it was.
    void Finish();

    GameLogic* levelLogic = nullptr;                    // not owned
    Effects* effects = nullptr;                         // not owned
    GameField* field = nullptr;                         // not owned
    GameGeometry* geometry = nullptr;                   // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr;  // not owned
    Bat* bat = nullptr;                                 // not owned
    OrvexEngine::Model* model = nullptr;                // owned, registered
    Shadow* shadow = nullptr;                           // owned through Effects
    OrvexEngine::ParticleSystem* trail = nullptr;       // owned, registered
    OrvexEngine::ParticleSystem* destruction = nullptr; // owned, registered
    int kind = 0;
    OrvexEngine::Matrix4 launchMatrix;
    float minimumSpeed = 0;
    float speed = 0;
    float startFactor = 1;
    bool chain = false; // bolts never set off chain explosions
    int fieldSound = 0;
    OrvexEngine::Vec3 position; // in the launch frame
    OrvexEngine::Vec3 direction;
    OrvexEngine::Vec3 trailOffset;
    bool hitsBat = false; // bolts never test the bat
    bool pierces = false;
    bool active = false;
    bool finishing = false;
    bool paused = false;
};

} // namespace VelmoraBall
