// ctest-label: console
// The console drawn through the whole GUI over a clear colour, with the game's own console font and
// background from the laid-out packs: opened by sliding in, a command typed and answered, and a Russian log
// line; written as console-open.png under $VB_TEST_OUTPUT and checked by probing pixels row by row.
#include "engine/core/Console.h"
#include "engine/core/Controls.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIFont.h"
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

const Vec4 clearColour(0.6f, 0.3f, 0.1f, 1);

// Ink of a text in the console's colours over its dark blue background.
bool IsWhiteInk(const uint8_t* p) {
    return p[0] > 150 && p[1] > 150 && p[2] > 150;
}
bool IsBlueInk(const uint8_t* p) {
    return p[2] > 150 && p[0] < 90 && p[1] < 90;
}

// How many pixels of a row band [y, y + height) between x0 and x1 the test takes for ink.
int CountInk(const Image& image, float y, float height, float x0, float x1, bool (*ink)(const uint8_t*)) {
    int count = 0;
    for (float yy = y; yy < y + height; ++yy)
        for (float x = std::max(0.0f, x0); x < std::min(x1, float(image.width)); ++x)
            count += ink(VelmoraTest::SceneRenderFixture::Pixel(image, x, yy)) ? 1 : 0;
    return count;
}

class ConsoleRender : public testing::Test {
protected:
    ConsoleRender() {
        Controls::Instance(&controls);
        window = scene.window.get();
    }
    ~ConsoleRender() override {
        delete Console::Instance();
        fonts.reset();
    }

    // One frame in the engine's order: a key event (a character or a key), the GUI's input step, the
    // console's update with the frame's log lines, then the drawing, captured.
    void Frame(Image& image, int code = -1, bool isCharacter = false) {
        scene.timers.frameTime = 0.05f;
        window->keyEventPending = code >= 0;
        window->keyEventIsChar = isCharacter;
        window->keyEventCode = static_cast<uint16_t>(code);
        scene.gui->Update();
        Console::Instance()->Update();
        Log()->ClearEntries();
        scene.Frame(image);
        window->keyEventPending = false;
    }

    VelmoraTest::TestLog log;
    FileManager files{BinDir(), true, "data", 16u << 20};
    FileManager* registered = FileManager::Instance(&files); // before the services that read files
    VelmoraTest::SceneRenderFixture scene{800, 600};
    Controls controls;
    std::unique_ptr<GUITools::GUIFontTool> fonts;
    Window* window = nullptr;
};

} // namespace

TEST_F(ConsoleRender, OpenOverAClearColourWithACommandAnsweredAndARussianLine) {
    fonts = std::make_unique<GUITools::GUIFontTool>("en");
    const int fontId = fonts->GetFontIndex("console");
    ASSERT_GE(fontId, 0);
    GUIFont* font = fonts->GetFont("console");
    ShaderDescriptor background;
    background.InitFromImages(false, "ui\\console\\console.jpg", "", true);
    Console::Instance(new Console("Velmora Ball 1.00", background, fontId, L'_', L']', L'^', "~", 0.95f, 308,
                                  1000));
    ASSERT_FALSE(log.Contains("Error")) << "the fonts or the console background did not load";
    Log()->ClearEntries();
    scene.renderSystem->clearColor = clearColour;

    Console* console = Console::Instance();
    Image image;
    console->Open();
    for (int frame = 0; frame < 20 && console->GetState() != ConsoleOpen; ++frame)
        Frame(image);
    ASSERT_EQ(console->GetState(), ConsoleOpen);
    for (wchar_t c : std::wstring(L"v_mode"))
        Frame(image, c, true);
    Frame(image, Console::keyEnter);
    Log()->Message("Консоль открыта: проверка кириллицы");
    Frame(image);
    Frame(image);
    VelmoraTest::SceneRenderFixture::SavePng(image, "console-open.png");

    // The rows, newest lowest, above the title and prompt rows and the one row the walk up the rows leaves
    // free: the Russian line, the answer, the echo.
    const float step = console->GetLineStep(), bottom = 600 - 308 + console->GetLineGap() + 3 * step;
    const std::wstring russian = L"Консоль открыта: проверка кириллицы";
    const std::wstring echo = L"]\\v_mode";
    const float russianWidth = font->MeasureText(russian, 0, -1).x;
    const float echoWidth = font->MeasureText(echo, 0, -1).x;
    ASSERT_GT(russianWidth, 100.0f) << "the console font has no Cyrillic";
    const float glyph = font->size;

    EXPECT_GT(CountInk(image, bottom, glyph, 0, russianWidth, IsWhiteInk), 60) << "the Russian line";
    EXPECT_EQ(CountInk(image, bottom, glyph, russianWidth + glyph, 800, IsWhiteInk), 0) << "past its end";
    EXPECT_GT(CountInk(image, bottom + step, glyph, 0, 300, IsWhiteInk), 60) << "the answer";
    EXPECT_GT(CountInk(image, bottom + 2 * step, glyph, 0, echoWidth, IsBlueInk), 15) << "the echo in blue";
    EXPECT_EQ(CountInk(image, bottom + 2 * step, glyph, 0, 800, IsWhiteInk), 0) << "the echo is not white";
    EXPECT_EQ(CountInk(image, bottom + 2 * step, glyph, echoWidth + glyph, 800, IsBlueInk), 0);

    // Below the console the clear colour; inside it, far from the rows, the dark blue background.
    for (const Vec2& at : {Vec2(400, 50), Vec2(20, 280), Vec2(780, 280)}) {
        const uint8_t* p = VelmoraTest::SceneRenderFixture::Pixel(image, at.x, at.y);
        EXPECT_NEAR(p[0], 153, 2) << at.x << "," << at.y;
        EXPECT_NEAR(p[1], 77, 2) << at.x << "," << at.y;
        EXPECT_NEAR(p[2], 26, 2) << at.x << "," << at.y;
    }
    const uint8_t* inside = VelmoraTest::SceneRenderFixture::Pixel(image, 400, 590);
    EXPECT_GT(inside[2], inside[0]);
    EXPECT_LT(inside[0] + inside[1] + inside[2], 200);
    EXPECT_FALSE(log.Contains("Error"));
}
