// A ball of the level, as far as the blocks need it so far: a ball keeper releases one and places and aims
// it. The ball's motion, look and pool belong to the ball manager; this is the part blocks call.
#pragma once

#include "engine/math/Vector.h"

namespace VelmoraBall {

class Ball {
public:
    Ball() = default;
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;
    virtual ~Ball() = default;

    // Releases a ball held on the bat and gives it its launch direction.
    virtual void Launch() = 0;
    void SetPosition(const OrvexEngine::Vec2& value) { position = value; }
    void SetDirection(const OrvexEngine::Vec2& value) { direction = value; }
    const OrvexEngine::Vec2& GetPosition() const { return position; }
    const OrvexEngine::Vec2& GetDirection() const { return direction; }

protected:
    OrvexEngine::Vec2 position;
    OrvexEngine::Vec2 direction{0, 1};
};

} // namespace VelmoraBall
