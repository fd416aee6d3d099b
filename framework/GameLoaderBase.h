// The start-up object of a game: before any engine service exists it works out the installation's
// registry key, the version, the folder that holds "data" and the publisher's name; Run then creates the
// application root through the game's factory, pumps window messages and runs a frame whenever none is
// waiting until the engine's "exit" is triggered, deletes the root and reports any error that escaped in a
// "Fatal Error" message box. The program entry creates the game's loader, calls Run once and deletes it.
#pragma once

#include <string>

namespace GameFramework {

class GameBase;

class GameLoaderBase {
public:
    // Never throws: a missing registry value falls back to the built-in version or the executable's folder,
    // and a missing or broken publisher file gives the publisher "default".
    GameLoaderBase(void* instance, void* previousInstance, const std::string& commandLine, int showCommand,
                   const std::string& companyName, const std::string& gameName, int builtInVersion);
    GameLoaderBase(const GameLoaderBase&) = delete;
    GameLoaderBase& operator=(const GameLoaderBase&) = delete;
    // The root is gone already: Run deletes it.
    virtual ~GameLoaderBase();

    // True after the loop ended normally; false after an error was shown to the player.
    virtual bool Run();
    // The game's root, built from the names and folders worked out here and fully initialised; stored in
    // the root field. Initialisation errors leave it.
    virtual GameBase* CreateGame() = 0;
    // Deletes the root when there is one.
    virtual void DestroyGame();
    // Window messages one at a time, a frame of the root whenever none is waiting; ends after the message
    // or frame in which "exit" was triggered.
    virtual void RunMessageLoop();

    // The exit status of a program that ran this loader: 0 after a normal end, 1 after an error.
    static int ExitStatus(bool runResult) { return runResult ? 0 : 1; }

    void* instance = nullptr;         // stored only
    void* previousInstance = nullptr; // stored only
    std::string commandLine;          // stored, never interpreted
    int showCommand = 0;              // stored only
    std::string companyName;
    std::string gameName;
    int version = 0;
    std::string registryKeyPath;       // "SOFTWARE\<company>\<game>"
    std::string installationDirectory; // holds "data"; no trailing separator
    std::string publisherName;         // "default" when the publisher file names none
    GameBase* game = nullptr;          // owned; exists only during Run
};

} // namespace GameFramework
