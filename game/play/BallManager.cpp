#include "game/play/BallManager.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Random.h"
#include "engine/math/Ray.h"
#include "framework/AudioPlayer.h"
#include "game/play/Ball.h"
#include "game/play/BallKeeper.h"
#include "game/play/Barrier.h"
#include "game/play/Bat.h"
#include "game/play/Block.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/Physics.h"
#include "gametools/DataKeeper.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr float pi = std::numbers::pi_v<float>;
constexpr float bonusHold = 10;    // seconds a speed bonus holds before it returns
constexpr float killShare = 0.78f; // of the way from target to maximum that a whole level adds
constexpr float batBoxDrop = 3;    // the bat's colliders sit this far down the field

// Speed steps of the target speed, indexed by lives; 11 or more (and a negative count) take the last.
constexpr int speedSteps[12] = {-8, -4, -2, -1, 0, 2, 4, 6, 8, 10, 12, 14};
constexpr float speedStepSize = 2.3f;

Vec2 Rotate(const Vec2& v, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return Vec2(c * v.x - s * v.y, s * v.x + c * v.y);
}

bool NearlyEqual(const Vec2& a, const Vec2& b) {
    return std::fabs(a.x - b.x) < 0.01f && std::fabs(a.y - b.y) < 0.01f;
}

float Manhattan(const Vec2& a, const Vec2& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
}

void RemoveOne(std::vector<int>& ids, int id) {
    auto at = std::find(ids.begin(), ids.end(), id);
    if (at != ids.end())
        ids.erase(at);
}

} // namespace

BallManager::BallManager() = default;

BallManager::BallManager(GameTools::DataKeeper* dataKeeper, Effects* levelEffects, GameField* levelField,
                         GameGeometry* blockSet, Bat* levelBat, Barrier* levelBarrier,
                         GameFramework::AudioPlayer* player, int lives)
    : keeper(dataKeeper), effects(levelEffects), field(levelField), geometry(blockSet), barrier(levelBarrier),
      bat(levelBat), audioPlayer(player) {
    flareGroup = SpriteGroupManager::Instance()->CreateSpriteGroup(
        PoolSize, keeper->GetShaderUser("balls/flare"), nullptr, 0);
    flareGroup->depthSort = false;
    if (Model* model = flareGroup->GetModel()) {
        model->ClearFlags(ModelDepthTest);
        model->SetFlags(ModelFixedSortDepth);
        model->sortDepth = -0.6f;
    }
    pool.reserve(PoolSize);
    for (int i = 0; i < PoolSize; ++i)
        pool.push_back(new Ball(keeper, effects, flareGroup));
    activeBalls.reserve(PoolSize);
    ParticleSystemManager* systems = ParticleSystemManager::Instance();
    for (int type = 0; type < 2; ++type) {
        std::vector<ParticleSystem*>& list = type == 0 ? simpleHitEffects : superHitEffects;
        const ParticleSystem& source =
            *keeper->GetParticleSystem(type == 0 ? "balls/simple/hit" : "balls/super/hit");
        list.reserve(HitEffectCount);
        for (int i = 0; i < HitEffectCount; ++i) {
            ParticleSystem* effect = systems->CreateParticleSystemCopy(source);
            effect->looping = false;
            if (Model* model = effect->GetModel())
                model->SetFlags(ModelFixedSortDepth);
            effect->SetVisible(false);
            list.push_back(effect);
        }
    }
    physics = std::make_unique<Physics>();
    // The inner faces of the walls: a wall wider than deep closes the top, the others the sides.
    for (const FieldWall& wall : field->GetWalls()) {
        const BoundingBox& box = wall.worldBox;
        if (box.GetHalfSize().y < box.GetHalfSize().x)
            topLimit = box.GetWorldMin().y;
        else if (box.GetCentre().x > 0)
            rightLimit = box.GetWorldMin().x;
        else
            leftLimit = box.GetWorldMax().x;
    }
    ignoredIds.reserve(64);
    difficulty = lives;
    UpdateSpeed(false);
}

