// Image loading and resampling costs on texture-sized pictures: the readers over files in memory, the DXT
// decoder, and the three resize filters.
#include "engine/files/FileBinary.h"
#include "engine/graphics/FileDDS.h"
#include "engine/graphics/Image.h"
#include "tools/formats/DdsWriter.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/PngWriter.h"
#include "tools/formats/TgaWriter.h"

#include <benchmark/benchmark.h>

using namespace OrvexEngine;
using namespace VelmoraFormats;

namespace {

Picture Noise(uint32_t size) {
    Picture picture(size, size, 4);
    uint32_t state = 12345;
    for (uint8_t& byte : picture.pixels) {
        state = state * 1103515245u + 12345u;
        byte = uint8_t(state >> 24);
    }
    return picture;
}

using Reader = void (Image::*)(FileBinary&, const std::string&, bool);

void Read(benchmark::State& state, const std::vector<uint8_t>& bytes, Reader reader) {
    for (auto _ : state) {
        FileBinary file("bench", false, 0, uint32_t(bytes.size()), bytes.data(), false);
        Image image;
        (image.*reader)(file, "bench", true);
        benchmark::DoNotOptimize(image.data);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 512 * 512 * 4);
}

void ReadPng(benchmark::State& state) {
    static const std::vector<uint8_t> bytes = WritePng(Noise(512), {PngColour::RGBA, 8, false});
    Read(state, bytes, &Image::ReadPNG);
}
BENCHMARK(ReadPng);

void ReadJpeg(benchmark::State& state) {
    static const std::vector<uint8_t> bytes = WriteJpeg(Noise(512).WithChannels(3));
    Read(state, bytes, &Image::ReadJPEG);
}
BENCHMARK(ReadJpeg);

void ReadTgaRunLength(benchmark::State& state) {
    TgaOptions options;
    options.depth = 32;
    options.runLength = true;
    static const std::vector<uint8_t> bytes = WriteTga(Noise(512), options);
    Read(state, bytes, &Image::ReadTGA);
}
BENCHMARK(ReadTgaRunLength);

void DecodeDxt5(benchmark::State& state) {
    static const std::vector<uint8_t> bytes = WriteDds(Noise(512), {DdsFormat::DXT5, false});
    for (auto _ : state) {
        FileDDS dds(new FileBinary("bench", false, 0, uint32_t(bytes.size()), bytes.data(), false), 0);
        Image image;
        dds.ReadLevel(0, image);
        benchmark::DoNotOptimize(image.data);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 512 * 512 * 4);
}
BENCHMARK(DecodeDxt5);

void Resize(benchmark::State& state) {
    const Picture picture = Noise(512);
    Image source;
    source.Create(512, 512, 32, true);
    std::copy(picture.pixels.begin(), picture.pixels.end(), source.data);
    for (auto _ : state) {
        Image out;
        source.Resize(300, 300, ResizeFilter(state.range(0)), out);
        benchmark::DoNotOptimize(out.data);
    }
}
BENCHMARK(Resize)->Arg(Nearest)->Arg(Bilinear)->Arg(Bicubic);

} // namespace

BENCHMARK_MAIN();
