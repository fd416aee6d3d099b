#include "tools/dump/ByteCursor.h"

#include <cstring>

namespace VbDump {

void ByteCursor::Need(size_t count, const char* what) const {
    if (at > bytes.size() || count > bytes.size() - at)
        throw DumpError(std::string("file ends at byte ") + std::to_string(bytes.size()) + " inside " + what +
                        " (at byte " + std::to_string(at) + ")");
}

uint8_t ByteCursor::U8(const char* what) {
    Need(1, what);
    return bytes[at++];
}

uint16_t ByteCursor::U16(const char* what) {
    Need(2, what);
    uint16_t value = static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    at += 2;
    return value;
}

uint32_t ByteCursor::U32(const char* what) {
    Need(4, what);
    uint32_t value = static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
                     (static_cast<uint32_t>(bytes[at + 2]) << 16) |
                     (static_cast<uint32_t>(bytes[at + 3]) << 24);
    at += 4;
    return value;
}

float ByteCursor::F32(const char* what) {
    uint32_t raw = U32(what);
    float value = 0;
    std::memcpy(&value, &raw, sizeof(value));
    return value;
}

std::string ByteCursor::String(const char* what) {
    uint8_t count = U8(what);
    if (count == 0)
        throw DumpError(std::string(what) + " has a count byte of 0 (the stored zero is counted)");
    std::string text = Chars(count, what);
    if (text.back() != '\0')
        throw DumpError(std::string(what) + " does not end in a zero byte");
    text.pop_back();
    return text;
}

std::string ByteCursor::Chars(size_t count, const char* what) {
    Need(count, what);
    std::string text(reinterpret_cast<const char*>(bytes.data() + at), count);
    at += count;
    return text;
}

void ByteCursor::Skip(size_t count, const char* what) {
    Need(count, what);
    at += count;
}

} // namespace VbDump
