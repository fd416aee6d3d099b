#include "engine/graphics/ModelFile.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"

#include <cstring>

namespace OrvexEngine {

namespace {

constexpr uint32_t modelMemoryLimit = 8388608;
constexpr uint32_t staticFlag = 0x1;
constexpr uint32_t vertexAnimationFlag = 0x2;
constexpr uint32_t skinnedFlag = 0x4;
constexpr uint32_t vertexBufferKindFlag = 0x200000;
constexpr uint64_t maxUnfilledVertices = 1u << 20;
// Exclusion byte, name of at least its count byte, box, two spare words.
constexpr uint64_t minimumBoneBytes = 1 + 1 + 24 + 4;

// Reads little-endian values and refuses counts that would need more bytes than the file still holds, so
// that nothing is allocated for a count the file cannot back.
class Reader {
public:
    Reader(FileBinary& file, const std::string& name) : file(file), name(name) {}

    [[noreturn]] void FormatError() const { throw FileError("Incorrect \"" + name + "\" file format"); }

    void Need(uint64_t bytes) const {
        if (bytes > uint64_t(file.GetSize()) - file.GetPosition())
            FormatError();
    }
    // Count times size compared by division: two 32-bit counts times a record size can wrap 64 bits.
    void NeedRecords(uint64_t count, uint64_t recordBytes) const {
        if (count > (uint64_t(file.GetSize()) - file.GetPosition()) / recordBytes)
            FormatError();
    }
    uint8_t U8() {
        uint8_t value = 0;
        file.Read(&value, 1);
        return value;
    }
    uint16_t U16() {
        uint8_t bytes[2];
        file.Read(bytes, 2);
        return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    }
    uint32_t U32() {
        uint8_t bytes[4];
        file.Read(bytes, 4);
        return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
               uint32_t(bytes[3]) << 24;
    }
    float F32() {
        const uint32_t bits = U32();
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    Vec2 V2() {
        Vec2 v;
        v.x = F32();
        v.y = F32();
        return v;
    }
    Vec3 V3() {
        Vec3 v;
        v.x = F32();
        v.y = F32();
        v.z = F32();
        return v;
    }
    void Floats(float* destination, size_t count) {
        for (size_t i = 0; i < count; ++i)
            destination[i] = F32();
    }
    FileBinary& file;

private:
    const std::string& name;
};

BoundingBox ReadBox(Reader& in) {
    const Vec3 min = in.V3();
    const Vec3 max = in.V3();
    BoundingBox box;
    box.Set(min, max);
    return box;
}

// Texture coordinates, normal, position: the file's order.
FrameVertex ReadVertex(Reader& in) {
    FrameVertex vertex;
    vertex.uv = in.V2();
    vertex.normal = in.V3();
    vertex.position = in.V3();
    return vertex;
}

void ReadBody(Reader& in, uint32_t extraFlags, ModelFileContents& out) {
    out.flags = in.U32() | extraFlags;
    if (out.flags == 0)
        out.flags = vertexBufferKindFlag;
    const uint32_t flags = out.flags;

    out.frameCount = 1;
    out.speed = 0;
    if (flags & (vertexAnimationFlag | skinnedFlag)) {
        out.frameCount = in.U32();
        out.speed = in.F32();
        // An animation needs a frame to show and to bound.
        if (out.frameCount == 0)
            in.FormatError();
    }
    const uint64_t frames = out.frameCount;

    uint32_t boneCount = 0;
    if (flags & skinnedFlag) {
        boneCount = in.U16();
        in.Need(boneCount * minimumBoneBytes);
        out.skeleton = std::make_unique<Skeleton>(static_cast<uint16_t>(boneCount));
        for (uint32_t i = 0; i < boneCount; ++i) {
            Bone& bone = out.skeleton->GetBone(i);
            bone.boundsExclusion = in.U8();
            in.file.ReadString(bone.name);
            if (out.version == 202)
                bone.pivot = in.V3();
            const Vec3 min = in.V3();
            const Vec3 max = in.V3();
            bone.box.Set(min, max);
            in.U16();
            in.U16();
        }
        const uint64_t keyFloats = uint64_t(boneCount) * frames * 10;
        if (keyFloats > 0) {
            in.Need(keyFloats * 4);
            out.keys.resize(keyFloats);
            in.Floats(out.keys.data(), out.keys.size());
        }
    }

    const uint32_t indexCount = in.U32();
    out.vertexCount = in.U32();
    const uint32_t indexSize = indexCount <= 65535 ? 2 : 4;
    in.Need(uint64_t(indexCount) * indexSize);
    out.indices.resize(indexCount);
    for (uint32_t& index : out.indices) {
        index = indexSize == 2 ? in.U16() : in.U32();
        // Draws, bounds and picks read the vertices through the indices.
        if (index >= out.vertexCount)
            in.FormatError();
    }

    const uint64_t vertexCount = out.vertexCount;
    constexpr uint64_t vertexBytes = 32;
    if (flags & staticFlag) {
        in.Need(vertexCount * vertexBytes);
        out.vertices.resize(vertexCount);
        for (FrameVertex& vertex : out.vertices)
            vertex = ReadVertex(in);
    } else if (flags & vertexAnimationFlag) {
        in.NeedRecords(vertexCount * frames, vertexBytes);
        out.vertices.resize(vertexCount * frames);
        for (FrameVertex& vertex : out.vertices)
            vertex = ReadVertex(in);
    } else if (flags & skinnedFlag) {
        // Each skinned vertex takes at least its texture coordinates and its influence count.
        in.Need(vertexCount * 10);
        out.skinnedUvs.resize(vertexCount);
        out.influences.resize(vertexCount);
        for (uint64_t v = 0; v < vertexCount; ++v) {
            out.skinnedUvs[v] = in.V2();
            VertexInfluences& record = out.influences[v];
            record.count = in.U16();
            if (record.count > VertexInfluences::maxInfluences)
                in.FormatError();
            for (uint16_t i = 0; i < record.count; ++i) {
                BoneInfluence& influence = record.influences[i];
                influence.bone = in.U16();
                if (influence.bone >= boneCount)
                    in.FormatError();
                influence.weight = in.F32();
                influence.normal = in.V3();
                influence.position = in.V3();
            }
        }
    } else if (vertexCount > maxUnfilledVertices) {
        // No vertex block: the count only sizes a buffer nobody fills from the file; keep it plausible.
        in.FormatError();
    }

    if (flags & vertexAnimationFlag) {
        in.Need(frames * 24);
        out.frameBoxes.resize(frames);
        for (BoundingBox& box : out.frameBoxes)
            box = ReadBox(in);
        out.box = out.frameBoxes[0];
    } else {
        out.box = ReadBox(in);
    }
}

} // namespace

void ModelFile::Read(const std::string& name, uint32_t extraFlags, ModelFileContents& contents) {
    contents = ModelFileContents();
    std::unique_ptr<FileBinary> file(
        FileManager::Instance()->OpenFile(MakeDataPath(name), false, modelMemoryLimit));
    Reader in(*file, name);
    uint8_t header[13];
    file->Read(header, sizeof header);
    const uint32_t storedSize = uint32_t(header[0]) | uint32_t(header[1]) << 8 | uint32_t(header[2]) << 16 |
                                uint32_t(header[3]) << 24;
    if (std::memcmp(header + 4, "OEMLF", 5) != 0 || storedSize != file->GetSize())
        in.FormatError();
    contents.version = uint32_t(header[9]) | uint32_t(header[10]) << 8 | uint32_t(header[11]) << 16 |
                       uint32_t(header[12]) << 24;
    if (contents.version != 202 && contents.version != 201)
        throw FileError("Incorrect \"" + name + "\" format version, current is 202");
    ReadBody(in, extraFlags, contents);
}

} // namespace OrvexEngine
