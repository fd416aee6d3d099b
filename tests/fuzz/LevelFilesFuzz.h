// The services the level-file readers find in the game, made once per fuzz process over a data folder of
// its own: a log without a file, configuration, file manager, a render system without a device, the shader,
// model, sprite group and particle managers. Input bytes become a file below that folder with the header's
// size, magic and version made right, so that the bodies are explored.
#pragma once

#include "engine/core/Config.h"
#include "engine/core/MessageManager.h"
#include "engine/core/TimerManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/CameraManager.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/SpriteGroupManager.h"
#include "tests/support/RecordingRenderSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace VelmoraFuzz {

inline const std::string& Root() {
    static const std::string root = "/tmp/level-fuzz-" + std::to_string(getpid());
    return root;
}

inline void WriteData(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = std::filesystem::path(Root()) / "data" / name;
    std::filesystem::create_directories(path.parent_path());
    if (std::FILE* file = std::fopen(path.string().c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// The input as a versioned file of the format: header made right, then the input as its body.
inline std::vector<uint8_t> Versioned(const char* magic, uint32_t version, const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(13 + size);
    const uint32_t total = static_cast<uint32_t>(bytes.size());
    std::memcpy(bytes.data(), &total, 4);
    std::memcpy(bytes.data() + 4, magic, 5);
    std::memcpy(bytes.data() + 9, &version, 4);
    if (size != 0)
        std::memcpy(bytes.data() + 13, data, size);
    return bytes;
}

inline void MakeServices() {
    static bool made = [] {
        std::filesystem::create_directories(std::filesystem::path(Root()) / "data");
        auto* log = new OrvexEngine::MessageManager("Fuzz", false, false, "", "");
        OrvexEngine::MessageManager::Instance(log);
        auto* config = new OrvexEngine::Config("", "", false, "800x600x32", false, false);
        OrvexEngine::Config::Instance(config);
        OrvexEngine::TimerManager::Instance(new OrvexEngine::TimerManager());
        OrvexEngine::FileManager::Instance(new OrvexEngine::FileManager(Root(), false, "data", 0));
        auto* render = new VelmoraTest::RecordingRenderSystem(2);
        render->ready = true;
        OrvexEngine::CameraManager::Instance(new OrvexEngine::CameraManager());
        OrvexEngine::LightManager::Instance(new OrvexEngine::LightManager());
        OrvexEngine::ShaderManager::Instance(new OrvexEngine::ShaderManager());
        OrvexEngine::ModelManager::Instance(new OrvexEngine::ModelManager());
        // A level's data keeper needs every manager it can load into.
        OrvexEngine::SpriteGroupManager::Instance(new OrvexEngine::SpriteGroupManager());
        OrvexEngine::ParticleSystemManager::Instance(new OrvexEngine::ParticleSystemManager());
        return true;
    }();
    (void)made;
    OrvexEngine::MessageManager::Instance()->ClearEntries(); // the log keeps every entry in memory
}

} // namespace VelmoraFuzz
