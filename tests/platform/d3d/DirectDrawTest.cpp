// ctest-label: graphics
#include "platform/d3d/DirectDraw.h"
#include "platform/d3d/D3DTest.h"
#include "platform/d3d/Direct3D.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestNativeWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct ColouredVertex {
    float x, y, z;
    float nx, ny, nz;
    uint32_t colour;
    float u, v;
};
static_assert(sizeof(ColouredVertex) == 36);

constexpr uint32_t ColouredFvf = FvfXyz | FvfNormal | FvfDiffuse | FvfTex1;

// The chain the render system builds in a window: driver, primary with clipper, off-screen back buffer with
// depth buffer, Direct3D and a device on the back buffer.
class WindowedChain {
public:
    // A 32-bit depth buffer carries a stencil unless told otherwise.
    WindowedChain(WindowHandle window, uint32_t width, uint32_t height, uint32_t depthBits = 32,
                  bool stencil = true) {
        EXPECT_EQ(CreateDisplayDriver(nullptr, &driver), ResultOk);
        EXPECT_EQ(driver->SetCooperativeLevel(window, CoopNormal | CoopFpuSetup), ResultOk);
        SurfaceDesc d;
        d.flags = DescCaps;
        d.caps = CapsPrimarySurface;
        EXPECT_EQ(driver->CreateSurface(d, &primary), ResultOk);
        Clipper* clipper = nullptr;
        EXPECT_EQ(driver->CreateClipper(0, &clipper), ResultOk);
        clipper->SetWindow(window);
        primary->SetClipper(clipper);
        clipper->Release();
        d.flags = DescCaps | DescWidth | DescHeight;
        d.caps = CapsOffscreenPlain | Caps3DDevice;
        d.width = width;
        d.height = height;
        EXPECT_EQ(driver->CreateSurface(d, &back), ResultOk);
        SurfaceDesc z;
        z.flags = DescCaps | DescWidth | DescHeight | DescPixelFormat;
        z.caps = CapsZBuffer | CapsVideoMemory;
        z.width = width;
        z.height = height;
        z.pixelFormat.flags = PixelZBuffer | (depthBits == 32 && stencil ? PixelStencilBuffer : 0);
        z.pixelFormat.bitCount = depthBits;
        EXPECT_EQ(driver->CreateSurface(z, &depth), ResultOk);
        EXPECT_EQ(back->AddAttachedSurface(depth), ResultOk);
        EXPECT_EQ(driver->QueryDirect3D(&direct3D), ResultOk);
        EXPECT_EQ(direct3D->CreateDevice(DeviceGuidTnLHal, back, &device), ResultOk);
        EXPECT_EQ(device->SetRenderTarget(back, 0), ResultOk);
    }

    // Releases in the render system's order; returns the device's and the driver's remaining counts.
    std::pair<uint32_t, uint32_t> Release() {
        uint32_t deviceLeft = device->Release();
        back->Release();
        depth->Release();
        primary->Release();
        direct3D->Release();
        uint32_t driverLeft = driver->Release();
        return {deviceLeft, driverLeft};
    }

    // The back buffer read through a system-memory surface, as the capture does, converted to RGBA rows
    // with the top row first.
    std::vector<uint8_t> ReadPixels(uint32_t width, uint32_t height) {
        SurfaceDesc d;
        back->GetSurfaceDesc(d);
        d.flags = DescCaps | DescWidth | DescHeight | DescPixelFormat;
        d.caps = CapsOffscreenPlain | CapsSystemMemory;
        Surface* copy = nullptr;
        EXPECT_EQ(driver->CreateSurface(d, &copy), ResultOk);
        EXPECT_EQ(copy->Blt(nullptr, back, nullptr, 0), ResultOk);
        void* bits = nullptr;
        SurfaceDesc locked;
        EXPECT_EQ(copy->Lock(nullptr, locked, &bits, LockWait | LockReadOnly), ResultOk);
        std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* row = static_cast<const uint8_t*>(bits) + y * static_cast<uint32_t>(locked.pitch);
            for (uint32_t x = 0; x < width; ++x) {
                uint8_t* to = &rgba[(static_cast<size_t>(y) * width + x) * 4];
                to[0] = row[x * 4 + 2];
                to[1] = row[x * 4 + 1];
                to[2] = row[x * 4 + 0];
                to[3] = 255;
            }
        }
        copy->Unlock(nullptr);
        copy->Release();
        return rgba;
    }

    DisplayDriver* driver = nullptr;
    Surface* primary = nullptr;
    Surface* back = nullptr;
    Surface* depth = nullptr;
    Direct3D* direct3D = nullptr;
    Device* device = nullptr;
};

