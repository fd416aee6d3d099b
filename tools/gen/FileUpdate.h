// Writing generated files so that incremental builds stay quiet: a file is replaced only when its bytes
// change, and then through the engine's file replacer, so a reader never sees half a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VbGen {

// True when the file was written (new or changed), false when it already held exactly these bytes.
// Creates missing folders. Throws GenError when the file cannot be written.
bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteIfChanged(const std::string& path, const std::string& text);

// The whole content of a file; throws GenError when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);

} // namespace VbGen
