// Throughput of the game's XML reader on a large window description, beside a fast general XML reader
// parsing the same bytes in the same run. The counter "MB" is 10^6 bytes of UTF-8 source per second.
#include "engine/core/StringUtils.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

namespace {

// A description file as the window tools read it: faders, then many windows of nested controls with
// the attributes the controls take, text labels with localised text, comments and a declaration.
std::string MakeWindowDescription(int windows) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<descriptions>\r\n  <faders>\r\n";
    for (int f = 0; f < 20; ++f)
        xml +=
            "    <fader name=\"fader_" + std::to_string(f) +
            "\" type=\"timed\" show_speed=\"2.5\" hide_speed=\"3\" min=\"0\" max=\"1\" fade_offset=\"0.1\" "
            "show_offset=\"0.25\" hide_offset=\"0\"/>\r\n";
    xml += "  </faders>\r\n";
    for (int w = 0; w < windows; ++w) {
        const std::string name = "window_" + std::to_string(w);
        xml += "  <!-- the " + name + " screen -->\r\n";
        xml += "  <window name=\"" + name + "\" model=\"windows/frame\" shader=\"windows/frame_" +
               std::to_string(w % 7) + "\" position=\"0 0\" size=\"800 600\" fader=\"fader_" +
               std::to_string(w % 20) + "\">\r\n";
        for (int p = 0; p < 6; ++p) {
            xml += "    <window name=\"panel_" + std::to_string(p) +
                   "\" template=\"panel_template\" position=\"" + std::to_string(40 + p * 120) +
                   " 80\" size=\"110 400\" height=\"" + std::to_string(p + 1) + "\">\r\n";
            for (int c = 0; c < 8; ++c) {
                const std::string id = std::to_string(c);
                if (c % 3 == 0)
                    xml += "      <button name=\"button_" + id +
                           "\" model=\"buttons/long\" shader=\"buttons/blue\" "
                           "position=\"5 " +
                           std::to_string(c * 45) +
                           "\" size=\"100 40\" "
                           "selection_position=\"2 2\" selection_size=\"96 36\" uv=\"1 0.5\"/>\r\n";
                else if (c % 3 == 1)
                    xml += "      <text_label name=\"label_" + id +
                           "\" font=\"menu_font\" color=\"1 0.85 0.2 1\" "
                           "position=\"5 " +
                           std::to_string(c * 45) +
                           "\" size=\"100 40\" alignment=\"17\">"
                           "Spielstände – Höchstwerte № " +
                           id + "</text_label>\r\n";
                else
                    xml += "      <check_box name=\"check_" + id +
                           "\" model=\"boxes/check\" language=\"en\" "
                           "position=\"5 " +
                           std::to_string(c * 45) +
                           "\" size=\"32 32\" show_action=\"show\" "
                           "hide_action=\"hide\"/>\r\n";
            }
            xml += "    </window>\r\n";
        }
        xml += "  </window>\r\n";
    }
    xml += "</descriptions>\r\n";
    return xml;
}

const std::string& Source() {
    static const std::string source = MakeWindowDescription(300);
    return source;
}

void SetThroughput(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["MB"] =
        benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["source_MB"] = static_cast<double>(bytes) / 1e6;
}

// The parse alone, from the wide text the file layer hands over.
void XMLParser_WideText(benchmark::State& state) {
    const std::wstring text = OrvexEngine::ToWide(Source());
    for (auto _ : state) {
        GameTools::XMLNode document;
        GameTools::XMLNode* root = &document;
        GameTools::XMLParser().ParseText(root, text);
        benchmark::DoNotOptimize(document.children.size());
    }
    SetThroughput(state, Source().size());
}

// Decoding the UTF-8 bytes to wide text and parsing, which is what loading a file costs after the read.
void XMLParser_Utf8Bytes(benchmark::State& state) {
    for (auto _ : state) {
        const std::wstring text = OrvexEngine::ToWide(Source());
        GameTools::XMLNode document;
        GameTools::XMLNode* root = &document;
        GameTools::XMLParser().ParseText(root, text);
        benchmark::DoNotOptimize(document.children.size());
    }
    SetThroughput(state, Source().size());
}

// The reference reader on the same bytes, with its default options, building its own tree.
void Pugixml_Utf8Bytes(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document document;
        pugi::xml_parse_result result = document.load_buffer(Source().data(), Source().size());
        if (!result)
            state.SkipWithError(result.description());
        benchmark::DoNotOptimize(document.first_child());
    }
    SetThroughput(state, Source().size());
}

} // namespace

BENCHMARK(XMLParser_WideText)->Unit(benchmark::kMillisecond);
BENCHMARK(XMLParser_Utf8Bytes)->Unit(benchmark::kMillisecond);
BENCHMARK(Pugixml_Utf8Bytes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
