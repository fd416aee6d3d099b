#include "engine/files/FileManager.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"
#include "engine/files/FileTextual.h"
#include "engine/files/PackFile.h"
#include "platform/win/FileSystem.h"
#include "platform/win/Process.h"

#include <algorithm>

namespace OrvexEngine {

namespace {

constexpr uint32_t textMemoryLimit = 1u << 20;
constexpr uint32_t trailerSize = 7; // u32 pack size, then "APC"

// Pack members are named with "\"; names given with "/" find them too.
std::string WithBackslashes(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

} // namespace

FileManager::FileManager(const std::string& baseDirectory, bool usePacks, const std::string& dataDirectory,
                         uint32_t packMemoryLimit) {
    Log()->Message("Initialization of File Manager...");
    this->baseDirectory = baseDirectory.empty() ? GetExecutableDirectory() : baseDirectory;
    if (usePacks)
        OpenExecutablePack(packMemoryLimit);

    this->dataDirectory = ToLowerCopy(dataDirectory);
    std::string searchRoot = this->baseDirectory + "\\" + this->dataDirectory;
    if (!this->dataDirectory.empty() && this->dataDirectory.back() != '\\')
        this->dataDirectory += '\\';

    if (usePacks) {
        std::vector<std::string> found;
        FindFilesRecursive(searchRoot, "*.pak", found);
        for (const std::string& path : found) {
            try {
                packs.push_back(new PackFile(path, 0, 0, packMemoryLimit));
            } catch (const Error&) {
                // The pack has logged why; the others and the disk still serve.
            }
        }
    }
    // Without packs every data file comes from this folder: a game started without it would fail later
    // on the first file it needs, with nothing to say why.
    if (packs.empty() && !platform::IsReadableDirectory(searchRoot))
        Log()->Error("Failed to open \"" + searchRoot + "\" data directory, and no pack file holds the data");
}

FileManager::~FileManager() {
    for (PackFile* pack : packs)
        delete pack;
    packs.clear();
}

void FileManager::OpenExecutablePack(uint32_t packMemoryLimit) {
    std::string path = platform::GetExecutablePath();
    std::FILE* file = platform::OpenFile(path, "rb");
    if (file == nullptr)
        return;
    off_t length = -1;
    if (fseeko(file, 0, SEEK_END) == 0)
        length = ftello(file);
    uint8_t trailer[trailerSize] = {};
    bool read = length >= static_cast<off_t>(trailerSize) && length <= static_cast<off_t>(UINT32_MAX) &&
                fseeko(file, length - trailerSize, SEEK_SET) == 0 &&
                std::fread(trailer, 1, trailerSize, file) == trailerSize;
    std::fclose(file);
    if (!read || trailer[4] != 'A' || trailer[5] != 'P' || trailer[6] != 'C')
        return;
    uint32_t packSize = static_cast<uint32_t>(trailer[0]) | (static_cast<uint32_t>(trailer[1]) << 8) |
                        (static_cast<uint32_t>(trailer[2]) << 16) | (static_cast<uint32_t>(trailer[3]) << 24);
    // A size beyond the file would put the pack before the file's start.
    if (packSize > static_cast<uint64_t>(length) - trailerSize) {
        Log()->Message("...Pack file " + path + " found...");
        Log()->SetSpacing(false);
        Log()->Message("......");
        Log()->Error("Incorrect pack file format");
        Log()->SetSpacing(true);
        return;
    }
    try {
        packs.push_back(new PackFile(path, static_cast<uint32_t>(length) - packSize - trailerSize, packSize,
                                     packMemoryLimit));
    } catch (const Error&) {
        // Logged by the pack.
    }
}

std::string FileManager::DiskPath(const std::string& name) const {
    return IsAbsolutePath(name) ? name : baseDirectory + "\\" + name;
}

FileBinary* FileManager::OpenFile(const std::string& name, bool forWriting, uint32_t memoryLimit) {
    std::string path = DiskPath(name);
    if (forWriting)
        CreateDirectoryTree(path);
    uint32_t size = 0;
    const uint8_t* memory = nullptr;
    bool ownsImage = false;
    std::FILE* stream = nullptr;
    uint32_t offset = 0;
    if (!forWriting && !FileExistsOnDisk(path))
        FindInPacks(name, &size, &memory, &ownsImage, &stream, &offset);
    return new FileBinary(path, forWriting, memoryLimit, size, memory, ownsImage, stream, offset);
}

FileTextual* FileManager::OpenTextFile(const std::string& name, int mode, int encoding) {
    return new FileTextual(OpenFile(name, mode != 0, textMemoryLimit), mode, encoding);
}

bool FileManager::FileExists(const std::string& name) const {
    if (FileExistsOnDisk(DiskPath(name)))
        return true;
    return FindInPacks(name);
}

bool FileManager::DirectoryExists(const std::string& name) const {
    if (FileExistsOnDisk(DiskPath(name)))
        return true;
    // The prefix test here takes the name as written: "Data\..." is not below "data\".
    std::string packName = WithBackslashes(name);
    if (packName.compare(0, dataDirectory.size(), dataDirectory) != 0)
        return false;
    std::string rest = packName.substr(dataDirectory.size());
    return std::any_of(packs.begin(), packs.end(),
                       [&](const PackFile* pack) { return pack->HasDirectory(rest); });
}

void FileManager::ListFiles(const std::string& directory, const std::string& mask,
                            std::vector<std::string>& list) const {
    std::vector<std::string> work;
    std::string disk = IsAbsolutePath(directory) || directory.find(':') != std::string::npos
                           ? directory
                           : baseDirectory + "\\" + directory;
    FindFilesRecursive(disk, mask, work);
    size_t fromDisk = work.size();
    std::string packDirectory = WithBackslashes(directory);
    if (packDirectory.compare(0, dataDirectory.size(), dataDirectory) == 0) {
        std::string rest = packDirectory.substr(dataDirectory.size());
        for (const PackFile* pack : packs)
            pack->FindFiles(rest, mask, work);
        for (size_t i = fromDisk; i < work.size(); ++i)
            work[i] = dataDirectory + work[i];
    }
    std::sort(work.begin(), work.end());
    work.erase(std::unique(work.begin(), work.end()), work.end());
    list = std::move(work);
}

bool FileManager::FindInPacks(const std::string& name, uint32_t* size, const uint8_t** memory,
                              bool* ownsImage, std::FILE** stream, uint32_t* offset) const {
    std::string member = WithBackslashes(ToLowerCopy(name));
    ReplaceAll(member, "\\\\", "\\");
    if (member.compare(0, dataDirectory.size(), dataDirectory) != 0)
        return false;
    member.erase(0, dataDirectory.size());
    for (const PackFile* pack : packs) {
        if (!pack->Contains(member))
            continue;
        uint32_t memberSize = 0;
        pack->GetFileSize(member, memberSize);
        const uint8_t* memberMemory = nullptr;
        bool memberOwnsImage = false;
        std::FILE* memberStream = nullptr;
        uint32_t memberOffset = 0;
        pack->Locate(member, memberMemory, memberOwnsImage, memberStream, memberOffset);
        if (size != nullptr)
            *size = memberSize;
        if (memory != nullptr)
            *memory = memberMemory;
        if (ownsImage != nullptr)
            *ownsImage = memberOwnsImage;
        if (stream != nullptr)
            *stream = memberStream;
        if (offset != nullptr)
            *offset = memberOffset;
        return true;
    }
    return false;
}

} // namespace OrvexEngine
