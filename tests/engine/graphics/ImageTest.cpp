// ctest-label: images
#include "engine/graphics/Image.h"

#include <gtest/gtest.h>

#include <vector>

using namespace OrvexEngine;

namespace {

// An image of the given size and depth holding the bytes as listed (bottom row first).
void MakeImage(Image& image, uint32_t w, uint32_t h, uint32_t bits, const std::vector<uint8_t>& bytes) {
    image.Create(w, h, bits, true);
    ASSERT_EQ(bytes.size(), image.size);
    std::copy(bytes.begin(), bytes.end(), image.data);
}

std::vector<uint8_t> Bytes(const Image& image) {
    return std::vector<uint8_t>(image.data, image.data + image.size);
}

} // namespace

TEST(ImageTest, CreateKeepsTheBufferOnlyForUnchangedDimensions) {
    Image image;
    EXPECT_TRUE(image.empty);
    image.Create(4, 2, 24, true);
    EXPECT_FALSE(image.empty);
    EXPECT_EQ(24u, image.size);
    uint8_t* first = image.data;
    image.Create(4, 2, 24, true);
    EXPECT_EQ(first, image.data);

    image.Create(2, 4, 24, false); // changed: the old buffer goes, none is made
    EXPECT_EQ(nullptr, image.data);
    EXPECT_EQ(24u, image.size);

    image.Create(3, 3, 32, true, 100); // an explicit size wins
    EXPECT_EQ(100u, image.size);
    image.Release();
    EXPECT_TRUE(image.empty);
    EXPECT_EQ(nullptr, image.data);
    EXPECT_EQ(0u, image.width);
    EXPECT_EQ(100u, image.size);
}

TEST(ImageTest, CopyOfAHeaderOnlyImageCopiesNoBytes) {
    Image headerOnly;
    headerOnly.Create(512, 512, 32, false);
    Image copy;
    copy.Create(512, 512, 32, true); // same dimensions with a buffer: the copy must not keep stale pixels
    copy.Copy(headerOnly);
    EXPECT_FALSE(copy.empty);
    EXPECT_EQ(512u, copy.width);
    EXPECT_EQ(512u * 512 * 4, copy.size);
    EXPECT_EQ(nullptr, copy.data);

    Image source, full;
    MakeImage(source, 2, 1, 24, {1, 2, 3, 4, 5, 6});
    full.Copy(source);
    EXPECT_EQ(Bytes(source), Bytes(full));
    EXPECT_NE(source.data, full.data);
}

TEST(ImageTest, CubicInterpolate) {
    struct Case {
        int p0, p1, p2, p3, t, expected;
    } cases[] = {
        {0, 100, 200, 300, 64, 150},  {7, 42, -5, 99, 0, 42},
        {0, 100, 200, 300, 127, 198}, {0, 0, -1, 0, 64, -1}, // the shift floors negative values
        {0, 255, 255, 0, 64, 318}, // overshoots the samples; only the final value is clamped
        {255, 0, 0, 255, 64, -64},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Image::CubicInterpolate(c.p0, c.p1, c.p2, c.p3, c.t))
            << c.p0 << " " << c.p1 << " " << c.p2 << " " << c.p3 << " t " << c.t;
}

TEST(ImageTest, ResizeTwoByTwoToThreeByThree) {
    Image source;
    MakeImage(source, 2, 2, 8, {0, 100, 200, 40});
    struct Case {
        ResizeFilter filter;
        std::vector<uint8_t> expected;
    } cases[] = {
        {Nearest, {0, 0, 100, 0, 0, 100, 200, 200, 40}},
        // The last row is 255/256 of the top source row and 1/256 of the row below it.
        {Bilinear, {0, 50, 100, 100, 85, 70, 199, 119, 40}},
        {Bicubic, {0, 50, 100, 100, 85, 70, 200, 120, 40}},
    };
    for (const Case& c : cases) {
        Image out;
        source.Resize(3, 3, c.filter, out);
        EXPECT_EQ(3u, out.width);
        EXPECT_EQ(8u, out.bitsPerPixel);
        EXPECT_EQ(c.expected, Bytes(out)) << "filter " << c.filter;
    }
}

