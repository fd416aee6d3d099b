// ctest-label: graphics
// One small lit scene (two boxes overlapping at different depths, a point light and a directional light, the
// game's near and far planes) drawn through the engine's models, lights and cameras, and drawn again by plain
// fixed-function OpenGL in a window of its own from the camera's own matrices and the same material and light
// values. Probe pixels of both frames must agree; the nearer box must win over the whole overlap with a
// 24-bit and with a 16-bit depth buffer. The frames are written as lighting-comparison-*.png under
// $VB_TEST_OUTPUT.
#define GL_GLEXT_PROTOTYPES 1
#include "engine/graphics/Camera.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "tests/engine/graphics/ModelFixtures.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SceneServices.h"
#include "tests/support/TestLog.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;

namespace {

constexpr uint32_t Width = 640;
constexpr uint32_t Height = 480;

struct Box {
    Vec3 centre;
    float half;
    Vec4 colour;
};

// Both boxes face the camera, which stands at the origin looking down -z; from there the nearer box shows its
// front, right and top faces and covers the lower left corner of the farther box's front.
const Box nearBox{Vec3(-90, -80, -220), 35, Vec4(0.9f, 0.35f, 0.2f, 1)};
const Box farBox{Vec3(-40, -40, -380), 80, Vec4(0.25f, 0.5f, 0.95f, 1)};
const Vec4 sceneAmbient(0.12f, 0.12f, 0.12f, 1);
const Vec4 background(0.05f, 0.05f, 0.1f, 1);

struct PointLight {
    Vec3 position{300, 400, 0};
    Vec4 ambient{0.05f, 0.05f, 0.04f, 1};
    Vec4 diffuse{0.9f, 0.85f, 0.7f, 1};
    std::array<float, 3> attenuation{0.5f, 0.0008f, 0.0000005f};
};
struct DirectionalLight {
    Vec3 direction{0.55f, -0.35f, -0.76f}; // the way the light travels
    Vec4 diffuse{0.35f, 0.4f, 0.5f, 1};
};
const PointLight pointLight;
const DirectionalLight directionalLight;

// The engine's drawing services over a window on a desktop of the given depth: a 16-bit desktop gives the
// window a 16-bit back buffer and depth buffer.
class EngineScene {
public:
    explicit EngineScene(uint32_t desktopBits)
        : render(Width, Height, desktopBits), scene(*render.renderSystem) {
        Camera* camera = scene.cameras->GetDefaultCamera();
        camera->nearPlane = 70;
        camera->farPlane = 650;
        nearModel = AddBox(nearBox);
        farModel = AddBox(farBox);
        scene.lights->SetAmbient(sceneAmbient);
        Light* point = scene.lights->CreateLight();
        point->position = pointLight.position;
        point->ambient = pointLight.ambient;
        point->diffuse = pointLight.diffuse;
        for (int i = 0; i < 3; ++i)
            point->attenuation[i] = pointLight.attenuation[size_t(i)];
        Light* sun = scene.lights->CreateLight();
        sun->type = LightDirectional;
        sun->direction = directionalLight.direction;
        sun->ambient = Vec4(0, 0, 0, 1);
        sun->diffuse = directionalLight.diffuse;
        render.renderSystem->clearColor = background;
        // The device projection follows the camera one update later.
        scene.cameras->Update();
    }
    Model* AddBox(const Box& b) {
        Model* model = scene.models->CreateBoxModel(b.centre - Vec3(b.half), b.centre + Vec3(b.half), nullptr,
                                                    nullptr, ModelVertexColors);
        model->SetColor(b.colour);
        return model;
    }
    void Show(Model* model, bool shown) {
        shown ? model->SetFlags(ModelVisible) : model->ClearFlags(ModelVisible);
    }

