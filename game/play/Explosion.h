// One burst of debris of a block type: one Fragment per fragment model of the type, started together from a
// destroyed block. Pooled by the ExplosionManager, which owns it; built with the level.
#pragma once

#include "game/play/Fragment.h"

#include <string>
#include <vector>

namespace VelmoraBall {

class Explosion {
public:
    // One fragment per index, named prefix + "/" + two-digit index, in index order.
    Explosion(GameTools::DataKeeper* keeper, Effects* effects, const std::string& prefix,
              uint32_t fragmentCount, bool realFragments, const FragmentSettings& settings);
    Explosion(const Explosion&) = delete;
    Explosion& operator=(const Explosion&) = delete;
    virtual ~Explosion();

    void Start(const OrvexEngine::Model& blockModel, bool shadows);
    // Inactive again in the update in which no fragment is active any more.
    void Update();

    bool IsActive() const { return active; }
    float GetTime() const { return time; }
    const std::vector<Fragment*>& GetFragments() const { return fragments; }

private:
    std::vector<Fragment*> fragments; // owned
    bool active = false;
    float time = 0;
};

} // namespace VelmoraBall
