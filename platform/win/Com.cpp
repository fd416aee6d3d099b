#include "platform/win/Com.h"

namespace platform {

namespace {
thread_local int initializeCount = 0;
}

long ComInitialize() {
    return initializeCount++ == 0 ? ComOk : ComFalse;
}

void ComUninitialize() {
    if (initializeCount > 0)
        --initializeCount;
}

} // namespace platform
