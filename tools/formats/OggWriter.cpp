#include "tools/formats/OggWriter.h"

#include "tools/formats/WavWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace VbFormats {

namespace {

void Append(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// The encoder's state for one stream, freed in reverse order of set-up whatever happens.
struct Encoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool dspReady = false;
    bool streamReady = false;

    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        if (streamReady)
            ogg_stream_clear(&stream);
        if (dspReady) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

} // namespace

OggWriter::OggWriter(uint16_t channelCount, uint32_t rate, float vbrQuality, int streamSerial)
    : channels(channelCount), sampleRate(rate), quality(vbrQuality), serial(streamSerial) {
    if (channels < 1 || channels > 2)
        throw std::invalid_argument("Ogg: 1 or 2 channels");
}

std::vector<uint8_t> OggWriter::Encode(const std::vector<int16_t>& samples) const {
    if (samples.size() % channels != 0)
        throw std::invalid_argument("Ogg: the samples hold whole frames");
    Encoder encoder;
    if (vorbis_encode_init_vbr(&encoder.info, channels, static_cast<long>(sampleRate), quality) != 0)
        throw std::invalid_argument("Ogg: the encoder cannot take " + std::to_string(sampleRate) + " Hz");
    vorbis_analysis_init(&encoder.dsp, &encoder.info);
    vorbis_block_init(&encoder.dsp, &encoder.block);
    encoder.dspReady = true;
    ogg_stream_init(&encoder.stream, serial);
    encoder.streamReady = true;

    std::vector<uint8_t> out;
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&encoder.stream, &identification);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&encoder.stream, &page) != 0)
        Append(out, page);

    const size_t frames = samples.size() / channels;
    constexpr size_t Chunk = 4096;
    size_t done = 0;
    bool ended = false;
    while (!ended) {
        const size_t count = std::min(Chunk, frames - done);
        if (count > 0) {
            float** input = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
            for (size_t i = 0; i < count; ++i)
                for (uint16_t c = 0; c < channels; ++c)
                    input[c][i] = static_cast<float>(samples[(done + i) * channels + c]) / 32768.0f;
            vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
            done += count;
        } else {
            vorbis_analysis_wrote(&encoder.dsp, 0); // the end of the stream
        }
        while (vorbis_analysis_blockout(&encoder.dsp, &encoder.block) == 1) {
            vorbis_analysis(&encoder.block, nullptr);
            vorbis_bitrate_addblock(&encoder.block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&encoder.dsp, &packet) != 0) {
                ogg_stream_packetin(&encoder.stream, &packet);
                while (ogg_stream_pageout(&encoder.stream, &page) != 0) {
                    Append(out, page);
                    if (ogg_page_eos(&page))
                        ended = true;
                }
            }
        }
        if (count == 0)
            ended = true;
    }
    while (ogg_stream_flush(&encoder.stream, &page) != 0)
        Append(out, page);
    return out;
}

void OggWriter::Save(const std::string& path, const std::vector<int16_t>& samples) const {
    WavWriter::WriteFile(path, Encode(samples));
}

} // namespace VbFormats
