// Encodes 16-bit PCM to Ogg Vorbis with the Vorbis encoder in variable bit-rate mode: a fixed stream serial
// and no comment tags besides the encoder's vendor string, so the same samples give the same bytes. The
// data build makes the game's music with it and tests make their fixtures. A small value; one per file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

class OggWriter {
public:
    // quality: the encoder's VBR quality, -0.1..1. Throws std::invalid_argument for 0 or more than
    // 2 channels or a rate the encoder cannot take.
    OggWriter(uint16_t channels, uint32_t sampleRate, float quality = 0.3f, int serial = 1);

    // Interleaved samples, a whole number of frames.
    std::vector<uint8_t> Encode(const std::vector<int16_t>& samples) const;
    void Save(const std::string& path, const std::vector<int16_t>& samples) const;

private:
    uint16_t channels = 1;
    uint32_t sampleRate = 22050;
    float quality = 0.3f;
    int serial = 1;
};

} // namespace VbFormats
