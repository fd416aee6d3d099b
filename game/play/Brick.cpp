#include "game/play/Brick.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ShaderUser.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "game/play/BonusManager.h"
#include "game/play/GameLogicData.h"
#include "game/play/Shadow.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLValue.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

enum Sound {
    SoundHitHard = 8,
    SoundHitUnbreakable = 9,
    SoundCrashSimple = 10,
    SoundCrashHard = 13,
    SoundCrashUnbreakable = 14,
    SoundCrashExplosive = 15
};
enum ScoreEvent {
    ScoreSimple = 1,
    ScoreStrongHit = 2,
    ScoreStrong = 3,
    ScoreExplosive = 6,
    ScoreUnbreakable = 7
};

constexpr uint32_t unbreakableHits = 25;

} // namespace

Brick::Brick(GameFramework::AudioPlayer* player, GameTools::DataKeeper* particles,
             GameTools::DataKeeper* models, GameFramework::ScoreKeeper* score, Effects* blockEffects,
             GameGeometry* blockGeometry, const BlockDescriptor* blockDescriptor, BonusManager* bonuses)
    : Block(particles, models, blockEffects, blockGeometry, blockDescriptor), scoreKeeper(score),
      bonusManager(bonuses), audioPlayer(player) {
    GameTools::XMLValue* given = descriptor->type->GetAttribute("strength", 0);
    const int32_t value = given != nullptr ? given->AsInt() : 1;
    if (value == 0) {
        kindFlags = KindUnbreakable;
        strength = unbreakableHits;
    } else if (value == 1) {
        kindFlags = KindSimple;
    } else {
        kindFlags = KindStrong;
        strength = static_cast<uint32_t>(value);
    }
    if (BlockAttribute(*descriptor, "invisible", false))
        kindFlags |= KindInvisible;
    if (BlockAttribute(*descriptor, "explosive", false)) {
        kindFlags |= KindExplosive;
        pendingDestructionParticles = CopyParticles("blocks/explosive_destruction");
    }
    if ((kindFlags & KindInvisible) != 0) {
        model->ClearFlags(ModelVisible);
        shadow->SetVisible(false);
        shadow->SetOpacity(0.5f);
    }
}

void Brick::ShowCrackFrame() {
    ShaderUser* material = model->material;
    if (material == nullptr || material->stageCount == 0)
        return;
    // More hits left than frames would point before the first frame: the frame stays within the layer.
    const int64_t frames = std::max<int64_t>(1, material->stages[0].frameCount);
    const int64_t frame = std::clamp<int64_t>(frames - static_cast<int64_t>(strength), 0, frames - 1);
    material->stages[0].currentFrame = static_cast<uint32_t>(frame);
    if (AnimationControl* animation = material->GetAnimation(0))
        animation->position = static_cast<float>(frame);
}

void Brick::Hit(int kind, bool chain) {
    if (!alive)
        return;
    if ((kindFlags & KindStrong) != 0 && kind != HitSuper) {
        --strength;
        if (strength > 0) {
            ShowCrackFrame();
            if (falls)
                StartFalling();
            scoreKeeper->AddScore(ScoreStrongHit, 1);
            audioPlayer->PlaySound(SoundHitHard);
            return;
        }
    } else if ((kindFlags & KindUnbreakable) != 0 && kind != HitSuper) {
        --strength;
        if (strength > 0) {
            if (falls)
                StartFalling();
            audioPlayer->PlaySound(SoundHitUnbreakable);
            return;
        }
    }
    const Vec3 centre = world.MultiplyPoint(collisionBox.GetCentre());
    bonusManager->OnBlockDestroyed(Vec2(centre.x, centre.y));
    if ((kindFlags & KindExplosive) != 0) {
        scoreKeeper->AddScore(ScoreExplosive, 1);
        audioPlayer->PlaySound(SoundCrashExplosive);
    } else if ((kindFlags & KindStrong) != 0) {
        scoreKeeper->AddScore(ScoreStrong, 1);
        audioPlayer->PlaySound(SoundCrashHard);
    } else if ((kindFlags & KindUnbreakable) != 0) {
        scoreKeeper->AddScore(ScoreUnbreakable, 1);
        audioPlayer->PlaySound(SoundCrashUnbreakable);
    } else if ((kindFlags & KindSimple) != 0) {
        scoreKeeper->AddScore(ScoreSimple, 1);
        audioPlayer->PlaySound(SoundCrashSimple + crashSoundTurn);
        crashSoundTurn = (crashSoundTurn + 1) % 3;
    }
    if ((kindFlags & KindExplosive) != 0)
        Block::Hit(HitSuper, true);
    else
        Block::Hit(kind, chain);
}

} // namespace VelmoraBall
