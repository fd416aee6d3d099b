// ctest-label: window
// The window and the input service inside the Engine: their places in creation and shutdown, a frame's
// input from the start of BeginFrame to the end of Tick, Alt+Enter, PRINTSCRN and closing the window.
#include "engine/core/Config.h"
#include "engine/core/Controls.h"
#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/Window.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"
#include "platform/win/NativeWindow.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace OrvexEngine;
namespace in = platform::input;
namespace winsim = platform::sim;

namespace {

class EngineWindowTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        EngineStartupParams params;
        params.title = "Window Test";
        params.version = 100;
        params.configDirectory = VelmoraTest::TempDir();
        params.configName = "engine-window";
        params.defaultVideoMode = "800x600x32";
        params.logEnabled = true;
        params.logDirectory = VelmoraTest::TempDir();
        params.logName = "engine-window";
        engine = std::make_unique<Engine>(params);
        logPath = Log()->GetFilePath();
        for (char& c : logPath)
            if (c == '\\')
                c = '/';
    }
    void TearDown() override {
        engine.reset();
        platform::RemoveFakeClock();
        winsim::Reset();
    }
    // The application's loop: every waiting message, then one frame.
    void Frame() {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        engine->BeginFrame();
        engine->Tick(0);
    }

    std::unique_ptr<Engine> engine;
    std::string logPath;
};

TEST_F(EngineWindowTest, WindowIsCreatedBeforeTheInputDevicesAndDestroyedAfterThem) {
    Window* window = Window::Instance();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(Controls::Instance(), nullptr);
    EXPECT_EQ(window->width, 800u);
    EXPECT_EQ(window->height, 600u);
    EXPECT_FALSE(window->fullscreen);
    platform::WindowHandle handle = window->handle;
    EXPECT_TRUE(platform::IsWindowAlive(handle));

    engine.reset();
    EXPECT_FALSE(platform::IsWindowAlive(handle));
    EXPECT_EQ(Window::Instance(), nullptr);
    EXPECT_EQ(Controls::Instance(), nullptr);

    // Created after the window, destroyed before it.
    std::ifstream file(logPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::string html = text.str();
    size_t positions[4];
    const char* const sections[] = {"Window creation:", "Initialization of DirectInput devices...",
                                    "DirectInput devices destroying:", "Window destroying:"};
    for (int i = 0; i < 4; ++i) {
        positions[i] = html.find(sections[i]);
        ASSERT_NE(positions[i], std::string::npos) << sections[i];
    }
    EXPECT_LT(positions[0], positions[1]);
    EXPECT_LT(positions[1], positions[2]);
    EXPECT_LT(positions[2], positions[3]);
}

TEST_F(EngineWindowTest, AKeyIsPressedInExactlyTheFrameItWentDown) {
    Controls* controls = Controls::Instance();
    winsim::PushKey(in::KeySpace, true);
    winsim::PushKey(in::KeySpace, false);
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message))
        platform::DispatchWindowMessage(message);
    engine->BeginFrame();
    EXPECT_TRUE(controls->WasPressed("SPACE"));
    engine->Tick(0);
    EXPECT_FALSE(controls->WasPressed("SPACE")); // cleared at the end of the frame
    Frame();
    EXPECT_FALSE(controls->IsDownOrPressed("SPACE"));
}

TEST_F(EngineWindowTest, PrintScreenTriggersTheScreenshotInItsFrame) {
    Config* config = Config::Instance();
    ASSERT_TRUE(config->IsCommandIdle("sc_take_screenshot"));
    winsim::PushKey(in::KeySysRq, true);
    Frame();
    EXPECT_FALSE(config->IsCommandIdle("sc_take_screenshot"));
    EXPECT_FALSE(Controls::Instance()->WasPressed("PRINTSCRN"));
}

TEST_F(EngineWindowTest, AltEnterHeldForManyFramesSwitchesFullScreenOnce) {
    Config* config = Config::Instance();
    ASSERT_EQ(config->GetValueText("v_fullscreen"), "0");
    winsim::PushKey(in::KeyLMenu, true);
    winsim::PushKey(in::KeyReturn, true);
    int changes = 0;
    std::string last = config->GetValueText("v_fullscreen");
    for (int frame = 0; frame < 8; ++frame) {
        Frame();
        if (config->GetValueText("v_fullscreen") != last)
            ++changes;
        last = config->GetValueText("v_fullscreen");
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(last, "1");
    EXPECT_FALSE(config->IsCommandIdle("v_window_change_mode"));
}

TEST_F(EngineWindowTest, ClosingTheWindowEndsTheProgram) {
    Frame();
    EXPECT_FALSE(engine->IsExitRequested());
    winsim::PushClose();
    platform::WindowMessage message;
    bool exitSeen = false;
    // The loop tests for "exit" after every message.
    while (!exitSeen && platform::PeekWindowMessage(message)) {
        platform::DispatchWindowMessage(message);
        exitSeen = engine->IsExitRequested();
    }
    EXPECT_TRUE(exitSeen);
}

} // namespace

// A "v_mode" no window can be made with must not end every start: the default mode takes its place, and a
// window larger than the desktop is reduced to it.
TEST(EngineVideoMode, AnyVideoModeInTheSettingsFileStarts) {
    platform::InstallFakeClock();
    winsim::SetDesktopMode(1280, 1024, 32);
    winsim::SetWorkArea({0, 0, 1280, 1024});
    struct Case {
        std::string mode;
        uint32_t width, height; // the window's client size once the engine runs; 0: not checked
        std::string modeAfter;  // "" when it stays as written
    };
    const Case cases[] = {
        {"0x0x32", 800, 600, "800x600x32"},
        {"-1x-1x32", 800, 600, "800x600x32"},
        {"65535x65535x32", 800, 600, "800x600x32"},
        {std::string(20'000'000, '9') + "x600x32", 800, 600, "800x600x32"},
        {"2000x600x32", 0, 0, ""},
        {"640x480x16", 640, 480, ""},
    };
    for (const Case& c : cases) {
        std::string dir = VelmoraTest::TempDir() + "/video-mode";
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "/Game.ini", std::ios::binary) << "v_mode " << c.mode << "\r\n";
        EngineStartupParams params;
        params.configDirectory = dir;
        params.configName = "Game";
        params.defaultVideoMode = "800x600x32";
        std::string shown = c.mode.substr(0, 20);
        try {
            Engine engine(params);
            if (c.width != 0) {
                EXPECT_EQ(Window::Instance()->width, c.width) << shown;
                EXPECT_EQ(Window::Instance()->height, c.height) << shown;
            }
            EXPECT_EQ(Config::Instance()->GetSettings().vMode, c.modeAfter.empty() ? c.mode : c.modeAfter)
                << shown;
        } catch (const Error& error) {
            ADD_FAILURE() << shown << ": " << error.GetText();
        }
    }
    winsim::Reset();
    platform::RemoveFakeClock();
}