BallManager::~BallManager() {
    activeBalls.clear();
    for (Ball* ball : pool)
        delete ball;
    pool.clear();
    if (SpriteGroupManager* groups = SpriteGroupManager::Instance())
        groups->DeleteSpriteGroup(flareGroup);
    if (ParticleSystemManager* systems = ParticleSystemManager::Instance()) {
        for (ParticleSystem* effect : simpleHitEffects)
            systems->Release(effect);
        for (ParticleSystem* effect : superHitEffects)
            systems->Release(effect);
    }
}

void BallManager::PlaySound(int id) const {
    if (audioPlayer != nullptr)
        audioPlayer->PlaySound(id);
}

float BallManager::TargetSpeedFor(int lives) {
    const int index = lives < 0 || lives > 11 ? 11 : lives;
    return 60.0f + speedStepSize * static_cast<float>(speedSteps[index]);
}

float BallManager::GetTargetSpeed() const {
    return TargetSpeedFor(difficulty);
}

void BallManager::UpdateSpeed(bool blend) {
    if (!blend) {
        speed = GetTargetSpeed();
    } else {
        if (speedUp.active)
            speed -= speedUp.amount;
        if (slowDown.active)
            speed += slowDown.amount;
        speed = 0.5f * speed + 0.5f * GetTargetSpeed();
    }
    speed = std::clamp(speed, GetMinSpeed(), GetMaxSpeed());
    speedUp.active = false;
    slowDown.active = false;
}

void BallManager::SpeedUp() {
    speedUp = SpeedBonus{true, 0, 0};
}

void BallManager::SlowDown() {
    slowDown = SpeedBonus{true, 0, 0};
}

float BallManager::AdvanceBonus(SpeedBonus& bonus, float dt) const {
    const float before = bonus.amount;
    bonus.time += dt;
    if (bonus.time < bonusHold) {
        bonus.amount = std::min(bonus.amount + bonusChange * dt, bonusChange);
    } else {
        bonus.amount = std::max(bonus.amount - bonusChange * dt, 0.0f);
        if (bonus.amount < 0.0001f)
            bonus.active = false;
    }
    return bonus.amount - before;
}

Ball* BallManager::AddBall(int type) {
    Ball* chosen = nullptr;
    for (Ball* ball : pool)
        if (!ball->IsActive()) {
            chosen = ball;
            activeBalls.push_back(ball);
            break;
        }
    if (chosen == nullptr) {
        // Every ball is in play: one of the type is pulled back onto the bat, keeping its place in the list.
        for (Ball* ball : pool)
            if (ball->GetType() == type) {
                chosen = ball;
                break;
            }
        if (chosen == nullptr)
            chosen = pool.front();
    }
    chosen->Activate(bat, type);
    return chosen;
}

void BallManager::RemoveBall(size_t index) {
    if (index >= activeBalls.size())
        return;
    activeBalls[index]->Deactivate();
    activeBalls.erase(activeBalls.begin() + static_cast<std::ptrdiff_t>(index));
}

bool BallManager::HasHeldBall() const {
    return std::any_of(activeBalls.begin(), activeBalls.end(),
                       [](const Ball* ball) { return ball->IsHeld(); });
}

void BallManager::SetPaused(bool value) {
    paused = value;
    for (Ball* ball : activeBalls)
        ball->SetPaused(value);
}

void BallManager::MakeSuperBalls() {
    for (Ball* ball : activeBalls)
        ball->SetType(Ball::TypeSuper);
}

