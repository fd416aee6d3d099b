// The engine's one source of pseudo-random numbers: a 32-bit linear congruential generator with a single
// process-wide state (1 until seeded), and helpers over it. The Engine seeds it once at start-up; the same
// seed gives the same numbers on every machine. Every helper draws exactly once per result.
// Main thread only: the state is a plain global.
#pragma once

#include <cstdint>

namespace OrvexEngine {

// Advances the state and returns 15 bits, 0..32767.
uint32_t NextRandom();
// State = seed + 1 (wrapping), so SeedRandom(0) continues like an unseeded generator.
void SeedRandom(uint32_t seed);
// In [0, 1], both ends reachable.
float RandomFloat();
// 0 .. min(n, 32768) - 1, the plain remainder. RandomInt(0) still draws once and returns 0.
uint32_t RandomInt(uint32_t n);
// In [a, b], both included; for b = a - 1 (an empty range) it returns a.
int RandomIntRange(int a, int b);
// Between a and b, both included, whichever is larger.
float RandomFloatRange(float a, float b);
// In [-1, 1].
float RandomSigned();
// In [centre - spread, centre + spread].
float RandomAround(float centre, float spread);

} // namespace OrvexEngine
