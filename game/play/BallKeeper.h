// A block that shows a ball inside it and releases a new live ball when destroyed: straight away from an
// explosion that destroyed it, or in the launch direction otherwise. Never starts a chain explosion and never
// counts towards completing the level. Built by the block set.
#pragma once

#include "game/play/Block.h"

namespace GameFramework {
class AudioPlayer;
class ScoreKeeper;
} // namespace GameFramework

namespace VelmoraBall {

class Ball;
class BallManager;

class BallKeeper : public Block {
public:
    static constexpr uint32_t KindSimpleBall = 0x1;
    static constexpr uint32_t KindSuperBall = 0x2;

    BallKeeper(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* particleKeeper,
               GameTools::DataKeeper* modelKeeper, GameFramework::ScoreKeeper* scoreKeeper, Effects* effects,
               GameGeometry* geometry, const BlockDescriptor* descriptor, BallManager* ballManager);
    ~BallKeeper() override;

    void Hit(int kind, bool chain) override;
    void SetVisible(bool shown) override;
    void UpdateTransform() override;

    OrvexEngine::Model* GetBallModel() const { return ballModel; }
    Ball* GetReleasedBall() const { return releasedBall; }

private:
    GameFramework::ScoreKeeper* scoreKeeper = nullptr; // not owned
    BallManager* ballManager = nullptr;                // not owned
    GameFramework::AudioPlayer* audioPlayer = nullptr; // not owned
    OrvexEngine::Model* ballModel = nullptr;           // owned, registered
    OrvexEngine::Matrix4 ballOffset;
    Ball* releasedBall = nullptr; // not owned
};

} // namespace VelmoraBall
