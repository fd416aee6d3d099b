#include "gametools/RandomSelecter.h"

#include "engine/math/Random.h"

#include <algorithm>

using namespace OrvexEngine;

namespace GameTools {

namespace {

// The generator yields 0..32767; a larger bound cannot change the draw but would overflow the signed range.
constexpr uint32_t LargestDraw = 32767;

constexpr int MaxDraws = 1000;

} // namespace

void RandomSelecter::Add(int32_t id, uint32_t weight) {
    entries.push_back({id, weight});
    totalWeight += weight;
}

void RandomSelecter::SetWeight(int32_t id, uint32_t weight) {
    for (Entry& entry : entries) {
        if (entry.id == id) {
            totalWeight = totalWeight - entry.weight + weight;
            entry.weight = weight;
            return;
        }
    }
    Add(id, weight);
}

int32_t RandomSelecter::Draw() const {
    const int32_t r = RandomIntRange(0, static_cast<int32_t>(std::min(totalWeight, LargestDraw)));
    uint64_t sum = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        sum += entries[i].weight;
        if (sum >= static_cast<uint64_t>(r) && entries[i].weight != 0)
            return static_cast<int32_t>(i);
    }
    return RandomIntRange(0, static_cast<int32_t>(entries.size()) - 1);
}

int32_t RandomSelecter::Select() {
    if (entries.empty())
        return 0;
    int32_t chosen = 0;
    for (int draw = 0; draw < MaxDraws; ++draw) {
        chosen = Draw();
        const bool capped = chosen == lastIndex && repeatCount >= repeatCap && entries.size() > 1;
        if (!capped)
            break;
    }
    if (chosen == lastIndex) {
        ++repeatCount;
    } else {
        lastIndex = chosen;
        repeatCount = 0;
    }
    return entries[static_cast<size_t>(chosen)].id;
}

} // namespace GameTools
