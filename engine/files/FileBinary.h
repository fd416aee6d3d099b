// One open data file: a run of bytes of known size with a current position, read and written with explicit
// byte counts, plus the length-prefixed strings of every versioned binary format. Backed by its own disk
// stream, by a pack's shared stream from a base offset, or by a memory image of the whole content (its own,
// or borrowed from a pack held in memory). Created by FileManager::OpenFile, the pack reader and the text
// reader; deleted by whoever received it. Many may exist at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace OrvexEngine {

class FileBinary {
public:
    // The backing is chosen in this order: for writing (a new disk file); a memory image (borrowed unless
    // ownsImage, which hands over an image allocated with new[]); a shared stream (not owned, read from
    // baseOffset on); otherwise the disk file for reading. A disk file or shared member no larger than
    // memoryLimit is read whole into an image of its own at once. A name that is not absolute lies below
    // the executable's directory. Throws FileError "Failed to open ..." when the disk file cannot be opened,
    // and the read error when a member being copied into its own image cannot be read whole.
    FileBinary(const std::string& name, bool forWriting, uint32_t memoryLimit = 0, uint32_t size = 0,
               const uint8_t* memoryImage = nullptr, bool ownsImage = true, std::FILE* sharedStream = nullptr,
               uint32_t baseOffset = 0);
    FileBinary(const FileBinary&) = delete;
    FileBinary& operator=(const FileBinary&) = delete;
    virtual ~FileBinary();

    // origin 0: from the start; 1: back from the end; 2: from the current position. The position is kept
    // within 0 .. size - 1; false when the target had to be clamped (an empty file always clamps to 0).
    bool Seek(int origin, int32_t offset);

    // Without outCount, reading past the end delivers the bytes up to the end and then throws FileError
    // "Failed to read <count> bytes from ..."; with outCount it never throws and reports what was read.
    uint32_t Read(void* destination, uint32_t count, uint32_t* outCount = nullptr);
    // Same two forms; throws "Failed to write <count> bytes from ..." when fewer bytes were written.
    uint32_t Write(const void* source, uint32_t count, uint32_t* outCount = nullptr);

    // Pushes what the stream still buffers to the disk, so a full disk shows before the file is closed.
    // Throws "Failed to write <n> bytes from ..." (n: the bytes written since the last flush).
    void Flush();
    // Flush, then waits until the operating system has put the bytes on the disk, so that a file renamed
    // over an older one afterwards survives a crash or a power cut. Throws as Flush does, and "Failed to
    // write ..." when the disk reports an error.
    void Sync();

    // One count byte (characters + terminator), then the characters and a zero. At most 254 characters are
    // stored; a longer text is cut (never inside a UTF-8 sequence).
    void ReadString(std::string& text);
    void WriteString(const char* text);
    // The same with UTF-16LE units in the file; the limit counts UTF-16 units.
    void ReadWideString(std::wstring& text);
    void WriteWideChars(const wchar_t* text);
    void WriteWideString(const std::wstring& text);

    uint32_t GetSize() const { return size; }
    uint32_t GetPosition() const { return position; }
    // The whole content when held in memory, else null.
    const uint8_t* GetMemoryImage() const { return memoryImage; }
    // The stream the bytes come from (own or shared); null while the content is held in memory.
    std::FILE* GetStream() const { return stream; }
    const std::string& GetName() const { return name; }

private:
    [[noreturn]] void ThrowOpenError() const;
    void ReadIntoOwnImage(std::FILE* from, uint64_t offset);

    std::string name;
    std::FILE* stream = nullptr; // owned unless borrowed
    bool writing = false;
    uint32_t size = 0;
    uint32_t position = 0;
    const uint8_t* memoryImage = nullptr; // owned when ownsImage
    bool ownsImage = true;
    bool borrowed = false;
    uint32_t baseOffset = 0;
    uint32_t unflushed = 0; // bytes written since the last Flush
};

} // namespace OrvexEngine
