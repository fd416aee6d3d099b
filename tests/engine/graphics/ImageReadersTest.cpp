// ctest-label: images
#include "engine/core/Error.h"
#include "engine/graphics/Image.h"
#include "tests/engine/graphics/ImageFixtures.h"
#include "tools/formats/BmpWriter.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/formats/TgaWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraFormats;
using VelmoraTest::PixelAt;

namespace {

using Bytes = std::vector<uint8_t>;
using Reader = void (Image::*)(FileBinary&, const std::string&, bool);

// Reads the bytes as the named file through the reader; the FileError text, or "" on success.
std::string ReadBytes(Image& image, Reader reader, const Bytes& bytes, const std::string& name = "fixture",
                      bool readData = true) {
    std::unique_ptr<FileBinary> file(VelmoraTest::MemoryFile(name, bytes));
    try {
        (image.*reader)(*file, name, readData);
        return "";
    } catch (const FileError& error) {
        return error.GetText();
    }
}

// 3 x 2 (rows padded in BMP), distinct colours and alphas; top row first.
Picture SmallPicture(bool opaque) {
    Picture picture(3, 2, 4);
    const uint8_t pixels[] = {255, 0,   0,   200, 0,  255, 0,  255, 0,  0,  255, 10, //
                              250, 240, 230, 0,   10, 20,  30, 128, 90, 60, 30,  127};
    std::copy(std::begin(pixels), std::end(pixels), picture.pixels.begin());
    if (opaque)
        for (size_t p = 3; p < picture.pixels.size(); p += 4)
            picture.pixels[p] = 255;
    return picture;
}

// Every image pixel equals the picture's pixel (the picture top row first, the image bottom-up), within
// the tolerance per channel.
void ExpectPixels(const Image& image, const Picture& expected, int tolerance, const std::string& what) {
    ASSERT_FALSE(image.empty) << what;
    ASSERT_EQ(expected.width, image.width) << what;
    ASSERT_EQ(expected.height, image.height) << what;
    ASSERT_EQ(expected.channels * 8, image.bitsPerPixel) << what;
    ASSERT_NE(nullptr, image.data) << what;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const Bytes actual = PixelAt(image, x, y);
            const uint8_t* want = expected.At(x, image.height - 1 - y);
            for (uint32_t k = 0; k < expected.channels; ++k)
                ASSERT_LE(std::abs(int(actual[k]) - int(want[k])), tolerance)
                    << what << ": pixel " << x << ", " << y << " channel " << k;
        }
}

TgaOptions Tga(uint32_t depth, bool runLength = false) {
    TgaOptions options;
    options.depth = depth;
    options.runLength = runLength;
    return options;
}

Picture Map(const Picture& picture, const std::function<void(const uint8_t*, uint8_t*)>& f,
            uint32_t channels) {
    Picture out(picture.width, picture.height, channels);
    for (uint32_t y = 0; y < picture.height; ++y)
        for (uint32_t x = 0; x < picture.width; ++x)
            f(picture.At(x, y), out.At(x, y));
    return out;
}

} // namespace

TEST(ImageReadersTest, BmpDepthsAndPadding) {
    for (uint32_t width : {3u, 4u}) {
        Picture picture = SmallPicture(false);
        if (width == 4) {
            Picture wider(4, 2, 4);
            for (uint32_t y = 0; y < 2; ++y)
                for (uint32_t x = 0; x < 4; ++x)
                    std::copy(picture.At(x % 3, y), picture.At(x % 3, y) + 4, wider.At(x, y));
            picture = wider;
        }
        for (uint32_t bits : {8u, 24u, 32u}) {
            Image image;
            const std::string what = "bmp " + std::to_string(bits) + " width " + std::to_string(width);
            ASSERT_EQ("", ReadBytes(image, &Image::ReadBMP, WriteBmp(picture, {bits}))) << what;
            ExpectPixels(image, picture.WithChannels(bits == 32 ? 4 : 3), 0, what);
        }
    }
}

