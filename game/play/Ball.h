// One ball of the level: a simple or a super ball drawn as one of two models that roll as it travels, with a
// particle trail, a flare sprite and a shadow. Either held by the bat (resting on its head and following it)
// or free, travelling in the field's plane along its direction at the speed the ball manager gives it.
// Pooled by the ball manager, which activates, launches, moves and deactivates it; collisions are the
// manager's work. A ball keeper also launches, places and aims the ball it releases.
#pragma once

#include "engine/math/BoundingBox.h"
#include "engine/math/Vector.h"

#include <cstdint>

namespace OrvexEngine {
class Model;
class ParticleSystem;
class SpriteGroup;
struct GroupSprite;
} // namespace OrvexEngine

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Bat;
class Effects;
class Shadow;

class Ball {
public:
    static constexpr int TypeSimple = 0;
    static constexpr int TypeSuper = 1;

    // Idle and hidden until activated. The flare group is shared and owned by the ball manager.
    Ball(GameTools::DataKeeper* keeper, Effects* effects, OrvexEngine::SpriteGroup* flareGroup);
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;
    virtual ~Ball();

    // Makes the ball live, held by the bat, with the type's look.
    void Activate(Bat* holder, int type);
    // Hidden and idle; harmless on an idle ball.
    void Deactivate();
    // Releases a held ball in the bat's bounce direction for its resting place; the trail starts.
    virtual void Launch();
    // Held: follows the bat. Free: one step of direction x speed x frame time x fade. Then the models roll.
    void Update(float fade);
    void SetType(int type);
    // Only the trail pauses; the level's fade of 0 stops the movement.
    void SetPaused(bool value);
    // The world box of the current type's model.
    const OrvexEngine::BoundingBox& GetBox() const;
    // Where a held ball rests: right of the head's centre, on top of the head.
    OrvexEngine::Vec2 FollowHolder() const;
    void PlaceModels(float rolled);

    Bat* GetHolder() const { return holder; }
    bool IsHeld() const { return holder != nullptr; }
    bool IsActive() const { return active; }
    bool IsPaused() const { return paused; }
    int GetType() const { return type; }
    // The radius of the current type.
    float GetRadius() const { return radii[type]; }
    float GetRadiusOf(int ofType) const { return radii[ofType]; }
    float GetSpeed() const { return speed; }
    void SetSpeed(float value) { speed = value; }
    const OrvexEngine::Vec2& GetPosition() const { return position; }
    void SetPosition(const OrvexEngine::Vec2& value) { position = value; }
    const OrvexEngine::Vec2& GetDirection() const { return direction; }
    void SetDirection(const OrvexEngine::Vec2& value) { direction = value; }
    // The movement of the last update.
    const OrvexEngine::Vec2& GetStep() const { return step; }

    OrvexEngine::Model* GetModel(int ofType) const { return models[ofType]; }
    Shadow* GetShadow(int ofType) const { return shadows[ofType]; }
    OrvexEngine::ParticleSystem* GetTrail(int ofType) const { return trails[ofType]; }
    OrvexEngine::ParticleSystem* GetCurrentTrail() const { return currentTrail; }
    uint32_t GetFlareSpriteId() const { return flareSpriteId; }
    float GetHeldOffset() const { return heldOffset; }

protected:
    // A stand-in without models, trail or flare, for code that only places and aims balls.
    Ball() = default;

    // Stops the current trail and hides it; whether it was playing.
    bool StopCurrentTrail();

    GameTools::DataKeeper* keeper = nullptr;        // not owned
    Effects* effects = nullptr;                     // not owned
    Bat* holder = nullptr;                          // not owned; none for a free ball
    OrvexEngine::Model* models[2] = {};             // owned, registered; simple, super
    float radii[2] = {1, 1};                        // the smallest half size of each model's box
    OrvexEngine::SpriteGroup* flareGroup = nullptr; // not owned
    uint32_t flareSpriteId = 0xFFFFFFFFu;
    OrvexEngine::GroupSprite* flareSprite = nullptr; // none while idle or when the group was full
    Shadow* shadows[2] = {};                         // owned through Effects
    OrvexEngine::ParticleSystem* trails[2] = {};     // owned, registered
    OrvexEngine::ParticleSystem* currentTrail = nullptr;
    int type = TypeSimple;
    OrvexEngine::Vec2 position;
    OrvexEngine::Vec2 direction{1, 0};
    OrvexEngine::Vec2 step;
    float speed = 0;
    float heldOffset = 0;
    bool active = false;
    bool paused = false;
};

} // namespace VelmoraBall
