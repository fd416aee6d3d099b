// ctest-label: models
#include "engine/graphics/ParticleFile.h"

#include "engine/core/Error.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tools/formats/FormatError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

using namespace OrvexEngine;
using VbFormats::ParticleDescription;
using VbFormats::ParticleFaults;
using VbFormats::ParticleWriter;

namespace {

class ParticleFileTest : public testing::Test {
protected:
    ParticleFileContents WriteAndRead(const ParticleDescription& system, const ParticleFaults& faults = {}) {
        data.Save("fx/spark.psf", ParticleWriter::Write(system, faults));
        ParticleFileContents contents;
        ParticleFile::Read("fx\\spark.psf", contents);
        return contents;
    }
    std::string ErrorOf(const ParticleDescription& system, const ParticleFaults& faults) {
        try {
            WriteAndRead(system, faults);
        } catch (const FileError& error) {
            return error.GetText();
        }
        return "no error";
    }

    VelmoraTest::TestLog log;
    VelmoraTest::DataFolder data{"particles"};
};

ParticleDescription Distinct(uint32_t version) {
    ParticleDescription d;
    d.version = version;
    d.maximumParticles = 40;
    d.emissionDuration = 2.5f;
    d.gravityOn = false;
    d.gravity = 3;
    d.floorHeight = -4;
    d.bounceFactor = 0.5f;
    d.dieWhenSlow = false;
    d.minimumSpeedFactor = 0.2f;
    d.interpolatedEmission = false;
    for (int k = 0; k < 6; ++k) {
        d.emissionRate[k] = 1.0f + k;
        d.lifetimeCentre[k] = 2.0f + k;
        d.lifetimeSpread[k] = 0.1f * k;
        d.directionCentre[k] = {float(k), 1, 2};
        d.directionSpread[k] = {0.5f, float(k), 0};
        d.colour[k] = {1, 0.5f, 0.25f, 0.1f * k};
        d.size[k] = 3.0f + k;
        d.speedCentre[k] = 4.0f + k;
    }
    d.emissionShape = 1;
    d.boxMin = {-2, -3, -4};
    d.boxMax = {2, 3, 4};
    return d;
}

TEST_F(ParticleFileTest, BothVersionsGiveTheSameSystemWhenSpreadsAreZero) {
    EXPECT_EQ(ParticleWriter::Write(Distinct(204)).size(), 453u);
    EXPECT_EQ(ParticleWriter::Write(Distinct(203)).size(), 429u);
    const ParticleFileContents v204 = WriteAndRead(Distinct(204));
    const ParticleFileContents v203 = WriteAndRead(Distinct(203));
    const ParticleSettings& s = v204.settings;
    EXPECT_EQ(s.maximumParticles, 40u);
    EXPECT_FLOAT_EQ(s.emissionDuration, 2.5f);
    EXPECT_FALSE(s.gravityOn);
    EXPECT_TRUE(s.floorOn);
    EXPECT_FLOAT_EQ(s.floorHeight, -4);
    EXPECT_FALSE(s.dieWhenSlow);
    EXPECT_FALSE(s.interpolatedEmission);
    EXPECT_FLOAT_EQ(s.emissionRate[5], 6);
    EXPECT_FLOAT_EQ(s.lifetimeSpread[3], 0.3f);
    EXPECT_EQ(s.directionCentre[4], Vec3(4, 1, 2));
    EXPECT_EQ(s.directionSpread[2], Vec3(0.5f, 2, 0));
    EXPECT_EQ(s.colour[5], Vec4(1, 0.5f, 0.25f, 0.5f));
    EXPECT_FLOAT_EQ(s.size[1], 4);
    EXPECT_FLOAT_EQ(s.speedCentre[2], 6);
    EXPECT_EQ(v204.emissionShape, 1u);
    EXPECT_EQ(v204.boxMin, Vec3(-2, -3, -4));
    EXPECT_EQ(v204.boxMax, Vec3(2, 3, 4));
    EXPECT_EQ(std::memcmp(&v203.settings, &v204.settings, sizeof(ParticleSettings)), 0);
    EXPECT_EQ(v203.boxMax, v204.boxMax);

    ParticleDescription spread = Distinct(204);
    spread.speedSpread[4] = 0.75f;
    EXPECT_FLOAT_EQ(WriteAndRead(spread).settings.speedSpread[4], 0.75f);
}

TEST_F(ParticleFileTest, BrokenFilesFailWithTheirTexts) {
    const std::string format = "Incorrect \"fx\\spark.psf\" file format";
    const std::string version = "Incorrect \"fx\\spark.psf\" format version, current is 204";
    const ParticleFaults unchecked{.skipChecks = true};
    ParticleDescription v205;
    v205.version = 205;
    ParticleDescription zeroDuration;
    zeroDuration.emissionDuration = 0;
    ParticleDescription negativeDuration;
    negativeDuration.emissionDuration = -1;
    ParticleDescription hugePool;
    hugePool.maximumParticles = 0x40000000;
    struct Case {
        const char* what;
        ParticleDescription system;
        ParticleFaults faults;
        std::string text;
    };
    const Case cases[] = {
        {"size one over", {}, {.sizeDelta = 1}, format},
        {"magic", {}, {.magic = "OEPSG"}, format},
        {"version 205", v205, unchecked, version},
        {"duration 0 (a looping cycle would never wrap)", zeroDuration, unchecked, format},
        {"negative duration", negativeDuration, unchecked, format},
        {"pool too large for its sprites", hugePool, unchecked, format},
        {"short file",
         {},
         {.truncateBy = 4},
         "Failed to read 4 bytes from \"" + data.root.string() + "\\data\\fx\\spark.psf\" file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.system, c.faults), c.text) << c.what;
}

// Every value a particle is built from must be finite and in range: a NaN or infinite lifetime never ends, a
// lifetime of 0 or less divides by zero, and a NaN anywhere else spreads through every particle.
TEST_F(ParticleFileTest, ValuesThatCannotRunAreRefused) {
    const std::string format = "Incorrect \"fx\\spark.psf\" file format";
    const float nan = std::nanf("");
    const float inf = INFINITY;
    struct Case {
        const char* what;
        std::function<void(ParticleDescription&)> spoil;
    };
    const Case cases[] = {
        {"NaN lifetime", [&](ParticleDescription& d) { d.lifetimeCentre[2] = nan; }},
        {"infinite lifetime", [&](ParticleDescription& d) { d.lifetimeCentre[0] = inf; }},
        {"zero lifetime", [&](ParticleDescription& d) { d.lifetimeCentre[5] = 0; }},
        {"negative lifetime", [&](ParticleDescription& d) { d.lifetimeCentre[1] = -2; }},
        {"spread reaching below zero", [&](ParticleDescription& d) { d.lifetimeSpread[3] = 1; }},
        {"negative spread", [&](ParticleDescription& d) { d.lifetimeSpread[3] = -0.5f; }},
        {"NaN rate", [&](ParticleDescription& d) { d.emissionRate[0] = nan; }},
        {"infinite rate", [&](ParticleDescription& d) { d.emissionRate[4] = inf; }},
        {"negative rate", [&](ParticleDescription& d) { d.emissionRate[4] = -1; }},
        {"NaN gravity", [&](ParticleDescription& d) { d.gravity = nan; }},
        {"infinite floor", [&](ParticleDescription& d) { d.floorHeight = -inf; }},
        {"NaN direction", [&](ParticleDescription& d) { d.directionCentre[1][2] = nan; }},
        {"NaN colour", [&](ParticleDescription& d) { d.colour[3][3] = nan; }},
        {"infinite size", [&](ParticleDescription& d) { d.size[0] = inf; }},
        {"NaN speed spread", [&](ParticleDescription& d) { d.speedSpread[5] = nan; }},
        {"NaN box", [&](ParticleDescription& d) { d.boxMax[1] = nan; }},
    };
    for (const Case& c : cases) {
        ParticleDescription system;
        c.spoil(system);
        EXPECT_EQ(ErrorOf(system, {.skipChecks = true}), format) << c.what;
    }
    ParticleDescription still;
    still.emissionRate = {0, 0, 0, 0, 0, 0};
    still.lifetimeSpread = {0.5f, 0, 0, 0, 0, 0.999f};
    EXPECT_FLOAT_EQ(WriteAndRead(still).settings.lifetimeSpread[5], 0.999f) << "the edges of the ranges load";
}

TEST(ParticleWriterTest, RefusesSystemsThatCannotRun) {
    ParticleDescription zero;
    zero.emissionDuration = 0;
    ParticleDescription deadOnArrival;
    deadOnArrival.lifetimeCentre[2] = 0.5f;
    deadOnArrival.lifetimeSpread[2] = 0.5f;
    ParticleDescription shape;
    shape.emissionShape = 3;
    for (const ParticleDescription& d : {zero, deadOnArrival, shape})
        EXPECT_THROW(ParticleWriter::Write(d), VbFormats::FormatError);
}

} // namespace
