// ctest-label: input
// Keys and buttons by name across frames, driven by events pushed through the platform's one event pump:
// pressed in exactly one frame, buffer overflow, failed reads, the input lock, the mouse mapped into the 4:3
// picture, the cursor's display counter and the devices' set-up failures.
#include "engine/core/Config.h"
#include "engine/core/Controls_DI7.h"
#include "engine/core/Error.h"
#include "engine/core/TimerManager.h"
#include "engine/core/Window.h"
#include "platform/input/DirectInput.h"
#include "platform/input/InputSimulation.h"
#include "platform/win/Events.h"
#include "platform/win/Time.h"
#include "platform/win/WindowCursor.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace OrvexEngine;
namespace in = platform::input;
namespace winsim = platform::sim;

namespace {

// A log, a clock, a window and the input service, with the engine's frame around them.
class InputFixture : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        timers = std::make_unique<TimerManager>();
        TimerManager::Instance(timers.get());
        OpenWindow(false);
    }
    void TearDown() override {
        controls.reset();
        window.reset();
        timers.reset();
        platform::RemoveFakeClock();
        winsim::Reset();
    }
    void OpenWindow(bool fullScreen) {
        controls.reset();
        window.reset();
        window = std::make_unique<Window>("t", 0, 0, 1024, 768, fullScreen, true, Vec2i());
        Window::Instance(window.get());
        controls = std::make_unique<Controls_DI7>(true);
        Controls::Instance(controls.get());
    }
    // The application's loop: every waiting message, then the engine's input steps of a frame.
    void BeginFrame() {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        timers->frameTime = 0.1f;
        window->Update();
        controls->Update();
    }
    void EndFrame() { controls->ResetFrame(); }
    void Frame() {
        BeginFrame();
        EndFrame();
    }
    void Tap(uint32_t key) {
        winsim::PushKey(key, true);
        winsim::PushKey(key, false);
    }

    VelmoraTest::TestLog log;
    std::unique_ptr<TimerManager> timers;
    std::unique_ptr<Window> window;
    std::unique_ptr<Controls_DI7> controls;
};

struct Expect {
    const char* name;
    bool pressed;
    bool downOrPressed;
};

struct FrameStep {
    std::function<void()> push; // the events arriving before this frame
    std::vector<Expect> expected;
};

struct Script {
    const char* what;
    std::vector<FrameStep> frames;
};

auto Key(uint32_t key, bool down) {
    return [=] { winsim::PushKey(key, down); };
}
auto TapKey(uint32_t key) {
    return [=] {
        winsim::PushKey(key, true);
        winsim::PushKey(key, false);
    };
}
auto Nothing() {
    return [] {};
}

TEST_F(InputFixture, FrameScriptsOfKeysAndButtons) {
    const std::vector<Script> scripts = {
        {"a tap shorter than a frame is pressed for one frame",
         {{TapKey(in::KeySpace), {{"SPACE", true, true}}}, {Nothing(), {{"SPACE", false, false}}}}},
        {"a held key is pressed once",
         {{Key(in::KeyA, true), {{"A", true, true}}},
          {Nothing(), {{"A", false, true}}},
          {Nothing(), {{"A", false, true}}},
          {Key(in::KeyA, false), {{"A", false, false}}}}},
        {"names are upper-cased first",
         {{Key(in::KeyReturn, true), {{"enter", true, true}, {"Enter", true, true}}}}},
        {"names outside the vocabulary answer false", {{Key(in::KeyB, true), {{"NOSUCHKEY", false, false}}}}},
        {"the empty name is the right bracket",
         {{Key(in::KeyRBracket, true), {{"", true, true}, {"[", false, false}}}}},
        {"keys without a name change nothing",
         {{[] {
               winsim::PushKey(in::KeyNumpadEnter, true);
               winsim::PushKey(in::KeyLWin, true);
           },
           {{"ENTER", false, false}}}}},
        {"function keys and keypad",
         {{[] {
               winsim::PushKey(in::KeyF12, true);
               winsim::PushKey(in::KeyDecimal, true);
           },
           {{"F12", true, true}, {"NUMPAD_DELETE", true, true}, {"DELETE", false, false}}}}},
        {"ten events overflow the buffer: that frame reads the whole keyboard",
         {{[] {
               for (int i = 0; i < 4; ++i) {
                   winsim::PushKey(in::KeyQ, true);
                   winsim::PushKey(in::KeyQ, false);
               }
               winsim::PushKey(in::KeyW, true); // event 9: dropped, but the key is still down
               winsim::PushKey(in::KeyE, true); // event 10
           },
           {{"Q", false, false}, {"W", true, true}, {"E", true, true}}},
          {Nothing(), {{"W", false, true}}}}},
        {"mouse buttons by index",
         {{[] { winsim::PushMouseButton(0, true); }, {{"MOUSE1", true, true}, {"MOUSE2", false, false}}},
          {[] { winsim::PushMouseButton(2, true); }, {{"MOUSE1", false, true}, {"MOUSE3", true, true}}}}},
        {"with swapped buttons the physical right one is MOUSE1",
         {{[] { winsim::SetSwapButtons(true); },
           {}}, // the order is read by the update, used by the next read
          {[] { winsim::PushMouseButton(1, true); }, {{"MOUSE1", true, true}, {"MOUSE2", false, false}}}}},
    };
    for (const Script& script : scripts) {
        SCOPED_TRACE(script.what);
        int frame = 0;
        for (const FrameStep& step : script.frames) {
            step.push();
            BeginFrame();
            for (const Expect& e : step.expected) {
                EXPECT_EQ(controls->WasPressed(e.name), e.pressed) << "frame " << frame << " " << e.name;
                EXPECT_EQ(controls->IsDownOrPressed(e.name), e.downOrPressed)
                    << "frame " << frame << " " << e.name;
            }
            EndFrame();
            ++frame;
        }
        // Every script starts from a keyboard and mouse at rest.
        winsim::Reset();
        OpenWindow(false);
    }
}

