// ctest-label: gui
// The GUI window element: depth from layers and the tree, visibility through the tree, the strict mouse-over
// test, the unit quad and its placement, the per-frame text queue and what deleting a parent leaves.
#include "engine/gui/GUIWindow.h"
#include "engine/graphics/IndexBuffer.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "engine/gui/GUIFont.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

using namespace OrvexEngine;

namespace {

class GUIWindowTest : public testing::Test {
protected:
    GUIWindow* Window(uint32_t flags, GUIWindow* parent = nullptr) {
        return manager.CreateWindow(flags, Vec2(0, 0), Vec2(10, 10), nullptr, &material, parent);
    }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    ShaderDescriptor material;
};

TEST_F(GUIWindowTest, DepthFollowsLayersAndTheTree) {
    const struct {
        uint32_t flags;
        float depth;
    } roots[] = {{0x1, -15}, {0x5, -10}, {0x9, -20}, {0x11, -30}, {0xD, -10}, {0x18, -20}, {0x0, -15}};
    for (const auto& root : roots) {
        GUIWindow* window = Window(root.flags);
        EXPECT_FLOAT_EQ(window->GetDepth(), root.depth) << root.flags;
        EXPECT_FLOAT_EQ(window->GetModel()->sortDepth, root.depth) << root.flags;
    }

    GUIWindow* front = Window(0x9);
    GUIWindow* child = Window(0x1, front);
    GUIWindow* grandchild = Window(0x1, child);
    grandchild->SetOrder(3);
    EXPECT_NEAR(child->GetDepth(), -20.01f, 1e-5f);
    EXPECT_NEAR(grandchild->GetDepth(), -20.04f, 1e-5f);
    EXPECT_NEAR(grandchild->GetModel()->sortDepth, -20.04f, 1e-5f);
    // Reordering a parent moves its whole subtree.
    child->SetOrder(2);
    EXPECT_NEAR(grandchild->GetDepth(), -20.05f, 1e-5f);

    // Attaching drops a layer flag; detaching again gives the default depth.
    GUIWindow* top = Window(0x11);
    top->SetParent(front);
    EXPECT_EQ(top->GetFlags(), 0x1u);
    EXPECT_NEAR(top->GetDepth(), -20.01f, 1e-5f);
    top->SetParent(nullptr);
    EXPECT_FLOAT_EQ(top->GetDepth(), -15.0f);
    EXPECT_EQ(front->GetChildren().size(), 1u);

    // When any of the bits is set already, SetFlags changes nothing; ClearFlags needs one of them set.
    GUIWindow* back = Window(0x9);
    back->SetFlags(0x5);
    EXPECT_EQ(back->GetFlags(), 0x9u);
    EXPECT_FLOAT_EQ(back->GetDepth(), -20.0f);
    back->ClearFlags(0x4);
    EXPECT_FLOAT_EQ(back->GetDepth(), -20.0f);
    back->ClearFlags(0x8);
    EXPECT_FLOAT_EQ(back->GetDepth(), -15.0f);
    back->SetFlags(0x4);
    EXPECT_FLOAT_EQ(back->GetDepth(), -10.0f);
}

TEST_F(GUIWindowTest, HiddenParentHidesItsSubtree) {
    GUIWindow* parent = Window(0x1);
    GUIWindow* child = Window(0x1, parent);
    GUIWindow* hiddenChild = Window(0x0, parent);
    EXPECT_TRUE(child->visible);
    EXPECT_TRUE(child->GetModel()->GetFlags() & ModelVisible);
    EXPECT_FALSE(hiddenChild->visible);
    child->mouseOver = true;
    parent->Show(false);
    EXPECT_FALSE(child->visible);
    EXPECT_EQ(child->GetFlags() & 0x1, 0x1u) << "the child's own flag is kept";
    EXPECT_FALSE(child->GetModel()->GetFlags() & ModelVisible);
    child->mouseOver = true;
    parent->Show(true);
    EXPECT_TRUE(child->visible);
    EXPECT_FALSE(child->mouseOver);
    EXPECT_FALSE(hiddenChild->visible);
}

TEST_F(GUIWindowTest, MouseOverIsStrictlyInside) {
    GUIWindow* root = Window(0x1);
    GUIWindow* window = manager.CreateWindow(0x1, Vec2(100, 100), Vec2(50, 20), nullptr, nullptr, root);
    root->position = Vec2(5, 0);
    const struct {
        Vec2 cursor;
        bool over;
    } cases[] = {{{105, 110}, false},      {{155, 110}, false}, {{105.5f, 110}, true},
                 {{154.5f, 119.9f}, true}, {{130, 100}, false}, {{130, 120}, false}};
    for (const auto& c : cases) {
        EXPECT_TRUE(window->Update(c.cursor, false, false));
        EXPECT_EQ(window->mouseOver, c.over) << c.cursor.x << ", " << c.cursor.y;
    }
    // The selection rectangle replaces the window's.
    window->selection = true;
    window->SetSelectionPosition(Vec2(-10, 0));
    window->SetSelectionSize(Vec2(5, 5));
    window->Update(Vec2(97, 102), false, false);
    EXPECT_TRUE(window->mouseOver);
    window->Update(Vec2(110, 110), false, false);
    EXPECT_FALSE(window->mouseOver);
    // A hidden window is never under the cursor.
    window->mouseOver = true;
    root->Show(false);
    EXPECT_FALSE(window->Update(Vec2(97, 102), false, false));
    EXPECT_FALSE(window->mouseOver);
}

TEST_F(GUIWindowTest, UnitQuadFillsTheWindowRectangle) {
    GUIWindow* parent = manager.CreateWindow(0x1, Vec2(100, 50), Vec2(0, 0));
    EXPECT_EQ(parent->GetModel(), nullptr);
    GUIWindow* window = manager.CreateWindow(0x3, Vec2(20, 10), Vec2(200, 80), nullptr, &material, parent);
    Model* model = window->GetModel();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->GetFlags(), 0xC31u | ModelVisible);
    EXPECT_TRUE(model->IsStrip());
    EXPECT_EQ(model->indexBuffer->GetIndexCount(), 4u);
    const auto* v = reinterpret_cast<const ColoredVertex*>(model->vertexBuffer->GetData());
    const float expected[4][2] = {{1, 0}, {1, 1}, {0, 0}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].position, Vec3(expected[i][0], expected[i][1], 0));
        EXPECT_FLOAT_EQ(v[i].u, expected[i][0]);
        EXPECT_FLOAT_EQ(v[i].v, expected[i][1]);
    }
    window->SetColor(Vec4(1, 0, 0, 1));
    window->SetAlpha(0.5f);
    EXPECT_NEAR(window->GetColor().x, 1.0f, 0.01f);
    EXPECT_NEAR(window->GetAlpha(), 0.5f, 0.01f);

    // A base matrix is kept under the window's own placement.
    model->baseTransform = Matrix4::Translation(Vec3(0, 0, 0.25f));
    EXPECT_TRUE(window->Render());
    const Vec3 low = model->transform.MultiplyPoint(Vec3(0, 0, 0));
    const Vec3 high = model->transform.MultiplyPoint(Vec3(1, 1, 0));
    EXPECT_EQ(low, Vec3(120, 60, 0.25f));
    EXPECT_EQ(high, Vec3(320, 140, 0.25f));
    // Rendering twice does not compound the transform.
    window->Render();
    EXPECT_EQ(model->transform.MultiplyPoint(Vec3(1, 1, 0)), Vec3(320, 140, 0.25f));

    // An owner that places the model itself turns the placement off.
    window->autoTransform = false;
    window->position = Vec2(0, 0);
    window->Render();
    EXPECT_EQ(model->transform.MultiplyPoint(Vec3(0, 0, 0)), Vec3(120, 60, 0.25f));
}