void BallManager::SplitBalls() {
    const float angleStep = 2 * pi / 3;
    const size_t present = activeBalls.size();
    for (size_t i = 0; i < present && i < activeBalls.size(); ++i) {
        Ball* source = activeBalls[i];
        const int type = source->GetType();
        const bool held = source->IsHeld();
        const Vec2 at = source->GetPosition();
        Vec2 base = source->GetDirection();
        Ball* first = AddBall(type);
        Ball* second = AddBall(type);
        if (held) {
            // A ball on the bat has no direction of its own yet; the new ones fly off somewhere upwards.
            const float x = RandomSigned();
            base = Vec2(x, RandomFloat() + 0.1f).Normalized();
        }
        Ball* added[2] = {first, second == first ? nullptr : second};
        for (int k = 0; k < 2; ++k) {
            Ball* ball = added[k];
            if (ball == nullptr)
                continue;
            ball->Launch();
            ball->SetPosition(at);
            ball->SetDirection(Rotate(base, static_cast<float>(k + 1) * angleStep));
            ball->Update(1);
        }
        if (activeBalls.size() >= static_cast<size_t>(SplitLimit))
            break;
    }
}

Vec2 BallManager::ComputeReflection(const Vec2& position, const Plane& plane, const Vec2& direction) {
    const Ray ray(Vec3(position.x, position.y, 0), Vec3(direction.x, direction.y, 0));
    float t = 0;
    if (!plane.IntersectRay(ray, t))
        return Vec2(plane.GetNormal().x, plane.GetNormal().y);
    const Vec3 crossing = ray.origin + ray.direction * t;
    const Vec3 beyond = ray.origin + ray.direction * (2 * t);
    const float c = plane.DistanceTo(ray.origin);
    const Vec3 mirrored = beyond + plane.GetNormal() * (2 * c) - crossing;
    return Vec2(mirrored.x, mirrored.y);
}

Vec2 BallManager::Deflect(const Vec2& d, const Vec2& n) {
    const Vec2 back = -d;
    const float theta = std::acos(std::clamp(n.Dot(back), -0.9999f, 0.9999f));
    float extra = pi / 60 + (pi / 20 - pi / 60) * (1 - std::fabs(theta - pi / 2) / (pi / 2));
    if (theta > pi / 2)
        extra = -extra;
    const Vec2 a = Rotate(back, theta);
    const Vec2 b = Rotate(back, -theta);
    float turn = 0;
    if (NearlyEqual(n, a))
        turn = theta + extra;
    else if (NearlyEqual(n, b))
        turn = -theta - extra;
    else if (Manhattan(n, a) < Manhattan(n, b))
        turn = theta + extra;
    else
        turn = -theta - extra;
    return Rotate(back, turn);
}

void BallManager::PlayHitEffect(const Ball& ball, const Vec3& point) {
    const std::vector<ParticleSystem*>& list = GetHitEffects(ball.GetType());
    if (list.empty())
        return;
    ParticleSystem* effect = nullptr;
    for (ParticleSystem* candidate : list)
        if (!candidate->active) {
            effect = candidate;
            break;
        }
    if (effect == nullptr) {
        // Every one is playing: the oldest is taken over, searched from a random start.
        effect = list[RandomInt(static_cast<uint32_t>(list.size()))];
        for (ParticleSystem* candidate : list)
            if (candidate->emitterTime > effect->emitterTime)
                effect = candidate;
    }
    effect->emitterPosition = point;
    if (Model* model = effect->GetModel()) {
        const Camera* camera = model->GetCamera() != nullptr ? model->GetCamera()
                                                             : CameraManager::Instance()->GetDefaultCamera();
        model->sortDepth = -0.3f - 0.0005f * (camera->position - point).Length();
    }
    effect->SetVisible(true);
    effect->KillParticles();
    effect->emitterTime = 0;
    effect->active = true;
}

