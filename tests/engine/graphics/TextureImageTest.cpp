// ctest-label: images
#include "engine/graphics/TextureImage.h"

#include "engine/core/Config.h"
#include "engine/core/EngineSettings.h"
#include "engine/files/FileManager.h"
#include "tests/engine/graphics/ImageFixtures.h"
#include "tests/support/RecordingRenderSystem.h"
#include "tests/support/TestLog.h"
#include "tools/formats/BmpWriter.h"
#include "tools/formats/DdsWriter.h"
#include "tools/formats/PngWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace OrvexEngine;
using namespace VelmoraFormats;
using VelmoraTest::PixelAt;

namespace {

using Bytes = std::vector<uint8_t>;

// A log, the settings, a file manager over a fresh folder and a device whose largest texture is 4096.
class TextureImageTest : public testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::path(VelmoraTest::TempDir()) /
               testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(root / "textures");
        config = std::make_unique<Config>(root.string(), "Test", false, "", false, false);
        Config::Instance(config.get());
        files = std::make_unique<FileManager>(root.string(), false, "data", 0);
        FileManager::Instance(files.get());
        device = std::make_unique<VelmoraTest::RecordingRenderSystem>(2);
        device->maxTextureWidth = device->maxTextureHeight = 4096;
    }

    std::string Put(const std::string& name, const Bytes& bytes) {
        SaveFile((root / "textures" / name).string(), bytes);
        return "textures\\" + name;
    }

    static Image* Filled(uint32_t w, uint32_t h, uint32_t bits, const Vec4& colour) {
        Image* image = new Image;
        image->Create(w, h, bits, true);
        image->Fill(colour);
        return image;
    }

    static Picture Flat(uint32_t w, uint32_t h, std::initializer_list<uint8_t> pixel) {
        Picture picture(w, h, uint32_t(pixel.size()));
        for (size_t p = 0; p < picture.pixels.size(); p += pixel.size())
            std::copy(pixel.begin(), pixel.end(), picture.pixels.begin() + long(p));
        return picture;
    }

    EngineSettings& Settings() { return config->GetSettings(); }

    VelmoraTest::TestLog log;
    std::filesystem::path root;
    std::unique_ptr<Config> config;
    std::unique_ptr<FileManager> files;
    std::unique_ptr<VelmoraTest::RecordingRenderSystem> device;
};

const std::string powerOfTwoWarning = "Texture Image: \"\" image size should be power of two";

TEST(TextureSizeTest, IsValidTextureSize) {
    for (uint32_t n : {0u, 1u, 2u, 4u, 256u, 65536u})
        EXPECT_TRUE(IsValidTextureSize(n)) << n;
    for (uint32_t n : {3u, 6u, 384u, 65535u, 131072u, 0x80000000u})
        EXPECT_FALSE(IsValidTextureSize(n)) << n;
}

TEST_F(TextureImageTest, SizesAreFittedToPowersOfTwoWithinTheDevice) {
    struct Case {
        uint32_t w, h, deviceMaximum;
        uint32_t fittedWidth, fittedHeight;
        bool warned;
    } cases[] = {
        {300, 200, 4096, 256, 256, true}, // 300 is nearer 256 than 512; 200 nearer 256 than 128
        {384, 64, 4096, 512, 64, true},   // a tie goes up
        {512, 512, 256, 256, 256, false}, // the device's limit, without a warning
        {3, 1, 4096, 4, 1, true},         // a target of one row
        {1, 1, 4096, 1, 1, false},
    };
    for (const Case& c : cases) {
        log.Manager().ClearEntries();
        device->maxTextureWidth = device->maxTextureHeight = c.deviceMaximum;
        TextureImage texture(Filled(c.w, c.h, 24, Vec4(0.5f, 0.25f, 1.0f, 1.0f)), nullptr, false);
        texture.Load();
        EXPECT_EQ(c.fittedWidth, texture.width) << c.w << " x " << c.h;
        EXPECT_EQ(c.fittedHeight, texture.height) << c.w << " x " << c.h;
        EXPECT_EQ(c.fittedWidth, texture.diffuse->width);
        EXPECT_EQ((std::vector<uint8_t>{127, 63, 255}), PixelAt(*texture.diffuse, c.fittedWidth - 1, 0));
        EXPECT_EQ(c.warned, log.Contains(powerOfTwoWarning)) << c.w << " x " << c.h;
        EXPECT_EQ(24u, texture.bitsPerPixel);
        EXPECT_EQ(TextureFormatR8G8B8, texture.format);
    }
}