TEST_F(GUIWindowTest, CopiedModelIsDrawnAsAGuiModel) {
    Model* source = gui.models->NewBoxModel(Vec3(0, 0, 0), Vec3(1, 1, 1), nullptr, nullptr, 0);
    source->SetFlags(ModelLit | ModelDepthTest | ModelFirstList);
    GUIWindow* window = manager.CreateWindow(0x2, Vec2(0, 0), Vec2(1, 1), source, nullptr);
    const uint32_t flags = window->GetModel()->GetFlags();
    EXPECT_EQ(flags & (ModelVisible | ModelLit | ModelDepthTest | ModelFirstList), 0u);
    EXPECT_EQ(flags & (ModelSecondList | ModelFixedSortDepth | ModelVertexColors),
              uint32_t(ModelSecondList | ModelFixedSortDepth | ModelVertexColors));
    delete source;
}

TEST_F(GUIWindowTest, TextQueueIsDrawnOnceAndReused) {
    const std::string name = gui.SaveFont("queue.fnt", {VelmoraTest::TestGlyph('a', 0.5f)});
    GUIFont* font = manager.GetFontManager()->CreateFont(0, gui.material, name);
    font->size = 10;
    // A window without a model still draws its texts at its position.
    GUIWindow* window = manager.CreateWindow(0x1, Vec2(30, 40), Vec2(100, 20));
    EXPECT_EQ(window->GetColor(), Vec4(1, 1, 1, 1));
    EXPECT_FLOAT_EQ(window->GetAlpha(), 1.0f);

    window->QueueText(0, 0, Vec2(1, 2), Vec4(1, 1, 1, 1), L"");
    EXPECT_EQ(window->GetTextCount(), 0u);
    window->QueueText(0, 0, Vec2(1, 2), Vec4(1, 1, 1, 1), L"aa");
    window->QueueText(0, 0, Vec2(1, 2), Vec4(1, 1, 1, 1), L"a", 0, 40);
    window->QueueText(0, 0, Vec2(1, 2), Vec4(1, 1, 1, 1), L"a");
    EXPECT_EQ(window->GetTextCount(), 3u);
    window->Render();
    EXPECT_EQ(window->GetTextCount(), 0u);
    ASSERT_EQ(manager.GetFontManager()->GetBatches().size(), 1u);
    const GUIFont* batch = manager.GetFontManager()->GetBatches()[0];
    EXPECT_EQ(batch->GetQuadCount(), 4);
    const auto* v = reinterpret_cast<const ColoredVertex*>(batch->GetModel()->vertexBuffer->GetData());
    EXPECT_FLOAT_EQ(v[1].position.x, 31.0f);
    EXPECT_FLOAT_EQ(v[1].position.y, 42.0f);
    EXPECT_FLOAT_EQ(v[10].position.x, 31.0f + 20.0f) << "the size override applies to its own text";
    EXPECT_FLOAT_EQ(v[14].position.x, 31.0f + 5.0f) << "and is undone afterwards";
    EXPECT_FLOAT_EQ(font->size, 10.0f);
    manager.GetFontManager()->Flush();

    window->QueueText(0, 0, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    EXPECT_EQ(window->GetTextRecordCount(), 3u) << "records are reused";
    // Without a Render the texts wait; a hidden window drops them.
    EXPECT_EQ(window->GetTextCount(), 1u);
    window->Show(false);
    EXPECT_FALSE(window->Render());
    EXPECT_EQ(window->GetTextCount(), 0u);
}

TEST_F(GUIWindowTest, DeletingAParentLeavesItsChildrenAsRoots) {
    GUIWindow* parent = Window(0x9);
    GUIWindow* shown = Window(0x1, parent);
    GUIWindow* hidden = Window(0x0, parent);
    parent->Show(false);
    manager.DeleteWindow(parent);
    EXPECT_EQ(shown->GetParent(), nullptr);
    EXPECT_TRUE(shown->visible);
    EXPECT_FLOAT_EQ(shown->GetDepth(), -15.0f);
    EXPECT_FALSE(hidden->visible);
    // Deleting a child removes it from its parent.
    GUIWindow* other = Window(0x1);
    GUIWindow* child = Window(0x1, other);
    manager.DeleteWindow(child);
    EXPECT_TRUE(other->GetChildren().empty());
}

} // namespace
