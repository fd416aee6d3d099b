#include "engine/graphics/FileDDS.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/ImageFileErrors.h"
#include "engine/graphics/RenderSystem.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace OrvexEngine {

namespace {

constexpr uint32_t headerBytes = 128;

void Widen565(uint32_t v, int* rgb) {
    const int r = int(v >> 11) & 31, g = int(v >> 5) & 63, b = int(v) & 31;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

uint64_t LoadU64(const uint8_t* bytes) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | bytes[i];
    return v;
}

void StoreU64(uint64_t v, uint8_t* bytes) {
    for (int i = 0; i < 8; ++i)
        bytes[i] = uint8_t(v >> (8 * i));
}

// The run of one bits of a mask: its shift and its length (both 0 for an empty mask).
void MaskRun(uint32_t mask, uint32_t& shift, uint32_t& bits) {
    if (mask == 0) {
        shift = bits = 0;
        return;
    }
    shift = uint32_t(std::countr_zero(mask));
    bits = uint32_t(std::countr_one(mask >> shift));
}

uint8_t ChannelValue(uint32_t pixel, uint32_t shift, uint32_t bits) {
    if (bits == 0)
        return 0;
    const uint32_t v = uint32_t((pixel >> shift) & ((uint64_t(1) << bits) - 1));
    return uint8_t(bits < 8 ? RescaleChannelBits(v, bits, 8) : v >> (bits - 8));
}

// The TextureFormat codes the device samples; none (everything decoded) without a device.
uint32_t DeviceTextureFormats() {
    const RenderSystem* renderSystem = RenderSystem::Instance();
    return renderSystem != nullptr ? renderSystem->textureFormats : 0;
}

uint32_t HalveAtLeastOne(uint32_t n, uint32_t level) {
    return std::max(level < 32 ? n >> level : 0u, 1u);
}

} // namespace

void DXTColorBlock::Decode(uint8_t* out64) const {
    int colours[4][4];
    Widen565(color0, colours[0]);
    Widen565(color1, colours[1]);
    colours[0][3] = colours[1][3] = 255;
    for (int k = 0; k < 3; ++k) {
        if (color0 > color1) {
            colours[2][k] = (2 * colours[0][k] + colours[1][k]) / 3;
            colours[3][k] = (colours[0][k] + 2 * colours[1][k]) / 3;
        } else {
            colours[2][k] = (colours[0][k] + colours[1][k]) / 2;
            colours[3][k] = 0;
        }
    }
    colours[2][3] = 255;
    colours[3][3] = color0 > color1 ? 255 : 0;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            const int* c = colours[(rows[row] >> (2 * column)) & 3];
            uint8_t* p = out64 + 4 * (4 * row + column);
            for (int k = 0; k < 4; ++k)
                p[k] = uint8_t(c[k]);
        }
}

void DXTBlock::DecodeExplicitAlpha(uint8_t* out64) const {
    color.Decode(out64);
    const uint64_t bits = LoadU64(alpha);
    for (int k = 0; k < 16; ++k)
        out64[4 * k + 3] = uint8_t(((bits >> (4 * k)) & 15) * 17);
}

void DXTBlock::DecodeInterpolatedAlpha(uint8_t* out64) const {
    color.Decode(out64);
    const int a0 = alpha[0], a1 = alpha[1];
    int values[8] = {a0, a1};
    if (a0 > a1) {
        for (int k = 1; k <= 6; ++k)
            values[k + 1] = ((7 - k) * a0 + k * a1) / 7;
    } else {
        for (int k = 1; k <= 4; ++k)
            values[k + 1] = ((5 - k) * a0 + k * a1) / 5;
        values[6] = 0;
        values[7] = 255;
    }
    const uint64_t bits = LoadU64(alpha);
    for (int k = 0; k < 16; ++k)
        out64[4 * k + 3] = uint8_t(values[(bits >> (16 + 3 * k)) & 7]);
}

uint32_t RescaleChannelBits(uint32_t v, uint32_t n, uint32_t m) {
    if (n == 0)
        return 0;
    if (n < m)
        return (v << (m - n)) | RescaleChannelBits(v, n, m - n);
    return v >> (n - m);
}

FileDDS::FileDDS(const std::string& fileName)
    : FileDDS(FileManager::Instance()->OpenFile(fileName, false, 0), DeviceTextureFormats(), fileName) {}

