// Decodes arbitrary bytes as a text file in every way the engine reads one: lines wide and narrow, with and
// without comments, tokens and numbers, the whole text at once. Whatever the bytes (signature, broken
// UTF-8, half surrogate pairs, lines across the buffer's refill), reading ends and stays in bounds.
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileTextual.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace OrvexEngine;

namespace {

FileTextual* Open(const uint8_t* data, size_t size) {
    static const uint8_t none = 0;
    // Borrowed bytes: the text file owns the FileBinary, the fuzzer keeps the bytes.
    auto* file =
        new FileBinary("fuzz.txt", false, 0, static_cast<uint32_t>(size), size != 0 ? data : &none, false);
    return new FileTextual(file, 0, 0);
}

// No pass may yield more than one piece per byte of the file, plus the last.
void Limit(size_t& pieces, size_t size) {
    if (++pieces > size + 2)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageManager* log = MessageManager::Instance(new MessageManager("Fuzz", false, false, "", ""));
    if (size > 1u << 20)
        return 0;
    for (int pass = 0; pass < 6; ++pass) {
        FileTextual* text = Open(data, size);
        size_t pieces = 0;
        std::string narrow;
        std::wstring wide;
        switch (pass) {
        case 0:
            while (text->ReadLine(wide, pass == 0, false))
                Limit(pieces, size);
            break;
        case 1:
            while (text->ReadLine(narrow, true, false))
                Limit(pieces, size);
            break;
        case 2:
            while (text->ReadLine(wide, true, true))
                Limit(pieces, size);
            break;
        case 3:
            while (text->ReadToken(narrow, true))
                Limit(pieces, size);
            break;
        case 4:
            for (size_t i = 0; i <= size; ++i) {
                text->ReadFloat();
                text->ReadInt();
            }
            text->ReadVec3();
            break;
        default:
            text->ReadAll(wide, true);
            text->Rewind();
            text->ReadAll(wide, false);
            break;
        }
        delete text;
    }
    log->ClearEntries();
    return 0;
}
