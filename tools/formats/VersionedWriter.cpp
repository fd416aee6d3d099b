#include "tools/formats/VersionedWriter.h"

#include "tools/formats/FormatError.h"

namespace VbFormats {

VersionedWriter::VersionedWriter(const std::string& magic, uint32_t version) {
    if (magic.size() != 5)
        throw FormatError("magic must be 5 characters: " + magic);
    U32(0);
    Bytes(magic.data(), magic.size());
    U32(version);
}

const std::vector<uint8_t>& VersionedWriter::Close(int32_t sizeDelta) {
    PatchU32(0, static_cast<uint32_t>(static_cast<int64_t>(Size()) + sizeDelta));
    return Data();
}

void VersionedWriter::Truncate(uint32_t count) {
    std::vector<uint8_t>& bytes = Data();
    const size_t body = bytes.size() - headerSize;
    bytes.resize(bytes.size() - (count < body ? count : body));
}

} // namespace VbFormats
