// What every window of the framework's window flow shares with the application root: the result code it
// sets when the player has chosen something, the mode (the number of the window that opened it) and the
// flag that lets the flow clear a result once it has been seen. The game derives its windows from the role
// bases built on it; the application root owns them and deletes them through this class.
#pragma once

namespace GameFramework {

class GUIFrameworkWindow {
public:
    GUIFrameworkWindow() = default;
    GUIFrameworkWindow(const GUIFrameworkWindow&) = delete;
    GUIFrameworkWindow& operator=(const GUIFrameworkWindow&) = delete;
    virtual ~GUIFrameworkWindow() = default;

    // Clears the result; a game window calls it first and then sets a result when the player acted.
    virtual void Update() { result = 0; }
    virtual void Show(int newMode) { mode = newMode; }
    virtual void Hide() { resultSeen = true; }

    bool resultSeen = true; // when true, the flow's next clearing pass sets the result to 0
    int mode = 0;
    int result = 0; // 0: none
};

} // namespace GameFramework