FileDDS::FileDDS(FileBinary* openFile, uint32_t textureFormats, const std::string& fileName)
    : file(openFile), name(fileName.empty() ? openFile->GetName() : fileName) {
    try {
        ReadHeader();
    } catch (...) {
        delete file;
        file = nullptr;
        throw;
    }
    if (HasFourCC()) {
        const int dxt = DxtNumber();
        const uint32_t code = TextureFormatDXT1 + uint32_t(dxt) - 1;
        format =
            dxt != 0 && (textureFormats & (1u << code)) != 0 ? TextureFormat(code) : TextureFormatA8R8G8B8;
    } else if (HasRGB()) {
        format = alphaMask != 0 ? TextureFormatA8R8G8B8 : TextureFormatR8G8B8;
    }
    // Neither a known block format nor channel masks: nothing here could turn the data into pixels.
    const bool readable = HasFourCC() ? DxtNumber() != 0 : HasRGB() && rgbBitCount >= 1 && rgbBitCount <= 32;
    if (!readable) {
        delete file;
        file = nullptr;
        ThrowUnsupportedFormat(name);
    }
}

FileDDS::~FileDDS() {
    delete file;
}

void FileDDS::ReadHeader() {
    auto read = [this](uint32_t& value) { file->Read(&value, 4); };
    for (uint32_t* field :
         {&magic, &headerSize, &flags, &height, &width, &pitchOrLinearSize, &depth, &mipMapCount})
        read(*field);
    uint8_t reserved[44];
    file->Read(reserved, sizeof(reserved));
    for (uint32_t* field : {&pixelFormatSize, &pixelFormatFlags, &fourCC, &rgbBitCount, &redMask, &greenMask,
                            &blueMask, &alphaMask, &caps[0], &caps[1], &caps[2], &caps[3]})
        read(*field);
    uint32_t reservedLast = 0;
    read(reservedLast);
}

int FileDDS::DxtNumber() const {
    const uint32_t dxt = uint32_t('D') | uint32_t('X') << 8 | uint32_t('T') << 16;
    if ((fourCC & 0xFFFFFF) != dxt)
        return 0;
    const int digit = int(fourCC >> 24) - '0';
    return digit >= 1 && digit <= 5 ? digit : 0;
}

uint32_t FileDDS::GetWidth() const {
    return (flags & 0x4) != 0 ? width : 1;
}

uint32_t FileDDS::GetHeight() const {
    return (flags & 0x2) != 0 ? height : 1;
}

uint32_t FileDDS::GetDepth() const {
    return (flags & 0x800000) != 0 ? depth : 1;
}

uint32_t FileDDS::GetMipMapCount() const {
    if ((flags & 0x20000) == 0)
        return 1;
    const uint32_t largest = std::max({GetWidth(), GetHeight(), 1u});
    const uint32_t possible = uint32_t(std::bit_width(largest));
    return std::clamp(mipMapCount, 1u, possible);
}

uint32_t FileDDS::GetBlockSize() const {
    if (!HasFourCC())
        return 0;
    const int dxt = DxtNumber();
    return dxt == 1 ? 8 : dxt != 0 ? 16 : 0;
}

uint64_t FileDDS::GetLevelSize(uint32_t level) const {
    const uint64_t w = HalveAtLeastOne(GetWidth(), level);
    const uint64_t h = HalveAtLeastOne(GetHeight(), level);
    const uint64_t d = HalveAtLeastOne(GetDepth(), level);
    if (HasFourCC())
        return (w + 3) / 4 * GetBlockSize() * ((h + 3) / 4);
    const uint64_t rowBytes = (w * ((rgbBitCount + 7) / 8) + 3) & ~uint64_t(3);
    return rowBytes * h * d;
}

uint64_t FileDDS::GetChainSize() const {
    uint64_t total = 0;
    for (uint32_t i = 0; i < GetMipMapCount(); ++i)
        total += GetLevelSize(i);
    return total;
}

uint64_t FileDDS::GetLevelOffset(uint32_t face, uint32_t level) const {
    uint64_t offset = headerBytes + uint64_t(face) * (face != 0 ? GetChainSize() : 0);
    for (uint32_t i = 0; i < level; ++i)
        offset += GetLevelSize(i);
    return offset;
}

bool FileDDS::ReadLevel(uint32_t level, Image& image) {
    try {
        ReadLevelData(level, image);
        return true;
    } catch (const FileError& error) {
        if (MessageManager* log = Log())
            log->Error(error.GetText());
        image.Release();
        return false;
    }
}

