// Writes TGA pictures: 8 (grey), 16 (5-5-5 with a one-bit alpha), 24 or 32 bits, raw or run-length
// encoded, bottom row first or (descriptor bit 5) top row first, with an optional ID field and an unused
// colour map that readers must skip.
#pragma once

#include "tools/formats/Picture.h"

namespace VelmoraFormats {

struct TgaOptions {
    uint32_t depth = 24; // 8, 16, 24 or 32
    bool runLength = false;
    bool topFirst = false;
    std::string id;                  // at most 255 bytes
    uint16_t colourMapLength = 0;    // entries of zeros written after the ID field
    uint8_t colourMapEntryBits = 24; // size of one colour-map entry
};

// Throws std::runtime_error for another depth, a picture over 65535 pixels wide or high or a long ID.
std::vector<uint8_t> WriteTga(const Picture& picture, const TgaOptions& options = {});

} // namespace VelmoraFormats
