#include "tools/gen/FileUpdate.h"

#include "tools/gen/GenError.h"

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
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), error);

    fs::path temporary = target;
    temporary += ".vbgen-tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            throw GenError("cannot write " + temporary.string());
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        throw GenError("cannot replace " + path);
    }
    return true;
}

bool WriteIfChanged(const std::string& path, const std::string& text) {
    return WriteIfChanged(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace VbGen
