#include "tools/formats/DdsWriter.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace VelmoraFormats {

namespace {

uint32_t To565(const uint8_t* c) {
    return uint32_t(c[0] >> 3) << 11 | uint32_t(c[1] >> 2) << 5 | uint32_t(c[2] >> 3);
}

void From565(uint32_t v, int* c) {
    int r = int(v >> 11) & 31, g = int(v >> 5) & 63, b = int(v) & 31;
    c[0] = (r << 3) | (r >> 2);
    c[1] = (g << 2) | (g >> 4);
    c[2] = (b << 3) | (b >> 2);
}

int Distance(const uint8_t* p, const int* c) {
    int d = 0;
    for (int k = 0; k < 3; ++k)
        d += (p[k] - c[k]) * (p[k] - c[k]);
    return d;
}

bool IsCompressed(DdsFormat format) {
    return format == DdsFormat::DXT1 || format == DdsFormat::DXT3 || format == DdsFormat::DXT5;
}

void AppendLevel(const Picture& rgba, DdsFormat format, std::vector<uint8_t>& out) {
    if (IsCompressed(format)) {
        for (uint32_t by = 0; by < (rgba.height + 3) / 4; ++by)
            for (uint32_t bx = 0; bx < (rgba.width + 3) / 4; ++bx) {
                uint8_t block[64];
                for (uint32_t y = 0; y < 4; ++y)
                    for (uint32_t x = 0; x < 4; ++x) {
                        const uint8_t* p = rgba.At(std::min(4 * bx + x, rgba.width - 1),
                                                   std::min(4 * by + y, rgba.height - 1));
                        std::copy(p, p + 4, block + 4 * (4 * y + x));
                    }
                uint8_t bytes[16];
                if (format == DdsFormat::DXT1) {
                    EncodeDxtColourBlock(block, true, bytes);
                    out.insert(out.end(), bytes, bytes + 8);
                    continue;
                }
                if (format == DdsFormat::DXT3)
                    EncodeDxtExplicitAlpha(block, bytes);
                else
                    EncodeDxtInterpolatedAlpha(block, bytes);
                EncodeDxtColourBlock(block, false, bytes + 8);
                out.insert(out.end(), bytes, bytes + 16);
            }
        return;
    }
    const uint32_t bytesPerPixel = format == DdsFormat::R5G6B5 ? 2 : 4;
    const uint32_t rowBytes = (rgba.width * bytesPerPixel + 3) & ~3u;
    for (uint32_t y = 0; y < rgba.height; ++y) {
        const size_t rowStart = out.size();
        for (uint32_t x = 0; x < rgba.width; ++x) {
            const uint8_t* p = rgba.At(x, y);
            if (format == DdsFormat::R5G6B5) {
                PutU16(out, To565(p));
            } else {
                out.push_back(p[2]);
                out.push_back(p[1]);
                out.push_back(p[0]);
                out.push_back(format == DdsFormat::A8R8G8B8 ? p[3] : 255);
            }
        }
        out.resize(rowStart + rowBytes, 0);
    }
}

} // namespace

std::vector<uint8_t> WriteDdsHeader(const DdsHeader& header) {
    std::vector<uint8_t> out;
    PutU32(out, FourCC("DDS "));
    PutU32(out, 124);
    PutU32(out, header.flags);
    PutU32(out, header.height);
    PutU32(out, header.width);
    PutU32(out, 0); // pitch or linear size: readers compute it
    PutU32(out, header.depth);
    PutU32(out, header.mipMapCount);
    out.insert(out.end(), 44, 0);
    PutU32(out, 32);
    PutU32(out, header.pixelFormatFlags);
    PutU32(out, header.fourCC);
    PutU32(out, header.rgbBitCount);
    PutU32(out, header.redMask);
    PutU32(out, header.greenMask);
    PutU32(out, header.blueMask);
    PutU32(out, header.alphaMask);
    PutU32(out, header.caps1);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    return out;
}

