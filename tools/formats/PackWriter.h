// Writes a pack ("OEPAK" 100): the versioned header, the member count, the member names, one (offset,
// size) entry per name with offsets counted from the pack's start, then the members' bytes uncompressed.
// Members are written sorted by name. The pack builder and the tests' fixtures create one per pack.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbFormats {

// Deliberate defects for fixtures only; a default-constructed value writes a sound pack.
struct PackFaults {
    bool keepNamesAsGiven = false; // no name checks, members in the order added (mixed case, duplicates)
    std::string magic = "OEPAK";
    uint32_t version = 100;
    int32_t sizeDelta = 0;    // added to the header's total size
    int64_t memberCount = -1; // written instead of the real count when >= 0
    uint32_t truncateTo = 0;  // the pack is cut to this many bytes when > 0
    int32_t badEntry = -1;    // this entry gets badOffset and badSize instead of its own
    uint32_t badOffset = 0;
    uint32_t badSize = 0;
};

class PackWriter {
public:
    // Member names are relative to the data folder, lower-case, "\"-separated and unique; throws
    // FormatError otherwise (unless the faults keep names as given).
    void Add(const std::string& name, const std::vector<uint8_t>& bytes);
    void Add(const std::string& name, const std::string& text) {
        Add(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    std::vector<uint8_t> Build() const;
    void Save(const std::string& path) const;

    size_t MemberCount() const { return members.size(); }

    // The bytes of a host file with a pack appended and the trailer the engine looks for: the pack's
    // size as u32, then "APC".
    static std::vector<uint8_t> AppendToHost(std::vector<uint8_t> host, const std::vector<uint8_t>& pack);

    // Throws FormatError naming the rule a member name breaks.
    static void CheckMemberName(const std::string& name);

    PackFaults faults;

private:
    struct Member {
        std::string name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Member> members;
};

} // namespace VbFormats
