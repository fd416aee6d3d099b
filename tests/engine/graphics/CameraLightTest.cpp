// ctest-label: graphics
#include "engine/core/Config.h"
#include "engine/core/Window.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/Camera_D3D7.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/LightManager.h"
#include "engine/math/BoundingBox.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/RecordingRenderSystem.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace OrvexEngine;
using VelmoraTest::RecordingRenderSystem;

namespace {

class CameraTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        Config::Instance(&config);
        rs = std::make_unique<RecordingRenderSystem>(1);
    }
    void TearDown() override {
        cameras.reset();
        window.reset();
        platform::sim::Reset();
    }

    void OpenWindow(uint32_t width, uint32_t height, bool fullScreen) {
        window = std::make_unique<Window>("camera test", 0, 0, width, height, fullScreen, true, Vec2i(0, 0));
        Window::Instance(window.get());
    }

    VelmoraTest::TestLog log;
    Config config{"", "", false, "800x600x32", false, false};
    std::unique_ptr<RecordingRenderSystem> rs;
    std::unique_ptr<Window> window;
    std::unique_ptr<CameraManager> cameras;
};

TEST_F(CameraTest, DefaultCameraHasA60DegreeOpeningAtTheNearPlane) {
    OpenWindow(800, 600, false);
    cameras = std::make_unique<CameraManager>();
    Camera* camera = cameras->GetDefaultCamera();
    EXPECT_TRUE(camera->projectionMatrix.Equals(Matrix4::Identity()));
    EXPECT_TRUE(camera->viewMatrix.Equals(Matrix4::Identity()));
    cameras->Update();
    EXPECT_NEAR(camera->frustumExtents.top, 0.57735f, 1e-4);
    EXPECT_NEAR(camera->frustumExtents.right, 0.7698f, 1e-4);
    EXPECT_NEAR(camera->displayExtents.right, 0.7698f, 1e-4); // a window is never corrected
    EXPECT_EQ(cameras->viewportWidth, 800u);
    EXPECT_EQ(cameras->viewportHeight, 600u);
    EXPECT_NEAR(camera->backAxis.z, 1.0f, 1e-6);
}

TEST_F(CameraTest, FullScreenOnWideAndTallDesktopsWidensTheDisplayExtents) {
    struct Case {
        uint32_t w, h;
        float horizontal, vertical;
    } cases[] = {{1920, 1080, 1.3333f, 1.0f}, {1280, 1024, 1.0f, 1.0667f}, {1024, 768, 1.0f, 1.0f}};
    for (const Case& c : cases) {
        platform::sim::SetDesktopMode(c.w, c.h, 32);
        OpenWindow(800, 600, true);
        cameras = std::make_unique<CameraManager>();
        Camera* perspective = cameras->GetDefaultCamera();
        cameras->Update();
        EXPECT_NEAR(perspective->displayExtents.right / perspective->frustumExtents.right, c.horizontal,
                    1e-3);
        EXPECT_NEAR(perspective->displayExtents.top / perspective->frustumExtents.top, c.vertical, 1e-3);
        cameras.reset();
        window.reset();
    }
}

TEST_F(CameraTest, GuiCameraMapsItsAreaAndDepthRange) {
    platform::sim::SetDesktopMode(1920, 1080, 32);
    OpenWindow(800, 600, true);
    cameras = std::make_unique<CameraManager>();
    auto gui = std::make_unique<Camera_D3D7>(1, nullptr);
    gui->orthoWidth = 800;
    gui->orthoHeight = 600;
    gui->nearPlane = 500;
    gui->farPlane = -500;
    gui->Update(1.0f);
    gui->Update(1.0f); // the device projection follows one update later
    EXPECT_NEAR(gui->displayExtents.left, -133.33f, 0.01f);
    EXPECT_NEAR(gui->displayExtents.right, 933.33f, 0.01f);
    // Corners of the area through the camera's own projection (row vectors).
    auto clip = [&](float x, float y) {
        const Matrix4& p = gui->projectionMatrix;
        return Vec2(x * p[0] + p[12], y * p[5] + p[13]);
    };
    EXPECT_NEAR(clip(0, 0).x, -1, 1e-5);
    EXPECT_NEAR(clip(0, 0).y, -1, 1e-5);
    EXPECT_NEAR(clip(800, 600).x, 1, 1e-5);
    EXPECT_NEAR(clip(800, 600).y, 1, 1e-5);
    // The device sees view z negated; its depth runs 0 at z = 500 to 1 at z = -500.
    auto depth = [&](float z) { return -z * gui->deviceProjection[10] + gui->deviceProjection[14]; };
    EXPECT_NEAR(depth(500), 0, 1e-6);
    EXPECT_NEAR(depth(-500), 1, 1e-6);
    // The z-biased projection takes far + 1 as its far plane.
    auto biased = [&](float z) { return -z * gui->zBiasedProjection[10] + gui->zBiasedProjection[14]; };
    EXPECT_NEAR(biased(-499), 1, 1e-6);
}

