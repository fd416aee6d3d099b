// The high-score table: the ten best scores of table 0 with place, player name and score, the entry a
// finished game has just added in the highlight font, a notice while the table is empty, and one button
// back to the main menu (code 3), which reads "back" when the main menu opened the window and "continue"
// after a game. The game creates the one instance when its data has loaded; the application root deletes
// it with itself.
#pragma once

#include "framework/GUIFrameworkWindowBases.h"
#include "game/shell/GUIMenuWindow.h"

#include <string>

namespace GameFramework {
class ProfileManagerBase;
}

namespace OrvexEngine {
class GUIButton;
}

namespace VelmoraBall {

class GUIHighScoresWindow : public GameFramework::GUIHighScoresWindowBase, public GUIMenuWindow {
public:
    static constexpr const char* WindowName = "window_high_scores";
    static constexpr const char* Button = "/window/button_0";
    static constexpr const char* ButtonCaption = "/window/button_0/title";
    static constexpr const char* NoRecords = "/window/no_records";
    static constexpr int RowCount = 10;
    static constexpr int ColumnCount = 3;
    static constexpr const char* Columns[ColumnCount] = {"place", "name", "score"};
    static constexpr const char* RowFont = "common_0";
    static constexpr const char* HighlightFont = "common_1";
    static constexpr const char* BackKey = "common/back";
    static constexpr const char* ContinueKey = "common/continue";
    static constexpr int BackResult = 3;
    // The only table shown.
    static constexpr uint32_t TableKey = 0;
    // The mode of the main menu: opened from there, the button goes back rather than on.
    static constexpr int MainMenuMode = 6;

    // A control missing from the description is logged and left out. The profile manager is kept for the
    // game's use; the window shows the table only.
    GUIHighScoresWindow(GameFramework::ProfileManagerBase* profileManager,
                        GameFramework::AudioPlayer* audioPlayer, GameFramework::HighScoresTable* highScores,
                        GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                        GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent);

    using GUIHighScoresWindowBase::Show;
    using GUIMenuWindow::Show;
    // Fills the rows from the table, the entry to highlight (or none) in the highlight font, and comes on
    // screen when the manager lets it.
    void Show(int newMode, GameFramework::HighScoreEntry* entry) override;
    void Hide() override;
    // Serves both bases: the button while on screen; the manager never calls it.
    void Update() override;

    // The path after the window's name of a row's column ("/window/record_3/name").
    static std::string RowPath(int row, int column);

private:
    GameFramework::ProfileManagerBase* profileManager = nullptr; // not owned
    OrvexEngine::GUIButton* button = nullptr;                    // not owned: the description's; or null
    GUITools::GUITextControl* buttonCaption = nullptr;           // not owned: the description's; or null
    GUITools::GUIControl* noRecords = nullptr;                   // not owned: the description's; or null
    GUITools::GUITextControl* rows[RowCount][ColumnCount] = {};  // not owned: the description's; or null
};

} // namespace VelmoraBall
