// Reads RIFF WAVE files of PCM data (1 or 2 channels, 8 or 16 bits, any rate): finds the "fmt " and "data"
// chunks wherever they lie and delivers the data as it is stored. Made and owned by a SoundBuffer.
#pragma once

#include "engine/sound/SoundFileReader.h"

namespace OrvexEngine {

class SoundFileReaderWAV final : public SoundFileReader {
public:
    // Throws FileError: the file layer's when the file is missing or too short for a header, else
    // "... sound file - no RIFF header", "- no format chunk" or "- no data chunk".
    explicit SoundFileReaderWAV(const std::string& name);
    SoundFileReaderWAV(const std::string& name, FileBinary* file);

    void Open() override;
    void Close() override;
    void Rewind() override;
    // A file shorter than its data chunk claims ends the data where the file ends.
    void Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) override;

private:
    void ReadHeader();
    bool ReadFormatChunk();
    bool FindDataChunk();
    void ReadChunkHeader(char id[4], uint32_t& size);
    // Moves forward over `bytes`; false when that passes the end of the file, or reaches it while
    // `endAllowed` is false (no further chunk can follow there).
    bool Skip(uint32_t bytes, bool endAllowed);

    uint32_t dataStart = 0;
    uint32_t remaining = 0; // data bytes not yet delivered
};

} // namespace OrvexEngine
