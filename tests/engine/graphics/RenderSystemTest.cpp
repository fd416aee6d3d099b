// ctest-label: graphics
#include "engine/graphics/RenderSystem.h"

#include "engine/core/Config.h"
#include "tests/support/RecordingRenderSystem.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace OrvexEngine;
using VelmoraTest::RecordingRenderSystem;

namespace {

class RenderSystemTest : public testing::Test {
protected:
    void SetUp() override {
        Config::Instance(&config);
        rs = std::make_unique<RecordingRenderSystem>(2);
        rs->calls.clear();
    }

    VelmoraTest::TestLog log;
    Config config{"", "", false, "800x600x32", false, false};
    std::unique_ptr<RecordingRenderSystem> rs;
};

TEST_F(RenderSystemTest, EachSetterPushesOnlyChangesBeyondItsTolerance) {
    Matrix4 moved = Matrix4::Translation(Vec3(1, 2, 3));
    Matrix4 nearlyMoved = moved;
    nearlyMoved[3] += 0.00005f;
    struct Case {
        const char* update;
        std::function<void()> same;   // the value the cache already holds (or within tolerance of it)
        std::function<void()> change; // a different value, then the same one again
    };
    RecordingRenderSystem& r = *rs;
    Case cases[] = {
        {"UpdateViewMatrix", [&] { r.SetViewMatrix(Matrix4::Identity()); },
         [&] { r.SetViewMatrix(moved), r.SetViewMatrix(nearlyMoved); }},
        {"UpdateWorldMatrix", [&] { r.SetWorldMatrix(Matrix4::Identity()); },
         [&] { r.SetWorldMatrix(moved), r.SetWorldMatrix(moved); }},
        {"UpdateAmbientColor", [&] { r.SetAmbientColor(Vec4(0.00005f, 0, 0, 1)); },
         [&] { r.SetAmbientColor(Vec4(0.5f, 0, 0, 1)), r.SetAmbientColor(Vec4(0.50005f, 0, 0, 1)); }},
        {"UpdateAlphaBlend", [&] { r.SetAlphaBlend(false); },
         [&] { r.SetAlphaBlend(true), r.SetAlphaBlend(true); }},
        {"UpdateBlend", [&] { r.SetBlend(0, 0); }, [&] { r.SetBlend(4, 5), r.SetBlend(4, 5); }},
        {"UpdateTexture 1", [&] { r.SetTexture(1, nullptr); },
         [&] {
             r.SetTexture(1, reinterpret_cast<Texture2D*>(&r)),
                 r.SetTexture(1, reinterpret_cast<Texture2D*>(&r));
         }},
        {"UpdateTextureFilter 1", [&] { r.SetTextureFilter(1, 1); },
         [&] { r.SetTextureFilter(1, 2), r.SetTextureFilter(1, 2); }},
        {"UpdateTextureAdressU 0", [&] { r.SetTextureAdressU(0, 1); },
         [&] { r.SetTextureAdressU(0, 0), r.SetTextureAdressU(0, 0); }},
        {"UpdateTextureAdressV 0", [&] { r.SetTextureAdressV(0, 1); },
         [&] { r.SetTextureAdressV(0, 0), r.SetTextureAdressV(0, 0); }},
        {"UpdateTextureMatrix 0", [&] { r.SetTextureMatrix(0, 1.00005f, 1, 0, 0); },
         [&] { r.SetTextureMatrix(0, 2, 1, 0.5f, 0), r.SetTextureMatrix(0, 2, 1, 0.50005f, 0); }},
        {"UpdateCullMode", [&] { r.SetCullMode(0); }, [&] { r.SetCullMode(2), r.SetCullMode(2); }},
        {"UpdateLighting", [&] { r.SetLighting(false); }, [&] { r.SetLighting(true), r.SetLighting(true); }},
        {"UpdatenormalizeNormals", [&] { r.SetNormalizeNormals(false); },
         [&] { r.SetNormalizeNormals(true), r.SetNormalizeNormals(true); }},
        {"UpdateZ", [&] { r.SetZ(false); }, [&] { r.SetZ(true), r.SetZ(true); }},
        {"UpdateZWrite", [&] { r.SetZWrite(true); }, [&] { r.SetZWrite(false), r.SetZWrite(false); }},
        {"UpdateStencil", [&] { r.SetStencil(false); }, [&] { r.SetStencil(true), r.SetStencil(true); }},
    };
    for (const Case& c : cases) {
        r.calls.clear();
        c.same();
        EXPECT_EQ(r.Count(c.update), 0) << c.update << " unchanged";
        c.change();
        EXPECT_EQ(r.Count(c.update), 1) << c.update << " changed once";
        EXPECT_EQ(r.calls.size(), 1u) << c.update;
    }
    // The cache holds the new value before the update reads it.
    EXPECT_TRUE(r.CachedView().Equals(moved));
}

TEST_F(RenderSystemTest, DefaultStatesPushEveryStateOnceInOrderEvenWhenCached) {
    for (int run = 0; run < 2; ++run) {
        rs->calls.clear();
        rs->SetDefaultStates();
        std::vector<std::string> expected = {"SetMaterial",        "UpdateViewMatrix", "UpdateWorldMatrix",
                                             "UpdateAmbientColor", "UpdateAlphaBlend", "UpdateBlend"};
        for (int stage = 0; stage < 2; ++stage)
            for (const char* name : {"UpdateTexture", "UpdateMaxTextureAnisotropy", "UpdateTextureFilter",
                                     "UpdateTextureAdressU", "UpdateTextureAdressV", "UpdateTextureMatrix"})
                expected.push_back(std::string(name) + " " + std::to_string(stage));
        for (const char* name : {"UpdateCullMode", "UpdateLighting", "UpdatenormalizeNormals", "UpdateZ",
                                 "UpdateZWrite", "UpdateStencil"})
            expected.push_back(name);
        EXPECT_EQ(rs->calls, expected) << "run " << run;
        EXPECT_FALSE(rs->forceStates);
    }
    rs->calls.clear();
    rs->SetZWrite(true);
    EXPECT_TRUE(rs->calls.empty());
}

TEST_F(RenderSystemTest, OneStageDeviceCachesOneStage) {
    rs.reset();
    rs = std::make_unique<RecordingRenderSystem>(1);
    EXPECT_EQ(rs->Count("UpdateTexture 0"), 1);
    EXPECT_EQ(rs->Count("UpdateTexture 1"), 0);
    rs->calls.clear();
    rs->SetTextureFilter(1, 0); // no such stage: ignored
    EXPECT_TRUE(rs->calls.empty());
}

TEST_F(RenderSystemTest, RefreshClampsTheConfiguredAnisotropyToTheDevice) {
    struct Case {
        int32_t configured;
        uint32_t deviceMax;
        int32_t result;
    } cases[] = {{16, 4, 4}, {0, 16, 1}, {-3, 16, 1}, {8, 0, 1}, {2, 16, 2}};
    for (const Case& c : cases) {
        rs->maxAnisotropy = c.deviceMax;
        config.GetSettings().rTextureAnisotropy = c.configured;
        rs->calls.clear();
        rs->Refresh();
        EXPECT_EQ(config.GetSettings().rTextureAnisotropy, c.result);
        EXPECT_EQ(rs->StageAnisotropy(1), c.result);
        rs->calls.clear();
        rs->Refresh();
        EXPECT_EQ(rs->Count("UpdateMaxTextureAnisotropy 0"), 0) << "unchanged value pushed again";
    }
}

TEST_F(RenderSystemTest, VideoModeCheckComparesTheParsedSettingWithTheCurrentMode) {
    auto* adapter = new AdapterInfo();
    auto* device = new DeviceInfo();
    auto* mode = new ModeInfo();
    mode->width = 800;
    mode->height = 600;
    mode->bitsPerPixel = 32;
    device->modes.push_back(mode);
    device->currentMode = mode;
    adapter->devices.push_back(device);
    adapter->currentDevice = device;
    rs->adapters.push_back(adapter);
    rs->currentAdapter = adapter;

    struct Case {
        const char* mode;
        bool fullScreen;
        bool reset;
    } cases[] = {{"800x600x32", false, false}, {"800X600x32", false, false}, {"800x600x16", false, true},
                 {"1024x768x32", false, true}, {"800x600x32", true, true},   {"desktop", false, true}};
    for (const Case& c : cases) {
        rs->resetNeeded = false;
        config.GetSettings().vMode = c.mode;
        config.GetSettings().vFullscreen = c.fullScreen;
        rs->UpdateVideoMode();
        EXPECT_EQ(rs->resetNeeded, c.reset) << c.mode << " " << c.fullScreen;
    }
    // "desktop" compares with 640 x 480 x 16, so that mode itself needs no reset.
    mode->width = 640;
    mode->height = 480;
    mode->bitsPerPixel = 16;
    rs->resetNeeded = false;
    config.GetSettings().vMode = "desktop";
    config.GetSettings().vFullscreen = false;
    rs->UpdateVideoMode();
    EXPECT_FALSE(rs->resetNeeded);
}

TEST_F(RenderSystemTest, ResetFlagsClearTheirOwnState) {
    rs->ready = false;
    rs->resetNeeded = true;
    rs->recreateTextures = true;
    rs->Reset(2);
    EXPECT_FALSE(rs->ready);
    EXPECT_TRUE(rs->resetNeeded);
    EXPECT_FALSE(rs->recreateTextures);
    rs->Reset(1);
    EXPECT_TRUE(rs->ready);
    EXPECT_FALSE(rs->resetNeeded);
}

TEST(ClassifyPixelFormatTest, MasksAndFourCCsGiveTheirCodes) {
    using platform::PixelFormat;
    auto rgb = [](uint32_t flags, uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
        PixelFormat f;
        f.flags = flags;
        f.bitCount = bits;
        f.redMask = r;
        f.greenMask = g;
        f.blueMask = b;
        f.alphaMask = a;
        return f;
    };
    const uint32_t rgbA = platform::PixelRGB | platform::PixelAlphaPixels;
    EXPECT_EQ(ClassifyPixelFormat(rgb(rgbA, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u)), TextureFormatA8R8G8B8);
    EXPECT_EQ(ClassifyPixelFormat(rgb(platform::PixelRGB, 32, 0xFF0000, 0xFF00, 0xFF, 0)),
              TextureFormatUnknown);
    EXPECT_EQ(ClassifyPixelFormat(rgb(rgbA, 16, 0x0F00, 0xF0, 0xF, 0xF000)), TextureFormatA4R4G4B4);
    EXPECT_EQ(ClassifyPixelFormat(rgb(platform::PixelRGB, 16, 0xF800, 0x7E0, 0x1F, 0)), TextureFormatR5G6B5);
    EXPECT_EQ(ClassifyPixelFormat(rgb(rgbA, 16, 0x7C00, 0x3E0, 0x1F, 0x8000)), TextureFormatUnknown);
    // A luminance flag beside RGB does not pass the exact flag test.
    EXPECT_EQ(
        ClassifyPixelFormat(rgb(platform::PixelRGB | platform::PixelLuminance, 16, 0xF800, 0x7E0, 0x1F, 0)),
        TextureFormatUnknown);
    PixelFormat dxt;
    dxt.flags = platform::PixelFourCC | platform::PixelRGB;
    dxt.bitCount = 32;
    dxt.fourCC = platform::MakeFourCC('D', 'X', 'T', '3');
    EXPECT_EQ(ClassifyPixelFormat(dxt), TextureFormatDXT3);
}

} // namespace
