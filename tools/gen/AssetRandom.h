// The random numbers of one generated asset: PCG32 seeded through SplitMix64 from a hash of the asset's
// data name and its recipe's version. Each asset draws from its own stream, so adding an asset or drawing
// more numbers for one never changes another, and a recipe's new version re-rolls only its own assets.
// A plain value; recipes make one per asset.
#pragma once

#include <cstdint>
#include <string>

namespace VbGen {

class AssetRandom {
public:
    AssetRandom(const std::string& dataName, uint32_t recipeVersion);
    // PCG32's own seeding: a start state and a stream number.
    AssetRandom(uint64_t initState, uint64_t sequence);

    uint32_t NextU32();
    // Uniform in [0, 1) with 24 bits, the precision of a float.
    float NextFloat();
    // Uniform in [low, high).
    float Range(float low, float high) { return low + (high - low) * NextFloat(); }
    // Uniform in [0, count) without modulo bias; count must not be 0.
    uint32_t Below(uint32_t count);

private:
    uint64_t state = 0;
    uint64_t increment = 1; // odd
};

} // namespace VbGen
