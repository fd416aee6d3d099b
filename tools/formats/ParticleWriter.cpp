#include "tools/formats/ParticleWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

#include <cmath>

namespace VbFormats {

namespace {

void WriteTable(BinaryWriter& out, const Float6& table) {
    for (float value : table)
        out.F32(value);
}

template <size_t N> void WriteTable(BinaryWriter& out, const std::array<std::array<float, N>, 6>& table) {
    for (const auto& key : table)
        for (float value : key)
            out.F32(value);
}

} // namespace

void ParticleWriter::Check(const ParticleDescription& system) {
    if (system.version != 203 && system.version != 204)
        throw FormatError("particle system: version must be 203 or 204");
    if (!(system.emissionDuration > 0) || !std::isfinite(system.emissionDuration))
        throw FormatError("particle system: the emission duration must be above 0");
    for (size_t i = 0; i < 6; ++i)
        if (!(system.lifetimeCentre[i] - std::fabs(system.lifetimeSpread[i]) > 0))
            throw FormatError("particle system: lifetimes must stay above 0");
    if (system.maximumParticles == 0 || system.maximumParticles > 65535)
        throw FormatError("particle system: the maximum must be 1 to 65535 particles");
    if (system.emissionShape > 2)
        throw FormatError("particle system: the emission shape must be 0, 1 or 2");
}

std::vector<uint8_t> ParticleWriter::Write(const ParticleDescription& system, const ParticleFaults& faults) {
    if (!faults.skipChecks)
        Check(system);
    VersionedWriter out(faults.magic, system.version);
    out.U32(system.maximumParticles);
    out.F32(system.emissionDuration);
    out.U8(system.gravityOn ? 1 : 0);
    out.F32(system.gravity);
    out.U8(system.floorOn ? 1 : 0);
    out.F32(system.floorHeight);
    out.F32(system.bounceFactor);
    out.U8(system.dieWhenSlow ? 1 : 0);
    out.F32(system.minimumSpeedFactor);
    out.U8(system.interpolatedEmission ? 1 : 0);
    WriteTable(out, system.emissionRate);
    WriteTable(out, system.lifetimeCentre);
    WriteTable(out, system.lifetimeSpread);
    WriteTable(out, system.directionCentre);
    WriteTable(out, system.directionSpread);
    WriteTable(out, system.colour);
    WriteTable(out, system.size);
    WriteTable(out, system.speedCentre);
    if (system.version >= 204)
        WriteTable(out, system.speedSpread);
    out.U32(system.emissionShape);
    for (float value : system.boxMin)
        out.F32(value);
    for (float value : system.boxMax)
        out.F32(value);
    if (faults.truncateBy > 0) {
        std::vector<uint8_t>& bytes = out.Data();
        bytes.resize(bytes.size() > faults.truncateBy ? bytes.size() - faults.truncateBy : 0);
    }
    return out.Close(faults.sizeDelta);
}

void ParticleWriter::Save(const std::string& path, const ParticleDescription& system,
                          const ParticleFaults& faults) {
    SaveBytes(path, Write(system, faults));
}

} // namespace VbFormats
