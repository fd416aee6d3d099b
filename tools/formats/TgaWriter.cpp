#include "tools/formats/TgaWriter.h"

#include <cstring>
#include <stdexcept>

namespace VelmoraFormats {

namespace {

// Packets of up to 128 pixels: a repeated pixel when at least two equal ones follow, else raw pixels.
void EncodeRunLength(const std::vector<uint8_t>& raw, uint32_t bytesPerPixel, std::vector<uint8_t>& out) {
    const size_t count = raw.size() / bytesPerPixel;
    auto same = [&](size_t a, size_t b) {
        return std::memcmp(&raw[a * bytesPerPixel], &raw[b * bytesPerPixel], bytesPerPixel) == 0;
    };
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run))
            ++run;
        if (run >= 2) {
            out.push_back(uint8_t(0x80 | (run - 1)));
            out.insert(out.end(), raw.begin() + i * bytesPerPixel, raw.begin() + (i + 1) * bytesPerPixel);
            i += run;
            continue;
        }
        size_t literal = 1;
        while (i + literal < count && literal < 128 &&
               !(i + literal + 1 < count && same(i + literal, i + literal + 1)))
            ++literal;
        out.push_back(uint8_t(literal - 1));
        out.insert(out.end(), raw.begin() + i * bytesPerPixel, raw.begin() + (i + literal) * bytesPerPixel);
        i += literal;
    }
}

} // namespace

std::vector<uint8_t> WriteTga(const Picture& picture, const TgaOptions& options) {
    const uint32_t depth = options.depth;
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32)
        throw std::runtime_error("tga: depth must be 8, 16, 24 or 32");
    if (picture.width > 65535 || picture.height > 65535)
        throw std::runtime_error("tga: at most 65535 pixels wide and high");
    if (options.id.size() > 255)
        throw std::runtime_error("tga: the ID field holds at most 255 bytes");
    const Picture rgba = picture.WithChannels(4);
    const Picture grey = picture.WithChannels(1);
    const uint32_t bytesPerPixel = depth / 8;

    std::vector<uint8_t> out;
    out.push_back(uint8_t(options.id.size()));
    out.push_back(options.colourMapLength > 0 ? 1 : 0);
    uint8_t type = depth == 8 ? 3 : 2;
    out.push_back(uint8_t(options.runLength ? type | 8 : type));
    PutU16(out, 0);
    PutU16(out, options.colourMapLength);
    out.push_back(options.colourMapEntryBits);
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, rgba.width);
    PutU16(out, rgba.height);
    out.push_back(uint8_t(depth));
    uint8_t alphaBits = depth == 32 ? 8 : depth == 16 ? 1 : 0;
    out.push_back(uint8_t(alphaBits | (options.topFirst ? 0x20 : 0)));
    out.insert(out.end(), options.id.begin(), options.id.end());
    out.insert(out.end(), size_t(options.colourMapLength) * options.colourMapEntryBits / 8, 0);

    std::vector<uint8_t> raw;
    raw.reserve(size_t(rgba.width) * rgba.height * bytesPerPixel);
    for (uint32_t r = 0; r < rgba.height; ++r) {
        const uint32_t y = options.topFirst ? r : rgba.height - 1 - r;
        for (uint32_t x = 0; x < rgba.width; ++x) {
            const uint8_t* p = rgba.At(x, y);
            switch (depth) {
            case 8:
                raw.push_back(grey.At(x, y)[0]);
                break;
            case 16: {
                uint32_t v = (p[3] >= 128 ? 0x8000u : 0u) | uint32_t(p[0] >> 3) << 10 |
                             uint32_t(p[1] >> 3) << 5 | uint32_t(p[2] >> 3);
                PutU16(raw, v);
                break;
            }
            default:
                raw.push_back(p[2]);
                raw.push_back(p[1]);
                raw.push_back(p[0]);
                if (depth == 32)
                    raw.push_back(p[3]);
            }
        }
    }
    if (options.runLength)
        EncodeRunLength(raw, bytesPerPixel, out);
    else
        out.insert(out.end(), raw.begin(), raw.end());
    return out;
}

} // namespace VelmoraFormats
