#include "engine/sound/SoundFileReaderEMP.h"

#include <algorithm>
#include <cstring>

namespace OrvexEngine {

SoundFileReaderEMP::SoundFileReaderEMP() {
    dataSize = 8;
    channels = 1;
    bitsPerSample = 8;
    sampleRate = 22050;
}

void SoundFileReaderEMP::Open() {
    Rewind();
}

void SoundFileReaderEMP::Close() {}

void SoundFileReaderEMP::Rewind() {
    position = 0;
}

void SoundFileReaderEMP::Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) {
    const uint32_t n = std::min(bytes, dataSize - position);
    if (n > 0)
        std::memset(destination, 128, n);
    position += n;
    count = n;
    ended = bytes == 0 || position == dataSize;
}

} // namespace OrvexEngine
