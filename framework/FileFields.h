// Fields of the framework's saved files (profiles, the profile index, high scores): little-endian numbers
// read and written through an open FileBinary (reads past the end throw its FileError), the check of a
// stored record count, and the keeping of a file that no longer reads. Free functions.
#pragma once

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FilePaths.h"

#include <bit>
#include <cstdint>
#include <string>

namespace GameFramework {

inline void WriteU32(OrvexEngine::FileBinary& file, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    file.Write(bytes, 4);
}

inline uint32_t ReadU32(OrvexEngine::FileBinary& file) {
    uint8_t bytes[4] = {};
    file.Read(bytes, 4);
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

inline void WriteF32(OrvexEngine::FileBinary& file, float value) {
    WriteU32(file, std::bit_cast<uint32_t>(value));
}

inline float ReadF32(OrvexEngine::FileBinary& file) {
    return std::bit_cast<float>(ReadU32(file));
}

inline void WriteU8(OrvexEngine::FileBinary& file, uint8_t value) {
    file.Write(&value, 1);
}

inline uint8_t ReadU8(OrvexEngine::FileBinary& file) {
    uint8_t value = 0;
    file.Read(&value, 1);
    return value;
}

// Throws the file's format error unless count records of at least recordBytes each fit in what is left:
// a damaged count must fail at once, not after millions of reads or a huge allocation.
inline void CheckRecordCount(OrvexEngine::FileBinary& file, uint32_t count, uint32_t recordBytes) {
    const uint64_t left = file.GetSize() - file.GetPosition();
    if (uint64_t(count) * recordBytes > left)
        throw OrvexEngine::FileError("Incorrect \"" + file.GetName() + "\" file format");
}

// A saved file that exists but cannot be read is about to be replaced by an empty one: it is kept as
// path + ".bad" (replacing an older one), so that what it held can still be recovered by hand.
inline void KeepUnreadableFile(const std::string& path) {
    if (OrvexEngine::FileExistsOnDisk(path))
        OrvexEngine::ReplaceFileOnDisk(path, path + ".bad");
}

} // namespace GameFramework
