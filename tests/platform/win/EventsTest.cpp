// ctest-label: window
// The event pump: pushed SDL events become the window messages, key state and cursor position a Windows
// program expects, on the headless offscreen driver.
#include "platform/win/Events.h"
#include "platform/input/DirectInput.h"
#include "platform/win/MessageBox.h"
#include "platform/win/NativeWindow.h"
#include "platform/win/ProgramResources.h"
#include "platform/win/WindowCursor.h"
#include "platform/win/WindowSimulation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace {

std::vector<WindowMessage> received;

intptr_t RecordingProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    received.push_back({window, message, wParam, lParam});
    return DefaultWindowProc(window, message, wParam, lParam);
}

class EventsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterWindowClass("events test", RecordingProc));
        window = CreateNativeWindow("events test", "t", WindowStyle::Windowed, {100, 50, 640, 480}, 0);
        ASSERT_NE(window, 0u);
        ShowNativeWindow(window);
        SetFocusWindow(window);
        Drain();
    }
    void TearDown() override {
        DestroyNativeWindow(window);
        UnregisterWindowClass("events test");
        sim::Reset();
    }
    // Every waiting message, translated and dispatched as a program's loop does.
    std::vector<WindowMessage> Drain() {
        received.clear();
        WindowMessage message;
        while (PeekWindowMessage(message)) {
            TranslateWindowMessage(message);
            DispatchWindowMessage(message);
        }
        return received;
    }
    WindowHandle window = 0;
};

struct KeyCase {
    const char* what;
    uint32_t key;
    const char* text; // typed text the layout produces, or null
    std::vector<std::pair<uint32_t, uintptr_t>> expected;
};

TEST_F(EventsTest, KeysBecomeKeyDownThenCharacterMessages) {
    const std::vector<KeyCase> cases = {
        {"letter", input::KeyA, "a", {{MessageKeyDown, 'A'}, {MessageChar, 97}, {MessageKeyUp, 'A'}}},
        {"arrow", input::KeyLeft, nullptr, {{MessageKeyDown, VkLeft}, {MessageKeyUp, VkLeft}}},
        {"backspace",
         input::KeyBack,
         nullptr,
         {{MessageKeyDown, VkBack}, {MessageChar, 8}, {MessageKeyUp, VkBack}}},
        {"right control",
         input::KeyRControl,
         nullptr,
         {{MessageKeyDown, VkControl}, {MessageKeyUp, VkControl}}},
        {"keypad enter",
         input::KeyNumpadEnter,
         nullptr,
         {{MessageKeyDown, VkReturn}, {MessageChar, 13}, {MessageKeyUp, VkReturn}}},
        {"punctuation",
         input::KeyLBracket,
         "[",
         {{MessageKeyDown, 0xDB}, {MessageChar, '['}, {MessageKeyUp, 0xDB}}},
    };
    for (const KeyCase& c : cases) {
        sim::PushKey(c.key, true);
        if (c.text != nullptr)
            sim::PushText(c.text);
        sim::PushKey(c.key, false);
        std::vector<WindowMessage> messages = Drain();
        ASSERT_EQ(messages.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < messages.size(); ++i) {
            EXPECT_EQ(messages[i].message, c.expected[i].first) << c.what << " #" << i;
            EXPECT_EQ(messages[i].wParam, c.expected[i].second) << c.what << " #" << i;
            EXPECT_EQ(messages[i].window, window);
        }
    }
}

TEST_F(EventsTest, AltMakesSystemKeysAndAltF4AsksToClose) {
    sim::PushKey(input::KeyLMenu, true);
    sim::PushKey(input::KeyReturn, true);
    std::vector<WindowMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 3u); // Alt, Enter, Enter's control character
    EXPECT_EQ(messages[0].message, MessageSysKeyDown);
    EXPECT_EQ(messages[0].wParam, uintptr_t(VkMenu));
    EXPECT_EQ(messages[1].message, MessageSysKeyDown);
    EXPECT_EQ(messages[1].wParam, uintptr_t(VkReturn));
    // Generic and sided codes are both down in the asynchronous state, the other side is not.
    EXPECT_NE(GetAsyncKeyState(VkMenu), 0);
    EXPECT_NE(GetAsyncKeyState(VkLMenu), 0);
    EXPECT_EQ(GetAsyncKeyState(VkRMenu), 0);
    EXPECT_NE(GetAsyncKeyState(VkReturn), 0);

    sim::PushKey(input::KeyReturn, false);
    sim::PushKey(input::KeyF4, true);
    // F4 with Alt: the default procedure posts the Close command, which the same loop then delivers.
    bool closeCommand = false;
    for (const WindowMessage& m : Drain())
        closeCommand |= m.message == MessageSysCommand && m.wParam == CommandClose;
    EXPECT_TRUE(closeCommand);

    sim::PushKey(input::KeyF4, false);
    sim::PushKey(input::KeyLMenu, false);
    messages = Drain();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().message, MessageSysKeyUp); // releasing Alt
    EXPECT_EQ(GetAsyncKeyState(VkMenu), 0);
    EXPECT_EQ(GetAsyncKeyState(VkReturn), 0);
}

