// Reads arbitrary bytes as a versioned binary file: the header check must refuse with a FileError or leave
// the file at the start of a body that can be read to its end. Input: one flag byte (bit 0: accept any
// version), then the file's bytes.
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "gametools/VersionedFile.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string FilePath() {
    return VelmoraFuzz::ScratchPath("versioned.bin");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The services a reader finds in the game: a log without a file and the file manager, made once.
    static OrvexEngine::FileManager* files = [] {
        auto* log = new OrvexEngine::MessageManager("Fuzz", false, false, "", "");
        OrvexEngine::MessageManager::Instance(log);
        auto* manager = new OrvexEngine::FileManager("/", false, "data", 0);
        OrvexEngine::FileManager::Instance(manager);
        return manager;
    }();
    (void)files;
    OrvexEngine::MessageManager::Instance()->ClearEntries(); // the log keeps every entry in memory
    if (size == 0)
        return 0;

    std::FILE* out = std::fopen(FilePath().c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data + 1, 1, size - 1, out);
    std::fclose(out);

    GameTools::VersionedFile reader("VBVBG", 105);
    uint32_t found = 0;
    try {
        reader.Open(FilePath(), GameTools::VersionedFile::ModeRead, (data[0] & 1) != 0, &found);
    } catch (const OrvexEngine::FileError&) {
        return 0;
    }
    OrvexEngine::FileBinary* file = reader.GetFile();
    if (file == nullptr || file->GetPosition() != GameTools::VersionedFile::HeaderSize ||
        file->GetSize() != size - 1)
        __builtin_trap();
    uint8_t buffer[256];
    uint32_t got = 0;
    do {
        file->Read(buffer, sizeof buffer, &got);
    } while (got == sizeof buffer);
    if (file->GetPosition() != file->GetSize())
        __builtin_trap();
    return 0;
}
