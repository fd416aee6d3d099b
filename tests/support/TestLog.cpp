#include "tests/support/TestLog.h"

#include <cstdlib>

namespace VelmoraTest {

std::string TempDir() {
    const char* dir = std::getenv("VB_TEST_TMP");
    return dir != nullptr ? dir : "/tmp";
}

} // namespace VelmoraTest
