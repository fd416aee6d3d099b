// ctest-label: materials
// Texture surfaces of the DirectDraw stand-in: level chains and their descriptions, locking, refusals and
// injected failures, and that every level goes with the last reference.
#include "platform/d3d/TextureSurface.h"
#include "platform/d3d/D3DTest.h"
#include "platform/d3d/DirectDraw.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestNativeWindow.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

namespace {

PixelFormat Rgb(uint32_t flags, uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    PixelFormat f;
    f.flags = flags;
    f.bitCount = bits;
    f.redMask = r;
    f.greenMask = g;
    f.blueMask = b;
    f.alphaMask = a;
    return f;
}

PixelFormat Dxt(char digit) {
    PixelFormat f;
    f.flags = PixelFourCC;
    f.fourCC = MakeFourCC('D', 'X', 'T', digit);
    return f;
}

SurfaceDesc TextureRequest(uint32_t width, uint32_t height, uint32_t levels, const PixelFormat& format) {
    SurfaceDesc d;
    d.flags = DescCaps | DescWidth | DescHeight | DescPixelFormat;
    d.caps = CapsTexture;
    d.width = width;
    d.height = height;
    d.pixelFormat = format;
    if (levels > 1) {
        d.flags |= DescMipMapCount;
        d.mipMapCount = levels;
        d.caps |= CapsMipMap | CapsComplex;
    }
    return d;
}

class TextureSurfaces : public testing::Test {
protected:
    void SetUp() override {
        D3DTest::Reset();
        baseline = D3DTest::LiveObjects();
        ASSERT_EQ(CreateDisplayDriver(nullptr, &driver), ResultOk);
        ASSERT_EQ(driver->SetCooperativeLevel(window.Get(), CoopNormal), ResultOk);
    }
    void TearDown() override {
        EXPECT_EQ(driver->Release(), 0u); // no texture level still holds the driver
        EXPECT_EQ(D3DTest::LiveObjects(), baseline);
        D3DTest::Reset();
    }

    // Every level's description, walking the chain as the texture upload does.
    std::vector<SurfaceDesc> Walk(Surface* top) {
        std::vector<SurfaceDesc> levels;
        Surface* level = top;
        top->AddRef();
        while (level != nullptr) {
            SurfaceDesc d;
            level->GetSurfaceDesc(d);
            levels.push_back(d);
            Surface* next = nullptr;
            if (Failed(level->GetAttachedSurface(CapsTexture | CapsMipMap | CapsComplex, &next)))
                next = nullptr;
            level->Release();
            level = next;
        }
        return levels;
    }

    VelmoraTest::TestNativeWindow window{320, 240};
    DisplayDriver* driver = nullptr;
    uint32_t baseline = 0;
};

} // namespace

TEST_F(TextureSurfaces, ChainsOfLevelsWithTheirSizes) {
    struct Case {
        PixelFormat format;
        uint32_t width, height, levels;
        std::vector<std::vector<uint32_t>> expected; // width, height, pitch or linear size
    } cases[] = {
        {Rgb(PixelRGB | PixelAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u),
         256,
         64,
         9,
         {{256, 64, 1024},
          {128, 32, 512},
          {64, 16, 256},
          {32, 8, 128},
          {16, 4, 64},
          {8, 2, 32},
          {4, 1, 16},
          {2, 1, 8},
          {1, 1, 4}}},
        {Rgb(PixelRGB, 16, 0xF800, 0x07E0, 0x001F, 0), 8, 8, 1, {{8, 8, 16}}},
        {Dxt('1'),
         64,
         64,
         7,
         {{64, 64, 2048}, {32, 32, 512}, {16, 16, 128}, {8, 8, 32}, {4, 4, 8}, {2, 2, 8}, {1, 1, 8}}},
        {Dxt('5'), 8, 4, 2, {{8, 4, 32}, {4, 2, 16}}},
    };
    for (const Case& c : cases) {
        Surface* top = nullptr;
        ASSERT_EQ(driver->CreateSurface(TextureRequest(c.width, c.height, c.levels, c.format), &top),
                  ResultOk);
        std::vector<SurfaceDesc> levels = Walk(top);
        ASSERT_EQ(levels.size(), c.expected.size());
        for (size_t k = 0; k < levels.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(levels[k].width, c.expected[k][0]);
            EXPECT_EQ(levels[k].height, c.expected[k][1]);
            const bool compressed = (c.format.flags & PixelFourCC) != 0;
            EXPECT_EQ(compressed ? levels[k].linearSize : uint32_t(levels[k].pitch), c.expected[k][2]);
        }
        EXPECT_NE(top->GetTexture(), 0u);
        EXPECT_EQ(top->Release(), 0u); // the whole chain goes with it (the fixture counts)
    }
}