std::vector<uint8_t> WriteDds(const Picture& picture, const DdsOptions& options) {
    if (picture.width == 0 || picture.height == 0)
        throw std::runtime_error("dds: empty picture");
    Picture level = picture.WithChannels(4);
    uint32_t levels = 1;
    if (options.mipMaps)
        for (uint32_t n = std::max(level.width, level.height); n > 1; n >>= 1)
            ++levels;

    DdsHeader header;
    header.width = level.width;
    header.height = level.height;
    header.flags = 0x1007 | (IsCompressed(options.format) ? 0x80000 : 0x8);
    if (options.mipMaps) {
        header.flags |= 0x20000;
        header.mipMapCount = levels;
        header.caps1 |= 0x400008;
    }
    switch (options.format) {
    case DdsFormat::DXT1:
        header.pixelFormatFlags = 0x4;
        header.fourCC = FourCC("DXT1");
        break;
    case DdsFormat::DXT3:
        header.pixelFormatFlags = 0x4;
        header.fourCC = FourCC("DXT3");
        break;
    case DdsFormat::DXT5:
        header.pixelFormatFlags = 0x4;
        header.fourCC = FourCC("DXT5");
        break;
    case DdsFormat::A8R8G8B8:
    case DdsFormat::X8R8G8B8:
        header.pixelFormatFlags = options.format == DdsFormat::A8R8G8B8 ? 0x41 : 0x40;
        header.rgbBitCount = 32;
        header.redMask = 0x00FF0000;
        header.greenMask = 0x0000FF00;
        header.blueMask = 0x000000FF;
        header.alphaMask = options.format == DdsFormat::A8R8G8B8 ? 0xFF000000 : 0;
        break;
    case DdsFormat::R5G6B5:
        header.pixelFormatFlags = 0x40;
        header.rgbBitCount = 16;
        header.redMask = 0xF800;
        header.greenMask = 0x07E0;
        header.blueMask = 0x001F;
        break;
    }
    std::vector<uint8_t> out = WriteDdsHeader(header);
    for (uint32_t i = 0; i < levels; ++i) {
        AppendLevel(level, options.format, out);
        if (i + 1 < levels)
            level = level.HalfSize();
    }
    return out;
}

void EncodeDxtColourBlock(const uint8_t* rgba, bool allowTransparent, uint8_t* out8) {
    bool transparent = false;
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (int i = 0; i < 16; ++i) {
        const uint8_t* p = rgba + 4 * i;
        if (allowTransparent && p[3] < 128) {
            transparent = true;
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], int(p[k]));
            hi[k] = std::max(hi[k], int(p[k]));
        }
    }
    if (lo[0] > hi[0]) // every pixel transparent
        std::fill(lo, lo + 3, 0), std::fill(hi, hi + 3, 0);
    const uint8_t hiBytes[3] = {uint8_t(hi[0]), uint8_t(hi[1]), uint8_t(hi[2])};
    const uint8_t loBytes[3] = {uint8_t(lo[0]), uint8_t(lo[1]), uint8_t(lo[2])};
    uint32_t c0 = To565(hiBytes), c1 = To565(loBytes);
    // Four colours need color0 > color1; three colours and transparency need color0 <= color1.
    if (transparent ? c0 > c1 : c0 < c1)
        std::swap(c0, c1);
    int palette[4][3];
    From565(c0, palette[0]);
    From565(c1, palette[1]);
    const bool fourColours = c0 > c1;
    for (int k = 0; k < 3; ++k) {
        if (fourColours) {
            palette[2][k] = (2 * palette[0][k] + palette[1][k]) / 3;
            palette[3][k] = (palette[0][k] + 2 * palette[1][k]) / 3;
        } else {
            palette[2][k] = (palette[0][k] + palette[1][k]) / 2;
            palette[3][k] = 0;
        }
    }
    out8[0] = uint8_t(c0);
    out8[1] = uint8_t(c0 >> 8);
    out8[2] = uint8_t(c1);
    out8[3] = uint8_t(c1 >> 8);
    for (int row = 0; row < 4; ++row) {
        uint8_t bits = 0;
        for (int column = 0; column < 4; ++column) {
            const uint8_t* p = rgba + 4 * (4 * row + column);
            int best = 0;
            if (transparent && p[3] < 128) {
                best = 3;
            } else {
                int candidates = fourColours ? 4 : 3;
                for (int c = 1; c < candidates; ++c)
                    if (Distance(p, palette[c]) < Distance(p, palette[best]))
                        best = c;
            }
            bits |= uint8_t(best << (2 * column));
        }
        out8[4 + row] = bits;
    }
}

void EncodeDxtExplicitAlpha(const uint8_t* rgba, uint8_t* out8) {
    uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= uint64_t((rgba[4 * i + 3] + 8) / 17) << (4 * i);
    for (int b = 0; b < 8; ++b)
        out8[b] = uint8_t(bits >> (8 * b));
}

void EncodeDxtInterpolatedAlpha(const uint8_t* rgba, uint8_t* out8) {
    int a0 = 0, a1 = 255;
    for (int i = 0; i < 16; ++i) {
        a0 = std::max(a0, int(rgba[4 * i + 3]));
        a1 = std::min(a1, int(rgba[4 * i + 3]));
    }
    int values[8] = {a0, a1};
    if (a0 > a1) {
        for (int k = 1; k <= 6; ++k)
            values[k + 1] = ((7 - k) * a0 + k * a1) / 7;
    } else {
        for (int k = 2; k < 8; ++k)
            values[k] = a0; // a flat block: every index gives a0
    }
    uint64_t bits = uint64_t(a0) | uint64_t(a1) << 8;
    for (int i = 0; i < 16; ++i) {
        int alpha = rgba[4 * i + 3], best = 0;
        for (int k = 1; k < 8; ++k)
            if (std::abs(values[k] - alpha) < std::abs(values[best] - alpha))
                best = k;
        bits |= uint64_t(best) << (16 + 3 * i);
    }
    for (int b = 0; b < 8; ++b)
        out8[b] = uint8_t(bits >> (8 * b));
}

} // namespace VelmoraFormats