class DirectDrawTest : public testing::Test {
protected:
    void SetUp() override {
        D3DTest::Reset();
        sim::Reset();
    }
    void TearDown() override {
        D3DTest::Reset();
        sim::Reset();
        EXPECT_EQ(D3DTest::LiveObjects(), 0u);
    }

    // A quad of two triangles in clip space at depth z.
    void DrawQuad(Device* device, float x0, float y0, float x1, float y1, float z, uint32_t colour,
                  bool clockwise = false) {
        ColouredVertex v[4] = {{x0, y0, z, 0, 0, -1, colour, 0, 0},
                               {x1, y0, z, 0, 0, -1, colour, 1, 0},
                               {x1, y1, z, 0, 0, -1, colour, 1, 1},
                               {x0, y1, z, 0, 0, -1, colour, 0, 1}};
        // Counter-clockwise on screen (y up), or the reverse.
        const uint16_t ccw[6] = {0, 1, 2, 0, 2, 3};
        const uint16_t cw[6] = {0, 2, 1, 0, 3, 2};
        EXPECT_EQ(device->DrawIndexedPrimitive(PrimitiveTriangleList, ColouredFvf, v, 4, clockwise ? cw : ccw,
                                               6, 0),
                  ResultOk);
    }

    static void UnlitDefaults(Device* device) {
        device->SetRenderState(RsLighting, 0);
        device->SetRenderState(RsCullMode, CullNone);
        device->SetRenderState(RsZEnable, 0);
    }

    static const uint8_t* Pixel(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t x, uint32_t y) {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }

    VelmoraTest::TestNativeWindow window{64, 48};
};

TEST_F(DirectDrawTest, WindowedChainClearsReadsBackTopRowFirstAndReleasesToZero) {
    WindowedChain chain(window.Get(), 64, 48);
    UnlitDefaults(chain.device);
    ASSERT_EQ(chain.device->Clear(0, nullptr, ClearTarget | ClearZBuffer, 0xFF0000FFu, 1, 0), ResultOk);
    ASSERT_EQ(chain.device->BeginScene(), ResultOk);
    // The top half green: clip-space y up is the picture's top.
    DrawQuad(chain.device, -1, 0, 1, 1, 0.5f, 0xFF00FF00u);
    ASSERT_EQ(chain.device->EndScene(), ResultOk);

    std::vector<uint8_t> rgba = chain.ReadPixels(64, 48);
    VelmoraTest::WritePng(VelmoraTest::TestOutputPath("d3d-windowed-chain.png"), 64, 48, rgba);
    EXPECT_EQ(Pixel(rgba, 64, 10, 2)[1], 255); // top row green
    EXPECT_EQ(Pixel(rgba, 64, 10, 2)[2], 0);
    EXPECT_EQ(Pixel(rgba, 64, 10, 45)[2], 255); // bottom row blue clear colour
    EXPECT_EQ(Pixel(rgba, 64, 10, 45)[1], 0);

    uint32_t presents = D3DTest::Presents();
    EXPECT_EQ(chain.primary->Blt(nullptr, chain.back, nullptr, BltWait), ResultOk);
    EXPECT_EQ(D3DTest::Presents(), presents + 1);

    auto [deviceLeft, driverLeft] = chain.Release();
    EXPECT_EQ(deviceLeft, 0u);
    EXPECT_EQ(driverLeft, 0u);
}

