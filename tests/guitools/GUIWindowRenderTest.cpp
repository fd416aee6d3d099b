// ctest-label: gui
// Windows described in XML drawn from the game's own data: a test installation holds the laid-out packs and,
// loose beside them, the demo window with one control of every kind. In Russian, over the menu background,
// the demo window is shown and captured at a quarter of the background's fade (gui-background-fade.png) and
// after its faders have finished (gui-window.png): the title printed, the check box checked, the slider at
// position 3 of 5, the background behind it. Each of those is probed by drawing the same frame without it.
// Also: the loading window and the basic background come from the shipped packs without an error line.
#include "engine/core/Controls.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUISlider.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIBackgroundBase.h"
#include "guitools/GUIControl.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowBase.h"
#include "platform/win/Process.h"
#include "platform/win/Time.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace OrvexEngine;
namespace fs = std::filesystem;

namespace {

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

fs::path SourceDir() {
    const char* source = std::getenv("VB_SOURCE_DIR");
    return source != nullptr ? fs::path(source) : fs::path(__FILE__).parent_path().parent_path().parent_path();
}

// A folder laid out like the game's: links to the shipped packs, and the demo window loose in ui\windows.
std::string TestInstallation() {
    const fs::path root = fs::path(VelmoraTest::TempDir()) / "installation";
    fs::create_directories(root / "data" / "ui" / "windows");
    for (const fs::directory_entry& entry : fs::directory_iterator(BinDir() / "data"))
        if (entry.path().extension() == ".pak")
            fs::create_symlink(entry.path(), root / "data" / entry.path().filename());
    fs::copy_file(SourceDir() / "tests/data/fixtures/window_gui_demo.xml",
                  root / "data/ui/windows/window_gui_demo.xml");
    return root.string();
}

size_t ErrorLines() {
    size_t count = 0;
    MessageManager* log = Log();
    for (uint32_t i = 0; i < log->GetEntryCount(); ++i)
        count += log->GetEntry(i)->type == MessageTypeError ? 1 : 0;
    return count;
}

std::string FirstErrorLine() {
    MessageManager* log = Log();
    for (uint32_t i = 0; i < log->GetEntryCount(); ++i)
        if (log->GetEntry(i)->type == MessageTypeError)
            return log->GetEntry(i)->text;
    return "";
}

int Difference(const uint8_t* a, const uint8_t* b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

// How many pixels of the GUI rectangle [x0, x1) x [y0, y1) differ clearly between two captures.
int Changed(const Image& a, const Image& b, float x0, float x1, float y0, float y1) {
    int count = 0;
    for (float y = y0; y < y1; ++y)
        for (float x = x0; x < x1; ++x)
            count += Difference(VelmoraTest::SceneRenderFixture::Pixel(a, x, y),
                                VelmoraTest::SceneRenderFixture::Pixel(b, x, y)) > 40
                         ? 1
                         : 0;
    return count;
}

// The GUI services over the game's data in one language: the resource lists the menus use, the tools
// with both font files, and the menu background.
class GameGui {
public:
    GameGui(const std::string& base, const std::string& language, bool additional)
        : files(base, true, "data", 16u << 20) {
        FileManager::Instance(&files);
        scene = std::make_unique<VelmoraTest::SceneRenderFixture>(800, 600);
        controls = std::make_unique<Controls>();
        Controls::Instance(controls.get());
        keeper = std::make_unique<GameTools::DataKeeper>(language);
        keeper->LoadResourceList("data\\ui\\resources_basic.xml", true);
        keeper->LoadResourceList("data\\ui\\background\\resources_basic.xml", true);
        if (additional) {
            keeper->LoadResourceList("data\\ui\\resources_additional.xml", true);
            keeper->LoadResourceList("data\\ui\\background\\resources_additional.xml", true);
        }
        tools = std::make_unique<GUITools::GUIToolManager>(language);
        if (additional)
            tools->fontTool->LoadAdditionalFonts();
        background = std::make_unique<GUITools::GUIBackgroundBase>(keeper.get(), nullptr,
                                                                    "data\\ui\\background\\background.xml");
        background->LoadBasicLayers();
        if (additional)
            background->LoadAdditionalLayers();
    }
    ~GameGui() {
        window.reset();
        background.reset();
        tools.reset();
        keeper.reset();
        controls.reset();
        scene.reset();
    }

    // One frame in the game's order: the GUI's input step, the background and the window, the drawing.
    void Frame(Image& image, float frameTime) {
        scene->timers.frameTime = frameTime;
        scene->gui->UpdateElements(Vec2(790, 10), false, false);
        background->Update();
        if (window)
            window->Update();
        scene->Frame(image);
    }

    FileManager files;
    std::unique_ptr<VelmoraTest::SceneRenderFixture> scene;
    std::unique_ptr<Controls> controls;
    std::unique_ptr<GameTools::DataKeeper> keeper;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::unique_ptr<GUITools::GUIBackgroundBase> background;
    std::unique_ptr<GUITools::GUIWindowBase> window;
};

const Vec4 clearColour(0.1f, 0.1f, 0.1f, 1);

} // namespace

TEST(GUIWindowRender, TheDemoWindowInRussianOverTheFadingBackground) {
    // The edit box's caret blinks on the clock: it stands still here, so frames differ only as the test says.
    platform::InstallFakeClock();
    VelmoraTest::TestLog log;
    GameGui game(TestInstallation(), "ru", true);
    game.scene->renderSystem->clearColor = clearColour;
    game.window = std::make_unique<GUITools::GUIWindowBase>(game.keeper.get(), game.tools.get(),
                                                           game.background->foregroundWindow, "window_gui_demo");
    ASSERT_EQ(ErrorLines(), 0u) << FirstErrorLine();
    GUITools::GUIWindowBase& demo = *game.window;
    auto* slider = static_cast<GUISlider*>(demo.GetControl("window_gui_demo/window/slider")->GetWindow());
    slider->SetPositionCount(5);
    slider->SetPosition(3);
    GUICheckBox* checkBox = demo.GetCheckBox("window_gui_demo/window/check_box");
    ASSERT_NE(checkBox, nullptr);
    checkBox->checked = true;
    GUITools::GUITextControl* title = demo.GetTextControl("window_gui_demo/title");
    ASSERT_NE(title, nullptr);

    // The background fades in over a second; at a quarter the sky shows a quarter of its colour.
    game.background->Show(true, true, 1.0f);
    demo.Show(true);
    Image quarter;
    for (int frame = 0; frame < 5; ++frame)
        game.Frame(quarter, 0.05f);
    EXPECT_NEAR(game.background->fadeTime, 0.25f, 1e-4f);
    VelmoraTest::SceneRenderFixture::SavePng(quarter, "gui-background-fade.png");

    Image shown;
    for (int frame = 0; frame < 60; ++frame)
        game.Frame(shown, 0.05f);
    EXPECT_TRUE(title->IsPrintingFinished());
    EXPECT_FALSE(game.background->fading);
    // With the clock stopped nothing moves: frames differ only by what a test changes.
    game.Frame(shown, 0);
    VelmoraTest::SceneRenderFixture::SavePng(shown, "gui-window.png");
    EXPECT_EQ(ErrorLines(), 0u) << FirstErrorLine();

    // The sky beside the window, below the clouds' paths and above the hills, where only the sky layer
    // draws: its colour, and a quarter of the way to it from the clear colour at a quarter of the fade.
    for (const Vec2& at : {Vec2(60, 430), Vec2(740, 435)}) {
        const uint8_t* full = VelmoraTest::SceneRenderFixture::Pixel(shown, at.x, at.y);
        const uint8_t* faded = VelmoraTest::SceneRenderFixture::Pixel(quarter, at.x, at.y);
        for (int c = 0; c < 3; ++c) {
            const float clear = clearColour[c] * 255;
            EXPECT_GT(std::abs(full[c] - clear), 20.0f) << "the sky, channel " << c;
            EXPECT_NEAR(faded[c], clear + 0.25f * (full[c] - clear), 8) << "a quarter faded, channel " << c;
        }
    }

    // The title: without its text the title's rectangle loses its ink, and nothing else changes.
    const std::wstring printed = title->text;
    EXPECT_FALSE(printed.empty());
    title->SetText(L"");
    Image untitled;
    game.Frame(untitled, 0);
    EXPECT_GT(Changed(shown, untitled, 240, 560, 456, 508), 150) << "the title is printed";
    EXPECT_EQ(Changed(shown, untitled, 0, 800, 0, 440), 0);
    title->SetText(printed);

    // The check box (at 420, 296 on the screen) shows another look unchecked.
    checkBox->checked = false;
    Image unchecked;
    game.Frame(unchecked, 0);
    EXPECT_GT(Changed(shown, unchecked, 410, 480, 286, 350), 20) << "the check box is checked";
    EXPECT_EQ(Changed(shown, unchecked, 0, 400, 0, 600), 0);
    checkBox->checked = true;

    // The slider's toddler, 24 wide over 196 units from x 330, is at 3 of 5 (from x 477); at 0 it moves to
    // x 330 and the track between stays as it was.
    slider->SetPosition(0);
    Image atStart;
    game.Frame(atStart, 0);
    EXPECT_GT(Changed(shown, atStart, 477, 501, 344, 372), 100) << "the toddler at 3 of 5";
    EXPECT_GT(Changed(shown, atStart, 330, 354, 344, 372), 100) << "the toddler at 0";
    EXPECT_EQ(Changed(shown, atStart, 358, 473, 344, 372), 0) << "the track between";
    EXPECT_EQ(ErrorLines(), 0u) << FirstErrorLine();
    platform::RemoveFakeClock();
}

TEST(GUIWindowRender, TheLoadingWindowAndTheBackgroundLoadFromTheShippedPacks) {
    for (const char* language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        VelmoraTest::TestLog log;
        GameGui game(BinDir().string(), language, false);
        game.window = std::make_unique<GUITools::GUIWindowBase>(
            game.keeper.get(), game.tools.get(), game.background->foregroundWindow, "window_game_loading");
        EXPECT_FALSE(game.background->layers.empty());
        EXPECT_FALSE(game.window->GetControls().empty());
        game.background->Show(true, false, 1.0f);
        game.window->Show(true);
        Image image;
        for (int frame = 0; frame < 10; ++frame)
            game.Frame(image, 0.05f);
        EXPECT_EQ(ErrorLines(), 0u) << FirstErrorLine();
    }
}
