#include "tools/formats/PackBuilder.h"

#include "tools/formats/BinaryWriter.h"
#include "tools/formats/FormatError.h"
#include "tools/formats/PackReader.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace VbFormats {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool Matches(const std::string& pattern, const std::string& name) {
    if (!pattern.empty() && pattern.back() == '\\')
        return name.compare(0, pattern.size(), pattern) == 0;
    return name == pattern;
}

// Every regular file below a folder, sorted by path.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Writes the bytes unless the file already holds exactly them.
void WriteIfDifferent(const fs::path& path, const std::vector<uint8_t>& bytes, PackBuilder::Report& report) {
    std::error_code error;
    if (fs::is_regular_file(path, error) && fs::file_size(path, error) == bytes.size() &&
        LoadBytes(path.string()) == bytes) {
        ++report.unchanged;
        return;
    }
    SaveBytes(path.string(), bytes);
    ++report.written;
}

} // namespace

std::string MemberNameOf(const std::string& folder, const std::string& file) {
    std::string name = Lower(fs::path(file).lexically_relative(folder).generic_string());
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

PackBuilder::PackBuilder(const std::string& planText) {
    std::istringstream in(planText);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        text = text.substr(0, text.find('#'));
        std::istringstream words(text);
        Line line;
        if (!(words >> line.output))
            continue;
        std::string pattern;
        while (words >> pattern)
            line.patterns.push_back(Lower(pattern));
        if (line.patterns.empty())
            throw FormatError("pack plan line " + std::to_string(number) + " names no files");
        if (line.output != "loose" && (line.output.find_first_of("/\\") != std::string::npos ||
                                       fs::path(line.output).extension() != ".pak"))
            throw FormatError("pack plan line " + std::to_string(number) +
                              ": an output is loose or a *.pak name");
        lines.push_back(line);
    }
}

PackBuilder PackBuilder::FromFile(const std::string& planPath) {
    std::vector<uint8_t> bytes = LoadBytes(planPath);
    return PackBuilder(std::string(bytes.begin(), bytes.end()));
}

const std::string& PackBuilder::OutputOf(const std::string& memberName) const {
    const Line* found = nullptr;
    for (const Line& line : lines) {
        for (const std::string& pattern : line.patterns) {
            if (!Matches(pattern, memberName))
                continue;
            if (found != nullptr && found != &line)
                throw FormatError(memberName + " matches more than one line of the pack plan");
            found = &line;
        }
    }
    if (found == nullptr)
        throw FormatError(memberName + " matches no line of the pack plan");
    return found->output;
}

bool PackBuilder::Places(const std::string& name) const {
    // A file replaced half-way by a killed run leaves its temporary copy beside it.
    const std::string suffix = ".tmp";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        return Places(name.substr(0, name.size() - suffix.size()));
    for (const Line& line : lines) {
        if (line.output == name)
            return true;
        for (const std::string& pattern : line.patterns)
            if (Matches(pattern, name))
                return true;
    }
    return false;
}

PackBuilder::Report PackBuilder::LayOut(const std::string& stagedDir, const std::string& outDir, bool packed,
                                        uint32_t maxPackSize) const {
    std::error_code error;
    if (!fs::is_directory(stagedDir, error))
        throw FormatError("no staged data folder at " + stagedDir);
    // Everything in the output folder that the plan does not produce is deleted: never let that be a root,
    // or a folder that holds the staged tree itself.
    fs::path out = fs::absolute(outDir, error).lexically_normal();
    fs::path staged = fs::absolute(stagedDir, error).lexically_normal();
    fs::path stagedRelative = staged.lexically_relative(out);
    if (outDir.empty() || !out.has_relative_path() || out.relative_path() == "." ||
        (!stagedRelative.empty() && *stagedRelative.begin() != ".."))
        throw FormatError("refusing to lay out data into " + outDir);
    // Files the plan does not place are deleted below: a folder holding anything else was not laid out by
    // this plan (a wrong --out), and none of its files may go.
    for (const fs::path& file : FilesBelow(outDir)) {
        std::string member = MemberNameOf(outDir, file.string());
        if (!Places(member))
            throw FormatError("refusing to lay out data into " + outDir + ": it holds " + member +
                              ", which the pack plan does not place");
    }

    Report report;
    std::set<fs::path> produced;
    std::map<std::string, PackWriter> packs;
    for (const fs::path& file : FilesBelow(stagedDir)) {
        std::string member = MemberNameOf(stagedDir, file.string());
        fs::path relative = file.lexically_relative(stagedDir);
        const std::string& output = OutputOf(member);
        if (!packed || output == "loose") {
            fs::path target = fs::path(outDir) / relative;
            WriteIfDifferent(target, LoadBytes(file.string()), report);
            produced.insert(target.lexically_normal());
        } else {
            packs[output].Add(member, LoadBytes(file.string()));
        }
    }
    for (const auto& [name, writer] : packs) {
        std::vector<uint8_t> bytes = writer.Build();
        if (bytes.size() > maxPackSize)
            throw FormatError(name + " is larger than " + std::to_string(maxPackSize) + " bytes");
        fs::path target = fs::path(outDir) / name;
        WriteIfDifferent(target, bytes, report);
        produced.insert(target.lexically_normal());
    }

    for (const fs::path& file : FilesBelow(outDir)) {
        if (produced.count(file.lexically_normal()) == 0) {
            fs::remove(file);
            ++report.deleted;
        }
    }
    // Folders left empty by the deletions go too, deepest first.
    std::vector<fs::path> folders;
    if (fs::is_directory(outDir, error))
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(outDir))
            if (entry.is_directory() && !entry.is_symlink())
                folders.push_back(entry.path());
    std::sort(folders.rbegin(), folders.rend());
    for (const fs::path& folder : folders)
        if (fs::is_empty(folder, error))
            fs::remove(folder, error);
    return report;
}

PackWriter PackFolder(const std::string& folder) {
    PackWriter writer;
    for (const fs::path& file : FilesBelow(folder))
        writer.Add(MemberNameOf(folder, file.string()), LoadBytes(file.string()));
    return writer;
}

void ExtractPack(const std::string& packPath, const std::string& outDir) {
    PackReader reader(packPath);
    for (const PackReader::Member& member : reader.Members()) {
        PackWriter::CheckMemberName(member.name); // never write outside outDir
        std::string relative = member.name;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        SaveBytes((fs::path(outDir) / relative).string(), reader.Bytes(member));
    }
}

} // namespace VbFormats