TEST(ImageReadersTest, TgaDepthsEncodingsAndOrientation) {
    const Picture picture = SmallPicture(false);
    const Picture expected16 = Map(
        picture,
        [](const uint8_t* s, uint8_t* d) {
            for (int k = 0; k < 3; ++k)
                d[k] = uint8_t(s[k] & 0xF8);
            d[3] = s[3] >= 128 ? 255 : 0;
        },
        4);
    for (uint32_t depth : {8u, 16u, 24u, 32u})
        for (bool runLength : {false, true})
            for (bool topFirst : {false, true}) {
                TgaOptions options;
                options.depth = depth;
                options.runLength = runLength;
                options.topFirst = topFirst;
                options.id = "0123456789"; // skipped with the colour map below
                options.colourMapLength = 3;
                Image image;
                const std::string what = "tga " + std::to_string(depth) + (runLength ? " rle" : " raw") +
                                         (topFirst ? " top-first" : " bottom-first");
                ASSERT_EQ("", ReadBytes(image, &Image::ReadTGA, WriteTga(picture, options))) << what;
                const Picture expected = depth == 8    ? picture.WithChannels(1)
                                         : depth == 16 ? expected16
                                                       : picture.WithChannels(depth / 8);
                ExpectPixels(image, expected, 0, what);
            }
}

TEST(ImageReadersTest, TgaLayoutByHand) {
    // 2 x 2, 24 bits, a 10-byte ID field, top row first: pixel data start at byte 28.
    Bytes bytes = {10, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0x20};
    bytes.insert(bytes.end(), 10, 'x');
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}); // B, G, R per pixel
    Image image;
    ASSERT_EQ("", ReadBytes(image, &Image::ReadTGA, bytes));
    EXPECT_EQ((Bytes{3, 2, 1}), PixelAt(image, 0, 1)); // the first stored row is the top row
    EXPECT_EQ((Bytes{9, 8, 7}), PixelAt(image, 0, 0));

    // Run-length 8-bit 3 x 1: a repeated pixel (2 of 0x40), then a raw one; a last packet running past
    // the picture is cut.
    Bytes rle = {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 1, 0, 8, 0, 0x81, 0x40, 0x01, 0x50, 0x60};
    ASSERT_EQ("", ReadBytes(image, &Image::ReadTGA, rle));
    EXPECT_EQ((Bytes{0x40, 0x40, 0x50}), Bytes(image.data, image.data + 3));
}

TEST(ImageReadersTest, PngColourTypesAndDepths) {
    const Picture picture = SmallPicture(false);
    const Picture opaque = SmallPicture(true);
    // Grey below 8 bits keeps the top bits; the loader widens them back over the full range.
    auto greyAt = [&](int depth) {
        return Map(
            picture.WithChannels(1),
            [depth](const uint8_t* s, uint8_t* d) {
                uint32_t q = s[0] >> (8 - depth);
                d[0] = d[1] = d[2] = uint8_t(q * 255 / ((1u << depth) - 1));
            },
            3);
    };
    struct Case {
        std::string what;
        Picture source;
        PngOptions options;
        Picture expected;
    } cases[] = {
        {"grey 1", picture, {PngColour::Grey, 1, false}, greyAt(1)},
        {"grey 2", picture, {PngColour::Grey, 2, false}, greyAt(2)},
        {"grey 4", picture, {PngColour::Grey, 4, false}, greyAt(4)},
        {"grey 8", picture, {PngColour::Grey, 8, false}, greyAt(8)},
        {"grey 16", picture, {PngColour::Grey, 16, false}, greyAt(8)},
        {"grey alpha", picture, {PngColour::GreyAlpha, 8, false}, picture.WithChannels(2).WithChannels(4)},
        {"rgb 8", picture, {PngColour::RGB, 8, false}, picture.WithChannels(3)},
        {"rgb 16", picture, {PngColour::RGB, 16, false}, picture.WithChannels(3)},
        {"rgba 8", picture, {PngColour::RGBA, 8, false}, picture},
        {"rgba 16 interlaced", picture, {PngColour::RGBA, 16, true}, picture},
        {"palette", opaque, {PngColour::Palette, 8, false}, opaque.WithChannels(3)},
        {"palette 4 bits", opaque, {PngColour::Palette, 4, false}, opaque.WithChannels(3)},
        {"palette with transparency", picture, {PngColour::Palette, 8, false}, picture},
    };
    for (const Case& c : cases) {
        Image image;
        ASSERT_EQ("", ReadBytes(image, &Image::ReadPNG, WritePng(c.source, c.options))) << c.what;
        ExpectPixels(image, c.expected, 0, c.what);
    }
}