TEST_F(TextureImageTest, TheMipChainHalvesDownToOnePixel) {
    TextureImage texture(Filled(256, 64, 32, Vec4(1.0f, 0.5f, 0.0f, 0.5f)), nullptr, true);
    texture.Load();
    EXPECT_EQ(32u, texture.bitsPerPixel);
    EXPECT_EQ(TextureFormatA8R8G8B8, texture.format);
    const uint32_t sizes[][2] = {{128, 32}, {64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}};
    ASSERT_EQ(8u, texture.mipLevels.size());
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(sizes[i][0], texture.mipLevels[i]->width) << "level " << i + 1;
        EXPECT_EQ(sizes[i][1], texture.mipLevels[i]->height) << "level " << i + 1;
        EXPECT_EQ((std::vector<uint8_t>{255, 127, 0, 127}), PixelAt(*texture.mipLevels[i], 0, 0));
    }
    texture.Load(); // built again, not added to
    EXPECT_EQ(8u, texture.mipLevels.size());

    TextureImage single(Filled(1, 1, 24, Vec4(1.0f, 1.0f, 1.0f, 1.0f)), nullptr, true);
    single.Load();
    EXPECT_TRUE(single.mipLevels.empty());
}

TEST_F(TextureImageTest, MipSettingsAreReadAtTheRightTimes) {
    Settings().rUseMipMapping = false;
    TextureImage without(Filled(8, 8, 24, Vec4(0.0f, 1.0f, 0.0f, 1.0f)), nullptr, true);
    Settings().rUseMipMapping = true; // later changes leave existing textures alone
    without.Load();
    EXPECT_FALSE(without.mipMapping);
    EXPECT_TRUE(without.mipLevels.empty());

    Settings().rShowMipMaps = true;
    TextureImage shown(Filled(8, 8, 32, Vec4(0.0f, 1.0f, 0.0f, 0.5f)), nullptr, true);
    shown.Load();
    ASSERT_EQ(3u, shown.mipLevels.size());
    EXPECT_EQ((std::vector<uint8_t>{255, 0, 0, 127}), PixelAt(*shown.mipLevels[0], 3, 3));
    EXPECT_EQ((std::vector<uint8_t>{0, 255, 0, 127}), PixelAt(*shown.diffuse, 0, 0));
}

TEST_F(TextureImageTest, BuildMipLevelAveragesTwoByTwoBlocks) {
    Image source;
    source.Create(3, 3, 8, true); // odd sizes: the last column and row are dropped
    const uint8_t values[] = {1, 2, 100, 3, 5, 100, 100, 100, 100};
    std::copy(std::begin(values), std::end(values), source.data);
    Image out;
    TextureImage::BuildMipLevel(source, nullptr, out);
    EXPECT_EQ(1u, out.width);
    EXPECT_EQ(8u, out.bitsPerPixel);
    EXPECT_EQ(3, out.data[0]); // (1 + 2 + 3 + 5 + 2) >> 2

    Image column; // one pixel wide: the right neighbour is the pixel itself
    column.Create(1, 2, 8, true);
    column.data[0] = 10;
    column.data[1] = 21;
    TextureImage::BuildMipLevel(column, nullptr, out);
    EXPECT_EQ(16, out.data[0]); // (10 + 10 + 21 + 21 + 2) >> 2

    Image opacity; // with an opacity image: 32 bits, grey spread, alpha from the opacity's first byte
    opacity.Create(3, 3, 24, true);
    for (uint32_t p = 0; p < 9; ++p) {
        opacity.data[3 * p] = uint8_t(40 * (p % 3));
        opacity.data[3 * p + 1] = opacity.data[3 * p + 2] = 255;
    }
    TextureImage::BuildMipLevel(source, &opacity, out);
    EXPECT_EQ(32u, out.bitsPerPixel);
    EXPECT_EQ((std::vector<uint8_t>{3, 3, 3, 20}), PixelAt(out, 0, 0));
}

TEST_F(TextureImageTest, OpacityFilesGiveTheAlpha) {
    const std::string colour =
        Put("wall.png", WritePng(Flat(128, 128, {200, 100, 50}), {PngColour::RGB, 8, false}));
    const std::string mask = Put("wall_mask.bmp", WriteBmp(Flat(64, 64, {80, 80, 80})));
    TextureImage texture(colour, mask, true);
    texture.Load();
    EXPECT_TRUE(log.Contains("Texture Image: \"textures\\wall_mask.bmp\" image size should be the same as "
                             "\"textures\\wall.png\""));
    ASSERT_NE(nullptr, texture.opacity);
    EXPECT_EQ(128u, texture.opacity->width);
    EXPECT_EQ(32u, texture.bitsPerPixel);
    EXPECT_EQ(TextureFormatA8R8G8B8, texture.format);
    ASSERT_FALSE(texture.mipLevels.empty());
    EXPECT_EQ((std::vector<uint8_t>{200, 100, 50, 80}), PixelAt(*texture.mipLevels[0], 10, 10));

    struct Case {
        Picture picture;
        PngColour colour;
        uint8_t alpha;
    } sameFile[] = {{Flat(4, 4, {200, 100, 50}), PngColour::RGB, 200},      // red stands in for alpha
                    {Flat(4, 4, {200, 100, 50, 77}), PngColour::RGBA, 77}}; // the file's own alpha
    for (const Case& c : sameFile) {
        const std::string name = Put("same.png", WritePng(c.picture, {c.colour, 8, false}));
        TextureImage both(name, name, true);
        both.Load();
        ASSERT_NE(nullptr, both.opacity);
        EXPECT_EQ(c.alpha, PixelAt(*both.mipLevels[0], 0, 0)[3]);
        both.ReleaseImages();
        EXPECT_EQ(nullptr, both.diffuse);
        EXPECT_EQ(nullptr, both.opacity);
        EXPECT_TRUE(both.mipLevels.empty());
    }
}

