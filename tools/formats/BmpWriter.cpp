#include "tools/formats/BmpWriter.h"

#include <map>
#include <stdexcept>

namespace VelmoraFormats {

std::vector<uint8_t> WriteBmp(const Picture& picture, const BmpOptions& options) {
    const uint32_t bits = options.bitCount;
    if (bits != 8 && bits != 24 && bits != 32)
        throw std::runtime_error("bmp: bit count must be 8, 24 or 32");
    const Picture rgba = picture.WithChannels(4);
    const uint32_t bytesPerPixel = bits / 8;
    const uint32_t rowBytes = (rgba.width * bytesPerPixel + 3) & ~3u;

    std::map<uint32_t, uint8_t> palette; // RGB value -> index, in order of first appearance by value
    if (bits == 8) {
        for (size_t p = 0; p < rgba.pixels.size(); p += 4) {
            uint32_t rgb =
                uint32_t(rgba.pixels[p]) << 16 | uint32_t(rgba.pixels[p + 1]) << 8 | rgba.pixels[p + 2];
            palette.emplace(rgb, 0);
        }
        if (palette.size() > 256)
            throw std::runtime_error("bmp: more than 256 colours for an 8-bit bitmap");
        uint8_t index = 0;
        for (auto& entry : palette)
            entry.second = index++;
    }
    const uint32_t paletteBytes = bits == 8 ? 1024 : 0;
    const uint32_t dataOffset = 54 + paletteBytes;

    std::vector<uint8_t> out;
    PutU16(out, options.magic);
    PutU32(out, dataOffset + rowBytes * rgba.height);
    PutU32(out, 0);
    PutU32(out, dataOffset);
    PutU32(out, 40);
    PutU32(out, rgba.width);
    PutU32(out, options.topDown ? uint32_t(-int32_t(rgba.height)) : rgba.height);
    PutU16(out, 1);
    PutU16(out, bits);
    PutU32(out, options.compression);
    PutU32(out, rowBytes * rgba.height);
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, bits == 8 ? 256 : 0);
    PutU32(out, 0);
    if (bits == 8) {
        std::vector<uint8_t> entries(1024, 0);
        for (const auto& [rgb, index] : palette) {
            entries[index * 4 + 0] = uint8_t(rgb);
            entries[index * 4 + 1] = uint8_t(rgb >> 8);
            entries[index * 4 + 2] = uint8_t(rgb >> 16);
        }
        out.insert(out.end(), entries.begin(), entries.end());
    }
    for (uint32_t r = 0; r < rgba.height; ++r) {
        const uint32_t y = options.topDown ? r : rgba.height - 1 - r;
        const size_t rowStart = out.size();
        for (uint32_t x = 0; x < rgba.width; ++x) {
            const uint8_t* p = rgba.At(x, y);
            if (bits == 8) {
                out.push_back(palette.at(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]));
            } else {
                out.push_back(p[2]);
                out.push_back(p[1]);
                out.push_back(p[0]);
                if (bits == 32)
                    out.push_back(p[3]);
            }
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

} // namespace VelmoraFormats
