// Reads arbitrary bytes as a level's geometry file against a database of two block types ("a" and "b"):
// the level load either ends the program (FatalError after the file error) or hands out blocks that fit
// together: at least one key frame each, neighbour indices below the block count, a material each.
#include "tests/fuzz/LevelFilesFuzz.h"

#include "engine/core/Error.h"
#include "game/play/GameLogicData.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VelmoraFuzz::MakeServices();
    static bool database = [] {
        const std::string block = "<block fragment_count=\"1\"/>";
        VelmoraFuzz::WriteData("game_objects/blocks/a.xml", std::vector<uint8_t>(block.begin(), block.end()));
        VelmoraFuzz::WriteData("game_objects/blocks/b.xml", std::vector<uint8_t>(block.begin(), block.end()));
        return true;
    }();
    (void)database;
    VelmoraFuzz::WriteData("levels_geometry/f.vbg", VelmoraFuzz::Versioned("VBVBG", 105, data, size));

    VelmoraBall::GameLogicData level("en", "f.vbg");
    try {
        level.Load(~0u);
    } catch (const OrvexEngine::FatalError&) {
        return 0;
    }
    const auto& blocks = level.GetBlockDescriptors();
    for (const VelmoraBall::BlockDescriptor* block : blocks) {
        if (block->keyFrames.empty() || block->material == nullptr || block->type == nullptr)
            std::abort();
        for (const auto* list : {&block->blocksBelow, &block->blocksAbove})
            for (uint16_t index : *list)
                if (index >= blocks.size())
                    std::abort();
    }
    return 0;
}
