#include "framework/GUIOptionsWindowBase.h"

#include "engine/core/Config.h"
#include "engine/core/MessageManager.h"
#include "engine/core/ObjectManager.h"
#include "engine/core/StringUtils.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileManagerBase.h"

#include <algorithm>
#include <cassert>

using namespace OrvexEngine;

namespace GameFramework {

namespace {

EngineSettings& VideoSettings() {
    assert(Config::Instance() != nullptr && "the options window works on the configuration; create it first");
    return Config::Instance()->GetSettings();
}

} // namespace

VideoModeItem::VideoModeItem(uint32_t width, uint32_t height)
    : text(std::to_string(width) + "x" + std::to_string(height)), width(width), height(height) {}

GUIOptionsWindowBase::GUIOptionsWindowBase(AudioPlayer* audioPlayer, ProfileManagerBase* profileManager)
    : videoSettings(VideoSettings()), audioPlayer(audioPlayer), profileManager(profileManager) {}

GUIOptionsWindowBase::~GUIOptionsWindowBase() {
    DeletePointerVector(modes);
}

bool GUIOptionsWindowBase::FindVideoMode(uint32_t width, uint32_t height, uint32_t& index) const {
    for (uint32_t i = 0; i < modes.size(); ++i) {
        if (modes[i]->width == width && modes[i]->height == height) {
            index = i;
            return true;
        }
    }
    return false;
}

uint32_t GUIOptionsWindowBase::FindDefaultVideoMode() const {
    uint32_t width = 0, height = 0;
    ParseVideoMode(Config::Instance()->GetDefaultText("v_mode"), &width, &height, nullptr);
    uint32_t index = 0;
    FindVideoMode(width, height, index);
    return index;
}

void GUIOptionsWindowBase::AddVideoMode(uint32_t width, uint32_t height) {
    auto* item = new VideoModeItem(width, height);
    auto at = std::upper_bound(modes.begin(), modes.end(), item,
                               [](const VideoModeItem* a, const VideoModeItem* b) {
                                   return a->width != b->width ? a->width < b->width : a->height < b->height;
                               });
    modes.insert(at, item);
}

void GUIOptionsWindowBase::Update() {
    GUIFrameworkWindow::Update();
    if (!Config::Instance()->IsCommandIdle("v_window_change_mode"))
        fullscreen = videoSettings.vFullscreen;
}

void GUIOptionsWindowBase::Show(int newMode) {
    GUIFrameworkWindow::Show(newMode);
    uint32_t width = 0, height = 0, depth = 0;
    ParseVideoMode(videoSettings.vMode, &width, &height, &depth);
    if (!FindVideoMode(width, height, selectedMode))
        selectedMode = FindDefaultVideoMode();
    colourDepth = depth;
    fullscreen = videoSettings.vFullscreen;
    savedSoundVolume = audioPlayer->GetSoundVolume();
    savedMusicVolume = audioPlayer->GetMusicVolume();
}

void GUIOptionsWindowBase::Apply() {
    Config* config = Config::Instance();
    bool changed = false;
    if (!modes.empty()) {
        // A selection the derived window moved past the list takes its last item.
        const VideoModeItem* item = modes[std::min<size_t>(selectedMode, modes.size() - 1)];
        const std::string text = item->text + "x" + std::to_string(colourDepth);
        if (ToLowerCopy(videoSettings.vMode) != text) {
            videoSettings.vMode = text;
            changed = true;
        }
    }
    if (videoSettings.vFullscreen != fullscreen) {
        videoSettings.vFullscreen = fullscreen;
        changed = true;
    }
    if (changed)
        config->SetCommandIdle("g_update_video_mode", false);
    config->Save();

    ProfileBase* profile = profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    if (profile == nullptr) {
        // The flow opens the window only while a profile is current; without one there is nowhere to keep
        // the volumes, and the configuration already holds them.
        if (MessageManager* log = MessageManager::Instance())
            log->Error("GUIOptionsWindowBase::Apply: no current profile");
        return;
    }
    profile->settings.musicVolume = audioPlayer->GetMusicVolume();
    profile->settings.soundVolume = audioPlayer->GetSoundVolume();
    profile->Save();
}

void GUIOptionsWindowBase::ResetToDefaults() {
    selectedMode = FindDefaultVideoMode();
    uint32_t depth = 0;
    ParseVideoMode(Config::Instance()->GetDefaultText("v_mode"), nullptr, nullptr, &depth);
    colourDepth = depth;
    fullscreen = true;
    audioPlayer->SetSoundVolume(audioPlayer->GetDefaultSoundVolume());
    audioPlayer->SetMusicVolume(audioPlayer->GetDefaultMusicVolume());
}

void GUIOptionsWindowBase::RestoreVolumes() {
    audioPlayer->SetSoundVolume(savedSoundVolume);
    audioPlayer->SetMusicVolume(savedMusicVolume);
}

} // namespace GameFramework
