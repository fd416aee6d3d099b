#include "engine/sound/SoundFileReaderWAV.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"

#include <algorithm>
#include <cstring>

namespace OrvexEngine {

namespace {

uint32_t U32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t U16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

constexpr uint32_t ChunksStart = 12;

} // namespace

SoundFileReaderWAV::SoundFileReaderWAV(const std::string& fileName) : SoundFileReader(fileName) {
    ReadHeader();
}

SoundFileReaderWAV::SoundFileReaderWAV(const std::string& fileName, FileBinary* openFile)
    : SoundFileReader(fileName, openFile) {
    ReadHeader();
}

void SoundFileReaderWAV::ReadHeader() {
    // A throw leaves through the base, whose destructor closes the file.
    uint8_t header[12];
    file->Read(header, 4);
    file->Read(header + 4, 4);
    file->Read(header + 8, 4);
    if (std::memcmp(header, "RIFF", 4) != 0 || U32(header + 4) == 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        throw FileError(LoadErrorText("no RIFF header"));
    if (!ReadFormatChunk())
        throw FileError(LoadErrorText("no format chunk"));
    if (!FindDataChunk())
        throw FileError(LoadErrorText("no data chunk"));
}

void SoundFileReaderWAV::ReadChunkHeader(char id[4], uint32_t& size) {
    uint8_t bytes[4];
    file->Read(id, 4);
    file->Read(bytes, 4);
    size = U32(bytes);
}

bool SoundFileReaderWAV::Skip(uint32_t bytes, bool endAllowed) {
    // Chunk sizes come from the file: added in 64 bits and compared with the file's size, so a huge size
    // can neither wrap nor become a backward seek.
    const uint64_t target = static_cast<uint64_t>(file->GetPosition()) + bytes;
    if (target > file->GetSize() || (target == file->GetSize() && !endAllowed))
        return false;
    if (target < file->GetSize())
        file->Seek(0, static_cast<int32_t>(target));
    return true;
}

bool SoundFileReaderWAV::ReadFormatChunk() {
    file->Seek(0, ChunksStart);
    for (;;) {
        char id[4];
        uint32_t size = 0;
        ReadChunkHeader(id, size);
        if (std::memcmp(id, "fmt ", 4) == 0 && size >= 16) {
            uint8_t format[16];
            file->Read(format, 16);
            const uint16_t tag = U16(format);
            channels = U16(format + 2);
            sampleRate = U32(format + 4);
            bitsPerSample = U16(format + 14);
            if (tag != 1 || channels > 2 || (bitsPerSample != 8 && bitsPerSample != 16))
                return false;
            // A format chunk may end the file (data before it): that end is not a failure.
            return Skip(size - 16, true);
        }
        if (!Skip(size, false))
            return false;
    }
}

bool SoundFileReaderWAV::FindDataChunk() {
    file->Seek(0, ChunksStart);
    for (;;) {
        char id[4];
        uint32_t size = 0;
        ReadChunkHeader(id, size);
        if (std::memcmp(id, "data", 4) == 0) {
            dataStart = file->GetPosition();
            // A buffer holds whole frames only: a partial frame at the end would make the sound unplayable.
            const uint32_t frameBytes = channels * (bitsPerSample / 8u);
            dataSize = frameBytes > 0 ? size - size % frameBytes : size;
            size = dataSize;
            remaining = dataStart < file->GetSize() ? size : 0;
            return true;
        }
        if (!Skip(size, false))
            return false;
    }
}

void SoundFileReaderWAV::Open() {
    Rewind();
}

void SoundFileReaderWAV::Close() {}

void SoundFileReaderWAV::Rewind() {
    // Data that would start at the end of the file is not there at all (a seek there lands on the last byte).
    remaining = dataStart < file->GetSize() ? dataSize : 0;
    if (remaining > 0)
        file->Seek(0, static_cast<int32_t>(dataStart));
}

void SoundFileReaderWAV::Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) {
    const uint32_t n = std::min(bytes, remaining);
    remaining -= n;
    count = 0;
    if (n > 0)
        file->Read(destination, n, &count);
    if (count < n)
        remaining = 0; // a short file ends the data
    ended = bytes == 0 || remaining == 0;
}

} // namespace OrvexEngine
