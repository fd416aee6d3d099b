#include "game/shell/GUIProfilesWindow.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIScroll.h"
#include "framework/GameBase.h"
#include "framework/ProfileManagerBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUITextControl.h"

namespace VelmoraBall {

using GameFramework::GameBase;
using GameFramework::ProfileBase;

GUIProfilesWindow::GUIProfilesWindow(GameFramework::AudioPlayer* audioPlayer,
                                     GameFramework::ProfileManagerBase* profileManager,
                                     GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                                     GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIProfilesWindowBase(profileManager),
      GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName) {
    const std::string& own = GetName();
    // The description numbers its rows from the bottom up; the list fills them from the top down.
    for (int row = 0; row < RowCount; ++row) {
        const std::string rowName =
            own + "/window/text_area/button_profile_" + std::to_string(RowCount - 1 - row);
        if (GUITools::GUIButtonControl* rowButton = GetButtonControl(rowName)) {
            rowControls[size_t(row)] = rowButton;
            rowButtons[size_t(row)] = rowButton->button;
        }
        rowTitles[size_t(row)] = GetTextControl(rowName + "/title");
    }
    scrollControl = GetScrollControl(own + "/window/scroll");
    if (scrollControl != nullptr) {
        scroll = scrollControl->scroll;
        // Position 0 shows the top of the list, so it belongs at the top of the track.
        scroll->reversed = true;
    }
    createButton = GetButtonControl(own + "/window/create");
    renameButton = GetButtonControl(own + "/window/rename");
    deleteButton = GetButtonControl(own + "/window/delete");
    doneButton = GetButtonControl(own + "/window/done");
    listedNames.reserve(RowCount + 1);
}

void GUIProfilesWindow::Show(int newMode) {
    GUIProfilesWindowBase::Show(newMode);

    const ProfileBase* current = profileManager->GetCurrentProfile();
    const std::vector<ProfileBase*>& profiles = profileManager->GetProfiles();
    listedNames.clear();
    listedNames.push_back(current != nullptr ? current->name : std::wstring());
    for (const ProfileBase* profile : profiles)
        if (profile != current)
            listedNames.push_back(profile->name);

    const size_t count = profiles.size();
    for (int row = 0; row < RowCount; ++row)
        if (rowControls[size_t(row)] != nullptr)
            SetControlEnabled(rowControls[size_t(row)], size_t(row) < count);
    if (scroll != nullptr) {
        const bool scrolls = count > size_t(RowCount);
        scroll->SetEnabled(scrolls);
        // One position per first row that keeps every row filled.
        scroll->SetPositionCount(scrolls ? uint32_t(count - RowCount + 1) : 2u);
        scroll->SetPosition(0);
    }
    GUIMenuWindow::Show(true);
}

void GUIProfilesWindow::Hide() {
    GUIProfilesWindowBase::Hide();
    GUIMenuWindow::Show(false);
}

void GUIProfilesWindow::SetRowFont(GUITools::GUITextControl* rowTitle, const char* font) {
    // Setting a font lays the text out again: only on a change.
    if (rowTitle != nullptr && rowTitle->fontName != font)
        rowTitle->SetFont(font);
}

void GUIProfilesWindow::ShowRowName(int row, const std::wstring& profileName) {
    // The name is given as plain text, never as a text expression, so it shows as it was typed.
    GUITools::GUITextControl* rowTitle = rowTitles[size_t(row)];
    if (rowTitle != nullptr && (rowTitle->text != profileName || rowTitle->textExpression.empty()))
        rowTitle->SetText(profileName);
}

void GUIProfilesWindow::Update() {
    GUIProfilesWindowBase::Update();
    if (!GUIMenuWindow::IsVisible())
        return;

    const size_t first = scroll != nullptr ? scroll->GetPosition() : 0;
    for (int row = 0; row < RowCount && first + size_t(row) < listedNames.size(); ++row)
        ShowRowName(row, listedNames[first + size_t(row)]);

    for (int row = 0; row < RowCount; ++row) {
        OrvexEngine::GUIButton* rowButton = rowButtons[size_t(row)];
        if (rowButton == nullptr || !rowButton->visible || first + size_t(row) >= listedNames.size())
            break;
        const std::wstring& rowName = listedNames[first + size_t(row)];
        // A row whose profile has gone meanwhile selects nothing rather than leaving no profile current.
        if (rowButton->clicked)
            if (ProfileBase* chosen = profileManager->FindProfile(rowName))
                profileManager->SelectProfile(chosen, true);
        const ProfileBase* current = profileManager->GetCurrentProfile();
        if (current != nullptr && current->name == rowName) {
            rowButton->SetEnabled(false);
            SetRowFont(rowTitles[size_t(row)], CurrentRowFont);
        } else {
            rowButton->SetEnabled(true);
            SetRowFont(rowTitles[size_t(row)], rowButton->mouseOver ? HoveredRowFont : RowFont);
        }
    }

    const ProfileBase* current = profileManager->GetCurrentProfile();
    if (Clicked(createButton))
        result = GameBase::ResultToNewProfile;
    if (Clicked(renameButton)) {
        result = GameBase::ResultToRenameProfile;
        selectedName = current != nullptr ? current->name : std::wstring();
    }
    if (Clicked(deleteButton)) {
        result = GameBase::ResultToDeleteProfile;
        selectedName = current != nullptr ? current->name : std::wstring();
    }
    if (Clicked(doneButton))
        result = GameBase::ResultToMainMenu;
}

} // namespace VelmoraBall
