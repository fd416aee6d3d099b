#include "tools/dump/FileDump.h"

namespace VbDump {

namespace {

constexpr size_t headerSize = 13;

// One table of six keys with 'width' floats each, printed on one line.
void DumpTable(ByteCursor& cursor, const char* name, int width, std::FILE* out) {
    std::fprintf(out, "  %-17s", name);
    for (int key = 0; key < 6; ++key) {
        std::fputs(key == 0 ? " " : " | ", out);
        for (int i = 0; i < width; ++i)
            std::fprintf(out, i == 0 ? "%g" : " %g", cursor.F32(name));
    }
    std::fprintf(out, "\n");
}

} // namespace

int DumpParticles(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    std::vector<uint8_t> file(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    int problems = 0;
    uint32_t version = ReadHeader(file, 0).version;
    if (version != 203 && version != 204) {
        std::fprintf(out, "  problem: the engine reads versions 203 and 204 only\n");
        ++problems;
    }
    size_t expected = version == 203 ? 429 : 453;
    if (file.size() != expected) {
        std::fprintf(out, "  problem: a version %u file is %zu bytes long\n", version, expected);
        ++problems;
    }

    ByteCursor cursor(file, headerSize);
    uint32_t maximum = cursor.U32("the particle maximum");
    float duration = cursor.F32("the emission duration");
    std::fprintf(out, "  at most %u particles, emission cycle %g s\n", maximum, duration);
    if (maximum == 0 || !(duration > 0)) {
        std::fprintf(out, "  problem: a system needs a maximum above 0 and a duration above 0\n");
        ++problems;
    }
    bool gravityOn = cursor.U8("the gravity switch") != 0;
    float gravity = cursor.F32("the gravity");
    bool floorOn = cursor.U8("the floor switch") != 0;
    float floorHeight = cursor.F32("the floor height");
    float bounce = cursor.F32("the bounce factor");
    bool dieWhenSlow = cursor.U8("the slow-death switch") != 0;
    float minimumSpeed = cursor.F32("the minimum speed factor");
    bool interpolated = cursor.U8("the interpolation switch") != 0;
    std::fprintf(out, "  gravity %s %g, floor %s at %g bouncing %g, die when slow %s below %g, emission %s\n",
                 gravityOn ? "on" : "off", gravity, floorOn ? "on" : "off", floorHeight, bounce,
                 dieWhenSlow ? "on" : "off", minimumSpeed, interpolated ? "interpolated" : "stepped");

    DumpTable(cursor, "emission rate", 1, out);
    DumpTable(cursor, "lifetime centre", 1, out);
    DumpTable(cursor, "lifetime spread", 1, out);
    DumpTable(cursor, "direction centre", 3, out);
    DumpTable(cursor, "direction spread", 3, out);
    DumpTable(cursor, "colour", 4, out);
    DumpTable(cursor, "size", 1, out);
    DumpTable(cursor, "speed centre", 1, out);
    if (version != 203)
        DumpTable(cursor, "speed spread", 1, out);

    uint32_t shape = cursor.U32("the emission shape");
    float boxMin[3];
    float boxMax[3];
    for (float& v : boxMin)
        v = cursor.F32("the emission box");
    for (float& v : boxMax)
        v = cursor.F32("the emission box");
    std::fprintf(out, "  emission shape %u, box (%g %g %g)-(%g %g %g)\n", shape, boxMin[0], boxMin[1],
                 boxMin[2], boxMax[0], boxMax[1], boxMax[2]);
    if (shape > 2) {
        std::fprintf(out, "  problem: emission shapes run from 0 to 2\n");
        ++problems;
    }
    return problems;
}

} // namespace VbDump
