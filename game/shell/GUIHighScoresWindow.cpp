#include "game/shell/GUIHighScoresWindow.h"

#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "framework/HighScoresTable.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

GUIHighScoresWindow::GUIHighScoresWindow(GameFramework::ProfileManagerBase* profileManager,
                                         GameFramework::AudioPlayer* audioPlayer,
                                         GameFramework::HighScoresTable* highScores,
                                         GameTools::DataKeeper* dataKeeper,
                                         GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                                         OrvexEngine::GUIWindow* parent)
    : GUIHighScoresWindowBase(highScores),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName),
      profileManager(profileManager) {
    const std::string& own = GetName();
    if (GUITools::GUIButtonControl* control = GetButtonControl(own + Button))
        button = control->button;
    buttonCaption = GetTextControl(own + ButtonCaption);
    noRecords = GetControl(own + NoRecords);
    for (int row = 0; row < RowCount; ++row)
        for (int column = 0; column < ColumnCount; ++column)
            rows[row][column] = GetTextControl(own + RowPath(row, column));
}

std::string GUIHighScoresWindow::RowPath(int row, int column) {
    return "/window/record_" + std::to_string(row) + "/" + Columns[column];
}

void GUIHighScoresWindow::Show(int newMode, GameFramework::HighScoreEntry* entry) {
    GUIHighScoresWindowBase::Show(newMode, entry);
    if (buttonCaption != nullptr)
        buttonCaption->SetTextKey(newMode == MainMenuMode ? BackKey : ContinueKey);

    const uint32_t count = highScores != nullptr ? highScores->CountEntries(TableKey) : 0;
    if (noRecords != nullptr)
        SetControlEnabled(noRecords, count == 0);
    for (uint32_t row = 0; row < uint32_t(RowCount); ++row) {
        const bool filled = row < count;
        for (GUITools::GUITextControl* label : rows[row])
            if (label != nullptr)
                SetControlEnabled(label, filled);
        const GameFramework::HighScoreEntry* shown = filled ? highScores->GetEntry(TableKey, row) : nullptr;
        if (shown == nullptr)
            continue;
        const char* font = shown == highlightedEntry ? HighlightFont : RowFont;
        const std::wstring texts[ColumnCount] = {OrvexEngine::UIntToTextW(row + 1) + L".", shown->name,
                                                 OrvexEngine::UIntToTextW(shown->score)};
        for (int column = 0; column < ColumnCount; ++column) {
            GUITools::GUITextControl* label = rows[row][column];
            if (label == nullptr)
                continue;
            label->SetFont(font);
            label->SetText(texts[column]);
        }
    }
    GUIMenuWindow::Show(true);
}

void GUIHighScoresWindow::Hide() {
    GUIFrameworkWindow::Hide();
    GUIMenuWindow::Show(false);
}

void GUIHighScoresWindow::Update() {
    GUIFrameworkWindow::Update();
    GUIMenuWindow::Update();
    if (IsVisible() && button != nullptr && button->clicked)
        result = BackResult;
}

} // namespace VelmoraBall
