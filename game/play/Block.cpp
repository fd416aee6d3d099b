#include "game/play/Block.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/math/Random.h"
#include "game/play/Effects.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLValue.h"

#include <algorithm>
#include <cmath>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr float cascadeStart = 0.0001f; // a creation delay below this starts a cascade
constexpr float restTolerance = 3.0f;   // tops and bottoms this close count as resting on each other

float Top(const Block& block) {
    return block.GetModelBox().GetWorldMax().z;
}

} // namespace

bool BlockAttribute(const BlockDescriptor& descriptor, const char* name, bool fallback) {
    GameTools::XMLValue* value = descriptor.type->GetAttribute(name, 0);
    return value != nullptr ? value->AsBool() : fallback;
}

Block::Block(GameTools::DataKeeper* particles, GameTools::DataKeeper* models, Effects* blockEffects,
             GameGeometry* blockGeometry, const BlockDescriptor* blockDescriptor)
    : particleKeeper(particles), modelKeeper(models), effects(blockEffects), geometry(blockGeometry),
      descriptor(blockDescriptor) {
    GameTools::XMLValue* typeName = descriptor->type->GetAttribute("name", 0);
    name = typeName != nullptr ? typeName->AsString() : std::string();
    model = ModelManager::Instance()->CreateModelCopy(*modelKeeper->GetModel("geometry/" + name + "/model"),
                                                      nullptr, 0);
    collisionBox = model->box;
    falls = (descriptor->flags & BlockDescriptor::FlagFixed) == 0;
    modelBox = &model->box;
    if (BlockAttribute(*descriptor, "collision_model", false))
        collisionModel = modelKeeper->GetModel("geometry/" + name + "/collision_model");
    scale = descriptor->scale;
    scaleMatrix = Matrix4::Scaling(scale);
    position = descriptor->keyFrames[0].position;
    rotation = descriptor->keyFrames[0].rotation;
    model->animationControl->loop = true;
    model->animationControl->SetRandomStartFrame();
    model->animationControl->Play();
    blocksBelow.reserve(8);
    blocksAbove.reserve(8);

    if (descriptor->material != nullptr) {
        model->ChangeShader(*descriptor->material);
        if ((descriptor->material->flags & ShaderFlagAlphaBlend) != 0) {
            model->SetFlags(ModelTwoPasses | ModelSecondList);
        } else if ((scale.x < 0 || scale.y < 0 || scale.z < 0) &&
                   (model->GetFlags() & ModelCullClockwise) != 0) {
            model->SetFlags(ModelCullCounterClockwise); // a mirrored block turns its winding round
        }
    }
    creationParticles = CopyParticles("blocks/creation");
    simpleDestructionParticles = CopyParticles("blocks/destruction_simple");
    superDestructionParticles = CopyParticles("blocks/destruction_super");
    alwaysDrawShadow = BlockAttribute(*descriptor, "always_draw_shadow", false);
    shadowEnabled = BlockAttribute(*descriptor, "shadow", true);
    shadow = effects->CreateShadow(model, !BlockAttribute(*descriptor, "fake_shadow", false));
}

Block::~Block() {
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
    for (ParticleSystem** held : {&creationParticles, &simpleDestructionParticles, &superDestructionParticles,
                                  &pendingDestructionParticles})
        ReleaseHeld(*held);
    effects->RemoveShadowOf(shadow);
}

ParticleSystem* Block::CopyParticles(const std::string& particleName) const {
    ParticleSystem* system = ParticleSystemManager::Instance()->CreateParticleSystemCopy(
        *particleKeeper->GetParticleSystem(particleName));
    system->looping = false;
    system->SetVisible(false);
    return system;
}

void Block::ReleaseHeld(ParticleSystem*& system) {
    if (system != nullptr)
        if (ParticleSystemManager* systems = ParticleSystemManager::Instance())
            systems->Release(system);
    system = nullptr;
}

void Block::UpdateTransform() {
    translation = Matrix4::Translation(position);
    rotationMatrix = rotation.ToMatrix();
    world = translation.Multiply(rotationMatrix.Multiply(scaleMatrix));
    model->transform = world;
    model->box.SetTransform(world);
}

float Block::GetSupportHeight() const {
    float support = 0;
    for (const Block* below : blocksBelow)
        support = std::max(support, below->GetSupportHeight() + 2.0f * below->modelBox->GetHalfSize().z);
    return support;
}

void Block::StartCreation() {
    restHeight = height = GetSupportHeight();
    alive = true;
    ScheduleCreation(0);
}

void Block::ScheduleCreation(float delay) {
    if (creationScheduled)
        return;
    if (delay < cascadeStart && !blocksBelow.empty())
        return; // stacked blocks are reached through their supports
    SetVisible(false);
    creationScheduled = true;
    creationDelay = delay + RandomFloatRange(0.15f, 0.35f);
    for (Block* above : blocksAbove)
        above->ScheduleCreation(creationDelay);
}

void Block::ScheduleDestruction(const Vec3& centre) {
    if (destructionScheduled)
        return;
    destructionScheduled = true;
    destructionDelay = RandomFloatRange(0.1f, 0.3f);
    explosionCentre = centre;
}

