// ctest-label: gui
// A slider, a scroll with its step buttons and an edit box holding Cyrillic text drawn through the whole GUI
// with plain coloured quads and the game's edit-box font from the laid-out packs (Russian); written as
// gui-controls.png under $VB_TEST_OUTPUT and checked by probing where each part must be.
#include "engine/core/Controls.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIScroll.h"
#include "engine/gui/GUISlider.h"
#include "guitools/GUIFontTool.h"
#include "platform/win/Process.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace OrvexEngine;

namespace {

std::string BinDir() {
    return (std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin").string();
}

const Vec4 trackColour(0.3f, 0.5f, 0.9f, 1), toddlerColour(1, 0.8f, 0.2f, 1);
const Vec4 scrollColour(0.2f, 0.6f, 0.3f, 1), buttonColour(0.8f, 0.2f, 0.2f, 1), thumbColour(0.9f, 0.9f, 0.9f, 1);
const Vec4 boxColour(0.1f, 0.1f, 0.35f, 1), inkColour(1, 1, 0.3f, 1);

// The capture's pixel at a GUI point (one unit per pixel, y upwards) is the colour, within rounding.
void ExpectColour(const Image& image, float x, float y, const Vec4& colour, const char* what) {
    const uint8_t* p = VelmoraTest::SceneRenderFixture::Pixel(image, x, y);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(p[c], colour[c] * 255, 3) << what << " at " << x << "," << y << " channel " << c;
}

bool IsInk(const uint8_t* p) {
    return p[0] > 150 && p[1] > 150 && p[2] < 140;
}

int CountInk(const Image& image, float x0, float x1, float y0, float y1) {
    int count = 0;
    for (float y = y0; y < y1; ++y)
        for (float x = x0; x < x1; ++x)
            count += IsInk(VelmoraTest::SceneRenderFixture::Pixel(image, x, y)) ? 1 : 0;
    return count;
}

} // namespace

TEST(GUIControlsRender, ASliderAScrollAndACyrillicEditBox) {
    VelmoraTest::TestLog log;
    FileManager files(BinDir(), true, "data", 16u << 20);
    FileManager::Instance(&files);
    VelmoraTest::SceneRenderFixture scene(800, 600);
    Controls controls;
    Controls::Instance(&controls);
    GUIManager* gui = scene.gui.get();
    auto fonts = std::make_unique<GUITools::GUIFontTool>("ru");
    fonts->LoadAdditionalFonts();
    const int fontId = fonts->GetFontIndex("editbox");
    ASSERT_GE(fontId, 0);
    ASSERT_FALSE(log.Contains("Error")) << "the game's fonts did not load";
    scene.renderSystem->clearColor = Vec4(0.15f, 0.15f, 0.15f, 1);

    ShaderDescriptor quad;
    const uint32_t flags = GUI_WINDOW_VISIBLE | GUI_WINDOW_VERTEX_COLORS;
    // A slider of 4 positions at the third (2): its toddler, 40 wide, runs from x 100 to 460.
    GUISlider* slider =
        gui->CreateSlider(flags, Vec2(100, 420), Vec2(400, 30), nullptr, &quad, 0, Vec2(0, 0), Vec2(360, 0), 4,
                          nullptr);
    slider->CreateToddler(Vec2(40, 30), nullptr, &quad);
    slider->SetColor(trackColour);
    slider->GetToddler()->SetColor(toddlerColour);
    slider->SetPosition(2);
    // A scroll of 5 positions at the second (1): step buttons at both ends, its thumb from x 140 to 420.
    GUIScroll* scroll =
        gui->CreateScroll(flags, Vec2(100, 300), Vec2(400, 30), nullptr, &quad, 0, Vec2(40, 0), Vec2(320, 0), 5,
                          nullptr);
    scroll->CreateDecreaseButton(Vec2(0, 0), Vec2(30, 30), nullptr, &quad);
    scroll->CreateIncreaseButton(Vec2(370, 0), Vec2(30, 30), nullptr, &quad);
    scroll->CreateToddler(Vec2(40, 30), nullptr, &quad);
    scroll->SetColor(buttonColour);
    static_cast<GUIWindow*>(scroll)->GUIWindow::SetColor(scrollColour);
    scroll->GetToddler()->SetColor(thumbColour);
    scroll->SetPosition(1);
    // An edit box with a player's name in Russian, not being typed in (no caret).
    const std::wstring name = L"Игрок Велмора";
    GUIEditBox* box = gui->CreateEditBox(flags, Vec2(100, 150), Vec2(400, 44), nullptr, &quad, fontId, inkColour,
                                         Vec2(10, 8), 32, 1000, 380, L'|', nullptr);
    box->SetColor(boxColour);
    box->SetText(name);
    box->active = false;

    Image image;
    for (int frame = 0; frame < 2; ++frame) {
        scene.timers.frameTime = 0.02f;
        gui->UpdateElements(Vec2(700, 50), false, false);
        scene.Frame(image);
    }
    VelmoraTest::SceneRenderFixture::SavePng(image, "gui-controls.png");

    ExpectColour(image, 360, 435, toddlerColour, "the slider's toddler at 2 of 4");
    ExpectColour(image, 240, 435, trackColour, "the track where position 1 would be");
    ExpectColour(image, 480, 435, trackColour, "the track where position 3 would be");
    ExpectColour(image, 110, 435, trackColour, "the track's start");
    ExpectColour(image, 230, 315, thumbColour, "the scroll's thumb at 1 of 5");
    ExpectColour(image, 300, 315, scrollColour, "the scroll's track");
    ExpectColour(image, 115, 315, buttonColour, "the decrease button");
    ExpectColour(image, 485, 315, buttonColour, "the increase button");
    ExpectColour(image, 50, 315, Vec4(0.15f, 0.15f, 0.15f, 1), "the clear colour");

    // The name's ink from the text offset to its measured width, and none after it.
    const float width = fonts->GetFont("editbox")->MeasureText(name, 0, -1).x;
    ASSERT_GT(width, 100.0f) << "the edit-box font has no Cyrillic";
    EXPECT_GT(CountInk(image, 110, 110 + width, 150, 194), 150) << "the name";
    EXPECT_EQ(CountInk(image, 110 + width + 8, 500, 150, 194), 0) << "past the name";
    ExpectColour(image, 490, 190, boxColour, "the edit box");
    EXPECT_FALSE(log.Contains("Error"));

    gui->DeleteEditBox(box);
    gui->DeleteScroll(scroll);
    gui->DeleteSlider(slider);
    fonts.reset();
}
