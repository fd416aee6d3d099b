// A BinaryWriter that starts with the 13-byte versioned header every binary format of the game shares:
// u32 total file size (patched by Close), 5 magic characters, u32 version. Created by a format writer.
#pragma once

#include "tools/formats/BinaryWriter.h"

namespace VbFormats {

class VersionedWriter : public BinaryWriter {
public:
    // Throws FormatError when the magic is not 5 characters.
    VersionedWriter(const std::string& magic, uint32_t version);
    ~VersionedWriter() override = default;

    // Patches the size field with the bytes written so far plus sizeDelta (fixtures: a size one off).
    const std::vector<uint8_t>& Close(int32_t sizeDelta = 0);
    // Cuts up to 'count' bytes off the end, never into the header (fixtures: a file that ends early; the
    // size field written by Close then follows the cut, so a reader gets past the header to the short body).
    void Truncate(uint32_t count);

    static constexpr size_t headerSize = 13;
};

} // namespace VbFormats