TEST_F(CameraTest, DeviceProjectionFollowsAChangeOneUpdateLater) {
    Camera_D3D7 camera(0, nullptr);
    camera.Update(1);
    camera.Update(1);
    float before = camera.deviceProjection[5];
    camera.fieldOfView = 1.0f;
    camera.Update(1);
    EXPECT_NEAR(camera.deviceProjection[5], before, 1e-6);
    EXPECT_NE(camera.projectionMatrix[5], before);
    camera.Update(1);
    EXPECT_NEAR(camera.deviceProjection[5], camera.projectionMatrix[5], 1e-5);
    // Perspective: depth 0 at the near plane, 1 at the far plane, z-biased lands nearer.
    auto depth = [](const float* p, float z) { return (z * p[10] + p[14]) / z; };
    EXPECT_NEAR(depth(camera.deviceProjection, 1), 0, 1e-5);
    EXPECT_NEAR(depth(camera.deviceProjection, 1000), 1, 1e-5);
    EXPECT_LT(depth(camera.zBiasedProjection, 500), depth(camera.deviceProjection, 500));
}

TEST_F(CameraTest, UnprojectAndProjectAreInverse) {
    OpenWindow(800, 600, false);
    cameras = std::make_unique<CameraManager>();
    Camera* camera = cameras->GetDefaultCamera();
    cameras->Update();
    Vec3 centre = cameras->Unproject(*camera, Vec3(400, 300, 0.5f));
    EXPECT_NEAR(centre.x, 0, 1e-3);
    EXPECT_NEAR(centre.y, 0, 1e-3);
    EXPECT_LT(centre.z, -1.0f);

    camera->position = Vec3(3, -2, 10);
    camera->orientation = Quaternion(0, std::sin(0.3f), 0, std::cos(0.3f));
    cameras->Update();
    for (Vec3 screen : {Vec3(10, 20, 0.2f), Vec3(790, 580, 0.9f), Vec3(400, 300, 0.5f)}) {
        Vec3 world = cameras->Unproject(*camera, screen);
        Vec2 back = cameras->Project(*camera, world);
        EXPECT_NEAR(back.x, screen.x, 0.05f);
        EXPECT_NEAR(back.y, screen.y, 0.05f);
    }
    // A point in front of the camera projects inside the picture; the frustum agrees.
    Vec3 ahead = camera->position - camera->backAxis * 20;
    Vec2 p = cameras->Project(*camera, ahead);
    EXPECT_NEAR(p.x, 400, 0.5f);
    EXPECT_NEAR(p.y, 300, 0.5f);
}

TEST_F(CameraTest, FrustumFollowsThePoseAndPlanes) {
    OpenWindow(800, 600, false);
    cameras = std::make_unique<CameraManager>();
    Camera* camera = cameras->GetDefaultCamera();
    camera->position = Vec3(0, 0, 10);
    camera->farPlane = 50;
    cameras->Update();
    auto visible = [&](const Vec3& centre) {
        BoundingBox box =
            BoundingBox::FromMinMax(centre - Vec3(0.5f, 0.5f, 0.5f), centre + Vec3(0.5f, 0.5f, 0.5f));
        return camera->frustum->IntersectsSphere(box);
    };
    EXPECT_TRUE(visible(Vec3(0, 0, 0)));     // ahead
    EXPECT_FALSE(visible(Vec3(0, 0, 20)));   // behind the camera
    EXPECT_FALSE(visible(Vec3(0, 0, -45)));  // beyond the far plane
    EXPECT_FALSE(visible(Vec3(30, 0, 0)));   // beside the view
    EXPECT_TRUE(visible(Vec3(4.5f, 0, 0)));  // inside the 4:3 width at that distance (7.7)
    EXPECT_FALSE(visible(Vec3(0, 7.5f, 0))); // above the 60 degree opening (5.8)
    // Turning the camera half round puts the point behind it.
    camera->orientation = Quaternion(0, 1, 0, 0);
    cameras->Update();
    EXPECT_FALSE(visible(Vec3(0, 0, 0)));
    EXPECT_TRUE(visible(Vec3(0, 0, 20)));
}

