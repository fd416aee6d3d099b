#include "engine/graphics/Image.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

namespace OrvexEngine {

namespace {

// Source position of target index i of n targets over m sources, in fixed point with the given number of
// fraction bits. A single target samples the first source: the usual formula would divide by n - 1 = 0.
uint64_t SourcePosition(uint32_t i, uint32_t n, uint32_t m, uint32_t fractionBits) {
    if (n <= 1)
        return 0;
    return (uint64_t(i) * (m - 1) << fractionBits) / (n - 1);
}

uint32_t ClampIndex(int64_t i, uint32_t count) {
    if (i < 0)
        return 0;
    if (i >= int64_t(count))
        return count - 1;
    return uint32_t(i);
}

} // namespace

Image::~Image() {
    Release();
}

void Image::Create(uint32_t newWidth, uint32_t newHeight, uint32_t newBits, bool allocate, uint32_t newSize) {
    if (!empty && (newWidth != width || newHeight != height || newBits != bitsPerPixel))
        Release();
    empty = false;
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBits;
    size = newSize != 0 ? newSize : uint32_t(uint64_t(newWidth) * newHeight * newBits / 8);
    if (data != nullptr && size > allocated) {
        delete[] data;
        data = nullptr;
        allocated = 0;
    }
    if (data == nullptr && allocate) {
        data = new uint8_t[size];
        allocated = size;
    }
}

void Image::Release() {
    delete[] data;
    data = nullptr;
    allocated = 0;
    width = 0;
    height = 0;
    bitsPerPixel = 0;
    empty = true;
}

void Image::Copy(const Image& source) {
    if (&source == this)
        return;
    Create(source.width, source.height, source.bitsPerPixel, source.data != nullptr, source.size);
    if (source.data == nullptr) {
        delete[] data;
        data = nullptr;
        allocated = 0;
    }
    // A header-only source has no bytes to copy; its copy stays header-only.
    if (source.data != nullptr && data != nullptr)
        std::memcpy(data, source.data, size);
}

void Image::Crop(uint32_t x, uint32_t y, uint32_t w, uint32_t h, Image& out) const {
    assert(&out != this && "Crop into another image");
    // A rectangle starting outside the picture copies nothing instead of reading past it.
    x = std::min(x, width);
    y = std::min(y, height);
    uint32_t copiedWidth = std::min(w, width - x);
    uint32_t copiedHeight = std::min(h, height - y);
    out.Create(copiedWidth, copiedHeight, bitsPerPixel, data != nullptr);
    if (data == nullptr)
        return;
    uint32_t bpp = BytesPerPixel();
    for (uint32_t i = 0; i < copiedHeight; ++i)
        std::memcpy(out.Row(i), Row(y + i) + size_t(x) * bpp, size_t(copiedWidth) * bpp);
}

void Image::Resize(uint32_t newWidth, uint32_t newHeight, ResizeFilter filter, Image& out) const {
    assert(&out != this && "Resize into another image, or use ResizeInPlace");
    if (newWidth == width && newHeight == height) {
        out.Copy(*this);
        return;
    }
    out.Create(newWidth, newHeight, bitsPerPixel, data != nullptr);
    if (data == nullptr || width == 0 || height == 0)
        return;
    const uint32_t bpp = BytesPerPixel();
    const size_t rowBytes = size_t(width) * bpp;
    auto sample = [&](uint32_t row, uint32_t column, uint32_t channel) -> int {
        return data[row * rowBytes + size_t(column) * bpp + channel];
    };
    // Source positions depend on the row or the column alone: worked out once, not per channel.
    const uint32_t fractionBits = filter == Bilinear ? 8 : filter == Bicubic ? 7 : 0;
    const uint64_t fractionMask = (uint64_t(1) << fractionBits) - 1;
    std::vector<uint64_t> columns(newWidth);
    for (uint32_t j = 0; j < newWidth; ++j)
        columns[j] = SourcePosition(j, newWidth, width, fractionBits);

    for (uint32_t i = 0; i < newHeight; ++i) {
        uint64_t t = SourcePosition(i, newHeight, height, fractionBits);
        // Bilinear: the last target row stays just below the last source row, never above the first.
        if (filter == Bilinear && i == newHeight - 1 && t > 0)
            --t;
        const int64_t r = int64_t(t >> fractionBits);
        const int fy = int(t & fractionMask);
        uint8_t* target = out.Row(i);
        for (uint32_t j = 0; j < newWidth; ++j) {
            const int64_t c = int64_t(columns[j] >> fractionBits);
            const int fx = int(columns[j] & fractionMask);
            for (uint32_t k = 0; k < bpp; ++k) {
                int value = 0;
                if (filter == Bilinear) {
                    const uint32_t r0 = uint32_t(r), c0 = uint32_t(c);
                    const uint32_t r1 = ClampIndex(r + 1, height), c1 = ClampIndex(c + 1, width);
                    const int64_t sum = int64_t(256 - fx) * (256 - fy) * sample(r0, c0, k) +
                                        int64_t(fx) * (256 - fy) * sample(r0, c1, k) +
                                        int64_t(256 - fx) * fy * sample(r1, c0, k) +
                                        int64_t(fx) * fy * sample(r1, c1, k);
                    value = int(sum >> 16);
                } else if (filter == Bicubic) {
                    // Neighbours beyond an edge repeat the edge sample.
                    int v[4];
                    for (int m = 0; m < 4; ++m) {
                        const uint32_t row = ClampIndex(r - 1 + m, height);
                        v[m] = CubicInterpolate(sample(row, ClampIndex(c - 1, width), k),
                                                sample(row, uint32_t(c), k),
                                                sample(row, ClampIndex(c + 1, width), k),
                                                sample(row, ClampIndex(c + 2, width), k), fx);
                    }
                    value = std::clamp(CubicInterpolate(v[0], v[1], v[2], v[3], fy), 0, 255);
                } else {
                    value = sample(uint32_t(r), uint32_t(c), k);
                }
                target[size_t(j) * bpp + k] = uint8_t(value);
            }
        }
    }
}

void Image::ResizeInPlace(uint32_t newWidth, uint32_t newHeight, ResizeFilter filter) {
    Image temporary;
    Resize(newWidth, newHeight, filter, temporary);
    Copy(temporary);
}

void Image::SwapRedBlue(Image* out) {
    if (bitsPerPixel == 8) {
        if (out != nullptr)
            out->Copy(*this);
        return;
    }
    if (data == nullptr)
        return;
    const uint32_t bpp = BytesPerPixel();
    const size_t pixels = size_t(width) * height;
    if (out != nullptr && out != this) {
        out->Create(width, height, bitsPerPixel, true);
        for (size_t p = 0; p < pixels; ++p) {
            const uint8_t* s = data + p * bpp;
            uint8_t* d = out->data + p * bpp;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            if (bpp == 4)
                d[3] = s[3];
        }
        return;
    }
    for (size_t p = 0; p < pixels; ++p)
        std::swap(data[p * bpp], data[p * bpp + 2]);
}

void Image::ConvertBitsPerPixel(uint32_t newBits, Image* out) {
    if (newBits == bitsPerPixel) {
        if (out != nullptr)
            out->Copy(*this);
        return;
    }
    Image temporary;
    Image& target = out != nullptr && out != this ? *out : temporary;
    target.Create(width, height, newBits, true);
    if (data != nullptr) {
        const size_t pixels = size_t(width) * height;
        const uint32_t from = BytesPerPixel(), to = target.BytesPerPixel();
        for (size_t p = 0; p < pixels; ++p) {
            const uint8_t* s = data + p * from;
            uint8_t* d = target.data + p * to;
            if (bitsPerPixel == 8 && (newBits == 24 || newBits == 32)) {
                std::memset(d, s[0], to);
            } else if (bitsPerPixel == 24 && newBits == 8) {
                d[0] = uint8_t((double(0.222f) * s[0] + double(0.707f) * s[1]) + double(0.071f) * s[2]);
            } else if (bitsPerPixel == 24 && newBits == 32) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                d[3] = 255;
            } else if (bitsPerPixel == 32 && newBits == 8) {
                d[0] = s[3];
            } else if (bitsPerPixel == 32 && newBits == 24) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            } else {
                // Other pairs leave the target as created; fill it so that it never shows stale memory.
                std::memset(target.data, 0, target.size);
                break;
            }
        }
    }
    if (&target == &temporary)
        Copy(temporary);
}

