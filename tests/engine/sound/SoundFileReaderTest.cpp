// ctest-label: audio
#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/sound/SoundFileReaderEMP.h"
#include "engine/sound/SoundFileReaderOGG.h"
#include "engine/sound/SoundFileReaderWAV.h"
#include "tools/formats/OggWriter.h"
#include "tools/formats/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

using namespace OrvexEngine;
using VbFormats::OggWriter;
using VbFormats::WavWriter;

namespace {

// A file over a memory image the test keeps alive.
FileBinary* MemoryFile(const std::vector<uint8_t>& bytes) {
    return new FileBinary("memory", false, 0, static_cast<uint32_t>(bytes.size()), bytes.data(), false);
}

// Everything a reader delivers, read in pieces of `piece` bytes.
std::vector<uint8_t> ReadAll(SoundFileReader& reader, uint32_t piece = 1000) {
    std::vector<uint8_t> data;
    std::vector<uint8_t> buffer(piece);
    for (int guard = 0; guard < 1000000; ++guard) {
        uint32_t count = 0;
        bool ended = false;
        reader.Read(buffer.data(), piece, count, ended);
        data.insert(data.end(), buffer.begin(), buffer.begin() + count);
        if (ended)
            return data;
    }
    ADD_FAILURE() << "the reader never reported the end";
    return data;
}

std::vector<uint8_t> Pcm(size_t bytes) {
    std::vector<uint8_t> pcm(bytes);
    for (size_t i = 0; i < bytes; ++i)
        pcm[i] = static_cast<uint8_t>(i * 7 + 3);
    return pcm;
}

std::vector<int16_t> Tone(uint32_t frames, uint32_t channels, double hertz, uint32_t rate) {
    std::vector<int16_t> samples;
    for (uint32_t i = 0; i < frames; ++i)
        for (uint32_t c = 0; c < channels; ++c)
            samples.push_back(
                static_cast<int16_t>(9000 * std::sin(2 * M_PI * hertz * i / rate) * (c == 0 ? 1 : -1)));
    return samples;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<uint8_t> Chunk(const std::string& id, const std::vector<uint8_t>& body, uint32_t stated) {
    std::vector<uint8_t> out(id.begin(), id.end());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(stated >> shift));
    return Concat(out, body);
}

std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks) {
    return Concat(Chunk("RIFF", {'W', 'A', 'V', 'E'}, static_cast<uint32_t>(chunks.size() + 4)), chunks);
}

std::vector<uint8_t> FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    const uint32_t perSecond = rate * align;
    return {static_cast<uint8_t>(tag),
            static_cast<uint8_t>(tag >> 8),
            static_cast<uint8_t>(channels),
            0,
            static_cast<uint8_t>(rate),
            static_cast<uint8_t>(rate >> 8),
            static_cast<uint8_t>(rate >> 16),
            0,
            static_cast<uint8_t>(perSecond),
            static_cast<uint8_t>(perSecond >> 8),
            static_cast<uint8_t>(perSecond >> 16),
            0,
            static_cast<uint8_t>(align),
            0,
            static_cast<uint8_t>(bits),
            0};
}

} // namespace

