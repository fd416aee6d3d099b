#include "tools/formats/StageMapWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

namespace VbFormats {

std::vector<uint8_t> StageMapWriter::Write(const std::vector<StageMapIcon>& icons,
                                           const StageMapFaults& faults) {
    if (!faults.skipChecks)
        for (size_t i = 0; i < icons.size(); ++i)
            if (icons[i].type > typePath)
                throw FormatError("stage map: icon " + std::to_string(i) + ": type " +
                                  std::to_string(icons[i].type) + " is not 0 to 3");
    VersionedWriter out(faults.magic, faults.version);
    out.U32(faults.iconCount >= 0 ? static_cast<uint32_t>(faults.iconCount)
                                  : static_cast<uint32_t>(icons.size()));
    for (const StageMapIcon& icon : icons) {
        out.U32(icon.type);
        for (float value : icon.placement)
            out.F32(value);
    }
    out.Truncate(faults.truncateBy);
    return out.Close(faults.sizeDelta);
}

void StageMapWriter::Save(const std::string& path, const std::vector<StageMapIcon>& icons,
                          const StageMapFaults& faults) {
    SaveBytes(path, Write(icons, faults));
}

} // namespace VbFormats
