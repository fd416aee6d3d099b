#include "tools/formats/PackReader.h"

#include "tools/formats/FormatError.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace VbFormats {

namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    if (offset + 4 > bytes.size())
        throw FormatError("pack ends inside its directory");
    return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

} // namespace

std::vector<uint8_t> LoadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FormatError("cannot open " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

PackReader::PackReader(const std::string& path) : pack(LoadBytes(path)) {
    Parse();
}

PackReader::PackReader(std::vector<uint8_t> bytes) : pack(std::move(bytes)) {
    Parse();
}

void PackReader::Parse() {
    if (pack.size() < 17 || std::memcmp(pack.data() + 4, "OEPAK", 5) != 0 || U32At(pack, 0) != pack.size())
        throw FormatError("not a pack (magic or total size wrong)");
    if (U32At(pack, 9) != 100)
        throw FormatError("pack version is not 100");
    uint32_t count = U32At(pack, 13);
    if (count > (pack.size() - 17) / 10)
        throw FormatError("pack member count larger than the pack can hold");
    size_t at = 17;
    for (uint32_t i = 0; i < count; ++i) {
        if (at >= pack.size())
            throw FormatError("pack ends inside its directory");
        uint8_t length = pack[at];
        if (length == 0 || at + 1 + length > pack.size())
            throw FormatError("pack member name runs past the pack");
        const char* text = reinterpret_cast<const char*>(pack.data() + at + 1);
        members.push_back(Member{std::string(text, strnlen(text, length)), 0, 0});
        at += 1 + length;
    }
    for (Member& member : members) {
        member.offset = U32At(pack, at);
        member.size = U32At(pack, at + 4);
        at += 8;
        if (static_cast<uint64_t>(member.offset) + member.size > pack.size())
            throw FormatError("pack member " + member.name + " lies beyond the pack's end");
    }
}

std::vector<uint8_t> PackReader::Bytes(const Member& member) const {
    return std::vector<uint8_t>(pack.begin() + member.offset, pack.begin() + member.offset + member.size);
}

} // namespace VbFormats
