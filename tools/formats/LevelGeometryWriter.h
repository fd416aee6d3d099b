// Writes level geometry files ("VBVBG" 105): the key-frame count and speed of the level animation, the
// texture names, every block (type, flags, texture indices, scale, one or K key frames) and then every
// block's neighbour lists. The level compiler writes the game's levels with it and tests make their
// fixtures; stateless, its result owned by the caller.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

struct LevelKeyFrame {
    std::array<float, 3> position = {0, 0, 0};
    std::array<float, 4> rotation = {0, 0, 0, 1}; // quaternion x, y, z, w
};

struct LevelBlock {
    std::string type;
    uint32_t flags = 0; // bit 0: fixed, never falls
    uint32_t diffuseTexture = 0;
    uint32_t opacityTexture = 0;
    std::array<float, 3> scale = {1, 1, 1};
    bool animated = false;                // false: exactly one key frame; true: the level's K
    std::vector<LevelKeyFrame> keyFrames; // one, or the level's key-frame count
    std::vector<uint16_t> below;          // blocks this one rests on
    std::vector<uint16_t> above;          // blocks resting on this one
};

struct LevelGeometry {
    uint32_t keyFrameCount = 1;
    float animationSpeed = 0;
    std::vector<std::string> textures; // names below game_objects\blocks\textures\; "" for none
    std::vector<LevelBlock> blocks;
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct LevelGeometryFaults {
    bool skipChecks = false; // no rule checks: bad indices, K = 0 with animated blocks, anything
    std::string magic = "VBVBG";
    uint32_t version = 105;
    int32_t sizeDelta = 0;     // added to the header's total size
    uint32_t truncateBy = 0;   // bytes cut from the end (the size field follows the cut file)
    int64_t textureCount = -1; // written instead of the real count when >= 0
    int64_t blockCount = -1;   // written instead of the real count when >= 0
    uint8_t animatedByte = 1;  // the byte written for an animated block (any value but 0 means K frames)
};

class LevelGeometryWriter {
public:
    // Throws FormatError naming the rule the level breaks (see Check) unless the faults skip the checks.
    static std::vector<uint8_t> Write(const LevelGeometry& level, const LevelGeometryFaults& faults = {});
    static void Save(const std::string& path, const LevelGeometry& level,
                     const LevelGeometryFaults& faults = {});

    // The rules the game relies on: texture indices below the texture count, neighbour indices below the
    // block count, below and above lists that mirror each other without cycles, one key frame for a still
    // block and K >= 1 key frames for an animated one, unit quaternions, at most 783 blocks, type names of
    // 1..254 characters.
    static void Check(const LevelGeometry& level);

    static constexpr size_t maxBlocks = 783;
};

} // namespace VbFormats
