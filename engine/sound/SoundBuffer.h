// The audio data of one Sound: chooses and owns the reader that decodes its file, and plays it either from
// one static platform buffer (decoded data up to StreamRingBytes) or streamed through a ring of 24
// segments refilled every frame. Decoded data reaches the platform buffer through the manager's shared
// scratch block. The platform class makes, writes and plays the platform buffer. Made and owned by the
// SoundBufferManager, one per Sound.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class SoundFileReader;

class SoundBuffer {
public:
    static constexpr uint32_t StreamRingBytes = 0x90000; // also the scratch block's size
    static constexpr uint32_t SegmentBytes = 0x6000;
    static constexpr uint32_t SegmentCount = 24;

    static constexpr int StreamStopped = 0;
    static constexpr int StreamPaused = 1;
    static constexpr int StreamPlaying = 2;

    // From a file: the name is kept lower-cased; the platform constructor ends with Reload(nullptr).
    SoundBuffer(const std::string& fileName, uint8_t* scratchBlock, bool resident);
    // A buffer of the same file as `source`, with the source's resident flag; the platform constructor
    // ends with Reload(source).
    SoundBuffer(const SoundBuffer& source, uint8_t* scratchBlock);
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;
    virtual ~SoundBuffer();

    // Refills the segments a playing stream has finished with.
    virtual void Update();
    // Deletes the reader.
    virtual void Unload();
    // Loads the reader when there is none and makes the platform buffer (sharing the source's data).
    virtual void Reload(SoundBuffer* source);
    virtual void AllocateBuffer(SoundBuffer* source) = 0;
    virtual void ReleaseBuffer() = 0;
    // Copies the scratch block's first `bytes` bytes into the platform buffer at segment × SegmentBytes.
    virtual bool WriteSegment(uint32_t segment, uint32_t bytes) = 0;
    // Called after each segment filled with data.
    virtual void QueueBuffer(uint32_t segment) = 0;
    // Empties the list and fills it with the segments playback has finished with, in the order played.
    virtual void UnqueueProcessedBuffers(std::vector<uint32_t>& segments) = 0;

    // Chooses the reader by extension ("wav", "ogg"); anything else, and a reader that fails, gets the
    // silent placeholder with the reason logged. Nothing happens when a reader exists.
    void Load();
    // Reads `bytes` bytes into the scratch block (a looping stream continues at the data's start), pads
    // the rest with silence and writes the segment. Static: true when all was read; stream: false only
    // when a non-looping stream has nothing left.
    bool FillSegment(uint32_t segment, uint32_t bytes);
    // Stopped, paused or playing. Going to playing from stopped (or from a pause that came before the ring
    // was ever filled) rewinds the reader and fills every segment.
    void SetStreamState(int state);
    void SetLooping(bool loop);

    const std::string& GetName() const { return name; }
    uint32_t GetDataSize() const { return dataSize; }
    uint32_t GetSampleRate() const { return sampleRate; }
    uint32_t GetBitsPerSample() const { return bitsPerSample; }
    uint32_t GetChannels() const { return channels; }
    bool IsStreamed() const { return streamed; }
    bool IsLooping() const { return loop; }
    bool IsResident() const { return resident; }
    int GetStreamState() const { return streamState; }
    SoundFileReader* GetReader() const { return reader; }

protected:
    std::string name; // lower case
    uint32_t dataSize = 0;
    uint32_t sampleRate = 0;
    uint32_t bitsPerSample = 0;
    uint32_t channels = 0;
    bool streamed = false;
    bool loop = false;                 // streams only; a static buffer is told at play
    SoundFileReader* reader = nullptr; // owned
    uint8_t* scratch = nullptr;        // not owned: the manager's block of StreamRingBytes
    int streamState = StreamStopped;
    bool resident = false;
    bool ringFilled = false;         // the ring holds data read since the stream last stopped
    std::vector<uint32_t> processed; // reused by every refill
};

} // namespace OrvexEngine
