// Lets one menu window be on screen at a time: a window asked to show waits until the window before it has
// finished hiding. It can also be held without a window, which keeps every menu window off the screen (the
// in-game display does so while it fades out). It dresses the menu windows' publisher logo places from the
// game-wide data. The game creates the one manager with the loading window and deletes it with itself; it
// does not own the windows.
#pragma once

#include <vector>

namespace GUITools {
class GUIWindowBase;
}

namespace VelmoraBall {

class GameData;
class GUIMenuWindow;

class GUIMenuWindowManager {
public:
    explicit GUIMenuWindowManager(GameData* gameData);
    GUIMenuWindowManager(const GUIMenuWindowManager&) = delete;
    GUIMenuWindowManager& operator=(const GUIMenuWindowManager&) = delete;
    virtual ~GUIMenuWindowManager() = default;

    void AddWindow(GUIMenuWindow* window);
    // When free, the window (or none: held without a window) takes the screen; otherwise nothing.
    void Activate(GUIMenuWindow* window);
    void ReleaseActive();
    // A per-frame hook before the framework updates the windows; nothing to do.
    void Update() {}
    // After the framework's update: the menu part of every hidden window, then of every shown one, each
    // group in registration order, so that a window that has just hidden lets the next come on in the
    // same frame.
    void UpdateWindows();
    // Gives the window's "/logo_additional_0" and "_1" places the publisher logos, or disables the places
    // whose logo the installation lacks. Any described window may carry them, also the in-game display.
    void SetupAdditionalLogos(GUITools::GUIWindowBase* window);

    bool IsFree() const { return free; }
    GUIMenuWindow* GetActiveWindow() const { return activeWindow; }
    const std::vector<GUIMenuWindow*>& GetWindows() const { return windows; }

private:
    GameData* gameData = nullptr;        // not owned
    std::vector<GUIMenuWindow*> windows; // not owned, in construction order
    bool free = true;
    GUIMenuWindow* activeWindow = nullptr; // not owned; null when free or when held without a window
};

} // namespace VelmoraBall
