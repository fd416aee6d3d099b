#include "framework/GUIGameLogicMenuWindowBase.h"

#include "engine/core/Config.h"
#include "engine/core/MessageManager.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileManagerBase.h"

#include <cassert>

using namespace OrvexEngine;

namespace GameFramework {

namespace {

bool& FullscreenStorage() {
    assert(Config::Instance() != nullptr && "the in-game menu works on the configuration; create it first");
    return Config::Instance()->GetSettings().vFullscreen;
}

} // namespace

GUIGameLogicMenuWindowBase::GUIGameLogicMenuWindowBase(AudioPlayer* audioPlayer,
                                                       ProfileManagerBase* profileManager)
    : audioPlayer(audioPlayer), profileManager(profileManager), fullscreenValue(FullscreenStorage()) {}

void GUIGameLogicMenuWindowBase::Update() {
    GUIFrameworkWindow::Update();
    if (!Config::Instance()->IsCommandIdle("v_window_change_mode"))
        fullscreen = fullscreenValue;
}

void GUIGameLogicMenuWindowBase::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    fullscreen = fullscreenValue;
    openingSoundVolume = audioPlayer->GetSoundVolume();
    openingMusicVolume = audioPlayer->GetMusicVolume();
}

void GUIGameLogicMenuWindowBase::ApplyFullscreen() {
    if (fullscreenValue == fullscreen)
        return;
    Config* config = Config::Instance();
    fullscreenValue = fullscreen;
    config->Save();
    config->SetCommandIdle("v_window_change_mode", false);
}

void GUIGameLogicMenuWindowBase::Hide() {
    GUIFrameworkWindow::Hide();
    Config::Instance()->Save();
    ProfileBase* profile = profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    if (profile == nullptr) {
        // The menu is reached only from a level in play, which needs a current profile; without one the
        // configuration still holds the volumes.
        if (MessageManager* log = MessageManager::Instance())
            log->Error("GUIGameLogicMenuWindowBase::Hide: no current profile");
        return;
    }
    profile->settings.musicVolume = audioPlayer->GetMusicVolume();
    profile->settings.soundVolume = audioPlayer->GetSoundVolume();
    profile->Save();
}

} // namespace GameFramework
