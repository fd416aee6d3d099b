#include "tools/dump/FileDump.h"

namespace VbDump {

namespace {

constexpr size_t headerSize = 13;

const char* KindName(uint32_t kind) {
    static const char* const names[] = {"still", "atlas", "numbered colour", "numbered opacity",
                                        "numbered colour and opacity"};
    return kind < 5 ? names[kind] : "unknown kind";
}

} // namespace

int DumpMaterial(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    ByteCursor cursor(file, headerSize);
    int problems = 0;
    if (ReadHeader(file, 0).version != 211) {
        std::fprintf(out, "  problem: the engine reads version 211 only\n");
        ++problems;
    }
    uint32_t flags = cursor.U32("the flags");
    std::fprintf(out, "  flags 0x%X%s\n", flags, (flags & 1) != 0 ? " (alpha blending)" : "");
    for (int i = 1; i <= 4; ++i) {
        float rgba[4];
        for (float& channel : rgba)
            channel = cursor.F32("a colour");
        std::fprintf(out, "  colour %d: %g %g %g %g\n", i, rgba[0], rgba[1], rgba[2], rgba[3]);
    }
    float value1 = cursor.F32("value 1");
    float value2 = cursor.F32("value 2");
    int32_t source = static_cast<int32_t>(cursor.U32("the blend source"));
    int32_t destination = static_cast<int32_t>(cursor.U32("the blend destination"));
    std::fprintf(out, "  values %g %g, blend %d %d\n", value1, value2, source, destination);
    if (source < 0 || source > 10 || destination < 0 || destination > 10) {
        std::fprintf(out, "  problem: blend codes run from 0 to 10\n");
        ++problems;
    }
    uint32_t count = cursor.U32("the stage count");
    std::fprintf(out, "  %u stages\n", count);
    if (count > 2) {
        std::fprintf(out, "  problem: the engine stops the program for more than 2 stages\n");
        ++problems;
    }
    for (uint32_t i = 0; i < count && cursor.Left() > 0; ++i) {
        // The whole entry is read before it is printed, so a cut entry shows as broken, not half printed.
        uint32_t stageFlags = cursor.U32("stage flags");
        uint32_t kind = cursor.U32("the animation kind");
        uint32_t frames = kind != 0 ? cursor.U32("the frame count") : 0;
        float speed = kind != 0 ? cursor.F32("the speed") : 0.0f;
        uint32_t columns = kind == 1 ? cursor.U32("the columns") : 1;
        uint32_t rows = kind == 1 ? cursor.U32("the rows") : 1;
        std::string colour = cursor.String("the colour image name");
        std::string opacity = cursor.String("the opacity image name");
        int32_t addressU = static_cast<int32_t>(cursor.U32("address U"));
        int32_t addressV = static_cast<int32_t>(cursor.U32("address V"));
        float scale[2] = {cursor.F32("scale U"), cursor.F32("scale V")};
        float offset[2] = {cursor.F32("offset U"), cursor.F32("offset V")};

        std::fprintf(out, "  stage %u: flags 0x%X, %s", i, stageFlags, KindName(kind));
        if (kind != 0)
            std::fprintf(out, ", %u frames at %g per second", frames, speed);
        if (kind == 1)
            std::fprintf(out, ", %u x %u cells", columns, rows);
        std::fprintf(out, "\n    colour \"%s\", opacity \"%s\"\n", Printable(colour).c_str(),
                     Printable(opacity).c_str());
        std::fprintf(out, "    address %d %d, scale %g %g, offset %g %g\n", addressU, addressV, scale[0],
                     scale[1], offset[0], offset[1]);
        if (kind > 4) {
            std::fprintf(out, "  problem: animation kinds run from 0 to 4\n");
            ++problems;
        }
    }
    if (cursor.Left() > 0)
        std::fprintf(out, "  %zu bytes after the last stage (ignored by the engine)\n", cursor.Left());
    return problems;
}

} // namespace VbDump
