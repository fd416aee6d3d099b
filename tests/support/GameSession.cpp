#include "tests/support/GameSession.h"

#include "engine/core/Window.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "framework/GUIFrameworkWindow.h"
#include "game/shell/Game.h"
#include "guitools/GUIControl.h"
#include "guitools/GUIWindowBase.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"
#include "platform/win/Process.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/FlowRoles.h"
#include "tests/support/PngWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace VelmoraTest {

namespace {

// A frame of the session lasts this long on the fake clock: 50 frames a second, whatever the machine.
constexpr uint32_t FrameMilliseconds = 20;

GUITools::GUIWindowBase* AsGuiWindow(GameFramework::GUIFrameworkWindow* window) {
    return dynamic_cast<GUITools::GUIWindowBase*>(window);
}

} // namespace

GameSession::GameSession(const std::string& language) {
    // The generated installation beside the build's program: <build>/bin holds data, help and link file.
    installationDirectory =
        (fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin").string();
    const fs::path dataHome = std::getenv("XDG_DATA_HOME");
    const fs::path configHome = std::getenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    fs::remove_all(dataHome / "Quillfen Games", ignored);
    fs::remove_all(configHome / "Quillfen Games", ignored);
    userDirectory = (dataHome / "Quillfen Games" / "Velmora Ball").string();
    if (!language.empty()) {
        fs::create_directories(configHome / "Quillfen Games" / "Velmora Ball");
        std::ofstream(configHome / "Quillfen Games" / "Velmora Ball" / "registry.ini")
            << "Language=" << language << "\n";
    }
    platform::InstallFakeClock(0);
    game = std::make_unique<VelmoraBall::Game>("Quillfen Games", "Velmora Ball", 100,
                                               "SOFTWARE\\Quillfen Games\\Velmora Ball",
                                               installationDirectory, "default");
    lastSeen.assign(FlowRoles(*game).size(), {false, 0});
    Observe();
}

GameSession::~GameSession() {
    game.reset();
    platform::RemoveFakeClock();
    platform::sim::Reset();
}

void GameSession::Frame(int count) {
    for (int i = 0; i < count; ++i) {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        if (game->IsExitRequested())
            return;
        platform::AdvanceFakeClockMilliseconds(FrameMilliseconds);
        game->UpdateFrame();
        ++framesRun;
        Observe();
    }
}

bool GameSession::RunUntil(const std::function<bool()>& condition, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (condition())
            return true;
        if (game->IsExitRequested())
            return false;
        Frame();
    }
    return condition();
}

bool GameSession::WaitForWindow(const std::string& role, int limit) {
    if (!RunUntil([&] { return IsOnScreen(role); }, limit))
        return false;
    // Menu windows slide and fade in; their buttons answer once they stand still.
    Frame(75);
    return IsOnScreen(role);
}

bool GameSession::Click(const std::string& role, const std::string& control) {
    GUITools::GUIWindowBase* window = AsGuiWindow(Window(role));
    GUITools::GUIControl* target = window != nullptr ? window->GetControl(control) : nullptr;
    if (target == nullptr || target->GetWindow() == nullptr)
        return false;
    const OrvexEngine::GUIWindow* element = target->GetWindow();
    const OrvexEngine::Vec2 low = element->GetParentOrigin() + element->position;
    const OrvexEngine::Vec2 centre = low + element->size * 0.5f;
    const OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance();
    const OrvexEngine::Window* host = OrvexEngine::Window::Instance();
    const float width = static_cast<float>(host->width);
    const float height = static_cast<float>(host->height);
    // The GUI's virtual screen has its origin at the bottom left; client pixels count from the top left.
    const int x = static_cast<int>(centre.x / gui->GetScreenWidth() * width);
    const int y = static_cast<int>(height - 1 - centre.y / gui->GetScreenHeight() * height);
    platform::sim::PushMouseMotion(x, y, 0, 0);
    Frame(2);
    platform::sim::PushMouseButton(0, true);
    Frame(2);
    platform::sim::PushMouseButton(0, false);
    Frame(2);
    return true;
}

void GameSession::Type(const std::string& utf8) {
    // One character a frame, as a player types: a frame takes a single key event.
    for (size_t at = 0; at < utf8.size();) {
        size_t length = 1;
        const auto lead = static_cast<unsigned char>(utf8[at]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        platform::sim::PushText(utf8.substr(at, length));
        Frame();
        at += length;
    }
    Frame();
}

void GameSession::PressKey(uint32_t keyCode) {
    platform::sim::PushKey(keyCode, true);
    Frame();
    platform::sim::PushKey(keyCode, false);
    Frame();
}

GameFramework::GUIFrameworkWindow* GameSession::Window(const std::string& role) const {
    return FlowRoleWindow(*game, role);
}

bool GameSession::IsOnScreen(const std::string& role) const {
    GUITools::GUIWindowBase* window = AsGuiWindow(Window(role));
    return window != nullptr && window->IsVisible();
}

bool GameSession::Capture(const std::string& name) {
    OrvexEngine::RenderSystem* renderSystem = OrvexEngine::RenderSystem::Instance();
    if (renderSystem == nullptr)
        return false;
    OrvexEngine::Image image;
    renderSystem->CaptureScreen(image);
    if (image.width == 0 || image.height == 0)
        return false;
    return WritePng(TestOutputPath(name + ".png"), image);
}

std::string GameSession::LogErrors() const {
    // Every message reaches the log file when it is logged; its lines are HTML, one message each.
    std::ifstream log(fs::path(userDirectory) / "Velmora Ball.html");
    std::string errors;
    std::string line;
    while (std::getline(log, line)) {
        std::string text;
        bool inTag = false;
        for (char c : line) {
            if (c == '<')
                inTag = true;
            else if (c == '>')
                inTag = false;
            else if (!inTag)
                text += c;
        }
        if (text.find("Error") != std::string::npos)
            errors += text + "\n";
    }
    return errors;
}

std::string GameSession::TranscriptText() const {
    std::string text;
    for (const std::string& line : transcript)
        text += line + "\n";
    return text;
}

std::vector<std::string> GameSession::Shown() const {
    std::vector<std::string> shown;
    for (const std::string& line : transcript)
        if (line.rfind("show ", 0) == 0 && (shown.empty() || shown.back() != line))
            shown.push_back(line);
    return shown;
}

void GameSession::Observe() {
    const std::vector<FlowRole> roles = FlowRoles(*game);
    for (size_t i = 0; i < roles.size(); ++i) {
        const auto& [name, window] = roles[i];
        if (window == nullptr)
            continue;
        GUITools::GUIWindowBase* guiWindow = AsGuiWindow(window);
        const bool onScreen = guiWindow != nullptr && guiWindow->IsVisible();
        if (onScreen != lastSeen[i].first)
            transcript.push_back((onScreen ? "show " : "hide ") + std::string(name));
        if (window->result != 0 && window->result != lastSeen[i].second)
            transcript.push_back("result " + std::string(name) + " " + std::to_string(window->result));
        lastSeen[i] = {onScreen, window->result};
    }
}

} // namespace VelmoraTest
