#include "game/shell/GUIMenuWindowManager.h"

#include "engine/graphics/ShaderUser.h"
#include "engine/gui/GUIWindow.h"
#include "game/shell/GUIMenuWindow.h"
#include "game/shell/GameData.h"
#include "guitools/GUIWindowControl.h"

#include <string>

namespace VelmoraBall {

GUIMenuWindowManager::GUIMenuWindowManager(GameData* gameData) : gameData(gameData) {}

void GUIMenuWindowManager::AddWindow(GUIMenuWindow* window) {
    windows.push_back(window);
}

void GUIMenuWindowManager::Activate(GUIMenuWindow* window) {
    if (!free)
        return;
    activeWindow = window;
    free = false;
}

void GUIMenuWindowManager::ReleaseActive() {
    free = true;
    activeWindow = nullptr;
}

void GUIMenuWindowManager::UpdateWindows() {
    for (GUIMenuWindow* window : windows)
        if (!window->IsShown())
            window->UpdateMenu();
    for (GUIMenuWindow* window : windows)
        if (window->IsShown())
            window->UpdateMenu();
}

void GUIMenuWindowManager::SetupAdditionalLogos(GUITools::GUIWindowBase* window) {
    for (int i = 0; i < GameData::PublisherLogoCount; ++i) {
        const std::string fullName = window->GetName() + "/logo_additional_" + std::to_string(i);
        if (!window->HasWindowControl(fullName))
            continue;
        GUITools::GUIWindowControl* place = window->GetWindowControl(fullName);
        OrvexEngine::ShaderUser* logo = gameData != nullptr ? gameData->GetPublisherLogo(i) : nullptr;
        if (logo != nullptr)
            place->GetWindow()->SetShader(*logo);
        else
            window->SetControlEnabled(place, false); // never shown
    }
}

} // namespace VelmoraBall
