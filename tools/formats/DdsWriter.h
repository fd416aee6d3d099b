// Writes DDS textures: DXT1, DXT3 and DXT5 through a small block encoder of our own, or uncompressed
// A8R8G8B8, X8R8G8B8 and R5G6B5, with or without the mip chain (each level the 2 x 2 mean of the one
// before). WriteDdsHeader makes any header a fixture needs, valid or not.
#pragma once

#include "tools/formats/Picture.h"

namespace VelmoraFormats {

enum class DdsFormat { DXT1, DXT3, DXT5, A8R8G8B8, X8R8G8B8, R5G6B5 };

// The header's fields that readers use, at their file offsets (the rest is written as a valid header).
struct DdsHeader {
    uint32_t flags = 0x1007; // caps, height, width, pixel format
    uint32_t height = 0;
    uint32_t width = 0;
    uint32_t depth = 0;
    uint32_t mipMapCount = 0;
    uint32_t pixelFormatFlags = 0; // 0x4 FourCC, 0x40 RGB, 0x1 alpha pixels
    uint32_t fourCC = 0;
    uint32_t rgbBitCount = 0;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    uint32_t caps1 = 0x1000;
};

struct DdsOptions {
    DdsFormat format = DdsFormat::DXT1;
    bool mipMaps = false;
};

// The four characters as the little-endian number the header stores.
constexpr uint32_t FourCC(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 | uint32_t(uint8_t(code[2])) << 16 |
           uint32_t(uint8_t(code[3])) << 24;
}

std::vector<uint8_t> WriteDdsHeader(const DdsHeader& header);
// The whole file; a picture of any size (partial edge blocks are padded by repeating edge pixels).
std::vector<uint8_t> WriteDds(const Picture& picture, const DdsOptions& options = {});

// Block encoders over 16 RGBA pixels (64 bytes), four rows of four, top row first.
// DXT1 colour block: transparent pixels (alpha < 128) use the three-colour mode when allowed.
void EncodeDxtColourBlock(const uint8_t* rgba, bool allowTransparent, uint8_t* out8);
void EncodeDxtExplicitAlpha(const uint8_t* rgba, uint8_t* out8);
void EncodeDxtInterpolatedAlpha(const uint8_t* rgba, uint8_t* out8);

} // namespace VelmoraFormats
