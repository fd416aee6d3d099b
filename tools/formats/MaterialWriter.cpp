#include "tools/formats/MaterialWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

namespace VbFormats {

void MaterialWriter::Check(const Material& material) {
    if (material.stages.size() > 2)
        throw FormatError("material: at most 2 stages");
    if (material.blendSource < 0 || material.blendSource > 10 || material.blendDestination < 0 ||
        material.blendDestination > 10)
        throw FormatError("material: blend codes are 0 to 10");
    for (const MaterialStage& stage : material.stages) {
        if (stage.kind > 4)
            throw FormatError("material: animation kinds are 0 to 4");
        if (stage.kind == 1 && (stage.columns == 0 || stage.rows == 0 || stage.frameCount == 0))
            throw FormatError("material: an atlas needs columns, rows and frames");
        if (stage.kind >= 2 && (stage.frameCount == 0 || stage.frameCount > 10000))
            throw FormatError("material: a sequence has 1 to 10000 frames");
    }
}

std::vector<uint8_t> MaterialWriter::Write(const Material& material, const MaterialFaults& faults) {
    if (!faults.skipChecks)
        Check(material);
    VersionedWriter out(faults.magic, faults.version);
    out.U32(material.flags);
    for (const auto& color : material.colors)
        for (float component : color)
            out.F32(component);
    out.F32(material.value1);
    out.F32(material.value2);
    out.I32(material.blendSource);
    out.I32(material.blendDestination);
    out.U32(faults.stageCount >= 0 ? static_cast<uint32_t>(faults.stageCount)
                                   : static_cast<uint32_t>(material.stages.size()));
    for (const MaterialStage& stage : material.stages) {
        out.U32(stage.flags);
        out.U32(stage.kind);
        if (stage.kind != 0) {
            out.U32(stage.frameCount);
            out.F32(stage.speed);
        }
        if (stage.kind == 1) {
            out.U32(stage.columns);
            out.U32(stage.rows);
        }
        out.String(stage.colorImage);
        out.String(stage.opacityImage);
        out.I32(stage.addressU);
        out.I32(stage.addressV);
        out.F32(stage.scaleU);
        out.F32(stage.scaleV);
        out.F32(stage.offsetU);
        out.F32(stage.offsetV);
    }
    std::vector<uint8_t> bytes = out.Close(faults.sizeDelta);
    bytes.resize(bytes.size() > faults.truncateBy ? bytes.size() - faults.truncateBy : 0);
    return bytes;
}

void MaterialWriter::Save(const std::string& path, const Material& material, const MaterialFaults& faults) {
    SaveBytes(path, Write(material, faults));
}

} // namespace VbFormats