TEST_F(CameraTest, ActiveCameraIsAppliedOncePerFrameAndChoice) {
    OpenWindow(800, 600, false);
    cameras = std::make_unique<CameraManager>();
    Camera* a = cameras->GetDefaultCamera();
    Camera* b = cameras->CreateCamera(0);
    rs->calls.clear();
    cameras->SetActiveCamera(a, false);
    cameras->SetActiveCamera(a, false);
    EXPECT_EQ(rs->Count("Apply"), 1);
    cameras->SetActiveCamera(a, true);
    EXPECT_EQ(rs->Count("ApplyZBiased"), 1);
    cameras->SetActiveCamera(b, true);
    EXPECT_EQ(rs->Count("ApplyZBiased"), 2);
    cameras->Update();
    cameras->SetActiveCamera(b, true);
    EXPECT_EQ(rs->Count("ApplyZBiased"), 3);

    cameras->DestroyCamera(nullptr);
    Camera foreign(0);
    cameras->DestroyCamera(&foreign);
    cameras->DestroyCamera(b);
    Camera* c = cameras->CreateCamera(1);
    EXPECT_EQ(c->projectionKind, 1);

    // Whatever draws without a camera of its own uses the default one: it cannot be destroyed.
    cameras->DestroyCamera(a);
    EXPECT_TRUE(log.Contains("Error: CameraManager: the default camera cannot be destroyed!"));
    ASSERT_EQ(cameras->GetDefaultCamera(), a);
    cameras->Update();
    cameras->SetActiveCamera(cameras->GetDefaultCamera(), false);
    EXPECT_EQ(cameras->CreateCamera(0)->projectionKind, 0);
}

class LightManagerTest : public testing::Test {
protected:
    VelmoraTest::TestLog log;
    Config config{"", "", false, "800x600x32", false, false};
    Config* registered = Config::Instance(&config);
    RecordingRenderSystem rs{1};
    LightManager lights;
};

TEST_F(LightManagerTest, NewLightsTakeTheLowestFreeIndexAndFreedSlots) {
    Light* first = lights.CreateLight();
    Light* second = lights.CreateLight();
    Light* third = lights.CreateLight();
    EXPECT_EQ(first->index, 0u);
    EXPECT_EQ(second->index, 1u);
    EXPECT_EQ(third->index, 2u);
    lights.DestroyLight(second);
    Light* fourth = lights.CreateLight();
    EXPECT_EQ(fourth->index, 1u);
    lights.DestroyLight(nullptr);
    Light foreign(7);
    lights.DestroyLight(&foreign);
    EXPECT_EQ(lights.CreateLight()->index, 3u);

    // A new light: white, enabled point light at the origin, no attenuation, unlimited range.
    EXPECT_TRUE(fourth->enabled);
    EXPECT_EQ(fourth->type, LightPoint);
    EXPECT_EQ(fourth->position, Vec3(0, 0, 0));
    EXPECT_EQ(fourth->diffuse, Vec4(1, 1, 1, 1));
    EXPECT_EQ(fourth->attenuation[0], 1.0f);
    EXPECT_EQ(fourth->attenuation[2], 0.0f);
    EXPECT_GT(fourth->range, 1.8e19f);
}

TEST_F(LightManagerTest, AmbientAndLightingGoThroughTheCache) {
    lights.SetAmbient(Vec4(0.2f, 0.2f, 0.2f, 1));
    rs.calls.clear();
    lights.Apply();
    lights.Apply();
    EXPECT_EQ(rs.Count("UpdateAmbientColor"), 1);
    lights.EnableLighting(true);
    lights.EnableLighting(true);
    lights.EnableLighting(false);
    EXPECT_EQ(rs.Count("UpdateLighting"), 2);
}

} // namespace