TEST(ImageReadersTest, JpegComponentsAndOrientation) {
    // 32 x 32 in flat 16 x 16 quarters, which JPEG keeps nearly exactly (also with half-size chroma).
    Picture picture(32, 32, 3);
    const uint8_t quarters[4][3] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {240, 240, 240}};
    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x)
            std::copy(quarters[(y / 16) * 2 + x / 16], quarters[(y / 16) * 2 + x / 16] + 3, picture.At(x, y));
    Picture cmyk = Map(
        picture,
        [](const uint8_t* s, uint8_t* d) {
            std::copy(s, s + 3, d);
            d[3] = 128;
        },
        4);
    struct Case {
        std::string what;
        Picture source;
        JpegOptions options;
    } cases[] = {
        {"grey", picture.WithChannels(1), {90, false}},
        {"colour", picture, {90, false}},
        {"progressive colour", picture, {90, true}},
        {"progressive grey", picture.WithChannels(1), {90, true}},
        {"cmyk", cmyk, {90, false}},
    };
    for (const Case& c : cases) {
        Image image;
        ASSERT_EQ("", ReadBytes(image, &Image::ReadJPEG, WriteJpeg(c.source, c.options))) << c.what;
        ASSERT_EQ(c.source.channels * 8, image.bitsPerPixel) << c.what;
        ASSERT_EQ(32u, image.height) << c.what;
        // Away from the quarters' borders, where smoothed chroma mixes neighbours.
        for (uint32_t y = 0; y < 32; ++y)
            for (uint32_t x = 0; x < 32; ++x) {
                if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13)
                    continue;
                const Bytes actual = PixelAt(image, x, y);
                const uint8_t* want = c.source.At(x, 31 - y);
                for (uint32_t k = 0; k < c.source.channels; ++k)
                    ASSERT_LE(std::abs(int(actual[k]) - int(want[k])), 12)
                        << c.what << ": pixel " << x << ", " << y << " channel " << k;
            }
    }
}

TEST(ImageReadersTest, HeaderOnlyReadsDescribeWithoutPixels) {
    const Picture picture = SmallPicture(false);
    struct Case {
        std::string what;
        Reader reader;
        Bytes bytes;
        uint32_t bits;
    } cases[] = {
        {"bmp 8", &Image::ReadBMP, WriteBmp(picture, {8}), 24},
        {"bmp 32", &Image::ReadBMP, WriteBmp(picture, {32}), 32},
        {"tga 16", &Image::ReadTGA, WriteTga(picture, Tga(16)), 32},
        {"tga 8", &Image::ReadTGA, WriteTga(picture, Tga(8)), 8},
        {"png grey", &Image::ReadPNG, WritePng(picture, {PngColour::Grey, 8, false}), 24},
        {"png palette", &Image::ReadPNG, WritePng(picture, {PngColour::Palette, 8, false}), 32},
        {"jpeg", &Image::ReadJPEG, WriteJpeg(picture.WithChannels(3)), 24},
    };
    for (const Case& c : cases) {
        Image image;
        ASSERT_EQ("", ReadBytes(image, c.reader, c.bytes, "fixture", false)) << c.what;
        EXPECT_FALSE(image.empty) << c.what;
        EXPECT_EQ(3u, image.width) << c.what;
        EXPECT_EQ(2u, image.height) << c.what;
        EXPECT_EQ(c.bits, image.bitsPerPixel) << c.what;
        EXPECT_EQ(nullptr, image.data) << c.what;
    }
}

