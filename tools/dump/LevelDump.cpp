#include "tools/dump/FileDump.h"

namespace VbDump {

namespace {

constexpr size_t headerSize = 13;
constexpr size_t keyFrameSize = 28;
// The smallest block record: a one-character type, flags, two indices, scale, the animated byte, one frame.
constexpr size_t minimumBlockSize = 3 + 4 + 4 + 4 + 12 + 1 + keyFrameSize;

} // namespace

int DumpLevelGeometry(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    ByteCursor cursor(file, headerSize);
    int problems = 0;
    if (ReadHeader(file, 0).version != 105) {
        std::fprintf(out, "  problem: the game reads version 105 only\n");
        ++problems;
    }
    uint32_t keyFrames = cursor.U32("the key-frame count");
    float speed = cursor.F32("the animation speed");
    std::fprintf(out, "  %u key frames at %g per second\n", keyFrames, speed);
    uint32_t textureCount = cursor.U32("the texture count");
    if (textureCount > cursor.Left() / 2)
        throw DumpError("a count of " + std::to_string(textureCount) + " textures cannot fit in the file");
    std::fprintf(out, "  %u textures\n", textureCount);
    for (uint32_t i = 0; i < textureCount; ++i) {
        std::string name = cursor.String("a texture name");
        std::fprintf(out, "    %u: \"%s\"\n", i, Printable(name).c_str());
    }
    uint32_t blockCount = cursor.U32("the block count");
    if (blockCount > cursor.Left() / minimumBlockSize)
        throw DumpError("a count of " + std::to_string(blockCount) + " blocks cannot fit in the file");
    std::fprintf(out, "  %u blocks\n", blockCount);
    for (uint32_t i = 0; i < blockCount; ++i) {
        std::string type = cursor.String("a block's type");
        uint32_t flags = cursor.U32("a block's flags");
        uint32_t diffuse = cursor.U32("a diffuse index");
        uint32_t opacity = cursor.U32("an opacity index");
        float scale[3] = {cursor.F32("the scale"), cursor.F32("the scale"), cursor.F32("the scale")};
        uint8_t animated = cursor.U8("the animated byte");
        std::fprintf(out, "  block %u \"%s\": flags 0x%X%s, textures %u/%u, scale %g %g %g, %s\n", i,
                     Printable(type).c_str(), flags, (flags & 1) != 0 ? " (fixed)" : "", diffuse, opacity,
                     scale[0], scale[1], scale[2], animated != 0 ? "animated" : "still");
        if (diffuse >= textureCount || opacity >= textureCount) {
            std::fprintf(out, "  problem: a texture index lies beyond the %u textures\n", textureCount);
            ++problems;
        }
        uint32_t frames = animated != 0 ? keyFrames : 1;
        if (frames == 0) {
            std::fprintf(out, "  problem: an animated block in a level without key frames\n");
            ++problems;
        }
        for (uint32_t k = 0; k < frames; ++k) {
            float v[7];
            for (float& value : v)
                value = cursor.F32("a key frame");
            std::fprintf(out, "    frame %u: position %g %g %g, rotation %g %g %g %g\n", k, v[0], v[1], v[2],
                         v[3], v[4], v[5], v[6]);
        }
    }
    for (uint32_t i = 0; i < blockCount; ++i) {
        std::fprintf(out, "  block %u", i);
        for (const char* side : {"below", "above"}) {
            uint16_t count = cursor.U16("a neighbour count");
            std::fprintf(out, " %s [", side);
            for (uint16_t j = 0; j < count; ++j) {
                uint16_t index = cursor.U16("a neighbour index");
                std::fprintf(out, j == 0 ? "%u" : " %u", index);
                if (index >= blockCount) {
                    std::fprintf(out, " <- no such block");
                    ++problems;
                }
            }
            std::fprintf(out, "]");
        }
        std::fprintf(out, "\n");
    }
    if (cursor.Left() > 0)
        std::fprintf(out, "  %zu bytes after the last neighbour record (ignored by the game)\n",
                     cursor.Left());
    return problems;
}

int DumpField(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    ByteCursor cursor(file, headerSize);
    int problems = 0;
    if (ReadHeader(file, 0).version != 100) {
        std::fprintf(out, "  problem: the game reads version 100 only\n");
        ++problems;
    }
    uint32_t count = cursor.U32("the wall count");
    std::fprintf(out, "  %u walls\n", count);
    if (count > cursor.Left() / 88)
        throw DumpError("a count of " + std::to_string(count) + " walls cannot fit in the file");
    if (cursor.Left() != static_cast<size_t>(count) * 88) {
        std::fprintf(out, "  problem: %zu bytes follow the count, not %u x 88\n", cursor.Left(), count);
        ++problems;
    }
    for (uint32_t i = 0; i < count; ++i) {
        float v[22];
        for (float& value : v)
            value = cursor.F32("a wall");
        std::fprintf(out, "  wall %u: min %g %g %g, max %g %g %g\n", i, v[0], v[1], v[2], v[3], v[4], v[5]);
        for (int row = 0; row < 4; ++row)
            std::fprintf(out, "    %g %g %g %g\n", v[6 + row * 4], v[7 + row * 4], v[8 + row * 4],
                         v[9 + row * 4]);
    }
    return problems;
}

int DumpStageMap(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    ByteCursor cursor(file, headerSize);
    int problems = 0;
    if (ReadHeader(file, 0).version != 100) {
        std::fprintf(out, "  problem: the game reads version 100 only\n");
        ++problems;
    }
    const uint32_t count = cursor.U32("the icon count");
    std::fprintf(out, "  %u icons\n", count);
    if (count > cursor.Left() / 68)
        throw DumpError("a count of " + std::to_string(count) + " icons cannot fit in the file");
    if (cursor.Left() != static_cast<size_t>(count) * 68) {
        std::fprintf(out, "  problem: %zu bytes follow the count, not %u x 68\n", cursor.Left(), count);
        ++problems;
    }
    static const char* const types[] = {"start", "finish", "check point", "path"};
    uint32_t stage = 0, level = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t type = cursor.U32("an icon type");
        float m[16];
        for (float& value : m)
            value = cursor.F32("an icon placement");
        if (type == 2) {
            ++stage;
            level = 0;
        }
        std::fprintf(out, "  icon %u: %s, level %u-%u, at %g %g %g\n", i, type < 4 ? types[type] : "unknown",
                     stage, level, m[3], m[7], m[11]);
        if (type >= 4) {
            std::fprintf(out, "  problem: type %u draws nothing\n", type);
            ++problems;
        }
        ++level;
    }
    return problems;
}

} // namespace VbDump
