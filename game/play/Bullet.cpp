#include "game/play/Bullet.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "framework/AudioPlayer.h"
#include "game/play/AnimationRange.h"
#include "game/play/Block.h"
#include "game/play/Effects.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/Gun.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"

#include <algorithm>
#include <string>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

ParticleSystem* CopyParticles(GameTools::DataKeeper* keeper, const std::string& name, bool looping) {
    ParticleSystem* system =
        ParticleSystemManager::Instance()->CreateParticleSystemCopy(*keeper->GetParticleSystem(name));
    system->looping = looping;
    system->SetVisible(false);
    if (Model* systemModel = system->GetModel())
        systemModel->SetFlags(ModelFixedSortDepth);
    return system;
}

// Particles nearer the camera sort in front of farther ones.
void SortByDistance(ParticleSystem& system, const Vec3& at) {
    Model* systemModel = system.GetModel();
    if (systemModel == nullptr)
        return;
    const Camera* camera = systemModel->GetCamera() != nullptr
                               ? systemModel->GetCamera()
                               : CameraManager::Instance()->GetDefaultCamera();
    systemModel->sortDepth = -0.3f - 0.0005f * (camera->position - at).Length();
}

void Restart(ParticleSystem& system) {
    system.emitterTime = 0;
    system.active = true;
    system.SetVisible(true);
}

} // namespace

Bullet::Bullet(GameTools::DataKeeper* keeper, GameLogic* logic, Effects* bulletEffects, GameField* levelField,
               GameGeometry* blocks, GameFramework::AudioPlayer* player, Bat* levelBat, int bulletKind)
    : levelLogic(logic), effects(bulletEffects), field(levelField), geometry(blocks), audioPlayer(player),
      bat(levelBat), kind(bulletKind) {
    const GunKind& info = Gun::GetKind(kind);
    const std::string prefix = std::string("guns/") + info.word;
    model = ModelManager::Instance()->CreateModelCopy(*keeper->GetModel(prefix + "/bullet"), nullptr, 0);
    model->ClearFlags(ModelVisible);
    model->animationControl->loop = false;
    // The flying bolt keeps the pose a loaded one ends its animation in.
    JumpToRangeEnd(*model->animationControl);
    shadow = effects->CreateShadow(model, true);
    shadow->SetVisible(false);
    trail = CopyParticles(keeper, prefix + "/bullet_train", true);
    destruction = CopyParticles(keeper, prefix + "/bullet_destruction", false);
    minimumSpeed = info.minimumSpeed;
    startFactor = info.startFactor;
    fieldSound = info.fieldSound;
    pierces = info.pierces;
}

Bullet::~Bullet() {
    effects->RemoveShadowOf(shadow);
    if (ParticleSystemManager* systems = ParticleSystemManager::Instance()) {
        systems->Release(destruction);
        systems->Release(trail);
    }
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
}

const BoundingBox& Bullet::GetBox() const {
    return model->box;
}

void Bullet::Launch(const Matrix4& matrix) {
    launchMatrix = matrix;
    direction = (matrix.MultiplyPoint(Vec3(0, 1, 0)) - matrix.MultiplyPoint(Vec3(0, 0, 0))).Normalized();
    model->transform = Matrix4();
    model->baseTransform = Matrix4();
    model->box.SetTransform(model->transform);
    model->SetFlags(ModelVisible);
    shadow->SetVisible(true);
    if (trail != nullptr) {
        Restart(*trail);
        trailOffset = -direction * (0.85f * model->box.GetHalfSize().y);
    }
    position = Vec3(0, 0, 0);
    speed = minimumSpeed * startFactor;
    active = true;
    finishing = false;
    paused = false;
    UpdateTransform();
}

void Bullet::UpdateTransform() {
    model->transform = model->baseTransform;
    model->box.SetTransform(model->transform);
    model->transform = launchMatrix.Multiply(Matrix4::Translation(position)).Multiply(model->baseTransform);
    model->box.SetTransform(model->transform);
    if (trail != nullptr) {
        trail->emitterPosition = model->box.GetCentre() + trailOffset;
        SortByDistance(*trail, trail->emitterPosition);
    }
}

void Bullet::Update(float fade) {
    if (!active)
        return;
    if (finishing) {
        auto done = [](const ParticleSystem* system) { return system->liveParticles == 0; };
        if (trail != nullptr && trail->IsVisible()) {
            if (done(trail))
                trail->SetVisible(false);
        } else if (destruction != nullptr && destruction->IsVisible()) {
            if (done(destruction))
                destruction->SetVisible(false);
        } else {
            active = false;
            finishing = false;
            model->ClearFlags(ModelVisible);
        }
        return;
    }

    const float a = TimerManager::Instance()->frameTime * fade;
    const float step = speed * a;
    position.y += step;
    speed = std::max(speed - speed * 1.5f * a, minimumSpeed);

    float dz = -SinkSpeed * a;
    const float bottom = model->box.GetWorldMin().z;
    if (bottom + dz < FloorClearance)
        dz = FloorClearance - bottom;
    position.z += dz;

    // The ground the bolt covers this frame, from the floor up.
    Vec3 low = model->box.GetWorldMin();
    Vec3 high = model->box.GetWorldMax();
    low.z = 0;
    high.y += step;
    BoundingBox sweep;
    sweep.Set(low, high);

    // By index: a hit block may drop a bonus or release a ball while the list is walked.
    const std::vector<Block*>& blocks = geometry->GetBlocks();
    for (size_t i = 0; i < blocks.size() && !finishing; ++i) {
        Block* block = blocks[i];
        if (!block->IsAlive() || !block->GetBlocksBelow().empty() || !block->GetModelBox().Intersects(sweep))
            continue;
        block->Hit(Block::HitSuper, chain);
        if (!pierces)
            finishing = true;
    }
    if (!finishing) {
        low.z = -1000;
        high.z = 1000;
        sweep.Set(low, high);
        for (const FieldWall& wall : field->GetWalls())
            if (wall.worldBox.Intersects(sweep)) {
                finishing = true;
                audioPlayer->PlaySound(fieldSound);
                break;
            }
    }
    if (finishing)
        Finish();
    UpdateTransform();
}

void Bullet::Finish() {
    model->ClearFlags(ModelVisible);
    shadow->SetVisible(false);
    if (trail != nullptr)
        trail->active = false;
    if (destruction != nullptr) {
        destruction->emitterPosition = model->box.GetCentre();
        SortByDistance(*destruction, destruction->emitterPosition);
        Restart(*destruction);
    }
}

void Bullet::SetPaused(bool value) {
    paused = value;
    // Only a bolt in flight has a trail to stop or resume.
    if (trail != nullptr && active && !finishing)
        trail->active = !value;
}

} // namespace VelmoraBall
