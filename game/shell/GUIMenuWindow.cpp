#include "game/shell/GUIMenuWindow.h"

#include "engine/core/Controls.h"
#include "engine/core/StringUtils.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIWindow.h"
#include "framework/AudioPlayer.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIWindowControl.h"

#include <cassert>

namespace VelmoraBall {

namespace {

constexpr uint32_t VisibleFlag = 1;

} // namespace

GUIMenuWindow::GUIMenuWindow(GameFramework::AudioPlayer* audioPlayer, GameTools::DataKeeper* dataKeeper,
                             GUITools::GUIToolManager* toolManager, GUIMenuWindowManager* manager,
                             OrvexEngine::GUIWindow* parent, const std::string& windowName)
    : GUIWindowBase(dataKeeper, toolManager, parent, windowName), audioPlayer(audioPlayer),
      gameData(dataKeeper), manager(manager) {
    assert(manager != nullptr && "every menu window takes part in the manager's handover");
    manager->AddWindow(this);
    const std::string& own = GetName();
    if (HasWindowControl(own + "/window"))
        frame = GetWindowControl(own + "/window");
    if (HasTextControl(own + "/title"))
        title = GetTextControl(own + "/title");
    if (HasTextControl(own + "/window/text"))
        text = GetTextControl(own + "/window/text");
    if (HasWindowControl(own + "/title_mount_animated"))
        animatedTitleMount = GetWindowControl(own + "/title_mount_animated");
    if (HasWindowControl(own + "/title_mount_static"))
        staticTitleMount = GetWindowControl(own + "/title_mount_static");
    manager->SetupAdditionalLogos(this);
}

void GUIMenuWindow::Update() {}

void GUIMenuWindow::Show(bool show) {
    if (show) {
        showPending = true;
    } else {
        // A window still waiting for the manager has not come on screen: it must stop waiting, or it would
        // later take the manager while meant to be hidden and keep it for ever.
        showPending = false;
        if (shown) {
            // The disappear sound belongs to a window that was on screen.
            const bool wasOnScreen = GUIWindowBase::IsVisible();
            GUIWindowBase::Show(false);
            if (frame != nullptr && wasOnScreen) {
                soundPending = true;
                appearSoundDue = false;
            }
        }
    }
    shown = show;
}

bool GUIMenuWindow::IsVisible() const {
    return shown && GUIWindowBase::IsVisible();
}

bool GUIMenuWindow::PartsFinished() const {
    if (frame != nullptr && frame->IsActive())
        return false;
    if (animatedTitleMount != nullptr && animatedTitleMount->IsActive())
        return false;
    return title == nullptr || !title->IsActive() || title->IsPrintingFinished();
}

void GUIMenuWindow::UpdateMenu() {
    if (showPending && (manager->IsFree() || manager->GetActiveWindow() == this)) {
        showPending = false;
        manager->Activate(this);
        GUIWindowBase::Show(true);
        if (frame != nullptr) {
            soundPending = true;
            appearSoundDue = true;
        }
    }

    GUIWindowBase::Update();

    if (!shown && !manager->IsFree() &&
        (manager->GetActiveWindow() == this || manager->GetActiveWindow() == nullptr) && PartsFinished()) {
        if (manager->GetActiveWindow() == this)
            manager->ReleaseActive();
        GetRootWindow()->ClearFlags(VisibleFlag);
    }

    if (soundPending && frame != nullptr) {
        const OrvexEngine::GUIWindow* element = frame->GetWindow();
        if (appearSoundDue && frame->IsActive() && element->visible) {
            if (audioPlayer != nullptr)
                audioPlayer->PlaySound(AppearSound);
            soundPending = false;
        } else if (!appearSoundDue && !frame->IsActive() && !element->visible) {
            if (audioPlayer != nullptr)
                audioPlayer->PlaySound(DisappearSound);
            soundPending = false;
        }
    }
}

bool GUIMenuWindow::Clicked(const GUITools::GUIButtonControl* control) {
    return control != nullptr && control->button->clicked;
}

bool GUIMenuWindow::EnterPressed() {
    const OrvexEngine::Controls* controls = OrvexEngine::Controls::Instance();
    return controls != nullptr && controls->WasPressed("ENTER");
}

void GUIMenuWindow::ReadTrimmedText(const GUITools::GUIEditBoxControl* box, std::wstring& text) {
    text.clear();
    if (box != nullptr)
        text.assign(box->editBox->text);
    OrvexEngine::TrimRightW(text);
    OrvexEngine::TrimLeftW(text);
}

} // namespace VelmoraBall
