#include "engine/sound/SoundFileReaderOGG.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace OrvexEngine {

namespace {

// Holes in a row that a read steps over before it takes the stream as broken.
constexpr int MaxHolesInARow = 64;

} // namespace

SoundFileReaderOGG::SoundFileReaderOGG(const std::string& fileName) : SoundFileReader(fileName) {
    ReadInfo();
}

SoundFileReaderOGG::SoundFileReaderOGG(const std::string& fileName, FileBinary* openFile)
    : SoundFileReader(fileName, openFile) {
    ReadInfo();
}

SoundFileReaderOGG::~SoundFileReaderOGG() {
    Close();
}

void SoundFileReaderOGG::ReadInfo() {
    bitsPerSample = 16; // the decoder always delivers 16-bit samples here
    callbacks.read_func = &OggReadCallback;
    callbacks.seek_func = &OggSeekCallback;
    callbacks.close_func = &OggCloseCallback;
    callbacks.tell_func = &OggTellCallback;
    Open();
    const vorbis_info* info = decoder != nullptr ? ov_info(decoder, -1) : nullptr;
    const ogg_int64_t total = decoder != nullptr ? ov_pcm_total(decoder, -1) : OV_EINVAL;
    if (info == nullptr || total < 0 || info->channels < 1 || info->rate < 1) {
        Close();
        throw FileError(LoadErrorText("incorrect format"));
    }
    sampleRate = static_cast<uint32_t>(info->rate);
    channels = static_cast<uint32_t>(info->channels);
    // Kept in 32 bits: a stream longer than that plays the first 4 GiB instead of wrapping to a short one.
    const uint64_t bytes = static_cast<uint64_t>(total) * channels * 2;
    dataSize = static_cast<uint32_t>(std::min<uint64_t>(bytes, std::numeric_limits<uint32_t>::max()));
}

void SoundFileReaderOGG::Open() {
    if (decoder != nullptr) {
        Rewind();
        return;
    }
    file->Seek(0, 0);
    decoder = new OggVorbis_File;
    if (ov_open_callbacks(file, decoder, nullptr, 0, callbacks) < 0) {
        // A failed open has already cleared the decoder state.
        delete decoder;
        decoder = nullptr;
    }
}

void SoundFileReaderOGG::Close() {
    if (decoder == nullptr)
        return;
    ov_clear(decoder);
    delete decoder;
    decoder = nullptr;
}

void SoundFileReaderOGG::Rewind() {
    if (decoder != nullptr)
        ov_pcm_seek(decoder, 0);
}

void SoundFileReaderOGG::Read(void* destination, uint32_t bytes, uint32_t& count, bool& ended) {
    count = 0;
    ended = true;
    if (decoder == nullptr || bytes == 0)
        return;
    // The decoder hands out whole frames and takes a request shorter than one as the end of the stream.
    bytes -= bytes % (channels * 2);
    count = ReadDecoded(
        static_cast<char*>(destination), bytes,
        [this](char* out, int length) {
            int section = 0;
            return ov_read(decoder, out, length, 0, 2, 1, &section);
        },
        ended);
}

uint32_t SoundFileReaderOGG::ReadDecoded(char* out, uint32_t bytes,
                                         const std::function<long(char*, int)>& decode, bool& ended) {
    uint32_t count = 0;
    int holes = 0;
    ended = false;
    while (count < bytes) {
        const long got = decode(out + count, static_cast<int>(bytes - count));
        if (got == 0) {
            ended = true;
            break;
        }
        if (got < 0) {
            // A hole (lost or corrupt pages) is stepped over; any other error, or holes without end, would
            // come back on every call, so the data ends there.
            if (got == OV_HOLE && ++holes <= MaxHolesInARow)
                continue;
            ended = true;
            break;
        }
        holes = 0;
        count += static_cast<uint32_t>(got);
    }
    return count;
}

size_t SoundFileReaderOGG::OggReadCallback(void* destination, size_t size, size_t count, void* file) {
    const uint64_t wanted = static_cast<uint64_t>(size) * count;
    uint32_t read = 0;
    static_cast<FileBinary*>(file)->Read(
        destination, static_cast<uint32_t>(std::min<uint64_t>(wanted, std::numeric_limits<uint32_t>::max())),
        &read);
    return read;
}

int SoundFileReaderOGG::OggSeekCallback(void* file, ogg_int64_t offset, int whence) {
    auto* binary = static_cast<FileBinary*>(file);
    switch (whence) {
    case SEEK_SET:
        binary->Seek(0, static_cast<int32_t>(offset));
        return 0;
    case SEEK_CUR:
        binary->Seek(2, static_cast<int32_t>(offset));
        return 0;
    case SEEK_END:
        // Origin 1 counts back from the end, so the decoder's negative offset is turned around.
        binary->Seek(1, static_cast<int32_t>(-offset));
        return 0;
    default:
        return -1;
    }
}

int SoundFileReaderOGG::OggCloseCallback(void* /*file*/) {
    return 0; // the file belongs to the reader
}

long SoundFileReaderOGG::OggTellCallback(void* file) {
    return static_cast<long>(static_cast<FileBinary*>(file)->GetPosition());
}

} // namespace OrvexEngine
