// ctest-label: graphics
#include "engine/graphics/RenderSystem_D3D7.h"

#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "engine/core/Window.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/VertexBuffer.h"
#include "platform/d3d/D3DTest.h"
#include "platform/d3d/Direct3D.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace OrvexEngine;

namespace {

class RenderSystemD3D7Test : public testing::Test {
protected:
    void SetUp() override {
        platform::D3DTest::Reset();
        platform::sim::Reset();
        platform::sim::SetDesktopMode(1024, 768, 32);
        platform::sim::SetWorkArea({0, 0, 1024, 768});
    }

    void TearDown() override {
        rs.reset();
        window.reset();
        config.reset();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
    }

    // Config, window and render system as the Engine builds them, "v_mode" and "v_fullscreen" given.
    void Build(const std::string& mode, bool fullScreen, bool stencil = true, bool oversized = false) {
        config = std::make_unique<Config>("", "", false, "800x600x32", false, false);
        Config::Instance(config.get());
        config->GetSettings().vMode = mode;
        config->GetSettings().vFullscreen = fullScreen;
        uint32_t width = 0;
        uint32_t height = 0;
        ParseVideoMode(mode, &width, &height, nullptr);
        window = std::make_unique<Window>("test", 0, 0, width, height, fullScreen, true, Vec2i(0, 0));
        Window::Instance(window.get());
        rs = std::make_unique<RenderSystem_D3D7>(stencil, oversized);
        RenderSystem::Instance(rs.get());
    }

    ModeInfo* Mode() const { return rs->currentAdapter->currentDevice->currentMode; }
    std::string ModeText() const {
        return std::to_string(Mode()->width) + "x" + std::to_string(Mode()->height) + "x" +
               std::to_string(Mode()->bitsPerPixel);
    }
    int Count(const std::string& text) const {
        int n = 0;
        for (const std::string& entry : log.Texts())
            n += entry.find(text) != std::string::npos ? 1 : 0;
        return n;
    }

