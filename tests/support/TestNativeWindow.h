// A platform window for tests of the drawing layer that run without the engine's Window: a class of its
// own and one windowed native window of the given size, both removed with it. One at a time.
#pragma once

#include "platform/win/NativeWindow.h"

#include <cstdint>

namespace VelmoraTest {

class TestNativeWindow {
public:
    TestNativeWindow(uint32_t width, uint32_t height);
    ~TestNativeWindow();
    TestNativeWindow(const TestNativeWindow&) = delete;
    TestNativeWindow& operator=(const TestNativeWindow&) = delete;

    platform::WindowHandle Get() const { return window; }

private:
    platform::WindowHandle window = 0;
};

} // namespace VelmoraTest
