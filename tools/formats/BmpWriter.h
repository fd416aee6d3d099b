// Writes Windows bitmaps: 8-bit with a palette, 24 or 32 bits, a 40-byte information header and rows
// bottom-up, padded to 4 bytes. The knobs below the first make broken files for the loader's tests.
#pragma once

#include "tools/formats/Picture.h"

namespace VelmoraFormats {

struct BmpOptions {
    uint32_t bitCount = 24; // 8 (palette of the picture's colours, at most 256), 24 or 32
    // Fixture knobs.
    uint16_t magic = 0x4D42; // "BM"
    uint32_t compression = 0;
    bool topDown = false; // a negative height, rows top row first
};

// Throws std::runtime_error for a bit count other than 8, 24, 32 or more than 256 colours at 8 bits.
std::vector<uint8_t> WriteBmp(const Picture& picture, const BmpOptions& options = {});

} // namespace VelmoraFormats
