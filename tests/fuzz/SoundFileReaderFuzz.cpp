// Feeds arbitrary bytes to the WAV reader and, from the same bytes, to the Ogg Vorbis reader: whatever the
// file, a reader is either refused with a FileError or delivers data that ends, through a rewind as well.
#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"

#include <cstdint>
#include <vector>

using namespace OrvexEngine;

namespace {

void Drain(SoundFileReader& reader) {
    std::vector<uint8_t> buffer(0x6000);
    for (int pass = 0; pass < 2; ++pass) {
        for (int reads = 0; reads < 4096; ++reads) {
            uint32_t count = 0;
            bool ended = false;
            reader.Read(buffer.data(), static_cast<uint32_t>(buffer.size()), count, ended);
            if (count > buffer.size())
                __builtin_trap();
            if (ended)
                break;
        }
        reader.Rewind();
    }
}

template <class Reader> void Try(const uint8_t* data, size_t size) {
    auto* file = new FileBinary("fuzz", false, 0, static_cast<uint32_t>(size), data, false);
    try {
        Reader reader("fuzz", file);
        Drain(reader);
    } catch (const FileError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    Try<SoundFileReaderWAV>(data, size);
    Try<SoundFileReaderOGG>(data, size);
    return 0;
}
