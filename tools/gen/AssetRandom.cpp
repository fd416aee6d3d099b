#include "tools/gen/AssetRandom.h"

#include <cassert>

namespace VbGen {

namespace {

uint64_t SplitMix64(uint64_t& x) {
    x += 0x9E3779B97F4A7C15ull;
    uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// FNV-1a over the name, then the version's four bytes: fixed, so seeds never depend on the platform.
uint64_t Hash(const std::string& name, uint32_t version) {
    uint64_t hash = 0xCBF29CE484222325ull;
    auto mix = [&hash](uint8_t byte) {
        hash ^= byte;
        hash *= 0x100000001B3ull;
    };
    for (char c : name)
        mix(static_cast<uint8_t>(c));
    for (int i = 0; i < 4; ++i)
        mix(static_cast<uint8_t>(version >> (8 * i)));
    return hash;
}

} // namespace

AssetRandom::AssetRandom(uint64_t initState, uint64_t sequence) : increment((sequence << 1) | 1u) {
    NextU32();
    state += initState;
    NextU32();
}

AssetRandom::AssetRandom(const std::string& dataName, uint32_t recipeVersion) : AssetRandom(0, 0) {
    uint64_t seed = Hash(dataName, recipeVersion);
    uint64_t initState = SplitMix64(seed);
    *this = AssetRandom(initState, SplitMix64(seed));
}

uint32_t AssetRandom::NextU32() {
    uint64_t old = state;
    state = old * 6364136223846793005ull + increment;
    auto xorShifted = static_cast<uint32_t>(((old >> 18) ^ old) >> 27);
    auto rotation = static_cast<uint32_t>(old >> 59);
    return (xorShifted >> rotation) | (xorShifted << ((32 - rotation) & 31));
}

float AssetRandom::NextFloat() {
    return static_cast<float>(NextU32() >> 8) * (1.0f / 16777216.0f);
}

uint32_t AssetRandom::Below(uint32_t count) {
    assert(count != 0 && "Below needs a non-empty range");
    // Reject the top partial block of 2^32 so every value is equally likely.
    uint32_t threshold = static_cast<uint32_t>(-count) % count;
    for (;;) {
        uint32_t value = NextU32();
        if (value >= threshold)
            return value % count;
    }
}

} // namespace VbGen