TEST_F(TextureImageTest, MissingFilesGiveThePlaceholderOrNoOpacity) {
    const std::string colour = Put("ok.png", WritePng(Flat(4, 4, {1, 2, 3}), {PngColour::RGB, 8, false}));
    TextureImage noMask(colour, "textures\\missing.bmp", false);
    noMask.Load();
    EXPECT_EQ(nullptr, noMask.opacity);
    EXPECT_EQ(24u, noMask.bitsPerPixel);

    TextureImage noColour("textures\\missing.png", "", false);
    noColour.Load();
    ASSERT_NE(nullptr, noColour.diffuse);
    EXPECT_EQ(64u, noColour.width);
    EXPECT_EQ((std::vector<uint8_t>{255, 255, 0}), PixelAt(*noColour.diffuse, 0, 0));
    EXPECT_TRUE(log.Contains("Failed to open"));

    Image* kept = Filled(4, 4, 24, Vec4(0.0f, 0.0f, 1.0f, 1.0f));
    TextureImage given(kept, nullptr, true);
    given.Load();
    given.ReleaseImages(); // images handed in stay for the next upload
    EXPECT_EQ(kept, given.diffuse);
    EXPECT_TRUE(given.mipLevels.empty());
}

TEST_F(TextureImageTest, DdsLevelsComeFromTheFile) {
    const std::string name =
        Put("stone.dds", WriteDds(VelmoraTest::SamplePicture(16, 16), {DdsFormat::DXT1, true}));
    TextureImage decoded(name, "", true); // a device without DXT1: decoded levels
    decoded.Load();
    EXPECT_EQ(TextureFormatA8R8G8B8, decoded.format);
    EXPECT_EQ(4u, decoded.mipLevels.size());
    EXPECT_EQ(16u * 16 * 4, decoded.diffuse->size);

    device->textureFormats = 1u << TextureFormatDXT1; // kept compressed
    TextureImage mipped(name, "", true);
    mipped.Load();
    EXPECT_EQ(TextureFormatDXT1, mipped.format);
    EXPECT_EQ(128u, mipped.diffuse->size); // 16 x 16 in 16 blocks of 8 bytes
    EXPECT_EQ(16u, mipped.width);
    EXPECT_EQ(32u, mipped.bitsPerPixel);
    ASSERT_EQ(4u, mipped.mipLevels.size());
    EXPECT_EQ(2u, mipped.mipLevels[2]->width);

    Settings().rUseMipMapping = false;
    TextureImage single(name, "", true);
    single.Load();
    EXPECT_TRUE(single.mipLevels.empty());
    single.ReadInfo();
    EXPECT_EQ(16u, single.height);

    log.Manager().ClearEntries();
    TextureImage missing("textures\\gone.dds", "", false);
    missing.Load();
    EXPECT_EQ(64u, missing.width);
    EXPECT_EQ(24u, missing.bitsPerPixel);
    EXPECT_EQ(TextureFormatR8G8B8, missing.format);
    bool plainLine = false;
    for (uint32_t i = 0; i < log.Manager().GetEntryCount(); ++i)
        plainLine =
            plainLine || (log.Manager().GetEntry(i)->type == MessageTypeMessage &&
                          log.Manager().GetEntry(i)->text.find("Failed to open") != std::string::npos);
    EXPECT_TRUE(plainLine);
}

TEST_F(TextureImageTest, ReadInfoKeepsNoPixels) {
    const std::string name =
        Put("wide.png", WritePng(Flat(48, 16, {1, 2, 3, 4}), {PngColour::RGBA, 8, false}));
    TextureImage texture(name, "", true);
    texture.ReadInfo();
    EXPECT_EQ(48u, texture.width); // no fitting for the answer
    EXPECT_EQ(16u, texture.height);
    EXPECT_EQ(32u, texture.bitsPerPixel);
    EXPECT_EQ(TextureFormatA8R8G8B8, texture.format);
    EXPECT_EQ(nullptr, texture.diffuse);
    EXPECT_TRUE(log.Contains("Texture Image: \"textures\\wide.png\" image size should be power of two"));

    TextureImage missing("textures\\none.png", "", true);
    missing.ReadInfo();
    EXPECT_EQ(64u, missing.width);
    EXPECT_EQ(TextureFormatR8G8B8, missing.format);
}

} // namespace
