// Reads arbitrary bytes as the settings file, executes each of its lines again as console lines, then saves
// and reads back: whatever the bytes, nothing crashes and, once saved, the file reads back as itself.
#include "engine/core/Config.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using namespace OrvexEngine;

namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageManager* log = MessageManager::Instance(new MessageManager("Fuzz", false, false, "", ""));
    const std::string settings = VelmoraFuzz::ScratchPath("Fuzz.ini");
    if (!VelmoraFuzz::WriteScratch("Fuzz.ini", data, size))
        return 0;

    Config config(VelmoraFuzz::ScratchRoot(), "Fuzz", false, "", false, false);
    Config::Instance(&config);
    int32_t count = 0;
    float volume = 0;
    std::string name;
    config.Load();
    config.RegisterVariable("g_count", ConfigVariableInt, false, true, &count, "3", true);
    config.RegisterVariable("g_volume", ConfigVariableFloat, false, true, &volume, "0.5", false);
    config.RegisterVariable("g_name", ConfigVariableString, false, true, &name, "x", false);

    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        config.Execute(text.substr(start, end - start));
        start = end + 1;
    }
    config.Update();
    config.ClearChangedFlags();

    // Once saved and read back, a settings file reads back as itself: no value drifts from save to save.
    config.Save();
    config.Load();
    config.Save();
    const std::string saved = ReadWhole(settings);
    config.Load();
    config.Save();
    if (ReadWhole(settings) != saved)
        std::abort();
    log->ClearEntries();
    return 0;
}