// Only a back buffer that can stand for the window (its size, a depth buffer like the window's: 24 bits
// without stencil; the first of its driver) draws into the window; the others draw into framebuffers of
// their own. Either way the nearer of two quads wins, the picture reads back, and a present shows it.
TEST_F(DirectDrawTest, ABackBufferDrawsIntoTheWindowOnlyWhenItCanStandForIt) {
    const struct {
        uint32_t width, height, depthBits;
        bool stencil;
        bool intoWindow;
    } cases[] = {{64, 48, 32, false, true},
                 {32, 24, 32, false, false},
                 {64, 48, 32, true, false},
                 {64, 48, 16, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", depth " +
                     std::to_string(c.depthBits) + (c.stencil ? " with stencil" : ""));
        WindowedChain chain(window.Get(), c.width, c.height, c.depthBits, c.stencil);
        EXPECT_EQ(chain.back->DrawsIntoWindow(), c.intoWindow);
        Device* device = chain.device;
        UnlitDefaults(device);
        device->SetRenderState(RsZEnable, 1);
        device->SetRenderState(RsZFunc, CmpLess);
        ASSERT_EQ(device->Clear(0, nullptr, ClearTarget | ClearZBuffer, 0xFF000000u, 1, 0), ResultOk);
        ASSERT_EQ(device->BeginScene(), ResultOk);
        DrawQuad(device, -1, -1, 0.5f, 0.5f, 0.3f, 0xFFFF0000u); // near, red
        DrawQuad(device, -0.5f, -0.5f, 1, 1, 0.6f, 0xFF00FF00u); // far, green, drawn last
        ASSERT_EQ(device->EndScene(), ResultOk);
        std::vector<uint8_t> rgba = chain.ReadPixels(c.width, c.height);
        const uint8_t* overlap = Pixel(rgba, c.width, c.width / 2, c.height / 2);
        EXPECT_EQ(overlap[0], 255);
        EXPECT_EQ(overlap[1], 0);
        const uint8_t* farOnly = Pixel(rgba, c.width, c.width - 2, 1);
        EXPECT_EQ(farOnly[1], 255);

        // A second target of the window's size takes the window only when the back buffer left it free.
        SurfaceDesc d;
        d.flags = DescCaps | DescWidth | DescHeight;
        d.caps = CapsOffscreenPlain | Caps3DDevice;
        d.width = 64;
        d.height = 48;
        Surface* other = nullptr;
        ASSERT_EQ(chain.driver->CreateSurface(d, &other), ResultOk);
        EXPECT_EQ(other->DrawsIntoWindow(), !c.intoWindow);
        other->Release();

        uint32_t presents = D3DTest::Presents();
        EXPECT_EQ(chain.primary->Blt(nullptr, chain.back, nullptr, BltWait), ResultOk);
        EXPECT_EQ(D3DTest::Presents(), presents + 1);
        auto [deviceLeft, driverLeft] = chain.Release();
        EXPECT_EQ(deviceLeft, 0u);
        EXPECT_EQ(driverLeft, 0u);
    }
}

// A program that asks for a stencil before its window exists gets it in the window's own framebuffer, so its
// back buffer with a stencil draws into the window too (and one without would not).
class DirectDrawStencilWindowTest : public testing::Test {
protected:
    struct StencilWish {
        StencilWish() {
            D3DTest::Reset();
            sim::Reset();
            platform::SetWindowStencilBits(8);
        }
        ~StencilWish() {
            sim::Reset();
            D3DTest::Reset();
        }
    } wish;
    VelmoraTest::TestNativeWindow window{64, 48};
};

TEST_F(DirectDrawStencilWindowTest, AStencilAskedBeforeTheWindowLetsTheBackBufferDrawIntoIt) {
    for (const bool stencil : {true, false}) {
        WindowedChain chain(window.Get(), 64, 48, 32, stencil);
        EXPECT_EQ(chain.back->DrawsIntoWindow(), stencil);
        auto [deviceLeft, driverLeft] = chain.Release();
        EXPECT_EQ(deviceLeft, 0u);
        EXPECT_EQ(driverLeft, 0u);
    }
}

TEST_F(DirectDrawTest, AnObjectStillHeldKeepsTheDriverReferenced) {
    WindowedChain chain(window.Get(), 64, 48);
    chain.back->AddRef(); // a surface somebody forgot to release
    auto [deviceLeft, driverLeft] = chain.Release();
    EXPECT_EQ(deviceLeft, 0u);
    EXPECT_GT(driverLeft, 0u);
    EXPECT_EQ(chain.back->Release(), 0u);
    EXPECT_EQ(D3DTest::LiveObjects(), 0u);
}

