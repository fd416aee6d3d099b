// Appends arbitrary bytes to a stand-in executable and starts the file manager on it: the trailer (pack size
// and "APC"), the pack's base offset and its directory come from the bytes. Whatever they hold, the pack is
// refused with its logged reason or every member it lists opens and reads within the executable.
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileManager.h"
#include "platform/win/Process.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace OrvexEngine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageManager* log = MessageManager::Instance(new MessageManager("Fuzz", false, false, "", ""));
    // A host before the bytes, so that base offsets inside and before the pack both occur.
    std::vector<uint8_t> executable = {0x7F, 'E', 'L', 'F', 0, 0, 0, 0};
    executable.insert(executable.end(), data, data + size);
    if (!VelmoraFuzz::WriteScratch("game", executable.data(), executable.size()))
        return 0;
    platform::SetExecutablePathForTests(VelmoraFuzz::ScratchPath("game"));
    for (uint32_t memoryLimit : {0u, 1u << 20}) {
        FileManager files(VelmoraFuzz::ScratchRoot(), true, "data", memoryLimit);
        std::vector<std::string> names;
        files.ListFiles("data\\", "*", names);
        for (const std::string& name : names) {
            try {
                std::unique_ptr<FileBinary> file(files.OpenFile(name, false, 64));
                std::vector<uint8_t> bytes(file->GetSize());
                file->Read(bytes.data(), file->GetSize());
            } catch (const Error&) {
            }
        }
        files.DirectoryExists("data\\a");
        log->ClearEntries();
    }
    return 0;
}
