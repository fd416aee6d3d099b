#include "tools/dump/FileDump.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VbDump {

namespace {

constexpr size_t headerSize = 13;
constexpr float boxSlack = 1e-4f; // rounding allowed when vertices are checked against a stored box

struct Extent {
    float min[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                    std::numeric_limits<float>::max()};
    float max[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                    std::numeric_limits<float>::lowest()};
    bool empty = true;

    void Add(const float* p) {
        for (int i = 0; i < 3; ++i) {
            min[i] = std::min(min[i], p[i]);
            max[i] = std::max(max[i], p[i]);
        }
        empty = false;
    }
    // True when every point added lies inside the box (within rounding).
    bool Inside(const float* boxMin, const float* boxMax) const {
        for (int i = 0; i < 3 && !empty; ++i)
            if (min[i] < boxMin[i] - boxSlack || max[i] > boxMax[i] + boxSlack)
                return false;
        return true;
    }
};

void Read3(ByteCursor& cursor, float* out, const char* what) {
    for (int i = 0; i < 3; ++i)
        out[i] = cursor.F32(what);
}

std::string Text3(const float* v) {
    char text[96];
    std::snprintf(text, sizeof(text), "(%g %g %g)", v[0], v[1], v[2]);
    return text;
}

// Reads V vertices of the static/frame layout (uv, normal, position); returns their positions' extent and
// counts normals that are not of unit length.
Extent ReadVertices(ByteCursor& cursor, uint32_t count, uint32_t& oddNormals) {
    Extent extent;
    for (uint32_t i = 0; i < count; ++i) {
        cursor.Skip(8, "a vertex's texture coordinates");
        float normal[3];
        float position[3];
        Read3(cursor, normal, "a vertex normal");
        Read3(cursor, position, "a vertex position");
        float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        if (std::fabs(length - 1.0f) > 1e-3f)
            ++oddNormals;
        extent.Add(position);
    }
    return extent;
}

} // namespace

