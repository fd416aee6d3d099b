// Resources compiled into the program itself (its window icon, its system cursor), found by id as a
// program's own resources are on the platform the engine was written for. The executable owns the bytes;
// its entry point hands the platform a lookup, since the platform library cannot link the generated table.
// An image resource is u32 width, u32 height (little endian), then width × height RGBA pixels, top row first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct ResourceBytes {
    const uint8_t* data = nullptr; // not owned; lives as long as the program
    size_t size = 0;
};

// Answers the resource with this id, or empty bytes when the program carries none.
using ResourceLookup = ResourceBytes (*)(uint32_t id);

// nullptr removes the lookup: then no resource is found.
void SetProgramResourceLookup(ResourceLookup lookup);
ResourceBytes FindProgramResource(uint32_t id);

struct ImageResource {
    uint32_t width = 0;
    uint32_t height = 0;
    const uint8_t* rgba = nullptr; // width × height × 4 bytes, not owned
};

// The image resource with this id; false when it is missing, empty, or its size does not match its header.
bool FindImageResource(uint32_t id, ImageResource& image);

} // namespace platform