TEST_F(DirectDrawTest, FullScreenNeedsExclusiveModeAndAnOfferedMode) {
    DisplayDriver* driver = nullptr;
    ASSERT_EQ(CreateDisplayDriver(nullptr, &driver), ResultOk);
    ASSERT_EQ(driver->SetCooperativeLevel(window.Get(), CoopNormal), ResultOk);
    EXPECT_EQ(driver->SetDisplayMode(800, 600, 32, 0, 0), ErrNoExclusiveMode);
    SurfaceDesc d;
    d.flags = DescCaps | DescBackBufferCount;
    d.caps = CapsPrimarySurface | CapsFlip | CapsComplex | Caps3DDevice;
    d.backBufferCount = 1;
    Surface* primary = nullptr;
    EXPECT_EQ(driver->CreateSurface(d, &primary), ErrNoExclusiveMode);

    ASSERT_EQ(driver->SetCooperativeLevel(window.Get(), CoopFullScreen | CoopAllowReboot | CoopExclusive),
              ResultOk);
    EXPECT_EQ(driver->SetDisplayMode(1234, 567, 16, 0, 0), ErrInvalidMode);
    ASSERT_EQ(driver->SetDisplayMode(800, 600, 16, 0, 0), ResultOk);
    SurfaceDesc mode;
    driver->GetDisplayMode(mode);
    EXPECT_EQ(mode.width, 800u);
    EXPECT_EQ(mode.pixelFormat.bitCount, 16u);
    EXPECT_EQ(mode.pixelFormat.redMask, 0xF800u);

    ASSERT_EQ(driver->CreateSurface(d, &primary), ResultOk);
    Surface* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(CapsBackBuffer, &back), ResultOk);
    SurfaceDesc backDesc;
    back->GetSurfaceDesc(backDesc);
    EXPECT_EQ(backDesc.width, 800u);
    EXPECT_EQ(backDesc.pixelFormat.bitCount, 16u);
    uint32_t presents = D3DTest::Presents();
    EXPECT_EQ(primary->Flip(nullptr, FlipWait), ResultOk);
    EXPECT_EQ(D3DTest::Presents(), presents + 1);
    EXPECT_EQ(back->Release(), 1u); // the chain keeps its own reference
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(driver->Release(), 0u);
}

TEST_F(DirectDrawTest, ModeListAlwaysOffersTheDefaultModeAndDesktopOverrideIsReported) {
    sim::SetDesktopMode(800, 600, 32);
    std::vector<DisplayMode> modes = ListDisplayModes();
    auto has = [&](uint32_t w, uint32_t h, uint32_t b) {
        for (const DisplayMode& m : modes)
            if (m.width == w && m.height == h && m.bitsPerPixel == b)
                return true;
        return false;
    };
    EXPECT_TRUE(has(1024, 768, 32));
    EXPECT_TRUE(has(640, 480, 16));
    EXPECT_TRUE(has(800, 600, 32));
    EXPECT_FALSE(has(1280, 1024, 32)); // larger than the desktop
    EXPECT_EQ(GetDesktopMode().width, 800u);
}

TEST_F(DirectDrawTest, ClearWritesDepthEvenWhenDepthWritesAreOff) {
    WindowedChain chain(window.Get(), 64, 48);
    Device* device = chain.device;
    UnlitDefaults(device);
    device->SetRenderState(RsZEnable, 1);
    device->SetRenderState(RsZFunc, CmpLess);
    ASSERT_EQ(device->Clear(0, nullptr, ClearTarget | ClearZBuffer, 0xFF000000u, 0.0f, 0), ResultOk);
    device->SetRenderState(RsZWriteEnable, 0);
    ASSERT_EQ(device->Clear(0, nullptr, ClearTarget | ClearZBuffer, 0xFF000000u, 1.0f, 0), ResultOk);
    device->BeginScene();
    DrawQuad(device, -1, -1, 1, 1, 0.5f, 0xFFFFFFFFu);
    device->EndScene();
    std::vector<uint8_t> rgba = chain.ReadPixels(64, 48);
    EXPECT_EQ(Pixel(rgba, 64, 32, 24)[0], 255);
    chain.Release();
}