    VelmoraTest::TestLog log;
    std::unique_ptr<Config> config;
    std::unique_ptr<Window> window;
    std::unique_ptr<RenderSystem_D3D7> rs;
};

TEST_F(RenderSystemD3D7Test, StartUpLogsTheCapabilitiesAndShutDownReleasesEveryObject) {
    Build("800x600x32", false);
    EXPECT_TRUE(log.Contains("\nInitialization of Direct3D subsystem..."));
    EXPECT_TRUE(log.Contains("...Creating DirectDraw..."));
    EXPECT_TRUE(log.Contains("......Capabilities:"));
    EXPECT_TRUE(log.Contains(".........Maximal texture units: " + std::to_string(rs->stageCount)));
    EXPECT_TRUE(log.Contains(".........Maximal texture size: "));
    EXPECT_TRUE(log.Contains(".........Maximal texture anisotropy: "));
    EXPECT_TRUE(rs->ready);
    EXPECT_TRUE(rs->hasStencil);
    EXPECT_GE(rs->stageCount, 1u);
    EXPECT_NE(rs->textureFormats & (1u << TextureFormatA8R8G8B8), 0u);
    EXPECT_NE(rs->textureFormats & (1u << TextureFormatDXT5), 0u);
    EXPECT_EQ(rs->textureFormats & (1u << TextureFormatR8G8B8), 0u);
    EXPECT_EQ(ModeText(), "800x600x32");
    rs.reset();
    EXPECT_TRUE(log.Contains("\nDirect3D Subsystem destroying:"));
    EXPECT_TRUE(log.Contains("...Releasing DirectDraw..."));
    EXPECT_FALSE(log.Contains("still referenced"));
    EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
}

struct ModeCase {
    const char* name;
    const char* mode;
    bool fullScreen;
    uint32_t desktopWidth, desktopHeight, desktopBits;
    const char* expectedMode;
    const char* expectedSetting; // "v_mode" afterwards
    bool expectedFullScreen;
};

class ModeChoiceTest : public RenderSystemD3D7Test, public testing::WithParamInterface<ModeCase> {};

TEST_P(ModeChoiceTest, ChoosesTheModeAndRewritesTheSettingAsTheTableSays) {
    const ModeCase& c = GetParam();
    platform::sim::SetDesktopMode(c.desktopWidth, c.desktopHeight, c.desktopBits);
    platform::sim::SetWorkArea(
        {0, 0, static_cast<int32_t>(c.desktopWidth), static_cast<int32_t>(c.desktopHeight)});
    Build(c.mode, c.fullScreen);
    EXPECT_EQ(ModeText(), c.expectedMode);
    EXPECT_EQ(config->GetSettings().vMode, c.expectedSetting);
    EXPECT_EQ(config->GetSettings().vFullscreen, c.expectedFullScreen);
    EXPECT_EQ(rs->currentAdapter->currentDevice->fullScreen, c.expectedFullScreen);
    EXPECT_EQ(window->width, Mode()->width);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModeChoiceTest,
    testing::Values(
        ModeCase{"Windowed", "800x600x32", false, 1024, 768, 32, "800x600x32", "800x600x32", false},
        ModeCase{"DesktopAnyCase", "DeskTop", false, 1280, 1024, 32, "1280x1024x32", "DeskTop", true},
        ModeCase{"Desktop24BitFallsBack", "desktop", false, 1024, 768, 24, "800x600x32", "800x600x32", true},
        ModeCase{"TooLargeWindow", "1600x1200x32", false, 1280, 1024, 32, "1024x768x32", "1600x1200x32",
                 false},
        ModeCase{"WorkAreaSizedWindow", "1024x768x32", false, 1024, 768, 32, "800x600x32", "1024x768x32",
                 false},
        ModeCase{"UnknownFullScreen", "1234x567x16", true, 1024, 768, 32, "800x600x32", "800x600x32", true},
        ModeCase{"FullScreen16Bit", "640x480x16", true, 1024, 768, 32, "640x480x16", "640x480x16", true}),
    [](const testing::TestParamInfo<ModeCase>& param) { return std::string(param.param.name); });

TEST_F(RenderSystemD3D7Test, MissingDefaultModeFallsToTheSmallestModeAndThenEndsTheProgram) {
    platform::D3DTest::SetModes({{1024, 768, 32}, {640, 480, 16}});
    Build("1234x567x32", true);
    EXPECT_EQ(ModeText(), "640x480x16");
    EXPECT_EQ(config->GetSettings().vMode, "640x480x16");
    rs.reset();
    window.reset();

    platform::D3DTest::SetModes({{1024, 768, 32}});
    try {
        Build("1234x567x32", true);
        FAIL() << "no mode should be found";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "RenderSystem_D3D7: Failed to find compatible video mode");
    }
    EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
}

TEST_F(RenderSystemD3D7Test, FailedCreationStepOnHardwareFallsBackToSoftwareWithCapabilitiesLoggedAgain) {
    using platform::D3DStep;
    for (D3DStep step : {D3DStep::SetDisplayMode, D3DStep::CreatePrimary, D3DStep::CreateBackBuffer,
                         D3DStep::CreateDevice, D3DStep::SetViewport, D3DStep::CreateZBuffer,
                         D3DStep::SetRenderTarget, D3DStep::CooperativeLevel}) {
        log.Manager().ClearEntries();
        platform::D3DTest::FailStep(step);
        try {
            Build("800x600x32", true);
        } catch (const Error& error) {
            FAIL() << "step " << static_cast<int>(step) << ": " << error.GetText();
        }
        auto* device = static_cast<DeviceInfo_D3D7*>(rs->currentAdapter->currentDevice);
        EXPECT_FALSE(device->hardware) << static_cast<int>(step);
        EXPECT_EQ(Count("......RenderSystem_D3D7: Switching to the software rasterizer"), 1);
        EXPECT_EQ(Count("RenderSystem_D3D7: Failed to"), 1);
        EXPECT_EQ(Count("......Capabilities:"), 1); // the hardware attempt failed before logging them
        EXPECT_TRUE(rs->ready);
        rs.reset();
        window.reset();
        EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
    }
    EXPECT_TRUE(log.Contains("Failed to set DirectDraw cooperative level"));
}

TEST_F(RenderSystemD3D7Test, FailureOnTheSoftwareDeviceEndsTheProgram) {
    platform::D3DTest::FailStep(platform::D3DStep::CreateDevice, 2);
    try {
        Build("800x600x32", false);
        FAIL() << "expected the fatal error";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "RenderSystem_D3D7: Failed to create Direct3D device");
    }
    EXPECT_TRUE(log.Contains("PROGRAM ABORTING: RenderSystem_D3D7: Failed to create Direct3D device"));
    EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
}

