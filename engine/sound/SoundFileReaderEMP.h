// The silent placeholder reader: 8 bytes of 8-bit mono silence at 22050 Hz, with no file. A sound whose
// file name is empty, of an unknown type or unreadable gets one, so it still exists and plays silence.
// Made and owned by a SoundBuffer.
#pragma once

#include "engine/sound/SoundFileReader.h"

namespace OrvexEngine {

class SoundFileReaderEMP final : public SoundFileReader {
public:
    SoundFileReaderEMP();

    void Open() override;
    void Close() override;
    void Rewind() override;
    void Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) override;

private:
    uint32_t position = 0; // bytes delivered so far
};

} // namespace OrvexEngine
