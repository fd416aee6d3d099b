#include "game/play/Barrier.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "game/play/AnimationRange.h"
#include "game/play/Effects.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"

#include <string>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

void Restart(Model& model) {
    model.animationControl->position = 0;
    model.animationControl->Play();
}

} // namespace

Barrier::Barrier(GameTools::DataKeeper* barrierKeeper, Effects* barrierEffects,
                 GameFramework::AudioPlayer* player)
    : keeper(barrierKeeper), effects(barrierEffects), audioPlayer(player) {
    ModelManager* models = ModelManager::Instance();
    for (int i = 0; i < 2; ++i) {
        Model* model =
            models->CreateModelCopy(*keeper->GetModel("barrier/hardware_" + std::to_string(i)), nullptr, 0);
        model->animationControl->loop = false;
        hardwareModels.push_back(model);
        Shadow* shadow = effects->CreateShadow(model, true);
        shadow->SetVisible(false);
        hardwareShadows.push_back(shadow);
    }
    for (int i = 0; i < MaximumSegments; ++i) {
        Model* model =
            models->CreateModelCopy(*keeper->GetModel("barrier/rope_" + std::to_string(i)), nullptr, 0);
        model->animationControl->loop = false;
        model->ClearFlags(ModelVisible);
        ropeModels.push_back(model);
    }
    ropeShadow = effects->CreateShadow(ropeModels[0], true);
    ropeShadow->SetVisible(false);

    // The collider is the stretched rope's y extent at every height. A hidden model keeps its box, so the
    // rope is shown for the one update that takes its last pose.
    Model* rope = ropeModels[0];
    JumpToRangeEnd(*rope->animationControl);
    rope->SetFlags(ModelVisible);
    rope->Update(false);
    rope->ClearFlags(ModelVisible);
    Vec3 low = rope->box.GetWorldMin();
    Vec3 high = rope->box.GetWorldMax();
    low.z = -1000;
    high.z = 1000;
    box.Set(low, high);
}

Barrier::~Barrier() {
    ModelManager* models = ModelManager::Instance();
    for (size_t i = 0; i < hardwareModels.size(); ++i) {
        effects->RemoveShadowOf(hardwareShadows[i]);
        if (models != nullptr)
            models->DeleteModel(hardwareModels[i]);
    }
    effects->RemoveShadowOf(ropeShadow);
    if (models != nullptr)
        for (Model* rope : ropeModels)
            models->DeleteModel(rope);
}

void Barrier::AddSegment() {
    if (segments >= MaximumSegments)
        return;
    Restart(*hardwareModels[static_cast<size_t>(segments & 1)]);
    Model* rope = ropeModels[static_cast<size_t>(segments)];
    rope->SetFlags(ModelVisible);
    Restart(*rope);
    ++segments;
}

void Barrier::Hit() {
    if (segments <= 0)
        return;
    ropeModels[static_cast<size_t>(segments - 1)]->ClearFlags(ModelVisible);
    --segments;
}

void Barrier::Update() {
    ropeShadow->SetVisible(false);
}

} // namespace VelmoraBall
