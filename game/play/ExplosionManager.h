// The debris of the level's destroyed blocks: per block type with fragments, a pool of ready explosions,
// sized by how many blocks of the type the level holds. Nothing is loaded or made while playing; when every
// explosion of a type is busy, the one running longest starts over. Owned by the block set.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace OrvexEngine {
class Model;
}

namespace GameTools {
class DataKeeper;
}

namespace VelmoraBall {

class Effects;
class Explosion;

class ExplosionManager {
public:
    ExplosionManager(GameTools::DataKeeper* keeper, Effects* effects);
    ExplosionManager(const ExplosionManager&) = delete;
    ExplosionManager& operator=(const ExplosionManager&) = delete;
    virtual ~ExplosionManager();

    // A pool for a type whose fragments are named prefix + "/00" ...; returns the type's id (0, 1, ...).
    int RegisterType(const std::string& prefix, uint32_t fragmentCount, bool realFragments,
                     uint32_t blockCount);
    // A burst of the type from the block model: the first idle explosion, else the longest running one.
    void Trigger(int type, const OrvexEngine::Model& blockModel, bool shadows);
    void Update();

    // Explosions in a pool for a type of blockCount blocks.
    static uint32_t PoolSize(uint32_t blockCount);

    const std::vector<std::pair<int, Explosion*>>& GetExplosions() const { return explosions; }

private:
    GameTools::DataKeeper* keeper = nullptr; // not owned
    Effects* effects = nullptr;              // not owned
    int typeCount = 0;
    std::vector<std::pair<int, Explosion*>> explosions; // owned; each type's pool consecutive
};

} // namespace VelmoraBall
