// ctest-label: images
#include "engine/graphics/FileDDS.h"

#include "engine/core/Error.h"
#include "tests/engine/graphics/ImageFixtures.h"
#include "tests/support/TestLog.h"
#include "tools/formats/DdsWriter.h"

#include <gtest/gtest.h>

#include <memory>

using namespace OrvexEngine;
using VelmoraFormats::DdsFormat;
using VelmoraFormats::DdsHeader;
using VelmoraFormats::FourCC;
using VelmoraTest::MemoryFile;
using VelmoraTest::PixelAt;

namespace {

constexpr uint32_t allDxt = 0x7C0; // TextureFormat codes 6 to 10
using Bytes = std::vector<uint8_t>;

DdsHeader Dxt1Header(uint32_t w, uint32_t h, uint32_t mips) {
    DdsHeader header;
    header.flags = 0x1007 | (mips != 0 ? 0x20000 : 0);
    header.width = w;
    header.height = h;
    header.mipMapCount = mips;
    header.pixelFormatFlags = 0x4;
    header.fourCC = FourCC("DXT1");
    return header;
}

Bytes WithData(Bytes file, const Bytes& data) {
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

// The picture used for round trips: black and white (exact in any DXT block), alpha 0 or 255, laid out so
// that any flip or shift of rows, columns or blocks shows.
VelmoraFormats::Picture TestPattern(uint32_t w, uint32_t h) {
    VelmoraFormats::Picture picture(w, h, 4);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.At(x, y);
            uint8_t v = (x * 7 + y * 3) % 5 < 2 ? 255 : 0;
            p[0] = p[1] = p[2] = v;
            p[3] = (x + 2 * y) % 3 == 0 ? 0 : 255;
        }
    return picture;
}

} // namespace

TEST(FileDDSTest, LevelSizesAndOffsetsOfADxt1Chain) {
    const Bytes bytes = WithData(WriteDdsHeader(Dxt1Header(64, 64, 7)), Bytes(2744, 0));
    FileDDS dds(MemoryFile("chain.dds", bytes), allDxt);
    EXPECT_EQ(7u, dds.GetMipMapCount());
    EXPECT_EQ(8u, dds.GetBlockSize());
    const uint64_t sizes[] = {2048, 512, 128, 32, 8, 8, 8};
    const uint64_t offsets[] = {128, 2176, 2688, 2816, 2848, 2856, 2864};
    for (uint32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(sizes[i], dds.GetLevelSize(i)) << "level " << i;
        EXPECT_EQ(offsets[i], dds.GetLevelOffset(0, i)) << "level " << i;
    }
    EXPECT_EQ(2744u, dds.GetChainSize());
    EXPECT_EQ(128u + 2744, dds.GetLevelOffset(1, 0));
    EXPECT_EQ(TextureFormatDXT1, dds.format);
}

TEST(FileDDSTest, HeaderValuesNeedTheirFlagsAndTheMipCountIsBounded) {
    struct Case {
        uint32_t flags, width, height, mips;
        uint32_t expectedWidth, expectedHeight, expectedMips;
    } cases[] = {
        {0x0, 64, 32, 7, 1, 1, 1},             // no flags: every value reads 1
        {0x1006, 64, 32, 7, 64, 32, 1},        // no mip-map flag: one level whatever the count says
        {0x21006, 64, 32, 1000000, 64, 32, 7}, // a corrupt count: only the levels 64 can halve into
        {0x21006, 64, 32, 0, 64, 32, 1},       // a count of 0 still has level 0
        {0x21006, 1, 1, 5, 1, 1, 1},
    };
    for (const Case& c : cases) {
        DdsHeader header = Dxt1Header(c.width, c.height, c.mips);
        header.flags = c.flags;
        const Bytes bytes = WriteDdsHeader(header);
        FileDDS dds(MemoryFile("flags.dds", bytes), 0);
        EXPECT_EQ(c.expectedWidth, dds.GetWidth());
        EXPECT_EQ(c.expectedHeight, dds.GetHeight());
        EXPECT_EQ(1u, dds.GetDepth());
        EXPECT_EQ(c.expectedMips, dds.GetMipMapCount()) << "flags " << c.flags << " count " << c.mips;
    }
}

