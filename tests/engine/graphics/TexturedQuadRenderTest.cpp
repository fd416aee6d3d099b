// ctest-label: materials
// Textured quads drawn through materials on the device, read back and written to test-output: a plain PNG
// (orientation: the picture's top at the quad's top), a DXT1 DDS, an alpha-blended PNG over the clear colour,
// and a missing file that shows the checkerboard.
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Shader.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/ShaderUser.h"
#include "engine/graphics/Texture2D_D3D7.h"
#include "engine/graphics/TextureManager.h"
#include "engine/graphics/VertexBuffer.h"
#include "platform/d3d/DirectDraw.h"
#include "tests/support/PngWriter.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/TestLog.h"
#include "tools/formats/DdsWriter.h"
#include "tools/formats/PngWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t Width = 640;
constexpr uint32_t Height = 480;

// A 64 x 64 picture (top row first): the top half one colour, the bottom half the other.
VelmoraFormats::Picture TwoHalves(const uint8_t top[4], const uint8_t bottom[4], uint32_t channels) {
    VelmoraFormats::Picture picture(64, 64, channels);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 64; ++x)
            for (uint32_t c = 0; c < channels; ++c)
                picture.At(x, y)[c] = (y < 32 ? top : bottom)[c];
    return picture;
}

class TexturedQuads : public testing::Test {
protected:
    TexturedQuads() {
        fs::create_directories(root / "data" / "quads");
        const uint8_t red[4] = {255, 0, 0, 255}, blue[4] = {0, 0, 255, 255};
        const uint8_t green[4] = {0, 255, 0, 255}, yellow[4] = {255, 255, 0, 255};
        const uint8_t whiteHalf[4] = {255, 255, 255, 128};
        VelmoraFormats::PngOptions rgb;
        rgb.colour = VelmoraFormats::PngColour::RGB;
        Save("plain.png", VelmoraFormats::WritePng(TwoHalves(red, blue, 3), rgb));
        VelmoraFormats::DdsOptions dxt1;
        dxt1.format = VelmoraFormats::DdsFormat::DXT1;
        dxt1.mipMaps = true;
        Save("packed.dds", VelmoraFormats::WriteDds(TwoHalves(green, yellow, 4), dxt1));
        Save("glass.png", VelmoraFormats::WritePng(TwoHalves(whiteHalf, whiteHalf, 4)));
        FileManager::Instance(&files);
        TimerManager::Instance(&timers);
    }

    void Save(const std::string& name, const std::vector<uint8_t>& bytes) {
        VelmoraFormats::SaveFile((root / "data" / "quads" / name).string(), bytes);
    }

    // A quad in clip space from (x0, y0) to (x1, y1), u and v from 0 at its bottom left to 1 at its top
    // right.
    void DrawQuad(float x0, float y0, float x1, float y1) {
        PlainVertex* v = vertices->LockPlainVertices(0, 4);
        const float xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
        const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
        for (int i = 0; i < 4; ++i) {
            v[i].position = Vec3(xs[i], ys[i], -0.5f);
            v[i].normal = Vec3(0.0f, 0.0f, 1.0f);
            v[i].u = us[i];
            v[i].v = vs[i];
        }
        vertices->Unlock();
        device.renderSystem->DrawIndexedPrimitive(false, indices.get(), vertices.get(), 2);
    }

    // The captured pixel at (x, y) counted from the top left of the frame.
    const uint8_t* Pixel(const Image& frame, uint32_t x, uint32_t y) const {
        return frame.Row(frame.height - 1 - y) + size_t(x) * frame.BytesPerPixel();
    }

    VelmoraTest::TestLog log;
    fs::path root = fs::path(VelmoraTest::TempDir()) / "quads";
    FileManager files{root.string(), false, "data", 0};
    TimerManager timers;
    VelmoraTest::RenderFixture device{Width, Height};
    ShaderManager shaders;
    std::unique_ptr<VertexBuffer> vertices{device.renderSystem->CreateVertexBuffer(0, false, 4)};
    std::unique_ptr<IndexBuffer> indices{device.renderSystem->CreateIndexBuffer(0, 6)};
};

} // namespace

