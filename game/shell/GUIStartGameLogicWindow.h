// The stage map ("window_start_game"): the levels as icons along a path read from the map file, the
// reached ones shown, the selected one highlighted and kept as the profile's current position; a click
// selects a reached level, a double click or the play button starts it, and the path toward the next level
// lights up again and again. Opened only to start the next level, it stays hidden and asks for play at once.
// Created once by the game's factory; the application root owns it.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace OrvexEngine {
class GUIButton;
}

namespace GameFramework {
class LevelManagerBase;
class ProfileManagerBase;
} // namespace GameFramework

namespace GameTools {
class GUIDoubleClickDetecter;
}

namespace VelmoraBall {

class GUIMapElement;

class GUIStartGameLogicWindow : public GameFramework::GUIStartGameLogicWindowBase, public GUIMenuWindow {
public:
    // Modes of the openers and the results.
    static constexpr int ModeMainMenu = 6;
    static constexpr int ModeRestart = 19;
    static constexpr int ModeContinue = 21;
    static constexpr int ModeLevelPassed = 22;
    static constexpr int ModeStagePassed = 23;
    static constexpr int ResultBack = 3;
    static constexpr int ResultPlay = 24;

    // Reads "data\ui\map\map.gmf" once; a missing or damaged map ends the program through the fatal path.
    // Icons whose position the level list lacks are logged and stay locked. The level manager is only
    // asked which positions exist.
    GUIStartGameLogicWindow(GameFramework::AudioPlayer* audioPlayer,
                            GameFramework::LevelManagerBase* levelManager,
                            GameFramework::ProfileManagerBase* profileManager,
                            GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                            GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent);
    ~GUIStartGameLogicWindow() override;

    // Result 24 to play the profile's current position, 3 to go back, else 0.
    void Update() override;
    void Show(int newMode) override;
    using GUIMenuWindow::Show;
    void Hide() override;

    // Selects the level, clamped to the profile's furthest position, shows every reached icon and saves
    // the selection as the profile's current position. A position outside the level list is never stored.
    void SelectPosition(uint32_t stage, uint32_t level);

    const std::vector<GUIMapElement*>& GetElements() const { return elements; }
    GameTools::GUIDoubleClickDetecter* GetDetector() const { return detector.get(); }
    bool IsAnimating() const { return animating; }
    float GetAnimationClock() const { return animationClock; }
    float GetMapFade() const { return mapFade; }

    static constexpr float previewFadeTime = 0.3f; // one icon's fade in or out
    static constexpr float previewSpacing = 0.15f; // between neighbouring icons
    static constexpr float previewHold = 0.6f;     // from the fade-in sweep to the fade-out sweep

private:
    void ReadMap(GameFramework::LevelManagerBase* levelManager);
    // The path beyond the furthest level toward the next level's icon, lighting up and fading out.
    void AnimatePreview(float frameTime);
    // One sweep over the icons after `start`; returns false when the sweep asks the clock to restart.
    bool PreviewPass(size_t start, float t, bool fadeIn);

    GameFramework::ProfileManagerBase* profileManager = nullptr; // not owned
    OrvexEngine::GUIButton* backButton = nullptr;                // "/window/button_0", or null
    OrvexEngine::GUIButton* playButton = nullptr;                // "/window/button_1", or null
    GUITools::GUITextControl* playTitle = nullptr;               // "/window/button_1/title", or null
    std::unique_ptr<GameTools::GUIDoubleClickDetecter> detector; // owned; outlives the elements
    std::vector<GUIMapElement*> elements;                        // owned, in file order
    float mapFade = 0;
    bool animating = false;
    float animationClock = 0;
};

} // namespace VelmoraBall
