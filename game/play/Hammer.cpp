#include "game/play/Hammer.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "framework/AudioPlayer.h"
#include "game/play/Block.h"
#include "game/play/GameGeometry.h"
#include "game/play/ScreenMapping.h"
#include "gametools/DataKeeper.h"

#include <numbers>

using namespace OrvexEngine;

namespace VelmoraBall {

Hammer::Hammer(GameFramework::AudioPlayer* player, GameTools::DataKeeper* hammerKeeper, GameGeometry* blocks,
               const GUIWindow* overlay)
    : audioPlayer(player), keeper(hammerKeeper), geometry(blocks) {
    GUIManager* gui = GUIManager::Instance();
    model = ModelManager::Instance()->CreateModelCopy(*keeper->GetModel("hammer/model"),
                                                      gui != nullptr ? gui->GetCamera() : nullptr, 0);
    model->ClearFlags(ModelLit);
    model->SetFlags(ModelSecondList | ModelFixedSortDepth);
    model->sortDepth = overlay != nullptr ? overlay->GetDepth() : 0.0f;
    model->ClearFlags(ModelVisible);
    AnimationControl& animation = *model->animationControl;
    animation.loop = false;
    animation.AddRange(ClipSwing, 0, 4);
    animation.AddRange(ClipBack, 4, 9);
    animation.Stop();
    animation.SetRange(ClipSwing);
    animation.position = 0;
}

Hammer::~Hammer() {
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
}

bool Hammer::IsVisible() const {
    return (model->GetFlags() & ModelVisible) != 0;
}

void Hammer::AddCharges(int count) {
    if (count == 0)
        return;
    if (charges == 0)
        model->SetFlags(ModelVisible);
    charges += count;
}

void Hammer::Reset() {
    charges = 0;
    model->ClearFlags(ModelVisible);
    model->animationControl->SetRange(ClipSwing);
    model->animationControl->position = 0;
}

bool Hammer::StoppedAtEndOf(int clip) const {
    const AnimationControl& animation = *model->animationControl;
    return animation.currentRangeId == static_cast<uint32_t>(clip) && !animation.playing &&
           animation.position > 0.0001f;
}

void Hammer::Strike() {
    AnimationControl& animation = *model->animationControl;
    if (animation.playing)
        return;
    const bool idleAtStart =
        animation.currentRangeId == static_cast<uint32_t>(ClipSwing) && animation.position < 0.0001f;
    if (!idleAtStart && !StoppedAtEndOf(ClipBack))
        return;
    audioPlayer->PlaySound(SoundHammer);
    animation.SetRange(ClipSwing);
    animation.position = 0;
    animation.Play();
}

void Hammer::Update(float) {
    if (!IsVisible())
        return;
    if (StoppedAtEndOf(ClipBack) && charges <= 0) {
        Reset();
        return;
    }
    if (paused)
        return;

    const GUIManager* gui = GUIManager::Instance();
    const Vec2 cursor = gui != nullptr ? gui->GetCursorPosition() : Vec2();
    // Upright in the middle of the screen, leaning 45 degrees at either edge.
    const float angle = (cursor.x - 400) / 400 * std::numbers::pi_v<float> / 4;
    model->transform = model->baseTransform;
    model->box.SetTransform(model->transform);
    model->transform = Matrix4::RotationY(angle).Multiply(model->baseTransform);
    model->box.SetTransform(model->transform);
    model->transform = Matrix4::Translation(Vec3(cursor.x, cursor.y, Height)).Multiply(model->transform);
    model->box.SetTransform(model->transform);

    if (StoppedAtEndOf(ClipSwing)) {
        --charges;
        AnimationControl& animation = *model->animationControl;
        animation.SetRange(ClipBack);
        animation.position = 0;
        animation.Play();
        HitUnderCursor(cursor);
    }
}

void Hammer::HitUnderCursor(const Vec2& cursor) {
    const CameraManager* cameras = CameraManager::Instance();
    const Camera* camera = cameras->GetDefaultCamera();
    const Vec2 pixel = ScreenMapping::GuiToPixel(cursor);
    const Vec3 start = cameras->Unproject(*camera, Vec3(pixel.x, pixel.y, -1));
    const Vec3 end = cameras->Unproject(*camera, Vec3(pixel.x, pixel.y, 1));
    if (Block* target = FindTarget(Ray(start, end - start)))
        target->Hit(Block::HitSuper, true);
}

Block* Hammer::FindTarget(const Ray& segment) const {
    Block* nearest = nullptr;
    float nearestDistance = 0;
    Block* boxHit = nullptr;
    for (Block* block : geometry->GetBlocks()) {
        const Model* blockModel = block->GetModel();
        float distance = 0;
        if (blockModel->RayPick(segment, &distance)) {
            if (nearest == nullptr || distance < nearestDistance) {
                nearest = block;
                nearestDistance = distance;
            }
        } else if (boxHit == nullptr && blockModel->box.IntersectsSegment(segment)) {
            boxHit = block;
        }
    }
    return nearest != nullptr ? nearest : boxHit;
}

} // namespace VelmoraBall
