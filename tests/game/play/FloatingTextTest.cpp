// ctest-label: gameplay
// The level's floating texts on the fake clock, read back from the texts queued on the manager's window:
// growing, rising, fading and dying on time, lines split at line feeds and centred on the anchor, and a point
// of the field placed where the camera shows it.
#include "game/play/GUIGameLogicText.h"
#include "game/play/GUIGameLogicTextManager.h"

#include "engine/core/Window.h"
#include "engine/graphics/Camera.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIWindow.h"
#include "platform/win/WindowSimulation.h"
#include "tests/engine/gui/FontFixtures.h"
#include "tests/game/play/PlayTestWorld.h"
#include "tools/formats/FontWriter.h"

#include <gtest/gtest.h>

#include <iterator>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VelmoraTest::PlayTestWorld;

namespace {

constexpr int fontId = 3;

class FloatingTextTest : public testing::Test {
protected:
    FloatingTextTest() {
        std::vector<VbFormats::FontGlyph> glyphs;
        for (wchar_t c = L'A'; c <= L'Z'; ++c)
            glyphs.push_back(VelmoraTest::TestGlyph(uint16_t(c), 0.5f + 0.02f * float(c - L'A')));
        world.services.data.Save("fonts/tip.fnt", VbFormats::FontWriter::Write(glyphs));
        material = world.services.shaders->CreateShaderUser(ShaderDescriptor(), false);
        world.gui->GetFontManager()->CreateFont(fontId, material, "fonts\\tip.fnt");
        parent = world.gui->CreateEmptyWindow(GUI_WINDOW_VISIBLE, nullptr);
        texts = std::make_unique<GUIGameLogicTextManager>(fontId, parent);
    }
    ~FloatingTextTest() override {
        texts.reset();
        world.gui->DeleteWindow(parent);
        world.gui->GetFontManager()->RemoveFont(fontId);
        world.services.shaders->ReleaseShaderUser(material);
    }

    // One frame: the texts update and queue; what they queued is read and the window's queue emptied.
    std::vector<GUIQueuedText> Frame(uint32_t milliseconds = 25) {
        std::vector<GUIQueuedText> queued;
        world.Frame(milliseconds, [&] {
            texts->Update();
            GUIWindow& window = *texts->GetWindow();
            for (uint32_t i = 0; i < window.GetTextCount(); ++i)
                queued.push_back(window.GetQueuedText(i));
            window.Render();
        });
        return queued;
    }
    float Width(const std::wstring& line, float size) const {
        return world.gui->GetFontManager()->GetFont(fontId)->MeasureText(line, 0, size).x;
    }

    PlayTestWorld world{"texts"};
    ShaderUser* material = nullptr;
    GUIWindow* parent = nullptr;
    std::unique_ptr<GUIGameLogicTextManager> texts;
};

TEST_F(FloatingTextTest, GrowsRisesFadesAndDiesOnTime) {
    EXPECT_EQ(texts->GetWindow()->GetParent(), parent);
    EXPECT_EQ(texts->GetWindow()->GetOrder(), GUIGameLogicTextManager::Order);
    texts->AddText(L"LIFE", Vec2(300, 200));
    struct Step {
        int frame; // of 0.025 s
        float alpha, size, rise;
    };
    const Step steps[] = {
        {1, 0.125f, 2.75f, 0}, // the first update already counts its frame: small and faint
        {4, 0.5f, 11, 0},      {8, 1, 22, 0},           {16, 1, 22, 7},
        {48, 1, 22, 35},       {63, 0.5f, 22, 48.125f}, {77, 1 - 0.725f / 0.75f, 22, 60.375f},
    };
    int frame = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.frame);
        std::vector<GUIQueuedText> queued;
        while (frame < step.frame) {
            queued = Frame();
            ++frame;
        }
        ASSERT_EQ(texts->GetTexts().size(), 1u);
        const GUIGameLogicText& text = *texts->GetTexts()[0];
        EXPECT_NEAR(text.GetAlpha(), step.alpha, 1e-4);
        EXPECT_NEAR(text.GetSize(), step.size, 1e-3);
        EXPECT_NEAR(text.GetRise(), step.rise, 1e-3);
        ASSERT_EQ(queued.size(), 1u);
        EXPECT_NEAR(queued[0].color.w, step.alpha, 1e-4);
        EXPECT_EQ(queued[0].color.x, 1.0f);
        EXPECT_NEAR(queued[0].fontSize, step.size, 1e-3);
        EXPECT_EQ(queued[0].fontId, fontId);
        EXPECT_EQ(queued[0].text, L"LIFE");
        // One line sits half its size below the anchor, raised by the rise.
        EXPECT_NEAR(queued[0].position.y, 200 - step.size / 2 + step.rise, 1e-3);
        EXPECT_NEAR(queued[0].position.x, 300 - Width(L"LIFE", step.size) / 2, 1e-3);
    }
    // Gone at 1.95 s, give or take the clock's rounding; still drawn in the frame it dies in.
    std::vector<GUIQueuedText> last;
    while (!texts->GetTexts().empty() && frame < 80) {
        last = Frame();
        ++frame;
    }
    EXPECT_TRUE(texts->GetTexts().empty());
    EXPECT_GE(frame, 78);
    EXPECT_LE(frame, 79);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_NEAR(last[0].color.w, 0, 1e-4);
    EXPECT_TRUE(Frame().empty());
}

