#include "tools/formats/FieldWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

namespace VbFormats {

std::vector<uint8_t> FieldWriter::Write(const std::vector<FieldWall>& walls, const FieldFaults& faults) {
    if (!faults.skipChecks)
        for (size_t i = 0; i < walls.size(); ++i)
            for (int axis = 0; axis < 3; ++axis)
                if (walls[i].min[axis] > walls[i].max[axis])
                    throw FormatError("field: wall " + std::to_string(i) + ": min lies at or below max");
    VersionedWriter out(faults.magic, faults.version);
    out.U32(faults.wallCount >= 0 ? static_cast<uint32_t>(faults.wallCount)
                                  : static_cast<uint32_t>(walls.size()));
    for (const FieldWall& wall : walls) {
        for (float value : wall.min)
            out.F32(value);
        for (float value : wall.max)
            out.F32(value);
        for (float value : wall.transform)
            out.F32(value);
    }
    out.Truncate(faults.truncateBy);
    return out.Close(faults.sizeDelta);
}

void FieldWriter::Save(const std::string& path, const std::vector<FieldWall>& walls,
                       const FieldFaults& faults) {
    SaveBytes(path, Write(walls, faults));
}

} // namespace VbFormats
