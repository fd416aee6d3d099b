// The splash screen at the program's start: up to two full-screen pictures over a black screen, each
// fading in for a second, staying two and fading out for one, after which the window reports code 1 and the
// flow moves on to the loading window. It is built from plain GUI windows, not from a window description.
// The game creates the one instance during initialisation; the application root deletes it with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"

namespace OrvexEngine {
class GUIWindow;
}

namespace VelmoraBall {

class GUILogosWindow : public GameFramework::GUILogosWindowBase {
public:
    // The play of one picture.
    enum Phase { FadingIn = 0, Holding = 1, FadingOut = 2, Done = 3 };

    // Makes the windows for "data\splash2.jpg" and "data\splash1.jpg" that exist (a lone second picture
    // takes the first one's place), and the black backdrop; the picture to play first waits transparent.
    GUILogosWindow();
    // Deletes every window it made.
    ~GUILogosWindow() override;

    // Plays the pictures while running; code 1 once the last one has faded out, or at once without any.
    void Update() override;
    void Show(int newMode) override;
    // Stops and frees the pictures and the backdrop; the root stays until the window is deleted.
    void Hide() override;

    OrvexEngine::GUIWindow* GetRoot() const { return root; }
    OrvexEngine::GUIWindow* GetSplashOne() const { return splashOne; }
    OrvexEngine::GUIWindow* GetSplashTwo() const { return splashTwo; }
    OrvexEngine::GUIWindow* GetBackdrop() const { return backdrop; }
    int GetPhase() const { return phase; }
    bool IsRunning() const { return running; }

private:
    // One picture's fade in, hold and fade out; true in the update in which it has faded out completely.
    bool PlayPicture(OrvexEngine::GUIWindow* picture, float level, bool hideBackdropWhenShown);
    void DeletePictures();

    OrvexEngine::GUIWindow* root = nullptr;      // owned, through the GUI manager
    OrvexEngine::GUIWindow* splashOne = nullptr; // owned, through the GUI manager; null without a picture
    OrvexEngine::GUIWindow* splashTwo = nullptr; // owned, through the GUI manager; null without a picture
    OrvexEngine::GUIWindow* backdrop = nullptr;  // owned, through the GUI manager
    bool running = false;
    float time = 0;    // seconds in the current phase
    int holdCount = 0; // whole seconds held
    int phase = FadingIn;
};

} // namespace VelmoraBall
