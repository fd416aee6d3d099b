#include "engine/core/StringUtils.h"

#include "platform/win/Process.h"
#include "platform/win/Utf8.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <locale.h>
#include <wctype.h>

namespace OrvexEngine {

namespace {

// Numbers are read in the "C" locale so that "." stays the decimal point under any language.
locale_t NumericLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// One case mapping for the whole program: the file system's name comparisons use the same.
wchar_t UpperChar(wchar_t c) {
    return static_cast<wchar_t>(platform::UpperCaseOf(static_cast<uint32_t>(c)));
}

wchar_t LowerChar(wchar_t c) {
    return static_cast<wchar_t>(platform::LowerCaseOf(static_cast<uint32_t>(c)));
}

// Narrow white space is ASCII only: bytes of multi-byte UTF-8 characters are never white space.
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsSpaceW(wchar_t c) {
    return platform::IsSpaceCharacter(static_cast<uint32_t>(c));
}

bool IsCharacter(uint32_t value) {
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

size_t DecodeUtf8(const std::string& text, size_t pos, uint32_t& value) {
    return platform::DecodeUtf8(text.data() + pos, text.size() - pos, value);
}

void AppendUtf8(std::string& out, uint32_t value) {
    platform::AppendUtf8(out, value);
}

// Applies a character mapping to UTF-8 text. ASCII-only text, by far the most common (names of variables,
// files, keys), is changed in place without allocating.
template <class Map> void MapUtf8(std::string& text, Map map) {
    size_t pos = 0;
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) {
        text[pos] = static_cast<char>(map(static_cast<wchar_t>(text[pos])));
        ++pos;
    }
    if (pos == text.size())
        return;
    std::string out = text.substr(0, pos);
    out.reserve(text.size());
    while (pos < text.size()) {
        uint32_t value = 0;
        const size_t length = DecodeUtf8(text, pos, value);
        if (length == 0) {
            out += text[pos++]; // not UTF-8: kept as it is
            continue;
        }
        AppendUtf8(out, static_cast<uint32_t>(map(static_cast<wchar_t>(value))));
        pos += length;
    }
    text = std::move(out);
}

int32_t Saturate32(long long value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

float NarrowToFloat(double value) {
    // Out-of-range conversion is undefined; the hardware's answer, an infinity, is what callers can test.
    if (value > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

constexpr size_t maxTextLength = 63;

// printf with a count: 0 gives the plain conversion, more gives "at least that many digits". A negative
// count is taken as 0.
std::string FormatWithDigits(const char* plain, const char* padded, long long value, int digits) {
    char buffer[maxTextLength + 1];
    if (digits <= 0)
        std::snprintf(buffer, sizeof(buffer), plain, value);
    else
        std::snprintf(buffer, sizeof(buffer), padded, digits, value);
    return buffer;
}

std::wstring WidenAscii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

template <class Text> void ReplaceAllIn(Text& text, const Text& pattern, const Text& replacement) {
    if (pattern.empty())
        return;
    size_t pos = text.find(pattern);
    while (pos != Text::npos) {
        text.replace(pos, pattern.size(), replacement);
        pos = text.find(pattern, pos + replacement.size());
    }
}

} // namespace

int32_t ParseInt(const std::string& text, int base) {
    errno = 0;
    return Saturate32(std::strtoll(text.c_str(), nullptr, base));
}

uint32_t ParseUInt(const std::string& text, int base) {
    // As a 32-bit strtoul: the magnitude saturates at 0xFFFFFFFF, then a "-" negates it modulo 2^32.
    size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+' || IsSpace(text[pos])))
        return 0;
    errno = 0;
    const unsigned long long magnitude = std::strtoull(text.c_str() + pos, nullptr, base);
    if (magnitude > UINT32_MAX || errno == ERANGE)
        return UINT32_MAX;
    const uint32_t value = static_cast<uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

float ParseFloat(const std::string& text) {
    return NarrowToFloat(strtod_l(text.c_str(), nullptr, NumericLocale()));
}

bool ParseBool(const std::string& text) {
    return ParseInt(text, 10) != 0;
}

int32_t ParseIntW(const std::wstring& text, int base) {
    return Saturate32(std::wcstoll(text.c_str(), nullptr, base));
}

float ParseFloatW(const std::wstring& text) {
    return NarrowToFloat(wcstod_l(text.c_str(), nullptr, NumericLocale()));
}

bool ParseBoolW(const std::wstring& text) {
    return ParseIntW(text, 10) != 0;
}

std::string IntToText(int32_t value, int digits) {
    return FormatWithDigits("%lli", "%.*lli", value, digits);
}

std::string UIntToText(uint32_t value, int digits) {
    return FormatWithDigits("%llu", "%.*llu", value, digits);
}

std::string HexToText(uint32_t value, int digits) {
    return FormatWithDigits("%llX", "%.*llX", value, digits);
}

std::string FloatToText(float value, int decimals) {
    // to_chars, unlike printf, never takes the decimal point from the locale. The widest float has 39
    // integer digits; the result is cut to the same length as the integer forms.
    if (decimals < 0)
        decimals = 0;
    if (decimals > static_cast<int>(maxTextLength))
        decimals = maxTextLength;
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), static_cast<double>(value),
                                      std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.size() > maxTextLength)
        text.resize(maxTextLength);
    return text;
}

std::string BoolToText(bool value) {
    return value ? "1" : "0";
}

std::wstring IntToTextW(int32_t value, int digits) {
    return WidenAscii(IntToText(value, digits));
}

std::wstring UIntToTextW(uint32_t value, int digits) {
    return WidenAscii(UIntToText(value, digits));
}

std::wstring FloatToTextW(float value, int decimals) {
    return WidenAscii(FloatToText(value, decimals));
}

std::wstring Vec3ToTextW(const Vec3& value, int decimals) {
    return FloatToTextW(value.x, decimals) + L" " + FloatToTextW(value.y, decimals) + L" " +
           FloatToTextW(value.z, decimals);
}

std::wstring Vec4ToTextW(const Vec4& value, int decimals) {
    return FloatToTextW(value.x, decimals) + L" " + FloatToTextW(value.y, decimals) + L" " +
           FloatToTextW(value.z, decimals) + L" " + FloatToTextW(value.w, decimals);
}

std::wstring QuaternionToTextW(const Quaternion& value, int decimals) {
    return Vec4ToTextW(Vec4(value.x, value.y, value.z, value.w), decimals);
}

void ToUpper(std::string& text) {
    MapUtf8(text, UpperChar);
}

void ToLower(std::string& text) {
    MapUtf8(text, LowerChar);
}

void ToUpperW(std::wstring& text) {
    for (wchar_t& c : text)
        c = UpperChar(c);
}

void ToLowerW(std::wstring& text) {
    for (wchar_t& c : text)
        c = LowerChar(c);
}

std::string ToUpperCopy(const std::string& text) {
    std::string copy = text;
    ToUpper(copy);
    return copy;
}

std::string ToLowerCopy(const std::string& text) {
    std::string copy = text;
    ToLower(copy);
    return copy;
}

std::wstring ToLowerCopyW(const std::wstring& text) {
    std::wstring copy = text;
    ToLowerW(copy);
    return copy;
}

void TrimLeft(std::string& text) {
    size_t count = 0;
    while (count < text.size() && IsSpace(text[count]))
        ++count;
    text.erase(0, count);
}

void TrimRight(std::string& text) {
    size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1]))
        --end;
    text.erase(end);
}

