// Writes particle-system files ("OEPSF" 203 and 204): the fixed layout of emitter settings and six-key
// tables, 429 bytes in version 203 (no speed spreads) and 453 in version 204. The data tools make the
// game's particle systems with it and tests make their fixtures; one writer per file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

using Float6 = std::array<float, 6>;
using Float3x6 = std::array<std::array<float, 3>, 6>;
using Float4x6 = std::array<std::array<float, 4>, 6>;

// Defaults are those of a particle system built without a file.
struct ParticleDescription {
    uint32_t version = 204;
    uint32_t maximumParticles = 100;
    float emissionDuration = 1.0f;
    bool gravityOn = true;
    float gravity = 1.0f;
    bool floorOn = true;
    float floorHeight = -1.0f;
    float bounceFactor = 0.9f;
    bool dieWhenSlow = true;
    float minimumSpeedFactor = 0.4f;
    bool interpolatedEmission = true;
    Float6 emissionRate{10, 10, 10, 10, 10, 10};
    Float6 lifetimeCentre{1, 1, 1, 1, 1, 1};
    Float6 lifetimeSpread{0, 0, 0, 0, 0, 0};
    Float3x6 directionCentre{};
    Float3x6 directionSpread{{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}};
    Float4x6 colour{{{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}}};
    Float6 size{1, 1, 1, 1, 1, 1};
    Float6 speedCentre{1, 1, 1, 1, 1, 1};
    Float6 speedSpread{0, 0, 0, 0, 0, 0}; // written by version 204 only
    uint32_t emissionShape = 0;           // 0 point, 1 box, 2 path
    std::array<float, 3> boxMin{-0.5f, -0.5f, -0.5f};
    std::array<float, 3> boxMax{0.5f, 0.5f, 0.5f};
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct ParticleFaults {
    bool skipChecks = false;
    std::string magic = "OEPSF";
    int32_t sizeDelta = 0;   // added to the header's total size
    uint32_t truncateBy = 0; // bytes cut from the end (the header's size follows the cut)
};

class ParticleWriter {
public:
    // Throws FormatError naming the rule the system breaks unless the faults skip the checks.
    static std::vector<uint8_t> Write(const ParticleDescription& system, const ParticleFaults& faults = {});
    static void Save(const std::string& path, const ParticleDescription& system,
                     const ParticleFaults& faults = {});

    // Versions 203 and 204; an emission duration above 0; lifetimes (centre minus spread) above 0; a
    // maximum of 1 to 65535 particles; shapes 0 to 2.
    static void Check(const ParticleDescription& system);
};

} // namespace VbFormats
