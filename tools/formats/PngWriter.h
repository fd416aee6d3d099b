// Writes PNG files through libpng: grey, grey with alpha, RGB, RGBA or a palette (with a transparency
// chunk when some colour is not opaque), at the bit depths PNG allows for each, optionally interlaced.
#pragma once

#include "tools/formats/Picture.h"

namespace VelmoraFormats {

enum class PngColour { Grey, GreyAlpha, RGB, RGBA, Palette };

struct PngOptions {
    PngColour colour = PngColour::RGBA;
    int bitDepth = 8; // grey 1, 2, 4, 8, 16; palette 1, 2, 4, 8; the others 8 or 16
    bool interlaced = false;
};

// Throws std::runtime_error for a depth the colour type does not allow, or a palette of over 2^depth colours.
// Grey below 8 bits keeps the top bits of each grey value; 16 bits repeat each byte.
std::vector<uint8_t> WritePng(const Picture& picture, const PngOptions& options = {});

} // namespace VelmoraFormats
