// ctest-label: graphics
// Draws small lit scenes through the render system, the cameras and the lights, reads the frame back through
// the capture and checks pixels. Every frame is also written as a PNG under $VB_TEST_OUTPUT.
#include "engine/core/Config.h"
#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/RenderSystem_D3D7.h"
#include "engine/graphics/VertexBuffer.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace OrvexEngine;

namespace {

class LitSceneTest : public testing::Test {
protected:
    void SetUp() override {
        platform::D3DTest::Reset();
        platform::sim::Reset();
        platform::sim::SetDesktopMode(1024, 768, 32);
        Config::Instance(&config);
        config.GetSettings().vMode = "320x240x32";
        window = std::make_unique<Window>("scene", 0, 0, 320, 240, false, true, Vec2i(0, 0));
        Window::Instance(window.get());
        rs = std::make_unique<RenderSystem_D3D7>(true, false);
        RenderSystem::Instance(rs.get());
        cameras = std::make_unique<CameraManager>();
        CameraManager::Instance(cameras.get());
        lights = std::make_unique<LightManager>();
        LightManager::Instance(lights.get());
        camera = cameras->GetDefaultCamera();
        camera->position = Vec3(0, 0, 10);
        // The device projection follows the camera one update later: settle it before the first frame.
        cameras->Update();
        rs->clearColor = Vec4(0.05f, 0.05f, 0.1f, 1);
    }

    void TearDown() override {
        lights.reset();
        cameras.reset();
        rs.reset();
        window.reset();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        EXPECT_EQ(platform::D3DTest::LiveObjects(), 0u);
    }

    // A square of the given size in the plane z, facing +z, made of cells x cells quads (lighting is worked
    // out per vertex), each triangle wound counter-clockwise seen from the front (or the reverse).
    struct Quad {
        std::unique_ptr<VertexBuffer> vertices;
        std::unique_ptr<IndexBuffer> indices;
        uint32_t triangles = 0;
    };
    Quad MakeQuad(float cx, float cy, float z, float half, const Vec4& colour, bool reversed = false,
                  uint32_t cells = 1) {
        Quad q;
        uint32_t side = cells + 1;
        q.vertices.reset(rs->CreateVertexBuffer(0, true, side * side));
        ColoredVertex* v = q.vertices->LockColoredVertices(0, side * side);
        for (uint32_t j = 0; j < side; ++j)
            for (uint32_t i = 0; i < side; ++i) {
                float u = static_cast<float>(i) / static_cast<float>(cells);
                float w = static_cast<float>(j) / static_cast<float>(cells);
                ColoredVertex& vertex = v[j * side + i];
                vertex.position = Vec3(cx + half * (2 * u - 1), cy + half * (2 * w - 1), z);
                vertex.normal = Vec3(0, 0, 1);
                vertex.u = u;
                vertex.v = w;
            }
        q.vertices->Unlock();
        q.vertices->SetColor(colour);
        std::vector<uint32_t> indices;
        for (uint32_t j = 0; j < cells; ++j)
            for (uint32_t i = 0; i < cells; ++i) {
                uint32_t a = j * side + i, b = a + 1, c = a + side + 1, d = a + side;
                uint32_t front[] = {a, b, c, a, c, d};
                uint32_t back[] = {a, c, b, a, d, c};
                indices.insert(indices.end(), reversed ? back : front, (reversed ? back : front) + 6);
            }
        q.indices.reset(rs->CreateIndexBuffer(0, static_cast<uint32_t>(indices.size())));
        q.indices->SetIndices(0, static_cast<uint32_t>(indices.size()), indices.data());
        q.triangles = static_cast<uint32_t>(indices.size() / 3);
        return q;
    }

    // One frame as the engine runs it: refresh, cameras, lights, the scene, then the capture.
    void Frame(const std::vector<const Quad*>& quads, Image& image, const char* png) {
        rs->Refresh();
        cameras->Update();
        lights->Apply();
        rs->BeginScene();
        cameras->SetActiveCamera(camera, false);
        rs->SetWorldMatrix(Matrix4::Identity());
        for (const Quad* q : quads)
            rs->DrawIndexedPrimitive(false, q->indices.get(), q->vertices.get(), q->triangles);
        rs->EndScene();
        rs->CaptureScreen(image);
        rs->SwapBuffers();
        std::vector<uint8_t> rgba(static_cast<size_t>(image.width) * image.height * 4);
        for (uint32_t y = 0; y < image.height; ++y)
            for (uint32_t x = 0; x < image.width; ++x) {
                const uint8_t* p = image.Row(image.height - 1 - y) + x * image.BytesPerPixel();
                uint8_t* q = &rgba[(static_cast<size_t>(y) * image.width + x) * 4];
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
                q[3] = 255;
            }
        VelmoraTest::WritePng(VelmoraTest::TestOutputPath(png), image.width, image.height, rgba);
    }

    // The image's pixel where a world point lands (screen y from the bottom, as the image's rows).
    const uint8_t* PixelAt(const Image& image, const Vec3& world) const {
        Vec2 s = cameras->Project(*camera, world);
        return image.Row(static_cast<uint32_t>(s.y)) + static_cast<uint32_t>(s.x) * image.BytesPerPixel();
    }