TEST(FileDDSTest, ColourBlockDecoding) {
    uint8_t out[64];
    DXTColorBlock four{0xF800, 0x001F, {0xE4, 0, 0, 0}}; // red > blue: four opaque colours
    four.Decode(out);
    EXPECT_EQ((Bytes{255, 0, 0, 255, 0, 0, 255, 255, 170, 0, 85, 255, 85, 0, 170, 255}),
              Bytes(out, out + 16));

    DXTColorBlock three{0x001F, 0xF800, {0xE4, 0, 0, 0}}; // color0 <= color1: midpoint and transparent black
    three.Decode(out);
    EXPECT_EQ((Bytes{0, 0, 255, 255, 255, 0, 0, 255, 127, 0, 127, 255, 0, 0, 0, 0}), Bytes(out, out + 16));

    DXTColorBlock greens{0x07E0, 0x0400, {0, 0, 0, 0x40}}; // pixel 15 (bottom-right) takes color1
    greens.Decode(out);
    EXPECT_EQ((Bytes{0, 255, 0, 255}), Bytes(out, out + 4));
    EXPECT_EQ((Bytes{0, 130, 0, 255}), Bytes(out + 60, out + 64));
}

TEST(FileDDSTest, AlphaBlockDecoding) {
    uint8_t out[64];
    auto alphas = [&]() { return Bytes{out[3], out[7], out[59], out[63]}; };
    DXTBlock block;
    block.color = DXTColorBlock{0x001F, 0xF800, {0xC0, 0, 0, 0xFF}}; // index 3: transparent black colour

    // Sixteen 4-bit alphas: pixel 0 = 15, pixel 1 = 1, pixel 14 = 0, pixel 15 = 8.
    const uint64_t explicitBits = 0xFull | 0x1ull << 4 | 0x8ull << 60;
    for (int b = 0; b < 8; ++b)
        block.alpha[b] = uint8_t(explicitBits >> (8 * b));
    block.DecodeExplicitAlpha(out);
    EXPECT_EQ((Bytes{255, 17, 0, 136}), alphas());
    EXPECT_EQ((Bytes{0, 0, 0}), Bytes(out + 12, out + 15)); // colour index 3 stays black under its alpha

    struct Case {
        uint8_t a0, a1;
        Bytes expected; // pixels 0, 1, 14, 15 with indices 2, 7, 6, 1
    } cases[] = {
        {255, 0, {218, 36, 72, 0}},  // eight values
        {0, 255, {51, 255, 0, 255}}, // six values, then 0 and 255
        {100, 100, {100, 255, 0, 100}},
    };
    for (const Case& c : cases) {
        const uint64_t bits =
            uint64_t(c.a0) | uint64_t(c.a1) << 8 | 2ull << 16 | 7ull << 19 | 6ull << 58 | 1ull << 61;
        for (int b = 0; b < 8; ++b)
            block.alpha[b] = uint8_t(bits >> (8 * b));
        block.DecodeInterpolatedAlpha(out);
        EXPECT_EQ(c.expected, alphas()) << int(c.a0) << " " << int(c.a1);
    }
}

TEST(FileDDSTest, RescaleChannelBits) {
    struct Case {
        uint32_t v, n, m, expected;
    } cases[] = {{0x1F, 5, 8, 0xFF}, {0x10, 5, 8, 0x84},   {1, 1, 8, 0xFF}, {0, 1, 8, 0},
                 {0x20, 6, 8, 0x82}, {0x3FF, 10, 8, 0xFF}, {5, 0, 8, 0},    {0x5, 3, 8, 0xB6}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, RescaleChannelBits(c.v, c.n, c.m)) << c.v << " " << c.n << " " << c.m;
}

TEST(FileDDSTest, UncompressedLevelsConvertThroughTheirMasks) {
    VelmoraFormats::Picture picture(3, 2, 4); // 3 wide: 16-bit rows are padded from 6 to 8 bytes
    const uint8_t pixels[] = {255, 0,   0,   10, 0, 255, 0, 20, 0,   0, 255, 30,  // top row
                              255, 255, 255, 40, 0, 0,   0, 50, 255, 0, 255, 60}; // bottom row
    std::copy(std::begin(pixels), std::end(pixels), picture.pixels.begin());
    struct Case {
        DdsFormat format;
        TextureFormat expectedFormat;
        uint32_t bits;
    } cases[] = {{DdsFormat::A8R8G8B8, TextureFormatA8R8G8B8, 32},
                 {DdsFormat::X8R8G8B8, TextureFormatR8G8B8, 24},
                 {DdsFormat::R5G6B5, TextureFormatR8G8B8, 24}};
    for (const Case& c : cases) {
        const Bytes bytes = VelmoraFormats::WriteDds(picture, {c.format, false});
        FileDDS dds(MemoryFile("rgb.dds", bytes), allDxt);
        EXPECT_EQ(c.expectedFormat, dds.format);
        Image image;
        ASSERT_TRUE(dds.ReadLevel(0, image));
        ASSERT_EQ(c.bits, image.bitsPerPixel);
        for (uint32_t y = 0; y < 2; ++y)
            for (uint32_t x = 0; x < 3; ++x) {
                const uint8_t* p = picture.At(x, 1 - y);
                EXPECT_EQ(Bytes(p, p + c.bits / 8), PixelAt(image, x, y)) << x << ", " << y;
            }
    }

    DdsHeader header; // hand-typed R5G6B5 pixels
    header.width = 2;
    header.height = 1;
    header.pixelFormatFlags = 0x40;
    header.rgbBitCount = 16;
    header.redMask = 0xF800;
    header.greenMask = 0x07E0;
    header.blueMask = 0x001F;
    const Bytes bytes = WithData(WriteDdsHeader(header), {0x00, 0xF8, 0x10, 0x04});
    FileDDS dds(MemoryFile("565.dds", bytes), 0);
    Image image;
    ASSERT_TRUE(dds.ReadLevel(0, image));
    EXPECT_EQ((Bytes{255, 0, 0, 0, 130, 132}), Bytes(image.data, image.data + 6));
}