TEST(ImageReadersTest, RejectedFilesGiveTheirTextAndLeaveTheImageEmpty) {
    const Picture picture = SmallPicture(false);
    auto patched = [](Bytes bytes, size_t offset, std::initializer_list<uint8_t> values) {
        std::copy(values.begin(), values.end(), bytes.begin() + long(offset));
        return bytes;
    };
    auto cut = [](Bytes bytes, size_t size) {
        bytes.resize(size);
        return bytes;
    };
    const Bytes bmp24 = WriteBmp(picture, {24});
    const Bytes tga = WriteTga(picture, Tga(24));
    const Bytes tgaRle = WriteTga(Picture(64, 64, 3), Tga(24, true));
    const Bytes png = WritePng(picture, {PngColour::RGBA, 8, false});
    const Bytes jpeg = WriteJpeg(picture.WithChannels(3));
    const std::string incorrect = "Incorrect \"bad\" file format",
                      unsupported = "Unsupported \"bad\" file format";
    struct Case {
        std::string what;
        Reader reader;
        Bytes bytes;
        std::string text;
    } cases[] = {
        {"bmp magic", &Image::ReadBMP, patched(bmp24, 0, {'B', 'N'}), incorrect},
        {"bmp 8-bit run-length", &Image::ReadBMP, WriteBmp(picture, {8, 0x4D42, 1}), unsupported},
        {"bmp top-down", &Image::ReadBMP, WriteBmp(picture, {24, 0x4D42, 0, true}), unsupported},
        {"bmp 16 bits", &Image::ReadBMP, patched(bmp24, 28, {16}), unsupported},
        {"bmp width overflow", &Image::ReadBMP, patched(bmp24, 18, {0xFF, 0xFF, 0xFF, 0x7F}), incorrect},
        {"bmp zero width", &Image::ReadBMP, patched(bmp24, 18, {0, 0, 0, 0}), incorrect},
        {"bmp rows missing", &Image::ReadBMP, cut(bmp24, 60), "Failed to read 21 bytes from \"bad\" file"},
        {"bmp header cut", &Image::ReadBMP, cut(bmp24, 20), "Failed to read 54 bytes from \"bad\" file"},
        {"tga depth 15", &Image::ReadTGA, patched(tga, 16, {15}), unsupported},
        {"tga zero height", &Image::ReadTGA, patched(tga, 14, {0, 0}), incorrect},
        {"tga raw data short", &Image::ReadTGA, cut(tga, 30), "Failed to read 18 bytes from \"bad\" file"},
        {"tga map past the end", &Image::ReadTGA, patched(tga, 5, {0xFF, 0xFF, 32}),
         "Failed to read 262140 bytes from \"bad\" file"},
        {"tga run-length cut", &Image::ReadTGA, cut(tgaRle, tgaRle.size() - 3), incorrect},
        {"tga header cut", &Image::ReadTGA, cut(tga, 10), "Failed to read 18 bytes from \"bad\" file"},
        {"png not a png", &Image::ReadPNG, bmp24, incorrect},
        {"png cut", &Image::ReadPNG, cut(png, png.size() - 20), incorrect},
        {"png huge", &Image::ReadPNG, patched(png, 16, {0, 1, 0, 0}), incorrect},
        {"jpeg not a jpeg", &Image::ReadJPEG, png, incorrect},
        {"jpeg header cut", &Image::ReadJPEG, cut(jpeg, 100), incorrect},
        {"jpeg without a frame", &Image::ReadJPEG, Bytes{0xFF, 0xD8}, incorrect},
    };
    for (const Case& c : cases) {
        Image image;
        image.Create(2, 2, 24, true); // whatever it held before, a failed read leaves it empty
        EXPECT_EQ(c.text, ReadBytes(image, c.reader, c.bytes, "bad")) << c.what;
        EXPECT_TRUE(image.empty) << c.what;
        EXPECT_EQ(nullptr, image.data) << c.what;
    }
}

TEST(ImageReadersTest, ACorruptJpegFailsInsteadOfEndingTheProcess) {
    Picture picture(64, 64, 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = uint8_t(i * 7919 % 251);
    const Bytes jpeg = WriteJpeg(picture);
    // A frame header declaring 12-bit samples is fatal to the library: it must come back as a failure.
    Bytes corrupt = jpeg;
    for (size_t i = 0; i + 4 < corrupt.size(); ++i)
        if (corrupt[i] == 0xFF && corrupt[i + 1] == 0xC0) {
            corrupt[i + 4] = 12;
            break;
        }
    Image image;
    EXPECT_EQ("Incorrect \"bad\" file format", ReadBytes(image, &Image::ReadJPEG, corrupt, "bad"));
    EXPECT_TRUE(image.empty);

    // Data that simply end are finished as if the end marker were there.
    Bytes truncated = jpeg;
    truncated.resize(jpeg.size() / 2);
    EXPECT_EQ("", ReadBytes(image, &Image::ReadJPEG, truncated));
    EXPECT_EQ(64u, image.width);
}
