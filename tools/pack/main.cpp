// vb_pack: builds the game's pack files and looks into them.
//   vb_pack --plan <packs.txt> --in <staged folder> --out <data folder> [--packed | --loose]
//   vb_pack --create <file.pak> <folder>     every file below the folder, named relative to it
//   vb_pack --list <file.pak>                 member names, offsets and sizes
//   vb_pack --extract <file.pak> <folder>
#include "tools/formats/FormatError.h"
#include "tools/formats/PackBuilder.h"
#include "tools/formats/PackReader.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: vb_pack --plan <packs.txt> --in <staged> --out <data> [--packed|--loose]\n"
                         "       vb_pack --create <file.pak> <folder>\n"
                         "       vb_pack --list <file.pak>\n"
                         "       vb_pack --extract <file.pak> <folder>\n");
    return 2;
}

int Run(const std::vector<std::string>& args) {
    if (args.size() == 3 && args[0] == "--create") {
        VbFormats::PackWriter writer = VbFormats::PackFolder(args[2]);
        writer.Save(args[1]);
        std::printf("%s: %zu members\n", args[1].c_str(), writer.MemberCount());
        return 0;
    }
    if (args.size() == 2 && args[0] == "--list") {
        VbFormats::PackReader reader(args[1]);
        for (const VbFormats::PackReader::Member& member : reader.Members())
            std::printf("%10u %10u  %s\n", member.offset, member.size, member.name.c_str());
        return 0;
    }
    if (args.size() == 3 && args[0] == "--extract") {
        VbFormats::ExtractPack(args[1], args[2]);
        return 0;
    }
    std::string plan, in, out;
    bool packed = true;
    for (size_t i = 0; i < args.size(); ++i) {
        bool hasValue = i + 1 < args.size();
        if (args[i] == "--plan" && hasValue)
            plan = args[++i];
        else if (args[i] == "--in" && hasValue)
            in = args[++i];
        else if (args[i] == "--out" && hasValue)
            out = args[++i];
        else if (args[i] == "--packed")
            packed = true;
        else if (args[i] == "--loose")
            packed = false;
        else
            return Usage();
    }
    if (plan.empty() || in.empty() || out.empty())
        return Usage();
    VbFormats::PackBuilder::Report report = VbFormats::PackBuilder::FromFile(plan).LayOut(in, out, packed);
    std::printf("%s: %d written, %d unchanged, %d deleted\n", out.c_str(), report.written, report.unchanged,
                report.deleted);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return Run(args);
    } catch (const VbFormats::FormatError& error) {
        std::fprintf(stderr, "vb_pack: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vb_pack: %s\n", error.what());
        return 1;
    }
}
