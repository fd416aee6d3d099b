// Text helpers shared by every part of the engine. Narrow text is UTF-8, wide text is std::wstring;
// numbers are always written and read with ".".
#pragma once

#include <string>

namespace OrvexEngine {

// The directory of the running executable, without a trailing separator.
std::string GetExecutableDirectory();

// True for a path that names its own root: "/..." on this system, or the drive and UNC forms ("C:...",
// "\\server") that data and settings files may still carry.
bool IsAbsolutePath(const std::string& path);

} // namespace OrvexEngine
