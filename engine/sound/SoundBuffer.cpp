#include "engine/sound/SoundBuffer.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FilePaths.h"
#include "engine/sound/SoundFileReaderEMP.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"

#include <algorithm>
#include <cstring>

namespace OrvexEngine {

SoundBuffer::SoundBuffer(const std::string& fileName, uint8_t* scratchBlock, bool isResident)
    : name(ToLowerCopy(fileName)), scratch(scratchBlock), resident(isResident) {}

SoundBuffer::SoundBuffer(const SoundBuffer& source, uint8_t* scratchBlock)
    : name(source.name), scratch(scratchBlock), resident(source.resident) {}

SoundBuffer::~SoundBuffer() = default;

void SoundBuffer::Update() {
    if (!streamed || streamState != StreamPlaying)
        return;
    UnqueueProcessedBuffers(processed);
    for (uint32_t segment : processed)
        if (FillSegment(segment, SegmentBytes))
            QueueBuffer(segment);
}

void SoundBuffer::Unload() {
    delete reader;
    reader = nullptr;
}

void SoundBuffer::Reload(SoundBuffer* source) {
    Load();
    if (streamed)
        resident = false;
    AllocateBuffer(source);
    if (source == nullptr && streamed) {
        loop = false;
        streamState = StreamStopped;
        ringFilled = false;
    }
}

void SoundBuffer::Load() {
    if (reader != nullptr)
        return;
    if (name.empty()) {
        reader = new SoundFileReaderEMP();
    } else {
        const std::string extension = GetExtension(name);
        try {
            if (extension == "wav") {
                reader = new SoundFileReaderWAV(name);
            } else if (extension == "ogg") {
                reader = new SoundFileReaderOGG(name);
            } else {
                Log()->Error("Failed to load \"" + name + "\" sound file - unknown type");
                reader = new SoundFileReaderEMP();
            }
        } catch (const FileError& error) {
            Log()->Error(error.GetText());
            reader = new SoundFileReaderEMP();
        }
    }
    dataSize = reader->GetDataSize();
    sampleRate = reader->GetSampleRate();
    bitsPerSample = reader->GetBitsPerSample();
    channels = reader->GetChannels();
    streamed = dataSize > StreamRingBytes;
}

bool SoundBuffer::FillSegment(uint32_t segment, uint32_t bytes) {
    if (bytes == 0)
        return false;
    bytes = std::min(bytes, StreamRingBytes); // what the scratch block holds
    uint32_t count = 0;
    bool ended = false;
    reader->Read(scratch, bytes, count, ended);
    if (streamed && loop) {
        while (count < bytes) {
            reader->Rewind();
            uint32_t more = 0;
            reader->Read(scratch + count, bytes - count, more, ended);
            if (more == 0)
                break;
            count += more;
        }
    }
    if (count < bytes)
        std::memset(scratch + count, bitsPerSample == 8 ? 128 : 0, bytes - count);
    if (!WriteSegment(segment, bytes))
        return false;
    if (!streamed)
        return count == bytes;
    return loop || count > 0 || !ended;
}

void SoundBuffer::SetStreamState(int state) {
    if (state == streamState)
        return;
    // A stream paused before it ever played has no data in its ring yet: it starts like a stopped one.
    if (state == StreamPlaying && (streamState == StreamStopped || !ringFilled)) {
        reader->Rewind();
        for (uint32_t segment = 0; segment < SegmentCount; ++segment)
            if (FillSegment(segment, SegmentBytes))
                QueueBuffer(segment);
        ringFilled = true;
    }
    if (state == StreamStopped)
        ringFilled = false;
    streamState = state;
}

void SoundBuffer::SetLooping(bool looping) {
    loop = looping;
}

} // namespace OrvexEngine
