// ctest-label: input
// The keyboard and mouse devices: buffers with overflow, whole states, lost and not-acquired devices, and the
// forced set-up failures, fed by pushed events through the one event pump.
#include "platform/input/DirectInput.h"
#include "platform/input/InputSimulation.h"
#include "platform/win/Events.h"
#include "platform/win/NativeWindow.h"
#include "platform/win/WindowSimulation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;
using namespace platform::input;
namespace winsim = platform::sim;
namespace insim = platform::input::sim;

namespace {

intptr_t IgnoringProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return DefaultWindowProc(window, message, wParam, lParam);
}

class DirectInputTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterWindowClass("input test", IgnoringProc));
        window = CreateNativeWindow("input test", "t", WindowStyle::Windowed, {0, 0, 320, 240}, 0);
        ASSERT_NE(window, 0u);
        ASSERT_EQ(CreateInputSystem(GetModuleHandle(), InputVersion, &system), InputOk);
        keyboard = MakeDevice(DeviceKind::Keyboard, DataFormat::Keyboard, 8);
        mouse = MakeDevice(DeviceKind::Mouse, DataFormat::Mouse2, 16);
    }
    void TearDown() override {
        if (keyboard != nullptr)
            keyboard->Release();
        if (mouse != nullptr)
            mouse->Release();
        system->Release();
        DestroyNativeWindow(window);
        UnregisterWindowClass("input test");
        winsim::Reset(); // also the devices' hooks
    }
    InputDevice* MakeDevice(DeviceKind kind, DataFormat format, uint32_t bufferSize) {
        InputDevice* device = nullptr;
        EXPECT_EQ(system->CreateDevice(kind, &device), InputOk);
        EXPECT_EQ(device->SetDataFormat(format), InputOk);
        EXPECT_EQ(
            device->SetCooperativeLevel(GetDesktopWindow(), CooperativeNonExclusive | CooperativeBackground),
            InputOk);
        EXPECT_EQ(device->SetBufferSize(bufferSize), InputOk);
        EXPECT_EQ(device->Acquire(), InputOk);
        return device;
    }
    std::vector<DeviceEvent> Read(InputDevice* device, InputResult expected, uint32_t room = 8) {
        std::vector<DeviceEvent> events(room);
        uint32_t count = room;
        PumpEvents();
        EXPECT_EQ(device->GetDeviceData(events.data(), &count), expected);
        events.resize(count);
        return events;
    }
    WindowHandle window = 0;
    InputSystem* system = nullptr;
    InputDevice* keyboard = nullptr;
    InputDevice* mouse = nullptr;
};

TEST_F(DirectInputTest, KeyboardBufferKeepsEightEventsAndReportsTheOverflow) {
    winsim::PushKey(KeyA, true);
    winsim::PushKey(KeyA, false);
    std::vector<DeviceEvent> events = Read(keyboard, InputOk);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].offset, KeyA);
    EXPECT_EQ(events[0].data, 0x80u);
    EXPECT_EQ(events[1].data, 0u);
    EXPECT_LT(events[0].sequence, events[1].sequence);

    // Ten events: the first eight are kept and given, the rest dropped, the read says so once.
    for (int i = 0; i < 5; ++i) {
        winsim::PushKey(KeySpace, true);
        winsim::PushKey(KeySpace, false);
    }
    EXPECT_EQ(Read(keyboard, InputBufferOverflow).size(), 8u);
    EXPECT_TRUE(Read(keyboard, InputOk).empty());

    // Fewer taken than waiting: the rest stays for the next read.
    for (int i = 0; i < 3; ++i)
        winsim::PushKey(KeyB, i % 2 == 0);
    EXPECT_EQ(Read(keyboard, InputOk, 2).size(), 2u);
    EXPECT_EQ(Read(keyboard, InputOk, 2).size(), 1u);
}

