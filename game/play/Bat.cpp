#include "game/play/Bat.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/gui/GUIManager.h"
#include "framework/AudioPlayer.h"
#include "game/play/Effects.h"
#include "game/play/Explosion.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr float pi = std::numbers::pi_v<float>;

// Debris of the bat: light pieces that land on a low floor and vanish soon, never shrunk.
constexpr FragmentSettings headAndBodyDebris{1.0f, 0.8f, 100.0f, 0.5f, 1.0f};
constexpr FragmentSettings screwDebris{1.0f, 1.1f, 100.0f, 0.5f, 1.0f};

// Moves the value towards zero by its own fraction; a step that would cross zero ends at zero.
float Damp(float value, float rate, float dt) {
    const float damped = value - value * rate * dt;
    return (damped > 0) != (value > 0) ? 0.0f : damped;
}

void Place(Model& model, const Matrix4& matrix) {
    model.transform = matrix;
    model.box.SetTransform(model.transform);
}

} // namespace

Bat::Bat(GameTools::DataKeeper* batKeeper, Effects* batEffects, Barrier* levelBarrier,
         GameFramework::AudioPlayer* player)
    : keeper(batKeeper), effects(batEffects), barrier(levelBarrier), audioPlayer(player) {
    ModelManager* models = ModelManager::Instance();
    head = models->CreateModelCopy(*keeper->GetModel("bat/head"), nullptr, 0);
    body = models->CreateModelCopy(*keeper->GetModel("bat/body"), nullptr, 0);
    screw = models->CreateModelCopy(*keeper->GetModel("bat/screw"), nullptr, 0);
    Assemble();

    destructionParticles = ParticleSystemManager::Instance()->CreateParticleSystemCopy(
        *keeper->GetParticleSystem("bat/destruction"));
    destructionParticles->looping = false;
    destructionParticles->SetVisible(false);
    headShadow = effects->CreateShadow(head, true);
    bodyShadow = effects->CreateShadow(body, true);

    // The bat's length is the head's frame, set by the bat itself.
    head->animationControl->loop = false;
    head->animationControl->speed = 0;

    headExplosion = new Explosion(keeper, effects, "bat/fragments/head", 7, true, headAndBodyDebris);
    bodyExplosion = new Explosion(keeper, effects, "bat/fragments/body", 35, true, headAndBodyDebris);
    screwExplosion = new Explosion(keeper, effects, "bat/fragments/screw", 1, true, screwDebris);

    waiting = true;
    startDelay = StartDelay;
    paused = false;
    Reset();
}

Bat::~Bat() {
    delete screwExplosion;
    delete bodyExplosion;
    delete headExplosion;
    effects->RemoveShadowOf(bodyShadow);
    effects->RemoveShadowOf(headShadow);
    if (ParticleSystemManager* systems = ParticleSystemManager::Instance())
        systems->Release(destructionParticles);
    if (ModelManager* models = ModelManager::Instance()) {
        models->DeleteModel(screw);
        models->DeleteModel(body);
        models->DeleteModel(head);
    }
}

// The parts keep their modelled places relative to each other: the head's centre x lies at the bat's x, the
// body stands on z = 0 and begins (its near edge) at the bat's y. Body and screw turn about their own
// centres.
void Bat::Assemble() {
    const Vec3 bodyCentre = body->box.GetCentre();
    const Vec3 bodyHalf = body->box.GetHalfSize();
    const Vec3 screwCentre = screw->box.GetCentre();
    const Vec3 headCentre = head->box.GetCentre();

    Place(*body, Matrix4::Translation(-bodyCentre).Multiply(body->transform));
    Place(*screw, Matrix4::Translation(-screwCentre).Multiply(screw->transform));
    Place(*head, Matrix4::Translation(Vec3(-bodyCentre.x, 0, 0)).Multiply(head->transform));

    headOffset = Vec3(bodyCentre.x - headCentre.x, bodyHalf.y - bodyCentre.y, bodyHalf.z - bodyCentre.z);
    bodyOffset = Vec3(bodyCentre.x - headCentre.x, bodyHalf.y, bodyHalf.z);
    screwOffset = Vec3(screwCentre.x - headCentre.x, screwCentre.y - bodyCentre.y + bodyHalf.y,
                       screwCentre.z - bodyCentre.z + bodyHalf.z);

    head->baseTransform = head->transform;
    body->baseTransform = body->transform;
    screw->baseTransform = screw->transform;
}

void Bat::Reset() {
    x = MouseRange / 2;
    sway = 0;
    recoilOffset = 0;
    recoilSpeed = 0;
    leanAngle = 0;
    leanSpeed = 0;
    screwAngle = 0;
    screwSpinRate = 0;
    targetSize = StartSize;
    size = StartSize;
    entrySpeed = 75;
    entryOffset = -EntryDistance;
    inPlay = false;
    SetVisible(true);
    UpdateTransform();
}

void Bat::UpdateTransform() {
    const Vec3 p(-MouseRange / 2 + x, BaseY + entryOffset, 0);
    Place(*head,
          Matrix4::Translation(p + Vec3(sway, recoilOffset, 0) + headOffset).Multiply(head->baseTransform));

    Place(*body, Matrix4::RotationY(leanAngle).Multiply(body->baseTransform));
    Place(*body, Matrix4::Translation(p + bodyOffset).Multiply(body->transform));

    Place(*screw, Matrix4::RotationZ(screwAngle).Multiply(screw->baseTransform));
    Place(*screw, Matrix4::RotationY(leanAngle).Multiply(screw->transform));
    Place(*screw, Matrix4::Translation(p + screwOffset).Multiply(screw->transform));

    bodyMatrix = body->transform;
    batBox = head->box;
    batBox.Merge(body->box);
}

