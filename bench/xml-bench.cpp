// Throughput of the game's XML reader beside two general XML readers (a fast one and a small one that also
// builds a tree of objects) on the same files in the same run: a large window description and a larger
// level file, each loaded from the disk cache as the game loads it, the readers taking turns for three
// rounds. The counter "MB" is 10^6 bytes of UTF-8 source per second; the end prints the best time of each
// and the ratios (above 1: ours is faster).
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileManager.h"
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

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

// A level file: groups of placed blocks with numeric attributes, text values with numbers and names,
// nested deeper than the window descriptions and with fewer attributes per element.
std::string MakeLevel(int groups) {
    std::string xml = "<?xml version=\"1.0\"?>\n<level name=\"bench\" version=\"3\">\n";
    for (int g = 0; g < groups; ++g) {
        xml += "  <group name=\"group_" + std::to_string(g) + "\">\n";
        for (int b = 0; b < 20; ++b) {
            const std::string id = std::to_string(g * 20 + b);
            xml += "    <block type=\"stone_" + std::to_string(b % 5) + "\" position=\"" + id + ".5 " +
                   std::to_string(b) + ".25 -" + id + "\" rotation=\"0 " + std::to_string(b * 15) +
                   " 0\">\n      <size>1.5 2 0.75</size>\n      <hits>" + std::to_string(b % 4) +
                   "</hits>\n      <!-- breaks after the hits -->\n      <drop chance='0.25'>bonus_" +
                   std::to_string(b % 3) + "</drop>\n    </block>\n";
        }
        xml += "  </group>\n";
    }
    xml += "</level>\n";
    return xml;
}

// The documents as files below a folder of their own, which the run removes again.
struct Documents {
    Documents() {
        folder = std::filesystem::temp_directory_path() / ("xml-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        Write("windows.xml", MakeWindowDescription(300));
        Write("level.xml", MakeLevel(1300));
        OrvexEngine::MessageManager::Instance(&log);
        files = std::make_unique<OrvexEngine::FileManager>(folder.string(), false, "data", 0);
        OrvexEngine::FileManager::Instance(files.get());
    }
    ~Documents() {
        OrvexEngine::FileManager::Instance(nullptr);
        files.reset();
        OrvexEngine::MessageManager::Instance(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
        sizes[name] = text.size();
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    OrvexEngine::MessageManager log{"Bench", false, false, "", ""};
    std::filesystem::path folder;
    std::map<std::string, size_t> sizes;
    std::unique_ptr<OrvexEngine::FileManager> files;
};

Documents* documents = nullptr;

void SetThroughput(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["MB"] =
        benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["source_MB"] = static_cast<double>(bytes) / 1e6;
}

// The game's way: the file through the file manager into a document node, then the tree deleted.
void Ours(benchmark::State& state, const std::string& name) {
    const std::string path = documents->Path(name);
    for (auto _ : state) {
        GameTools::XMLNode document;
        GameTools::XMLParser().Load(&document, path);
        benchmark::DoNotOptimize(document.children.size());
    }
    SetThroughput(state, documents->sizes[name]);
}

// The reference reader with its default options on the same file, building and deleting its own tree.
void Reference(benchmark::State& state, const std::string& name) {
    const std::string path = documents->Path(name);
    for (auto _ : state) {
        pugi::xml_document document;
        pugi::xml_parse_result result = document.load_file(path.c_str());
        if (!result)
            state.SkipWithError(result.description());
        benchmark::DoNotOptimize(document.first_child());
    }
    SetThroughput(state, documents->sizes[name]);
}

// The small reader on the same file, building and deleting its own tree.
void SmallReader(benchmark::State& state, const std::string& name) {
    const std::string path = documents->Path(name);
    for (auto _ : state) {
        tinyxml2::XMLDocument document;
        if (document.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS)
            state.SkipWithError(document.ErrorStr());
        benchmark::DoNotOptimize(document.RootElement());
    }
    SetThroughput(state, documents->sizes[name]);
}

// The parse of wide text already in memory, which callers with a string use.
void OursWideText(benchmark::State& state) {
    std::ifstream in(documents->Path("windows.xml"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::wstring text = OrvexEngine::ToWide(bytes);
    for (auto _ : state) {
        GameTools::XMLNode document;
        GameTools::XMLNode* root = &document;
        GameTools::XMLParser().ParseText(root, text);
        benchmark::DoNotOptimize(document.children.size());
    }
    SetThroughput(state, bytes.size());
}

// Prints as usual and keeps the best time per iteration of every benchmark for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const double seconds = run.GetAdjustedRealTime();
            auto [place, added] = best.emplace(name, seconds);
            if (!added)
                place->second = std::min(place->second, seconds);
        }
    }
    void PrintRatios() const {
        std::printf(
            "\nBest of the rounds (ms), ratio = their time / our time (the share of their speed we reach):\n");
        for (const char* name : {"windows.xml", "level.xml"}) {
            const auto find = [&](const char* reader) {
                const auto found = best.find(std::string(reader) + "/" + name);
                return found != best.end() ? found->second : 0.0;
            };
            const double ours = find("Ours");
            const double megabytes = documents->sizes.at(name) / 1e6;
            std::printf("  %-12s %5.1f MB  ours %7.2f ms %7.0f MB/s\n", name, megabytes, ours,
                        megabytes * 1e3 / ours);
            for (const char* reader : {"Reference", "SmallReader"}) {
                const double theirs = find(reader);
                if (theirs > 0 && ours > 0)
                    std::printf("  %-12s %-11s %7.2f ms %7.0f MB/s   ratio %.2f\n", "", reader, theirs,
                                megabytes * 1e3 / theirs, theirs / ours);
            }
        }
    }

private:
    std::map<std::string, double> best;
};

} // namespace

int main(int argc, char** argv) {
    Documents files;
    documents = &files;
    // Rounds in turn, so that a change in the machine's load falls on both readers alike.
    for (int round = 0; round < 3; ++round) {
        for (const char* name : {"windows.xml", "level.xml"}) {
            benchmark::RegisterBenchmark((std::string("Ours/") + name).c_str(), Ours, std::string(name))
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((std::string("Reference/") + name).c_str(), Reference,
                                         std::string(name))
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((std::string("SmallReader/") + name).c_str(), SmallReader,
                                         std::string(name))
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("OursWideText/windows.xml", OursWideText)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
