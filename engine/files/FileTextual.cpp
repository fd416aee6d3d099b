#include "engine/files/FileTextual.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>

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
    if (encoding == TextEncodingUtf8) {
        uint8_t b0 = ReadByte();
        int ones = 0;
        while (ones < 8 && (b0 & (0x80 >> ones)) != 0)
            ++ones;
        if (ones == 0)
            return b0;
        if (ones == 2) {
            uint8_t b1 = ReadByte();
            return static_cast<char16_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
        }
        if (ones == 3) {
            uint8_t b1 = ReadByte();
            uint8_t b2 = ReadByte();
            return static_cast<char16_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
        }
        return replacementUnit;
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

// Valid UTF-8 as the readers decode it, without zero bytes: shortest forms, no surrogate halves, nothing
// beyond U+10FFFF, and four-byte forms only where the reader takes them (the ANSI encoding).
bool IsPlainUtf8(const std::string& bytes, bool fourByteForms) {
    if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    while (p < end) {
        // Runs of ASCII, 32 bytes at a time.
        constexpr uint64_t highs = 0x8080808080808080u;
        while (end - p >= 32) {
            uint64_t words[4];
            std::memcpy(words, p, 32);
            if (((words[0] | words[1] | words[2] | words[3]) & highs) != 0)
                break;
            p += 32;
        }
        if (p == end)
            break;
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
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
    return true;
}

} // namespace

bool FileTextual::ReadAllPlainUtf8(std::string& text) {
    if (mode != 0 || !atStart || characterPending || endReached ||
        (encoding != TextEncodingAnsi && encoding != TextEncodingUtf8))
        return false;
    const uint32_t start = encoding == TextEncodingUtf8 ? 3 : 0;
    const uint32_t size = file->GetSize();
    text.assign(size > start ? size - start : 0, '\0');
    if (!text.empty()) {
        uint32_t got = 0;
        file->Seek(0, static_cast<int32_t>(start));
        file->Read(text.data(), static_cast<uint32_t>(text.size()), &got);
        if (got != text.size() || !IsPlainUtf8(text, encoding == TextEncodingAnsi)) {
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

    // Every line end (CR LF, CR or LF) becomes CR LF, as ReadAll joins lines; most files need no change.
    size_t feeds = 0;
    size_t returns = 0;
    bool joined = true;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        joined = joined && at > 0 && text[at - 1] == '\r';
        ++feeds;
    }
    for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 1))
        ++returns;
    if (joined && feeds == returns)
        return true;
    std::string lines;
    lines.reserve(text.size() + std::max(feeds, returns) + 1);
    size_t from = 0;
    size_t nextReturn = text.find('\r');
    size_t nextFeed = text.find('\n');
    while (from < text.size()) {
        if (nextReturn < from)
            nextReturn = text.find('\r', from);
        if (nextFeed < from)
            nextFeed = text.find('\n', from);
        const size_t lineEnd = std::min(nextReturn, nextFeed);
        if (lineEnd == std::string::npos) {
            lines.append(text, from, std::string::npos);
            break;
        }
        lines.append(text, from, lineEnd - from);
        lines += "\r\n";
        from = lineEnd + (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n' ? 2 : 1);
    }
    text.swap(lines);
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
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000 && (code < 0xD800 || code >= 0xE000)) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code >= 0x10000 && code <= 0x10FFFF) {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
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
    // Beyond 16 bits a character travels as a surrogate pair, in UTF-8 too (one sequence per half).
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
