// One piece of debris of a destroyed block: flies up and out from its place in the block, tumbles, shrinks
// to a minimum size, falls to the floor, lies there with a fading shadow and sinks away. Built once, hidden,
// when the level is built (owned by its Explosion) and restarted for every burst.
#pragma once

#include "engine/math/Matrix4.h"
#include "engine/math/Vector.h"

#include <string>

namespace OrvexEngine {
class Model;
}

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Effects;
class Shadow;

struct FragmentSettings {
    float speedFactor = 1;    // multiplies the frame time of the flight
    float spreadFactor = 1;   // multiplies the horizontal start velocity
    float minimumSize = 2.8f; // larger pieces shrink to it during their first second
    float floorTime = 12;     // seconds on the floor before sinking
    float floorHeight = 0;
};

class Fragment {
public:
    // name: the fragment model in the keeper; it gives size and place even when fake, in which case one of
    // the ten common debris models, chosen at random now, is shown at that size.
    Fragment(GameTools::DataKeeper* keeper, Effects* effects, const std::string& name, bool real,
             const FragmentSettings& settings);
    Fragment(const Fragment&) = delete;
    Fragment& operator=(const Fragment&) = delete;
    virtual ~Fragment();

    // Starts from the block model's place, material and frame.
    void Start(const OrvexEngine::Model& blockModel, bool shadows);
    void Update();

    bool IsActive() const { return active; }
    OrvexEngine::Model* GetModel() const { return model; }
    Shadow* GetShadow() const { return shadow; }
    float GetSize() const { return size; }
    const OrvexEngine::Vec3& GetVelocity() const { return velocity; }
    float GetFloorTimeSpent() const { return floorTimeSpent; }
    float GetScale() const { return scale; }

private:
    Effects* effects = nullptr;          // not owned
    OrvexEngine::Model* model = nullptr; // owned, registered
    Shadow* shadow = nullptr;            // owned through Effects
    bool active = false;
    FragmentSettings settings;
    float size = 0;
    OrvexEngine::Vec3 offset;
    OrvexEngine::Matrix4 offsetMatrix;
    OrvexEngine::Matrix4 blockMatrix;
    OrvexEngine::Matrix4 tumble;
    OrvexEngine::Matrix4 flight;
    OrvexEngine::Vec3 velocity;
    float time = 0;
    float floorTimeSpent = 0;
    float scale = 1; // the shrink of the flight, kept while the piece lies on the floor
};

} // namespace VelmoraBall
