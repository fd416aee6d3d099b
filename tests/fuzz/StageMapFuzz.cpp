// Reads arbitrary bytes as the stage map: the reader either refuses the file with a file error or returns
// exactly the icons the file's size describes.
#include "tests/fuzz/LevelFilesFuzz.h"

#include "engine/core/Error.h"
#include "game/shell/StageMapFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VelmoraFuzz::MakeServices();
    VelmoraFuzz::WriteData("ui/map/map.gmf", VelmoraFuzz::Versioned("GFGMF", 100, data, size));
    try {
        const auto elements = VelmoraBall::StageMapFile::Read("data\\ui\\map\\map.gmf");
        if (17 + elements.size() * VelmoraBall::StageMapFile::elementSize != size + 13)
            std::abort();
    } catch (const OrvexEngine::FileError&) {
    }
    return 0;
}