void FileDDS::ReadLevelData(uint32_t level, Image& image) {
    const uint32_t w = HalveAtLeastOne(GetWidth(), level);
    const uint32_t h = HalveAtLeastOne(GetHeight(), level);
    const uint64_t offset = GetLevelOffset(0, level);
    // Only the first depth slice is read; the stored size of a compressed level ignores depth anyway.
    const uint64_t sliceBytes =
        HasFourCC() ? GetLevelSize(level) : GetLevelSize(level) / HalveAtLeastOne(GetDepth(), level);
    // The file must hold the level before anything is allocated for it.
    if (offset >= file->GetSize() || sliceBytes > file->GetSize() - offset)
        ThrowShortRead(sliceBytes, name);
    const uint64_t decodedBytes = uint64_t(w) * h * 4;
    if (decodedBytes > UINT32_MAX || offset > uint64_t(INT32_MAX))
        ThrowIncorrectFormat(name);
    file->Seek(0, int32_t(offset));
    std::vector<uint8_t> stored(sliceBytes);
    file->Read(stored.data(), uint32_t(sliceBytes));

    if (!HasFourCC()) {
        const uint32_t bytesPerPixel = alphaMask != 0 ? 4 : 3;
        image.Create(w, h, 8 * bytesPerPixel, true);
        uint32_t shifts[4], bits[4];
        const uint32_t masks[4] = {redMask, greenMask, blueMask, alphaMask};
        for (int k = 0; k < 4; ++k)
            MaskRun(masks[k], shifts[k], bits[k]);
        const uint32_t s = (rgbBitCount + 7) / 8;
        const size_t rowBytes = (size_t(w) * s + 3) & ~size_t(3);
        for (uint32_t j = 0; j < h; ++j) {
            const uint8_t* source = stored.data() + j * rowBytes;
            uint8_t* target = image.Row(h - 1 - j);
            for (uint32_t x = 0; x < w; ++x, source += s) {
                uint32_t pixel = 0;
                for (uint32_t b = 0; b < s; ++b)
                    pixel |= uint32_t(source[b]) << (8 * b);
                for (uint32_t k = 0; k < bytesPerPixel; ++k)
                    *target++ = ChannelValue(pixel, shifts[k], bits[k]);
            }
        }
        return;
    }

    const uint32_t blockSize = GetBlockSize();
    const uint32_t blockColumns = (w + 3) / 4, blockRows = (h + 3) / 4;
    const size_t blockRowBytes = size_t(blockColumns) * blockSize;
    const int dxt = DxtNumber();

    if (format >= TextureFormatDXT1) {
        // Kept compressed: block rows in reverse order, and each block flipped upside down.
        image.Create(w, h, 32, true, uint32_t(std::max<uint64_t>(sliceBytes, blockRowBytes)));
        for (uint32_t k = 0; k < blockRows; ++k)
            std::memcpy(image.data + (blockRows - 1 - k) * blockRowBytes, stored.data() + k * blockRowBytes,
                        blockRowBytes);
        for (size_t b = 0; b < size_t(blockRows) * blockColumns; ++b) {
            uint8_t* block = image.data + b * blockSize;
            if (dxt == 1) {
                std::reverse(block + 4, block + 8);
                continue;
            }
            if (dxt <= 3) {
                for (int r = 0; r < 2; ++r) {
                    std::swap(block[2 * r], block[6 - 2 * r]);
                    std::swap(block[2 * r + 1], block[7 - 2 * r]);
                }
            } else {
                const uint64_t v = LoadU64(block);
                uint64_t flipped = v & 0xFFFF;
                for (int r = 0; r < 4; ++r)
                    flipped |= ((v >> (16 + 12 * r)) & 0xFFF) << (16 + 12 * (3 - r));
                StoreU64(flipped, block);
            }
            std::reverse(block + 12, block + 16);
        }
        return;
    }

    // Decoded to R, G, B, A.
    image.Create(w, h, 32, true, uint32_t(std::max<uint64_t>(decodedBytes, 64)));
    uint8_t decoded[64];
    for (uint32_t k = 0; k < blockRows; ++k)
        for (uint32_t c = 0; c < blockColumns; ++c) {
            const uint8_t* bytes = stored.data() + k * blockRowBytes + size_t(c) * blockSize;
            DXTBlock block;
            const uint8_t* colourBytes = dxt == 1 ? bytes : bytes + 8;
            block.color.color0 = uint16_t(colourBytes[0] | colourBytes[1] << 8);
            block.color.color1 = uint16_t(colourBytes[2] | colourBytes[3] << 8);
            std::memcpy(block.color.rows, colourBytes + 4, 4);
            if (dxt == 1) {
                block.color.Decode(decoded);
            } else {
                std::memcpy(block.alpha, bytes, 8);
                if (dxt <= 3)
                    block.DecodeExplicitAlpha(decoded);
                else
                    block.DecodeInterpolatedAlpha(decoded);
            }
            const uint32_t rowsCopied = std::min(4u, h - 4 * k), columnsCopied = std::min(4u, w - 4 * c);
            for (uint32_t m = 0; m < rowsCopied; ++m)
                std::memcpy(image.Row(h - 1 - 4 * k - m) + size_t(4) * 4 * c, decoded + 16 * m,
                            size_t(columnsCopied) * 4);
        }
}

} // namespace OrvexEngine
