// The level's balls, as far as the blocks need them so far: a ball keeper asks for a new ball of its type,
// attached to the bat, and releases it at once. The pool, the speed model and the collision response belong
// to the ball manager itself; owned by the level in play.
#pragma once

namespace VelmoraBall {

class Ball;

class BallManager {
public:
    BallManager() = default;
    BallManager(const BallManager&) = delete;
    BallManager& operator=(const BallManager&) = delete;
    virtual ~BallManager() = default;

    // A ball of the type (0 simple, 1 super) attached to the bat. Never null.
    virtual Ball* AddBall(int type) = 0;
};

} // namespace VelmoraBall