    VelmoraTest::RenderFixture render;
    VelmoraTest::SceneServices scene;
    Model* nearModel = nullptr; // not owned: the model manager's
    Model* farModel = nullptr;  // not owned
};

// The same scene as a program that calls fixed-function OpenGL itself would draw it: its own window and
// context with a 24-bit depth buffer, GL's own depth range, the camera's GL-convention matrices, lights in
// world space, the box colours as ambient and diffuse material.
class PlainScene {
public:
    PlainScene() {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        window =
            SDL_CreateWindow("plain", 0, 0, int(Width), int(Height), SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    }
    ~PlainScene() {
        if (context != nullptr)
            SDL_GL_DeleteContext(context);
        if (window != nullptr)
            SDL_DestroyWindow(window);
    }
    bool Ready() const { return context != nullptr; }

    // Draws the boxes and reads the frame back, rows bottom first, 4 bytes RGBA per pixel.
    std::vector<uint8_t> Draw(const Camera& camera) {
        SDL_GL_MakeCurrent(window, context);
        glViewport(0, 0, GLsizei(Width), GLsizei(Height));
        glClearColor(background.x, background.y, background.z, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_LIGHTING);
        glEnable(GL_NORMALIZE);
        glShadeModel(GL_SMOOTH);
        const GLfloat ambient[4] = {sceneAmbient.x, sceneAmbient.y, sceneAmbient.z, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(camera.projectionMatrix.Data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(camera.viewMatrix.Data());
        const Vec3& p = pointLight.position;
        Light(GL_LIGHT0, {p.x, p.y, p.z, 1}, pointLight.ambient, pointLight.diffuse);
        glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, pointLight.attenuation[0]);
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, pointLight.attenuation[1]);
        glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, pointLight.attenuation[2]);
        const Vec3& d = directionalLight.direction;
        Light(GL_LIGHT1, {-d.x, -d.y, -d.z, 0}, Vec4(0, 0, 0, 1), directionalLight.diffuse);
        const GLfloat none[4] = {0, 0, 0, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        for (const Box& b : {nearBox, farBox})
            DrawBox(b);
        std::vector<uint8_t> pixels(size_t(Width) * Height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, GLsizei(Width), GLsizei(Height), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

private:
    static void Light(GLenum id, std::array<GLfloat, 4> position, const Vec4& ambient, const Vec4& diffuse) {
        const GLfloat a[4] = {ambient.x, ambient.y, ambient.z, ambient.w};
        const GLfloat d[4] = {diffuse.x, diffuse.y, diffuse.z, diffuse.w};
        const GLfloat none[4] = {0, 0, 0, 1};
        glLightfv(id, GL_POSITION, position.data());
        glLightfv(id, GL_AMBIENT, a);
        glLightfv(id, GL_DIFFUSE, d);
        glLightfv(id, GL_SPECULAR, none);
        glEnable(id);
    }
    // Four corners per face with the face's normal, each face counter-clockwise seen from outside.
    static void DrawBox(const Box& b) {
        struct Face {
            float normal[3], a[3], c[3];
        };
        const Face faces[] = {
            {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
            {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
            {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
        };
        glColor4f(b.colour.x, b.colour.y, b.colour.z, b.colour.w);
        glBegin(GL_QUADS);
        for (const Face& f : faces) {
            glNormal3fv(f.normal);
            for (const auto& [u, v] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
                float p[3];
                for (int k = 0; k < 3; ++k)
                    p[k] = b.half * (f.normal[k] + float(u) * f.a[k] + float(v) * f.c[k]);
                glVertex3f(b.centre.x + p[0], b.centre.y + p[1], b.centre.z + p[2]);
            }
        }
        glEnd();
    }

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

const uint8_t* EnginePixel(const Image& image, uint32_t x, uint32_t y) {
    return image.Row(y) + x * image.BytesPerPixel();
}

bool Same(const uint8_t* a, const uint8_t* b, int tolerance) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(int(a[c]) - int(b[c])) > tolerance)
            return false;
    return true;
}

std::string Rgb(const uint8_t* p) {
    return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
}

void SaveRgba(const std::vector<uint8_t>& bottomUp, const std::string& name) {
    std::vector<uint8_t> topDown(bottomUp.size());
    const size_t row = size_t(Width) * 4;
    for (uint32_t y = 0; y < Height; ++y)
        std::copy_n(&bottomUp[size_t(Height - 1 - y) * row], row, &topDown[size_t(y) * row]);
    for (size_t i = 3; i < topDown.size(); i += 4)
        topDown[i] = 255;
    VelmoraTest::WritePng(VelmoraTest::TestOutputPath(name), Width, Height, topDown);
}

class LightingComparisonRenderTest : public testing::Test {
protected:
    VelmoraTest::TestLog log;
    VelmoraTest::DataFolder data{"lighting-comparison"};
};

TEST_F(LightingComparisonRenderTest, EngineAndPlainOpenGLLightTheBoxesAlike) {
    EngineScene engine(32);
    Image frame;
    for (int i = 0; i < 2; ++i)
        engine.scene.Frame(frame);
    VelmoraTest::SceneServices::SavePng(frame, "lighting-comparison-engine.png");
    ASSERT_EQ(frame.width, Width);
    ASSERT_EQ(frame.height, Height);
    ASSERT_FALSE(log.Contains("Error"));

    PlainScene plain;
    ASSERT_TRUE(plain.Ready()) << SDL_GetError();
    const Camera& camera = *engine.scene.cameras->GetDefaultCamera();
    const std::vector<uint8_t> reference = plain.Draw(camera);
    SaveRgba(reference, "lighting-comparison-plain.png");

    // Face centres of both boxes, a point of the nearer box over the farther one, and the background.
    const Vec3 n = nearBox.centre;
    const float h = nearBox.half;
    const struct {
        const char* name;
        Vec3 world;
    } probes[] = {
        {"near front", n + Vec3(0, 0, h)},
        {"near front, over the far box", n + Vec3(0.8f * h, 0.7f * h, h)},
        {"near right", n + Vec3(h, 0, 0)},
        {"near top", n + Vec3(0, h, 0)},
        {"far front", farBox.centre + Vec3(0.6f * farBox.half, 0.6f * farBox.half, farBox.half)},
        {"far front, left", farBox.centre + Vec3(-0.8f * farBox.half, 0.8f * farBox.half, farBox.half)},
        {"background", Vec3(200, -200, -400)},
    };
    for (const auto& probe : probes) {
        const Vec2 at = engine.scene.cameras->Project(camera, probe.world);
        ASSERT_TRUE(at.x >= 0 && at.x < float(Width) && at.y >= 0 && at.y < float(Height)) << probe.name;
        const auto x = uint32_t(at.x);
        const auto y = uint32_t(at.y);
        const uint8_t* mine = EnginePixel(frame, x, y);
        const uint8_t* theirs = &reference[(size_t(y) * Width + x) * 4];
        EXPECT_TRUE(Same(mine, theirs, 4))
            << probe.name << " at " << x << "," << y << ": engine " << Rgb(mine) << ", plain " << Rgb(theirs);
    }
    // The faces are shaded: the nearer box's three faces differ from one another.
    auto at = [&](const Vec3& world) {
        const Vec2 p = engine.scene.cameras->Project(camera, world);
        return EnginePixel(frame, uint32_t(p.x), uint32_t(p.y));
    };
    EXPECT_FALSE(Same(at(n + Vec3(0, 0, h)), at(n + Vec3(h, 0, 0)), 12));
    EXPECT_FALSE(Same(at(n + Vec3(0, 0, h)), at(n + Vec3(0, h, 0)), 12));
}

// Every pixel of the nearer box drawn alone must come out the same with the farther box drawn too: a depth
// test that lost anywhere in the overlap would show the farther box there.
TEST_F(LightingComparisonRenderTest, TheNearerBoxWinsOverTheWholeOverlap) {
    for (uint32_t bits : {32u, 16u}) {
        SCOPED_TRACE(std::to_string(bits) + "-bit desktop");
        EngineScene engine(bits);
        Image nearOnly;
        Image farOnly;
        Image both;
        engine.Show(engine.farModel, false);
        engine.scene.Frame(nearOnly);
        engine.scene.Frame(nearOnly);
        engine.Show(engine.farModel, true);
        engine.Show(engine.nearModel, false);
        engine.scene.Frame(farOnly);
        engine.Show(engine.nearModel, true);
        engine.scene.Frame(both);
        VelmoraTest::SceneServices::SavePng(both,
                                            "lighting-comparison-depth-" + std::to_string(bits) + ".png");
        ASSERT_EQ(both.width, Width);
        const uint8_t* empty = EnginePixel(nearOnly, 2, 2);
        uint32_t overlap = 0;
        uint32_t lost = 0;
        for (uint32_t y = 0; y < Height; ++y)
            for (uint32_t x = 0; x < Width; ++x) {
                const uint8_t* mine = EnginePixel(nearOnly, x, y);
                if (Same(mine, empty, 0))
                    continue;
                if (!Same(EnginePixel(farOnly, x, y), empty, 0))
                    ++overlap;
                if (!Same(EnginePixel(both, x, y), mine, 1))
                    ++lost;
            }
        EXPECT_GT(overlap, 2000u) << "the boxes must overlap on screen";
        EXPECT_EQ(lost, 0u) << "pixels of the nearer box where the farther one shows";
    }
}

} // namespace
