#include "tools/formats/BinaryWriter.h"

#include "tools/formats/FormatError.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileReplacer.h"

#include <cstring>
#include <filesystem>

namespace VbFormats {

namespace {
constexpr size_t maxStoredUnits = 254; // the count byte also counts the terminator
}

void BinaryWriter::U8(uint8_t value) {
    bytes.push_back(value);
}

void BinaryWriter::U16(uint16_t value) {
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
}

void BinaryWriter::U32(uint32_t value) {
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
}

void BinaryWriter::I32(int32_t value) {
    U32(static_cast<uint32_t>(value));
}

void BinaryWriter::F32(float value) {
    uint32_t raw = 0;
    std::memcpy(&raw, &value, sizeof(raw));
    U32(raw);
}

void BinaryWriter::Bytes(const void* data, size_t count) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + count);
}

void BinaryWriter::String(const std::string& text) {
    if (text.size() > maxStoredUnits)
        throw FormatError("string longer than 254 characters: " + text.substr(0, 32) + "...");
    if (text.find('\0') != std::string::npos)
        throw FormatError("string with a zero byte inside");
    U8(static_cast<uint8_t>(text.size() + 1));
    Bytes(text.data(), text.size());
    U8(0);
}

void BinaryWriter::WideString(const std::wstring& text) {
    std::vector<uint16_t> units;
    for (wchar_t c : text) {
        auto code = static_cast<uint32_t>(c);
        if (code == 0)
            throw FormatError("wide string with a zero unit inside");
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(static_cast<uint16_t>(0xD800 + (code >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(static_cast<uint16_t>(code));
        }
    }
    if (units.size() > maxStoredUnits)
        throw FormatError("wide string longer than 254 UTF-16 units");
    U8(static_cast<uint8_t>(units.size() + 1));
    for (uint16_t unit : units)
        U16(unit);
    U16(0);
}

void BinaryWriter::PatchU32(size_t offset, uint32_t value) {
    if (offset + 4 > bytes.size())
        throw FormatError("patch beyond the written bytes");
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void BinaryWriter::SaveTo(const std::string& path) const {
    SaveBytes(path, bytes);
}

void SaveBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    // A tool killed half-way, or a full disk, must not leave a truncated pack where a good one stood.
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    try {
        if (error)
            throw OrvexEngine::FileError("Failed to open \"" + path + "\" file");
        OrvexEngine::FileReplacer replacer(absolute.string());
        if (!bytes.empty())
            replacer.GetFile().Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
        replacer.Commit();
    } catch (const OrvexEngine::FileError& failure) {
        throw FormatError("cannot write " + path + ": " + failure.GetText());
    }
}

} // namespace VbFormats