int DumpModel(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    ByteCursor cursor(file, headerSize);
    int problems = 0;
    uint32_t version = ReadHeader(file, 0).version;
    if (version != 201 && version != 202) {
        std::fprintf(out, "  problem: the engine reads versions 201 and 202 only\n");
        ++problems;
    }
    uint32_t flags = cursor.U32("the flags");
    bool isStatic = (flags & 0x1) != 0;
    bool framed = (flags & 0x2) != 0;
    bool skinned = (flags & 0x4) != 0;
    std::fprintf(out, "  flags 0x%X: %s\n", flags,
                 isStatic  ? "static"
                 : framed  ? "vertex-animated"
                 : skinned ? "skinned"
                           : "no vertex block");

    uint32_t frames = 1;
    if (framed || skinned) {
        frames = cursor.U32("the frame count");
        float speed = cursor.F32("the animation speed");
        std::fprintf(out, "  %u frames at %g per second\n", frames, speed);
        // Each frame of a vertex-animated model has its box at the end: a count the bytes cannot hold is
        // refused before anything is sized by it.
        if (framed && uint64_t{frames} * 24 > cursor.Left())
            throw DumpError(std::to_string(frames) + " frames cannot fit in the file");
        if (frames == 0) {
            std::fprintf(out, "  problem: an animated model needs at least one frame\n");
            ++problems;
        }
    }

    uint16_t boneCount = 0;
    if (skinned) {
        boneCount = cursor.U16("the bone count");
        std::fprintf(out, "  %u bones\n", boneCount);
        for (uint16_t i = 0; i < boneCount; ++i) {
            uint8_t exclusion = cursor.U8("a bone's exclusion byte");
            std::string name = cursor.String("a bone name");
            float pivot[3] = {0, 0, 0};
            if (version == 202)
                Read3(cursor, pivot, "a bone pivot");
            float boxMin[3];
            float boxMax[3];
            Read3(cursor, boxMin, "a bone box");
            Read3(cursor, boxMax, "a bone box");
            cursor.Skip(4, "a bone's two unused values");
            std::fprintf(out, "    bone %u \"%s\"%s: pivot %s, box %s-%s\n", i, Printable(name).c_str(),
                         exclusion != 0 ? " (left out of the box)" : "", Text3(pivot).c_str(),
                         Text3(boxMin).c_str(), Text3(boxMax).c_str());
        }
        uint64_t keyBytes = uint64_t{boneCount} * frames * 40;
        cursor.Skip(static_cast<size_t>(keyBytes), "the key data");
        std::fprintf(out, "  key data: %llu bytes (10 floats per bone and frame)\n",
                     static_cast<unsigned long long>(keyBytes));
    }

    uint32_t indexCount = cursor.U32("the index count");
    uint32_t vertexCount = cursor.U32("the vertex count");
    size_t indexSize = indexCount <= 65535 ? 2 : 4;
    std::fprintf(out, "  %u indices of %zu bytes, %u vertices\n", indexCount, indexSize, vertexCount);
    uint32_t highest = 0;
    for (uint32_t i = 0; i < indexCount; ++i)
        highest =
            std::max(highest, indexSize == 2 ? uint32_t{cursor.U16("an index")} : cursor.U32("an index"));
    if (indexCount > 0 && highest >= vertexCount) {
        std::fprintf(out, "  problem: index %u is not below the vertex count\n", highest);
        ++problems;
    }

    std::vector<Extent> frameExtents;
    uint32_t oddNormals = 0;
    if (isStatic) {
        frameExtents.push_back(ReadVertices(cursor, vertexCount, oddNormals));
    } else if (framed) {
        for (uint32_t f = 0; f < frames; ++f)
            frameExtents.push_back(ReadVertices(cursor, vertexCount, oddNormals));
    } else if (skinned) {
        uint32_t influenceCounts[5] = {};
        for (uint32_t i = 0; i < vertexCount; ++i) {
            cursor.Skip(8, "a skinned vertex's texture coordinates");
            uint16_t influences = cursor.U16("an influence count");
            if (influences > 4) {
                std::fprintf(out, "  problem: vertex %u has %u influences (at most 4)\n", i, influences);
                ++problems;
            }
            ++influenceCounts[std::min<uint16_t>(influences, 4)];
            for (uint16_t k = 0; k < influences; ++k) {
                uint16_t bone = cursor.U16("an influence's bone");
                cursor.Skip(28, "an influence");
                if (bone >= boneCount) {
                    std::fprintf(out, "  problem: vertex %u names bone %u of %u\n", i, bone, boneCount);
                    ++problems;
                }
            }
        }
        std::fprintf(out, "  influences per vertex: 0: %u, 1: %u, 2: %u, 3: %u, 4 or more: %u\n",
                     influenceCounts[0], influenceCounts[1], influenceCounts[2], influenceCounts[3],
                     influenceCounts[4]);
    }
    if (oddNormals > 0)
        std::fprintf(out, "  %u vertices with a normal that is not of unit length\n", oddNormals);

    uint32_t boxes = framed ? frames : 1;
    for (uint32_t b = 0; b < boxes; ++b) {
        float boxMin[3];
        float boxMax[3];
        Read3(cursor, boxMin, "a bounding box");
        Read3(cursor, boxMax, "a bounding box");
        std::string note;
        if (b < frameExtents.size() && !frameExtents[b].Inside(boxMin, boxMax)) {
            note = "  <- vertices " + Text3(frameExtents[b].min) + "-" + Text3(frameExtents[b].max) +
                   " reach outside";
            ++problems;
        }
        std::fprintf(out, "  box %u: %s-%s%s\n", b, Text3(boxMin).c_str(), Text3(boxMax).c_str(),
                     note.c_str());
    }
    if (cursor.Left() > 0)
        std::fprintf(out, "  %zu bytes after the bounds (ignored by the engine)\n", cursor.Left());
    return problems;
}

} // namespace VbDump