void Bat::UpdateDestruction() {
    if (!IsDestroyed())
        return;
    if (inPlay) {
        headExplosion->Update();
        bodyExplosion->Update();
        screwExplosion->Update();
        if (!headExplosion->IsActive() && !bodyExplosion->IsActive() && !screwExplosion->IsActive())
            inPlay = false;
    }
    if (!inPlay && destructionParticles->IsVisible() && !destructionParticles->active &&
        destructionParticles->liveParticles == 0)
        destructionParticles->SetVisible(false);
}

void Bat::Update(float fade) {
    const float dt = TimerManager::Instance()->frameTime;
    const float oldX = x;

    UpdateDestruction();

    if (size < targetSize)
        size = std::min(size + SizeSpeed * dt, targetSize);
    else if (size > targetSize)
        size = std::max(size - SizeSpeed * dt, targetSize);
    size = std::clamp(size, 0.0f, MaximumSize);
    head->animationControl->position = size;

    if (fade > 0.0001f) {
        const GUIManager* gui = GUIManager::Instance();
        const float m = gui != nullptr ? gui->GetCursorPosition().x / GuiWidth * MouseRange : x;
        // The head never leaves the mouse range; a head wider than the range stays in the middle.
        const float h = std::min(head->box.GetHalfSize().x, MouseRange / 2);
        x = std::clamp(m, h, MouseRange - h);
    }

    const float d = x - oldX;
    sway = std::clamp(sway - d * 10.0f * dt, -2.5f, 2.5f);
    sway -= sway * 6.0f * dt;

    if (std::fabs(recoilSpeed) > 0.0001f) {
        recoilOffset += recoilSpeed * dt;
        if (recoilOffset > 0) {
            recoilOffset = 0;
            recoilSpeed = 0;
        } else if (recoilOffset < -RecoilDepth) {
            recoilOffset = -RecoilDepth;
            recoilSpeed = 6;
        }
    }

    leanSpeed = Damp(leanSpeed, 5.0f, dt);
    leanAngle = Damp(leanAngle, 5.0f, dt);
    leanSpeed = std::clamp(leanSpeed + d * 0.12f, -1.5f, 1.5f);
    leanAngle = std::clamp(leanAngle + leanSpeed * dt, -pi / 24, pi / 24);

    screwSpinRate -= screwSpinRate * dt;
    screwSpinRate = std::clamp(screwSpinRate + std::fabs(d) * 0.2f, 0.5f, 8.0f);
    // Kept within one turn so that hours of play lose no precision; the rotation is the same.
    screwAngle = std::fmod(screwAngle + screwSpinRate * dt, 2 * pi);

    if (entryOffset < -0.0001f && !paused) {
        if (waiting) {
            startDelay -= dt;
            if (startDelay <= 0) {
                waiting = false;
                inPlay = true;
            }
        } else {
            if (std::fabs(entryOffset + EntryDistance) < 0.0001f)
                audioPlayer->PlaySound(SoundCreation);
            entrySpeed = std::max(entrySpeed - 92.0f * dt, 6.0f);
            entryOffset += entrySpeed * dt;
            if (entryOffset > -0.0001f) {
                entryOffset = 0;
                inPlay = true;
            }
        }
    }

    UpdateTransform();
}

void Bat::Destroy() {
    audioPlayer->PlaySound(SoundDestruction);
    headExplosion->Start(*head, true);
    bodyExplosion->Start(*body, true);
    screwExplosion->Start(*screw, true);
    destructionParticles->emitterPosition = body->box.GetCentre();
    destructionParticles->emitterTime = 0;
    destructionParticles->active = true;
    destructionParticles->SetVisible(true);
    if (Model* particleModel = destructionParticles->GetModel())
        particleModel->sortDepth = -0.299f;
    headExplosion->Update();
    bodyExplosion->Update();
    screwExplosion->Update();
    SetVisible(false);
}

void Bat::Grow() {
    targetSize = std::min(targetSize + SizeStep, MaximumSize);
}

void Bat::Shrink() {
    targetSize = std::max(targetSize - SizeStep, 0.0f);
}

void Bat::Recoil() {
    recoilSpeed = -9;
}

Vec2 Bat::GetBounceDirection(const Vec2& position) const {
    const BoundingBox& box = head->box;
    const float width = 2 * box.GetHalfSize().x;
    // A head without width gives no side to bounce towards.
    const float t = width > 0 ? (position.x - box.GetCentre().x) / width : 0.0f;
    const float angle = t * 0.85f * pi / 2;
    return Vec2(std::sin(angle), std::cos(angle)).Normalized();
}

void Bat::SetVisible(bool visible) {
    for (Model* model : {head, body, screw}) {
        if (visible)
            model->SetFlags(ModelVisible);
        else
            model->ClearFlags(ModelVisible);
    }
    headShadow->SetVisible(visible);
    bodyShadow->SetVisible(visible);
}

const BoundingBox& Bat::GetHeadBox() const {
    return head->box;
}

const BoundingBox& Bat::GetBodyBox() const {
    return body->box;
}

bool Bat::IsDestroyed() const {
    return (head->GetFlags() & ModelVisible) == 0;
}

} // namespace VelmoraBall
