// Reads DDS textures one mip level at a time into Images, bottom-up like every other image. DXT1 to DXT5
// data stay compressed (only reordered) when the device samples that format, and are decoded to 32-bit
// RGBA otherwise; uncompressed RGB(A) data are converted through their channel masks. Created by the
// texture image code for one load and deleted right after; any number may exist.
#pragma once

#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

class FileBinary;

// A DXT colour block as stored: two 5-6-5 endpoints and one index byte per pixel row, top row first.
struct DXTColorBlock {
    uint16_t color0 = 0;
    uint16_t color1 = 0;
    uint8_t rows[4] = {};

    // 16 pixels of R, G, B, A, four rows of four, top row first.
    void Decode(uint8_t* out64) const;
};

// A DXT2 to DXT5 block rearranged for decoding: the colour block, then the 8-byte alpha block.
struct DXTBlock {
    DXTColorBlock color;
    uint8_t alpha[8] = {};

    void DecodeExplicitAlpha(uint8_t* out64) const;
    void DecodeInterpolatedAlpha(uint8_t* out64) const;
};

// v widened or narrowed from n to m bits; widening repeats the bit pattern (5 bits 0x1F gives 0xFF).
uint32_t RescaleChannelBits(uint32_t v, uint32_t n, uint32_t m);

class FileDDS {
public:
    // Opens the file through the file manager and reads its header; the device's texture formats decide
    // which compressed formats stay compressed. Throws FileError (nothing is left open).
    explicit FileDDS(const std::string& fileName);
    // Reads the header of an open file, which the FileDDS takes over; textureFormats holds bit n for each
    // TextureFormat code n the device can sample. Throws FileError after deleting the file: also for pixel
    // formats it cannot read ("Unsupported ..."). Error texts name fileName, or the file's own name.
    FileDDS(FileBinary* file, uint32_t textureFormats, const std::string& fileName = "");
    FileDDS(const FileDDS&) = delete;
    FileDDS& operator=(const FileDDS&) = delete;
    virtual ~FileDDS();

    // The header value when its flag is set, else 1. The mip count is also kept within what the largest
    // side can halve into, so that a corrupt count never makes callers walk billions of levels.
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;
    uint32_t GetDepth() const;
    uint32_t GetMipMapCount() const;
    // 8 for DXT1, 16 for DXT2 to DXT5, 0 for uncompressed data.
    uint32_t GetBlockSize() const;
    uint64_t GetLevelSize(uint32_t level) const;
    uint64_t GetChainSize() const;
    uint64_t GetLevelOffset(uint32_t face, uint32_t level) const;
    // Fills the image with that level of the first face. False after a logged failure; the image is then
    // released.
    bool ReadLevel(uint32_t level, Image& image);

    TextureFormat format = TextureFormatUnknown; // the format the texture will live in

private:
    void ReadHeader();
    void ReadLevelData(uint32_t level, Image& image);
    bool HasFourCC() const { return (pixelFormatFlags & 0x4) != 0; }
    bool HasRGB() const { return (pixelFormatFlags & 0x40) != 0; }
    // 1 to 5 for "DXT1" to "DXT5", 0 for anything else.
    int DxtNumber() const;

    FileBinary* file = nullptr; // owned
    std::string name;
    uint32_t magic = 0;
    uint32_t headerSize = 0;
    uint32_t flags = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    uint32_t pitchOrLinearSize = 0;
    uint32_t depth = 0;
    uint32_t mipMapCount = 0;
    uint32_t pixelFormatSize = 0;
    uint32_t pixelFormatFlags = 0;
    uint32_t fourCC = 0;
    uint32_t rgbBitCount = 0;
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    uint32_t alphaMask = 0;
    uint32_t caps[4] = {};
};

} // namespace OrvexEngine
