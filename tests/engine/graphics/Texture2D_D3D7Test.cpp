// ctest-label: materials
// Textures on the device: the conversion of each level into the surface's pixel format, the format chosen for
// the display depth, the memory figure of a mip chain, on-demand surfaces and surfaces given back by a device
// reset.
#include "engine/graphics/Texture2D_D3D7.h"
#include "engine/core/Error.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/TextureManager.h"
#include "platform/d3d/DirectDraw.h"
#include "platform/d3d/TextureSurface.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/TestLog.h"
#include "tools/formats/DdsWriter.h"
#include "tools/formats/PngWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

platform::SurfaceDesc Desc(uint32_t width, uint32_t height, uint32_t bits, uint32_t r, uint32_t g, uint32_t b,
                           uint32_t a, uint32_t pitch) {
    platform::SurfaceDesc d;
    d.width = width;
    d.height = height;
    d.pitch = static_cast<int32_t>(pitch);
    d.pixelFormat.flags = platform::PixelRGB | (a != 0 ? platform::PixelAlphaPixels : 0);
    d.pixelFormat.bitCount = bits;
    d.pixelFormat.redMask = r;
    d.pixelFormat.greenMask = g;
    d.pixelFormat.blueMask = b;
    d.pixelFormat.alphaMask = a;
    return d;
}

const platform::SurfaceDesc Argb8888 = Desc(1, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, 4);
const platform::SurfaceDesc Rgb565 = Desc(1, 1, 16, 0xF800, 0x07E0, 0x001F, 0, 2);
const platform::SurfaceDesc Argb4444 = Desc(1, 1, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, 2);
const platform::SurfaceDesc Argb1555 = Desc(1, 1, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, 2);

void MakeImage(Image& image, uint32_t width, uint32_t height, uint32_t bits, std::vector<uint8_t> pixels) {
    image.Create(width, height, bits, true);
    ASSERT_EQ(pixels.size(), image.size);
    std::memcpy(image.data, pixels.data(), pixels.size());
}

// Writes data/<name> as a PNG of the given size, RGB, every pixel (r, g, b).
void WriteSolidPng(const fs::path& root, const std::string& name, uint32_t size) {
    VelmoraFormats::Picture picture(size, size, 3);
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            uint8_t* p = picture.At(x, y);
            p[0] = 200;
            p[1] = 100;
            p[2] = 50;
        }
    VelmoraFormats::PngOptions options;
    options.colour = VelmoraFormats::PngColour::RGB;
    VelmoraFormats::SaveFile((root / "data" / name).string(), VelmoraFormats::WritePng(picture, options));
}

} // namespace

