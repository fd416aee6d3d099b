// Feeds arbitrary bytes to the TGA reader, with and without pixel data: it must fail with a FileError or
// succeed, never read or write outside its buffers.
#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/graphics/Image.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t none = 0;
    if (size > UINT32_MAX)
        return 0;
    for (bool readData : {false, true}) {
        try {
            OrvexEngine::FileBinary file("fuzz.tga", false, 0, uint32_t(size), size != 0 ? data : &none,
                                         false);
            OrvexEngine::Image image;
            image.ReadTGA(file, "fuzz.tga", readData);
            if (image.data != nullptr &&
                image.size != uint64_t(image.width) * image.height * image.BytesPerPixel())
                __builtin_trap();
        } catch (const OrvexEngine::FileError&) {
        }
    }
    return 0;
}
