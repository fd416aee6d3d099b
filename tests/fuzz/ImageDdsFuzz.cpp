// Feeds arbitrary bytes to the DDS reader on a device with and without DXT support, reading every level:
// it must fail cleanly or succeed, never read or write outside its buffers.
#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/graphics/FileDDS.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t none = 0;
    if (size > UINT32_MAX)
        return 0;
    for (uint32_t formats : {0u, 0x7C0u}) {
        try {
            OrvexEngine::FileDDS dds(new OrvexEngine::FileBinary("fuzz.dds", false, 0, uint32_t(size),
                                                                 size != 0 ? data : &none, false),
                                     formats);
            dds.GetChainSize();
            for (uint32_t level = 0; level < dds.GetMipMapCount(); ++level) {
                OrvexEngine::Image image;
                dds.ReadLevel(level, image);
            }
        } catch (const OrvexEngine::FileError&) {
        }
    }
    return 0;
}
