// Reads Ogg Vorbis files through the vorbisfile decoder, which reads the engine's binary file through
// four callbacks; delivers 16-bit little-endian signed samples. Made and owned by a SoundBuffer.
#pragma once

#include "engine/sound/SoundFileReader.h"

#include <vorbis/vorbisfile.h>

#include <functional>

namespace OrvexEngine {

class SoundFileReaderOGG final : public SoundFileReader {
public:
    // Throws FileError: the file layer's when the file is missing, else "... sound file - incorrect
    // format" when the decoder cannot open it or cannot tell its length.
    explicit SoundFileReaderOGG(const std::string& name);
    SoundFileReaderOGG(const std::string& name, FileBinary* file);
    ~SoundFileReaderOGG() override;

    void Open() override;
    void Close() override;
    void Rewind() override;
    // A hole in the stream is skipped; a decoder error that does not clear ends the data.
    void Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) override;

    // The read loop over a decode step (ov_read on the open decoder) that returns bytes, 0 at the end or a
    // negative error: reads until `bytes` are delivered, steps over holes, and ends on an error that would
    // come back on every call. Returns the bytes delivered.
    static uint32_t ReadDecoded(char* out, uint32_t bytes, const std::function<long(char*, int)>& decode,
                                bool& ended);

    // The decoder's view of the binary file.
    static size_t OggReadCallback(void* destination, size_t size, size_t count, void* file);
    static int OggSeekCallback(void* file, ogg_int64_t offset, int whence);
    static int OggCloseCallback(void* file);
    static long OggTellCallback(void* file);

private:
    void ReadInfo();

    OggVorbis_File* decoder = nullptr; // owned; null when not open
    ov_callbacks callbacks{};
};

} // namespace OrvexEngine
