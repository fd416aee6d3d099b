// The gameplay's way to end the program: the engine's fatal path (logged "PROGRAM ABORTING: " with the
// text, then FatalError), also where no log exists yet, as in tools and tests without an engine.
#pragma once

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"

#include <string>

namespace VelmoraBall {

[[noreturn]] inline void EndProgram(const std::string& text) {
    if (OrvexEngine::MessageManager* log = OrvexEngine::Log())
        log->Fatal(text);
    throw OrvexEngine::FatalError(text);
}

} // namespace VelmoraBall
