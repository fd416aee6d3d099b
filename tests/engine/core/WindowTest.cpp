// ctest-label: window
// The application window on the headless platform: placement, the desktop's class, the window procedure's
// handling of closing, system commands and keys, Alt+Enter once per press, and failures at creation.
#include "engine/core/Window.h"
#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"
#include "platform/win/NativeWindow.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

using namespace OrvexEngine;
namespace in = platform::input;
namespace winsim = platform::sim;

namespace {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        configDirectory = VelmoraTest::TempDir() + "/window-settings";
        std::filesystem::create_directories(configDirectory);
        config = std::make_unique<Config>(configDirectory, "window", false, "1024x768x32", false, false);
        Config::Instance(config.get());
    }
    void TearDown() override {
        window.reset();
        config.reset();
        winsim::Reset();
    }
    void Open(bool fullScreen = false, bool centred = true, Vec2i position = Vec2i(), uint32_t width = 1024,
              uint32_t height = 768) {
        window.reset();
        window = std::make_unique<Window>("Test 1.00", 0, 0, width, height, fullScreen, centred, position);
        Window::Instance(window.get());
    }
    // The application's loop: every waiting message, then the window's step of a frame.
    void Frame() {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        window->Update();
    }
    bool Triggered(const std::string& command) const { return !config->IsCommandIdle(command); }
    bool FullScreenSetting() const { return config->GetValueText("v_fullscreen") == "1"; }
    std::filesystem::path SettingsFile() const {
        return std::filesystem::path(configDirectory) / "window.ini";
    }

    VelmoraTest::TestLog log;
    std::string configDirectory;
    std::unique_ptr<Config> config;
    std::unique_ptr<Window> window;
};

TEST_F(WindowTest, DesktopAspectSetsTheWideOrTallFlagOnce) {
    struct Case {
        uint32_t width, height;
        bool wide, tall;
    };
    const Case cases[] = {
        {1280, 1024, false, true}, {1024, 768, false, false},  {1680, 1050, true, false},
        {1920, 1080, true, false}, {1340, 1000, false, false}, // exactly the upper bound: neither
        {1341, 1000, true, false}, {1326, 1000, false, true},  {1327, 1000, false, false},
    };
    for (const Case& c : cases) {
        winsim::SetDesktopMode(c.width, c.height);
        Open();
        EXPECT_EQ(window->wideDesktop, c.wide) << c.width << "x" << c.height;
        EXPECT_EQ(window->tallDesktop, c.tall) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(window->desktopAspect, float(c.width) / float(c.height));
    }
}

TEST_F(WindowTest, PlacementCentresInTheWorkAreaOrUsesThePosition) {
    struct Case {
        const char* what;
        platform::ScreenRect workArea;
        bool fullScreen, centred;
        Vec2i position;
        uint32_t width, height;
        int32_t left, top;
    };
    const Case cases[] = {
        {"centred", {0, 30, 1600, 870}, false, true, {}, 1024, 768, 288, 81},
        {"centred, odd sizes halve down", {10, 0, 1001, 601}, false, true, {}, 800, 600, 110, 0},
        {"larger than the work area: its corner", {0, 30, 1280, 690}, false, true, {}, 1600, 1200, 0, 30},
        {"wider only", {100, 0, 1280, 1024}, false, true, {}, 1600, 600, 100, 212},
        {"placed", {0, 0, 1600, 900}, false, false, {40, 50}, 800, 600, 40, 50},
        {"full screen at the corner", {0, 30, 1600, 870}, true, true, {40, 50}, 800, 600, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        winsim::SetWorkArea(c.workArea);
        Open(c.fullScreen, c.centred, c.position, c.width, c.height);
        platform::ScreenRect client = platform::GetClientRect(window->handle);
        EXPECT_EQ(client.left, c.left);
        EXPECT_EQ(client.top, c.top);
        EXPECT_EQ(client.width, int32_t(c.width));
        EXPECT_EQ(client.height, int32_t(c.height));
        EXPECT_EQ(window->outerRect.left, c.left);
        EXPECT_EQ(window->fullscreen, c.fullScreen);
        EXPECT_EQ(platform::GetWindowStyle(window->handle),
                  c.fullScreen ? platform::WindowStyle::FullScreen : platform::WindowStyle::Windowed);
    }
}

TEST_F(WindowTest, SetModeRestylesAndPlacesTheWindow) {
    winsim::SetWorkArea({0, 0, 1600, 900});
    Open(false, true, Vec2i(), 800, 600);
    window->SetMode(1024, 768, true);
    platform::ScreenRect client = platform::GetClientRect(window->handle);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.width, 1024);
    EXPECT_TRUE(window->fullscreen);
    EXPECT_EQ(platform::GetWindowStyle(window->handle), platform::WindowStyle::FullScreen);
    window->SetMode(640, 480, false);
    client = platform::GetClientRect(window->handle);
    EXPECT_EQ(client.left, 480);
    EXPECT_EQ(client.top, 210);
    EXPECT_EQ(client.width, 640);
    EXPECT_EQ(window->width, 640u);
    EXPECT_FALSE(window->fullscreen);
    EXPECT_TRUE(window->HasFocus());
}

