// The game's options window ("window_options"): two volume sliders heard live while they move, the
// full-screen check box, a chooser among three resolutions, and apply, defaults and back. The working copy
// of the settings and what applying does with it belong to the framework's base; this class joins it to
// the window description. Created once by the game's factory; the application root owns it.
#pragma once

#include "framework/GUIOptionsWindowBase.h"
#include "game/shell/GUIMenuWindow.h"

#include <cstdint>

namespace OrvexEngine {
class GUIButton;
class GUICheckBox;
class GUIScroll;
} // namespace OrvexEngine

namespace VelmoraBall {

class GUIOptionsWindow : public GameFramework::GUIOptionsWindowBase, public GUIMenuWindow {
public:
    // Effect id of the looping sound heard while the sound slider is held.
    static constexpr int SliderSound = 0;
    static constexpr uint32_t VolumePositions = 1001; // thousandths of the volume, 0..1000
    static constexpr int32_t VolumeStep = 30;

    // A control missing from the description is logged once here and then left alone: the window works
    // without it.
    GUIOptionsWindow(GameFramework::AudioPlayer* audioPlayer,
                     GameFramework::ProfileManagerBase* profileManager, GameTools::DataKeeper* dataKeeper,
                     GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                     OrvexEngine::GUIWindow* parent);
    ~GUIOptionsWindow() override = default;

    // Result 3 when apply or back closes the window, else 0.
    void Update() override;
    // A fresh working copy, then the controls show it.
    void Show(int newMode) override;
    using GUIMenuWindow::Show;
    void Hide() override;

    // The slider position that shows a volume: thousandths, truncated.
    static uint32_t VolumeToPosition(float volume);

private:
    // Sliders from the audio player's volumes, the check box from the full-screen copy.
    void ShowSettings();

    OrvexEngine::GUIScroll* soundSlider = nullptr;     // "/window/sound", or null; the GUI manager's
    OrvexEngine::GUIScroll* musicSlider = nullptr;     // "/window/music", or null
    OrvexEngine::GUICheckBox* fullscreenBox = nullptr; // "/window/fullscreen", or null
    GUITools::GUITextControl* modeText = nullptr;      // "/window/video_mode/text", or null
    OrvexEngine::GUIButton* previousMode = nullptr;    // "/window/decrease_video_mode", or null
    OrvexEngine::GUIButton* nextMode = nullptr;        // "/window/increase_video_mode", or null
    OrvexEngine::GUIButton* applyButton = nullptr;     // "/window/button_2", or null
    OrvexEngine::GUIButton* defaultsButton = nullptr;  // "/window/button_1", or null
    OrvexEngine::GUIButton* backButton = nullptr;      // "/window/button_0", or null
    // The mode whose text the label shows; the label is laid out again only when the choice changes.
    int64_t shownMode = -1;
};

} // namespace VelmoraBall