TEST_F(DirectDrawTest, PixelsAreSampledAtTheirCornersAndEdgesFillAsOnTheDevice) {
    WindowedChain chain(window.Get(), 64, 48);
    UnlitDefaults(chain.device);
    chain.device->Clear(0, nullptr, ClearTarget, 0xFF000000u, 1, 0);
    chain.device->BeginScene();
    // Screen pixels 10..20 across and 5..15 down, in clip space (y up).
    auto clipX = [](float x) { return 2 * x / 64 - 1; };
    auto clipY = [](float y) { return 1 - 2 * y / 48; };
    DrawQuad(chain.device, clipX(10), clipY(15), clipX(20), clipY(5), 0.5f, 0xFFFFFFFFu);
    chain.device->EndScene();
    std::vector<uint8_t> rgba = chain.ReadPixels(64, 48);
    struct Case {
        uint32_t x, y;
        bool covered;
    } cases[] = {{10, 5, true},   {19, 14, true},  {9, 5, false}, {10, 4, false},
                 {20, 14, false}, {19, 15, false}, {15, 10, true}};
    for (const Case& c : cases)
        EXPECT_EQ(Pixel(rgba, 64, c.x, c.y)[0] == 255, c.covered) << c.x << ", " << c.y;

    // Colours are sampled at the pixels' corners: across a black-to-white ramp over the whole width, pixel 0
    // is black and pixel 32 is half way.
    chain.device->BeginScene();
    ColouredVertex ramp[4] = {{-1, -1, 0.5f, 0, 0, -1, 0xFF000000u, 0, 0},
                              {1, -1, 0.5f, 0, 0, -1, 0xFFFFFFFFu, 1, 0},
                              {1, 1, 0.5f, 0, 0, -1, 0xFFFFFFFFu, 1, 1},
                              {-1, 1, 0.5f, 0, 0, -1, 0xFF000000u, 0, 1}};
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    chain.device->DrawIndexedPrimitive(PrimitiveTriangleList, ColouredFvf, ramp, 4, indices, 6, 0);
    chain.device->EndScene();
    rgba = chain.ReadPixels(64, 48);
    EXPECT_LE(Pixel(rgba, 64, 0, 20)[0], 1);
    EXPECT_NEAR(Pixel(rgba, 64, 32, 20)[0], 127.5, 1.0);
    chain.Release();
}

TEST_F(DirectDrawTest, CullModesRemoveTrianglesByTheirWindingOnScreen) {
    WindowedChain chain(window.Get(), 64, 48);
    Device* device = chain.device;
    UnlitDefaults(device);
    struct Case {
        uint32_t cull;
        bool clockwise;
        bool drawn;
    } cases[] = {{CullNone, false, true},
                 {CullNone, true, true},
                 {CullClockwise, true, false},
                 {CullClockwise, false, true},
                 {CullCounterClockwise, false, false},
                 {CullCounterClockwise, true, true}};
    for (const Case& c : cases) {
        device->Clear(0, nullptr, ClearTarget, 0xFF000000u, 1, 0);
        device->SetRenderState(RsCullMode, c.cull);
        device->BeginScene();
        DrawQuad(device, -1, -1, 1, 1, 0.5f, 0xFFFFFFFFu, c.clockwise);
        device->EndScene();
        std::vector<uint8_t> rgba = chain.ReadPixels(64, 48);
        EXPECT_EQ(Pixel(rgba, 64, 32, 24)[0] == 255, c.drawn)
            << "cull " << c.cull << " clockwise " << c.clockwise;
    }
    chain.Release();
}

TEST_F(DirectDrawTest, EqualZeroStencilWithIncrementDrawsEachPixelOnce) {
    WindowedChain chain(window.Get(), 64, 48);
    Device* device = chain.device;
    UnlitDefaults(device);
    device->SetRenderState(RsAlphaBlendEnable, 1);
    device->SetRenderState(RsSrcBlend, BlendOne);
    device->SetRenderState(RsDestBlend, BlendOne);
    device->SetRenderState(RsStencilFunc, CmpEqual);
    device->SetRenderState(RsStencilRef, 0);
    device->SetRenderState(RsStencilMask, 0xFFFFFFFFu);
    device->SetRenderState(RsStencilFail, StencilKeep);
    device->SetRenderState(RsStencilZFail, StencilKeep);
    device->SetRenderState(RsStencilPass, StencilIncr);
    for (bool stencil : {false, true}) {
        device->SetRenderState(RsStencilEnable, stencil ? 1 : 0);
        device->Clear(0, nullptr, ClearTarget | ClearZBuffer | ClearStencil, 0xFF000000u, 1, 0);
        device->BeginScene();
        DrawQuad(device, -1, -1, 0.5f, 1, 0.5f, 0xFF600000u);
        DrawQuad(device, -0.5f, -1, 1, 1, 0.5f, 0xFF600000u);
        device->EndScene();
        std::vector<uint8_t> rgba = chain.ReadPixels(64, 48);
        EXPECT_EQ(Pixel(rgba, 64, 32, 24)[0], stencil ? 0x60 : 0xC0) << "stencil " << stencil;
        EXPECT_EQ(Pixel(rgba, 64, 4, 24)[0], 0x60);
    }
    chain.Release();
}

