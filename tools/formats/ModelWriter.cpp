#include "tools/formats/ModelWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

namespace VbFormats {

namespace {

constexpr uint32_t staticFlag = 0x1;
constexpr uint32_t vertexAnimationFlag = 0x2;
constexpr uint32_t skinnedFlag = 0x4;

void WriteFloats(BinaryWriter& out, const float* values, size_t count) {
    for (size_t i = 0; i < count; ++i)
        out.F32(values[i]);
}

void WriteVertex(BinaryWriter& out, const ModelVertex& vertex) {
    WriteFloats(out, vertex.uv.data(), 2);
    WriteFloats(out, vertex.normal.data(), 3);
    WriteFloats(out, vertex.position.data(), 3);
}

bool Animated(const ModelDescription& model) {
    return (model.flags & (vertexAnimationFlag | skinnedFlag)) != 0;
}

} // namespace

uint32_t ModelWriter::VertexCount(const ModelDescription& model) {
    if (model.flags & staticFlag)
        return static_cast<uint32_t>(model.vertices.size());
    if (model.flags & vertexAnimationFlag)
        return model.frameCount == 0 ? 0 : static_cast<uint32_t>(model.vertices.size() / model.frameCount);
    if (model.flags & skinnedFlag)
        return static_cast<uint32_t>(model.skinnedVertices.size());
    return model.vertexCount;
}

void ModelWriter::Check(const ModelDescription& model) {
    if (model.version != 201 && model.version != 202)
        throw FormatError("model: version must be 201 or 202");
    if (Animated(model) && model.frameCount == 0)
        throw FormatError("model: an animated model needs at least one frame");
    const uint32_t vertexCount = VertexCount(model);
    if ((model.flags & vertexAnimationFlag) && !(model.flags & staticFlag) &&
        model.vertices.size() != size_t(vertexCount) * model.frameCount)
        throw FormatError("model: frame vertices must be a whole number of frames");
    for (uint32_t index : model.indices)
        if (index >= vertexCount)
            throw FormatError("model: index " + std::to_string(index) + " is not below the vertex count");
    const size_t boxes = (model.flags & vertexAnimationFlag) ? model.frameCount : 1;
    if (model.boxes.size() != boxes)
        throw FormatError("model: one box per frame, or one box without vertex animation");
    if (model.flags & skinnedFlag) {
        if (model.bones.size() > 0xFFFF)
            throw FormatError("model: at most 65535 bones");
        if (model.keys.size() != model.bones.size() * model.frameCount * 10)
            throw FormatError("model: key data must hold 10 floats per bone and frame");
        for (const ModelSkinnedVertex& vertex : model.skinnedVertices) {
            if (vertex.influences.size() > 4)
                throw FormatError("model: at most four influences per vertex");
            for (const ModelInfluence& influence : vertex.influences)
                if (influence.bone >= model.bones.size())
                    throw FormatError("model: influence on a bone that does not exist");
        }
    }
}

std::vector<uint8_t> ModelWriter::Write(const ModelDescription& model, const ModelFaults& faults) {
    if (!faults.skipChecks)
        Check(model);
    VersionedWriter out(faults.magic, model.version);
    out.U32(model.flags);
    if (Animated(model)) {
        out.U32(model.frameCount);
        out.F32(model.speed);
    }
    if (model.flags & skinnedFlag) {
        out.U16(static_cast<uint16_t>(model.bones.size()));
        for (const ModelBone& bone : model.bones) {
            out.U8(bone.boundsExclusion);
            out.String(bone.name);
            if (model.version >= 202)
                WriteFloats(out, bone.pivot.data(), 3);
            WriteFloats(out, bone.boxMin.data(), 3);
            WriteFloats(out, bone.boxMax.data(), 3);
            out.U16(0);
            out.U16(0);
        }
        WriteFloats(out, model.keys.data(), model.keys.size());
    }
    const uint32_t indexCount = static_cast<uint32_t>(model.indices.size());
    out.U32(indexCount);
    out.U32(faults.vertexCount >= 0 ? static_cast<uint32_t>(faults.vertexCount) : VertexCount(model));
    const bool wide = faults.wideIndices || indexCount > 65535;
    for (uint32_t index : model.indices) {
        if (wide)
            out.U32(index);
        else
            out.U16(static_cast<uint16_t>(index));
    }
    if (model.flags & (staticFlag | vertexAnimationFlag)) {
        for (const ModelVertex& vertex : model.vertices)
            WriteVertex(out, vertex);
    } else if (model.flags & skinnedFlag) {
        for (const ModelSkinnedVertex& vertex : model.skinnedVertices) {
            WriteFloats(out, vertex.uv.data(), 2);
            out.U16(static_cast<uint16_t>(vertex.influences.size()));
            for (const ModelInfluence& influence : vertex.influences) {
                out.U16(influence.bone);
                out.F32(influence.weight);
                WriteFloats(out, influence.normal.data(), 3);
                WriteFloats(out, influence.position.data(), 3);
            }
        }
    }
    for (const ModelBox& box : model.boxes) {
        WriteFloats(out, box.min.data(), 3);
        WriteFloats(out, box.max.data(), 3);
    }
    if (faults.truncateBy > 0) {
        std::vector<uint8_t>& bytes = out.Data();
        bytes.resize(bytes.size() > faults.truncateBy ? bytes.size() - faults.truncateBy : 0);
    }
    return out.Close(faults.sizeDelta);
}

void ModelWriter::Save(const std::string& path, const ModelDescription& model, const ModelFaults& faults) {
    SaveBytes(path, Write(model, faults));
}

} // namespace VbFormats
