#include "game/play/BonusManager.h"

#include "engine/core/TimerManager.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/SpriteGroup.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "game/play/Bonus.h"
#include "game/play/Effects.h"
#include "gametools/DataKeeper.h"
#include "gametools/RandomSelecter.h"

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

struct KindInfo {
    const char* name;
    int weight;
    int red, green, blue; // flare colour, 0..255
};

const KindInfo kinds[BonusManager::KindCount] = {
    {"life", 4, 0, 144, 255},          {"bat_increase", 7, 0, 144, 255},    {"bat_decrease", 6, 255, 66, 0},
    {"balls_speed_up", 9, 255, 66, 0}, {"balls_slow_down", 8, 0, 144, 255}, {"balls_split", 16, 0, 144, 255},
    {"balls_super", 10, 0, 144, 255},  {"barrier", 13, 0, 144, 255},        {"arbalest", 18, 255, 216, 0},
    {"ballista", 11, 255, 216, 0},     {"hammer", 12, 255, 216, 0},
};

constexpr int soundBonusCreation = 22;
constexpr float flareSize = 10;

} // namespace

std::string BonusManager::GetKindName(int kind) {
    return kind >= 0 && kind < KindCount ? kinds[kind].name : "";
}

int BonusManager::GetKindWeight(int kind) {
    return kind >= 0 && kind < KindCount ? kinds[kind].weight : 0;
}

BonusManager::BonusManager(GameFramework::AudioPlayer* player, GameTools::DataKeeper* bonusKeeper,
                           Effects* bonusEffects)
    : keeper(bonusKeeper), effects(bonusEffects), audioPlayer(player),
      selecter(std::make_unique<GameTools::RandomSelecter>(0)) {
    flareCamera = CameraManager::Instance()->CreateCamera(0);
    flareCamera->position = Vec3(0, 0, 100);
    flareGroup = SpriteGroupManager::Instance()->CreateSpriteGroup(
        100, keeper->GetShaderUser("bonuses/flare"), flareCamera, 0);
    flareGroup->depthSort = false;
    if (Model* model = flareGroup->GetModel()) {
        model->SetCamera(nullptr);
        model->SetFlags(ModelFixedSortDepth);
        model->sortDepth = -0.3f;
    }
    for (int kind = 0; kind < KindCount; ++kind)
        selecter->Add(kind, static_cast<uint32_t>(kinds[kind].weight));
    countdown = RandomFloatRange(6.0f, 9.0f);
    ModelManager* models = ModelManager::Instance();
    for (int kind = 0; kind < KindCount; ++kind)
        for (int j = 0; j < 2; ++j) {
            Model* model =
                models->CreateModelCopy(*keeper->GetModel("bonuses/" + GetKindName(kind)), nullptr, 0);
            model->ClearFlags(ModelVisible);
            modelPool.push_back(model);
        }
}

BonusManager::~BonusManager() {
    selecter.reset();
    for (Bonus* bonus : bonuses)
        delete bonus;
    if (SpriteGroupManager* groups = SpriteGroupManager::Instance())
        groups->DeleteSpriteGroup(flareGroup);
    if (CameraManager* cameras = CameraManager::Instance())
        cameras->DestroyCamera(flareCamera);
    if (ModelManager* models = ModelManager::Instance())
        for (Model* model : modelPool)
            models->DeleteModel(model);
}

void BonusManager::Update(bool counting, int currentLives, float fade) {
    if (paused)
        return;
    lives = currentLives;
    const float dt = TimerManager::Instance()->frameTime;
    if (counting)
        countdown -= dt * fade;
    if (endLevelTimer > 0 && fade > 0.9999f) {
        endLevelTimer -= dt * fade;
        if (endLevelTimer <= 0) {
            endLevelArmable = true;
            Spawn(Vec2(0, 0), KindHammer);
            ParticleSystem* burst = ParticleSystemManager::Instance()->CreateParticleSystemCopy(
                *keeper->GetParticleSystem("bonuses/end_level_creation"));
            burst->looping = false;
            const Vec3 at(0, 0, 5);
            burst->emitterPosition = at;
            if (Model* model = burst->GetModel()) {
                const Camera* camera = model->GetCamera() != nullptr
                                           ? model->GetCamera()
                                           : CameraManager::Instance()->GetDefaultCamera();
                model->SetFlags(ModelFixedSortDepth);
                model->sortDepth = -0.3f - 0.0004f * (camera->position - at).Length();
            }
            effects->ReleaseParticleSystem(burst);
        }
    }
    for (Bonus* bonus : bonuses)
        bonus->Update(fade);
    RetireFinished();
}

void BonusManager::RetireFinished() {
    ModelManager* models = ModelManager::Instance();
    size_t kept = 0;
    for (Bonus* bonus : bonuses) {
        if (bonus->IsActive()) {
            bonuses[kept++] = bonus;
            continue;
        }
        Model* model = bonus->TakeModel();
        model->ClearFlags(ModelVisible);
        const size_t first = static_cast<size_t>(bonus->GetKind()) * 2;
        if (modelPool[first] == nullptr)
            modelPool[first] = model;
        else if (modelPool[first + 1] == nullptr)
            modelPool[first + 1] = model;
        else
            models->DeleteModel(model);
        delete bonus;
    }
    bonuses.resize(kept);
}

void BonusManager::OnBlockDestroyed(const Vec2& position) {
    if (countdown < 0) {
        Spawn(position, KindRandom);
        countdown = RandomFloatRange(8.0f, 12.0f);
    } else {
        countdown -= countdown * 0.04f;
    }
}

void BonusManager::Spawn(const Vec2& position, int kind) {
    if (kind == KindRandom) {
        selecter->SetWeight(0, lives == 0 ? 28u : lives == 1 ? 16u : 4u);
        kind = selecter->Select();
    }
    if (kind < 0 || kind >= KindCount)
        return;
    const KindInfo& info = kinds[kind];
    // Full alpha: the flare's material blends by alpha, and a flare without any would not be seen.
    const Vec4 colour(static_cast<float>(info.red) / 255.0f, static_cast<float>(info.green) / 255.0f,
                      static_cast<float>(info.blue) / 255.0f, 1.0f);
    Model* model = nullptr;
    for (size_t j = 0; j < 2 && model == nullptr; ++j)
        std::swap(model, modelPool[static_cast<size_t>(kind) * 2 + j]);
    if (model == nullptr)
        model = ModelManager::Instance()->CreateModelCopy(*keeper->GetModel("bonuses/" + GetKindName(kind)),
                                                          nullptr, 0);
    Bonus* bonus = new Bonus(keeper, effects, kind, model, flareGroup, flareSize, colour);
    bonuses.push_back(bonus);
    bonus->Drop(position);
    if (audioPlayer != nullptr)
        audioPlayer->PlaySound(soundBonusCreation);
}

void BonusManager::ArmEndLevelBonus() {
    if (!endLevelArmable)
        return;
    endLevelArmable = false;
    endLevelTimer = 8.5f;
}

void BonusManager::CatchBonus(size_t index) {
    if (index < bonuses.size())
        bonuses[index]->Catch();
}

} // namespace VelmoraBall