TEST_F(TexturedQuads, PlainCompressedBlendedAndMissing) {
    const uint32_t quad[6] = {0, 1, 2, 0, 2, 3};
    indices->SetIndices(0, 6, quad);
    struct Material {
        const char* color;
        const char* opacity;
        float x0, y0; // the quad's bottom-left corner
    } materials[] = {
        {"quads\\plain.png", "", -0.9f, 0.1f},       // top left
        {"quads\\packed.png", "", 0.1f, 0.1f},       // top right: the DDS beside it is taken
        {"quads\\glass.png", "32bit", -0.9f, -0.9f}, // bottom left
        {"quads\\missing.png", "", 0.1f, -0.9f},     // bottom right
    };
    std::vector<ShaderUser*> users;
    for (const Material& m : materials) {
        ShaderDescriptor d;
        d.InitFromImages(true, m.color, m.opacity, true);
        users.push_back(shaders.CreateShaderUser(d, false));
    }

    RenderSystem_D3D7& rs = *device.renderSystem;
    // The DXT1 file reaches the device compressed where the device takes DXT1.
    auto* packed = static_cast<Texture2D_D3D7*>(users[1]->GetShader()->GetTexture(0, 0));
    ASSERT_NE(packed->GetSurface(), nullptr);
    platform::SurfaceDesc packedDesc;
    packed->GetSurface()->GetSurfaceDesc(packedDesc);
    if ((rs.textureFormats & (1u << TextureFormatDXT1)) != 0) {
        EXPECT_EQ(packedDesc.pixelFormat.fourCC, platform::MakeFourCC('D', 'X', 'T', '1'));
    }
    rs.clearColor = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    rs.Refresh();
    shaders.Update();
    rs.BeginScene();
    for (size_t i = 0; i < users.size(); ++i) {
        users[i]->Apply();
        DrawQuad(materials[i].x0, materials[i].y0, materials[i].x0 + 0.8f, materials[i].y0 + 0.8f);
    }
    rs.EndScene();
    Image frame;
    rs.CaptureScreen(frame);
    ASSERT_EQ(frame.width, Width);
    ASSERT_EQ(frame.height, Height);

    std::vector<uint8_t> rgba(size_t(Width) * Height * 4);
    for (uint32_t y = 0; y < Height; ++y)
        for (uint32_t x = 0; x < Width; ++x) {
            const uint8_t* p = Pixel(frame, x, y);
            uint8_t* out = &rgba[(size_t(y) * Width + x) * 4];
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            out[3] = 255;
        }
    EXPECT_TRUE(
        VelmoraTest::WritePng(VelmoraTest::TestOutputPath("textured_quads.png"), Width, Height, rgba));

    // Quad centres in pixels: columns 160 and 480, rows 120 (top quads) and 360; each quad is 256 x 192.
    auto expectColour = [&](uint32_t x, uint32_t y, int r, int g, int b, const char* what) {
        const uint8_t* p = Pixel(frame, x, y);
        EXPECT_NEAR(p[0], r, 12) << what;
        EXPECT_NEAR(p[1], g, 12) << what;
        EXPECT_NEAR(p[2], b, 12) << what;
    };
    expectColour(160, 60, 255, 0, 0, "plain: the picture's top half at the quad's top");
    expectColour(160, 180, 0, 0, 255, "plain: bottom half");
    expectColour(480, 60, 0, 255, 0, "DXT1: top half");
    expectColour(480, 180, 255, 255, 0, "DXT1: bottom half");
    expectColour(160, 360, 128, 128, 128, "half-transparent white over black");
    expectColour(5, 5, 0, 0, 0, "the clear colour between the quads");

    // The checkerboard: yellow and black squares, both present in the quad.
    int yellow = 0, black = 0;
    for (uint32_t y = 260; y < 460; y += 7)
        for (uint32_t x = 360; x < 600; x += 7) {
            const uint8_t* p = Pixel(frame, x, y);
            yellow += p[0] > 200 && p[1] > 200 && p[2] < 60;
            black += p[0] < 60 && p[1] < 60 && p[2] < 60;
        }
    EXPECT_GT(yellow, 100);
    EXPECT_GT(black, 100);
    EXPECT_TRUE(log.Contains("missing"));

    for (ShaderUser* user : users)
        shaders.ReleaseShaderUser(user);
    EXPECT_EQ(shaders.GetTextureManager()->GetTextureCount(), 0u);
}
