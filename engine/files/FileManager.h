// The engine's file system: turns a data file's name into an open FileBinary, taking the file from disk when
// it exists there and otherwise from the packs (the pack appended to the executable first, then the
// "*.pak" files of the data directory in the order found). Also lists files and tests for files and
// directories over disk and packs together. Created second by the Engine, right after the log, and deleted
// just before it; single instance.
#pragma once

#include "engine/core/GlobalPointerHolder.h"
#include "engine/files/FilePaths.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace OrvexEngine {

class FileBinary;
class FileTextual;
class PackFile;

class FileManager : public GlobalPointerHolder<FileManager> {
public:
    // baseDirectory empty: the executable's directory. Never fails: a pack that cannot be opened has logged
    // why and is left out.
    FileManager(const std::string& baseDirectory, bool usePacks, const std::string& dataDirectory,
                uint32_t packMemoryLimit);
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;
    virtual ~FileManager();

    // A new file owned by the caller, to be deleted before the FileManager. Opening for writing creates the
    // missing directories first. Throws FileError "Failed to open \"<disk path>\" file" when the file is
    // neither on disk nor in a pack, or cannot be created.
    FileBinary* OpenFile(const std::string& name, bool forWriting, uint32_t memoryLimit);
    // OpenFile(name, mode != 0, 1 MiB) read or written as text (mode 1 writes); owned by the caller.
    FileTextual* OpenTextFile(const std::string& name, int mode, int encoding);

    bool FileExists(const std::string& name) const;
    bool DirectoryExists(const std::string& name) const;
    // Replaces list with the matching files below directory: disk files with their lower-cased full path,
    // pack members as data directory + member name; sorted, without duplicates.
    void ListFiles(const std::string& directory, const std::string& mask,
                   std::vector<std::string>& list) const;
    // The first pack holding the name (relative to the base directory, below the data directory) fills the
    // outputs it is given; false when no pack holds it.
    bool FindInPacks(const std::string& name, uint32_t* size = nullptr, const uint8_t** memory = nullptr,
                     bool* ownsImage = nullptr, std::FILE** stream = nullptr,
                     uint32_t* offset = nullptr) const;

    const std::string& GetBaseDirectory() const { return baseDirectory; }
    const std::string& GetDataDirectory() const { return dataDirectory; }
    size_t GetPackCount() const { return packs.size(); }

    // Where a name lies on disk: an absolute name as it is, anything else below the base directory.
    std::string DiskPath(const std::string& name) const;

private:
    void OpenExecutablePack(uint32_t packMemoryLimit);

    std::string baseDirectory;
    std::string dataDirectory;    // lower-case, with a trailing "\" unless empty
    std::vector<PackFile*> packs; // owned, in lookup order
};

} // namespace OrvexEngine