    VelmoraTest::TestLog log;
    Config config{"", "", false, "800x600x32", false, false};
    std::unique_ptr<Window> window;
    std::unique_ptr<RenderSystem_D3D7> rs;
    std::unique_ptr<CameraManager> cameras;
    std::unique_ptr<LightManager> lights;
    Camera* camera = nullptr;
};

TEST_F(LitSceneTest, PointLightBrightensTheFloorNearItAndStaysPutWhenTheCameraMoves) {
    Light* lamp = lights->CreateLight();
    lamp->position = Vec3(-2, 0, 2);
    lamp->diffuse = Vec4(1, 0.9f, 0.7f, 1);
    lamp->ambient = Vec4(0, 0, 0, 1);
    lamp->specular = Vec4(0, 0, 0, 1);
    lamp->attenuation[0] = 0.2f;
    lamp->attenuation[1] = 0.15f;
    lights->SetAmbient(Vec4(0.15f, 0.15f, 0.15f, 1));
    lights->EnableLighting(true);
    Quad floor = MakeQuad(0, 0, 0, 5, Vec4(0.9f, 0.9f, 0.9f, 1), false, 40);
    Quad red = MakeQuad(1.5f, 1, 1, 1, Vec4(1, 0.2f, 0.2f, 1));
    Quad blue = MakeQuad(2.5f, 0, 0.5f, 1.2f, Vec4(0.2f, 0.3f, 1, 1)); // drawn after red, but behind it
    rs->SetZ(true);
    rs->SetZWrite(true);
    rs->SetCullMode(CullCodeClockwise);

    Image first;
    Frame({&floor, &red, &blue}, first, "lit-scene.png");
    const uint8_t* nearLamp = PixelAt(first, Vec3(-2, 0, 0));
    const uint8_t* farFromLamp = PixelAt(first, Vec3(4, -4, 0));
    EXPECT_GT(nearLamp[0], farFromLamp[0] + 60);
    EXPECT_GT(nearLamp[0], 150);
    // Red stands in front of blue where they overlap, though blue was drawn last.
    const uint8_t* overlap = PixelAt(first, Vec3(2.0f, 0.5f, 1));
    EXPECT_GT(overlap[0], overlap[2]);
    uint8_t brightness = nearLamp[0];

    // Moving the camera moves the picture, not the light on the floor.
    camera->position = Vec3(1.5f, 1, 9);
    Image second;
    Frame({&floor, &red, &blue}, second, "lit-scene-moved-camera.png");
    EXPECT_NEAR(PixelAt(second, Vec3(-2, 0, 0))[0], brightness, 6);

    // A disabled light is switched off at the next Apply: only the ambient part remains.
    lamp->enabled = false;
    Image dark;
    Frame({&floor}, dark, "lit-scene-lamp-off.png");
    EXPECT_LT(PixelAt(dark, Vec3(-2, 0, 0))[0], 60);
}

TEST_F(LitSceneTest, CullingKeepsOurCounterClockwiseFrontFacesAndDropsTheirBacks) {
    Quad front = MakeQuad(-2, 0, 0, 1.5f, Vec4(0, 1, 0, 1));
    Quad back = MakeQuad(2, 0, 0, 1.5f, Vec4(1, 0, 1, 1), true);
    struct Case {
        int32_t cull;
        bool frontDrawn, backDrawn;
    } cases[] = {{CullCodeNone, true, true},
                 {CullCodeClockwise, true, false},
                 {CullCodeCounterClockwise, false, true}};
    for (const Case& c : cases) {
        rs->SetCullMode(c.cull);
        Image image;
        Frame({&front, &back}, image, "culling.png");
        EXPECT_EQ(PixelAt(image, Vec3(-2, 0, 0))[1] > 200, c.frontDrawn) << "cull " << c.cull;
        EXPECT_EQ(PixelAt(image, Vec3(2, 0, 0))[0] > 200, c.backDrawn) << "cull " << c.cull;
    }
}

TEST_F(LitSceneTest, StencilShadowsDarkenEachPixelOnceWhereShadowsOverlap) {
    ASSERT_TRUE(rs->hasStencil);
    Quad floor = MakeQuad(0, 0, 0, 5, Vec4(1, 1, 1, 1));
    Quad shadowA = MakeQuad(-0.5f, 0, 0.1f, 1.5f, Vec4(0, 0, 0, 0.5f));
    Quad shadowB = MakeQuad(0.5f, 0, 0.1f, 1.5f, Vec4(0, 0, 0, 0.5f));
    rs->SetZ(true);
    rs->BeginScene();
    cameras->Update();
    cameras->SetActiveCamera(camera, false);
    rs->DrawIndexedPrimitive(false, floor.indices.get(), floor.vertices.get(), 2);
    rs->SetAlphaBlend(true);
    rs->SetBlend(BlendCodeSrcAlpha, BlendCodeInvSrcAlpha);
    rs->SetStencil(true);
    rs->DrawIndexedPrimitive(false, shadowA.indices.get(), shadowA.vertices.get(), 2);
    rs->DrawIndexedPrimitive(false, shadowB.indices.get(), shadowB.vertices.get(), 2);
    rs->EndScene();
    Image image;
    rs->CaptureScreen(image);
    uint8_t single = PixelAt(image, Vec3(-1.5f, 0, 0))[0];
    uint8_t both = PixelAt(image, Vec3(0, 0, 0))[0];
    EXPECT_NEAR(single, 128, 3);
    EXPECT_EQ(both, single);
    EXPECT_EQ(PixelAt(image, Vec3(3, 3, 0))[0], 255);
}

} // namespace
