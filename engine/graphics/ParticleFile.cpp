#include "engine/graphics/ParticleFile.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace OrvexEngine {

namespace {

constexpr uint32_t particleMemoryLimit = 8388608;

class Reader {
public:
    explicit Reader(FileBinary& file) : file(file) {}
    uint32_t U32() {
        uint8_t bytes[4];
        file.Read(bytes, 4);
        return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
               uint32_t(bytes[3]) << 24;
    }
    bool Flag() {
        uint8_t value = 0;
        file.Read(&value, 1);
        return value != 0;
    }
    float F32() {
        const uint32_t bits = U32();
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    void Table(float (&table)[particleKeyCount]) {
        for (float& value : table)
            value = F32();
    }
    template <class V> void Table(V (&table)[particleKeyCount]) {
        for (V& key : table)
            for (int i = 0; i < V::count; ++i)
                key[i] = F32();
    }
    Vec3 V3() {
        Vec3 v;
        for (int i = 0; i < 3; ++i)
            v[i] = F32();
        return v;
    }

private:
    FileBinary& file;
};

template <class V> bool Finite(const V& v) {
    for (int i = 0; i < V::count; ++i)
        if (!std::isfinite(v[i]))
            return false;
    return true;
}

} // namespace

void ParticleFile::Read(const std::string& name, ParticleFileContents& contents) {
    contents = ParticleFileContents();
    const std::string formatText = "Incorrect \"" + name + "\" file format";
    std::unique_ptr<FileBinary> file(
        FileManager::Instance()->OpenFile(MakeDataPath(name), false, particleMemoryLimit));
    uint8_t header[13];
    file->Read(header, sizeof header);
    Reader in(*file);
    const uint32_t storedSize = uint32_t(header[0]) | uint32_t(header[1]) << 8 | uint32_t(header[2]) << 16 |
                                uint32_t(header[3]) << 24;
    if (std::memcmp(header + 4, "OEPSF", 5) != 0 || storedSize != file->GetSize())
        throw FileError(formatText);
    const uint32_t version = uint32_t(header[9]) | uint32_t(header[10]) << 8 | uint32_t(header[11]) << 16 |
                             uint32_t(header[12]) << 24;
    if (version != 204 && version != 203)
        throw FileError("Incorrect \"" + name + "\" format version, current is 204");

    ParticleSettings& s = contents.settings;
    s.maximumParticles = in.U32();
    s.emissionDuration = in.F32();
    s.gravityOn = in.Flag();
    s.gravity = in.F32();
    s.floorOn = in.Flag();
    s.floorHeight = in.F32();
    s.bounceFactor = in.F32();
    s.dieWhenSlow = in.Flag();
    s.minimumSpeedFactor = in.F32();
    s.interpolatedEmission = in.Flag();
    in.Table(s.emissionRate);
    in.Table(s.lifetimeCentre);
    in.Table(s.lifetimeSpread);
    in.Table(s.directionCentre);
    in.Table(s.directionSpread);
    in.Table(s.colour);
    in.Table(s.size);
    in.Table(s.speedCentre);
    if (version == 204)
        in.Table(s.speedSpread);
    contents.emissionShape = in.U32();
    contents.boxMin = in.V3();
    contents.boxMax = in.V3();

    // The update divides by the duration and wraps a looping cycle by it; the pool sizes the sprite group.
    if (!(s.emissionDuration > 0) || !std::isfinite(s.emissionDuration) || s.maximumParticles > maxParticles)
        throw FileError(formatText);
    // A NaN or infinite lifetime never ends (the age never reaches it), one of 0 or less divides by zero, a
    // NaN rate fills the pool for ever, and any other value that is not finite spreads NaN through every
    // particle it touches.
    bool sound = std::isfinite(s.gravity) && std::isfinite(s.floorHeight) && std::isfinite(s.bounceFactor) &&
                 std::isfinite(s.minimumSpeedFactor) && Finite(contents.boxMin) && Finite(contents.boxMax);
    for (int k = 0; k < particleKeyCount && sound; ++k)
        sound = s.emissionRate[k] >= 0 && std::isfinite(s.emissionRate[k]) &&
                std::isfinite(s.lifetimeCentre[k]) && s.lifetimeSpread[k] >= 0 &&
                std::isfinite(s.lifetimeSpread[k]) && s.lifetimeCentre[k] - s.lifetimeSpread[k] > 0 &&
                Finite(s.directionCentre[k]) && Finite(s.directionSpread[k]) && Finite(s.colour[k]) &&
                std::isfinite(s.size[k]) && std::isfinite(s.speedCentre[k]) &&
                std::isfinite(s.speedSpread[k]);
    if (!sound)
        throw FileError(formatText);
}

} // namespace OrvexEngine
