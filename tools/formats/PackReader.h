// Reads a whole pack file ("OEPAK" 100) into memory for the tools: its members in file order, each with
// its bytes. Checks what the engine checks (magic, total size, version, count and member bounds) and
// throws FormatError naming what is wrong. Created by the pack tool and by round-trip checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

class PackReader {
public:
    struct Member {
        std::string name;
        uint32_t offset = 0; // from the pack's start
        uint32_t size = 0;
    };

    explicit PackReader(const std::string& path);
    explicit PackReader(std::vector<uint8_t> bytes);

    const std::vector<Member>& Members() const { return members; }
    std::vector<uint8_t> Bytes(const Member& member) const;

private:
    void Parse();

    std::vector<uint8_t> pack;
    std::vector<Member> members;
};

// The whole content of a file; throws FormatError when it cannot be read.
std::vector<uint8_t> LoadBytes(const std::string& path);

} // namespace VbFormats
