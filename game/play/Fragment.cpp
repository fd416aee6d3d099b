#include "game/play/Fragment.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/math/Random.h"
#include "game/play/Effects.h"
#include "game/play/GameLogicData.h"
#include "game/play/Shadow.h"
#include "gametools/DataKeeper.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

float LargestHalfSize(const Model& model) {
    const Vec3& half = model.box.GetHalfSize();
    return std::max(half.x, std::max(half.y, half.z));
}

} // namespace

Fragment::Fragment(GameTools::DataKeeper* keeper, Effects* fragmentEffects, const std::string& name,
                   bool real, const FragmentSettings& fragmentSettings)
    : effects(fragmentEffects), settings(fragmentSettings) {
    const Model* named = keeper->GetModel(name);
    size = LargestHalfSize(*named);
    offset = named->box.GetCentre();
    offsetMatrix = Matrix4::Translation(offset);
    ModelManager* models = ModelManager::Instance();
    if (real) {
        model = models->CreateModelCopy(*named, nullptr, 0);
        model->transform = Matrix4::Translation(-offset);
    } else {
        const Model* common = keeper->GetModel("geometry/fragments/common/" + TwoDigits(RandomInt(10)));
        model = models->CreateModelCopy(*common, nullptr, 0);
        const float commonSize = LargestHalfSize(*common);
        const float scale = commonSize > 0 ? size / commonSize : 1.0f;
        model->transform = Matrix4::Scaling(Vec3(scale, scale, scale))
                               .Multiply(Matrix4::Translation(-common->box.GetCentre()));
    }
    model->baseTransform = model->transform;
    model->ClearFlags(ModelVisible);
    shadow = effects->CreateShadow(model, true);
}

Fragment::~Fragment() {
    effects->RemoveShadowOf(shadow);
    if (ModelManager* models = ModelManager::Instance())
        models->DeleteModel(model);
}

void Fragment::Start(const Model& blockModel, bool shadows) {
    blockMatrix = blockModel.transform;
    tumble = Matrix4();
    flight = Matrix4();
    if (blockModel.material != nullptr) {
        // A cracked block breaks into cracked pieces, each showing a random quarter of its texture.
        model->SetShader(*blockModel.material);
        AnimationControl* own = model->material->GetAnimation(0);
        const AnimationControl* block = blockModel.material->GetAnimation(0);
        if (own != nullptr && block != nullptr)
            own->CopyState(*block);
        if (model->material->stageCount > 0) {
            ShaderStage& stage = model->material->stages[0];
            stage.scaleU = 0.25f;
            stage.scaleV = 0.25f;
            stage.offsetU = 5.0f * RandomFloat();
            stage.offsetV = 5.0f * RandomFloat();
        }
    }
    model->SetFlags(ModelVisible);
    shadow->SetVisible(shadows);
    shadow->SetOpacity(Shadow::DefaultOpacity);
    const bool transparent =
        blockModel.material != nullptr && (blockModel.material->flags & ShaderFlagAlphaBlend) != 0;
    model->SetFlags(transparent ? ModelSecondList : ModelFirstList);
    if (model->animationControl->frameCount == blockModel.animationControl->frameCount) {
        model->animationControl->loop = false;
        model->animationControl->position = blockModel.animationControl->position;
    }
    const float x = RandomSigned();
    const float y = RandomSigned();
    velocity = Vec3(x, y, 0.75f).Normalized();
    velocity.x *= settings.spreadFactor;
    velocity.y *= settings.spreadFactor;
    velocity.z += 1.5f;
    active = true;
    time = 0;
    floorTimeSpent = 0;
    scale = 1.0f;
}

void Fragment::Update() {
    if (!active)
        return;
    const float dt = TimerManager::Instance()->frameTime;
    time += dt;
    const float b = dt * settings.speedFactor;
    if (floorTimeSpent < 0.0001f) {
        velocity.z -= 7.0f * b;
        const Vec3 axis(velocity.y, -velocity.x, 0.3f * velocity.z);
        tumble = tumble.Multiply(Matrix4::RotationAxis(axis.Normalized(), -8.0f * b));
        flight = flight.Multiply(Matrix4::Translation(velocity * (b * 25.0f)));
        scale = 1.0f;
        if (size > settings.minimumSize) {
            const float k = std::min(1.0f, time);
            scale = (size * (1.0f - k) + settings.minimumSize * k) / size;
        }
    }
    const Matrix4 world = flight.Multiply(blockMatrix)
                              .Multiply(offsetMatrix)
                              .Multiply(tumble)
                              .Multiply(Matrix4::Scaling(Vec3(scale, scale, scale)));
    model->transform = model->baseTransform;
    model->box.SetTransform(model->transform);
    model->transform = world.Multiply(model->baseTransform);
    model->box.SetTransform(model->transform);

    const float centreZ = model->box.GetCentre().z;
    if (settings.floorHeight > centreZ) {
        model->transform =
            Matrix4::Translation(Vec3(0, 0, settings.floorHeight - centreZ)).Multiply(model->transform);
        model->box.SetTransform(model->transform);
        floorTimeSpent += dt;
        const float fade = 1.0f - std::min(1.0f, floorTimeSpent);
        shadow->SetOpacity(Shadow::DefaultOpacity * fade);
        if (fade < 0.0001f)
            shadow->SetVisible(false);
    }
    if (floorTimeSpent > settings.floorTime) {
        model->transform = Matrix4::Translation(Vec3(0, 0, -4.0f * (floorTimeSpent - settings.floorTime)))
                               .Multiply(model->transform);
        model->box.SetTransform(model->transform);
    }
    if (model->box.GetWorldMax().z < -0.2f) {
        model->ClearFlags(ModelVisible);
        shadow->SetVisible(false);
        active = false;
    }
}

} // namespace VelmoraBall
