// Reads arbitrary bytes as a texture pack (its header made right, so that the frame table is explored):
// a pack is either refused with an Error or every texture it names holds the frames it read.
#include "engine/core/Error.h"
#include "gametools/TexturePack.h"
#include "tests/fuzz/FuzzServices.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    VelmoraFuzz::MakeHeaderRight(bytes, "GFTPF");
    VelmoraFuzz::WriteData("p.tpf", bytes);
    try {
        GameTools::TexturePack pack("p.tpf", false);
        for (const auto& [name, frames] : pack.GetTextures()) {
            if (frames == nullptr || pack.GetFrames(name) != frames)
                std::abort();
            for (const GameTools::TexturePackFrame* frame : *frames)
                if (frame == nullptr)
                    std::abort();
        }
    } catch (const OrvexEngine::Error&) {
    }
    VelmoraFuzz::Services().log.Manager().ClearEntries();
    return 0;
}
