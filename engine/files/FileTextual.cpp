#include "engine/files/FileTextual.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "platform/win/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OrvexEngine {

namespace {

constexpr int bufferSize = 1024;
constexpr char16_t byteOrderMark = 0xFEFF;
constexpr char16_t replacementUnit = 0xFFFD;

bool IsUnicode(int encoding) {
    return encoding != TextEncodingAnsi;
}

} // namespace

FileTextual::FileTextual(const std::string& name, int mode, int encoding) {
    Attach(new FileBinary(name, mode == 1, 0), mode, encoding);
}

FileTextual::FileTextual(FileBinary* file, int mode, int encoding) {
    Attach(file, mode, encoding);
}

FileTextual::~FileTextual() {
    if (mode == 1) {
        try {
            Flush();
        } catch (const FileError& error) {
            if (Log() != nullptr)
                Log()->Error(error.GetText());
        }
    }
    delete file;
}

void FileTextual::Attach(FileBinary* openFile, int openMode, int requestedEncoding) {
    file = openFile;
    mode = openMode;
    encoding = requestedEncoding;
    DetectEncoding();
}

void FileTextual::DetectEncoding() {
    replacementCharacter = '?';
    conversionFailed = false;
    index = -1;
    validCount = 0;
    atStart = true;
    endReached = false;
    characterPending = false;
    lowSurrogatePending = 0;
    buffer.assign(bufferSize, 0);

    if (mode == 1) {
        if (encoding == TextEncodingUtf16BigEndian || encoding == TextEncodingUtf16LittleEndian) {
            WriteChar(byteOrderMark);
        } else if (encoding == TextEncodingUtf8) {
            WriteByte(0xEF);
            WriteByte(0xBB);
            WriteByte(0xBF);
        }
        return;
    }
    uint8_t first = ReadByte();
    uint8_t second = ReadByte();
    if (first == 0xFF && second == 0xFE) {
        encoding = TextEncodingUtf16LittleEndian;
    } else if (first == 0xFE && second == 0xFF) {
        encoding = TextEncodingUtf16BigEndian;
    } else if (first == 0xEF && second == 0xBB && ReadByte() == 0xBF) {
        encoding = TextEncodingUtf8;
    } else {
        encoding = TextEncodingAnsi;
        Rewind();
    }
}

void FileTextual::Rewind() {
    file->Seek(0, 0);
    characterPending = false;
    lowSurrogatePending = 0;
    index = -1;
    atStart = true;
    endReached = false;
}

uint32_t FileTextual::GetLength() const {
    uint32_t size = file->GetSize();
    return IsUnicode(encoding) && encoding != TextEncodingUtf8 ? size / 2 : size;
}

uint8_t FileTextual::ReadByte() {
    if (characterPending) {
        characterPending = false;
        return static_cast<uint8_t>(pendingCharacter);
    }
    if (index == -1 || index == bufferSize - 1) {
        uint32_t got = 0;
        file->Read(buffer.data(), bufferSize, &got);
        if (got == 0) {
            endReached = true;
            return 0;
        }
        validCount = got;
        index = 0;
    } else if (static_cast<uint32_t>(++index) >= validCount) {
        endReached = true;
        return 0;
    }
    return buffer[static_cast<size_t>(index)];
}

