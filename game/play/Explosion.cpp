#include "game/play/Explosion.h"

#include "engine/core/TimerManager.h"
#include "game/play/GameLogicData.h"

#include <algorithm>

using namespace OrvexEngine;

namespace VelmoraBall {

Explosion::Explosion(GameTools::DataKeeper* keeper, Effects* effects, const std::string& prefix,
                     uint32_t fragmentCount, bool realFragments, const FragmentSettings& settings) {
    fragments.reserve(fragmentCount);
    for (uint32_t i = 0; i < fragmentCount; ++i)
        fragments.push_back(
            new Fragment(keeper, effects, prefix + "/" + TwoDigits(i), realFragments, settings));
}

Explosion::~Explosion() {
    for (Fragment* fragment : fragments)
        delete fragment;
}

void Explosion::Start(const Model& blockModel, bool shadows) {
    for (Fragment* fragment : fragments)
        fragment->Start(blockModel, shadows);
    active = true;
    time = 0;
}

void Explosion::Update() {
    if (!active)
        return;
    time += TimerManager::Instance()->frameTime;
    for (Fragment* fragment : fragments)
        fragment->Update();
    active = std::any_of(fragments.begin(), fragments.end(), [](const Fragment* f) { return f->IsActive(); });
}

} // namespace VelmoraBall
