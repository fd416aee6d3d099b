// The process's component-object initialisation. Linux has no COM; the counter keeps the answers the engine
// relies on: the first initialisation of the thread returns ComOk, any further one ComFalse, and only a
// matching number of uninitialisations ends it.
#pragma once

namespace platform {

constexpr long ComOk = 0;    // S_OK
constexpr long ComFalse = 1; // S_FALSE: already initialised on this thread

long ComInitialize();
void ComUninitialize();

} // namespace platform
