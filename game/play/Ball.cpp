#include "game/play/Ball.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Random.h"
#include "game/play/Bat.h"
#include "game/play/Effects.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"

#include <algorithm>
#include <numbers>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

const BoundingBox emptyBox;
const char* const modelNames[2] = {"balls/simple/model", "balls/super/model"};
const char* const trailNames[2] = {"balls/simple/train", "balls/super/train"};

// Draws particles in front of what they sit on, nearer ones in front of farther ones.
void SetDepthByDistance(ParticleSystem* system) {
    Model* model = system->GetModel();
    if (model == nullptr)
        return;
    const Camera* camera =
        model->GetCamera() != nullptr ? model->GetCamera() : CameraManager::Instance()->GetDefaultCamera();
    model->sortDepth = -0.3f - 0.0005f * (camera->position - system->emitterPosition).Length();
}

} // namespace

Ball::Ball(GameTools::DataKeeper* dataKeeper, Effects* ballEffects, SpriteGroup* flares)
    : keeper(dataKeeper), effects(ballEffects), flareGroup(flares) {
    ModelManager* modelManager = ModelManager::Instance();
    ParticleSystemManager* systems = ParticleSystemManager::Instance();
    for (int i = 0; i < 2; ++i) {
        Model* model = modelManager->CreateModelCopy(*keeper->GetModel(modelNames[i]), nullptr, 0);
        models[i] = model;
        shadows[i] = effects->CreateShadow(model, true);
        model->baseTransform = model->transform;
        model->ClearFlags(ModelVisible);
        const Vec3& half = model->box.GetHalfSize();
        radii[i] = std::min(half.x, std::min(half.y, half.z));
        shadows[i]->SetVisible(false);
    }
    for (int i = 0; i < 2; ++i) {
        ParticleSystem* trail = systems->CreateParticleSystemCopy(*keeper->GetParticleSystem(trailNames[i]));
        trail->looping = true;
        if (Model* trailModel = trail->GetModel())
            trailModel->SetFlags(ModelFixedSortDepth);
        trail->SetVisible(false);
        trails[i] = trail;
    }
}

Ball::~Ball() {
    if (ModelManager* modelManager = ModelManager::Instance())
        for (Model*& model : models) {
            modelManager->DeleteModel(model);
            model = nullptr;
        }
    if (flareSprite != nullptr)
        flareGroup->RemoveSprite(flareSpriteId);
    if (effects != nullptr)
        for (Shadow*& shadow : shadows) {
            effects->RemoveShadowOf(shadow);
            shadow = nullptr;
        }
    if (ParticleSystemManager* systems = ParticleSystemManager::Instance())
        for (ParticleSystem*& trail : trails) {
            systems->Release(trail);
            trail = nullptr;
        }
}

void Ball::Activate(Bat* bat, int newType) {
    Deactivate();
    holder = bat;
    if (holder != nullptr) {
        BoundingBox head = holder->GetHeadBox();
        head.SetTransform(Matrix4::Identity());
        heldOffset = head.GetWorldMax().y;
    }
    for (Model* model : models) {
        if (model == nullptr)
            continue;
        model->transform = Matrix4::Identity();
        model->box.SetTransform(model->transform);
        model->baseTransform = Matrix4::Identity();
    }
    if (flareGroup != nullptr) {
        flareSpriteId = flareGroup->AddSprite(Vec3(0, 0, 0), 2, Vec4(1, 1, 1, 1));
        // A full group leaves the ball without a flare rather than sharing one.
        flareSprite =
            flareSpriteId != SpriteGroup::noSprite ? &flareGroup->GetSprite(flareSpriteId) : nullptr;
    }
    SetType(newType);
    if (currentTrail != nullptr) {
        currentTrail->emitterTime = 0;
        currentTrail->SetVisible(true);
    }
    position = Vec2(0, 0);
    direction = Vec2(1, 0);
    step = Vec2(0, 0);
    if (holder != nullptr)
        position = FollowHolder();
    active = true;
    paused = false;
    PlaceModels(RandomFloatRange(0, 10));
}

bool Ball::StopCurrentTrail() {
    if (currentTrail == nullptr)
        return false;
    const bool wasPlaying = currentTrail->active;
    currentTrail->active = false;
    currentTrail->emitterTime = 0;
    currentTrail->SetVisible(false);
    return wasPlaying;
}