TEST(TextureUpload, ConvertsEachPixelIntoTheSurfaceFormat) {
    struct Case {
        const char* what;
        platform::SurfaceDesc desc;
        uint32_t bits;
        std::vector<uint8_t> pixel;
        uint32_t opacityBits; // 0: none
        std::vector<uint8_t> opacityPixel;
        std::vector<uint8_t> expected; // the surface bytes
        TextureFormat format;
    } cases[] = {
        {"colour, opaque",
         Argb8888,
         24,
         {255, 128, 0},
         0,
         {},
         {0x00, 0x80, 0xFF, 0xFF},
         TextureFormatA8R8G8B8},
        {"grey", Argb8888, 8, {77}, 0, {}, {77, 77, 77, 255}, TextureFormatA8R8G8B8},
        {"own alpha", Argb8888, 32, {1, 2, 3, 4}, 0, {}, {3, 2, 1, 4}, TextureFormatA8R8G8B8},
        {"grey opacity", Argb8888, 24, {1, 2, 3}, 8, {99}, {3, 2, 1, 99}, TextureFormatA8R8G8B8},
        {"opacity's own alpha",
         Argb8888,
         32,
         {1, 2, 3, 4},
         32,
         {9, 9, 9, 42},
         {3, 2, 1, 42},
         TextureFormatA8R8G8B8},
        {"565", Rgb565, 24, {255, 128, 0}, 0, {}, {0x00, 0xFC}, TextureFormatR5G6B5},
        {"4444", Argb4444, 32, {255, 128, 0, 64}, 0, {}, {0x80, 0x4F}, TextureFormatA4R4G4B4},
        {"1555", Argb1555, 32, {255, 0, 255, 200}, 0, {}, {0x1F, 0xFC}, TextureFormatUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image level;
        MakeImage(level, 1, 1, c.bits, c.pixel);
        Image opacity;
        if (c.opacityBits != 0)
            MakeImage(opacity, 1, 1, c.opacityBits, c.opacityPixel);
        std::vector<uint8_t> surface(c.desc.pitch, 0xAB);
        const uint32_t bytes = Texture2D_D3D7::Upload(c.desc, surface.data(), level,
                                                      c.opacityBits != 0 ? &opacity : nullptr, c.format);
        EXPECT_EQ(surface, c.expected);
        EXPECT_EQ(bytes, c.expected.size());
    }
}

TEST(TextureUpload, RowsGoPitchApartBottomRowFirst) {
    Image level;
    MakeImage(level, 2, 2, 24, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}); // row 0 is the picture's bottom
    platform::SurfaceDesc desc = Argb8888;
    desc.width = 2;
    desc.height = 2;
    desc.pitch = 12; // a padded row
    std::vector<uint8_t> surface(24, 0xAB);
    EXPECT_EQ(Texture2D_D3D7::Upload(desc, surface.data(), level, nullptr, TextureFormatA8R8G8B8), 16u);
    const std::vector<uint8_t> expected = {1, 1, 1, 255, 2, 2, 2, 255, 0xAB, 0xAB, 0xAB, 0xAB,
                                           3, 3, 3, 255, 4, 4, 4, 255, 0xAB, 0xAB, 0xAB, 0xAB};
    EXPECT_EQ(surface, expected);

    // Compressed blocks are copied as they are, never past the level or the surface.
    platform::SurfaceDesc dxt;
    dxt.width = dxt.height = 4;
    dxt.flags = platform::DescLinearSize;
    dxt.linearSize = 8;
    dxt.pixelFormat.flags = platform::PixelFourCC;
    dxt.pixelFormat.fourCC = platform::MakeFourCC('D', 'X', 'T', '1');
    Image blocks;
    MakeImage(blocks, 4, 4, 8, std::vector<uint8_t>(16, 0x5A));
    std::vector<uint8_t> out(8, 0);
    EXPECT_EQ(Texture2D_D3D7::Upload(dxt, out.data(), blocks, nullptr, TextureFormatDXT1), 8u);
    EXPECT_EQ(out, std::vector<uint8_t>(8, 0x5A));

    // Data that does not fill the surface (blocks read as pixels) is never read past its end.
    platform::SurfaceDesc big = Argb8888;
    big.width = big.height = 4;
    big.pitch = 16;
    Image small;
    MakeImage(small, 1, 1, 32, {1, 2, 3, 4});
    small.width = small.height = 4; // claims more than its buffer holds
    std::vector<uint8_t> wide(64, 0);
    Texture2D_D3D7::Upload(big, wide.data(), small, nullptr, TextureFormatA8R8G8B8);
    EXPECT_EQ(wide[0], 3);
    EXPECT_EQ(wide[63], 255);
}

class DeviceTextures : public testing::Test {
protected:
    DeviceTextures() {
        root = fs::path(VelmoraTest::TempDir()) / "device-textures";
        fs::create_directories(root / "data");
        WriteSolidPng(root, "solid256.png", 256);
        WriteSolidPng(root, "solid8.png", 8);
        FileManager::Instance(&files);
    }

    VelmoraTest::TestLog log;
    fs::path root;
    FileManager files{(fs::path(VelmoraTest::TempDir()) / "device-textures").string(), false, "data", 0};
};

TEST_F(DeviceTextures, FormatsFollowTheDisplayDepth) {
    struct Case {
        uint32_t desktopBits;
        uint32_t imageBits;
        TextureFormat imageFormat;
        TextureFormat expected;
    } cases[] = {
        {32, 24, TextureFormatR8G8B8, TextureFormatA8R8G8B8},
        {32, 32, TextureFormatA8R8G8B8, TextureFormatA8R8G8B8},
        {16, 24, TextureFormatR8G8B8, TextureFormatR5G6B5},
        {16, 32, TextureFormatA8R8G8B8, TextureFormatA4R4G4B4},
        {32, 32, TextureFormatDXT5, TextureFormatDXT5},
        {16, 32, TextureFormatDXT1, TextureFormatDXT1},
    };
    for (const Case& c : cases) {
        VelmoraTest::RenderFixture device(640, 480, c.desktopBits);
        platform::PixelFormat format;
        EXPECT_EQ(Texture2D_D3D7::ChooseFormat(device.renderSystem.get(), c.imageBits, c.imageFormat, format),
                  c.expected);
        if (c.expected >= TextureFormatDXT1)
            EXPECT_EQ(format.fourCC,
                      platform::MakeFourCC('D', 'X', 'T', char('1' + c.expected - TextureFormatDXT1)));
        else
            EXPECT_EQ(ClassifyPixelFormat(format), c.expected);
    }
}