TEST_F(RenderSystemD3D7Test, DepthBufferWithoutStencilWhenNoneIsOffered) {
    platform::D3DTest::SetStencilFormats(false);
    Build("800x600x32", false, true);
    EXPECT_FALSE(rs->hasStencil);
    EXPECT_TRUE(rs->ready);
    rs.reset();
    window.reset();
    platform::D3DTest::SetStencilFormats(true);
    Build("800x600x16", true, false);
    EXPECT_FALSE(rs->hasStencil);
}

TEST_F(RenderSystemD3D7Test, LostDeviceDrawsNothingUntilRestoredAndAFailedRestoreAsksForAReset) {
    Build("800x600x32", true);
    uint32_t presents = platform::D3DTest::Presents();
    rs->SwapBuffers();
    EXPECT_EQ(platform::D3DTest::Presents(), presents + 1);

    // Another program took the display.
    platform::D3DTest::SetCooperativeResult(platform::ErrNoExclusiveMode);
    platform::D3DTest::LoseSurfaces();
    rs->Refresh();
    EXPECT_FALSE(rs->ready);
    EXPECT_FALSE(rs->resetNeeded);
    rs->SwapBuffers();
    EXPECT_EQ(platform::D3DTest::Presents(), presents + 1);

    // Back: the surfaces are restored and drawing resumes without a reset.
    platform::D3DTest::SetCooperativeResult(platform::ResultOk);
    rs->Refresh();
    EXPECT_TRUE(rs->ready);
    EXPECT_FALSE(rs->resetNeeded);
    rs->SwapBuffers();
    EXPECT_EQ(platform::D3DTest::Presents(), presents + 2);

    // Lost again, and this time the restore fails: the next frame resets.
    platform::D3DTest::SetCooperativeResult(platform::ErrNoExclusiveMode);
    rs->Refresh();
    platform::D3DTest::SetCooperativeResult(platform::ResultOk);
    platform::D3DTest::FailStep(platform::D3DStep::RestoreSurfaces);
    rs->Refresh();
    EXPECT_FALSE(rs->ready);
    EXPECT_TRUE(rs->resetNeeded);
    EXPECT_TRUE(rs->recreateTextures);
    EXPECT_TRUE(log.Contains(
        "Direct3D Subsystem (RenderSystem_D3D7::Refresh): There is an undefined error condition."));
    rs->Reset(1);
    EXPECT_TRUE(rs->ready);
    EXPECT_FALSE(rs->resetNeeded);
    EXPECT_TRUE(rs->recreateTextures); // cleared only by bit 1
    EXPECT_TRUE(log.Contains("\nReseting Direct3D device:"));
    EXPECT_EQ(Count("......Capabilities:"), 1); // a reset does not log them again
    rs->SwapBuffers();
    EXPECT_EQ(platform::D3DTest::Presents(), presents + 3);
}

TEST_F(RenderSystemD3D7Test, SurfaceLostDuringTheFrameIsRestoredOnTheSpot) {
    Build("800x600x32", false);
    platform::D3DTest::LoseSurfaces();
    log.Manager().ClearEntries();
    rs->BeginScene(); // the clear reports the lost surface, the scene begins after a restore
    EXPECT_EQ(Count("RenderSystem_D3D7::BeginScene"), 1);
    rs->EndScene();
    platform::D3DTest::LoseSurfaces();
    uint32_t presents = platform::D3DTest::Presents();
    rs->SwapBuffers(); // lost: restored, not presented
    EXPECT_EQ(platform::D3DTest::Presents(), presents);
    rs->SwapBuffers();
    EXPECT_EQ(platform::D3DTest::Presents(), presents + 1);
    EXPECT_EQ(Count("Error"), 1);
}

TEST_F(RenderSystemD3D7Test, WindowedDeviceSeesTheDesktopDepthChangeAndResetsAtTheNewDepth) {
    Build("800x600x32", false);
    EXPECT_EQ(rs->currentAdapter->currentDevice->currentMode->bitsPerPixel, 32u);
    platform::sim::SetDesktopMode(1024, 768, 16);
    rs->Refresh();
    EXPECT_FALSE(rs->ready);
    EXPECT_TRUE(rs->resetNeeded);
    EXPECT_TRUE(rs->recreateTextures);
    rs->Reset(3);
    EXPECT_TRUE(rs->ready);
    EXPECT_FALSE(rs->recreateTextures);
    rs->Refresh();
    EXPECT_TRUE(rs->ready);
    EXPECT_FALSE(rs->resetNeeded);
}

