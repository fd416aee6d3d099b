#include "engine/core/Window.h"

#include "engine/core/Config.h"
#include "engine/core/MessageManager.h"
#include "platform/win/Events.h"
#include "platform/win/WindowCursor.h"

#include <algorithm>

namespace OrvexEngine {

namespace {

const char* const className = "Orvex Engine window class";

// The bounds of a desktop that is neither wide nor tall: 4/3 plus or minus 1/150.
constexpr float wideAspectBound = 1.34f;
constexpr float tallAspectBound = 1.3266667f;
// Larger than any display or frame buffer a window can be given.
constexpr uint32_t largestClientSide = 16384;

void ExecuteExit() {
    if (Config* config = Config::Instance())
        config->Execute("exit");
}

} // namespace

Window::Window(const std::string& title, uint32_t parent, uint32_t iconResource, uint32_t clientWidth,
               uint32_t clientHeight, bool fullScreen, bool centerWindow, const Vec2i& windowPosition) {
    instance = this;
    width = clientWidth;
    height = clientHeight;
    fullscreen = fullScreen;
    centered = centerWindow;
    position = windowPosition;
    minimized = false;

    Log()->Message(" ");
    Log()->Message("Window creation:");
    instanceHandle = platform::GetModuleHandle();
    cursor = platform::LoadArrowCursor();

    Log()->Message("...Registering the window class...");
    if (!platform::RegisterWindowClass(className, &Window::StaticWndProc, iconResource))
        FailCreation("Failed to register the window class");

    parentWindow = parent;
    if (parentWindow != 0) {
        fullscreen = false;
        Log()->Error("SDL: windows embedded in a host window are not supported");
    }
    workArea = platform::GetWorkArea();
    platform::ScreenRect client = ClientRect();
    outerRect = platform::AdjustWindowRect(client, Style());

    handle = platform::CreateNativeWindow(className, title, Style(), client, parentWindow);
    if (handle == 0)
        FailCreation("Failed to create window");
    platform::SetWindowTopmost(handle, fullScreen);

    Log()->Message("...Creating a device context...");
    deviceContext = platform::GetDeviceContext(handle);
    if (deviceContext == 0)
        FailCreation("Failed to create a device context");

    platform::ShowNativeWindow(handle);
    if (parentWindow == 0)
        platform::SetFocusWindow(handle);
    keyEventPending = false;
    keyEventIsChar = false;
    keyEventCode = 0;

    for (platform::WindowHandle up = parentWindow; up != 0; up = platform::GetParentWindow(up))
        ancestors.push_back(up);

    // The desktop's own mode, not one a full-screen program may have set.
    platform::DisplayMode desktop = platform::GetDesktopMode();
    desktopAspect = desktop.height > 0
                        ? static_cast<float>(desktop.width) / static_cast<float>(desktop.height)
                        : 4.0f / 3.0f;
    wideDesktop = desktopAspect > wideAspectBound;
    tallDesktop = !wideDesktop && desktopAspect < tallAspectBound;
}

void Window::ChooseClientSize(uint32_t& clientWidth, uint32_t& clientHeight) {
    Config* config = Config::Instance();
    std::string mode = config->GetValueText("v_mode");
    ParseVideoMode(mode, &clientWidth, &clientHeight, nullptr);
    auto impossible = [&] {
        return clientWidth == 0 || clientHeight == 0 || clientWidth > largestClientSide ||
               clientHeight > largestClientSide;
    };
    if (impossible()) {
        // A size the window cannot be made with would end every start until the file is edited by hand.
        std::string shown = mode.size() > 40 ? mode.substr(0, 40) + "..." : mode;
        config->ResetToDefault("v_mode");
        Log()->Warning("Video mode \"" + shown + "\" cannot be made, the default \"" +
                       config->GetValueText("v_mode") + "\" is used");
        ParseVideoMode(config->GetValueText("v_mode"), &clientWidth, &clientHeight, nullptr);
        if (impossible()) {
            clientWidth = 640;
            clientHeight = 480;
        }
    }
    platform::DisplayMode desktop = platform::GetDesktopMode();
    if (desktop.width > 0 && desktop.height > 0 &&
        (clientWidth > desktop.width || clientHeight > desktop.height)) {
        clientWidth = std::min(clientWidth, desktop.width);
        clientHeight = std::min(clientHeight, desktop.height);
        Log()->Warning("The window is reduced to the desktop's " + std::to_string(desktop.width) + "x" +
                       std::to_string(desktop.height));
    }
}

Window::~Window() {
    Log()->Message("\nWindow destroying:");
    Log()->Message("...Releasing device context...");
    Log()->Message("...Releasing window...");
    Log()->Message("...Unregistering class...");
    ReleaseHandles();
    if (instance == this)
        instance = nullptr;
}

void Window::ReleaseHandles() {
    if (deviceContext != 0)
        platform::ReleaseDeviceContext(handle, deviceContext);
    deviceContext = 0;
    if (handle != 0)
        platform::DestroyNativeWindow(handle);
    handle = 0;
    platform::UnregisterWindowClass(className);
}

// What was made before the failure is released, so that the program (or the next window of a test) does
// not find the class name taken or a window without its object.
void Window::FailCreation(const std::string& text) {
    ReleaseHandles();
    if (instance == this)
        instance = nullptr;
    Log()->Fatal(text);
}

platform::WindowStyle Window::Style() const {
    if (parentWindow != 0)
        return platform::WindowStyle::Child;
    return fullscreen ? platform::WindowStyle::FullScreen : platform::WindowStyle::Windowed;
}

platform::ScreenRect Window::ClientRect() const {
    platform::ScreenRect client{0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    if (fullscreen || parentWindow != 0)
        return client;
    if (centered) {
        client.left = workArea.left + (workArea.width - client.width) / 2;
        client.top = workArea.top + (workArea.height - client.height) / 2;
        // A window larger than the work area keeps its title bar reachable: its corner is the work area's.
        client.left = std::max(client.left, workArea.left);
        client.top = std::max(client.top, workArea.top);
    } else {
        client.left = position.x;
        client.top = position.y;
    }
    return client;
}

void Window::SetMode(uint32_t modeWidth, uint32_t modeHeight, bool fullScreen) {
    if (parentWindow != 0)
        return;
    width = modeWidth;
    height = modeHeight;
    fullscreen = fullScreen;
    platform::ScreenRect client = ClientRect();
    outerRect = platform::AdjustWindowRect(client, Style());
    platform::SetWindowStyle(handle, Style(), client);
    platform::SetWindowTopmost(handle, fullscreen);
    platform::SetFocusWindow(handle);
    if (!fullscreen)
        platform::RestoreDesktopMode();
}

void Window::Update() {
    if (parentWindow != 0) {
        if (!platform::IsWindowAlive(parentWindow))
            ExecuteExit();
        return;
    }
    if (minimized || !HasFocus())
        return;
    bool altDown = platform::GetAsyncKeyState(platform::VkMenu) != 0 ||
                   platform::GetAsyncKeyState(platform::VkLMenu) != 0 ||
                   platform::GetAsyncKeyState(platform::VkRMenu) != 0;
    bool enterDown = platform::GetAsyncKeyState(platform::VkReturn) != 0;
    // One switch per press: a press lasts several frames, and switching in each would leave the mode to
    // chance and write the settings file every frame.
    if (altDown && enterDown) {
        if (!altEnterHeld) {
            Config* config = Config::Instance();
            SwitchFullScreen(config == nullptr || config->GetValueText("v_fullscreen") != "1");
        }
        altEnterHeld = true;
    } else {
        altEnterHeld = false;
    }
}

void Window::SwitchFullScreen(bool value) {
    Config* config = Config::Instance();
    if (config == nullptr)
        return;
    config->SetValue("v_fullscreen", value ? "1" : "0");
    config->Save();
    config->SetCommandIdle("v_window_change_mode", false);
}

bool Window::HasFocus() const {
    platform::WindowHandle focus = platform::GetFocusWindow();
    if (parentWindow != 0)
        return focus != 0 && std::find(ancestors.begin(), ancestors.end(), focus) != ancestors.end();
    return focus != 0 && focus == handle;
}

void Window::Minimize() {
    platform::PostWindowMessage(handle, platform::MessageSysCommand, platform::CommandMinimize, 0);
}

void Window::SetTitle(const std::string& text) {
    platform::SetWindowTitle(handle, text);
}

void Window::SetCursor(platform::CursorHandle newCursor) {
    cursor = newCursor;
    platform::SetCurrentCursor(cursor);
}

platform::CursorHandle Window::LoadCursor(uint16_t resourceId) const {
    return platform::LoadCursorResource(resourceId);
}

// The platform delivers typed text as UTF-16 code units already, so no code page stands between.
uint16_t Window::TranslateChar(uint16_t unit) {
    return unit;
}

intptr_t Window::StaticWndProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) {
    if (instance == nullptr)
        return platform::DefaultWindowProc(window, message, wParam, lParam);
    return instance->WndProc(window, message, wParam, lParam);
}

intptr_t Window::WndProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case platform::MessageSize:
        return 0;
    case platform::MessageClose:
    case platform::MessageQuit:
        ExecuteExit();
        return 0;
    case platform::MessageSetCursor:
        platform::SetCurrentCursor(cursor);
        return 1;
    case platform::MessageNcLButtonDblClk:
        if (static_cast<intptr_t>(wParam) == platform::HitCaption)
            return 0;
        break;
    case platform::MessageKeyDown:
    case platform::MessageSysKeyDown:
        keyEventPending = true;
        keyEventIsChar = false;
        keyEventCode = static_cast<uint16_t>(wParam);
        break;
    case platform::MessageChar:
        if (wParam >= 32) {
            keyEventPending = true;
            keyEventIsChar = true;
            keyEventCode = TranslateChar(static_cast<uint16_t>(wParam));
        }
        break;
    case platform::MessageSysKeyUp:
        return 0;
    case platform::MessageSysCommand:
        return HandleSystemCommand(window, wParam, lParam);
    default:
        break;
    }
    return platform::DefaultWindowProc(window, message, wParam, lParam);
}