TEST_F(TextureSurfaces, LockingOneLevelAtATime) {
    Surface* top = nullptr;
    ASSERT_EQ(driver->CreateSurface(
                  TextureRequest(4, 4, 3,
                                 Rgb(PixelRGB | PixelAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u)),
                  &top),
              ResultOk);
    SurfaceDesc d;
    void* bits = nullptr;
    EXPECT_EQ(top->Unlock(nullptr), ErrNotLocked);
    ASSERT_EQ(top->Lock(nullptr, d, &bits, LockWait | LockWriteOnly), ResultOk);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(d.pitch, 16);
    std::memset(bits, 0x7F, 64);
    void* again = nullptr;
    EXPECT_TRUE(Failed(top->Lock(nullptr, d, &again, LockWait)));
    EXPECT_EQ(top->Unlock(nullptr), ResultOk);

    D3DTest::FailStep(D3DStep::LockTexture, 2, ErrWasStillDrawing);
    EXPECT_EQ(top->Lock(nullptr, d, &bits, LockWait | LockWriteOnly), ErrWasStillDrawing);
    EXPECT_EQ(top->Lock(nullptr, d, &bits, LockWait | LockWriteOnly), ErrWasStillDrawing);
    EXPECT_EQ(top->Lock(nullptr, d, &bits, LockWait | LockWriteOnly), ResultOk);
    EXPECT_EQ(top->Unlock(nullptr), ResultOk);

    // A level held by the caller outlives the release of the top level, and still locks.
    Surface* second = nullptr;
    ASSERT_EQ(top->GetAttachedSurface(CapsTexture | CapsMipMap, &second), ResultOk);
    EXPECT_EQ(top->Release(), 0u);
    ASSERT_EQ(second->Lock(nullptr, d, &bits, LockWait | LockWriteOnly), ResultOk);
    EXPECT_EQ(d.width, 2u);
    EXPECT_EQ(second->Unlock(nullptr), ResultOk);
    EXPECT_EQ(second->Release(), 0u);
}

TEST_F(TextureSurfaces, RefusesWhatGlCannotHold) {
    PixelFormat luminance;
    luminance.flags = PixelLuminance;
    luminance.bitCount = 8;
    const PixelFormat argb = Rgb(PixelRGB | PixelAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
    struct Case {
        SurfaceDesc request;
        Result expected;
    } cases[] = {
        {TextureRequest(8, 8, 1, luminance), ErrInvalidPixelFormat},
        {TextureRequest(8, 8, 1, Rgb(PixelRGB, 24, 0xFF0000, 0xFF00, 0xFF, 0)), ErrInvalidPixelFormat},
        {TextureRequest(0, 8, 1, argb), ErrInvalidParams},
        {TextureRequest(8, 8, 5, argb), ErrInvalidParams}, // 8 x 8 has four levels
        {TextureRequest(20000, 8, 1, argb), ErrInvalidParams},
    };
    for (const Case& c : cases) {
        Surface* s = nullptr;
        EXPECT_EQ(driver->CreateSurface(c.request, &s), c.expected);
        EXPECT_EQ(s, nullptr);
    }
    D3DTest::FailStep(D3DStep::CreateTexture, 1, ErrOutOfVideoMemory);
    Surface* s = nullptr;
    EXPECT_EQ(driver->CreateSurface(TextureRequest(8, 8, 1, argb), &s), ErrOutOfVideoMemory);
    EXPECT_EQ(s, nullptr);
}