void Trim(std::string& text) {
    TrimLeft(text);
    TrimRight(text);
}

void TrimLeftChar(std::string& text, char character) {
    size_t count = 0;
    while (count < text.size() && text[count] == character)
        ++count;
    text.erase(0, count);
}

void TrimLeftW(std::wstring& text) {
    size_t count = 0;
    while (count < text.size() && IsSpaceW(text[count]))
        ++count;
    text.erase(0, count);
}

void TrimRightW(std::wstring& text) {
    size_t end = text.size();
    while (end > 0 && IsSpaceW(text[end - 1]))
        --end;
    text.erase(end);
}

std::string TrimRightCopy(const std::string& text) {
    std::string copy = text;
    TrimRight(copy);
    return copy;
}

std::wstring TrimLeftCopyW(const std::wstring& text) {
    std::wstring copy = text;
    TrimLeftW(copy);
    return copy;
}

std::wstring TrimRightCopyW(const std::wstring& text) {
    std::wstring copy = text;
    TrimRightW(copy);
    return copy;
}

std::wstring TrimCopyW(const std::wstring& text) {
    std::wstring copy = text;
    TrimRightW(copy);
    TrimLeftW(copy);
    return copy;
}

void ReplaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
    ReplaceAllIn(text, pattern, replacement);
}