char16_t FileTextual::ReadChar() {
    if (characterPending) {
        characterPending = false;
        return pendingCharacter;
    }
    if (lowSurrogatePending != 0)
        return std::exchange(lowSurrogatePending, u'\0');
    if (encoding == TextEncodingUtf8) {
        // The sequence's length comes from its lead byte; those bytes are taken whatever they hold, and the
        // one codec decides whether they form a character.
        char bytes[4] = {static_cast<char>(ReadByte()), 0, 0, 0};
        const auto lead = static_cast<uint8_t>(bytes[0]);
        size_t length = lead < 0x80             ? 1
                        : (lead & 0xE0) == 0xC0 ? 2
                        : (lead & 0xF0) == 0xE0 ? 3
                        : (lead & 0xF8) == 0xF0 ? 4
                                                : 0;
        if (length == 1)
            return lead;
        if (length == 0)
            return replacementUnit;
        for (size_t i = 1; i < length; ++i)
            bytes[i] = static_cast<char>(ReadByte());
        uint32_t value = 0;
        if (platform::DecodeUtf8(bytes, length, value) != length)
            return replacementUnit;
        if (value < 0x10000)
            return static_cast<char16_t>(value);
        // Beyond 16 bits: a surrogate pair, its second half given by the next call.
        value -= 0x10000;
        lowSurrogatePending = static_cast<char16_t>(0xDC00 + (value & 0x3FF));
        return static_cast<char16_t>(0xD800 + (value >> 10));
    }
    uint8_t b0 = ReadByte();
    uint8_t b1 = ReadByte();
    if (encoding == TextEncodingUtf16BigEndian)
        return static_cast<char16_t>((b0 << 8) | b1);
    return static_cast<char16_t>((b1 << 8) | b0);
}

template <class Text, class Next, class IsSpace>
bool FileTextual::ReadPiece(Text& line, bool stripComments, bool tokenMode, Next next, IsSpace isSpace) {
    if (endReached)
        return false;
    auto c = next();
    // Drop what ended the previous line or token; it was kept pending so that it is seen here.
    if (atStart) {
        atStart = false;
    } else if (tokenMode) {
        if (isSpace(c))
            c = next();
    } else {
        if (c == '\r')
            c = next();
        if (c == '\n')
            c = next();
    }

    line.clear();
    static const Text comment = {'/', '/'};
    while (c != '\r' && c != '\n' && !endReached && !(tokenMode && isSpace(c))) {
        line.push_back(static_cast<typename Text::value_type>(c));
        // A token that opens a comment swallows the rest of its line.
        if (stripComments && tokenMode && line == comment)
            tokenMode = false;
        c = next();
    }
    pendingCharacter = static_cast<char16_t>(c);
    characterPending = true;
    if (stripComments) {
        size_t at = line.find(comment);
        if (at != Text::npos)
            line.erase(at);
    }
    return true;
}

bool FileTextual::ReadNarrowLine(std::string& line, bool stripComments, bool tokenMode) {
    return ReadPiece(
        line, stripComments, tokenMode, [this] { return ReadByte(); },
        [](uint8_t c) { return std::isspace(c) != 0; });
}

bool FileTextual::ReadWideLine(std::wstring& line, bool stripComments, bool tokenMode) {
    // Read as UTF-16 units; a surrogate pair then becomes one character, half a pair U+FFFD.
    std::u16string units;
    bool read = ReadPiece(
        units, stripComments, tokenMode, [this] { return ReadChar(); },
        [](char16_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; });
    line = Utf16ToWide(units);
    return read;
}

bool FileTextual::ReadLine(std::wstring& line, bool stripComments, bool tokenMode) {
    if (endReached)
        return false;
    if (IsUnicode(encoding))
        return ReadWideLine(line, stripComments, tokenMode);
    std::string narrow;
    ReadNarrowLine(narrow, stripComments, tokenMode);
    MultiByteToWide(narrow, line);
    return true;
}

bool FileTextual::ReadLine(std::string& line, bool stripComments, bool tokenMode) {
    if (endReached)
        return false;
    if (!IsUnicode(encoding))
        return ReadNarrowLine(line, stripComments, tokenMode);
    std::wstring wide;
    ReadWideLine(wide, stripComments, tokenMode);
    WideToMultiByte(wide, line);
    return true;
}

bool FileTextual::ReadToken(std::string& token, bool underscoresToSpaces) {
    token.clear();
    while (token.empty())
        if (!ReadLine(token, true, true))
            return false;
    if (underscoresToSpaces)
        ReplaceAll(token, "_", " ");
    return true;
}

float FileTextual::ReadFloat() {
    std::string token;
    return ReadToken(token, false) ? ParseFloat(token) : 0.0f;
}

int32_t FileTextual::ReadInt() {
    std::string token;
    return ReadToken(token, false) ? ParseInt(token, 10) : 0;
}

