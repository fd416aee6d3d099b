#include "tests/support/TestNativeWindow.h"

#include <stdexcept>

namespace VelmoraTest {

namespace {

const char* const ClassName = "test drawing window";

intptr_t IgnoreMessages(platform::WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

} // namespace

TestNativeWindow::TestNativeWindow(uint32_t width, uint32_t height) {
    platform::RegisterWindowClass(ClassName, IgnoreMessages);
    window =
        platform::CreateNativeWindow(ClassName, "test", platform::WindowStyle::Windowed,
                                     {0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)}, 0);
    if (window == 0)
        throw std::runtime_error("no window for the drawing test");
}

TestNativeWindow::~TestNativeWindow() {
    platform::DestroyNativeWindow(window);
    platform::UnregisterWindowClass(ClassName);
}

} // namespace VelmoraTest
