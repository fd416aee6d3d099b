// Writes field files ("VBVBF" 100): the wall count, then per wall its local box (min, max) and its
// transform, 16 floats row by row with the translation in elements 3, 7 and 11. The data generator writes
// the game's field with it and tests make their fixtures; stateless.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

struct FieldWall {
    std::array<float, 3> min = {0, 0, 0};
    std::array<float, 3> max = {0, 0, 0};
    std::array<float, 16> transform = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct FieldFaults {
    bool skipChecks = false;
    std::string magic = "VBVBF";
    uint32_t version = 100;
    int32_t sizeDelta = 0;
    uint32_t truncateBy = 0;
    int64_t wallCount = -1; // written instead of the real count when >= 0
};

class FieldWriter {
public:
    // Throws FormatError for a wall whose min lies above its max on some axis, unless the faults skip it.
    static std::vector<uint8_t> Write(const std::vector<FieldWall>& walls, const FieldFaults& faults = {});
    static void Save(const std::string& path, const std::vector<FieldWall>& walls,
                     const FieldFaults& faults = {});

    static constexpr size_t wallSize = 88;
};

} // namespace VbFormats
