// Texture surfaces of the DirectDraw stand-in: one OpenGL texture behind a chain of surfaces, the top level
// and its mip levels (each level reached from the one above through GetAttachedSurface). A level is written
// by locking it (a staging copy in main memory, rows one pitch apart, row 0 the first GL row) and uploaded
// when it is unlocked. Formats: A8R8G8B8, X8R8G8B8, R5G6B5, A4R4G4B4, A1R5G5B5, X1R5G5B5 and DXT1 to DXT5
// through S3TC. Made by DisplayDriver::CreateSurface for texture requests; never lost (the GL texture
// survives what the stand-in calls a lost display).
#pragma once

#include "platform/d3d/D3DTypes.h"

#include <cstdint>
#include <vector>

namespace platform {

class DisplayDriver;
class Surface;

// Surface description flag of a compressed level: SurfaceDesc::linearSize holds its byte count.
constexpr uint32_t DescLinearSize = 0x80000;

class TextureStorage {
public:
    // The descriptions of every level of the request, or an error: ErrInvalidParams for a size of 0 or above
    // 16384 or more levels than the size allows, ErrInvalidPixelFormat for a format GL cannot hold.
    static Result DescribeLevels(const SurfaceDesc& request, std::vector<SurfaceDesc>& levels);

    // Creates the GL texture with storage for every level (the driver's context must be current).
    explicit TextureStorage(const std::vector<SurfaceDesc>& levels);
    TextureStorage(const TextureStorage&) = delete;
    TextureStorage& operator=(const TextureStorage&) = delete;
    ~TextureStorage();

    const SurfaceDesc& GetLevelDesc(uint32_t level) const { return levels[level]; }
    uint32_t GetLevelCount() const { return static_cast<uint32_t>(levels.size()); }
    uint32_t GetTexture() const { return texture; }

    // The staging memory of a level, zero-filled; null when the level is locked already.
    uint8_t* Lock(uint32_t level);
    // Uploads the staging memory and frees it; false when the level was not locked.
    bool Unlock(uint32_t level);

    void AddRef() { ++references; }
    // Deletes the storage with its last reference; returns the references left.
    uint32_t Release();

private:
    void Upload(uint32_t level, const uint8_t* pixels) const;

    std::vector<SurfaceDesc> levels;
    std::vector<std::vector<uint8_t>> staging; // per level, non-empty while locked
    uint32_t texture = 0;                      // GL texture name
    uint32_t references = 1;
};

// Builds a texture chain for the driver: the top level is returned in *out with one reference, each level
// holds a reference to the next one.
Result CreateTextureChain(DisplayDriver* driver, const SurfaceDesc& request, Surface** out);

} // namespace platform
