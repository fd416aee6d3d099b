#include "tools/gen/FileUpdate.h"

#include "tools/gen/GenError.h"

#include "engine/core/Error.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileReplacer.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace VbGen {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw GenError("cannot read " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw GenError("cannot read " + path);
    return bytes;
}

bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::path target(path);
    std::error_code error;
    if (fs::is_regular_file(target, error) && fs::file_size(target, error) == bytes.size() &&
        ReadBytes(path) == bytes)
        return false;
    try {
        OrvexEngine::FileReplacer replacer(fs::absolute(target).string());
        if (!bytes.empty())
            replacer.GetFile().Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
        replacer.Commit();
    } catch (const OrvexEngine::FileError& failure) {
        throw GenError("cannot write " + path + ": " + failure.GetText());
    }
    return true;
}

bool WriteIfChanged(const std::string& path, const std::string& text) {
    return WriteIfChanged(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace VbGen
