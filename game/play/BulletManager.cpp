#include "game/play/BulletManager.h"

#include "framework/AudioPlayer.h"
#include "game/play/Bullet.h"
#include "game/play/Gun.h"

using namespace OrvexEngine;

namespace VelmoraBall {

BulletManager::BulletManager(GameTools::DataKeeper* bulletKeeper, GameLogic* logic, Effects* bulletEffects,
                             GameFramework::AudioPlayer* player, GameField* levelField, GameGeometry* blocks,
                             Bat* levelBat)
    : keeper(bulletKeeper), levelLogic(logic), effects(bulletEffects), audioPlayer(player), field(levelField),
      geometry(blocks), bat(levelBat) {
    for (int kind : {Gun::KindArbalest, Gun::KindBallista}) {
        std::vector<Bullet*>& pool = kind == Gun::KindBallista ? ballistaPool : arbalestPool;
        const size_t size = Gun::GetKind(kind).poolSize;
        pool.reserve(size);
        for (size_t i = 0; i < size; ++i) {
            auto* bullet = new Bullet(keeper, levelLogic, effects, field, geometry, audioPlayer, bat, kind);
            bullets.push_back(bullet);
            pool.push_back(bullet);
        }
    }
}

BulletManager::~BulletManager() {
    for (Bullet* bullet : bullets)
        delete bullet;
}

void BulletManager::FireArbalest(const Matrix4& matrix) {
    Fire(Gun::KindArbalest, matrix);
}

void BulletManager::FireBallista(const Matrix4& matrix) {
    Fire(Gun::KindBallista, matrix);
}

void BulletManager::Fire(int kind, const Matrix4& matrix) {
    const std::vector<Bullet*>& pool = GetPool(kind);
    Bullet* chosen = nullptr;
    for (Bullet* bullet : pool)
        if (!bullet->IsActive()) {
            chosen = bullet;
            break;
        }
    // With every bolt in use, the last one whose flight has ended gives up its particles.
    if (chosen == nullptr)
        for (Bullet* bullet : pool)
            if (bullet->IsFinishing())
                chosen = bullet;
    if (chosen == nullptr)
        return;
    chosen->Launch(matrix);
    audioPlayer->PlaySound(Gun::GetKind(kind).shotSound);
}

void BulletManager::Update(float fade) {
    if (paused)
        return;
    for (Bullet* bullet : bullets)
        bullet->Update(fade);
}

void BulletManager::SetPaused(bool value) {
    paused = value;
    for (Bullet* bullet : bullets)
        bullet->SetPaused(value);
}

} // namespace VelmoraBall