void BallManager::RegisterColliders() {
    physics->ClearObjects();
    const BoundingBox* batBoxes[2] = {&bat->GetHeadBox(), &bat->GetBodyBox()};
    for (int i = 0; i < 2; ++i) {
        const Vec3& low = batBoxes[i]->GetWorldMin();
        const Vec3& high = batBoxes[i]->GetWorldMax();
        physics->AddStaticBox(BoundingBox::FromMinMax(Vec3(low.x, low.y - batBoxDrop, -1000),
                                                      Vec3(high.x, high.y - batBoxDrop, 1000)),
                              i == 0 ? IdBatHead : IdBatBody);
    }
    if (barrier != nullptr && barrier->GetSegmentCount() > 0) {
        const BoundingBox& box = barrier->GetBox();
        physics->AddStaticBox(BoundingBox::FromMinMax(Vec3(-1000, box.GetWorldMin().y, -1000),
                                                      Vec3(1000, box.GetWorldMax().y, 1000)),
                              IdBarrier);
    }
    const std::vector<Block*>& blocks = geometry->GetBlocks();
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Block* block = blocks[i];
        // Only blocks standing on the field: a ball in the field's plane never reaches the ones on top.
        if (!block->IsAlive() || !block->GetBlocksBelow().empty())
            continue;
        const int id = IdFirstBlock + static_cast<int>(i);
        if (block->GetCollisionModel() != nullptr)
            physics->AddModelObject(block->GetCollisionModel(), block->GetWorld(), id);
        else
            physics->AddBoxObject(block->GetCollisionBox(), block->GetWorld(), id);
    }
}

void BallManager::MoveBall(Ball& ball) {
    if (ball.IsHeld())
        return;
    const Vec2 position = ball.GetPosition();
    const Vec2 direction = ball.GetDirection();
    const float r = ball.GetRadius();
    // A rising ball passes through the bat and the barrier.
    const bool rising = direction.y > 0;
    if (rising) {
        ignoredIds.push_back(IdBatHead);
        ignoredIds.push_back(IdBatBody);
        ignoredIds.push_back(IdBarrier);
    }
    Vec2 next;
    Plane plane;
    int id = -1;
    const bool hit =
        physics->Sweep(r, Vec3(position.x, position.y, r), ball.GetStep(), ignoredIds, next, plane, id);
    if (rising) {
        RemoveOne(ignoredIds, IdBatHead);
        RemoveOne(ignoredIds, IdBatBody);
        RemoveOne(ignoredIds, IdBarrier);
    }
    Vec2 bounce(0, 1);
    bool deflect = true;
    if (hit) {
        Vec3 effectPoint = plane.ProjectPoint(Vec3(next.x, next.y, 0));
        bounce = ComputeReflection(position, plane, direction).Normalized();
        if (id == IdBatHead) {
            PlayHitEffect(ball, effectPoint);
            deflect = false;
            bounce = bat->GetBounceDirection(next);
            bat->Recoil();
            PlaySound(SoundHitBat);
        } else if (id == IdBarrier) {
            PlayHitEffect(ball, effectPoint);
            PlaySound(SoundHitBarrier);
            barrier->Hit();
            if (barrier->GetSegmentCount() <= 0)
                ignoredIds.push_back(IdBarrier);
            deflect = false;
        } else if (id >= IdFirstBlock) {
            const std::vector<Block*>& blocks = geometry->GetBlocks();
            const size_t index = static_cast<size_t>(id - IdFirstBlock);
            if (index < blocks.size()) {
                Block* block = blocks[index];
                block->Hit(ball.GetType(), true);
                const int kind = geometry->GetBlockKind(block);
                if (!block->IsAlive()) {
                    ignoredIds.push_back(id);
                    const uint32_t counted = geometry->GetCountedBlocksAtStart();
                    // Over a whole level the kills raise the speed most of the way to the maximum.
                    if (counted > 0) {
                        const float target = GetTargetSpeed();
                        speed += (killShare * GetMaxSpeed() + (1 - killShare) * target - target) /
                                 static_cast<float>(counted);
                    }
                }
                effectPoint.z = block->GetModelBox().GetCentre().z;
                PlayHitEffect(ball, effectPoint);
                if (kind == GameGeometry::KindBallKeeper)
                    if (Ball* released = static_cast<BallKeeper*>(block)->GetReleasedBall())
                        released->SetDirection(direction);
            }
        }
    } else {
        // No collider met: the field's walls, each tested on its own; the last one met reflects.
        bool wall = false;
        Plane wallPlane;
        if (next.x - r < leftLimit) {
            wallPlane.FromNormalAndPoint(Vec3(1, 0, 0), Vec3(leftLimit, 0, 0));
            next.x = leftLimit + r;
            wall = true;
        }
        if (next.x + r > rightLimit) {
            wallPlane.FromNormalAndPoint(Vec3(-1, 0, 0), Vec3(rightLimit, 0, 0));
            next.x = rightLimit - r;
            wall = true;
        }
        if (next.y + r > topLimit) {
            wallPlane.FromNormalAndPoint(Vec3(0, -1, 0), Vec3(0, topLimit, 0));
            next.y = topLimit - r;
            wall = true;
        }
        if (!wall)
            return;
        bounce = ComputeReflection(position, wallPlane, direction).Normalized();
        PlayHitEffect(ball, wallPlane.ProjectPoint(Vec3(next.x, next.y, 0)));
        PlaySound(ball.GetType() == Ball::TypeSuper ? SoundHitFieldSuper : SoundHitFieldSimple);
    }
    ball.SetPosition(next);
    bounce.Normalize();
    if (deflect)
        bounce = Deflect(direction, bounce);
    ball.SetDirection(bounce);
}

