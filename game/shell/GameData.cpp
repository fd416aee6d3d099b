#include "game/shell/GameData.h"

#include "engine/files/FileManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"

namespace VelmoraBall {

namespace {

constexpr uint32_t FirstExtraStep = 101;

} // namespace

GameData::GameData(const std::string& language) : DataKeeper(language) {
    OrvexEngine::FileManager* files = OrvexEngine::FileManager::Instance();
    for (int i = 0; i < PublisherLogoCount; ++i) {
        const std::string image = "ui\\textures\\publishers\\" + std::to_string(i) + "_logo_small.jpg";
        const std::string opacity = "ui\\textures\\publishers\\" + std::to_string(i) + "_logo_small_alpha.jpg";
        if (files == nullptr || !files->FileExists("data\\" + image) || !files->FileExists("data\\" + opacity))
            continue;
        OrvexEngine::ShaderDescriptor material;
        material.InitFromImages(false, image, opacity, true);
        publisherLogos[i] = OrvexEngine::ShaderManager::Instance()->CreateShaderUser(material, false);
        KeepShaderUser(publisherLogos[i]);
    }
}

GameData::~GameData() {
    if (OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance()) {
        // B hangs under A: delete the child first.
        if (extraWindowB != nullptr)
            gui->DeleteWindow(extraWindowB);
        if (extraWindowA != nullptr)
            gui->DeleteWindow(extraWindowA);
    }
}

bool GameData::Load(uint32_t step) {
    DataKeeper::Load(step);
    if (GetStep() != FirstExtraStep && step != ~0u)
        return false;
    if (extraWindowA != nullptr)
        return true; // made by an earlier call; making them again would lose the first pair
    OrvexEngine::GUIManager* gui = OrvexEngine::GUIManager::Instance();
    // A visible root window of the front layer with one visible child ordered high: two empty windows of no
    // size that nothing else refers to.
    extraWindowA = gui->CreateEmptyWindow(5, nullptr);
    extraWindowB = gui->CreateEmptyWindow(1, extraWindowA);
    extraWindowB->SetOrder(100);
    return true;
}

OrvexEngine::ShaderUser* GameData::GetPublisherLogo(int index) const {
    return index >= 0 && index < PublisherLogoCount ? publisherLogos[index] : nullptr;
}

} // namespace VelmoraBall