void Ball::Deactivate() {
    for (int i = 0; i < 2; ++i) {
        if (models[i] != nullptr)
            models[i]->ClearFlags(ModelVisible);
        if (shadows[i] != nullptr)
            shadows[i]->SetVisible(false);
    }
    if (flareSprite != nullptr) {
        flareGroup->RemoveSprite(flareSpriteId);
        flareSprite = nullptr;
        flareSpriteId = SpriteGroup::noSprite;
    }
    StopCurrentTrail();
    holder = nullptr;
    active = false;
    paused = false;
}

void Ball::Launch() {
    if (holder != nullptr)
        direction = holder->GetBounceDirection(position);
    holder = nullptr;
    if (currentTrail != nullptr)
        currentTrail->active = true;
}

void Ball::Update(float fade) {
    if (!active)
        return;
    const float dt = TimerManager::Instance()->frameTime * fade;
    float rolled = 0;
    if (holder != nullptr) {
        position = FollowHolder();
    } else {
        step = direction * (speed * dt);
        position += step;
        rolled = speed * dt;
    }
    PlaceModels(rolled);
}

Vec2 Ball::FollowHolder() const {
    if (holder == nullptr)
        return position;
    const BoundingBox& head = holder->GetHeadBox();
    const float x = head.GetCentre().x + 0.3f * head.GetHalfSize().x;
    const Vec3 top = head.GetTransform().MultiplyPoint(Vec3(0, heldOffset, 0));
    const float y = top.y + GetRadius() - (type == TypeSuper ? 3.0f : 2.0f);
    return Vec2(x, y);
}

void Ball::PlaceModels(float rolled) {
    const float r = GetRadius();
    // Rolling without slipping on a circle of twice the radius, about the horizontal axis across the path.
    const Vec3 axis(direction.y, -direction.x, 0);
    const float angle = -rolled / (2 * r);
    const bool turns = axis.Length() > 0.0001f && angle != 0;
    for (int i = 0; i < 2; ++i) {
        Model* model = models[i];
        if (model == nullptr)
            continue;
        if (turns) {
            model->transform = Matrix4::RotationAxis(axis, angle).Multiply(model->baseTransform);
            model->box.SetTransform(model->transform);
            model->baseTransform = model->transform;
        }
        model->transform =
            Matrix4::Translation(Vec3(position.x, position.y, radii[i])).Multiply(model->baseTransform);
        model->box.SetTransform(model->transform);
        if (flareSprite != nullptr)
            flareSprite->position = Vec3(position.x, position.y, radii[i]) + Vec3(-r, r, r) * 0.15f;
    }
    if (currentTrail != nullptr) {
        currentTrail->emitterPosition = GetBox().GetCentre();
        SetDepthByDistance(currentTrail);
    }
}

void Ball::SetType(int newType) {
    type = newType == TypeSuper ? TypeSuper : TypeSimple;
    for (int i = 0; i < 2; ++i) {
        const bool shown = i == type;
        if (models[i] != nullptr) {
            if (shown)
                models[i]->SetFlags(ModelVisible);
            else
                models[i]->ClearFlags(ModelVisible);
        }
        if (shadows[i] != nullptr)
            shadows[i]->SetVisible(shown);
    }
    ParticleSystem* next = trails[type];
    if (currentTrail != nullptr && currentTrail->active && currentTrail == next)
        return;
    const bool wasPlaying = StopCurrentTrail();
    currentTrail = next;
    if (currentTrail == nullptr)
        return;
    currentTrail->SetVisible(true);
    if (wasPlaying) {
        // The new look's trail takes over at once, without the old one's particles.
        currentTrail->KillParticles();
        currentTrail->active = true;
        currentTrail->emitterTime = 0;
    }
}

void Ball::SetPaused(bool value) {
    paused = value;
    if (currentTrail == nullptr)
        return;
    if (paused)
        currentTrail->active = false;
    else if (active && holder == nullptr)
        currentTrail->active = true;
}

const BoundingBox& Ball::GetBox() const {
    return models[type] != nullptr ? models[type]->box : emptyBox;
}

} // namespace VelmoraBall