void BallManager::Update(int lives, float fade) {
    difficulty = lives;
    if (paused) {
        for (Ball* ball : activeBalls)
            if (ball->IsHeld())
                ball->Update(fade);
        return;
    }
    for (size_t i = 0; i < activeBalls.size();) {
        const Ball* ball = activeBalls[i];
        if (!ball->IsHeld() && ball->GetPosition().y + ball->GetRadius() < LostLine) {
            RemoveBall(i);
            PlaySound(SoundBallLost);
        } else {
            ++i;
        }
    }
    if (!activeBalls.empty()) {
        const BoundingBox& fieldBox = field->GetFieldBox();
        const bool inside = std::any_of(activeBalls.begin(), activeBalls.end(), [&](const Ball* ball) {
            return ball->GetBox().Intersects(fieldBox);
        });
        if (!inside) {
            // Balls that slipped out of the field sideways or over the top: one new ball on the bat, no loss.
            const int type = activeBalls.front()->GetType();
            while (!activeBalls.empty())
                RemoveBall(activeBalls.size() - 1);
            AddBall(type);
        }
    }
    ballInPlay =
        std::any_of(activeBalls.begin(), activeBalls.end(), [](const Ball* ball) { return !ball->IsHeld(); });
    if (ballInPlay) {
        const float dt = TimerManager::Instance()->frameTime;
        if (speedUp.active)
            speed += AdvanceBonus(speedUp, dt);
        if (slowDown.active)
            speed -= AdvanceBonus(slowDown, dt);
        speed = std::clamp(speed, GetMinSpeed(), GetMaxSpeed());
    }
    for (Ball* ball : activeBalls)
        ball->SetSpeed(speed);
    if (launchRequested) {
        for (Ball* ball : activeBalls)
            if (ball->IsHeld()) {
                ball->Launch();
                break;
            }
        launchRequested = false;
    }
    RegisterColliders();
    ignoredIds.clear();
    ignoredIds.push_back(IdBatBody);
    // By index: a ball keeper hit during the walk adds its ball, which moves in the same walk.
    for (size_t i = 0; i < activeBalls.size(); ++i) {
        Ball& ball = *activeBalls[i];
        MoveBall(ball);
        ball.Update(fade);
    }
    physics->ClearObjects();
    ignoredIds.clear();
    for (std::vector<ParticleSystem*>* list : {&simpleHitEffects, &superHitEffects})
        for (ParticleSystem* effect : *list)
            if (effect->IsVisible() && !effect->active)
                effect->SetVisible(false);
}

} // namespace VelmoraBall