TEST(ImageTest, ResizeChannelsIndependentlyAndClampsBicubic) {
    Image source;
    MakeImage(source, 4, 1, 24, {0, 10, 255, 255, 20, 0, 255, 30, 0, 0, 40, 255});
    Image out;
    source.Resize(7, 1, Bicubic, out);
    // Column 3 lies half-way between source columns 1 and 2: red overshoots above 255, blue below 0.
    EXPECT_EQ(255, out.data[3 * 3 + 0]);
    EXPECT_EQ(25, out.data[3 * 3 + 1]);
    EXPECT_EQ(0, out.data[3 * 3 + 2]);
    // Even columns hit source columns exactly.
    EXPECT_EQ((std::vector<uint8_t>{255, 30, 0}), std::vector<uint8_t>(out.data + 12, out.data + 15));
}

TEST(ImageTest, ResizeToOrFromASizeOfOneStaysInsideTheSource) {
    Image wide;
    MakeImage(wide, 3, 1, 8, {10, 20, 30});
    Image big;
    MakeImage(big, 3, 3, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    Image tiny;
    MakeImage(tiny, 1, 1, 32, {9, 8, 7, 6});
    for (ResizeFilter filter : {Nearest, Bilinear, Bicubic}) {
        Image out;
        wide.Resize(4, 1, filter, out); // a one-row source
        ASSERT_EQ(4u, out.size);
        EXPECT_EQ(10, out.data[0]);
        EXPECT_EQ(30, out.data[3]);
        wide.Resize(5, 3, filter, out); // a one-row source made taller
        for (uint32_t row = 0; row < 3; ++row)
            EXPECT_EQ(30, out.Row(row)[4]) << "filter " << filter;

        big.Resize(1, 1, filter, out); // target of one: no division by zero
        EXPECT_EQ(1, out.data[0]) << "filter " << filter;
        big.Resize(1, 3, filter, out);
        EXPECT_EQ(filter == Bilinear ? 6 : 7, out.Row(2)[0]) << "filter " << filter;

        tiny.Resize(3, 2, filter, out);
        for (uint32_t p = 0; p < 6; ++p)
            EXPECT_EQ((std::vector<uint8_t>{9, 8, 7, 6}),
                      std::vector<uint8_t>(out.data + 4 * p, out.data + 4 * p + 4));
    }
}

TEST(ImageTest, ResizeToTheSameSizeIsACopyAndInPlaceWorks) {
    Image source;
    MakeImage(source, 2, 2, 8, {0, 100, 200, 40});
    Image out;
    source.Resize(2, 2, Bilinear, out);
    EXPECT_EQ(Bytes(source), Bytes(out));
    source.ResizeInPlace(3, 3, Nearest);
    EXPECT_EQ(3u, source.width);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 100, 0, 0, 100, 200, 200, 40}), Bytes(source));
}

TEST(ImageTest, CropClipsToTheImage) {
    Image source;
    MakeImage(source, 3, 2, 8, {1, 2, 3, 4, 5, 6});
    Image out;
    source.Crop(1, 1, 5, 5, out);
    EXPECT_EQ(2u, out.width);
    EXPECT_EQ(1u, out.height);
    EXPECT_EQ((std::vector<uint8_t>{5, 6}), Bytes(out));
    source.Crop(7, 9, 2, 2, out); // starts outside: nothing to copy, nothing read
    EXPECT_EQ(0u, out.width);
    EXPECT_EQ(0u, out.height);
}

TEST(ImageTest, SwapRedBlue) {
    Image image;
    MakeImage(image, 2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8});
    Image out;
    image.SwapRedBlue(&out);
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}), Bytes(out));
    image.SwapRedBlue();
    EXPECT_EQ(Bytes(out), Bytes(image));
    Image grey;
    MakeImage(grey, 2, 1, 8, {1, 2});
    grey.SwapRedBlue(&out);
    EXPECT_EQ((std::vector<uint8_t>{1, 2}), Bytes(out));
}

