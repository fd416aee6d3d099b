// ctest-label: images
#include "engine/files/FileManager.h"
#include "engine/graphics/FileDDS.h"
#include "engine/graphics/Image.h"
#include "tests/engine/graphics/ImageFixtures.h"
#include "tests/support/TestLog.h"
#include "tools/formats/BmpWriter.h"
#include "tools/formats/DdsWriter.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/formats/TgaWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraFormats;
using VelmoraTest::PixelAt;

namespace {

// A file manager over a fresh folder of the test's temporary directory, where the tests write their files.
class ImageLoadTest : public testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::path(VelmoraTest::TempDir()) /
               testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(root / "pictures");
        files = std::make_unique<FileManager>(root.string(), false, "data", 0);
        FileManager::Instance(files.get());
    }

    // Writes the bytes as pictures/<name> and returns the name to load it by.
    std::string Put(const std::string& name, const std::vector<uint8_t>& bytes) {
        SaveFile((root / "pictures" / name).string(), bytes);
        return "pictures\\" + name;
    }

    VelmoraTest::TestLog log;
    std::filesystem::path root;
    std::unique_ptr<FileManager> files;
};

TEST_F(ImageLoadTest, TheExtensionChoosesTheReaderInAnyCase) {
    const Picture picture = VelmoraTest::SamplePicture(8, 4).WithChannels(3);
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"a.bmp", WriteBmp(picture)},
        {"B.TGA", WriteTga(picture)},
        {"c.Png", WritePng(picture, {PngColour::RGB, 8, false})},
        {"d.jpg", WriteJpeg(picture)},
        {"PICTURE.JPEG", WriteJpeg(picture)},
    };
    for (const Case& c : cases) {
        Image image;
        EXPECT_TRUE(image.Load(Put(c.name, c.bytes), true)) << c.name;
        EXPECT_EQ(8u, image.width) << c.name;
        EXPECT_EQ(24u, image.bitsPerPixel) << c.name;
        EXPECT_NE(nullptr, image.data) << c.name;
        Image header;
        EXPECT_TRUE(header.Load(Put(c.name, c.bytes), false)) << c.name;
        EXPECT_EQ(4u, header.height) << c.name;
        EXPECT_EQ(nullptr, header.data) << c.name;
    }
    // A bitmap under another extension goes to that reader, which refuses it.
    Image image;
    EXPECT_FALSE(image.Load(Put("wrong.png", WriteBmp(picture)), true));
    EXPECT_TRUE(log.Contains("Incorrect \"pictures\\wrong.png\" file format"));
    EXPECT_TRUE(image.empty);
}

TEST_F(ImageLoadTest, UnknownTypesAndMissingFilesAreLogged) {
    Image image;
    image.MakePlaceholder();
    EXPECT_FALSE(image.Load("pictures\\noextension", true));
    EXPECT_FALSE(image.Load("pictures\\x.gif", true));
    EXPECT_TRUE(log.Contains("Unknown \"pictures\\noextension\" image file type"));
    EXPECT_TRUE(log.Contains("Unknown \"pictures\\x.gif\" image file type"));
    EXPECT_FALSE(image.empty); // an unknown type leaves the image as it was

    EXPECT_FALSE(image.Load("pictures\\missing.tga", true));
    EXPECT_TRUE(log.Contains("Failed to open"));
    EXPECT_TRUE(image.empty);
}

// One picture through every format, read back by name and written out as PNG files to look at.
TEST_F(ImageLoadTest, EveryFormatReadsBackTheSamePicture) {
    const Picture picture = VelmoraTest::SamplePicture();
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        Picture expected;
        int tolerance; // of the mean difference per channel; lossless formats must match exactly
    } cases[] = {
        {"sample-bmp8.bmp", WriteBmp(picture.WithChannels(1).WithChannels(3), {8}),
         picture.WithChannels(1).WithChannels(3), 0},
        {"sample-bmp24.bmp", WriteBmp(picture, {24}), picture.WithChannels(3), 0},
        {"sample-bmp32.bmp", WriteBmp(picture, {32}), picture, 0},
        {"sample-tga-rle-top.tga", WriteTga(picture, {32, true, true, "", 0, 24}), picture, 0},
        {"sample-tga8.tga", WriteTga(picture, {8, false, false, "", 0, 24}), picture.WithChannels(1), 0},
        {"sample-png-rgba.png", WritePng(picture, {PngColour::RGBA, 8, true}), picture, 0},
        {"sample-png-grey16.png", WritePng(picture, {PngColour::Grey, 16, false}),
         picture.WithChannels(1).WithChannels(3), 0},
        {"sample-jpeg.jpg", WriteJpeg(picture.WithChannels(3), {90, true}), picture.WithChannels(3), 4},
    };
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Load(Put(c.name, c.bytes), true)) << c.name;
        ASSERT_EQ(c.expected.channels * 8, image.bitsPerPixel) << c.name;
        int worst = 0;
        int64_t total = 0;
        for (uint32_t y = 0; y < image.height; ++y)
            for (uint32_t x = 0; x < image.width; ++x) {
                const std::vector<uint8_t> actual = PixelAt(image, x, y);
                const uint8_t* want = c.expected.At(x, image.height - 1 - y);
                for (uint32_t k = 0; k < c.expected.channels; ++k) {
                    const int difference = std::abs(int(actual[k]) - int(want[k]));
                    worst = std::max(worst, difference);
                    total += difference;
                }
            }
        if (c.tolerance == 0)
            EXPECT_EQ(0, worst) << c.name;
        else
            EXPECT_LE(total / int64_t(image.width * image.height * c.expected.channels), c.tolerance)
                << c.name;
        VelmoraTest::SaveForViewing(image, c.name + ".png");
    }

    const std::vector<uint8_t> ddsBytes = WriteDds(picture, {DdsFormat::DXT5, false});
    FileDDS decoded(VelmoraTest::MemoryFile("sample.dds", ddsBytes), 0);
    Image image;
    ASSERT_TRUE(decoded.ReadLevel(0, image));
    VelmoraTest::SaveForViewing(image, "sample-dds-dxt5.dds.png");
    Image placeholder;
    placeholder.MakePlaceholder();
    VelmoraTest::SaveForViewing(placeholder, "placeholder.png");
}

} // namespace
