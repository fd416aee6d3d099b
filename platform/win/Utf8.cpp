#include "platform/win/Utf8.h"

#include <locale.h>
#include <wctype.h>

namespace platform {

namespace {

// The C library's UTF-8 tables, in a locale object of our own: whatever the process selected with
// setlocale, case mapping stays the same.
locale_t Utf8Locale() {
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (made == static_cast<locale_t>(nullptr))
            made = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
        return made;
    }();
    return locale;
}

bool IsCharacter(uint32_t value) {
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

} // namespace

size_t DecodeUtf8(const char* text, size_t available, uint32_t& value) {
    if (available == 0)
        return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    size_t length = 0;
    uint32_t minimum = 0;
    uint32_t decoded = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        decoded = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        decoded = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        decoded = lead & 0x07;
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        decoded = (decoded << 6) | (next & 0x3F);
    }
    if (decoded < minimum || !IsCharacter(decoded))
        return 0;
    value = decoded;
    return length;
}

void AppendUtf8(std::string& out, uint32_t value) {
    if (!IsCharacter(value))
        return;
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        out += static_cast<char>(0xE0 | (value >> 12));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (value >> 18));
        out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

uint32_t LowerCaseOf(uint32_t value) {
    if (value < 0x80)
        return (value >= 'A' && value <= 'Z') ? value + ('a' - 'A') : value;
    locale_t locale = Utf8Locale();
    return locale != static_cast<locale_t>(nullptr) ? static_cast<uint32_t>(towlower_l(value, locale))
                                                    : value;
}

uint32_t UpperCaseOf(uint32_t value) {
    if (value < 0x80)
        return (value >= 'a' && value <= 'z') ? value - ('a' - 'A') : value;
    locale_t locale = Utf8Locale();
    return locale != static_cast<locale_t>(nullptr) ? static_cast<uint32_t>(towupper_l(value, locale))
                                                    : value;
}

bool IsSpaceCharacter(uint32_t value) {
    if (value < 0x80)
        return value == ' ' || (value >= '\t' && value <= '\r');
    locale_t locale = Utf8Locale();
    return locale != static_cast<locale_t>(nullptr) && iswspace_l(static_cast<wint_t>(value), locale) != 0;
}

std::string FoldCase(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t value = 0;
        const size_t length = DecodeUtf8(text.data() + pos, text.size() - pos, value);
        if (length == 0) {
            out += text[pos++]; // not UTF-8: kept as it is
            continue;
        }
        AppendUtf8(out, LowerCaseOf(value));
        pos += length;
    }
    return out;
}

} // namespace platform
