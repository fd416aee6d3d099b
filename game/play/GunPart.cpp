#include "game/play/GunPart.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "game/play/Bat.h"
#include "game/play/Effects.h"
#include "game/play/Gun.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"

#include <string>

using namespace OrvexEngine;

namespace VelmoraBall {

GunPart::GunPart(GameTools::DataKeeper* keeper, Effects* partEffects, Bat* partBat, const GunKind& kind)
    : effects(partEffects), bat(partBat) {
    const std::string prefix = std::string("guns/") + kind.word;
    ModelManager* models = ModelManager::Instance();
    gunModel = models->CreateModelCopy(*keeper->GetModel(prefix + "/gun"), nullptr, 0);
    gunModel->ClearFlags(ModelVisible);
    for (uint32_t clip = 0; clip < 4; ++clip)
        gunModel->animationControl->AddRange(clip, kind.clips[clip][0], kind.clips[clip][1]);
    gunModel->animationControl->loop = false;

    loadedBulletModel = models->CreateModelCopy(*keeper->GetModel(prefix + "/bullet"), nullptr, 0);
    loadedBulletModel->ClearFlags(ModelVisible);
    loadedBulletModel->animationControl->loop = false;
    loadedBulletModel->animationControl->AddRange(ClipLoaded, 0,
                                                  loadedBulletModel->animationControl->frameCount - 1);

    shadow = effects->CreateShadow(gunModel, true);
    shadow->SetVisible(false);
}

GunPart::~GunPart() {
    effects->RemoveShadowOf(shadow);
    if (ModelManager* models = ModelManager::Instance()) {
        models->DeleteModel(loadedBulletModel);
        models->DeleteModel(gunModel);
    }
}

void GunPart::PlayClip(int clip) {
    gunModel->animationControl->SetRange(static_cast<uint32_t>(clip));
    gunModel->animationControl->Play();
}

void GunPart::Appear(bool appear) {
    if (!appear) {
        PlayClip(ClipDisappear);
        return;
    }
    PlayClip(ClipAppear);
    gunModel->SetFlags(ModelVisible);
    shadow->SetVisible(true);
}

void GunPart::StartShot(bool last) {
    PlayClip(ClipShot);
    loadedBulletModel->ClearFlags(ModelVisible);
    lastShot = last;
}

void GunPart::StartReload() {
    PlayClip(ClipLoaded);
    loadedBulletModel->SetFlags(ModelVisible);
    loadedBulletModel->animationControl->SetRange(ClipLoaded);
    loadedBulletModel->animationControl->Play();
}

void GunPart::Hide() {
    gunModel->ClearFlags(ModelVisible);
    loadedBulletModel->ClearFlags(ModelVisible);
    shadow->SetVisible(false);
}

bool GunPart::IsVisible() const {
    return (gunModel->GetFlags() & ModelVisible) != 0;
}

void GunPart::Update() {
    if (!IsVisible())
        return;
    const AnimationControl& animation = *gunModel->animationControl;
    if (!animation.playing) {
        switch (animation.currentRangeId) {
        case ClipAppear:
            StartReload();
            break;
        case ClipShot:
            if (lastShot)
                Appear(false);
            else
                StartReload();
            break;
        case ClipDisappear:
            gunModel->ClearFlags(ModelVisible);
            shadow->SetVisible(false);
            break;
        default:
            break;
        }
    }
    const Matrix4& body = bat->GetBodyMatrix();
    for (Model* model : {gunModel, loadedBulletModel}) {
        model->transform = model->baseTransform;
        model->box.SetTransform(model->transform);
        model->transform = body.Multiply(model->baseTransform);
        model->box.SetTransform(model->transform);
    }
}

} // namespace VelmoraBall