TEST_F(DirectDrawTest, LostSurfacesFailUntilRestoredAndWindowedDriverSeesDesktopChange) {
    sim::SetDesktopMode(1024, 768, 32);
    WindowedChain chain(window.Get(), 64, 48);
    EXPECT_EQ(chain.driver->TestCooperativeLevel(), ResultOk);
    D3DTest::LoseSurfaces();
    EXPECT_EQ(chain.device->BeginScene(), ErrSurfaceLost);
    EXPECT_EQ(chain.primary->Blt(nullptr, chain.back, nullptr, BltWait), ErrSurfaceLost);
    EXPECT_EQ(chain.back->IsLost(), ErrSurfaceLost);

    D3DTest::FailStep(D3DStep::RestoreSurfaces);
    EXPECT_EQ(chain.driver->RestoreAllSurfaces(), ErrGeneric);
    EXPECT_EQ(chain.driver->RestoreAllSurfaces(), ResultOk);
    EXPECT_EQ(chain.device->BeginScene(), ResultOk);
    EXPECT_EQ(chain.device->EndScene(), ResultOk);

    D3DTest::SetCooperativeResult(ErrNoExclusiveMode);
    EXPECT_EQ(chain.driver->TestCooperativeLevel(), ErrNoExclusiveMode);
    D3DTest::SetCooperativeResult(ResultOk);
    sim::SetDesktopMode(1024, 768, 16);
    EXPECT_EQ(chain.driver->TestCooperativeLevel(), ErrWrongMode);
    chain.Release();
}

TEST_F(DirectDrawTest, InjectedFailuresHitTheNamedStepOnlyAndOnlyAsOftenAsAsked) {
    D3DTest::FailStep(D3DStep::CreateDevice, 1, ErrOutOfVideoMemory);
    DisplayDriver* driver = nullptr;
    ASSERT_EQ(CreateDisplayDriver(nullptr, &driver), ResultOk);
    ASSERT_EQ(driver->SetCooperativeLevel(window.Get(), CoopNormal), ResultOk);
    SurfaceDesc d;
    d.flags = DescCaps | DescWidth | DescHeight;
    d.caps = CapsOffscreenPlain | Caps3DDevice;
    d.width = 16;
    d.height = 16;
    Surface* back = nullptr;
    ASSERT_EQ(driver->CreateSurface(d, &back), ResultOk);
    Direct3D* d3d = nullptr;
    ASSERT_EQ(driver->QueryDirect3D(&d3d), ResultOk);
    Device* device = nullptr;
    EXPECT_EQ(d3d->CreateDevice(DeviceGuidTnLHal, back, &device), ErrOutOfVideoMemory);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(d3d->CreateDevice(DeviceGuidTnLHal, back, &device), ResultOk);
    EXPECT_EQ(device->Release(), 0u);
    d3d->Release();
    back->Release();
    EXPECT_EQ(driver->Release(), 0u);
}

TEST_F(DirectDrawTest, DeviceListAndFormatsFollowTheTestOverrides) {
    D3DTest::SetHardwareDevice(false);
    D3DTest::SetStageCount(1);
    D3DTest::SetStencilFormats(false);
    DisplayDriver* driver = nullptr;
    ASSERT_EQ(CreateDisplayDriver(nullptr, &driver), ResultOk);
    Direct3D* d3d = nullptr;
    ASSERT_EQ(driver->QueryDirect3D(&d3d), ResultOk);
    std::vector<DeviceDesc> devices;
    d3d->EnumDevices([&](const char*, const char*, const DeviceDesc& desc) {
        devices.push_back(desc);
        return true;
    });
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].deviceGuid, DeviceGuidSoftware);
    EXPECT_EQ(devices[0].devCaps & DevCapsHwRasterization, 0u);
    EXPECT_EQ(devices[0].maxSimultaneousTextures, 1);
    uint32_t stencilFormats = 0;
    d3d->EnumZBufferFormats(DeviceGuidSoftware, [&](const PixelFormat& f) {
        stencilFormats += f.stencilBits > 0 ? 1 : 0;
        return true;
    });
    EXPECT_EQ(stencilFormats, 0u);
    d3d->Release();
    EXPECT_EQ(driver->Release(), 0u);
}

} // namespace