TEST(FileDDSTest, KeptCompressedLevelsAreFlippedBlockByBlock) {
    // 8 x 8 DXT1: four blocks; block (row k, column c) has index bytes 16k + 4c + 1 .. + 4.
    Bytes data;
    for (uint8_t k = 0; k < 2; ++k)
        for (uint8_t c = 0; c < 2; ++c) {
            uint8_t first = uint8_t(8 * k + 4 * c + 1);
            data.insert(data.end(), {0x11, 0x11, 0x22, 0x22, first, uint8_t(first + 1), uint8_t(first + 2),
                                     uint8_t(first + 3)});
        }
    const Bytes dxt1 = WithData(WriteDdsHeader(Dxt1Header(8, 8, 0)), data);
    FileDDS dds1(MemoryFile("kept.dds", dxt1), allDxt);
    Image image;
    ASSERT_TRUE(dds1.ReadLevel(0, image));
    EXPECT_EQ(32u, image.size);
    EXPECT_EQ(32u, image.bitsPerPixel);
    EXPECT_EQ((Bytes{0x11, 0x11, 0x22, 0x22, 12, 11, 10, 9, 0x11, 0x11, 0x22, 0x22, 16, 15, 14, 13, //
                     0x11, 0x11, 0x22, 0x22, 4,  3,  2,  1, 0x11, 0x11, 0x22, 0x22, 8,  7,  6,  5}),
              Bytes(image.data, image.data + 32));

    // One 16-byte block each: alpha rows and colour index rows reversed, endpoints untouched.
    DdsHeader header = Dxt1Header(4, 4, 0);
    header.fourCC = FourCC("DXT3");
    const Bytes block = {0, 1, 2, 3, 4, 5, 6, 7, 0x11, 0x11, 0x22, 0x22, 8, 9, 10, 11};
    const Bytes dxt3 = WithData(WriteDdsHeader(header), block);
    FileDDS dds3b(MemoryFile("kept3.dds", dxt3), allDxt);
    ASSERT_TRUE(dds3b.ReadLevel(0, image));
    EXPECT_EQ((Bytes{6, 7, 4, 5, 2, 3, 0, 1, 0x11, 0x11, 0x22, 0x22, 11, 10, 9, 8}),
              Bytes(image.data, image.data + 16));

    header.fourCC = FourCC("DXT5");
    // alpha0 0xAA, alpha1 0xBB, index rows 0x123, 0x456, 0x789, 0xABC.
    const uint64_t rows =
        0xAAull | 0xBBull << 8 | 0x123ull << 16 | 0x456ull << 28 | 0x789ull << 40 | 0xABCull << 52;
    Bytes dxt5Block;
    for (int b = 0; b < 8; ++b)
        dxt5Block.push_back(uint8_t(rows >> (8 * b)));
    dxt5Block.insert(dxt5Block.end(), {0x11, 0x11, 0x22, 0x22, 8, 9, 10, 11});
    const Bytes dxt5 = WithData(WriteDdsHeader(header), dxt5Block);
    FileDDS dds5(MemoryFile("kept5.dds", dxt5), allDxt);
    ASSERT_TRUE(dds5.ReadLevel(0, image));
    const uint64_t flipped =
        0xAAull | 0xBBull << 8 | 0xABCull << 16 | 0x789ull << 28 | 0x456ull << 40 | 0x123ull << 52;
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(uint8_t(flipped >> (8 * b)), image.data[b]) << "byte " << b;
    EXPECT_EQ((Bytes{11, 10, 9, 8}), Bytes(image.data + 12, image.data + 16));
}

TEST(FileDDSTest, DecodedLevelsAreBottomUp) {
    // One block for a 2 x 2 level: pixels 0, 1 (top row) red, blue; pixels 4, 5 blue, red.
    const Bytes bytes =
        WithData(WriteDdsHeader(Dxt1Header(2, 2, 0)), {0x00, 0xF8, 0x1F, 0x00, 0x04, 0x01, 0x00, 0x00});
    FileDDS dds(MemoryFile("small.dds", bytes), 0);
    EXPECT_EQ(TextureFormatA8R8G8B8, dds.format);
    Image image;
    ASSERT_TRUE(dds.ReadLevel(0, image));
    EXPECT_EQ(2u, image.width);
    EXPECT_EQ(64u, image.size);
    const Bytes red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    EXPECT_EQ(red, PixelAt(image, 0, 1));
    EXPECT_EQ(blue, PixelAt(image, 1, 1));
    EXPECT_EQ(blue, PixelAt(image, 0, 0));
    EXPECT_EQ(red, PixelAt(image, 1, 0));
}

