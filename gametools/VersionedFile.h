// Writes and checks the 13-byte header that begins the game's own binary files: the total file size, a
// five-character magic naming the format and the format version, little-endian. The user creates one per
// file it reads or writes and reads or writes the body through GetFile(); one instance per open file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace OrvexEngine {
class FileBinary;
class FileReplacer;
} // namespace OrvexEngine

namespace GameTools {

class VersionedFile {
public:
    static constexpr uint32_t HeaderSize = 13;
    static constexpr int ModeRead = 0;
    static constexpr int ModeWrite = 1;

    // magic: the format's five characters.
    VersionedFile(const std::string& magic, uint32_t version);
    VersionedFile(const VersionedFile&) = delete;
    VersionedFile& operator=(const VersionedFile&) = delete;
    // Closes the file; a failure to complete it here is logged, never thrown. A file being written while
    // an exception unwinds is dropped and the previous file at its path stays.
    ~VersionedFile();

    // Closes what is open, then opens the path and writes (mode 1) or checks (mode 0) the header; the file
    // is left at offset 13. A written file is built as path + ".tmp" and replaces the path in Close. Throws
    // FileError: the file layer's, or "Incorrect "path" file format" for a wrong magic or size, or "Incorrect
    // "path" format version (N), current is M". With acceptAnyVersion every version is read and the stored
    // one is written to foundVersion when that is not null.
    void Open(const std::string& path, int mode, bool acceptAnyVersion = false,
              uint32_t* foundVersion = nullptr);
    // Null when no file is open.
    OrvexEngine::FileBinary* GetFile() const { return file; }
    // The header for the open file as it stands: its size field is the current position.
    std::array<uint8_t, HeaderSize> MakeHeader() const;
    // When writing, puts the final size into the header and moves the file over the path; when that fails
    // (FileError) the temporary file is deleted and the previous file stays. Nothing when no file is open.
    void Close();

private:
    std::array<char, 5> magic{};
    uint32_t version = 0;
    // The file read (owned), or the replacer's file while writing (not owned).
    OrvexEngine::FileBinary* file = nullptr;
    std::unique_ptr<OrvexEngine::FileReplacer> replacer; // owned, while writing
    int mode = ModeRead;
    int uncaughtAtOpen = 0; // exceptions in flight when writing began
};

} // namespace GameTools
