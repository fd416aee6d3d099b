// The main menu: five buttons (play, high scores, options, change player, quit) under a title that greets
// the current player by name. The captions take the look of their button's state; the buttons are disabled
// at each show until the menu's first update on screen, so a press made before it was there counts for
// nothing. The game creates the one instance when its data has loaded; the application root deletes it
// with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

namespace GameFramework {
class ProfileManagerBase;
}

namespace OrvexEngine {
class GUIButton;
}

namespace VelmoraBall {

class GUIMainMenuWindow : public GameFramework::GUIMainMenuWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_main_menu";
    // A menu entry: its button and caption (paths after the window's name) and the code its click sets.
    struct Entry {
        const char* button;
        const char* caption;
        int result;
    };
    static constexpr int EntryCount = 5;
    static constexpr Entry Entries[EntryCount] = {
        {"/window/start", "/window/start/title", 24},
        {"/window/high_scores", "/window/high_scores/title", 10},
        {"/window/options", "/window/options/title", 11},
        {"/window/change_player", "/window/change_player/title", 5},
        {"/window/exit", "/window/exit/title", 4},
    };
    // Caption fonts by button state: normal or disabled, under the mouse, pressed.
    static constexpr const char* NormalFont = "main_menu_0";
    static constexpr const char* HighlightedFont = "main_menu_1";
    static constexpr const char* PressedFont = "main_menu_2";
    // The title's variable for the current player's name.
    static constexpr const wchar_t* ProfileNameVariable = L"PROFILE_NAME";

    // A button or caption missing from the description is logged and left out.
    GUIMainMenuWindow(GameFramework::ProfileManagerBase* profileManager,
                      GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                      GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                      OrvexEngine::GUIWindow* parent);

    using GUIMenuWindow::Show;
    // Names the current player in the title and disables the buttons until the panel stands.
    void Show(int newMode) override;
    void Hide() override;
    // Serves both bases: captions, button states and the click; the manager never calls it.
    void Update() override;

private:
    GameFramework::ProfileManagerBase* profileManager = nullptr; // not owned
    OrvexEngine::GUIButton* buttons[EntryCount] = {};    // not owned: the description's; null if missing
    GUITools::GUITextControl* captions[EntryCount] = {}; // not owned: the description's; null if missing
};

} // namespace VelmoraBall
