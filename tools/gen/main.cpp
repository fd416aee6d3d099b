// vb_datagen: makes the game's staged data tree and the files the build puts beside the executable.
//   vb_datagen --content <content> --out <staged> [--fonts <font folder>] [--only <family>]
//              [--profile full|minimal] [--exe-resources <file.cpp>] [--bin <folder>]
// --bin writes the player's guide and the link file "play.url" pointing to it into that folder.
//   vb_datagen --link-file <play.url> --help-folder <installed folder>
// writes only the link file of an installation, pointing to the guide in the folder it is installed to.
#include "tools/gen/ExeResources.h"
#include "tools/gen/ProgramIcon.h"
#include "tools/gen/GenError.h"
#include "tools/gen/Generate.h"
#include "tools/gen/LinkFile.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::string families;
    for (const std::string& family : VbGen::RecipeFamilies())
        families += " " + family;
    std::fprintf(stderr,
                 "usage: vb_datagen --content <content> --out <staged> [--fonts <folder>] [--only <family>]\n"
                 "                  [--profile full|minimal] [--exe-resources <file.cpp>] [--bin <folder>]\n"
                 "       vb_datagen --link-file <play.url> --help-folder <installed folder>\n"
                 "families:%s\n",
                 families.c_str());
    return 2;
}

// The system cursor and the window icon.
std::vector<VbGen::ExeResource> ExecutableResources() {
    std::vector<VbGen::ExeResource> resources = VbGen::ProgramResources();
    resources.push_back(VbGen::ProgramIconResource());
    return resources;
}

int Run(const std::vector<std::string>& args) {
    std::string content, out, exeResources, bin, linkFile, helpFolder;
    VbGen::Profile profile = VbGen::Profile::Full;
    VbGen::GenerateOptions options;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return Usage();
        const std::string& value = args[i + 1];
        if (args[i] == "--content")
            content = value;
        else if (args[i] == "--out")
            out = value;
        else if (args[i] == "--fonts")
            options.fontsDir = value;
        else if (args[i] == "--only")
            options.only = value;
        else if (args[i] == "--exe-resources")
            exeResources = value;
        else if (args[i] == "--bin")
            bin = value;
        else if (args[i] == "--link-file")
            linkFile = value;
        else if (args[i] == "--help-folder")
            helpFolder = value;
        else if (args[i] == "--profile" && (value == "full" || value == "minimal"))
            profile = value == "full" ? VbGen::Profile::Full : VbGen::Profile::Minimal;
        else
            return Usage();
    }
    if (!linkFile.empty() || !helpFolder.empty()) {
        if (linkFile.empty() || helpFolder.empty() || !content.empty() || !out.empty())
            return Usage();
        VbGen::WriteInstalledLinkFile(linkFile, helpFolder);
        return 0;
    }
    if (content.empty() || out.empty())
        return Usage();

    VbGen::GenerateReport report = VbGen::Generate(profile, content, out, options);
    int extra = 0;
    if (!exeResources.empty())
        extra += VbGen::WriteExeResources(ExecutableResources(), exeResources);
    if (!bin.empty()) {
        extra += VbGen::WriteLinkFile(content, bin);
        extra += VbGen::WriteProgramIconPng(bin);
    }
    std::printf("vb_datagen: %s: %d written, %d unchanged, %d deleted; %d build files written\n", out.c_str(),
                report.written, report.unchanged, report.deleted, extra);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vb_datagen: %s\n", error.what());
        return 1;
    }
}