TEST(SoundFileReaderWAV, ReadsFormatAndDataWhereverTheChunksLie) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        uint32_t channels, rate, bits;
        std::vector<uint8_t> data;
    };
    const std::vector<uint8_t> pcm = Pcm(40);
    const std::vector<uint8_t> fmt16 = FormatBody(1, 1, 22050, 16);
    const Case cases[] = {
        {"16-bit mono", WavWriter(1, 22050, 16).Build(pcm), 1, 22050, 16, pcm},
        {"8-bit stereo", WavWriter(2, 11025, 8).Build(pcm), 2, 11025, 8, pcm},
        // Typed by hand from the layout, so that writer and reader cannot share a mistake.
        {"hand-made, an odd chunk first",
         Riff(Concat(Concat(Chunk("LIST", {1, 2, 3}, 3), Chunk("fmt ", fmt16, 16)), Chunk("data", pcm, 40))),
         1, 22050, 16, pcm},
        {"a 14-byte fmt skipped for the 16-byte one",
         Riff(Concat(Concat(Chunk("fmt ", std::vector<uint8_t>(14, 9), 14),
                            Chunk("fmt ", FormatBody(1, 2, 8000, 8), 16)),
                     Chunk("data", pcm, 40))),
         2, 8000, 8, pcm},
        {"fmt longer than 16 bytes",
         Riff(Concat(Chunk("fmt ", Concat(fmt16, {0, 0}), 18), Chunk("data", pcm, 40))), 1, 22050, 16, pcm},
        {"data before fmt, fmt ending the file", WavWriter(1, 22050, 16).DataBeforeFormat().Build(pcm), 1,
         22050, 16, pcm},
        {"data before fmt, another chunk after",
         Riff(Concat(Concat(Chunk("data", pcm, 40), Chunk("fmt ", fmt16, 16)), Chunk("LIST", {5, 5}, 2))), 1,
         22050, 16, pcm},
        {"a partial frame at the end: the whole frames play",
         Riff(Concat(Chunk("fmt ", FormatBody(1, 2, 22050, 16), 16), Chunk("data", Pcm(43), 43))), 2, 22050,
         16, Pcm(40)},
        {"0 channels passes", WavWriter(0, 22050, 16).Unchecked().Build({}), 0, 22050, 16, {}},
        {"data claimed beyond the file", WavWriter(1, 22050, 8).ClaimDataBytes(5000).Build(pcm), 1, 22050, 8,
         pcm},
        {"empty data ending the file",
         Riff(Concat(Chunk("fmt ", fmt16, 16), Chunk("data", {}, 100))),
         1,
         22050,
         16,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SoundFileReaderWAV reader("audio\\test.wav", MemoryFile(c.file));
        EXPECT_EQ(reader.GetChannels(), c.channels);
        EXPECT_EQ(reader.GetSampleRate(), c.rate);
        EXPECT_EQ(reader.GetBitsPerSample(), c.bits);
        EXPECT_EQ(ReadAll(reader, 7), c.data);
        reader.Rewind();
        EXPECT_EQ(ReadAll(reader, 7), c.data);
    }
}

TEST(SoundFileReaderWAV, RefusesWhatItCannotPlayWithTheReason) {
    const std::vector<uint8_t> pcm = Pcm(40);
    const std::vector<uint8_t> fmt16 = FormatBody(1, 1, 22050, 16);
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::string text;
    };
    const std::string prefix = "Failed to load \"data\\audio\\test.wav\" sound file - ";
    std::vector<uint8_t> wrongId = WavWriter(1, 22050, 16).Build(pcm);
    wrongId[0] = 'X';
    std::vector<uint8_t> wrongForm = WavWriter(1, 22050, 16).Build(pcm);
    wrongForm[11] = 'X';
    const Case cases[] = {
        {"RIFF size 0", WavWriter(1, 22050, 16).RiffSizeZero().Build(pcm), prefix + "no RIFF header"},
        {"wrong id", wrongId, prefix + "no RIFF header"},
        {"wrong form", wrongForm, prefix + "no RIFF header"},
        {"float", WavWriter(1, 22050, 16).FormatTag(3).Build(pcm), prefix + "no format chunk"},
        {"4 channels", WavWriter(4, 22050, 16).Unchecked().Build(pcm), prefix + "no format chunk"},
        {"24 bits", WavWriter(1, 22050, 24).Unchecked().Build(Pcm(42)), prefix + "no format chunk"},
        {"only a short fmt",
         Riff(Concat(Chunk("fmt ", std::vector<uint8_t>(14), 14), Chunk("data", pcm, 40))),
         prefix + "no format chunk"},
        {"fmt passing the end", Riff(Concat(Chunk("data", pcm, 40), Chunk("fmt ", fmt16, 20))),
         prefix + "no format chunk"},
        {"no data", Riff(Chunk("fmt ", fmt16, 16)), prefix + "no data chunk"},
        // A chunk size that would wrap a 32-bit offset, or seek backwards, must end the scan.
        {"huge chunk size", Riff(Concat(Chunk("LIST", {}, 0xFFFFFFF8u), Chunk("fmt ", fmt16, 16))),
         prefix + "no format chunk"},
        {"truncated header", {'R', 'I', 'F', 'F', 4, 0}, "Failed to read 4 bytes from \"memory\" file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            SoundFileReaderWAV reader("audio\\test.wav", MemoryFile(c.file));
            ADD_FAILURE() << "accepted";
        } catch (const FileError& error) {
            EXPECT_EQ(error.GetText(), c.text);
        }
    }
}