TEST_F(EventsTest, TextBecomesOneCharacterPerUtf16Unit) {
    sim::PushText("\xC3\xA9\xF0\x9F\x98\x80"
                  "b\xFF");
    std::vector<WindowMessage> messages = Drain();
    std::vector<uintptr_t> units;
    for (const WindowMessage& m : messages)
        if (m.message == MessageChar)
            units.push_back(m.wParam);
    EXPECT_EQ(units, (std::vector<uintptr_t>{0xE9, 0xD83D, 0xDE00, 'b', 0xFFFD}));
}

TEST_F(EventsTest, WindowEventsBecomeCloseQuitAndSystemCommands) {
    struct Case {
        void (*push)();
        uint32_t message;
        uintptr_t command;
    };
    const Case cases[] = {
        {sim::PushClose, MessageClose, 0},
        {sim::PushQuit, MessageQuit, 0},
        {sim::PushMaximize, MessageSysCommand, CommandMaximize},
        {sim::PushMinimize, MessageSysCommand, CommandMinimize},
        {sim::PushRestore, MessageSysCommand, CommandRestore},
    };
    for (const Case& c : cases) {
        c.push();
        std::vector<WindowMessage> messages = Drain();
        ASSERT_EQ(messages.size(), 1u) << c.message << " " << c.command;
        EXPECT_EQ(messages[0].message, c.message);
        EXPECT_EQ(messages[0].wParam, c.command);
    }
}

TEST_F(EventsTest, DefaultMinimiseAndRestoreKeepThePlatformsState) {
    EXPECT_EQ(GetFocusWindow(), window);
    sim::PushMinimize();
    Drain(); // the default procedure minimises
    EXPECT_TRUE(IsWindowMinimized(window));
    EXPECT_EQ(GetFocusWindow(), 0u);
    sim::PushMinimize(); // already minimised: no second command
    EXPECT_TRUE(Drain().empty());
    sim::PushRestore();
    Drain();
    EXPECT_FALSE(IsWindowMinimized(window));
    EXPECT_EQ(GetFocusWindow(), window);

    sim::PushFocus(false);
    Drain();
    EXPECT_EQ(GetFocusWindow(), 0u);
    sim::PushFocus(true);
    Drain();
    EXPECT_EQ(GetFocusWindow(), window);
}

TEST_F(EventsTest, CursorFollowsMotionInClientPixelsAlsoInFullScreen) {
    sim::PushMouseMotion(10, 20, 3, 4);
    Drain();
    int32_t x = 0;
    int32_t y = 0;
    GetCursorPos(x, y);
    EXPECT_EQ(x, 110);
    EXPECT_EQ(y, 70);
    ScreenToClient(window, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);

    // Full screen: the screen is the mode, the client area starts at its corner whatever SDL's window size.
    SetWindowStyle(window, WindowStyle::FullScreen, {0, 0, 800, 600});
    ScreenRect client = GetClientRect(window);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.width, 800);
    const int32_t points[][2] = {{0, 0}, {400, 300}, {799, 599}, {123, 457}};
    for (const auto& p : points) {
        sim::PushMouseMotion(p[0], p[1], 0, 0);
        Drain();
        GetCursorPos(x, y);
        EXPECT_EQ(x, p[0]);
        EXPECT_EQ(y, p[1]);
    }
}

TEST_F(EventsTest, ShowCounterCountsEveryRequest) {
    int start = sim::GetCursorShowCounter();
    EXPECT_EQ(ShowCursor(false), start - 1);
    EXPECT_EQ(ShowCursor(false), start - 2);
    EXPECT_EQ(ShowCursor(true), start - 1);
    EXPECT_EQ(ShowCursor(true), start);
}

