#include "tools/dump/FileDump.h"

#include <cstring>

namespace VbDump {

namespace {

constexpr size_t headerSize = 13;
constexpr size_t trailerSize = 7; // u32 pack size, then "APC"

using RecordDumper = int (*)(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out);

struct Format {
    const char* magic;
    const char* what;
    RecordDumper records; // null: only the header is printed
};

// Every versioned format of the game; those with a record dumper are printed in full.
const Format formats[] = {
    {"OEPAK", "pack", DumpPack},
    {"OEMLF", "model", DumpModel},
    {"OESRF", "material", DumpMaterial},
    {"OEPSF", "particle system", DumpParticles},
    {"OEFNT", "font description", nullptr},
    {"GFTPF", "texture pack", nullptr},
    {"GFHSF", "high scores", nullptr},
    {"VBPRF", "profile", nullptr},
    {"FLPMF", "profile index", nullptr},
    {"VBVBF", "field", DumpField},
    {"VBVBG", "level geometry", DumpLevelGeometry},
    {"GFGMF", "stage map", DumpStageMap},
};

const Format* FindFormat(const std::string& magic) {
    for (const Format& format : formats)
        if (magic == format.magic)
            return &format;
    return nullptr;
}

// Dumps the versioned file that occupies [base, base + size) of the bytes; returns the problems found.
int DumpVersioned(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    VersionedHeader header = ReadHeader(bytes, base);
    const Format* format = FindFormat(header.magic);
    if (format == nullptr) {
        std::fprintf(out, "  not a versioned file of the game (magic \"%s\")\n",
                     Printable(header.magic).c_str());
        return 1;
    }
    std::fprintf(out, "  header: %s %u, %u bytes stated, %zu present (%s)\n", header.magic.c_str(),
                 header.version, header.totalSize, size, format->what);
    int problems = 0;
    if (header.totalSize != size) {
        std::fprintf(out, "  problem: the stated size differs from the %zu bytes present\n", size);
        ++problems;
    }
    if (format->records == nullptr) {
        std::fprintf(out, "  (no record dump for this format yet)\n");
        return problems;
    }
    return problems + format->records(bytes, base, size, out);
}

} // namespace

std::string Printable(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string result;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            result += c;
        } else {
            result += "\\x";
            result += hex[byte >> 4];
            result += hex[byte & 15];
        }
    }
    return result;
}

VersionedHeader ReadHeader(const std::vector<uint8_t>& bytes, size_t start) {
    ByteCursor cursor(bytes, start);
    VersionedHeader header;
    header.totalSize = cursor.U32("the header's size field");
    header.magic = cursor.Chars(5, "the header's magic");
    header.version = cursor.U32("the header's version");
    return header;
}

bool DumpFile(const std::string& name, const std::vector<uint8_t>& bytes, std::FILE* out) {
    std::fprintf(out, "%s: %zu bytes\n", name.c_str(), bytes.size());
    int problems = 0;
    try {
        bool versioned = bytes.size() >= headerSize &&
                         FindFormat(std::string(reinterpret_cast<const char*>(bytes.data()) + 4, 5));
        bool trailer =
            bytes.size() >= trailerSize && std::memcmp(bytes.data() + bytes.size() - 3, "APC", 3) == 0;
        if (versioned || !trailer) {
            problems += DumpVersioned(bytes, 0, bytes.size(), out);
        } else {
            ByteCursor cursor(bytes, bytes.size() - trailerSize);
            uint32_t size = cursor.U32("the trailer");
            if (size > bytes.size() - trailerSize)
                throw DumpError("the trailer states a pack of " + std::to_string(size) +
                                " bytes, more than the file holds");
            size_t base = bytes.size() - trailerSize - size;
            std::fprintf(out, "  appended pack: %u bytes at offset %zu\n", size, base);
            problems += DumpVersioned(bytes, base, size, out);
        }
    } catch (const DumpError& error) {
        std::fprintf(out, "  broken: %s\n", error.what());
        return false;
    }
    return problems == 0;
}

int DumpPack(const std::vector<uint8_t>& bytes, size_t base, size_t size, std::FILE* out) {
    // Only the pack's own extent is trusted: a view of it, so offsets count from its start.
    std::vector<uint8_t> pack(bytes.begin() + static_cast<std::ptrdiff_t>(base),
                              bytes.begin() + static_cast<std::ptrdiff_t>(base + size));
    ByteCursor cursor(pack, headerSize);
    int problems = 0;
    if (ReadHeader(pack, 0).version != 100) {
        std::fprintf(out, "  problem: the engine reads version 100 only\n");
        ++problems;
    }
    uint32_t count = cursor.U32("the member count");
    std::fprintf(out, "  %u members\n", count);
    // Each member needs at least a two-byte name and an 8-byte entry.
    if (count > cursor.Left() / 10)
        throw DumpError("a count of " + std::to_string(count) + " members cannot fit in the pack");
    std::vector<std::string> names;
    names.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        names.push_back(cursor.String("a member name"));
    std::fprintf(out, "  %10s %10s  %s\n", "offset", "size", "name");
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t offset = cursor.U32("a member entry");
        uint32_t memberSize = cursor.U32("a member entry");
        std::string note;
        if (static_cast<uint64_t>(offset) + memberSize > size) {
            note = "  <- lies beyond the pack's end";
            ++problems;
        }
        for (char c : names[i])
            if (c >= 'A' && c <= 'Z') {
                note += "  <- upper case (looked up lower-cased)";
                break;
            }
        for (uint32_t j = 0; j < i; ++j)
            if (names[j] == names[i]) {
                note += "  <- duplicate (the first one wins)";
                break;
            }
        std::fprintf(out, "  %10u %10u  %s%s\n", offset, memberSize, Printable(names[i]).c_str(),
                     note.c_str());
    }
    return problems;
}

} // namespace VbDump