TEST(SoundFileReaderOGG, DecodesTheWholeStreamAndRewinds) {
    const std::vector<uint8_t> mono = OggWriter(1, 22050, 0.3f).Encode(Tone(100000, 1, 440, 22050));
    SoundFileReaderOGG monoReader("audio\\mono.ogg", MemoryFile(mono));
    EXPECT_EQ(monoReader.GetDataSize(), 200000u);
    EXPECT_EQ(monoReader.GetChannels(), 1u);
    EXPECT_EQ(monoReader.GetSampleRate(), 22050u);
    EXPECT_EQ(monoReader.GetBitsPerSample(), 16u);

    const std::vector<uint8_t> stereo = OggWriter(2, 44100, 0.5f).Encode(Tone(30001, 2, 1000, 44100));
    SoundFileReaderOGG reader("audio\\stereo.ogg", MemoryFile(stereo));
    EXPECT_EQ(reader.GetDataSize(), 30001u * 4);
    const std::vector<uint8_t> first = ReadAll(reader, 0x6000);
    EXPECT_EQ(first.size(), reader.GetDataSize());
    reader.Rewind();
    EXPECT_EQ(ReadAll(reader, 999), first); // pieces that are not whole frames
    reader.Close();
    uint32_t count = 5;
    bool ended = false;
    uint8_t byte = 0;
    reader.Read(&byte, 1, count, ended);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(ended);
    reader.Open();
    EXPECT_EQ(ReadAll(reader, 0x6000), first);
    reader.Read(&byte, 0, count, ended); // nothing asked: nothing given, and the end
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(ended);
}

TEST(SoundFileReaderOGG, EndsBrokenStreamsInsteadOfLoopingForever) {
    const std::vector<uint8_t> good = OggWriter(1, 22050, 0.3f).Encode(Tone(60000, 1, 300, 22050));
    const std::string incorrect = "Failed to load \"data\\audio\\bad.ogg\" sound file - incorrect format";
    // Not an Ogg stream at all, and a stream whose headers are cut.
    for (const std::vector<uint8_t>& file :
         {WavWriter(1, 22050, 16).Build(Pcm(4000)), std::vector<uint8_t>(good.begin(), good.begin() + 60)}) {
        try {
            SoundFileReaderOGG reader("audio\\bad.ogg", MemoryFile(file));
            ADD_FAILURE() << "accepted";
        } catch (const FileError& error) {
            EXPECT_EQ(error.GetText(), incorrect);
        }
    }
    // Cut after two thirds: the length cannot be trusted, but the reads end.
    const std::vector<uint8_t> cut(good.begin(),
                                   good.begin() + static_cast<std::ptrdiff_t>(good.size() * 2 / 3));
    try {
        SoundFileReaderOGG reader("audio\\bad.ogg", MemoryFile(cut));
        EXPECT_LT(ReadAll(reader, 0x6000).size(), 120000u);
    } catch (const FileError& error) {
        EXPECT_EQ(error.GetText(), incorrect);
    }
    // Garbage over the middle of the stream: whatever decodes is delivered and the reads come to an end.
    std::vector<uint8_t> damaged = good;
    for (size_t i = damaged.size() / 3; i < damaged.size() / 3 + 3000; ++i)
        damaged[i] = static_cast<uint8_t>(i * 31);
    try {
        SoundFileReaderOGG reader("audio\\bad.ogg", MemoryFile(damaged));
        const std::vector<uint8_t> data = ReadAll(reader, 0x6000);
        EXPECT_LT(data.size(), 120000u);
        EXPECT_GT(data.size(), 20000u);
    } catch (const FileError& error) {
        EXPECT_EQ(error.GetText(), incorrect);
    }
}