Vec3 FileTextual::ReadVec3() {
    float x = ReadFloat();
    float y = ReadFloat();
    float z = ReadFloat();
    return Vec3(x, y, z);
}

void FileTextual::ReadAll(std::wstring& text, bool stripComments) {
    text.clear();
    text.reserve(static_cast<size_t>(GetLength()) + 2);
    std::wstring line;
    bool first = true;
    while (!endReached) {
        if (!ReadLine(line, stripComments, false))
            break;
        if (!first)
            text += L"\r\n";
        text += line;
        first = false;
    }
}

namespace {

// How the line ends of a text stand: all CR LF (or none at all), all a bare LF, or anything else.
enum class LineEnds { Joined, BareFeeds, Mixed };

// Checks in one pass that the bytes are valid UTF-8 as the readers decode it, without zero bytes (shortest
// forms, no surrogate halves, nothing beyond U+10FFFF, and four-byte forms only where the reader takes them:
// the ANSI encoding), and sorts their line ends. ASCII without CR goes sixteen bytes at a time.
bool ScanPlainUtf8(const std::string& bytes, bool fourByteForms, LineEnds& ends) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    bool sawReturn = false;
    bool allJoined = true;      // every CR is followed by LF and every LF follows a CR
    bool returnPending = false; // the byte before p was a CR
    while (p < end) {
#if defined(__SSE2__)
        const __m128i feed = _mm_set1_epi8('\n');
        const __m128i carriageReturn = _mm_set1_epi8('\r');
        const __m128i zero = _mm_setzero_si128();
        while (end - p >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            // Up to the first byte that needs a closer look (a multi-byte character or a zero), if any.
            const auto stops = static_cast<unsigned>(_mm_movemask_epi8(block) |
                                                     _mm_movemask_epi8(_mm_cmpeq_epi8(block, zero)));
            const unsigned width = stops == 0 ? 16 : static_cast<unsigned>(__builtin_ctz(stops));
            const unsigned inside = (1u << width) - 1;
            const auto feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, feed))) & inside;
            const auto returns =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, carriageReturn))) & inside;
            // Joined line ends: the feeds sit exactly one place after the returns, across blocks too.
            allJoined = allJoined && feeds == (((returns << 1) | (returnPending ? 1u : 0u)) & inside);
            if (width > 0)
                returnPending = ((returns >> (width - 1)) & 1u) != 0;
            sawReturn = sawReturn || returns != 0;
            p += width;
            if (width < 16)
                break;
        }
        if (p == end)
            break;
#endif
        const unsigned char lead = *p;
        if (lead < 0x80) {
            if (lead == 0)
                return false;
            if (lead == '\n')
                allJoined = allJoined && returnPending;
            else if (returnPending)
                allJoined = false;
            returnPending = lead == '\r';
            sawReturn = sawReturn || returnPending;
            ++p;
            continue;
        }
        if (returnPending)
            allJoined = false;
        returnPending = false;
        size_t length = 0;
        uint32_t value = 0;
        uint32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, value = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, value = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0 && fourByteForms) {
            length = 4, value = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (static_cast<size_t>(end - p) < length)
            return false;
        for (size_t i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (p[i] & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        p += length;
    }
    if (returnPending)
        allJoined = false;
    ends = allJoined ? LineEnds::Joined : sawReturn ? LineEnds::Mixed : LineEnds::BareFeeds;
    return true;
}

// Every line end (CR LF, CR or LF) as CR LF.
void JoinLineEnds(std::string& text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16 + 2);
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        lines.append(p, lineEnd);
        if (lineEnd == end)
            break;
        lines += "\r\n";
        p = lineEnd + (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
    }
    text.swap(lines);
}

} // namespace

