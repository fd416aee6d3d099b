// Reads and writes a text file over a FileBinary in one of four encodings, with a byte-order signature
// written when the file is created and detected when it is read: whole lines (the settings file), the whole
// text as one wide string (XML), or white-space separated tokens with "//" comments (the lighting file).
// Reading goes through a 1024-byte buffer with one character of look-back. Created by its reader or writer
// (or FileManager::OpenTextFile) and deleted by it; owns its FileBinary.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexEngine {

class FileBinary;

enum TextEncoding : int {
    TextEncodingAnsi = 0, // narrow bytes as they are (UTF-8 here), no signature
    TextEncodingUtf16BigEndian = 1,
    TextEncodingUtf16LittleEndian = 2,
    TextEncodingUtf8 = 3,
};

class FileTextual {
public:
    // Opens its own file (mode 1 writes; relative names lie below the executable's directory); a FileError
    // from the open propagates. Reading detects the encoding from the signature, whatever was asked.
    FileTextual(const std::string& name, int mode, int encoding);
    // Takes ownership of a file already opened for the mode.
    FileTextual(FileBinary* file, int mode, int encoding);
    FileTextual(const FileTextual&) = delete;
    FileTextual& operator=(const FileTextual&) = delete;
    // Writes out what is still buffered; a failure then is swallowed (and logged), never thrown. Writers
    // that must know call Flush themselves first.
    virtual ~FileTextual();

    // The next line (tokenMode off) or token (on); false only when the end was reached before the call.
    // Line ends are CR LF, CR or LF; with stripComments, "//" starts a comment that runs to the line's end.
    bool ReadLine(std::wstring& line, bool stripComments, bool tokenMode);
    bool ReadLine(std::string& line, bool stripComments, bool tokenMode);
    // The next non-empty token (comments skipped); false at the end.
    bool ReadToken(std::string& token, bool underscoresToSpaces);
    // The next token as a number; 0 when none is left.
    float ReadFloat();
    int32_t ReadInt();
    Vec3 ReadVec3();
    // The rest of the text, lines joined with CR LF whatever ended them in the file.
    void ReadAll(std::wstring& text, bool stripComments);
    // The same text as UTF-8, read in one piece, when nothing has been read yet and the file holds valid
    // UTF-8 (without zero bytes) in the ANSI or UTF-8 encoding; false, with nothing read, otherwise.
    // Given bareFeeds, a text whose every line ends in a bare LF keeps them (a caller that joins its lines
    // itself spares the copy) and *bareFeeds tells so.
    bool ReadAllPlainUtf8(std::string& text, bool* bareFeeds = nullptr);

    void WriteText(const std::string& text);
    void WriteLineEnd();
    // Writes the buffered bytes out to the disk; throws FileError when the disk refuses them.
    void Flush();

    void Rewind();
    // The file's size in bytes, halved for UTF-16: an estimate of the characters.
    uint32_t GetLength() const;
    int GetEncoding() const { return encoding; }
    // Set when a character had no narrow form and was written or read as '?'.
    bool ConversionFailed() const { return conversionFailed; }

private:
    void Attach(FileBinary* file, int mode, int encoding);
    void DetectEncoding();
    uint8_t ReadByte();
    char16_t ReadChar();
    void WriteByte(uint8_t byte);
    void WriteBytes(const std::string& bytes);
    void WriteChar(char16_t unit);
    bool ReadNarrowLine(std::string& line, bool stripComments, bool tokenMode);
    bool ReadWideLine(std::wstring& line, bool stripComments, bool tokenMode);
    void MultiByteToWide(const std::string& text, std::wstring& out);
    void WideToMultiByte(const std::wstring& text, std::string& out);
    template <class Text, class Next, class IsSpace>
    bool ReadPiece(Text& line, bool stripComments, bool tokenMode, Next next, IsSpace isSpace);

    int mode = 0; // 1 writing, 0 reading
    int encoding = TextEncodingAnsi;
    FileBinary* file = nullptr; // owned
    bool endReached = false;
    std::vector<uint8_t> buffer;
    int index = -1;
    uint32_t validCount = 0;
    char replacementCharacter = '?';
    bool conversionFailed = false;
    bool atStart = true;
    bool characterPending = false;
    char16_t pendingCharacter = 0;
    char16_t lowSurrogatePending = 0; // second half of a UTF-8 character beyond 16 bits, 0 when none
};

} // namespace OrvexEngine
