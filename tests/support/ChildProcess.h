// Runs a piece of a test in a forked child process, for what the test process itself must survive: a kill,
// a signal from the kernel, a resource limit. The child leaves through _exit with the body's result, so
// neither the test framework nor the leak checker runs twice.
#pragma once

#include <functional>

namespace VelmoraTest {

// The wait status of the child (WIFEXITED/WIFSIGNALED apply); -1 when no child could be started.
int RunInChild(const std::function<int()>& body);

// Limits the size of every file the calling process writes to bytes; with killOnExcess the kernel's signal
// for a write beyond the limit ends the process (its default), otherwise the write fails with an error.
void LimitFileSize(unsigned long bytes, bool killOnExcess);

} // namespace VelmoraTest
