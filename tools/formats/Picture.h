// A picture as the data tools draw it: 8-bit channels in the usual raster order (top row first, left to
// right), 1 (grey), 2 (grey, alpha), 3 (R, G, B) or 4 (R, G, B, A) channels. The image writers take it and
// lay it out the way each file format stores pictures. A plain value; any number of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VelmoraFormats {

struct Picture {
    Picture() = default;
    Picture(uint32_t width, uint32_t height, uint32_t channels);

    uint8_t* At(uint32_t x, uint32_t y) { return &pixels[(size_t(y) * width + x) * channels]; }
    const uint8_t* At(uint32_t x, uint32_t y) const { return &pixels[(size_t(y) * width + x) * channels]; }
    // The same picture with another channel count: grey spreads to R, G and B; colour becomes grey by the
    // usual luma weights; a missing alpha is 255, a dropped one is lost.
    Picture WithChannels(uint32_t newChannels) const;
    // The next smaller mip level: each pixel the rounded mean of a 2 x 2 block (edges repeat).
    Picture HalfSize() const;

    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 0;
    std::vector<uint8_t> pixels;
};

// Writes the bytes to a file, creating missing folders; throws std::runtime_error when that fails.
void SaveFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Little-endian appenders shared by the writers.
void PutU16(std::vector<uint8_t>& out, uint32_t value);
void PutU32(std::vector<uint8_t>& out, uint32_t value);

} // namespace VelmoraFormats
