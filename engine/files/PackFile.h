// One read-only pack archive ("OEPAK" 100): its header is checked and its member directory loaded at
// construction, then the file manager asks it which members exist, how large they are and where their bytes
// lie. The pack may start at a base offset inside a larger file (the pack appended to the executable).
// Created and owned by the FileManager, one per pack; every member opened from it must be deleted first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace OrvexEngine {

class FileBinary;

class PackFile {
public:
    // Opens and checks the pack. expectedSize 0: the file's length less the base offset. A pack no larger
    // than memoryLimit is held in memory whole. On any fault logs why ("......" then the error) and throws
    // Error with an empty text.
    PackFile(const std::string& path, uint32_t baseOffset, uint32_t expectedSize, uint32_t memoryLimit);
    PackFile(const PackFile&) = delete;
    PackFile& operator=(const PackFile&) = delete;
    virtual ~PackFile();

    // Names are relative to the data directory and compared lower-cased.
    bool Contains(const std::string& name) const;
    bool GetFileSize(const std::string& name, uint32_t& size) const;
    // Where a member's bytes lie: inside the pack's memory image (memory set, ownsImage false), or in the
    // pack's shared stream at an absolute offset (memory null). The outputs go unchanged to FileBinary.
    bool Locate(const std::string& name, const uint8_t*& memory, bool& ownsImage, std::FILE*& stream,
                uint32_t& offset) const;
    // True when some member directory contains the text anywhere (a substring test).
    bool HasDirectory(const std::string& text) const;
    // Appends the members below directory (subfolders too) whose rest contains the mask reduced to the
    // text before its first wildcard; the list is not cleared.
    void FindFiles(const std::string& directory, const std::string& mask,
                   std::vector<std::string>& list) const;

    void Close();

private:
    struct Member {
        uint32_t offset = 0; // from the base offset
        uint32_t size = 0;
    };

    void Load(const std::string& path, uint32_t expectedSize, uint32_t memoryLimit);

    uint32_t baseOffset = 0;
    FileBinary* file = nullptr; // owned
    std::map<std::string, Member> members;
    std::vector<std::string> names; // lower-case, in file order
    std::map<std::string, uint32_t> directoryCounts;
    std::vector<std::string> directories; // ascending
};

} // namespace OrvexEngine
