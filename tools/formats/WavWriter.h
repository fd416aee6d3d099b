// Writes RIFF WAVE files of PCM data: "RIFF", "WAVE", a 16-byte "fmt " chunk and a "data" chunk. The data
// build makes the game's sounds with it and tests make their fixtures, including the broken files the
// knobs below produce. A writer is a small value; make one per file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

class WavWriter {
public:
    // Without a fault knob, Build checks rule A1 (1 or 2 channels, 8 or 16 bits, 8000..48000 Hz, whole
    // frames, even chunk sizes) and throws std::invalid_argument naming the rule.
    WavWriter(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample);

    // Fault knobs: each makes a file the game's reader must handle, and switches the rule check off.
    WavWriter& Unchecked();             // any channels, bits and rate
    WavWriter& FormatTag(uint16_t tag); // 3 is float data
    WavWriter& RiffSizeZero();
    WavWriter& DataBeforeFormat();             // "fmt " becomes the last chunk
    WavWriter& ClaimDataBytes(uint32_t bytes); // the data chunk states this size
    WavWriter& ExtraChunk(const std::string& id, const std::vector<uint8_t>& body); // first chunk, any size

    std::vector<uint8_t> Build(const std::vector<uint8_t>& pcm) const;
    // Writes the file, creating its folders; throws std::runtime_error when that fails.
    void Save(const std::string& path, const std::vector<uint8_t>& pcm) const;

    // Writes bytes to a file, creating its folders; throws std::runtime_error when that fails.
    static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
    // Little-endian bytes of 16-bit samples.
    static std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples);

private:
    void CheckRules(const std::vector<uint8_t>& pcm) const;

    struct Chunk {
        std::string id;
        std::vector<uint8_t> body;
    };

    uint16_t channels = 1;
    uint32_t sampleRate = 22050;
    uint16_t bitsPerSample = 16;
    uint16_t formatTag = 1;
    bool checked = true;
    bool riffSizeZero = false;
    bool dataBeforeFormat = false;
    bool claimData = false;
    uint32_t claimedDataBytes = 0;
    std::vector<Chunk> extraChunks;
};

} // namespace VbFormats