TEST_F(DirectInputTest, WholeStatesShowKeysButtonsAndMotionSinceTheLastRead) {
    winsim::PushKey(KeyRBracket, true);
    winsim::PushKey(KeyNumpadEnter, true);
    winsim::PushMouseButton(1, true);
    winsim::PushMouseMotion(5, 5, 7, -30);
    winsim::PushMouseMotion(6, 6, 1, 0);
    winsim::PushWheel(-1);
    PumpEvents();
    uint8_t keys[KeyboardStateSize];
    ASSERT_EQ(keyboard->GetDeviceState(keys, sizeof(keys)), InputOk);
    EXPECT_EQ(keys[KeyRBracket], 0x80);
    EXPECT_EQ(keys[KeyNumpadEnter], 0x80);
    EXPECT_EQ(keys[KeyReturn], 0);
    MouseState2 state;
    ASSERT_EQ(mouse->GetDeviceState(&state, sizeof(state)), InputOk);
    EXPECT_EQ(state.x, 8);
    EXPECT_EQ(state.y, -30);
    EXPECT_EQ(state.z, -120);
    EXPECT_EQ(state.buttons[0], 0);
    EXPECT_EQ(state.buttons[1], 0x80);
    ASSERT_EQ(mouse->GetDeviceState(&state, sizeof(state)), InputOk);
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.buttons[1], 0x80);

    // The same input as buffered events, in order.
    std::vector<DeviceEvent> events = Read(mouse, InputOk, 16);
    std::vector<std::pair<uint32_t, int32_t>> got;
    for (const DeviceEvent& e : events)
        got.push_back({e.offset, static_cast<int32_t>(e.data)});
    EXPECT_EQ(got, (std::vector<std::pair<uint32_t, int32_t>>{{MouseOffsetButton0 + 1, 0x80},
                                                              {MouseOffsetX, 7},
                                                              {MouseOffsetY, -30},
                                                              {MouseOffsetX, 1},
                                                              {MouseOffsetZ, -120}}));
}

TEST_F(DirectInputTest, LostAndUnacquiredDevicesAnswerUntilAcquiredAgain) {
    DeviceEvent events[8];
    uint32_t count = 8;
    uint8_t keys[KeyboardStateSize];

    insim::LoseDevice(DeviceKind::Keyboard, 2);
    EXPECT_EQ(keyboard->GetDeviceData(events, &count), InputErrInputLost);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(keyboard->GetDeviceState(keys, sizeof(keys)), InputErrInputLost);
    winsim::PushKey(KeyQ, true); // not buffered while the device is lost
    PumpEvents();
    EXPECT_EQ(keyboard->Acquire(), InputErrInputLost);
    EXPECT_EQ(keyboard->Acquire(), InputErrInputLost);
    EXPECT_EQ(keyboard->Acquire(), InputOk);
    EXPECT_EQ(keyboard->Acquire(), InputBufferOverflow); // already acquired
    count = 8;
    EXPECT_EQ(keyboard->GetDeviceData(events, &count), InputOk);
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(keyboard->GetDeviceState(keys, sizeof(keys)), InputOk);
    EXPECT_EQ(keys[KeyQ], 0x80); // the state is the keyboard's, whatever the device missed

    EXPECT_EQ(keyboard->Unacquire(), InputOk);
    count = 8;
    EXPECT_EQ(keyboard->GetDeviceData(events, &count), InputErrNotAcquired);

    insim::FailNextStateRead(DeviceKind::Mouse);
    MouseState2 state;
    EXPECT_EQ(mouse->GetDeviceState(&state, sizeof(state)), InputErrGeneric);
    EXPECT_EQ(mouse->GetDeviceState(&state, sizeof(state)), InputOk);
    EXPECT_EQ(mouse->GetDeviceState(&state, 4), InputErrInvalidParam);
}

TEST_F(DirectInputTest, ForcedSetUpFailuresAnswerAnError) {
    InputDevice* device = nullptr;
    insim::FailStep(insim::Step::CreateMouse);
    EXPECT_NE(system->CreateDevice(DeviceKind::Mouse, &device), InputOk);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(system->CreateDevice(DeviceKind::Keyboard, &device), InputOk);
    EXPECT_EQ(device->SetDataFormat(DataFormat::Mouse2), InputErrInvalidParam);
    insim::FailStep(insim::Step::KeyboardFormat);
    insim::FailStep(insim::Step::KeyboardCooperativeLevel);
    insim::FailStep(insim::Step::KeyboardBufferSize);
    EXPECT_NE(device->SetDataFormat(DataFormat::Keyboard), InputOk);
    EXPECT_NE(
        device->SetCooperativeLevel(GetDesktopWindow(), CooperativeNonExclusive | CooperativeBackground),
        InputOk);
    EXPECT_NE(device->SetBufferSize(8), InputOk);
    device->Release();
    insim::FailStep(insim::Step::CreateSystem);
    InputSystem* second = nullptr;
    EXPECT_NE(CreateInputSystem(GetModuleHandle(), InputVersion, &second), InputOk);
    EXPECT_EQ(second, nullptr);
}

} // namespace
