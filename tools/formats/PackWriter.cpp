#include "tools/formats/PackWriter.h"

#include "tools/formats/FormatError.h"
#include "tools/formats/VersionedWriter.h"

#include <algorithm>
#include <limits>

namespace VbFormats {

void PackWriter::CheckMemberName(const std::string& name) {
    if (name.empty())
        throw FormatError("pack member without a name");
    if (name.size() > 254)
        throw FormatError("pack member name longer than 254 characters: " + name);
    if (name.find('/') != std::string::npos)
        throw FormatError("pack member names use \"\\\": " + name);
    if (name.find(':') != std::string::npos || name.front() == '\\' || name.back() == '\\')
        throw FormatError("pack member names are relative file names: " + name);
    if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        throw FormatError("pack member names are lower-case: " + name);
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = std::min(name.find('\\', start), name.size());
        std::string segment = name.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..")
            throw FormatError("pack member name with an empty, \".\" or \"..\" step: " + name);
        start = end + 1;
    }
}

void PackWriter::Add(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (!faults.keepNamesAsGiven) {
        CheckMemberName(name);
        for (const Member& member : members)
            if (member.name == name)
                throw FormatError("pack member twice: " + name);
    }
    members.push_back(Member{name, bytes});
}

std::vector<uint8_t> PackWriter::Build() const {
    std::vector<const Member*> order;
    for (const Member& member : members)
        order.push_back(&member);
    if (!faults.keepNamesAsGiven)
        std::sort(order.begin(), order.end(),
                  [](const Member* a, const Member* b) { return a->name < b->name; });

    VersionedWriter writer(faults.magic, faults.version);
    writer.U32(faults.memberCount >= 0 ? static_cast<uint32_t>(faults.memberCount)
                                       : static_cast<uint32_t>(order.size()));
    for (const Member* member : order)
        writer.String(member->name);
    size_t entries = writer.Size();
    uint64_t offset = entries + 8 * order.size();
    for (size_t i = 0; i < order.size(); ++i) {
        if (offset + order[i]->bytes.size() > std::numeric_limits<uint32_t>::max())
            throw FormatError("pack larger than 4 GiB");
        bool bad = static_cast<int64_t>(i) == faults.badEntry;
        writer.U32(bad ? faults.badOffset : static_cast<uint32_t>(offset));
        writer.U32(bad ? faults.badSize : static_cast<uint32_t>(order[i]->bytes.size()));
        offset += order[i]->bytes.size();
    }
    for (const Member* member : order)
        writer.Bytes(member->bytes);
    std::vector<uint8_t> pack = writer.Close(faults.sizeDelta);
    if (faults.truncateTo > 0 && faults.truncateTo < pack.size())
        pack.resize(faults.truncateTo);
    return pack;
}

void PackWriter::Save(const std::string& path) const {
    SaveBytes(path, Build());
}

std::vector<uint8_t> PackWriter::AppendToHost(std::vector<uint8_t> host, const std::vector<uint8_t>& pack) {
    host.insert(host.end(), pack.begin(), pack.end());
    auto size = static_cast<uint32_t>(pack.size());
    for (int i = 0; i < 4; ++i)
        host.push_back(static_cast<uint8_t>(size >> (8 * i)));
    host.insert(host.end(), {'A', 'P', 'C'});
    return host;
}

} // namespace VbFormats
