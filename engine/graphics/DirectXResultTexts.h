// The published one-sentence descriptions of the display layer's result codes, for the render system's
// error lines. Pure lookup; no state.
#pragma once

#include <cstdint>

namespace OrvexEngine {

// The description of a failure code, or null for a code the table does not hold.
const char* DirectXResultText(int32_t code);

} // namespace OrvexEngine
