#include "game/shell/GUIMainMenuWindow.h"

#include "engine/gui/GUIButton.h"
#include "framework/ProfileBase.h"
#include "framework/ProfileManagerBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIWindowControl.h"

namespace VelmoraBall {

namespace {

// Clicks are read in this order and the last one read wins: change player, start, high scores, options,
// exit.
constexpr int ClickOrder[GUIMainMenuWindow::EntryCount] = {3, 0, 1, 2, 4};

} // namespace

GUIMainMenuWindow::GUIMainMenuWindow(GameFramework::ProfileManagerBase* profileManager,
                                     GameFramework::AudioPlayer* audioPlayer,
                                     GameTools::DataKeeper* dataKeeper, GUITools::GUIToolManager* toolManager,
                                     GUIMenuWindowManager* manager, OrvexEngine::GUIWindow* parent)
    : GUIMenuWindow(audioPlayer, dataKeeper, toolManager, manager, parent, WindowName),
      profileManager(profileManager) {
    const std::string& own = GetName();
    for (int i = 0; i < EntryCount; ++i) {
        if (GUITools::GUIButtonControl* control = GetButtonControl(own + Entries[i].button))
            buttons[i] = control->button;
        captions[i] = GetTextControl(own + Entries[i].caption);
    }
}

void GUIMainMenuWindow::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    GUIMenuWindow::Show(true);
    // Set at every show: the profile windows may have changed the current player or renamed it.
    const GameFramework::ProfileBase* profile =
        profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    if (title != nullptr)
        title->SetVariable(ProfileNameVariable, profile != nullptr ? profile->name : std::wstring());
    for (OrvexEngine::GUIButton* button : buttons)
        if (button != nullptr)
            button->SetEnabled(false);
}

void GUIMainMenuWindow::Hide() {
    GUIFrameworkWindow::Hide();
    GUIMenuWindow::Show(false);
}

void GUIMainMenuWindow::Update() {
    GUIFrameworkWindow::Update();
    if (!IsVisible())
        return;
    // The buttons follow the panel; a menu whose description lacks the panel would otherwise never take a
    // click, so without one they follow the window.
    const bool panelStands = frame == nullptr || frame->IsActive();
    for (int i = 0; i < EntryCount; ++i) {
        OrvexEngine::GUIButton* button = buttons[i];
        if (button == nullptr)
            continue;
        if (captions[i] != nullptr) {
            const char* font = button->state == OrvexEngine::GUI_BUTTON_HIGHLIGHTED ? HighlightedFont
                               : button->state == OrvexEngine::GUI_BUTTON_PRESSED   ? PressedFont
                                                                                    : NormalFont;
            if (captions[i]->fontName != font)
                captions[i]->SetFont(font);
        }
        button->SetEnabled(panelStands);
    }
    for (int i : ClickOrder)
        if (buttons[i] != nullptr && buttons[i]->clicked)
            result = Entries[i].result;
}

} // namespace VelmoraBall