TEST(NativeWindowTest, ForcedFailuresAndChildWindowsGiveNoWindow) {
    EXPECT_TRUE(RegisterWindowClass("fail test", RecordingProc));
    EXPECT_FALSE(RegisterWindowClass("fail test", RecordingProc)); // name taken
    EXPECT_EQ(CreateNativeWindow("fail test", "t", WindowStyle::Child, {0, 0, 100, 100}, 1), 0u);
    EXPECT_EQ(CreateNativeWindow("no such class", "t", WindowStyle::Windowed, {0, 0, 100, 100}, 0), 0u);
    sim::FailCreateWindow(true);
    EXPECT_EQ(CreateNativeWindow("fail test", "t", WindowStyle::Windowed, {0, 0, 100, 100}, 0), 0u);
    sim::FailCreateWindow(false);
    WindowHandle window = CreateNativeWindow("fail test", "t", WindowStyle::Windowed, {0, 0, 100, 100}, 0);
    ASSERT_NE(window, 0u);
    EXPECT_NE(GetSdlWindow(window), nullptr);
    EXPECT_NE(GetDeviceContext(window), 0u);
    sim::FailDeviceContext(true);
    EXPECT_EQ(GetDeviceContext(window), 0u);
    DestroyNativeWindow(window);
    EXPECT_FALSE(IsWindowAlive(window));
    EXPECT_EQ(GetSdlWindow(window), nullptr);
    EXPECT_TRUE(UnregisterWindowClass("fail test"));
    sim::FailRegisterClass(true);
    EXPECT_FALSE(RegisterWindowClass("fail test", RecordingProc));
    sim::Reset();
}

// A 2×1 icon (8 header bytes + 8 pixel bytes), one whose header claims more pixels than it carries, and one
// whose width × height × 4 wraps around in 32 bits to exactly its pixel bytes.
const uint8_t goodIcon[] = {2, 0, 0, 0, 1, 0, 0, 0, 255, 0, 0, 255, 0, 255, 0, 255};
const uint8_t shortIcon[] = {4, 0, 0, 0, 4, 0, 0, 0, 255, 0, 0, 255};
const uint8_t wrappingIcon[] = {1, 0, 0, 0x40, 1, 0, 0, 0, 1, 2, 3, 4};

ResourceBytes TestResources(uint32_t id) {
    switch (id) {
    case 101:
        return {goodIcon, sizeof(goodIcon)};
    case 102:
        return {shortIcon, sizeof(shortIcon)};
    case 103:
        return {wrappingIcon, sizeof(wrappingIcon)};
    default:
        return {};
    }
}

TEST(NativeWindowTest, TheClassIconComesFromTheProgramsResources) {
    SetProgramResourceLookup(TestResources);
    struct Case {
        uint32_t resource;
        uint32_t iconWidth; // 0: the desktop's default icon
    } cases[] = {{101, 2}, {102, 0}, {103, 0}, {104, 0}, {0, 0}};
    for (const Case& c : cases) {
        ASSERT_TRUE(RegisterWindowClass("icon test", RecordingProc, c.resource));
        WindowHandle window = CreateNativeWindow("icon test", "t", WindowStyle::Windowed, {0, 0, 64, 48}, 0);
        ASSERT_NE(window, 0u);
        EXPECT_EQ(sim::GetWindowIconWidth(window), c.iconWidth) << "resource " << c.resource;
        DestroyNativeWindow(window);
        UnregisterWindowClass("icon test");
    }
    SetProgramResourceLookup(nullptr);
    ImageResource image;
    EXPECT_FALSE(FindImageResource(101, image)); // no lookup: the program carries nothing
}

TEST(NativeWindowTest, DesktopAndWorkAreaCanBeSimulated) {
    sim::SetDesktopMode(1680, 1050);
    sim::SetWorkArea({0, 30, 1680, 1020});
    EXPECT_EQ(GetDesktopMode().width, 1680u);
    EXPECT_EQ(GetDesktopMode().height, 1050u);
    EXPECT_EQ(GetWorkArea().top, 30);
    sim::Reset();
    // The offscreen driver's own desktop.
    EXPECT_GT(GetDesktopMode().width, 0u);
    EXPECT_GT(GetWorkArea().width, 0);
}

TEST(MessageBoxTest, WithoutADisplayTheTextGoesToStandardError) {
    // Tests run on the offscreen driver: a box nobody can click would stop the program.
    testing::internal::CaptureStderr();
    ShowMessageBox("Some files are corrupt.", "Error", MessageBoxIcon::Error);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Some files are corrupt.\n");
}

} // namespace