bool FileTextual::ReadAllPlainUtf8(std::string& text, bool* bareFeeds) {
    if (bareFeeds != nullptr)
        *bareFeeds = false;
    if (mode != 0 || !atStart || characterPending || endReached ||
        (encoding != TextEncodingAnsi && encoding != TextEncodingUtf8))
        return false;
    const uint32_t start = encoding == TextEncodingUtf8 ? 3 : 0;
    const uint32_t size = file->GetSize();
    text.assign(size > start ? size - start : 0, '\0');
    LineEnds ends = LineEnds::Joined;
    if (!text.empty()) {
        uint32_t got = 0;
        file->Seek(0, static_cast<int32_t>(start));
        file->Read(text.data(), static_cast<uint32_t>(text.size()), &got);
        if (got != text.size() || !ScanPlainUtf8(text, encoding == TextEncodingAnsi, ends)) {
            // Back to where the signature left the reader.
            file->Seek(0, static_cast<int32_t>(start));
            index = -1;
            validCount = 0;
            text.clear();
            return false;
        }
    }
    endReached = true;
    atStart = false;
    if (ends == LineEnds::BareFeeds && bareFeeds != nullptr)
        *bareFeeds = true;
    else if (ends != LineEnds::Joined)
        JoinLineEnds(text);
    return true;
}

void FileTextual::MultiByteToWide(const std::string& text, std::wstring& out) {
    OrvexEngine::MultiByteToWide(text, out);
}

void FileTextual::WideToMultiByte(const std::wstring& text, std::string& out) {
    out.clear();
    for (wchar_t c : text) {
        auto code = static_cast<uint32_t>(c);
        if (code == 0)
            break;
        const size_t before = out.size();
        platform::AppendUtf8(out, code);
        if (out.size() == before) {
            out.push_back(replacementCharacter);
            conversionFailed = true;
        }
    }
}

void FileTextual::WriteByte(uint8_t byte) {
    if (index + 1 >= bufferSize)
        Flush();
    buffer[static_cast<size_t>(++index)] = byte;
}

void FileTextual::WriteBytes(const std::string& bytes) {
    for (char c : bytes)
        WriteByte(static_cast<uint8_t>(c));
}

void FileTextual::WriteChar(char16_t unit) {
    if (encoding == TextEncodingUtf16BigEndian) {
        WriteByte(static_cast<uint8_t>(unit >> 8));
        WriteByte(static_cast<uint8_t>(unit & 0xFF));
    } else if (encoding == TextEncodingUtf16LittleEndian) {
        WriteByte(static_cast<uint8_t>(unit & 0xFF));
        WriteByte(static_cast<uint8_t>(unit >> 8));
    } else if (unit < 0x80) {
        WriteByte(static_cast<uint8_t>(unit));
    } else if (unit < 0x800) {
        WriteByte(static_cast<uint8_t>(0xC0 | (unit >> 6)));
        WriteByte(static_cast<uint8_t>(0x80 | (unit & 0x3F)));
    } else {
        WriteByte(static_cast<uint8_t>(0xE0 | (unit >> 12)));
        WriteByte(static_cast<uint8_t>(0x80 | ((unit >> 6) & 0x3F)));
        WriteByte(static_cast<uint8_t>(0x80 | (unit & 0x3F)));
    }
}

void FileTextual::Flush() {
    if (mode != 1)
        return;
    uint32_t pending = static_cast<uint32_t>(index + 1);
    index = -1;
    if (pending > 0)
        file->Write(buffer.data(), pending);
    file->Flush();
}

void FileTextual::WriteText(const std::string& text) {
    if (!IsUnicode(encoding)) {
        WriteBytes(text);
        return;
    }
    std::wstring wide;
    MultiByteToWide(text, wide);
    if (encoding == TextEncodingUtf8) {
        // A character beyond 16 bits is one four-byte sequence: UTF-8 has no surrogate halves.
        std::string bytes;
        for (wchar_t c : wide)
            platform::AppendUtf8(bytes, static_cast<uint32_t>(c));
        WriteBytes(bytes);
        return;
    }
    // Beyond 16 bits a character travels as a surrogate pair.
    for (char16_t unit : WideToUtf16(wide))
        WriteChar(unit);
}

void FileTextual::WriteLineEnd() {
    if (!IsUnicode(encoding)) {
        WriteByte('\r');
        WriteByte('\n');
        return;
    }
    WriteChar('\r');
    WriteChar('\n');
}

} // namespace OrvexEngine
