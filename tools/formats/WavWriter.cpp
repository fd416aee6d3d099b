#include "tools/formats/WavWriter.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace VbFormats {

namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const std::string& id, uint32_t statedSize,
              const std::vector<uint8_t>& body) {
    out.insert(out.end(), id.begin(), id.end());
    PutU32(out, statedSize);
    out.insert(out.end(), body.begin(), body.end());
}

} // namespace

WavWriter::WavWriter(uint16_t channelCount, uint32_t rate, uint16_t bits)
    : channels(channelCount), sampleRate(rate), bitsPerSample(bits) {}

WavWriter& WavWriter::Unchecked() {
    checked = false;
    return *this;
}

WavWriter& WavWriter::FormatTag(uint16_t tag) {
    formatTag = tag;
    checked = false;
    return *this;
}

WavWriter& WavWriter::RiffSizeZero() {
    riffSizeZero = true;
    checked = false;
    return *this;
}

WavWriter& WavWriter::DataBeforeFormat() {
    dataBeforeFormat = true;
    checked = false;
    return *this;
}

WavWriter& WavWriter::ClaimDataBytes(uint32_t bytes) {
    claimData = true;
    claimedDataBytes = bytes;
    checked = false;
    return *this;
}

WavWriter& WavWriter::ExtraChunk(const std::string& id, const std::vector<uint8_t>& body) {
    if (id.size() != 4)
        throw std::invalid_argument("WAV: a chunk id has four characters");
    extraChunks.push_back({id, body});
    checked = false;
    return *this;
}

void WavWriter::CheckRules(const std::vector<uint8_t>& pcm) const {
    if (channels < 1 || channels > 2)
        throw std::invalid_argument("A1: a WAV file has 1 or 2 channels");
    if (bitsPerSample != 8 && bitsPerSample != 16)
        throw std::invalid_argument("A1: a WAV file has 8 or 16 bits per sample");
    if (sampleRate < 8000 || sampleRate > 48000)
        throw std::invalid_argument("A1: a WAV file runs at 8000..48000 Hz");
    if (pcm.size() % (channels * bitsPerSample / 8u) != 0)
        throw std::invalid_argument("A1: WAV data holds whole frames");
    if (pcm.size() % 2 != 0)
        throw std::invalid_argument("A1: WAV chunk sizes are even");
    if (pcm.size() > 0xFFFFFFFFu - 36)
        throw std::invalid_argument("A1: WAV data fits a 32-bit RIFF size");
}

std::vector<uint8_t> WavWriter::Build(const std::vector<uint8_t>& pcm) const {
    if (checked)
        CheckRules(pcm);
    std::vector<uint8_t> format;
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bitsPerSample / 8);
    PutU16(format, formatTag);
    PutU16(format, channels);
    PutU32(format, sampleRate);
    PutU32(format, sampleRate * blockAlign);
    PutU16(format, blockAlign);
    PutU16(format, bitsPerSample);

    std::vector<uint8_t> chunks;
    for (const Chunk& chunk : extraChunks)
        PutChunk(chunks, chunk.id, static_cast<uint32_t>(chunk.body.size()), chunk.body);
    const uint32_t dataSize = claimData ? claimedDataBytes : static_cast<uint32_t>(pcm.size());
    if (dataBeforeFormat) {
        PutChunk(chunks, "data", dataSize, pcm);
        PutChunk(chunks, "fmt ", 16, format);
    } else {
        PutChunk(chunks, "fmt ", 16, format);
        PutChunk(chunks, "data", dataSize, pcm);
    }

    std::vector<uint8_t> file;
    file.reserve(chunks.size() + 12);
    const std::string riff = "RIFF", wave = "WAVE";
    file.insert(file.end(), riff.begin(), riff.end());
    PutU32(file, riffSizeZero ? 0 : static_cast<uint32_t>(chunks.size() + 4));
    file.insert(file.end(), wave.begin(), wave.end());
    file.insert(file.end(), chunks.begin(), chunks.end());
    return file;
}

void WavWriter::Save(const std::string& path, const std::vector<uint8_t>& pcm) const {
    WriteFile(path, Build(pcm));
}

std::vector<uint8_t> WavWriter::Bytes(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    bytes.reserve(samples.size() * 2);
    for (int16_t sample : samples)
        PutU16(bytes, static_cast<uint16_t>(sample));
    return bytes;
}

void WavWriter::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path target(path);
    std::error_code ignored;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ignored);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("Cannot write " + path);
}

} // namespace VbFormats
