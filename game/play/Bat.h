// The player's bat at the near edge of the field: three models (head, body, screw) assembled from their
// modelled places, following the mouse along x, its length a frame of the head's animation, swaying, leaning
// and spinning its screw as it moves, dipping back when a ball hits it, sliding in at the start of a life and
// breaking into three explosions when a life is lost. One per level, built and deleted by the level in play;
// the ball manager, the guns and the level logic read its boxes and matrices.
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

class Barrier;
class Effects;
class Explosion;
class Shadow;

class Bat {
public:
    static constexpr float MouseRange = 150; // mouse units across the field; world x = x - 75
    static constexpr float GuiWidth = 800;   // GUI units the mouse range spans
    static constexpr float BaseY = -85;      // the body's near edge when the bat is in place
    static constexpr float SizeStep = 20;    // one grow or shrink bonus
    static constexpr float MaximumSize = 60; // the head animation's last frame
    static constexpr float StartSize = 20;
    static constexpr float SizeSpeed = 55;     // frames per second towards the target size
    static constexpr float StartDelay = 1.8f;  // before the first bat of a level slides in
    static constexpr float EntryDistance = 30; // the slide-in starts this far below
    static constexpr float RecoilDepth = 0.9f;
    static constexpr int SoundCreation = 28;
    static constexpr int SoundDestruction = 29;

    // The barrier is kept for the level's wiring only.
    Bat(GameTools::DataKeeper* keeper, Effects* effects, Barrier* barrier,
        GameFramework::AudioPlayer* audioPlayer);
    Bat(const Bat&) = delete;
    Bat& operator=(const Bat&) = delete;
    virtual ~Bat();

    // Once a frame; the fade (0..1) gates the mouse only, everything else runs on the frame time.
    void Update(float fade);
    // A fresh bat for a new life: in the middle, start size, sliding in again, not yet in play.
    void Reset();
    // Breaks the bat apart: hidden at once, in play until its explosions have finished.
    void Destroy();
    void Grow();
    void Shrink();
    // A ball hit the head: it dips back and returns.
    void Recoil();
    // The direction a ball leaves the head in when it hits at the point: straight up the field at the
    // centre, 0.85 x 45 degrees to the side at either end.
    OrvexEngine::Vec2 GetBounceDirection(const OrvexEngine::Vec2& position) const;
    void SetVisible(bool visible);
    // Stops the slide-in only; the level's fade stops the mouse.
    void SetPaused(bool value) { paused = value; }
    void UpdateTransform();

    const OrvexEngine::BoundingBox& GetHeadBox() const;
    const OrvexEngine::BoundingBox& GetBodyBox() const;
    // Head and body together: what catches bonuses.
    const OrvexEngine::BoundingBox& GetBatBox() const { return batBox; }
    // The body's world matrix, on which the guns ride.
    const OrvexEngine::Matrix4& GetBodyMatrix() const { return bodyMatrix; }
    // True while the head is hidden, from Destroy until Reset.
    bool IsDestroyed() const;
    bool IsInPlay() const { return inPlay; }
    bool IsPaused() const { return paused; }
    bool IsWaiting() const { return waiting; }

    float GetX() const { return x; }
    float GetSize() const { return size; }
    float GetTargetSize() const { return targetSize; }
    float GetSway() const { return sway; }
    float GetRecoilOffset() const { return recoilOffset; }
    float GetLeanAngle() const { return leanAngle; }
    float GetScrewAngle() const { return screwAngle; }
    float GetScrewSpinRate() const { return screwSpinRate; }
    float GetEntryOffset() const { return entryOffset; }
    OrvexEngine::Model* GetHeadModel() const { return head; }
    OrvexEngine::Model* GetBodyModel() const { return body; }
    OrvexEngine::Model* GetScrewModel() const { return screw; }
    OrvexEngine::ParticleSystem* GetDestructionParticles() const { return destructionParticles; }
    Shadow* GetHeadShadow() const { return headShadow; }
    Shadow* GetBodyShadow() const { return bodyShadow; }
    Explosion* GetHeadExplosion() const { return headExplosion; }
    Explosion* GetBodyExplosion() const { return bodyExplosion; }
    Explosion* GetScrewExplosion() const { return screwExplosion; }

private:
    void Assemble();
    void UpdateDestruction();

    GameTools::DataKeeper* keeper = nullptr;                     // not owned
    Effects* effects = nullptr;                                  // not owned
    Barrier* barrier = nullptr;                                  // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr;           // not owned
    OrvexEngine::Model* head = nullptr;                          // owned, registered
    OrvexEngine::Model* body = nullptr;                          // owned, registered
    OrvexEngine::Model* screw = nullptr;                         // owned, registered
    OrvexEngine::ParticleSystem* destructionParticles = nullptr; // owned, registered
    Shadow* headShadow = nullptr;                                // owned through Effects
    Shadow* bodyShadow = nullptr;                                // owned through Effects
    Explosion* headExplosion = nullptr;                          // owned
    Explosion* bodyExplosion = nullptr;                          // owned
    Explosion* screwExplosion = nullptr;                         // owned
    OrvexEngine::Vec3 headOffset;
    OrvexEngine::Vec3 bodyOffset;
    OrvexEngine::Vec3 screwOffset;
    float x = MouseRange / 2;
    float sway = 0;
    float recoilOffset = 0;
    float recoilSpeed = 0;
    float leanAngle = 0;
    float leanSpeed = 0;
    float screwAngle = 0;
    float screwSpinRate = 0;
    OrvexEngine::BoundingBox batBox;
    float targetSize = StartSize;
    float size = StartSize;
    OrvexEngine::Matrix4 bodyMatrix;
    bool waiting = true;
    float startDelay = StartDelay;
    float entrySpeed = 75;
    float entryOffset = -EntryDistance;
    bool inPlay = false;
    bool paused = false;
};

} // namespace VelmoraBall
