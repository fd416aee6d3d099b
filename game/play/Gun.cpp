#include "game/play/Gun.h"

#include "engine/core/TimerManager.h"
#include "game/play/Bat.h"
#include "game/play/BulletManager.h"
#include "game/play/GunPart.h"

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

const GunKind kinds[2] = {
    {"arbalet", 0.1f, {{0, 33}, {33, 40}, {33, 33}, {33, 0}}, 30, 80.0f, 1.4f, false, 24, 26},
    {"ballista", 0.17f, {{0, 19}, {19, 25}, {25, 25}, {19, 0}}, 20, 70.0f, 1.0f, true, 25, 27},
};

} // namespace

const GunKind& Gun::GetKind(int kind) {
    return kinds[kind == KindBallista ? 1 : 0];
}

Gun::Gun(GameTools::DataKeeper* gunKeeper, Effects* gunEffects, Bat* gunBat,
         GameFramework::AudioPlayer* player, BulletManager* bulletManager, int gunKind)
    : keeper(gunKeeper), effects(gunEffects), bat(gunBat), audioPlayer(player), bullets(bulletManager),
      kind(gunKind), shotInterval(GetKind(gunKind).shotInterval) {
    part = new GunPart(keeper, effects, bat, GetKind(kind));
}

Gun::~Gun() {
    delete part;
}

void Gun::AddShots(uint32_t count) {
    if (count == 0)
        return;
    if (shotsLeft == 0) {
        part->Appear(true);
        shotsFired = 0;
    }
    shotsLeft += count;
}

void Gun::Stop() {
    part->Hide();
    shotsLeft = 0;
}

void Gun::RequestShot() {
    if (shotsLeft > 0)
        shotRequested = true;
}

void Gun::Update(float) {
    clock += TimerManager::Instance()->frameTime;
    if (!part->IsVisible())
        return;
    part->Update();
    if (paused)
        return;
    if (shotsLeft > 0 && clock > lastShotTime + shotInterval && shotRequested) {
        lastShotTime = clock;
        --shotsLeft;
        part->StartShot(shotsLeft == 0);
        ++shotsFired;
        Shoot();
    }
    // A click fires at most one bullet; one during the interval is lost.
    shotRequested = false;
}

void Gun::Shoot() {
    if (kind == KindBallista)
        bullets->FireBallista(bat->GetBodyMatrix());
    else
        bullets->FireArbalest(bat->GetBodyMatrix());
}

} // namespace VelmoraBall
