// Builds a little-endian binary file in memory: integers, floats, raw bytes and the game's length-prefixed
// strings (one count byte that includes the stored zero; narrow bytes or UTF-16LE units; at most 254
// characters). Every format writer writes through one; created and owned by its user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

class BinaryWriter {
public:
    BinaryWriter() = default;
    virtual ~BinaryWriter() = default;

    void U8(uint8_t value);
    void U16(uint16_t value);
    void U32(uint32_t value);
    void I32(int32_t value);
    void F32(float value);
    void Bytes(const void* data, size_t count);
    void Bytes(const std::vector<uint8_t>& data) { Bytes(data.data(), data.size()); }
    // Throws FormatError for a text longer than 254 bytes or with a zero inside.
    void String(const std::string& text);
    // The text as UTF-16 units; throws FormatError beyond 254 units or with a zero inside.
    void WideString(const std::wstring& text);

    // Overwrites four bytes already written (sizes known only at the end).
    void PatchU32(size_t offset, uint32_t value);

    size_t Size() const { return bytes.size(); }
    const std::vector<uint8_t>& Data() const { return bytes; }
    std::vector<uint8_t>& Data() { return bytes; }

    // Writes the bytes to a file, creating its missing folders; throws FormatError when that fails.
    void SaveTo(const std::string& path) const;

private:
    std::vector<uint8_t> bytes;
};

// Writes bytes to a file, creating its missing folders; throws FormatError when that fails.
void SaveBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace VbFormats