TEST(ImageTest, ConvertBitsPerPixel) {
    struct Case {
        uint32_t from;
        std::vector<uint8_t> pixel;
        uint32_t to;
        std::vector<uint8_t> expected;
    } cases[] = {
        {8, {77}, 24, {77, 77, 77}},
        {8, {77}, 32, {77, 77, 77, 77}},
        {24, {100, 150, 200}, 8, {142}},
        {24, {255, 255, 255}, 8, {255}},
        {24, {1, 2, 3}, 32, {1, 2, 3, 255}},
        {32, {1, 2, 3, 200}, 8, {200}}, // the alpha channel becomes the grey image
        {32, {1, 2, 3, 200}, 24, {1, 2, 3}},
        {24, {1, 2, 3}, 24, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        Image image;
        MakeImage(image, 1, 1, c.from, c.pixel);
        Image out;
        image.ConvertBitsPerPixel(c.to, &out);
        EXPECT_EQ(c.expected, Bytes(out)) << c.from << " to " << c.to;
        image.ConvertBitsPerPixel(c.to);
        EXPECT_EQ(c.to, image.bitsPerPixel);
        EXPECT_EQ(c.expected, Bytes(image)) << c.from << " to " << c.to << " in place";
    }
}

TEST(ImageTest, PasteConvertsAndClips) {
    Image target;
    MakeImage(target, 3, 2, 24, std::vector<uint8_t>(18, 0));
    Image source;
    MakeImage(source, 2, 2, 32, {1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9, 99, 10, 11, 12, 99});
    Image out;
    target.Paste(2, 1, source, &out); // only the source's bottom-left pixel fits
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}), Bytes(out));
    EXPECT_EQ(std::vector<uint8_t>(18, 0), Bytes(target));
    target.Paste(3, 0, source); // x just outside: nothing copied
    target.Paste(0, 2, source);
    EXPECT_EQ(std::vector<uint8_t>(18, 0), Bytes(target));
    target.Paste(0, 0, source);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0, 0}), Bytes(target));
}

TEST(ImageTest, FillPerDepth) {
    Vec4 colour(1.0f, 0.5f, 0.25f, 0.75f);
    struct Case {
        uint32_t bits;
        std::vector<uint8_t> pixel;
    } cases[] = {
        {8, {uint8_t(255.0f * colour.Dot(Vec4(0.222f, 0.707f, 0.071f, 0.0f)))}},
        {24, {255, 127, 63}},
        {32, {255, 127, 63, 191}},
    };
    EXPECT_EQ(151, cases[0].pixel[0]);
    for (const Case& c : cases) {
        Image image;
        image.Create(2, 2, c.bits, true);
        EXPECT_EQ(&image, image.Fill(colour));
        for (uint32_t p = 0; p < 4; ++p)
            EXPECT_EQ(c.pixel, std::vector<uint8_t>(image.data + p * c.pixel.size(),
                                                    image.data + (p + 1) * c.pixel.size()));
    }
}

TEST(ImageTest, PlaceholderIsAYellowAndBlackCheckerboard) {
    Image image;
    image.MakePlaceholder();
    EXPECT_EQ(64u, image.width);
    EXPECT_EQ(64u, image.height);
    EXPECT_EQ(24u, image.bitsPerPixel);
    auto pixel = [&](uint32_t x, uint32_t y) {
        const uint8_t* p = image.Row(y) + 3 * x;
        return std::vector<uint8_t>(p, p + 3);
    };
    const std::vector<uint8_t> yellow{255, 255, 0}, black{0, 0, 0};
    EXPECT_EQ(yellow, pixel(0, 0));
    EXPECT_EQ(black, pixel(8, 0));
    EXPECT_EQ(black, pixel(7, 8));
    EXPECT_EQ(yellow, pixel(15, 15));
    EXPECT_EQ(yellow, pixel(63, 63));
    EXPECT_EQ(black, pixel(63, 0));
}
