#include "tools/gen/OutputTree.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/PackWriter.h"
#include "tools/gen/FileUpdate.h"
#include "tools/gen/GenError.h"

#include <algorithm>
#include <filesystem>

namespace VbGen {

namespace fs = std::filesystem;

namespace {

std::string DiskName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

} // namespace

OutputTree::OutputTree(std::string root) : root(std::move(root)) {
    if (this->root.empty())
        throw GenError("no output folder given");
}

void OutputTree::Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    try {
        VbFormats::PackWriter::CheckMemberName(name);
    } catch (const VbFormats::FormatError& error) {
        throw GenError(std::string("bad data name: ") + error.what());
    }
    if (!produced.insert(name).second)
        throw GenError(name + " is produced twice");
    if (WriteIfChanged((fs::path(root) / DiskName(name)).string(), bytes))
        ++written;
    else
        ++unchanged;
}

void OutputTree::Write(const std::string& name, const std::string& text) {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

void OutputTree::Prune() {
    std::error_code error;
    if (!fs::is_directory(root, error))
        return;
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory() && !entry.is_symlink())
            folders.push_back(entry.path());
        else
            files.push_back(entry.path());
    }
    for (const fs::path& file : files) {
        std::string name = file.lexically_relative(root).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        if (produced.count(name) == 0 && fs::remove(file, error))
            ++deleted;
    }
    // Deepest first, so a folder emptied by its children's removal goes too.
    std::sort(folders.rbegin(), folders.rend());
    for (const fs::path& folder : folders)
        if (fs::is_empty(folder, error))
            fs::remove(folder, error);
}

} // namespace VbGen
