// Feeds arbitrary bytes to the material file reader as a file below a data folder, then lists the image
// files of every stage it accepted: whatever the bytes, the file is read or refused with an Error, and a
// stage that was read never leads past its frame list.
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace OrvexEngine;

namespace {

std::string ScratchFolder() {
    return VelmoraFuzz::ScratchRoot();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageManager* log = MessageManager::Instance(new MessageManager("Fuzz", false, false, "", ""));
    static FileManager* files = [] {
        std::filesystem::create_directories(ScratchFolder() + "/data/m");
        return FileManager::Instance(new FileManager(ScratchFolder(), false, "data", 0));
    }();
    (void)files;
    std::FILE* file = std::fopen((ScratchFolder() + "/data/m/fuzz.srf").c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        ShaderDescriptor description;
        description.LoadFromFile("m\\fuzz.srf");
        std::vector<std::string> names;
        for (uint32_t stage = 0; stage < description.stageCount; ++stage) {
            description.FindTextureImageFile(stage, names);
            // A list always holds a colour and an opacity name for each frame.
            if (names.size() % 2 != 0)
                __builtin_trap();
        }
        ShaderDescriptor copy(description);
        if (!copy.Equals(description))
            __builtin_trap();
    } catch (const Error&) {
    }
    log->ClearEntries();
    return 0;
}
