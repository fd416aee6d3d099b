// The framework's console variables and commands: diagnostics of video memory and the engine's managers,
// the video-mode command, opening and resetting the current player's stage map, leaving cheat mode, and
// the help written when cheat mode starts.
#include "framework/GameBase.h"

#include "engine/core/Config.h"
#include "engine/core/Console.h"
#include "engine/core/MessageManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureManager.h"
#include "engine/sound/SoundManager.h"
#include "framework/ProfileManagerBase.h"

#include <cstdio>
#include <vector>

namespace GameFramework {

namespace {

using OrvexEngine::ConfigVariableBool;
using OrvexEngine::ConfigVariableCommand;

// True when the command was triggered; it is re-armed before its owner acts.
bool TakeCommand(OrvexEngine::Config* config, const char* name) {
    if (config->IsCommandIdle(name))
        return false;
    config->SetCommandIdle(name, true);
    return true;
}

} // namespace

void GameBase::RegisterConsoleVariables() {
    OrvexEngine::Config* config = OrvexEngine::Config::Instance();
    config->RegisterVariable("d_get_used_video_memory_size", ConfigVariableCommand, false, false, nullptr, "",
                             false);
    config->RegisterVariable("d_get_manages_occupation", ConfigVariableCommand, false, false, nullptr, "",
                             false);
    config->RegisterVariable("d_get_loaded_textures", ConfigVariableCommand, false, false, nullptr, "",
                             false);
    config->RegisterVariable("d_show_statistics", ConfigVariableBool, false, true, &showStatistics, "0",
                             false);
    config->RegisterVariable("g_update_video_mode", ConfigVariableCommand, false, false, nullptr, "", false);
    config->RegisterVariable("g_open_map", ConfigVariableCommand, false, false, nullptr, "", false);
    config->RegisterVariable("g_reset_map", ConfigVariableCommand, false, false, nullptr, "", false);
    config->RegisterVariable("g_disable_cheats", ConfigVariableCommand, false, false, nullptr, "", false);
}

void GameBase::ExecuteConsoleCommands() {
    OrvexEngine::Config* config = OrvexEngine::Config::Instance();
    OrvexEngine::MessageManager* log = OrvexEngine::Log();

    if (TakeCommand(config, "d_get_used_video_memory_size")) {
        char text[64];
        std::snprintf(text, sizeof(text), "Video Memory Used: %.2f Mb",
                      textureManager->GetUsedVideoMemory() / 1048576.0);
        log->Message(text);
    }
    if (TakeCommand(config, "d_get_manages_occupation")) {
        const OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance();
        const OrvexEngine::SoundManager* sounds = OrvexEngine::SoundManager::Instance();
        log->Message("Shader users count: " + std::to_string(shaders->GetShaderUserCount()));
        log->Message("Shaders count: " + std::to_string(shaders->GetShaderCount()));
        log->Message("Textures count: " + std::to_string(textureManager->GetTextureCount()));
        log->Message("Models count: " +
                     std::to_string(OrvexEngine::ModelManager::Instance()->GetModels().size()));
        log->Message("Sounds count: " + std::to_string(sounds != nullptr ? sounds->GetSoundCount() : 0u));
    }
    if (TakeCommand(config, "d_get_loaded_textures")) {
        std::vector<OrvexEngine::Texture2D*> textures;
        textureManager->ListTextures(textures);
        for (size_t i = 0; i < textures.size(); ++i)
            log->Message("Texture " + std::to_string(i) + ": " + textures[i]->name +
                         " (used memory: " + std::to_string(textures[i]->memoryBytes) + ")");
    }
    if (TakeCommand(config, "g_open_map")) {
        if (ProfileBase* profile = profileManager->GetCurrentProfile()) {
            // Without any level there is nothing to open; the position is never taken past the list.
            LevelPosition last;
            if (levelManager->GetLastLevel(last))
                profile->RecordProgress(last, false);
            profile->currentPosition = LevelPosition();
            profile->Save();
        }
    }
    if (TakeCommand(config, "g_reset_map")) {
        if (ProfileBase* profile = profileManager->GetCurrentProfile()) {
            profile->currentPosition = LevelPosition();
            profile->Save();
            profile->ResetGame();
            profile->gameInProgress = false;
            profile->Save();
        }
    }
    if (TakeCommand(config, "g_disable_cheats")) {
        if (OrvexEngine::Console* console = OrvexEngine::Console::Instance())
            console->SetEnabled(false);
    }
}

void GameBase::PrintCheatHelp() {
    OrvexEngine::MessageManager* log = OrvexEngine::Log();
    const std::string rule(39, '-');
    log->Important("");
    log->Important(rule);
    log->Important("- CHEAT MODE ON");
    log->Important(rule);
    log->Important("- Key \"~\" - toggle console");
    log->Important("- Console command \"g_disable_cheats\" - cheat mode off");
}

} // namespace GameFramework
