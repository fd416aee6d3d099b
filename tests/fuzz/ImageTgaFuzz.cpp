// Feeds arbitrary bytes to the TGA reader, with and without pixel data: it must fail with a FileError or
// succeed, never read or write outside its buffers.
#include "tests/fuzz/ImageReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageReader(data, size, &OrvexEngine::Image::ReadTGA, "fuzz.tga");
}