void ReplaceAllW(std::wstring& text, const std::wstring& pattern, const std::wstring& replacement) {
    ReplaceAllIn(text, pattern, replacement);
}

std::wstring ReplaceAllCopyW(const std::wstring& text, const std::wstring& pattern,
                             const std::wstring& replacement) {
    std::wstring copy = text;
    ReplaceAllIn(copy, pattern, replacement);
    return copy;
}

void EraseAll(std::string& text, const std::string& pattern) {
    ReplaceAllIn(text, pattern, std::string());
}

std::wstring EraseAllCopyW(const std::wstring& text, const std::wstring& pattern) {
    return ReplaceAllCopyW(text, pattern, std::wstring());
}

void MultiByteToWide(const std::string& text, std::wstring& out) {
    out.clear();
    size_t pos = 0;
    while (pos < text.size() && text[pos] != '\0') {
        uint32_t value = 0;
        const size_t length = DecodeUtf8(text, pos, value);
        if (length == 0) {
            ++pos;
            continue;
        }
        out += static_cast<wchar_t>(value);
        pos += length;
    }
}

std::wstring ToWide(const std::string& text) {
    std::wstring out;
    MultiByteToWide(text, out);
    return out;
}

void WideToMultiByte(const std::wstring& text, std::string& out) {
    out.clear();
    for (wchar_t c : text) {
        if (c == L'\0')
            break;
        const uint32_t value = static_cast<uint32_t>(c);
        if (IsCharacter(value))
            AppendUtf8(out, value);
    }
}

std::string ToMultiByte(const std::wstring& text) {
    std::string out;
    WideToMultiByte(text, out);
    return out;
}

std::u16string WideToUtf16(const std::wstring& text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        uint32_t value = static_cast<uint32_t>(c);
        if (!IsCharacter(value))
            value = 0xFFFD;
        if (value < 0x10000) {
            out += static_cast<char16_t>(value);
        } else {
            value -= 0x10000;
            out += static_cast<char16_t>(0xD800 | (value >> 10));
            out += static_cast<char16_t>(0xDC00 | (value & 0x3FF));
        }
    }
    return out;
}

std::wstring Utf16ToWide(const std::u16string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += static_cast<wchar_t>(0xFFFD);
        } else {
            out += static_cast<wchar_t>(unit);
        }
    }
    return out;
}

std::string GetExecutableDirectory() {
    std::string path = platform::GetExecutablePath();
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return path;
    return path.substr(0, slash);
}

bool IsAbsolutePath(const std::string& path) {
    if (path.empty())
        return false;
    if (path[0] == '/')
        return true;
    if (path.size() < 2)
        return false;
    return path[1] == ':' || (path[0] == '\\' && path[1] == '\\');
}

} // namespace OrvexEngine
