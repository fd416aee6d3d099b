#include "framework/GUIGameLogicWindowBase.h"

#include "engine/core/Config.h"
#include "framework/GameLogicBase.h"
#include "framework/ProfileManagerBase.h"

#include <cassert>

using namespace OrvexEngine;

namespace GameFramework {

namespace {

bool& FullscreenStorage() {
    assert(Config::Instance() != nullptr && "the in-game display reads the configuration; create it first");
    return Config::Instance()->GetSettings().vFullscreen;
}

} // namespace

GUIGameLogicWindowBase::GUIGameLogicWindowBase(ProfileManagerBase* profileManager)
    : profileManager(profileManager), fullscreenValue(FullscreenStorage()) {}

void GUIGameLogicWindowBase::Update() {
    GUIFrameworkWindow::Update();
    if (!Config::Instance()->IsCommandIdle("v_window_change_mode"))
        fullscreen = fullscreenValue;
}

void GUIGameLogicWindowBase::Show(int newMode, GameLogicBase* level) {
    GUIFrameworkWindow::Show(newMode);
    gameLogic = level;
    currentProfile = profileManager != nullptr ? profileManager->GetCurrentProfile() : nullptr;
    fullscreen = fullscreenValue;
    SetActive(true);
}

void GUIGameLogicWindowBase::Hide() {
    GUIFrameworkWindow::Hide();
    currentProfile = nullptr;
    gameLogic = nullptr;
}

void GUIGameLogicWindowBase::SetActive(bool flag) {
    active = flag;
}

uint32_t GUIGameLogicWindowBase::GetTotalScore() const {
    uint32_t total = currentProfile != nullptr ? currentProfile->scoreTotal : 0;
    if (gameLogic != nullptr)
        total += static_cast<uint32_t>(gameLogic->GetScore());
    return total;
}

} // namespace GameFramework