TEST_F(DeviceTextures, MemoryOfAFullMipChain) {
    VelmoraTest::RenderFixture device(640, 480);
    TextureManager textures;
    Texture2D* texture = textures.GetTexture(true, "data\\solid256.png", "", false);
    EXPECT_TRUE(texture->HasSurface());
    EXPECT_TRUE(texture->HasMipMaps());
    EXPECT_EQ(texture->width, 256u);
    EXPECT_EQ(texture->memoryBytes, 349524u); // 4 x (65536 + 16384 + ... + 1)
    textures.GetTexture(true, "data\\solid8.png", "", false);
    EXPECT_EQ(textures.GetUsedVideoMemory(), 349524u + 4u * (64 + 16 + 4 + 1));
    EXPECT_FALSE(log.Contains("Direct3D Subsystem"));
}

TEST_F(DeviceTextures, OnDemandSurfacesAndDeviceResets) {
    VelmoraTest::RenderFixture device(640, 480);
    RenderSystem_D3D7& rs = *device.renderSystem;
    TextureManager textures;
    auto* lazy = static_cast<Texture2D_D3D7*>(textures.GetTexture(true, "data\\solid8.png", "", true));
    auto* eager = static_cast<Texture2D_D3D7*>(textures.GetTexture(true, "data\\solid256.png", "", false));
    EXPECT_FALSE(lazy->HasSurface());
    EXPECT_EQ(lazy->width, 8u); // known without pixels
    EXPECT_EQ(lazy->memoryBytes, 0u);

    textures.Update();
    rs.SetTexture(0, lazy); // a stage binds it: the surface is made
    lazy->framesUnused = 0;
    EXPECT_TRUE(lazy->HasSurface());
    EXPECT_GT(lazy->memoryBytes, 0u);
    for (int frame = 0; frame < 3; ++frame)
        textures.Update();
    EXPECT_TRUE(lazy->HasSurface());
    textures.Update();
    EXPECT_FALSE(lazy->HasSurface());
    EXPECT_EQ(lazy->memoryBytes, 0u);
    EXPECT_TRUE(eager->HasSurface());

    // A reset that re-creates textures gives every surface back first; bit 1 makes them again.
    rs.SetTexture(0, nullptr);
    rs.recreateTextures = true;
    rs.Reset(1);
    EXPECT_FALSE(eager->HasSurface());
    EXPECT_TRUE(rs.recreateTextures);
    rs.Reset(2);
    EXPECT_TRUE(eager->HasSurface());
    EXPECT_TRUE(lazy->HasSurface());
    EXPECT_FALSE(rs.recreateTextures);
    EXPECT_TRUE(rs.ready);

    // The live-texture list: a texture it does not hold stops the program.
    rs.RemoveTexture(lazy);
    try {
        rs.RemoveTexture(lazy);
        ADD_FAILURE() << "removed twice";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.GetText(), "RenderSystem_D3D7: Failed to remove texture \"" + lazy->name + "\"");
    }
    rs.AddTexture(lazy);
}

TEST_F(DeviceTextures, ASurfaceThatCannotBeMadeIsLoggedAndTriedAgain) {
    VelmoraTest::RenderFixture device(640, 480);
    TextureManager textures;
    platform::D3DTest::FailStep(platform::D3DStep::CreateTexture, 1, platform::ErrOutOfVideoMemory);
    auto* texture = static_cast<Texture2D_D3D7*>(textures.GetTexture(true, "data\\solid8.png", "", false));
    EXPECT_FALSE(texture->HasSurface());
    EXPECT_EQ(texture->memoryBytes, 0u);
    EXPECT_TRUE(log.Contains("Direct3D Subsystem (Texture2D_D3D7::CreateSurface (CreateSurface) (1)): "));

    // A lock still drawing is waited for; the upload then completes.
    platform::D3DTest::FailStep(platform::D3DStep::LockTexture, 3, platform::ErrWasStillDrawing);
    EXPECT_NE(texture->GetSurface(), nullptr);
    EXPECT_EQ(texture->memoryBytes, 4u * (64 + 16 + 4 + 1));

    // A lock that fails leaves no surface to draw from.
    texture->ReleaseSurface();
    platform::D3DTest::FailStep(platform::D3DStep::LockTexture, 1, platform::ErrGeneric);
    EXPECT_EQ(texture->GetSurface(), nullptr);
    EXPECT_TRUE(log.Contains("Texture2D_D3D7::CreateSurface (Lock)"));
    EXPECT_NE(texture->GetSurface(), nullptr);
}

