// The whole game, headless: the real application root over the generated data set, run frame by frame as
// the loader's loop runs it, with the player's clicks and typing pushed through the platform's simulation
// hooks. A transcript lists, in order, every window of the flow that came on screen or left it and every
// result code a window set, so a test reads the way the player went; captures of the screen are written as
// PNG files for a person to look at.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace GameFramework {
class GUIFrameworkWindow;
}

namespace GUITools {
class GUIWindowBase;
}

namespace VelmoraBall {
class Game;
}

namespace VelmoraTest {

class GameSession {
public:
    // A fresh user (no settings, profiles or scores) and the generated data beside the build's program; a
    // language code ("ru") is written into the registry as the user's choice, none leaves the default.
    explicit GameSession(const std::string& language = "");
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    VelmoraBall::Game& Game() { return *game; }

    // Window messages, then one frame of the root, `count` times; the transcript notes what changed.
    void Frame(int count = 1);
    // Frames until the condition holds; false when it still does not after `limit` frames.
    bool RunUntil(const std::function<bool()>& condition, int limit);
    // Frames until the role's window is on screen and has settled (its controls answer the mouse).
    bool WaitForWindow(const std::string& role, int limit = 600);

    // Moves the mouse onto the centre of the control (a full name of the window's description) and clicks
    // it; false when the window has no such control.
    bool Click(const std::string& role, const std::string& control);
    // Text typed into whatever has the keyboard, a character a frame, and single keys by key code.
    void Type(const std::string& utf8);
    void PressKey(uint32_t keyCode);

    // The window of a role ("main menu", "welcome", ...), or null.
    GameFramework::GUIFrameworkWindow* Window(const std::string& role) const;
    bool IsOnScreen(const std::string& role) const;
    // Writes the screen as test-output/<name>.png; false when nothing could be read back.
    bool Capture(const std::string& name);

    // The log's error lines so far, one per line; empty when the game logged none.
    std::string LogErrors() const;

    const std::vector<std::string>& Transcript() const { return transcript; }
    std::string TranscriptText() const;
    // The transcript's "show <role>" lines, in order, without repeats of the same window in a row.
    std::vector<std::string> Shown() const;

    std::string installationDirectory;
    std::string userDirectory;
    int framesRun = 0;

private:
    void Observe();

    std::unique_ptr<VelmoraBall::Game> game;
    std::vector<std::string> transcript;
    std::vector<std::pair<bool, int>> lastSeen; // per role: on screen, result
};

} // namespace VelmoraTest
