// The scratch folder of one fuzz process: below $TMPDIR (or /tmp), named after the process, with a "data"
// folder inside for readers that go through the file manager. It is removed with everything in it when the
// process ends, so a run of the fuzz targets leaves nothing behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace VelmoraFuzz {

inline const std::string& ScratchRoot() {
    // Never destroyed: the removal at exit still needs the name after the statics are gone.
    static const std::string* root = [] {
        const char* tmp = std::getenv("TMPDIR");
        auto* made = new std::string(std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") +
                                     "/velmora-fuzz-" + std::to_string(getpid()));
        std::error_code ignored;
        std::filesystem::create_directories(*made + "/data", ignored);
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(ScratchRoot(), error);
        });
        return made;
    }();
    return *root;
}

// The path of a name below the scratch root ("data/x.bin", "pack.pak").
inline std::string ScratchPath(const std::string& name) {
    return ScratchRoot() + "/" + name;
}

// Writes the bytes as the whole file; false when it cannot be written.
inline bool WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(ScratchPath(name).c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// Puts the total size and the magic into a versioned file's 13-byte header, so that the bytes reach the
// reader's body instead of failing its header check.
inline void MakeHeaderRight(std::vector<uint8_t>& bytes, const char* magic) {
    if (bytes.size() < 13)
        return;
    const auto size = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(size >> (8 * i));
    std::memcpy(bytes.data() + 4, magic, 5);
}

} // namespace VelmoraFuzz
