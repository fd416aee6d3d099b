// The running process as the engine sees it: where its executable lies.
// Implemented on /proc; tests may pretend the executable lies elsewhere.
#pragma once

#include <string>

namespace platform {

// The full path of the running executable, with "/" separators.
std::string GetExecutablePath();

// Makes GetExecutablePath answer this path (empty: the real one again). For tests.
void SetExecutablePathForTests(const std::string& path);

} // namespace platform
