// Arbitrary bytes through the UTF-8 decoder, the case changes and the number parsers. Besides memory
// safety it checks what callers rely on: decoding yields only real characters, encoding them again gives
// text that decodes to the same characters, and case changes never lose a character.
#include "engine/core/StringUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace OrvexEngine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::wstring wide = ToWide(text);
    for (wchar_t c : wide) {
        const auto value = static_cast<uint32_t>(c);
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            std::abort();
    }
    const std::string narrow = ToMultiByte(wide);
    if (ToWide(narrow) != wide)
        std::abort();
    if (Utf16ToWide(WideToUtf16(wide)) != wide)
        std::abort();

    if (ToWide(ToUpperCopy(narrow)).size() != wide.size() ||
        ToWide(ToLowerCopy(narrow)).size() != wide.size())
        std::abort();

    std::string trimmed = text;
    Trim(trimmed);
    ParseInt(text, 10);
    ParseInt(text, 16);
    ParseUInt(text, 0);
    ParseFloat(text);
    ParseIntW(wide, 10);
    ParseFloatW(wide);
    return 0;
}