TEST_F(InputFixture, TypedCharacterIsTheFramesLastKeyEvent) {
    struct Case {
        const char* what;
        std::function<void()> push;
        uint16_t code;
        bool isCharacter;
    };
    const Case cases[] = {
        {"a letter types its character",
         [] {
             winsim::PushKey(in::KeyA, true);
             winsim::PushText("a");
         },
         97, true},
        {"Left has no character", [] { winsim::PushKey(in::KeyLeft, true); }, platform::VkLeft, false},
        {"Backspace keeps its key: its control character is ignored",
         [] { winsim::PushKey(in::KeyBack, true); }, platform::VkBack, false},
        {"a character beyond Latin-1", [] { winsim::PushText("\xD0\x96"); }, 0x416, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.push();
        BeginFrame();
        uint16_t code = 0;
        bool isCharacter = false;
        ASSERT_TRUE(controls->GetTypedChar(code, isCharacter));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(isCharacter, c.isCharacter);
        EndFrame();
        EXPECT_FALSE(controls->GetTypedChar(code, isCharacter)); // gone with the frame
        winsim::Reset();
    }
}

TEST_F(InputFixture, LockHoldsUntilEveryKeyIsReleased) {
    // Nothing held: the next update ends the lock.
    controls->LockInput();
    EXPECT_FALSE(controls->IsAnyKeyActive());
    Frame();
    EXPECT_FALSE(controls->IsInputLocked());

    // Space held through the lock, however long: every query answers false, also for new presses.
    winsim::PushKey(in::KeySpace, true);
    Frame();
    controls->LockInput();
    for (int frame = 0; frame < 30; ++frame) {
        if (frame == 5)
            winsim::PushKey(in::KeyA, true);
        BeginFrame();
        EXPECT_TRUE(controls->IsInputLocked()) << frame;
        EXPECT_FALSE(controls->IsDownOrPressed("SPACE"));
        EXPECT_FALSE(controls->WasPressed("A"));
        EXPECT_FALSE(controls->IsAnyKeyActive());
        uint16_t code = 0;
        bool isCharacter = false;
        EXPECT_FALSE(controls->GetTypedChar(code, isCharacter));
        EndFrame();
    }
    winsim::PushKey(in::KeyA, false);
    winsim::PushKey(in::KeySpace, false);
    BeginFrame();
    EXPECT_FALSE(controls->IsInputLocked());
    EXPECT_FALSE(controls->IsDownOrPressed("SPACE"));
    EndFrame();
}

TEST_F(InputFixture, LockAfterTwoSecondsFollowsOnlyTheKeysPhysicallyDown) {
    // Down for the devices but not for the system (the key went up where the devices could not see it):
    // the lock lasts 2 s of frames (0.1 s each), then the physical state ends it.
    winsim::PushKey(in::KeySpace, true);
    Frame();
    controls->LockInput();
    winsim::Reset();
    int frames = 0;
    while (controls->IsInputLocked() && frames < 100) {
        Frame();
        ++frames;
    }
    EXPECT_GE(frames, 20);
    EXPECT_LE(frames, 21);

    // Held physically: the lock lasts as long as the key, well past 2 s.
    winsim::PushKey(in::KeySpace, false);
    winsim::PushKey(in::KeySpace, true);
    Frame();
    controls->LockInput();
    for (int frame = 0; frame < 40; ++frame) {
        Frame();
        ASSERT_TRUE(controls->IsInputLocked()) << frame;
    }
}

TEST_F(InputFixture, MouseMotionWheelAndFailedReads) {
    winsim::PushMouseMotion(10, 10, 5, -30);
    winsim::PushWheel(1);
    BeginFrame();
    EXPECT_EQ(controls->GetDeviceDelta().x, 5.0f);
    EXPECT_EQ(controls->GetDeviceDelta().y, 30.0f); // up is positive
    EXPECT_EQ(controls->GetWheel(), 120);
    EndFrame();
    // A wheel value is seen for one frame; one arriving in the very next frame is dropped.
    winsim::PushWheel(2);
    BeginFrame();
    EXPECT_EQ(controls->GetWheel(), 0);
    EndFrame();
    winsim::PushWheel(-1);
    BeginFrame();
    EXPECT_EQ(controls->GetWheel(), -120);
    EndFrame();

    // A buffered mouse whose read fails keeps no motion for that frame, but its buttons come from the state.
    winsim::PushMouseButton(0, true);
    winsim::PushMouseMotion(20, 20, 7, 7);
    in::sim::LoseDevice(in::DeviceKind::Mouse);
    BeginFrame();
    EXPECT_EQ(controls->GetDeviceDelta().x, 0.0f);
    EXPECT_EQ(controls->GetDeviceDelta().y, 0.0f);
    EXPECT_EQ(controls->GetWheel(), 0);
    EXPECT_TRUE(controls->IsDownOrPressed("MOUSE1"));
    EndFrame();

    // Keyboard: buffered and whole-state reads both fail: every key is released, buttons stay.
    winsim::PushKey(in::KeyS, true);
    Frame();
    ASSERT_TRUE(controls->IsDownOrPressed("S"));
    in::sim::LoseDevice(in::DeviceKind::Keyboard, 1);
    in::sim::FailNextStateRead(in::DeviceKind::Keyboard);
    BeginFrame();
    EXPECT_FALSE(controls->IsDownOrPressed("S"));
    EXPECT_TRUE(controls->IsDownOrPressed("MOUSE1"));
    EndFrame();
}

TEST_F(InputFixture, ADeviceThatStaysLostIsAskedABoundedNumberOfTimes) {
    in::sim::LoseDevice(in::DeviceKind::Keyboard, -1);
    int before = in::sim::AcquireCalls(in::DeviceKind::Keyboard);
    Frame(); // returns although every Acquire answers that input is lost
    int calls = in::sim::AcquireCalls(in::DeviceKind::Keyboard) - before;
    EXPECT_GT(calls, 0);
    EXPECT_LE(calls, 20); // the buffered read's and the state read's attempts
}

TEST_F(InputFixture, MouseIsMappedIntoTheFourThirdsAreaInFullScreenOnWideAndTallDesktops) {
    struct Case {
        const char* what;
        uint32_t desktopWidth, desktopHeight;
        bool fullScreen;
        int32_t clientX, clientY;
        float expectedX, expectedY;
    };
    const Case cases[] = {
        {"16:9, left edge of the 4:3 area", 1920, 1080, true, 128, 300, 0.0f, 300.0f},
        {"16:9, centre", 1920, 1080, true, 512, 384, 512.0f, 384.0f},
        {"16:9, right edge", 1920, 1080, true, 896, 0, 1024.0f, 0.0f},
        {"5:4, top", 1280, 1024, true, 0, 0, 0.0f, -24.0f},
        {"5:4, bottom", 1280, 1024, true, 700, 767, 700.0f, 794.1333f},
        {"16:9 windowed: no mapping", 1920, 1080, false, 128, 300, 128.0f, 300.0f},
        {"4:3 full screen: no mapping", 1024, 768, true, 128, 300, 128.0f, 300.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        winsim::SetDesktopMode(c.desktopWidth, c.desktopHeight);
        OpenWindow(c.fullScreen);
        winsim::PushMouseMotion(c.clientX, c.clientY, 0, 0);
        Frame();
        Vec2 p = controls->GetMousePosition();
        EXPECT_NEAR(p.x, c.expectedX, 0.01f);
        EXPECT_NEAR(p.y, c.expectedY, 0.01f);
        // The inverse puts the cursor back where it was (to the pixel, truncated).
        controls->SetMousePosition(p);
        int32_t x = 0;
        int32_t y = 0;
        platform::GetCursorPos(x, y);
        platform::ScreenToClient(window->handle, x, y);
        EXPECT_NEAR(x, c.clientX, 1);
        EXPECT_NEAR(y, c.clientY, 1);
    }
    // The case the 16:9 picture is built on: x = 0 of the picture is pixel 128.
    winsim::SetDesktopMode(1920, 1080);
    OpenWindow(true);
    controls->SetMousePosition(Vec2(0.0f, 10.0f));
    int32_t x = 0;
    int32_t y = 0;
    platform::GetCursorPos(x, y);
    EXPECT_EQ(x, 128);
    EXPECT_EQ(y, 10);
}

TEST_F(InputFixture, CursorCounterSettlesAtTenShownAndMinusTenHidden) {
    controls->SetCursorVisible(false);
    for (int frame = 0; frame < 30; ++frame)
        Frame();
    EXPECT_EQ(winsim::GetCursorShowCounter(), -10);
    controls->SetCursorVisible(true);
    EXPECT_EQ(winsim::GetCursorShowCounter(), 0);
    for (int frame = 0; frame < 30; ++frame)
        Frame();
    EXPECT_EQ(winsim::GetCursorShowCounter(), 10);
}

TEST_F(InputFixture, SetUpFailuresAreFatalWithTheirTexts) {
    struct Case {
        in::sim::Step step;
        const char* text;
    };
    const Case cases[] = {
        {in::sim::Step::CreateSystem, "Failed to create a DirectInput object"},
        {in::sim::Step::CreateKeyboard, "Failed to obtain an interface to the system keyboard device"},
        {in::sim::Step::CreateMouse, "Failed to obtain an interface to the system mouse device"},
        {in::sim::Step::KeyboardFormat, "Failed to set the data format"},
        {in::sim::Step::MouseFormat, "Failed to set the data format"},
        {in::sim::Step::KeyboardCooperativeLevel, "Failed to set the cooperativity level"},
        {in::sim::Step::MouseCooperativeLevel, "Failed to set the cooperativity level"},
    };
    controls.reset();
    for (const Case& c : cases) {
        in::sim::Reset();
        in::sim::FailStep(c.step);
        try {
            Controls_DI7 failing(true);
            ADD_FAILURE() << c.text;
        } catch (const FatalError& error) {
            EXPECT_EQ(error.GetText(), c.text);
        }
        EXPECT_TRUE(log.Contains(std::string("PROGRAM ABORTING: ") + c.text));
    }
    in::sim::Reset();
}

TEST_F(InputFixture, RefusedBufferMeansWholeStateReadsThatStillSeeEveryPress) {
    controls.reset();
    in::sim::FailStep(in::sim::Step::KeyboardBufferSize);
    in::sim::FailStep(in::sim::Step::MouseBufferSize);
    controls = std::make_unique<Controls_DI7>(true);
    EXPECT_TRUE(log.Contains("Failed to set the buffered mode, switching to the immediate mode"));
    EXPECT_FALSE(controls->IsKeyboardBuffered());
    EXPECT_FALSE(controls->IsMouseBuffered());

    winsim::PushKey(in::KeyD, true);
    winsim::PushMouseMotion(1, 1, 4, 9);
    BeginFrame();
    EXPECT_TRUE(controls->WasPressed("D"));
    EXPECT_EQ(controls->GetDeviceDelta().x, 4.0f);
    EXPECT_EQ(controls->GetDeviceDelta().y, -9.0f);
    EndFrame();
    BeginFrame();
    EXPECT_FALSE(controls->WasPressed("D"));
    EXPECT_TRUE(controls->IsDownOrPressed("D"));
    EXPECT_EQ(controls->GetDeviceDelta().x, 0.0f);
    EndFrame();
}

} // namespace