intptr_t Window::HandleSystemCommand(platform::WindowHandle window, uintptr_t command, intptr_t lParam) {
    switch (command) {
    case platform::CommandSize:
    case platform::CommandTaskList:
    case platform::CommandScreenSave:
    case platform::CommandHotKey:
    case platform::CommandMonitorPower:
        return 0;
    case platform::CommandClose:
        ExecuteExit();
        return 0;
    case platform::CommandMinimize:
        if (parentWindow != 0)
            return 0;
        if (minimized)
            return HandleSystemCommand(window, platform::CommandMaximize, lParam);
        minimized = true;
        return platform::DefaultWindowProc(window, platform::MessageSysCommand, command, lParam);
    case platform::CommandMaximize: {
        if (parentWindow != 0)
            return 0;
        if (minimized)
            return HandleSystemCommand(window, platform::CommandRestore, lParam);
        Config* config = Config::Instance();
        if (config != nullptr && config->GetValueText("v_fullscreen") != "1")
            SwitchFullScreen(true);
        return 0;
    }
    case platform::CommandRestore:
        if (handle != 0)
            minimized = false;
        return platform::DefaultWindowProc(window, platform::MessageSysCommand, command, lParam);
    default:
        return platform::DefaultWindowProc(window, platform::MessageSysCommand, command, lParam);
    }
}

} // namespace OrvexEngine