TEST_F(RenderSystemD3D7Test, VideoModeCheckFlagsAResetOnlyForAChangeButAlwaysRecreatesTextures) {
    Build("800x600x32", false);
    rs->UpdateVideoMode();
    EXPECT_FALSE(rs->resetNeeded);
    EXPECT_TRUE(rs->recreateTextures);
    config->GetSettings().vMode = "1024x768x32";
    rs->UpdateVideoMode();
    EXPECT_TRUE(rs->resetNeeded);
    config->GetSettings().vMode = "800x600x32";
    rs->resetNeeded = false;
    config->GetSettings().vFullscreen = true;
    rs->UpdateVideoMode();
    EXPECT_TRUE(rs->resetNeeded);
    rs->Reset(3);
    EXPECT_TRUE(window->fullscreen);
    EXPECT_TRUE(rs->currentAdapter->currentDevice->fullScreen);
}

TEST_F(RenderSystemD3D7Test, ResetOntoADeviceWithMoreStagesSizesTheStageCache) {
    // The hardware device blends one texture, the software one four; the reset falls back to software.
    platform::D3DTest::SetStageCount(1, 4);
    Build("800x600x32", false);
    EXPECT_EQ(rs->stageCount, 1u);
    platform::D3DTest::FailStep(platform::D3DStep::CreateDevice);
    rs->Reset(1);
    EXPECT_EQ(rs->stageCount, 4u);
    rs->SetTextureFilter(3, FilterPoint);
    rs->SetTextureAdressU(3, AddressClampCode);
    uint32_t value = 0;
    rs->GetDevice()->GetTextureStageState(3, platform::TssMinFilter, &value);
    EXPECT_EQ(value, platform::MinPoint);
    rs->GetDevice()->GetTextureStageState(3, platform::TssAddressU, &value);
    EXPECT_EQ(value, platform::AddressClamp);
    // A stage the device does not have is ignored.
    rs->SetTextureFilter(9, FilterPoint);
}

TEST_F(RenderSystemD3D7Test, ErrorTextLogsFailuresOnlyWithTheirTextOrCode) {
    Build("800x600x32", false);
    log.Manager().ClearEntries();
    rs->ErrorText("RenderSystem_D3D7::EndScene", 0);
    rs->ErrorText("RenderSystem_D3D7::EndScene", 1);
    EXPECT_TRUE(log.Texts().empty());
    rs->ErrorText("Camera_D3D7::Apply", static_cast<int32_t>(0x80004005u));
    rs->ErrorText("Light_D3D7::Refresh", static_cast<int32_t>(0x887602BCu));
    ASSERT_EQ(log.Texts().size(), 2u);
    EXPECT_NE(log.Texts()[0].find(
                  "Direct3D Subsystem (Camera_D3D7::Apply): There is an undefined error condition."),
              std::string::npos);
    EXPECT_NE(
        log.Texts()[1].find("Direct3D Subsystem (Light_D3D7::Refresh): Unknown error (Code: -2005531972)"),
        std::string::npos);
}

TEST_F(RenderSystemD3D7Test, DefaultStatesReachTheDevice) {
    Build("800x600x32", false);
    platform::Device* device = rs->GetDevice();
    uint32_t value = 0;
    struct Expect {
        uint32_t state, value;
    } expects[] = {{platform::RsZFunc, platform::CmpLess},
                   {platform::RsZEnable, 0},
                   {platform::RsZWriteEnable, 1},
                   {platform::RsCullMode, platform::CullNone},
                   {platform::RsLighting, 0},
                   {platform::RsStencilFunc, platform::CmpEqual},
                   {platform::RsStencilPass, platform::StencilIncr},
                   {platform::RsAmbient, 0xFF000000u},
                   {platform::RsAmbientMaterialSource, platform::MaterialSourceColor1}};
    for (const Expect& e : expects) {
        device->GetRenderState(e.state, &value);
        EXPECT_EQ(value, e.value) << "state " << e.state;
    }
    device->GetTextureStageState(0, platform::TssAlphaOp, &value);
    EXPECT_EQ(value, platform::TopModulate);
    device->GetTextureStageState(1, platform::TssAlphaOp, &value);
    EXPECT_EQ(value, platform::TopDisable);
    device->GetTextureStageState(1, platform::TssMagFilter, &value);
    EXPECT_EQ(value, platform::MagLinear);
    // Ambient colours outside 0..1 are clamped rather than spilling into the next channel.
    rs->SetAmbientColor(Vec4(1.5f, -0.5f, 0.5f, 1));
    device->GetRenderState(platform::RsAmbient, &value);
    EXPECT_EQ(value, 0xFFFF007Fu);
}

