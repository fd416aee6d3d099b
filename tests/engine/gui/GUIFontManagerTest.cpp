// ctest-label: gui
// The font manager: fonts by id, one batch per font and window depth living as long as it is drawn into,
// where aligned texts start, and what unknown or removed fonts do.
#include "engine/gui/GUIFontManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/VertexBuffer.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIWindow.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/support/TestGuiManager.h"

#include <gtest/gtest.h>

using namespace OrvexEngine;

namespace {

constexpr float pi = 3.14159265f;

class GUIFontManagerTest : public testing::Test {
protected:
    GUIFontManagerTest() {
        // 'a' is 0.5 wide: at size 20 each one measures and advances 10 units.
        font = fonts()->CreateFont(3, gui.material,
                                   gui.SaveFont("manager.fnt", {VelmoraTest::TestGlyph('a', 0.5f)}));
        font->size = 20;
    }
    GUIFontManager* fonts() { return manager.GetFontManager(); }

    VelmoraTest::GuiServices gui;
    VelmoraTest::TestGuiManager manager;
    GUIFont* font = nullptr;
};

TEST_F(GUIFontManagerTest, SiblingsAtOneDepthShareABatchThatLivesWhileDrawnInto) {
    GUIWindow* parent = manager.CreateWindow(0x9, Vec2(0, 0), Vec2(800, 600));
    GUIWindow* left = manager.CreateWindow(0x1, Vec2(0, 0), Vec2(100, 50), nullptr, nullptr, parent);
    GUIWindow* right = manager.CreateWindow(0x1, Vec2(200, 0), Vec2(100, 50), nullptr, nullptr, parent);
    left->QueueText(0, 3, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    right->QueueText(0, 3, Vec2(0, 0), Vec4(1, 1, 1, 1), L"aa");
    manager.Render();
    ASSERT_EQ(fonts()->GetBatches().size(), 1u);
    GUIFont* batch = fonts()->GetBatches()[0];
    EXPECT_EQ(batch->GetSource(), font);
    EXPECT_NEAR(batch->GetDepth(), -20.015f, 1e-5f);
    EXPECT_EQ(batch->GetModel()->GetFlags() & ModelVisible, uint32_t(ModelVisible));
    EXPECT_EQ(batch->GetModel()->indexBuffer->GetIndexCount(), 18u) << "three quads stay for the render pass";
    EXPECT_EQ(font->GetModel()->indexBuffer->GetIndexCount(), 0u) << "the loaded font draws nothing";

    // The right window moves one step down: its text gets a new batch, the old one lives while the left
    // window still draws into it.
    right->SetOrder(2);
    left->QueueText(0, 3, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    right->QueueText(0, 3, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    manager.Render();
    ASSERT_EQ(fonts()->GetBatches().size(), 2u);
    EXPECT_EQ(fonts()->GetBatches()[0], batch);
    EXPECT_NEAR(fonts()->GetBatches()[1]->GetDepth(), -20.025f, 1e-5f);
    // A frame without the left text deletes the first batch.
    right->QueueText(0, 3, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    manager.Render();
    ASSERT_EQ(fonts()->GetBatches().size(), 1u);
    EXPECT_NEAR(fonts()->GetBatches()[0]->GetDepth(), -20.025f, 1e-5f);
    manager.Render();
    EXPECT_TRUE(fonts()->GetBatches().empty());
}

TEST_F(GUIFontManagerTest, AlignedTextsStartInsideTheArea) {
    // Measured: "aaaaaaaa" is 80 x 20.
    const std::wstring text = L"aaaaaaaa";
    GUIWindow* parent = manager.CreateWindow(0x1, Vec2(10, 20), Vec2(0, 0));
    GUIWindow* window = manager.CreateWindow(0x1, Vec2(100, 100), Vec2(200, 60), nullptr, nullptr, parent);
    const Vec2 offset(50, 10);
    const struct {
        int32_t mode;
        float angle;
        Vec2 start;
    } cases[] = {
        {0, 0, {160, 130}},
        {AlignCentreHorizontal, 0, {170, 130}},
        {AlignLeft, 0, {110, 130}},
        {AlignRight, 0, {230, 130}},
        {AlignCentreHorizontal | AlignLeft | AlignRight, 0, {170, 130}},
        {AlignLeft | AlignRight, 0, {110, 130}},
        {AlignCentreVertical, 0, {160, 140}},
        {AlignTop, 0, {160, 160}},
        {AlignBottom, 0, {160, 120}},
        {AlignCentreVertical | AlignTop | AlignBottom, 0, {160, 140}},
        {AlignTop | AlignBottom, 0, {160, 160}},
        {AlignCentreHorizontal | AlignCentreVertical, 0, {170, 140}},
        // Upside down the text runs leftwards and downwards from its start: it ends at the left edge.
        {AlignLeft | AlignBottom, pi, {190, 140}},
        // Rotation without flags keeps the offset.
        {0, pi / 2, {160, 130}},
    };
    for (const auto& c : cases) {
        const Vec2 start = fonts()->GetTextPosition(c.mode, 3, window, offset, c.angle, text);
        EXPECT_NEAR(start.x, c.start.x, 1e-3f) << "mode " << c.mode << " angle " << c.angle;
        EXPECT_NEAR(start.y, c.start.y, 1e-3f) << "mode " << c.mode << " angle " << c.angle;
    }
    // The text rectangle replaces the window's; the selection rectangle plays no part.
    window->selection = true;
    window->SetSelectionPosition(Vec2(-50, -50));
    window->textArea = true;
    window->textAreaPosition = Vec2(20, 5);
    window->textAreaSize = Vec2(100, 40);
    Vec2 start = fonts()->GetTextPosition(AlignCentreHorizontal | AlignTop, 3, window, offset, 0, text);
    EXPECT_FLOAT_EQ(start.x, 130 + 10);
    EXPECT_FLOAT_EQ(start.y, 125 + 20);
    start = fonts()->GetTextPosition(0, 3, window, offset, 0, L"");
    EXPECT_FLOAT_EQ(start.x, 180);
    EXPECT_FLOAT_EQ(start.y, 135);

    // What is drawn starts there.
    window->QueueText(AlignRight, 3, offset, Vec4(1, 1, 1, 1), text);
    window->Render();
    const auto* v = reinterpret_cast<const ColoredVertex*>(
        fonts()->GetBatches().at(0)->GetModel()->vertexBuffer->GetData());
    EXPECT_FLOAT_EQ(v[1].position.x, 130 + 100 - 80);
    EXPECT_FLOAT_EQ(v[1].position.y, 135);
}

TEST_F(GUIFontManagerTest, UnknownFontsAndHiddenWindowsDrawNothing) {
    GUIWindow* window = manager.CreateWindow(0x1, Vec2(5, 5), Vec2(100, 50));
    EXPECT_EQ(fonts()->GetFont(-1), nullptr);
    EXPECT_EQ(fonts()->GetFont(4), nullptr);
    EXPECT_EQ(fonts()->GetBatch(-1, window), nullptr);
    const Vec2 start = fonts()->GetTextPosition(AlignCentreHorizontal, 4, window, Vec2(1, 1), 0, L"a");
    EXPECT_EQ(start, Vec2(0, 0));
    window->QueueText(0, -1, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    window->QueueText(0, 4, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a", 0, 12);
    window->Render();
    EXPECT_TRUE(fonts()->GetBatches().empty());
    EXPECT_FALSE(gui.log.Contains("Error"));

    GUIWindow* hidden = manager.CreateWindow(0x0, Vec2(5, 5), Vec2(100, 50));
    fonts()->DrawText(0, 3, 0, hidden, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    EXPECT_TRUE(fonts()->GetBatches().empty());
}

// Batches share their font's glyph table, so removing a font takes its batches along.
TEST_F(GUIFontManagerTest, RemovingAFontRemovesItsBatches) {
    GUIFont* other = fonts()->CreateFont(7, gui.material, "fonts\\manager.fnt");
    GUIWindow* window = manager.CreateWindow(0x1, Vec2(0, 0), Vec2(100, 50));
    window->QueueText(0, 3, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    window->QueueText(0, 7, Vec2(0, 0), Vec4(1, 1, 1, 1), L"a");
    window->Render();
    ASSERT_EQ(fonts()->GetBatches().size(), 2u);
    fonts()->RemoveFont(3);
    fonts()->RemoveFont(3);
    EXPECT_EQ(fonts()->GetFont(3), nullptr);
    ASSERT_EQ(fonts()->GetBatches().size(), 1u);
    EXPECT_EQ(fonts()->GetBatches()[0]->GetSource(), other);
    manager.Render();

    // A font created again under a used id replaces the old one.
    GUIFont* replaced = fonts()->CreateFont(7, gui.material, "fonts\\manager.fnt");
    EXPECT_EQ(fonts()->GetFont(7), replaced);
    EXPECT_TRUE(fonts()->GetBatches().empty());
}

} // namespace
