// Writes stage map files ("GFGMF" 100): the element count, then per element its type (0 start, 1 finish,
// 2 check point, 3 path) and its placement, 16 floats row by row with the translation in elements 3, 7 and
// 11, in GUI units relative to the map window. The data generator writes the game's map with it and tests
// make their fixtures; stateless.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

struct StageMapIcon {
    uint32_t type = 3;
    std::array<float, 16> placement = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct StageMapFaults {
    bool skipChecks = false;
    std::string magic = "GFGMF";
    uint32_t version = 100;
    int32_t sizeDelta = 0;
    uint32_t truncateBy = 0;
    int64_t iconCount = -1; // written instead of the real count when >= 0
};

class StageMapWriter {
public:
    static constexpr uint32_t typeStart = 0, typeFinish = 1, typeCheckPoint = 2, typePath = 3;
    static constexpr size_t iconSize = 68;

    // Throws FormatError for a type above 3, unless the faults skip it.
    static std::vector<uint8_t> Write(const std::vector<StageMapIcon>& icons,
                                      const StageMapFaults& faults = {});
    static void Save(const std::string& path, const std::vector<StageMapIcon>& icons,
                     const StageMapFaults& faults = {});
};

} // namespace VbFormats