TEST_F(WindowTest, MessagesOfClosingAndSystemCommands) {
    struct Case {
        const char* what;
        bool startFullScreen;
        std::function<void(platform::WindowHandle)> push;
        bool exit;
        bool fullScreenAfter;
        bool changeMode;
        bool minimizedAfter;
    };
    auto command = [](uintptr_t c) {
        return [c](platform::WindowHandle w) {
            platform::PostWindowMessage(w, platform::MessageSysCommand, c, 0);
        };
    };
    const Case cases[] = {
        {"closing the window", false, [](platform::WindowHandle) { winsim::PushClose(); }, true, false, false,
         false},
        {"the quit message", false, [](platform::WindowHandle) { winsim::PushQuit(); }, true, false, false,
         false},
        {"the system Close command", false, command(platform::CommandClose), true, false, false, false},
        {"Alt+F4", false,
         [](platform::WindowHandle) {
             winsim::PushKey(in::KeyLMenu, true);
             winsim::PushKey(in::KeyF4, true);
         },
         true, false, false, false},
        {"Maximize on a window", false, [](platform::WindowHandle) { winsim::PushMaximize(); }, false, true,
         true, false},
        {"Maximize in full screen", true, command(platform::CommandMaximize), false, true, false, false},
        {"Minimize", false, [](platform::WindowHandle) { winsim::PushMinimize(); }, false, false, false,
         true},
        {"Minimize twice restores", false,
         [](platform::WindowHandle w) {
             platform::PostWindowMessage(w, platform::MessageSysCommand, platform::CommandMinimize, 0);
             platform::PostWindowMessage(w, platform::MessageSysCommand, platform::CommandMinimize, 0);
         },
         false, false, false, false},
        {"Minimize then restore", false,
         [](platform::WindowHandle w) {
             platform::PostWindowMessage(w, platform::MessageSysCommand, platform::CommandMinimize, 0);
             platform::PostWindowMessage(w, platform::MessageSysCommand, platform::CommandRestore, 0);
         },
         false, false, false, false},
        {"sizing is swallowed", false, command(platform::CommandSize), false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        config->SetValue("v_fullscreen", c.startFullScreen ? "1" : "0");
        config->SetCommandIdle("exit", true);
        config->SetCommandIdle("v_window_change_mode", true);
        std::filesystem::remove(SettingsFile());
        Open(c.startFullScreen);
        c.push(window->handle);
        Frame();
        EXPECT_EQ(Triggered("exit"), c.exit);
        EXPECT_EQ(FullScreenSetting(), c.fullScreenAfter);
        EXPECT_EQ(Triggered("v_window_change_mode"), c.changeMode);
        EXPECT_EQ(std::filesystem::exists(SettingsFile()), c.changeMode); // saved with every change
        EXPECT_EQ(window->minimized, c.minimizedAfter);
        EXPECT_EQ(platform::IsWindowMinimized(window->handle), c.minimizedAfter);
        EXPECT_FALSE(window->fullscreen && !c.startFullScreen); // switching is the render system's work
        winsim::Reset();
    }
}

TEST_F(WindowTest, KeyMessagesLeaveTheFramesLastKeyEvent) {
    Open();
    struct Case {
        std::function<void()> push;
        uint16_t code;
        bool isChar;
    };
    const Case cases[] = {
        {[] {
             winsim::PushKey(in::KeyA, true);
             winsim::PushText("a");
         },
         97, true},
        {[] { winsim::PushKey(in::KeyLeft, true); }, 37, false},
        {[] { winsim::PushKey(in::KeyBack, true); }, 8, false},
        {[] { winsim::PushKey(in::KeyEscape, true); }, 27, false},
    };
    for (const Case& c : cases) {
        window->keyEventPending = false;
        c.push();
        Frame();
        EXPECT_TRUE(window->keyEventPending);
        EXPECT_EQ(window->keyEventCode, c.code);
        EXPECT_EQ(window->keyEventIsChar, c.isChar);
        winsim::Reset();
    }
}

TEST_F(WindowTest, AltEnterSwitchesOncePerPress) {
    Open();
    winsim::PushKey(in::KeyLMenu, true);
    winsim::PushKey(in::KeyReturn, true);
    Frame();
    EXPECT_TRUE(FullScreenSetting());
    EXPECT_TRUE(Triggered("v_window_change_mode"));
    ASSERT_TRUE(std::filesystem::exists(SettingsFile()));
    std::filesystem::remove(SettingsFile());
    config->SetCommandIdle("v_window_change_mode", true);

    // Held for several frames: nothing more, and the settings file is not written again.
    for (int frame = 0; frame < 5; ++frame)
        Frame();
    EXPECT_TRUE(FullScreenSetting());
    EXPECT_FALSE(Triggered("v_window_change_mode"));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    // Enter released and pressed again while Alt stays down: the next press switches back.
    winsim::PushKey(in::KeyReturn, false);
    Frame();
    winsim::PushKey(in::KeyReturn, true);
    Frame();
    EXPECT_FALSE(FullScreenSetting());
    EXPECT_TRUE(Triggered("v_window_change_mode"));
    winsim::PushKey(in::KeyReturn, false);
    winsim::PushKey(in::KeyLMenu, false);
    Frame();

    // The right Alt counts as well; a minimised or inactive window does not watch.
    config->SetCommandIdle("v_window_change_mode", true);
    winsim::PushMinimize();
    Frame();
    ASSERT_TRUE(window->minimized);
    winsim::PushKey(in::KeyRMenu, true);
    winsim::PushKey(in::KeyReturn, true);
    Frame();
    EXPECT_FALSE(FullScreenSetting());
    winsim::Reset();

    winsim::PushRestore();
    Frame();
    ASSERT_FALSE(window->minimized);
    winsim::PushFocus(false);
    winsim::PushKey(in::KeyRMenu, true);
    winsim::PushKey(in::KeyReturn, true);
    Frame();
    EXPECT_FALSE(window->HasFocus());
    EXPECT_FALSE(FullScreenSetting());
    EXPECT_FALSE(Triggered("v_window_change_mode"));
}

TEST_F(WindowTest, CreationFailuresAreFatalAndLeaveNothingBehind) {
    struct Case {
        std::function<void()> force;
        uint32_t parent;
        const char* text;
    };
    const Case cases[] = {
        {[] { winsim::FailRegisterClass(true); }, 0, "Failed to register the window class"},
        {[] { winsim::FailCreateWindow(true); }, 0, "Failed to create window"},
        {[] { winsim::FailDeviceContext(true); }, 0, "Failed to create a device context"},
        {[] {}, 77, "Failed to create window"}, // embedded in a host window: not on this platform
    };
    for (const Case& c : cases) {
        c.force();
        try {
            Window failing("t", c.parent, 0, 640, 480, false, true, Vec2i());
            ADD_FAILURE() << c.text;
        } catch (const FatalError& error) {
            EXPECT_EQ(error.GetText(), c.text);
        }
        EXPECT_TRUE(log.Contains(std::string("PROGRAM ABORTING: ") + c.text));
        winsim::Reset();
        // The class name and the window procedure are free again.
        Open();
        EXPECT_NE(window->handle, 0u);
        window.reset();
    }
}

TEST_F(WindowTest, LogsItsCreationAndDestruction) {
    Open();
    platform::WindowHandle handle = window->handle;
    window.reset();
    EXPECT_FALSE(platform::IsWindowAlive(handle));
    const std::vector<std::string> expected = {" ",
                                               "Window creation:",
                                               "...Registering the window class...",
                                               "...Creating a device context...",
                                               "\nWindow destroying:",
                                               "...Releasing device context...",
                                               "...Releasing window...",
                                               "...Unregistering class..."};
    std::vector<std::string> texts;
    for (const std::string& text : log.Texts())
        for (const std::string& line : expected)
            if (text.find(line) != std::string::npos && line != " ")
                texts.push_back(line);
    EXPECT_EQ(texts, std::vector<std::string>(expected.begin() + 1, expected.end()));
}

} // namespace
