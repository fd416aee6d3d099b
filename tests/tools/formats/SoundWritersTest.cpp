// ctest-label: audio
#include "tools/formats/OggWriter.h"
#include "tools/formats/WavWriter.h"

#include <gtest/gtest.h>

#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

using VbFormats::OggWriter;
using VbFormats::WavWriter;

TEST(WavWriter, WritesTheRiffLayoutByteForByte) {
    const std::vector<uint8_t> file = WavWriter(1, 22050, 16).Build(WavWriter::Bytes({1, -2}));
    const std::vector<uint8_t> expected = {
        'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V',  'E', // RIFF size = 4 + 24 + 12
        'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,    0,   // PCM, mono
        0x22, 0x56, 0,   0,   0x44, 0xAC, 0, 0, 2,   0,   16,   0,   // 22050 Hz, 44100 B/s, align 2, 16 bits
        'd',  'a',  't', 'a', 4,    0,    0, 0, 1,   0,   0xFE, 0xFF};
    EXPECT_EQ(file, expected);
}

TEST(WavWriter, KnobsBreakOneRuleEach) {
    const std::vector<uint8_t> pcm(4, 0x80);
    EXPECT_EQ(WavWriter(1, 8000, 8).RiffSizeZero().Build(pcm)[4], 0);
    const std::vector<uint8_t> late = WavWriter(1, 8000, 8).DataBeforeFormat().Build(pcm);
    EXPECT_EQ(std::string(late.begin() + 12, late.begin() + 16), "data");
    EXPECT_EQ(std::string(late.end() - 24, late.end() - 20), "fmt ");
    const std::vector<uint8_t> claim = WavWriter(1, 8000, 8).ClaimDataBytes(1000).Build(pcm);
    EXPECT_EQ(claim[40] | claim[41] << 8, 1000);
    EXPECT_EQ(claim.size(), 48u);
    const std::vector<uint8_t> odd = WavWriter(1, 8000, 8).ExtraChunk("LIST", {1, 2, 3}).Build(pcm);
    EXPECT_EQ(std::string(odd.begin() + 12, odd.begin() + 16), "LIST");
    EXPECT_EQ(std::string(odd.begin() + 23, odd.begin() + 27), "fmt "); // no pad byte after the odd chunk
    EXPECT_EQ(WavWriter(4, 22050, 24).Unchecked().Build(pcm)[22], 4);
}

TEST(WavWriter, RefusesFilesTheGameMustNotShip) {
    const std::vector<uint8_t> pcm(4, 0);
    EXPECT_THROW(WavWriter(3, 22050, 16).Build(pcm), std::invalid_argument);
    EXPECT_THROW(WavWriter(1, 22050, 24).Build(pcm), std::invalid_argument);
    EXPECT_THROW(WavWriter(1, 96000, 16).Build(pcm), std::invalid_argument);
    EXPECT_THROW(WavWriter(2, 22050, 16).Build(std::vector<uint8_t>(6)), std::invalid_argument); // 1.5 frames
    EXPECT_THROW(WavWriter(1, 22050, 8).Build(std::vector<uint8_t>(3)), std::invalid_argument);  // odd chunk
    EXPECT_THROW(WavWriter(1, 22050, 16).ExtraChunk("ab", {}), std::invalid_argument);
}

namespace {

struct Memory {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
    auto* memory = static_cast<Memory*>(source);
    const size_t n = std::min(size * count, memory->bytes->size() - memory->position);
    std::memcpy(out, memory->bytes->data() + memory->position, n);
    memory->position += n;
    return n;
}

} // namespace

TEST(OggWriter, EncodesWhatTheDecoderGivesBackAtItsLength) {
    std::vector<int16_t> samples;
    for (int i = 0; i < 30000; ++i) {
        const auto value = static_cast<int16_t>(8000 * std::sin(i * 2 * M_PI * 440 / 22050));
        samples.push_back(value);
        samples.push_back(static_cast<int16_t>(-value));
    }
    const std::vector<uint8_t> ogg = OggWriter(2, 22050, 0.5f, 7).Encode(samples);
    EXPECT_EQ(ogg, OggWriter(2, 22050, 0.5f, 7).Encode(samples)); // the same bytes every time

    Memory memory{&ogg};
    OggVorbis_File file;
    ov_callbacks callbacks{&ReadMemory, nullptr, nullptr, nullptr};
    ASSERT_EQ(ov_open_callbacks(&memory, &file, nullptr, 0, callbacks), 0);
    EXPECT_EQ(ov_info(&file, -1)->channels, 2);
    EXPECT_EQ(ov_info(&file, -1)->rate, 22050);
    EXPECT_EQ(ov_serialnumber(&file, -1), 7);
    std::vector<int16_t> decoded(samples.size() + 100);
    size_t bytes = 0;
    int section = 0;
    long got = 0;
    while ((got = ov_read(&file, reinterpret_cast<char*>(decoded.data()) + bytes,
                          static_cast<int>(decoded.size() * 2 - bytes), 0, 2, 1, &section)) > 0)
        bytes += static_cast<size_t>(got);
    ov_clear(&file);
    ASSERT_EQ(bytes, samples.size() * 2);
    // Lossy, but the tone is there with its sides opposite.
    double error = 0;
    for (size_t i = 2000; i < samples.size() - 2000; ++i)
        error += std::abs(decoded[i] - samples[i]);
    EXPECT_LT(error / static_cast<double>(samples.size()), 400.0);
    EXPECT_THROW(OggWriter(3, 22050), std::invalid_argument);
}
