// ctest-label: shell
#include "game/shell/Startup.h"

#include "engine/core/Error.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Startup, EveryFailureThatEscapesTheGameIsReportedWithStatusOne) {
    struct Case {
        const char* what;
        std::function<int()> game;
        int status;
        const char* message; // on standard error, since tests run without a display
    };
    const Case cases[] = {
        {"normal exit", [] { return 0; }, 0, ""},
        {"engine error", []() -> int { throw OrvexEngine::FatalError("Model missing"); }, 1,
         "Fatal Error: Model missing\n"},
        {"standard exception", []() -> int { throw std::runtime_error("vector too long"); }, 1,
         "Fatal Error: vector too long\n"},
        {"out of memory", []() -> int { throw std::bad_alloc(); }, 1, "Fatal Error: std::bad_alloc\n"},
        {"anything else", []() -> int { throw 42; }, 1, "Fatal Error: Unknown error\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        int status = VelmoraBall::RunReportingFailures(c.game);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_EQ(said, c.message) << c.what;
    }
}

// The log lives in the user data folder, so only standard error can say that the folder is unusable; it
// says so once, and the game goes on.
TEST(Startup, AnUnusableUserDataFolderIsReportedOnceOnStandardError) {
    fs::path home = fs::path(VelmoraTest::TempDir()) / "startup";
    fs::create_directories(home);

    setenv("XDG_DATA_HOME", home.c_str(), 1);
    testing::internal::CaptureStderr();
    std::string usable = VelmoraBall::PrepareUserDataDirectory();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(usable, home.string() + "\\Quillfen Games\\Velmora Ball");
    EXPECT_TRUE(fs::is_directory(home / "Quillfen Games" / "Velmora Ball"));

    // A file where the folder should be: neither the application-data folder nor ours can be made.
    std::ofstream(home / "blocked") << "a file";
    setenv("XDG_DATA_HOME", (home / "blocked" / "share").c_str(), 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        testing::internal::CaptureStderr();
        VelmoraBall::PrepareUserDataDirectory();
        std::string said = testing::internal::GetCapturedStderr();
        if (attempt == 0)
            EXPECT_NE(said.find("cannot be created or written"), std::string::npos) << said;
        else
            EXPECT_EQ(said, "") << "said once";
    }
}
