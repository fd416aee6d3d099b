// Feeds arbitrary bytes to the pack reader, both held in memory and read through its stream, then opens and
// reads every member it accepted and lists its folders: whatever the bytes, a pack is either refused with
// an Error or every member it hands out lies inside it.
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/PackFile.h"
#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

using namespace OrvexEngine;

namespace {

std::string ScratchFile() {
    return VelmoraFuzz::ScratchPath("fuzz.pak");
}

void ReadMembers(const PackFile& pack, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        uint32_t size = 0;
        const uint8_t* memory = nullptr;
        bool owns = false;
        std::FILE* stream = nullptr;
        uint32_t offset = 0;
        if (!pack.GetFileSize(name, size) || !pack.Locate(name, memory, owns, stream, offset))
            continue;
        try {
            FileBinary member(name, false, 64, size, memory, owns, stream, offset);
            std::vector<uint8_t> bytes(member.GetSize());
            member.Read(bytes.data(), member.GetSize());
            std::string text;
            member.Seek(0, 0);
            member.ReadString(text);
        } catch (const Error&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageManager* log = MessageManager::Instance(new MessageManager("Fuzz", false, false, "", ""));
    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    for (uint32_t memoryLimit : {0u, 1u << 20}) {
        try {
            PackFile pack(ScratchFile(), 0, 0, memoryLimit);
            std::vector<std::string> names;
            pack.FindFiles("", "*", names);
            pack.HasDirectory("a");
            ReadMembers(pack, names);
        } catch (const Error&) {
        }
        log->ClearEntries();
    }
    return 0;
}
