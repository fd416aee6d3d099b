#include "engine/files/PackFile.h"

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileBinary.h"

#include <cstring>

namespace OrvexEngine {

namespace {

constexpr uint32_t headerSize = 13;
constexpr uint32_t packVersion = 100;
// The smallest a member can take in the directory: a count byte, a terminator and its 8-byte entry.
constexpr uint32_t smallestMember = 10;

const char* const formatError = "Incorrect pack file format";

} // namespace

PackFile::PackFile(const std::string& path, uint32_t baseOffset, uint32_t expectedSize, uint32_t memoryLimit)
    : baseOffset(baseOffset) {
    Log()->Message("...Pack file " + path + " found...");
    try {
        Load(path, expectedSize, memoryLimit);
    } catch (const FileError& error) {
        Log()->SetSpacing(false);
        Log()->Message("......");
        Log()->Error(error.GetText());
        Log()->SetSpacing(true);
        Close();
        throw Error("");
    }
}

PackFile::~PackFile() {
    Close();
    names.clear();
    directoryCounts.clear();
    directories.clear();
}

void PackFile::Close() {
    delete file;
    file = nullptr;
    members.clear();
}

void PackFile::Load(const std::string& path, uint32_t expectedSize, uint32_t memoryLimit) {
    file = new FileBinary(path, false, memoryLimit);
    uint32_t fileSize = file->GetSize();
    // A pack shorter than its header is a pack that ends early: the header's read reports it.
    if (baseOffset > fileSize)
        throw FileError(formatError);
    uint32_t available = fileSize - baseOffset;
    if (baseOffset > 0 && !file->Seek(0, static_cast<int32_t>(baseOffset)))
        throw FileError(formatError);

    uint8_t header[headerSize];
    file->Read(header, headerSize);
    uint32_t totalSize = 0;
    uint32_t version = 0;
    std::memcpy(&totalSize, header, 4);
    std::memcpy(&version, header + 9, 4);
    bool sizeWrong = expectedSize == 0 ? totalSize != available : totalSize != expectedSize;
    // Whatever the expected size, the pack must lie within its file.
    if (std::memcmp(header + 4, "OEPAK", 5) != 0 || sizeWrong || totalSize > available)
        throw FileError(formatError);
    if (version != packVersion)
        throw FileError("Incorrect pack file version, current is 100");

    uint32_t count = 0;
    file->Read(&count, 4);
    Log()->Message("......It contains " + std::to_string(count) + " files...");
    // A count the pack cannot hold would otherwise have us allocate and read for it.
    if (totalSize < headerSize + 4 || count > (totalSize - headerSize - 4) / smallestMember)
        throw FileError(formatError);

    names.resize(count);
    for (std::string& name : names) {
        file->ReadString(name);
        ToLower(name);
    }
    std::vector<uint32_t> entries(2 * static_cast<size_t>(count));
    file->Read(entries.data(), count * 8);

    for (uint32_t i = 0; i < count; ++i) {
        Member member{entries[2 * i], entries[2 * i + 1]};
        // Every member must lie inside the pack, or opening it would read beyond the pack's bytes.
        if (static_cast<uint64_t>(member.offset) + member.size > totalSize)
            throw FileError(formatError);
        members.emplace(names[i], member); // a repeated name keeps its first entry
        size_t slash = names[i].rfind('\\');
        if (slash != std::string::npos)
            ++directoryCounts[names[i].substr(0, slash)];
    }
    for (const auto& entry : directoryCounts)
        directories.push_back(entry.first);
}

bool PackFile::Contains(const std::string& name) const {
    return members.count(ToLowerCopy(name)) != 0;
}

bool PackFile::GetFileSize(const std::string& name, uint32_t& size) const {
    auto found = members.find(ToLowerCopy(name));
    if (found == members.end())
        return false;
    size = found->second.size;
    return true;
}

bool PackFile::Locate(const std::string& name, const uint8_t*& memory, bool& ownsImage, std::FILE*& stream,
                      uint32_t& offset) const {
    auto found = members.find(ToLowerCopy(name));
    if (found == members.end() || file == nullptr)
        return false;
    ownsImage = false;
    if (file->GetMemoryImage() != nullptr) {
        memory = file->GetMemoryImage() + baseOffset + found->second.offset;
    } else {
        memory = nullptr;
        stream = file->GetStream();
        offset = baseOffset + found->second.offset;
    }
    return true;
}

bool PackFile::HasDirectory(const std::string& text) const {
    std::string lower = ToLowerCopy(text);
    for (const std::string& directory : directories)
        if (directory.find(lower) != std::string::npos)
            return true;
    return false;
}

void PackFile::FindFiles(const std::string& directory, const std::string& mask,
                         std::vector<std::string>& list) const {
    std::string prefix = ToLowerCopy(directory);
    if (!prefix.empty() && prefix.back() != '\\')
        prefix += '\\';
    // The mask is reduced to the text before its first wildcard (a leading one is dropped): a substring
    // test stands in for real matching.
    std::string reduced = ToLowerCopy(mask);
    for (char wildcard : {'*', '?'}) {
        size_t at = 0;
        while ((at = reduced.find(wildcard)) != std::string::npos) {
            if (at == 0)
                reduced.erase(0, 1);
            else
                reduced.erase(at);
        }
    }
    for (const std::string& name : names) {
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (reduced.empty() || name.find(reduced, prefix.size()) != std::string::npos)
            list.push_back(name);
    }
}

} // namespace OrvexEngine
