// Decodes one sound file into raw PCM for a SoundBuffer: reports the decoded size and format and delivers
// the data in order, with rewinding. Made and owned by the SoundBuffer that plays the file (one reader per
// buffer); a constructor that cannot use its file throws FileError and the buffer falls back to silence.
#pragma once

#include <cstdint>
#include <string>

namespace OrvexEngine {

class FileBinary;

class SoundFileReader {
public:
    // Opens "data\" + name (or name itself when it holds ":") with the file manager, read whole on demand.
    // Throws FileError when the file cannot be opened.
    explicit SoundFileReader(const std::string& name);
    // Reads a file that is open already and takes it over (the texts still name the data path).
    SoundFileReader(const std::string& name, FileBinary* file);
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;
    virtual ~SoundFileReader();

    // Makes the reader ready to deliver from the start (before each fill of a static buffer).
    virtual void Open() = 0;
    // Frees what Open allocated (after each fill of a static buffer).
    virtual void Close() = 0;
    // The next read starts at the first byte of data.
    virtual void Rewind() = 0;
    // Delivers up to `bytes` bytes; `count` is what was delivered, `ended` whether the data is over.
    // A request of 0 bytes delivers nothing and reports the end. Never throws.
    virtual void Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) = 0;

    uint32_t GetDataSize() const { return dataSize; }
    uint32_t GetChannels() const { return channels; }
    uint32_t GetBitsPerSample() const { return bitsPerSample; }
    uint32_t GetSampleRate() const { return sampleRate; }
    const std::string& GetName() const { return name; }
    const std::string& GetPath() const { return path; }

protected:
    SoundFileReader() = default; // the silent placeholder: no name, no file

    // "Failed to load "<path>" sound file - <reason>"
    std::string LoadErrorText(const std::string& reason) const;

    std::string name;
    std::string path;
    FileBinary* file = nullptr; // owned
    uint32_t dataSize = 0;
    uint32_t channels = 0;
    uint32_t bitsPerSample = 0;
    uint32_t sampleRate = 0;
};

} // namespace OrvexEngine
