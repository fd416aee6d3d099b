#include "engine/math/Random.h"

namespace OrvexEngine {

namespace {
uint32_t randomState = 1;
}

uint32_t NextRandom() {
    randomState = randomState * 1664525u + 1013904223u;
    return (randomState >> 16) % 32768u;
}

void SeedRandom(uint32_t seed) {
    randomState = seed + 1u;
}

float RandomFloat() {
    return static_cast<float>(static_cast<double>(NextRandom()) / 32767.0);
}

uint32_t RandomInt(uint32_t n) {
    uint32_t value = NextRandom();
    // An empty range has no valid answer; drawing anyway keeps the number of draws per call fixed, so a
    // sequence stays the same whatever the ranges asked for.
    if (n == 0)
        return 0;
    return value % n;
}

int RandomIntRange(int a, int b) {
    // Unsigned arithmetic: the width of [INT_MIN, INT_MAX] does not fit an int (it wraps to 0 and gives a).
    uint32_t width = static_cast<uint32_t>(b) - static_cast<uint32_t>(a) + 1u;
    return static_cast<int>(static_cast<uint32_t>(a) + RandomInt(width));
}

float RandomFloatRange(float a, float b) {
    return a + RandomFloat() * (b - a);
}

float RandomSigned() {
    return 2.0f * RandomFloat() - 1.0f;
}

float RandomAround(float centre, float spread) {
    return centre + RandomSigned() * spread;
}

} // namespace OrvexEngine