void Image::Paste(uint32_t x, uint32_t y, const Image& source, Image* out) {
    Image* destination = this;
    if (out != nullptr && out != this) {
        out->Copy(*this);
        destination = out;
    }
    const Image* from = &source;
    Image converted;
    if (source.bitsPerPixel != bitsPerPixel) {
        converted.Copy(source);
        converted.ConvertBitsPerPixel(bitsPerPixel);
        from = &converted;
    }
    if (destination->data == nullptr || from->data == nullptr)
        return;
    uint32_t copiedWidth = width < x + uint64_t(1) ? 0 : std::min(from->width, width - x);
    uint32_t copiedHeight = height < y + uint64_t(1) ? 0 : std::min(from->height, height - y);
    const uint32_t bpp = BytesPerPixel();
    for (uint32_t i = 0; i < copiedHeight; ++i)
        std::memcpy(destination->Row(y + i) + size_t(x) * bpp, from->Row(i), size_t(copiedWidth) * bpp);
}

Image* Image::Fill(const Vec4& colour, Image* out) {
    Image* target = this;
    if (out != nullptr && out != this) {
        out->Create(width, height, bitsPerPixel, true);
        target = out;
    } else if (!empty && data == nullptr) {
        Create(width, height, bitsPerPixel, true);
    }
    uint8_t pixel[4] = {};
    uint32_t bpp = target->BytesPerPixel();
    if (bpp == 1) {
        pixel[0] = uint8_t(255.0f * colour.Dot(Vec4(0.222f, 0.707f, 0.071f, 0.0f)));
    } else {
        for (uint32_t k = 0; k < std::min(bpp, 4u); ++k)
            pixel[k] = uint8_t(255.0f * colour[int(k)]);
    }
    if (bpp == 0 || bpp > 4 || target->data == nullptr)
        return target;
    const size_t pixels = size_t(target->width) * target->height;
    for (size_t p = 0; p < pixels; ++p)
        std::memcpy(target->data + p * bpp, pixel, bpp);
    return target;
}

void Image::MakePlaceholder() {
    Create(64, 64, 24, true);
    Fill(Vec4(0.0f, 0.0f, 0.0f, 0.0f));
    Image tile;
    tile.Create(8, 8, 32, true);
    tile.Fill(Vec4(1.0f, 1.0f, 0.0f, 1.0f));
    for (uint32_t i = 0; i < 8; ++i)
        for (uint32_t j = 0; j < 8; ++j)
            if ((i + j) % 2 == 0)
                Paste(8 * i, 8 * j, tile);
}

int Image::CubicInterpolate(int p0, int p1, int p2, int p3, int t) {
    const int64_t a = int64_t(p3 - p2) - (p0 - p1);
    const int64_t b = int64_t(p0 - p1) - a;
    const int64_t c = int64_t(p2) - p0;
    const int64_t value = (((t * a + 128 * b) * t + 16384 * c) * t + 2097152 * int64_t(p1));
    // Arithmetic shift: the floor also for negative values.
    return int(value >> 21);
}

} // namespace OrvexEngine
