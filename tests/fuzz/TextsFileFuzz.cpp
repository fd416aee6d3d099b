// Reads arbitrary bytes as the game's texts file (the default texts file missing) and looks texts up by
// key: a broken file is logged and leaves no texts, any other gives each key its text or "UNKNOWN".
#include "guitools/GUITextTool.h"
#include "tests/fuzz/FuzzServices.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VelmoraFuzz::WriteData("ui/texts/texts.xml", std::vector<uint8_t>(data, data + size));
    {
        GUITools::GUITextTool texts(size % 2 == 0 ? "en" : "ru");
        for (const char* key : {"", "a", "title", "menu/start", "text"})
            texts.GetText(key);
    }
    VelmoraFuzz::Services().log.Manager().ClearEntries();
    return 0;
}
