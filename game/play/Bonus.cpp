#include "game/play/Bonus.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/SpriteGroup.h"
#include "gametools/DataKeeper.h"

#include <numbers>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

const BoundingBox emptyBox;

} // namespace

Bonus::Bonus(GameTools::DataKeeper* keeper, Effects*, int bonusKind, Model* bonusModel, SpriteGroup* group,
             float size, const Vec4& colour)
    : flareGroup(group), kind(bonusKind), model(bonusModel), flareSize(size), flareColour(colour) {
    model->baseTransform = Matrix4();
    model->ClearFlags(ModelVisible);
    model->animationControl->loop = true;
    model->animationControl->Stop();
    catchParticles = ParticleSystemManager::Instance()->CreateParticleSystemCopy(
        *keeper->GetParticleSystem("bonuses/catch"));
    catchParticles->SetVisible(false);
    catchParticles->looping = false;
}

Bonus::~Bonus() {
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
    if (flareSprite != nullptr)
        flareGroup->RemoveSprite(flareSpriteId);
    if (ParticleSystemManager* systems = ParticleSystemManager::Instance())
        systems->Release(catchParticles);
}

void Bonus::Drop(const Vec2& at) {
    if (active)
        return;
    position = at;
    active = true;
    caught = false;
    // A full flare group gives no sprite: the bonus falls without a flare rather than share one.
    flareSpriteId = flareGroup->AddSprite(Vec3(0, 0, 0), flareSize, flareColour);
    flareSprite = flareSpriteId != SpriteGroup::noSprite ? &flareGroup->GetSprite(flareSpriteId) : nullptr;
    model->animationControl->Play();
    model->SetFlags(ModelVisible);
    UpdateTransform();
}

void Bonus::UpdateTransform() {
    model->transform = Matrix4::Translation(Vec3(position.x, position.y, 0)).Multiply(model->baseTransform);
    model->box.SetTransform(model->transform);
    // Flares of different bonuses never share a height.
    if (flareSprite != nullptr)
        flareSprite->position =
            Vec3(position.x, position.y, 0.2f + 0.01f * static_cast<float>(flareSpriteId));
}

void Bonus::Update(float fade) {
    if (!active)
        return;
    if (caught) {
        if (catchParticles == nullptr || (!catchParticles->active && catchParticles->liveParticles == 0)) {
            active = false;
            if (catchParticles != nullptr)
                catchParticles->SetVisible(false);
        }
        return;
    }
    const float a = TimerManager::Instance()->frameTime * fade;
    position.y -= FallSpeed * a;
    if (flareSprite != nullptr)
        flareSprite->rotation += std::numbers::pi_v<float> * a;
    UpdateTransform();
    if (position.y < FieldEnd)
        active = false;
}

void Bonus::Catch() {
    caught = true;
    model->ClearFlags(ModelVisible);
    if (flareSprite != nullptr) {
        flareGroup->RemoveSprite(flareSpriteId);
        flareSprite = nullptr;
    }
    catchParticles->emitterPosition = model->box.GetCentre();
    catchParticles->emitterTime = 0;
    catchParticles->active = true;
    catchParticles->SetVisible(true);
    if (Model* particleModel = catchParticles->GetModel())
        particleModel->sortDepth = -0.298f;
}

Model* Bonus::TakeModel() {
    Model* taken = model;
    model = nullptr;
    return taken;
}

const BoundingBox& Bonus::GetBox() const {
    return model != nullptr ? model->box : emptyBox;
}

} // namespace VelmoraBall
