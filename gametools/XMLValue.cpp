#include "gametools/XMLValue.h"

#include "engine/core/StringUtils.h"

#include <cwctype>

using namespace OrvexEngine;

namespace GameTools {

namespace {

bool IsNumberChar(wchar_t c) {
    if (c < 0x80)
        return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
               c == L'+' || c == L'-' || c == L'.';
    return std::iswalnum(static_cast<wint_t>(c)) != 0;
}

// Bytes of multi-byte characters belong to a token: a letter there only ever makes the token read as 0
// or end the number, as it would in its wide form.
bool IsNumberChar(char c) {
    return static_cast<unsigned char>(c) >= 0x80 || IsNumberChar(static_cast<wchar_t>(c));
}

template <class Char, class Out, class Parse>
void ScanNumbers(const std::basic_string<Char>& text, Out* out, uint32_t count, Parse parse) {
    uint32_t slot = 0;
    std::basic_string<Char> token;
    for (size_t i = 0; i <= text.size() && slot < count; ++i) {
        if (i < text.size() && IsNumberChar(text[i])) {
            token += text[i];
            continue;
        }
        if (token.empty())
            continue;
        out[slot++] = parse(token);
        token.clear();
    }
}

} // namespace

// A copy owns its text: it may outlive the document the original points into.
XMLValue::XMLValue(const XMLValue& other)
    : narrow(other.NarrowView()), wide(other.wide ? std::make_unique<std::wstring>(*other.wide) : nullptr),
      mode(other.mode), widePending(other.widePending) {}

XMLValue& XMLValue::operator=(const XMLValue& other) {
    if (this != &other) {
        mode = other.mode;
        widePending = other.widePending;
        narrow = other.NarrowView();
        source = nullptr;
        wide = other.wide ? std::make_unique<std::wstring>(*other.wide) : nullptr;
    }
    return *this;
}

std::wstring& XMLValue::Wide() const {
    if (!wide)
        wide = std::make_unique<std::wstring>();
    return *wide;
}

void XMLValue::SetWide(const std::wstring& text) {
    Wide() = text;
    mode = ModeWide;
    widePending = false;
    source = nullptr;
}

void XMLValue::SetNarrow(const std::string& text) {
    narrow = text;
    mode = ModeNarrow;
    widePending = false;
    source = nullptr;
}

void XMLValue::SetParsed(std::string_view utf8) {
    narrow.assign(utf8);
    mode = ModeWide;
    widePending = true;
    source = nullptr;
}

const std::string& XMLValue::Narrow() const {
    if (source != nullptr) {
        narrow.assign(source, sourceLength);
        source = nullptr;
    }
    return narrow;
}

const std::string& XMLValue::AsString() {
    if (mode == ModeWide) {
        // Pending text is already the UTF-8 the conversion would give.
        if (!widePending)
            narrow = ToMultiByte(*wide);
        mode = ModeBoth;
    }
    return Narrow();
}

const std::wstring& XMLValue::AsWideString() {
    if (mode == ModeNarrow || widePending) {
        Wide() = ToWide(Narrow());
        widePending = false;
        if (mode == ModeNarrow)
            mode = ModeBoth;
    }
    return Wide();
}

bool XMLValue::ReadsWide() const {
    if (mode != ModeWide)
        return false;
    if (!widePending)
        return true;
    for (char c : NarrowView())
        if (static_cast<unsigned char>(c) >= 0x80) {
            Wide() = ToWide(Narrow());
            widePending = false;
            return true;
        }
    return false;
}

float XMLValue::AsFloat() const {
    return ReadsWide() ? ParseFloatW(Wide()) : ParseFloat(Narrow());
}

int32_t XMLValue::AsInt() const {
    return ReadsWide() ? ParseIntW(Wide(), 10) : ParseInt(Narrow(), 10);
}

bool XMLValue::AsBool() const {
    return ReadsWide() ? ParseBoolW(Wide()) : ParseBool(Narrow());
}

void XMLValue::GetFloats(float* out, uint32_t count) const {
    if (ReadsWide())
        ScanNumbers(Wide(), out, count, [](const std::wstring& t) { return ParseFloatW(t); });
    else
        ScanNumbers(Narrow(), out, count, [](const std::string& t) { return ParseFloat(t); });
}

void XMLValue::GetInts(int32_t* out, uint32_t count) const {
    if (ReadsWide())
        ScanNumbers(Wide(), out, count, [](const std::wstring& t) { return ParseIntW(t, 10); });
    else
        ScanNumbers(Narrow(), out, count, [](const std::string& t) { return ParseInt(t, 10); });
}

Vec4 XMLValue::GetFloat4() const {
    Vec4 v(0.0f, 0.0f, 0.0f, 0.0f);
    GetFloats(v.Data(), 4);
    return v;
}

Vec2 XMLValue::GetFloat2() const {
    Vec2 v(0.0f, 0.0f);
    GetFloats(v.Data(), 2);
    return v;
}

Vec2i XMLValue::GetInt2() const {
    Vec2i v(0, 0);
    GetInts(v.Data(), 2);
    return v;
}

} // namespace GameTools
