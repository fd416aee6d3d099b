// Writes the fuzz targets' seed files, made by the same writers the tests build their fixtures with, so that
// each target starts from inputs its reader accepts instead of from nothing:
//   FuzzSeeds <corpus folder>    one folder per target below it, files "seed-<n>" (existing ones are kept)
#include "tools/formats/BmpWriter.h"
#include "tools/formats/DdsWriter.h"
#include "tools/formats/FontWriter.h"
#include "tools/formats/JpegWriter.h"
#include "tools/formats/OggWriter.h"
#include "tools/formats/PackWriter.h"
#include "tools/formats/Picture.h"
#include "tools/formats/PngWriter.h"
#include "tools/formats/StageMapWriter.h"
#include "tools/formats/TexturePackWriter.h"
#include "tools/formats/TgaWriter.h"
#include "tools/formats/WavWriter.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void Seed(const fs::path& corpus, const std::string& target, const std::vector<Bytes>& seeds) {
    fs::create_directories(corpus / target);
    for (size_t i = 0; i < seeds.size(); ++i) {
        fs::path file = corpus / target / ("seed-" + std::to_string(i));
        if (!fs::exists(file))
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(seeds[i].data()), std::streamsize(seeds[i].size()));
    }
}

VelmoraFormats::Picture Gradient(uint32_t width, uint32_t height, uint32_t channels) {
    VelmoraFormats::Picture picture(width, height, channels);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            for (uint32_t c = 0; c < channels; ++c)
                picture.At(x, y)[c] = static_cast<uint8_t>(x * 40 + y * 20 + c * 60);
    return picture;
}

Bytes Pack() {
    VbFormats::PackWriter pack;
    pack.Add("ui\\texts\\texts.xml", "<texts/>");
    pack.Add("audio\\a.wav", "RIFF");
    pack.Add("x.txt", "x");
    return pack.Build();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: FuzzSeeds <corpus folder>\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    using namespace VelmoraFormats;
    const Picture rgba = Gradient(5, 3, 4);
    const Picture rgb = Gradient(8, 8, 3);
    const Picture grey = Gradient(4, 4, 1);

    Seed(corpus, "ImagePngFuzz",
         {WritePng(rgba), WritePng(grey, {PngColour::Grey, 16, true}),
          WritePng(rgb, {PngColour::RGB, 8, false})});
    Seed(corpus, "ImageJpegFuzz", {WriteJpeg(rgb), WriteJpeg(grey, {75, true})});
    Seed(corpus, "ImageBmpFuzz", {WriteBmp(rgb), WriteBmp(rgba, {32}), WriteBmp(grey, {8})});
    Seed(corpus, "ImageTgaFuzz",
         {WriteTga(rgb), WriteTga(rgba, {32, true, true, "id"}), WriteTga(grey, {8}),
          WriteTga(rgba, {16, true})});
    Seed(corpus, "ImageDdsFuzz",
         {WriteDds(rgba, {DdsFormat::DXT1, true}), WriteDds(rgba, {DdsFormat::DXT5, false}),
          WriteDds(rgb, {DdsFormat::A8R8G8B8, true}),
          WriteDds(grey.WithChannels(3), {DdsFormat::R5G6B5, false})});

    std::vector<int16_t> tone;
    for (int i = 0; i < 2 * 600; ++i)
        tone.push_back(static_cast<int16_t>(8000 * std::sin(i * 0.05)));
    Bytes pcm8(300);
    for (size_t i = 0; i < pcm8.size(); ++i)
        pcm8[i] = static_cast<uint8_t>(128 + 60 * std::sin(i * 0.1));
    Seed(corpus, "SoundFileReaderFuzz",
         {VbFormats::WavWriter(2, 22050, 16).Build(VbFormats::WavWriter::Bytes(tone)),
          VbFormats::WavWriter(1, 11025, 8).Build(pcm8), VbFormats::OggWriter(2, 22050).Encode(tone)});

    Seed(corpus, "FontFileFuzz",
         {VbFormats::FontWriter::Write({{'A', 0, 0, 0.1f, 0.1f, 0.8f},
                                        {'b', 0.1f, 0, 0.1f, 0.1f, 0.6f},
                                        {0x4E2D, 0.2f, 0.5f, 0.1f, 0.1f, 1}})});
    Seed(corpus, "TexturePackFuzz",
         {VbFormats::TexturePackWriter::Write(
             {{"icons", {{7, {0.25f, 0.5f}, {0.125f, 0.0625f}, {3, -4}}, {8, {}, {}, {}}}}, {"empty", {}}})});
    Bytes appended = Pack();
    const auto packSize = static_cast<uint32_t>(appended.size());
    for (int i = 0; i < 4; ++i)
        appended.push_back(static_cast<uint8_t>(packSize >> (8 * i)));
    appended.insert(appended.end(), {'A', 'P', 'C'});
    Seed(corpus, "ExecutablePackFuzz", {appended});
    Seed(corpus, "PackFileFuzz", {Pack()});
    // The level readers' targets make the header themselves: their seeds are bodies only.
    VbFormats::StageMapIcon check;
    check.type = VbFormats::StageMapWriter::typeCheckPoint;
    const Bytes map = VbFormats::StageMapWriter::Write({{}, check, {}});
    Seed(corpus, "StageMapFuzz", {Bytes(map.begin() + 13, map.end())});
    Seed(corpus, "SettingsFileFuzz",
         {Text("v_mode 1024x768x32\r\nv_gamma 1.500000\r\ng_count 7 // a comment\r\n\\\\say a  b \\\\ "
               "remark\r\n"),
          Text("\xEF\xBB\xBFv_fullscreen 1\nunknown_name 5\nreset_config\n")});
    Seed(corpus, "TextFileFuzz",
         {Text("first line\r\nsecond // comment\rthird\n1.5 -2 x_y\n"),
          Bytes{0xFF, 0xFE, 'A', 0, 0x3D, 0xD8, 0x00, 0xDE, '\n', 0},
          Text("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80\r\n")});
    Seed(corpus, "ResourceListFuzz",
         {Text("<resources><group name=\"ui/\"><model name=\"ball\" file=\"models/ball.mlf\"/>"
               "<loop counter=\"i\" start=\"0\" count=\"3\"><sound name=\"hit{i}\" "
               "file=\"audio/hit{i}.wav\"/></loop>"
               "<texture name=\"flag\" language=\"ru\"/></group></resources>")});
    Seed(corpus, "TextsFileFuzz",
         {Text("<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><texts language=\"en\"><text key=\"title\">"
               "Velmora</text><text key=\"menu/start\">Start</text></texts></root>")});
    return 0;
}
