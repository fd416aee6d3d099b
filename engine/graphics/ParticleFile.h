// The emitter settings of a particle system (the six-key tables and the motion rules) and the reader of the
// particle-system file ("OEPSF" 203 and 204) that fills them. ParticleSystem keeps one ParticleSettings;
// its defaults are those of a system built without a file.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

constexpr int particleKeyCount = 6;

struct ParticleSettings {
    uint32_t maximumParticles = 100;
    float emissionDuration = 1.0f; // seconds of one emission cycle; always above 0
    bool gravityOn = true;
    float gravity = 1.0f;
    bool floorOn = true;
    float floorHeight = -1.0f;
    float bounceFactor = 0.9f;
    bool dieWhenSlow = true;
    float minimumSpeedFactor = 0.4f;
    bool interpolatedEmission = true; // false: a burst at the start of each key span
    float emissionRate[particleKeyCount] = {10, 10, 10, 10, 10, 10};
    float lifetimeCentre[particleKeyCount] = {1, 1, 1, 1, 1, 1};
    float lifetimeSpread[particleKeyCount] = {0, 0, 0, 0, 0, 0};
    Vec3 directionCentre[particleKeyCount] = {};
    Vec3 directionSpread[particleKeyCount] = {Vec3(1), Vec3(1), Vec3(1), Vec3(1), Vec3(1), Vec3(1)};
    Vec4 colour[particleKeyCount] = {Vec4(1), Vec4(1), Vec4(1), Vec4(1), Vec4(1), Vec4(1)};
    float size[particleKeyCount] = {1, 1, 1, 1, 1, 1};
    float speedCentre[particleKeyCount] = {1, 1, 1, 1, 1, 1}; // hundreds of world units per second
    float speedSpread[particleKeyCount] = {0, 0, 0, 0, 0, 0};
};

struct ParticleFileContents {
    ParticleSettings settings;
    uint32_t emissionShape = 0;
    Vec3 boxMin;
    Vec3 boxMax;
};

class ParticleFile {
public:
    // Largest pool a file may ask for: the sprite group's quads must stay addressable.
    static constexpr uint32_t maxParticles = 65535;

    // Reads the data file name (below the data directory). Throws FileError: "Incorrect \"<name>\" file
    // format" for a wrong magic or size, an emission duration that is not above 0 (a looping cycle could
    // never wrap) or a pool above maxParticles; "Incorrect \"<name>\" format version, current is 204"; or
    // the file layer's text when the file cannot be opened or read.
    static void Read(const std::string& name, ParticleFileContents& contents);
};

} // namespace OrvexEngine
