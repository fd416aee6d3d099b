#include "game/play/BallKeeper.h"

#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Ball.h"
#include "game/play/BallManager.h"
#include "game/play/GameLogicData.h"
#include "gametools/DataKeeper.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLValue.h"

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr int scoreBallKeeper = 8;
constexpr int soundCrashBallKeeper = 16;

} // namespace

BallKeeper::BallKeeper(GameFramework::AudioPlayer* player, GameTools::DataKeeper* particles,
                       GameTools::DataKeeper* models, GameFramework::ScoreKeeper* score,
                       Effects* blockEffects, GameGeometry* blockGeometry,
                       const BlockDescriptor* blockDescriptor, BallManager* balls)
    : Block(particles, models, blockEffects, blockGeometry, blockDescriptor), scoreKeeper(score),
      ballManager(balls), audioPlayer(player) {
    GameTools::XMLValue* ballType = descriptor->type->GetAttribute("ball_type", 0);
    kindFlags = ballType != nullptr && ballType->AsString() == "super" ? KindSuperBall : KindSimpleBall;
    const char* ballName = kindFlags == KindSuperBall ? "balls/super/model" : "balls/simple/model";
    ballModel = ModelManager::Instance()->CreateModelCopy(*modelKeeper->GetModel(ballName), nullptr, 0);
    ballOffset = Matrix4::Translation(-ballModel->box.GetCentre());
    ballModel->baseTransform = ballModel->transform;
    UpdateTransform();
}

BallKeeper::~BallKeeper() {
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(ballModel);
}

void BallKeeper::UpdateTransform() {
    Block::UpdateTransform();
    if (ballModel == nullptr)
        return;
    ballModel->transform = ballModel->baseTransform;
    ballModel->box.SetTransform(ballModel->transform);
    // The ball follows the block's place and turn, not its scale.
    ballModel->transform =
        ballOffset.Multiply(translation).Multiply(rotationMatrix).Multiply(ballModel->baseTransform);
    ballModel->box.SetTransform(ballModel->transform);
}

void BallKeeper::SetVisible(bool shown) {
    Block::SetVisible(shown);
    if (shown)
        ballModel->SetFlags(ModelVisible);
    else
        ballModel->ClearFlags(ModelVisible);
}

void BallKeeper::Hit(int kind, bool) {
    if (!alive)
        return;
    Block::Hit(kind, false);
    releasedBall = ballManager->AddBall(kindFlags == KindSuperBall ? 1 : 0);
    releasedBall->Launch();
    const Vec3& centre = modelBox->GetCentre();
    releasedBall->SetPosition(Vec2(centre.x, centre.y));
    if (destructionScheduled) {
        Vec2 away(centre.x - explosionCentre.x, centre.y - explosionCentre.y);
        if (away.Length() < 0.01f) {
            const float x = RandomSigned();
            away = Vec2(x, RandomSigned());
        }
        releasedBall->SetDirection(away.Normalized());
    }
    scoreKeeper->AddScore(scoreBallKeeper, 1);
    audioPlayer->PlaySound(soundCrashBallKeeper);
}

} // namespace VelmoraBall
