// ctest-label: gui
// The GUI cursor: mouse pixels to GUI units (kept while the client area has no size), the material square
// hanging from the hot spot, a copied model keeping its own placement, and hiding that only hides the model.
#include "engine/gui/GUICursor.h"
#include "engine/core/Controls.h"
#include "engine/core/Window.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace OrvexEngine;

namespace {

class GUICursorTest : public testing::Test {
protected:
    void SetUp() override {
        platform::sim::Reset();
        platform::sim::SetDesktopMode(1920, 1200);
        platform::sim::SetWorkArea({0, 0, 1920, 1200});
        window = std::make_unique<Window>("t", 0, 0, 1024, 768, false, true, Vec2i());
        Window::Instance(window.get());
        controls = std::make_unique<Controls>();
        Controls::Instance(controls.get());
        manager = std::make_unique<VelmoraTest::TestGuiManager>(); // the GUI camera, 800 x 600
    }
    void TearDown() override {
        manager.reset();
        controls.reset();
        window.reset();
        platform::sim::Reset();
    }
    // The input step's part for one cursor, with the mouse at client pixel `pixel`.
    void MoveTo(GUICursor& cursor, const Vec2& pixel) {
        controls->SetMousePosition(pixel);
        ASSERT_EQ(controls->GetMousePosition(), pixel);
        cursor.UpdateFromMouse();
    }

    size_t RegisteredModels() const {
        const auto& models = gui.models->GetModels();
        return size_t(
            std::count_if(models.begin(), models.end(), [](const Model* m) { return m != nullptr; }));
    }

    VelmoraTest::GuiServices gui;
    std::unique_ptr<Window> window;
    std::unique_ptr<Controls> controls;
    std::unique_ptr<VelmoraTest::TestGuiManager> manager;
    ShaderDescriptor material;
};

} // namespace

TEST_F(GUICursorTest, MousePixelsBecomeGuiUnits) {
    ASSERT_EQ(window->width, 1024u);
    ASSERT_EQ(window->height, 768u);
    GUICursor& cursor = *manager->CreateCursor(nullptr, nullptr, 0);
    EXPECT_EQ(cursor.GetModel(), nullptr);
    EXPECT_EQ(cursor.position, Vec2(0, 0));
    const struct {
        Vec2 pixel;
        Vec2 gui;
    } cases[] = {{{512, 384}, {400, 299.21875f}},
                 {{0, 767}, {0, 0}},
                 {{0, 0}, {0, 599.21875f}},
                 {{1023, 767}, {799.21875f, 0}},
                 {{256, 192}, {200, 449.21875f}}};
    for (const auto& c : cases) {
        MoveTo(cursor, c.pixel);
        EXPECT_FLOAT_EQ(cursor.position.x, c.gui.x) << c.pixel.x << ", " << c.pixel.y;
        EXPECT_FLOAT_EQ(cursor.position.y, c.gui.y) << c.pixel.x << ", " << c.pixel.y;
    }
    // The camera's virtual size is read at every step.
    manager->GetCamera()->orthoWidth = 4;
    manager->GetCamera()->orthoHeight = 3;
    MoveTo(cursor, Vec2(512, 767));
    EXPECT_EQ(cursor.position, Vec2(2, 0));

    // A client area without size (a minimised window) keeps the last position instead of dividing by 0.
    for (uint32_t* side : {&window->width, &window->height}) {
        const uint32_t saved = *side;
        *side = 0;
        MoveTo(cursor, Vec2(100, 100));
        EXPECT_EQ(cursor.position, Vec2(2, 0));
        *side = saved;
    }
    // Nothing to draw without a model.
    cursor.visible = true;
    cursor.Update();
    EXPECT_EQ(cursor.GetModel(), nullptr);
}

