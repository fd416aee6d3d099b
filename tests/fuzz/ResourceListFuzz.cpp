// Walks arbitrary bytes as a resource list (queued, not loaded): groups, loops and counters, the language
// filter, names and their files. Whatever the list, the walk ends and queues what it names, or the parser's
// failure stops the program's start as a FatalError.
#include "engine/core/Error.h"
#include "gametools/DataKeeper.h"
#include "tests/fuzz/FuzzServices.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Loops of billions of names walk for hours by design: numbers of up to two digits and at most two
    // loops keep every walk short while still nesting loops, counters and groups.
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t digits = 0;
    for (char c : text) {
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits > 2)
            return 0;
    }
    size_t loops = 0;
    for (size_t at = text.find("loop"); at != std::string::npos; at = text.find("loop", at + 1))
        if (++loops > 2)
            return 0;
    VelmoraFuzz::WriteData("lists/res.xml", std::vector<uint8_t>(data, data + size));
    try {
        GameTools::DataKeeper keeper("en");
        keeper.LoadResourceList("data\\lists\\res.xml", false);
    } catch (const OrvexEngine::FatalError&) {
    }
    VelmoraFuzz::Services().log.Manager().ClearEntries();
    return 0;
}
