#include "platform/win/ProgramResources.h"

namespace platform {

namespace {

ResourceLookup programLookup = nullptr;

uint32_t ReadU32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

} // namespace

void SetProgramResourceLookup(ResourceLookup lookup) {
    programLookup = lookup;
}

ResourceBytes FindProgramResource(uint32_t id) {
    if (programLookup == nullptr)
        return {};
    ResourceBytes bytes = programLookup(id);
    return bytes.data != nullptr ? bytes : ResourceBytes{};
}

bool FindImageResource(uint32_t id, ImageResource& image) {
    const ResourceBytes bytes = FindProgramResource(id);
    if (bytes.size < 8)
        return false;
    const uint64_t width = ReadU32(bytes.data);
    const uint64_t height = ReadU32(bytes.data + 4);
    // 64-bit products: a damaged header cannot wrap around to a size that happens to match.
    if (width == 0 || height == 0 || width * height * 4 != bytes.size - 8)
        return false;
    image.width = uint32_t(width);
    image.height = uint32_t(height);
    image.rgba = bytes.data + 8;
    return true;
}

} // namespace platform
