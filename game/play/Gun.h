// A gun on the bat, given by a bonus: the arbalest (kind 0, 24 shots, one per 0.1 s) or the ballista (kind 1,
// 12 shots, one per 0.17 s, its bolts going through blocks). A click asks for a shot; the gun fires when its
// interval has passed, animates on the bat and goes away after its last shot. Two per level, built and
// deleted by the level in play; the bullets are the bullet manager's.
#pragma once

#include <cstddef>
#include <cstdint>

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Bat;
class BulletManager;
class Effects;
class GunPart;

// What differs between the two kinds.
struct GunKind {
    const char* word;     // in the resource names "guns/" + word + "/..."
    float shotInterval;   // seconds
    uint32_t clips[4][2]; // appear, shot, loaded, disappear: first and last frame
    size_t poolSize;      // bullets
    float minimumSpeed;   // units per second
    float startFactor;    // the start speed over the minimum
    bool pierces;         // goes through blocks
    int shotSound;
    int fieldSound; // the bolt hits a wall
};

class Gun {
public:
    static constexpr int KindArbalest = 0;
    static constexpr int KindBallista = 1;
    // Kind 0 or 1.
    static const GunKind& GetKind(int kind);

    // The audio player is kept for the level's wiring; the bullet manager plays the shots.
    Gun(GameTools::DataKeeper* keeper, Effects* effects, Bat* bat, GameFramework::AudioPlayer* audioPlayer,
        BulletManager* bullets, int kind);
    Gun(const Gun&) = delete;
    Gun& operator=(const Gun&) = delete;
    virtual ~Gun();

    // Nothing for 0; a gun without shots appears first.
    void AddShots(uint32_t count);
    // Hidden at once, no shots left.
    void Stop();
    // A click: at most one bullet at the next update, and only while shots remain.
    void RequestShot();
    void Update(float fade);
    void SetPaused(bool value) { paused = value; }
    void Shoot();

    int GetKindIndex() const { return kind; }
    uint32_t GetShotsLeft() const { return shotsLeft; }
    int GetShotsFired() const { return shotsFired; }
    bool IsPaused() const { return paused; }
    bool IsShotRequested() const { return shotRequested; }
    GunPart* GetPart() const { return part; }

private:
    GameTools::DataKeeper* keeper = nullptr;           // not owned
    Effects* effects = nullptr;                        // not owned
    Bat* bat = nullptr;                                // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    BulletManager* bullets = nullptr;                  // not owned
    int kind = KindArbalest;
    GunPart* part = nullptr; // owned
    bool shotRequested = false;
    uint32_t shotsLeft = 0;
    int shotsFired = 0; // since the gun last appeared
    float lastShotTime = 0;
    float shotInterval = 0;
    float clock = 0; // every frame time since the gun was built
    bool paused = false;
};

} // namespace VelmoraBall
