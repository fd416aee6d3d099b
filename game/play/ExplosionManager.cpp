#include "game/play/ExplosionManager.h"

#include "game/play/Explosion.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

ExplosionManager::ExplosionManager(GameTools::DataKeeper* explosionKeeper, Effects* explosionEffects)
    : keeper(explosionKeeper), effects(explosionEffects) {}

ExplosionManager::~ExplosionManager() {
    for (auto& entry : explosions)
        delete entry.second;
}

uint32_t ExplosionManager::PoolSize(uint32_t blockCount) {
    return std::max(1u, std::min(blockCount, std::min(21u, blockCount / 2 + 1)));
}

int ExplosionManager::RegisterType(const std::string& prefix, uint32_t fragmentCount, bool realFragments,
                                   uint32_t blockCount) {
    const int type = typeCount++;
    const uint32_t count = PoolSize(blockCount);
    for (uint32_t i = 0; i < count; ++i)
        explosions.emplace_back(
            type, new Explosion(keeper, effects, prefix, fragmentCount, realFragments, FragmentSettings()));
    return type;
}

void ExplosionManager::Trigger(int type, const Model& blockModel, bool shadows) {
    Explosion* idle = nullptr;
    Explosion* oldest = nullptr;
    for (auto& [entryType, explosion] : explosions) {
        if (entryType != type)
            continue;
        if (!explosion->IsActive()) {
            idle = explosion;
            break;
        }
        if (explosion->GetTime() > 0.0001f && (oldest == nullptr || explosion->GetTime() > oldest->GetTime()))
            oldest = explosion;
    }
    Explosion* chosen = idle != nullptr ? idle : oldest;
    if (chosen != nullptr)
        chosen->Start(blockModel, shadows);
}

void ExplosionManager::Update() {
    for (auto& entry : explosions)
        entry.second->Update();
}

} // namespace VelmoraBall
