// Reads little-endian values from a file's bytes for the dump tool, refusing to read past the end: every
// read that would throws DumpError naming what was being read and where. One per dumped file.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace VbDump {

class DumpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteCursor {
public:
    // bytes must outlive the cursor; the cursor starts at offset 'start'.
    explicit ByteCursor(const std::vector<uint8_t>& bytes, size_t start = 0) : bytes(bytes), at(start) {}

    uint8_t U8(const char* what);
    uint16_t U16(const char* what);
    uint32_t U32(const char* what);
    float F32(const char* what);
    // The game's narrow string: a count byte that includes the stored zero, then the bytes.
    std::string String(const char* what);
    std::string Chars(size_t count, const char* what);
    void Skip(size_t count, const char* what);

    size_t Offset() const { return at; }
    size_t Left() const { return bytes.size() - at; }
    void Seek(size_t offset) { at = offset; }

private:
    void Need(size_t count, const char* what) const;

    const std::vector<uint8_t>& bytes;
    size_t at = 0;
};

} // namespace VbDump