TEST(SoundFileReaderOGG, SeekCallbackMapsOriginsOntoTheFile) {
    const std::vector<uint8_t> bytes = Pcm(100);
    std::unique_ptr<FileBinary> file(MemoryFile(bytes));
    struct Case {
        int whence;
        int64_t offset;
        int result;
        uint32_t position;
    };
    const Case cases[] = {
        {SEEK_SET, 40, 0, 40},  {SEEK_CUR, 5, 0, 45}, {SEEK_CUR, -15, 0, 30},
        {SEEK_END, -10, 0, 90}, {SEEK_END, 0, 0, 99}, // the file layer keeps the position within the file
        {7, 10, -1, 99},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SoundFileReaderOGG::OggSeekCallback(file.get(), c.offset, c.whence), c.result) << c.whence;
        EXPECT_EQ(SoundFileReaderOGG::OggTellCallback(file.get()), static_cast<long>(c.position)) << c.whence;
    }
    EXPECT_EQ(SoundFileReaderOGG::OggCloseCallback(file.get()), 0);
    file->Seek(0, 95);
    uint8_t out[10];
    EXPECT_EQ(SoundFileReaderOGG::OggReadCallback(out, 1, 10, file.get()), 5u);
}

TEST(SoundFileReaderEMP, DeliversEightBytesOfSilenceAgainAfterARewind) {
    SoundFileReaderEMP reader;
    EXPECT_EQ(reader.GetDataSize(), 8u);
    EXPECT_EQ(reader.GetChannels(), 1u);
    EXPECT_EQ(reader.GetBitsPerSample(), 8u);
    EXPECT_EQ(reader.GetSampleRate(), 22050u);
    EXPECT_EQ(ReadAll(reader, 3), std::vector<uint8_t>(8, 128));
    uint8_t byte = 0;
    uint32_t count = 1;
    bool ended = false;
    reader.Read(&byte, 1, count, ended);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(ended);
    reader.Rewind();
    EXPECT_EQ(ReadAll(reader, 100), std::vector<uint8_t>(8, 128));
}

TEST(SoundFileReaderOGG, TheReadLoopStepsOverHolesButNotOverLastingErrors) {
    struct Case {
        const char* what;
        std::vector<long> script; // what each decode call returns; the last value repeats forever
        uint32_t count;
        bool ended;
    };
    const Case cases[] = {
        {"whole request", {400}, 1000, false},
        {"end of data", {300, 0}, 300, true},
        {"a hole between data", {300, OV_HOLE, 200, 0}, 500, true},
        {"holes without end", {100, OV_HOLE}, 100, true},
        {"a broken link forever", {OV_EBADLINK}, 0, true},
        {"any other error", {200, OV_EINVAL}, 200, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t calls = 0;
        std::vector<char> out(1000);
        bool ended = false;
        const uint32_t count = SoundFileReaderOGG::ReadDecoded(
            out.data(), 1000,
            [&](char*, int length) {
                EXPECT_LT(calls, 1000u) << "the loop does not end";
                const long result = c.script[std::min(calls++, c.script.size() - 1)];
                return std::min<long>(result, length);
            },
            ended);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(ended, c.ended);
        if (calls >= 1000)
            break;
    }
}
