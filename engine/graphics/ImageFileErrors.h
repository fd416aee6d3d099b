// The errors the image readers throw for files they refuse, and the limits they check sizes against
// before allocating anything. Shared by the loaders of Image and by FileDDS.
#pragma once

#include "engine/core/Error.h"

#include <cstdint>
#include <string>

namespace OrvexEngine {

// The largest side an image file may declare: beyond what any device here can hold as a texture, and
// small enough that width * height * 4 fits the 32-bit size of an Image.
constexpr uint32_t maxImageFileSide = 16384;

[[noreturn]] inline void ThrowIncorrectFormat(const std::string& name) {
    throw FileError("Incorrect \"" + name + "\" file format");
}

[[noreturn]] inline void ThrowUnsupportedFormat(const std::string& name) {
    throw FileError("Unsupported \"" + name + "\" file format");
}

// The text of the file layer's short read, for data that a file declares but does not hold: reported
// before anything is allocated for it.
[[noreturn]] inline void ThrowShortRead(uint64_t count, const std::string& name) {
    throw FileError("Failed to read " + std::to_string(count) + " bytes from \"" + name + "\" file");
}

} // namespace OrvexEngine