TEST_F(RenderSystemD3D7Test, CaptureReturnsRgbRowsBottomFirst) {
    Build("800x600x32", false);
    rs->clearColor = Vec4(0.2f, 0.4f, 0.6f, 1);
    rs->BeginScene();
    // The top half white, drawn in clip space: with identity transforms only the device's view flips z.
    std::unique_ptr<VertexBuffer> vb(rs->CreateVertexBuffer(0, false, 4));
    PlainVertex* v = vb->LockPlainVertices(0, 4);
    v[0].position = Vec3(-1, 0, -0.5f);
    v[1].position = Vec3(1, 0, -0.5f);
    v[2].position = Vec3(1, 1, -0.5f);
    v[3].position = Vec3(-1, 1, -0.5f);
    vb->Unlock();
    std::unique_ptr<IndexBuffer> ib(rs->CreateIndexBuffer(0, 6));
    uint32_t indices[] = {0, 1, 2, 0, 2, 3};
    ib->SetIndices(0, 6, indices);
    rs->DrawIndexedPrimitive(false, ib.get(), vb.get(), 2);
    rs->EndScene();

    Image image;
    rs->CaptureScreen(image);
    ASSERT_EQ(image.width, 800u);
    ASSERT_EQ(image.height, 600u);
    ASSERT_EQ(image.bitsPerPixel, 32u);
    const uint8_t* bottom = image.Row(0);
    EXPECT_EQ(bottom[0], 51);
    EXPECT_EQ(bottom[1], 102);
    EXPECT_EQ(bottom[2], 153);
    EXPECT_EQ(bottom[3], 255);
    const uint8_t* top = image.Row(599);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[2], 255);
}

TEST_F(RenderSystemD3D7Test, CaptureOfA16BitWindowTakesTheBackBuffersDepth) {
    // A window keeps the desktop's 32-bit pixels whatever depth the mode names.
    Build("640x480x16", false);
    rs->clearColor = Vec4(1, 0, 0, 1);
    rs->BeginScene();
    rs->EndScene();
    Image image;
    rs->CaptureScreen(image);
    ASSERT_EQ(image.bitsPerPixel, 32u);
    EXPECT_EQ(image.Row(10)[0], 255);
    EXPECT_EQ(image.Row(10)[1], 0);
    rs.reset();
    window.reset();

    // In full screen the back buffer has the mode's 16 bits; the capture converts them.
    Build("640x480x16", true);
    rs->clearColor = Vec4(0, 1, 0, 1);
    rs->BeginScene();
    rs->EndScene();
    rs->CaptureScreen(image);
    ASSERT_EQ(image.bitsPerPixel, 24u);
    EXPECT_EQ(image.Row(10)[0], 0);
    EXPECT_EQ(image.Row(10)[1], 255);
}

