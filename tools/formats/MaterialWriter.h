// Writes material files ("OESRF" 211): flags, four RGBA colours, two values, the blend pair, the stage count
// and up to two stage entries whose optional fields depend on the animation kind. The data tools make the
// game's materials with it and tests make their fixtures; one writer per file, owned by its user.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

struct MaterialStage {
    uint32_t flags = 0;      // bit 0 mip-map request, bit 1 random start frame, bit 2 no images
    uint32_t kind = 0;       // 0 still, 1 atlas, 2 numbered colour, 3 numbered opacity, 4 both numbered
    uint32_t frameCount = 0; // written when kind is not 0
    float speed = 0;         // written when kind is not 0
    uint32_t columns = 1;    // written when kind is 1
    uint32_t rows = 1;       // written when kind is 1
    std::string colorImage;
    std::string opacityImage;
    int32_t addressU = 1; // 0 clamp, 1 wrap
    int32_t addressV = 1;
    float scaleU = 1, scaleV = 1;
    float offsetU = 0, offsetV = 0;
};

struct Material {
    uint32_t flags = 0; // bit 0: alpha blending
    std::array<std::array<float, 4>, 4> colors = {{{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}}};
    float value1 = 0;
    float value2 = 0;
    int32_t blendSource = 0;      // engine blend codes 0..10 (4 source alpha)
    int32_t blendDestination = 0; // (5 inverse source alpha)
    std::vector<MaterialStage> stages;
};

// Deliberate defects for fixtures only; a default-constructed value writes a sound file.
struct MaterialFaults {
    bool skipChecks = false; // no rule checks: more than two stages, kinds above 4, empty atlases
    std::string magic = "OESRF";
    uint32_t version = 211;
    int32_t sizeDelta = 0;   // added to the header's total size
    uint32_t truncateBy = 0; // bytes cut from the end
    int64_t stageCount = -1; // written instead of the real count when >= 0
};

class MaterialWriter {
public:
    // Throws FormatError naming the rule the material breaks (at most two stages; an atlas needs columns,
    // rows and frames; a sequence has 1 to 10000 frames; kinds 0 to 4; blend codes 0 to 10) unless the faults
    // skip the checks.
    static std::vector<uint8_t> Write(const Material& material, const MaterialFaults& faults = {});
    static void Save(const std::string& path, const Material& material, const MaterialFaults& faults = {});

    static void Check(const Material& material);
};

} // namespace VbFormats