TEST_F(DeviceTextures, TexturesFromImagesKeepThemForTheNextSurface) {
    VelmoraTest::RenderFixture device(640, 480);
    Image* diffuse = new Image();
    MakeImage(*diffuse, 2, 2, 24, std::vector<uint8_t>(12, 90));
    Image* opacity = new Image();
    MakeImage(*opacity, 2, 2, 8, {10, 20, 30, 40});
    std::unique_ptr<Texture2D> texture(
        device.renderSystem->CreateTexture("made", diffuse, opacity, true, false));
    auto* onDevice = static_cast<Texture2D_D3D7*>(texture.get());
    EXPECT_TRUE(onDevice->HasSurface());
    EXPECT_EQ(onDevice->memoryBytes, 4u * (4 + 1)); // with its one mip level
    onDevice->ReleaseSurface();
    EXPECT_EQ(onDevice->memoryBytes, 0u);
    EXPECT_NE(onDevice->GetSurface(), nullptr); // made again from the kept images
    EXPECT_EQ(onDevice->memoryBytes, 20u);

    Image* lazyImage = new Image();
    MakeImage(*lazyImage, 4, 2, 24, std::vector<uint8_t>(24, 1));
    std::unique_ptr<Texture2D> lazy(
        device.renderSystem->CreateTexture("lazy", lazyImage, nullptr, false, true));
    EXPECT_FALSE(lazy->HasSurface());
    EXPECT_EQ(lazy->width, 4u);
    EXPECT_EQ(lazy->height, 2u);
}

TEST_F(DeviceTextures, SurfacesAskForWhatTheDeviceManages) {
    VelmoraFormats::Picture picture(8, 8, 4);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x) {
            uint8_t* p = picture.At(x, y);
            p[0] = p[1] = p[2] = static_cast<uint8_t>(x * 30);
            p[3] = static_cast<uint8_t>(y * 30);
        }
    VelmoraFormats::DdsOptions dxt5;
    dxt5.format = VelmoraFormats::DdsFormat::DXT5;
    dxt5.mipMaps = true;
    VelmoraFormats::SaveFile((root / "data" / "dxt5.dds").string(), VelmoraFormats::WriteDds(picture, dxt5));

    for (bool hardware : {true, false}) {
        SCOPED_TRACE(hardware ? "hardware" : "software");
        VelmoraTest::RenderFixture device(640, 480, 32, hardware);
        EXPECT_EQ(device.renderSystem->IsHardwareDevice(), hardware);
        TextureManager textures;
        auto* plain = static_cast<Texture2D_D3D7*>(textures.GetTexture(true, "data\\solid8.png", "", false));
        platform::SurfaceDesc desc;
        ASSERT_NE(plain->GetSurface(), nullptr);
        plain->GetSurface()->GetSurfaceDesc(desc);
        EXPECT_EQ(desc.caps & (platform::CapsTexture | platform::CapsMipMap | platform::CapsComplex),
                  platform::CapsTexture | platform::CapsMipMap | platform::CapsComplex);
        EXPECT_EQ(desc.mipMapCount, 4u);
        EXPECT_EQ(desc.caps2 == platform::Caps2TextureManage, hardware);
        EXPECT_EQ((desc.caps & platform::CapsSystemMemory) != 0, !hardware);

        // Where the device offers DXT5 the data stay compressed: blocks of 8 x 8, 4 x 4, 2 x 2 and 1 x 1, 16
        // bytes each. Elsewhere the file is decoded and uploaded as A8R8G8B8.
        auto* packed = static_cast<Texture2D_D3D7*>(textures.GetTexture(true, "data\\dxt5.dds", "", false));
        ASSERT_NE(packed->GetSurface(), nullptr);
        packed->GetSurface()->GetSurfaceDesc(desc);
        if ((device.renderSystem->textureFormats & (1u << TextureFormatDXT5)) != 0) {
            EXPECT_EQ(desc.pixelFormat.fourCC, platform::MakeFourCC('D', 'X', 'T', '5'));
            EXPECT_EQ(packed->memoryBytes, 64u + 16u + 16u + 16u);
        } else {
            EXPECT_EQ(ClassifyPixelFormat(desc.pixelFormat), TextureFormatA8R8G8B8);
            EXPECT_EQ(packed->memoryBytes, 4u * (64 + 16 + 4 + 1));
        }
    }
}