TEST_F(RenderSystemD3D7Test, FullScreenCaptureOnAWideDesktopKeepsTheMiddle4To3) {
    platform::sim::SetDesktopMode(1600, 900, 32);
    platform::sim::SetWorkArea({0, 0, 1600, 900});
    Build("1024x768x32", true);
    ASSERT_TRUE(window->wideDesktop);
    rs->clearColor = Vec4(0, 0, 1, 1);
    rs->BeginScene();
    std::unique_ptr<VertexBuffer> vb(rs->CreateVertexBuffer(0, false, 4));
    PlainVertex* v = vb->LockPlainVertices(0, 4);
    // White over the left 160 columns, inside the 171 that the crop removes.
    float edge = -1 + 2 * 160.0f / 1024;
    v[0].position = Vec3(-1, -1, -0.5f);
    v[1].position = Vec3(edge, -1, -0.5f);
    v[2].position = Vec3(edge, 1, -0.5f);
    v[3].position = Vec3(-1, 1, -0.5f);
    vb->Unlock();
    std::unique_ptr<IndexBuffer> ib(rs->CreateIndexBuffer(0, 6));
    uint32_t indices[] = {0, 1, 2, 0, 2, 3};
    ib->SetIndices(0, 6, indices);
    rs->DrawIndexedPrimitive(false, ib.get(), vb.get(), 2);
    rs->EndScene();

    Image image;
    rs->CaptureScreen(image);
    ASSERT_EQ(image.width, 1024u);
    ASSERT_EQ(image.height, 768u);
    EXPECT_LT(image.Row(384)[0], 40); // no white left after the crop
    EXPECT_GT(image.Row(384)[2], 200);

    // In a window nothing is cropped.
    rs.reset();
    window.reset();
    Build("800x600x32", false);
    rs->BeginScene();
    rs->DrawIndexedPrimitive(false, ib.get(), vb.get(), 2);
    rs->EndScene();
    rs->CaptureScreen(image);
    EXPECT_EQ(image.Row(300)[0], 255);
}

TEST_F(RenderSystemD3D7Test, CaptureThatCannotReadTheFrameGivesWhite) {
    Build("800x600x32", false);
    rs->clearColor = Vec4(0, 0, 0, 1);
    rs->BeginScene();
    rs->EndScene();
    platform::D3DTest::FailStep(platform::D3DStep::LockSurface);
    Image image;
    rs->CaptureScreen(image);
    ASSERT_EQ(image.width, 800u);
    EXPECT_EQ(image.Row(0)[0], 255);
    EXPECT_EQ(image.Row(599)[1], 255);
    EXPECT_EQ(platform::D3DTest::LiveObjects() > 0, true);
}

TEST_F(RenderSystemD3D7Test, StripsTakeTwoIndicesMoreThanTheirTriangles) {
    Build("800x600x32", false);
    rs->clearColor = Vec4(0, 0, 0, 1);
    std::unique_ptr<VertexBuffer> vb(rs->CreateVertexBuffer(0, false, 4));
    PlainVertex* v = vb->LockPlainVertices(0, 4);
    v[0].position = Vec3(-1, -1, -0.5f);
    v[1].position = Vec3(1, -1, -0.5f);
    v[2].position = Vec3(-1, 1, -0.5f);
    v[3].position = Vec3(1, 1, -0.5f);
    vb->Unlock();
    std::unique_ptr<IndexBuffer> ib(rs->CreateIndexBuffer(0, 4));
    uint32_t indices[] = {0, 1, 2, 3};
    ib->SetIndices(0, 4, indices);
    rs->BeginScene();
    rs->DrawIndexedPrimitive(true, ib.get(), vb.get(), 2); // 4 indices: the whole quad
    rs->EndScene();
    Image image;
    rs->CaptureScreen(image);
    EXPECT_EQ(image.Row(5)[0], 255);         // bottom left, first triangle
    EXPECT_EQ(image.Row(594)[795 * 4], 255); // top right, second triangle
    // As a list, the same 4 indices hold one triangle; two would need 6.
    uint32_t draws = platform::D3DTest::DrawCalls();
    rs->BeginScene();
    rs->DrawIndexedPrimitive(false, ib.get(), vb.get(), 2);
    rs->EndScene();
    EXPECT_EQ(platform::D3DTest::DrawCalls(), draws);
}

TEST_F(RenderSystemD3D7Test, DrawRefusesIndicesBeyondTheVertices) {
    Build("800x600x32", false);
    std::unique_ptr<VertexBuffer> vb(rs->CreateVertexBuffer(0, false, 3));
    std::unique_ptr<IndexBuffer> ib(rs->CreateIndexBuffer(0, 3));
    uint32_t indices[] = {0, 1, 7};
    ib->SetIndices(0, 3, indices);
    uint32_t draws = platform::D3DTest::DrawCalls();
    rs->BeginScene();
    rs->DrawIndexedPrimitive(false, ib.get(), vb.get(), 1);
    rs->DrawIndexedPrimitive(false, ib.get(), vb.get(), 2); // more primitives than indices
    rs->EndScene();
    EXPECT_EQ(platform::D3DTest::DrawCalls(), draws);
    EXPECT_EQ(Count("RenderSystem_D3D7::DrawIndexedPrimitive"), 2);
}

} // namespace