void Block::Update(uint32_t keyFrameA, uint32_t keyFrameB, float fraction) {
    const float dt = TimerManager::Instance()->frameTime;
    if (creationScheduled) {
        creationDelay -= dt;
        if (creationDelay <= 0) {
            creationScheduled = false;
            SetVisible(true);
            PlaceParticleSystem(creationParticles);
            effects->ReleaseParticleSystem(creationParticles);
            creationParticles = nullptr;
        }
    }
    if (destructionScheduled) {
        destructionDelay -= dt;
        if (destructionDelay < 0)
            Hit(HitSuper, false);
    }
    float offset = 0;
    if (falls) {
        verticalSpeed -= 100.0f * dt;
        height += verticalSpeed * dt;
        const float support = GetSupportHeight();
        if (support > height) {
            height = support;
            verticalSpeed = 0;
        }
        offset = height - restHeight;
    }
    const std::vector<BlockKeyFrame>& frames = descriptor->keyFrames;
    if (frames.size() <= 1) {
        position = frames[0].position;
        rotation = frames[0].rotation;
    } else {
        const size_t a = std::min<size_t>(keyFrameA, frames.size() - 1);
        const size_t b = std::min<size_t>(keyFrameB, frames.size() - 1);
        position = frames[a].position.Lerp(frames[b].position, fraction);
        rotation = Quaternion::Lerp(frames[a].rotation, frames[b].rotation, fraction);
    }
    position.z += offset;
    UpdateTransform();
    if (shadow != nullptr)
        shadow->SetVisible(shadowEnabled && (model->GetFlags() & ModelVisible) != 0 &&
                           (blocksBelow.empty() || alwaysDrawShadow));
}

void Block::StartFalling() {
    verticalSpeed = 0.8f * GetSupportHeight() + 20.0f;
    for (Block* above : blocksAbove) {
        const float bottom = above->modelBox->GetWorldMin().z;
        const Block* other = nullptr;
        for (const Block* candidate : above->blocksBelow)
            if (candidate != this && std::fabs(Top(*candidate) - bottom) <= restTolerance) {
                other = candidate;
                break;
            }
        if (other == nullptr || std::fabs(Top(*other) - Top(*this)) <= restTolerance)
            above->StartFalling();
    }
}

void Block::SetVisible(bool shown) {
    if (shown)
        model->SetFlags(ModelVisible);
    else
        model->ClearFlags(ModelVisible);
    if (shadow != nullptr)
        shadow->SetVisible(shown);
}

void Block::AddBlockAbove(Block* block) {
    if (std::find(blocksAbove.begin(), blocksAbove.end(), block) == blocksAbove.end())
        blocksAbove.push_back(block);
}

void Block::AddBlockBelow(Block* block) {
    if (std::find(blocksBelow.begin(), blocksBelow.end(), block) == blocksBelow.end())
        blocksBelow.push_back(block);
}

void Block::RemoveBlockBelow(Block* dead) {
    const auto found = std::find(blocksBelow.begin(), blocksBelow.end(), dead);
    if (found == blocksBelow.end())
        return;
    blocksBelow.erase(found);
    for (Block* inherited : dead->blocksBelow)
        if (inherited != this)
            AddBlockBelow(inherited);
}

void Block::RemoveBlockAbove(Block* dead) {
    const auto found = std::find(blocksAbove.begin(), blocksAbove.end(), dead);
    if (found == blocksAbove.end())
        return;
    blocksAbove.erase(found);
    for (Block* inherited : dead->blocksAbove)
        if (inherited != this)
            AddBlockAbove(inherited);
}

void Block::Hit(int kind, bool chain) {
    if (pendingDestructionParticles == nullptr) {
        if (kind == HitSimple)
            std::swap(pendingDestructionParticles, simpleDestructionParticles);
        else if (kind == HitSuper)
            std::swap(pendingDestructionParticles, superDestructionParticles);
    }
    if (pendingDestructionParticles != nullptr) {
        PlaceParticleSystem(pendingDestructionParticles);
        effects->ReleaseParticleSystem(pendingDestructionParticles);
        pendingDestructionParticles = nullptr;
    }
    if (!alive)
        return;
    if (falls)
        for (Block* above : blocksAbove)
            above->StartFalling();
    alive = false;
    if (kind == HitSuper && chain)
        ExplodeNeighbours();
}

void Block::ExplodeNeighbours() {
    const BoundingBox blast = modelBox->Scaled(1.21f);
    for (Block* block : geometry->GetBlocks())
        if (block->alive && block->modelBox->Scaled(1.35f).Intersects(blast))
            block->ScheduleDestruction(modelBox->GetCentre());
}

void Block::PlaceParticleSystem(ParticleSystem* system) const {
    if (system == nullptr)
        return;
    if (system->emissionShape == 1)
        system->emissionBox = *modelBox;
    else
        system->emitterPosition = modelBox->GetCentre();
    Model* systemModel = system->GetModel();
    if (systemModel == nullptr)
        return;
    const Camera* camera = systemModel->GetCamera() != nullptr
                               ? systemModel->GetCamera()
                               : CameraManager::Instance()->GetDefaultCamera();
    // Nearer blocks' particles sort in front of farther ones.
    const Vec3 viewAxis = (-camera->backAxis).Normalized();
    const float d = (camera->position - modelBox->GetCentre()).Dot(viewAxis);
    systemModel->SetFlags(ModelFixedSortDepth);
    systemModel->sortDepth = -0.3f - 0.0005f * d;
}

} // namespace VelmoraBall
