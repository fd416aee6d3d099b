// Reads arbitrary bytes as the field file: the field either ends the program (FatalError after the file
// error) or holds exactly the walls the file's size describes, inside a field box that encloses them.
#include "tests/fuzz/LevelFilesFuzz.h"

#include "engine/core/Error.h"
#include "game/play/GameField.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VelmoraFuzz::MakeServices();
    VelmoraFuzz::WriteData("environment/f.vbf", VelmoraFuzz::Versioned("VBVBF", 100, data, size));
    try {
        VelmoraBall::GameField field("f.vbf");
        if (17 + field.GetWalls().size() * VelmoraBall::GameField::WallSize != size + 13)
            std::abort();
    } catch (const OrvexEngine::FatalError&) {
    }
    return 0;
}
