// Writes texture packs ("GFTPF" 101): the texture count, then per texture its name, its frame count and
// frames of one number and three float pairs. The data tools write the game's packs with it and tests make
// their fixtures; one writer per file, owned by its user.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

struct TexturePackFrameRecord {
    uint32_t number = 0;
    std::array<float, 2> first = {0, 0};
    std::array<float, 2> second = {1, 1};
    std::array<float, 2> third = {0, 0};
};

struct TexturePackTexture {
    std::string name;
    std::vector<TexturePackFrameRecord> frames;
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound pack.
struct TexturePackFaults {
    bool skipChecks = false; // no rule checks: no textures, repeated names
    std::string magic = "GFTPF";
    uint32_t version = 101;
    int32_t sizeDelta = 0;      // added to the header's total size
    uint32_t truncateBy = 0;    // bytes cut from the end (the size field follows the cut file)
    int64_t textureCount = -1;  // written instead of the real count when >= 0
    int32_t badFrameCount = -1; // this texture's frame count is written as badFrames
    uint32_t badFrames = 0;
};

class TexturePackWriter {
public:
    // Throws FormatError naming the rule the pack breaks (at least one texture, unique names, names of at
    // most 254 bytes) unless the faults skip the checks.
    static std::vector<uint8_t> Write(const std::vector<TexturePackTexture>& textures,
                                      const TexturePackFaults& faults = {});
    static void Save(const std::string& path, const std::vector<TexturePackTexture>& textures,
                     const TexturePackFaults& faults = {});

    static void Check(const std::vector<TexturePackTexture>& textures);
};

} // namespace VbFormats