TEST_F(GUICursorTest, MaterialCursorHangsFromTheHotSpotAndHidesWithoutStopping) {
    const size_t registered = RegisteredModels();
    {
        GUICursor& cursor = *manager->CreateCursor(nullptr, &material, 32);
        Model* model = cursor.GetModel();
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(RegisteredModels(), registered + 1);
        EXPECT_EQ(model->GetFlags() & ~uint32_t(ModelVisible), 0x8C11u);
        EXPECT_EQ(model->GetCamera(), manager->GetCamera());
        EXPECT_FLOAT_EQ(model->sortDepth, GUICursor::SortDepth);
        EXPECT_TRUE(model->IsStrip());
        ASSERT_EQ(model->indexBuffer->GetIndexCount(), 4u);

        MoveTo(cursor, Vec2(512, 384)); // (400, 299.21875)
        cursor.Update();
        EXPECT_FALSE(model->GetFlags() & ModelVisible) << "hidden until its owner shows it";

        // Corners by texture coordinate: (0, 1) is the hot spot, (1, 0) the far corner down and right.
        const auto* v = reinterpret_cast<const PlainVertex*>(model->vertexBuffer->GetData());
        for (int i = 0; i < 4; ++i) {
            const Vec3 p = model->transform.MultiplyPoint(v[i].position);
            EXPECT_FLOAT_EQ(p.x, 400 + 32 * v[i].u) << i;
            EXPECT_FLOAT_EQ(p.y, 299.21875f - 32 * (1 - v[i].v)) << i;
        }
        EXPECT_FLOAT_EQ(model->box.GetWorldMin().x, 400);
        EXPECT_FLOAT_EQ(model->box.GetWorldMin().y, 299.21875f - 32);

        // Hidden, it still follows the mouse; shown, the model is drawn there; the transform does not
        // accumulate over frames.
        MoveTo(cursor, Vec2(0, 767));
        cursor.Update();
        cursor.visible = true;
        cursor.Update();
        EXPECT_TRUE(model->GetFlags() & ModelVisible);
        EXPECT_EQ(model->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(0, 0, 0));
        cursor.visible = false;
        cursor.Update();
        EXPECT_FALSE(model->GetFlags() & ModelVisible);
        manager->DeleteCursor(&cursor);
    }
    EXPECT_EQ(RegisteredModels(), registered);
}

TEST_F(GUICursorTest, CopiedModelKeepsItsOwnPlacementUnderTheCursor) {
    Model* source = gui.models->CreateBoxModel(Vec3(0, -8, 0), Vec3(8, 0, 1), &material, nullptr, 0);
    source->SetFlags(ModelVisible | ModelLit | ModelDepthTest);
    source->transform = Matrix4::Translation(Vec3(-2, 3, 0));
    {
        GUICursor& cursor = *manager->CreateCursor(source, nullptr, 0);
        Model* model = cursor.GetModel();
        ASSERT_NE(model, nullptr);
        ASSERT_NE(model, source);
        const uint32_t flags = model->GetFlags();
        EXPECT_EQ(flags & (ModelSecondList | ModelFixedSortDepth),
                  uint32_t(ModelSecondList | ModelFixedSortDepth));
        EXPECT_EQ(flags & (ModelVisible | ModelLit | ModelDepthTest | ModelFirstList), 0u);
        EXPECT_EQ(model->GetCamera(), manager->GetCamera());
        EXPECT_FLOAT_EQ(model->sortDepth, -30.1f);

        MoveTo(cursor, Vec2(256, 192)); // (200, 449.21875)
        cursor.visible = true;
        cursor.Update();
        cursor.Update();
        EXPECT_EQ(model->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(198, 452.21875f, 0));
        EXPECT_TRUE(model->GetFlags() & ModelVisible);
        // The source is untouched.
        EXPECT_EQ(source->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(-2, 3, 0));
        EXPECT_TRUE(source->GetFlags() & ModelLit);
        manager->DeleteCursor(&cursor);
    }
    gui.models->DeleteModel(source);
}
