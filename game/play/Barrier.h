// The barrier bonus: up to three rope segments stretched across the field behind the bat, the newest taken
// away first when a ball bounces off it. Two hardware models animate as each rope goes up. One per level,
// built and deleted by the level in play; the ball manager reads the segment count and the box (its y extent
// is the collider while a segment is up).
#pragma once

#include "engine/math/BoundingBox.h"

#include <vector>

namespace OrvexEngine {
class Model;
}

namespace GameTools {
class DataKeeper;
}

namespace GameFramework {
class AudioPlayer;
}

namespace VelmoraBall {

class Effects;
class Shadow;

class Barrier {
public:
    static constexpr int MaximumSegments = 3;

    // The audio player is kept for the level's wiring; the ball manager plays the barrier's hit sound.
    Barrier(GameTools::DataKeeper* keeper, Effects* effects, GameFramework::AudioPlayer* audioPlayer);
    Barrier(const Barrier&) = delete;
    Barrier& operator=(const Barrier&) = delete;
    virtual ~Barrier();

    // One more rope, up to three; the hardware of the new segment animates.
    void AddSegment();
    // A ball met the barrier: the newest rope goes.
    void Hit();
    void Update();

    int GetSegmentCount() const { return segments; }
    // Rope 0 fully stretched, reaching every height: only its y extent matters to a ball.
    const OrvexEngine::BoundingBox& GetBox() const { return box; }
    const std::vector<OrvexEngine::Model*>& GetHardwareModels() const { return hardwareModels; }
    const std::vector<OrvexEngine::Model*>& GetRopeModels() const { return ropeModels; }
    Shadow* GetRopeShadow() const { return ropeShadow; }

private:
    GameTools::DataKeeper* keeper = nullptr;           // not owned
    Effects* effects = nullptr;                        // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    std::vector<OrvexEngine::Model*> hardwareModels;   // owned, registered
    std::vector<Shadow*> hardwareShadows;              // owned through Effects
    std::vector<OrvexEngine::Model*> ropeModels;       // owned, registered
    Shadow* ropeShadow = nullptr;                      // owned through Effects
    OrvexEngine::BoundingBox box;
    int segments = 0;
};

} // namespace VelmoraBall