TEST_F(FloatingTextTest, LinesSplitAtLineFeedsAndStackDownFromTheAnchor) {
    struct Case {
        std::wstring text;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {L"EXTRA\nBALL", {L"EXTRA", L"BALL"}},
        {L"BAT\n", {L"BAT"}},
        {L"\nX", {L"", L"X"}},
        {L"", {}},
        {L"\n\n", {L"", L""}},
    };
    for (const Case& c : cases)
        texts->AddText(c.text, Vec2(400, 300));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(texts->GetTexts()[i]->GetLines(), cases[i].lines) << i;

    std::vector<GUIQueuedText> queued;
    for (int i = 0; i < 8; ++i) // 0.2 s: full size
        queued = Frame();
    // Only the lines with something to show are queued: two, one and one.
    ASSERT_EQ(queued.size(), 4u);
    EXPECT_EQ(queued[0].text, L"EXTRA");
    EXPECT_NEAR(queued[0].position.y, 300, 1e-3);
    EXPECT_NEAR(queued[0].position.x, 400 - Width(L"EXTRA", 22) / 2, 1e-3);
    EXPECT_EQ(queued[1].text, L"BALL");
    EXPECT_NEAR(queued[1].position.y, 278, 1e-3);
    EXPECT_NEAR(queued[1].position.x, 400 - Width(L"BALL", 22) / 2, 1e-3);
    EXPECT_EQ(queued[2].text, L"BAT");
    EXPECT_NEAR(queued[2].position.y, 289, 1e-3);
    EXPECT_EQ(queued[3].text, L"X");
    EXPECT_NEAR(queued[3].position.y, 278, 1e-3);

    // Texts with nothing to show die on time like the others.
    for (int i = 0; i < 69; ++i) // 1.925 s
        Frame();
    EXPECT_EQ(texts->GetTexts().size(), std::size(cases));
    for (int i = 0; i < 2; ++i)
        Frame();
    EXPECT_TRUE(texts->GetTexts().empty());
}

TEST_F(FloatingTextTest, AWorldPointLandsWhereTheCameraShowsIt) {
    platform::sim::Reset();
    platform::sim::SetDesktopMode(1920, 1080);
    platform::sim::SetWorkArea({0, 0, 1920, 1080});
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen);
        Window window("t", 0, 0, 1024, 768, fullScreen, true, Vec2i());
        Window::Instance(&window);
        Camera& camera = *world.services.camera;
        camera.position = Vec3(0, 0, 100);
        world.services.cameras->Update();
        // The camera looks down -z from 100 above the origin: the origin is the middle of the picture, and so
        // of the GUI screen, whatever part of the window the GUI fills. A point off-centre lands off-centre
        // by the GUI's share of the window: all of it in a window, the middle three quarters of the stretched
        // 16:9 screen.
        ASSERT_NEAR(world.services.cameras->Project(camera, Vec3(0, 0, 0)).x, 512, 0.5f);
        const Vec2 right = world.services.cameras->Project(camera, Vec3(20, 0, 0));
        const float guiPerPixel = fullScreen ? 800.0f / 768.0f : 800.0f / 1024.0f;
        texts->AddTextAtWorldPoint(L"A", Vec3(0, 0, 0));
        texts->AddTextAtWorldPoint(L"B", Vec3(20, 0, 0));
        std::vector<GUIQueuedText> queued;
        for (int i = 0; i < 8; ++i) // full size, not yet rising
            queued = Frame();
        ASSERT_EQ(queued.size(), 2u);
        EXPECT_NEAR(queued[0].position.x + Width(L"A", 22) / 2, 400, 0.05f);
        EXPECT_NEAR(queued[0].position.y + 11, 300, 0.05f);
        EXPECT_NEAR(queued[1].position.x + Width(L"B", 22) / 2, 400 + (right.x - 512) * guiPerPixel, 0.05f);
        EXPECT_GT(right.x, 530);
        for (int i = 0; i < 80; ++i)
            Frame();
    }
    platform::sim::Reset();
}

} // namespace