TEST(FileDDSTest, DecodedRoundTripOfEveryLevelAndFormat) {
    const VelmoraFormats::Picture picture = TestPattern(6, 5); // partial blocks on both edges
    for (DdsFormat format : {DdsFormat::DXT1, DdsFormat::DXT3, DdsFormat::DXT5}) {
        const Bytes bytes = VelmoraFormats::WriteDds(picture, {format, true});
        FileDDS dds(MemoryFile("round.dds", bytes), 0); // a device without DXT: every level decoded
        EXPECT_EQ(TextureFormatA8R8G8B8, dds.format);
        ASSERT_EQ(3u, dds.GetMipMapCount());
        Image image;
        ASSERT_TRUE(dds.ReadLevel(0, image));
        for (uint32_t y = 0; y < 5; ++y)
            for (uint32_t x = 0; x < 6; ++x) {
                Bytes expected(picture.At(x, 4 - y), picture.At(x, 4 - y) + 4);
                if (format == DdsFormat::DXT1 && expected[3] == 0)
                    expected = {0, 0, 0, 0}; // DXT1 keeps transparency as transparent black
                EXPECT_EQ(expected, PixelAt(image, x, y)) << int(format) << " at " << x << ", " << y;
            }
        VelmoraTest::SaveForViewing(image, "dds-format" + std::to_string(int(format)) + ".png");
        for (uint32_t level = 1; level < 3; ++level) {
            ASSERT_TRUE(dds.ReadLevel(level, image));
            EXPECT_EQ(std::max(6u >> level, 1u), image.width);
            EXPECT_EQ(std::max(5u >> level, 1u), image.height);
        }
    }
}

TEST(FileDDSTest, ACutFileFailsOnlyForTheLevelsItLacks) {
    VelmoraTest::TestLog log;
    Bytes bytes = WithData(WriteDdsHeader(Dxt1Header(64, 64, 7)), Bytes(2744, 0x55));
    bytes.resize(2830); // inside level 3 (2816 .. 2848)
    FileDDS dds(MemoryFile("cut.dds", bytes), allDxt);
    Image image;
    EXPECT_TRUE(dds.ReadLevel(2, image));
    EXPECT_FALSE(dds.ReadLevel(3, image));
    EXPECT_TRUE(image.empty);
    EXPECT_EQ(nullptr, image.data);
    EXPECT_TRUE(log.Contains("Failed to read 32 bytes from \"cut.dds\" file"));

    // A header declaring a huge picture over a few bytes: refused before anything is allocated for it.
    const Bytes huge = WithData(WriteDdsHeader(Dxt1Header(1u << 30, 1u << 30, 0)), Bytes(64, 0));
    FileDDS hugeDds(MemoryFile("huge.dds", huge), 0);
    EXPECT_FALSE(hugeDds.ReadLevel(0, image));
    EXPECT_TRUE(image.empty);
}

TEST(FileDDSTest, UnreadableHeadersAreRejected) {
    DdsHeader otherCode = Dxt1Header(4, 4, 0);
    otherCode.fourCC = FourCC("ATI2");
    DdsHeader noFormat = Dxt1Header(4, 4, 0);
    noFormat.pixelFormatFlags = 0;
    DdsHeader wideRgb = Dxt1Header(4, 4, 0);
    wideRgb.pixelFormatFlags = 0x40;
    wideRgb.rgbBitCount = 64;
    Bytes shortHeader = WriteDdsHeader(Dxt1Header(4, 4, 0));
    shortHeader.resize(50);
    struct Case {
        Bytes bytes;
        std::string text;
    } cases[] = {
        {WithData(WriteDdsHeader(otherCode), Bytes(16, 0)), "Unsupported \"bad.dds\" file format"},
        {WithData(WriteDdsHeader(noFormat), Bytes(16, 0)), "Unsupported \"bad.dds\" file format"},
        {WithData(WriteDdsHeader(wideRgb), Bytes(128, 0)), "Unsupported \"bad.dds\" file format"},
        {shortHeader, "Failed to read 44 bytes from \"bad.dds\" file"},
    };
    for (const Case& c : cases) {
        try {
            FileDDS dds(MemoryFile("bad.dds", c.bytes), allDxt);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const FileError& error) {
            EXPECT_EQ(c.text, error.GetText());
        }
    }
}
