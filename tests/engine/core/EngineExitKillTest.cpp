// ctest-label: core
// The game killed at random moments of its exit, a hundred times over: the settings file is always one
// whole file (the older or the newer), never empty or cut, and the log of every killed run holds its
// start-up lines. Each run is a child process: the whole engine, headless, for the runs that measure an
// exit; for the hundred kills the services that write at exit (log, file manager, settings), created and
// deleted in the engine's order, so that the loop stays within seconds.
#include "engine/core/Config.h"
#include "engine/core/Engine.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"

#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace OrvexEngine;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Starts a child that starts the game with the given video mode, reports on the pipe that it is about to
// exit, and exits as the engine's destructor does: settings saved first, then the services deleted.
pid_t StartGame(const fs::path& dir, const std::string& mode, bool wholeEngine, int& exiting) {
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        auto ready = [&] {
            char byte = 1;
            if (write(ends[1], &byte, 1) != 1)
                _exit(3);
        };
        const std::string user = (dir / "User").string();
        if (wholeEngine) {
            EngineStartupParams params;
            params.title = "Velmora Ball";
            params.logEnabled = true;
            params.logDirectory = user;
            params.configDirectory = user;
            params.configName = "Velmora Ball";
            params.saveConfigOnExit = true;
            Engine engine(params);
            Config::Instance()->Execute("v_mode " + mode);
            ready();
        } else {
            auto* log = MessageManager::Instance(new MessageManager("Velmora Ball", true, false, user, ""));
            auto* files = FileManager::Instance(new FileManager("", false, "", 0));
            auto* config =
                Config::Instance(new Config(user, "Velmora Ball", false, "800x600x32", false, false));
            config->Load();
            config->Execute("v_mode " + mode);
            ready();
            config->Save();
            delete config;
            delete files;
            delete log;
        }
        _exit(0);
    }
    close(ends[1]);
    exiting = ends[0];
    return child;
}

// Waits for the child's report; false when it ended before making one.
bool WaitUntilExiting(int exiting) {
    char ready = 0;
    bool reported = read(exiting, &ready, 1) == 1;
    close(exiting);
    return reported;
}

} // namespace

TEST(EngineExit, KilledAtRandomMomentsOfItsExitTheGameKeepsAWholeSettingsFileAndItsLog) {
    fs::path dir = fs::path(VelmoraTest::TempDir()) / "killed";
    fs::path settings = dir / "User" / "Velmora Ball.ini";
    fs::path log = dir / "User" / "Velmora Ball.html";

    // Two whole engines give both possible files; two runs of the exit's services the length of an exit.
    std::string whole[2];
    Clock::duration exitLength{};
    for (int i = 0; i < 4; ++i) {
        int exiting = -1;
        pid_t child = StartGame(dir, i % 2 == 0 ? "640x480x16" : "1024x768x32", i < 2, exiting);
        ASSERT_GT(child, 0);
        ASSERT_TRUE(WaitUntilExiting(exiting));
        Clock::time_point start = Clock::now();
        int status = 0;
        waitpid(child, &status, 0);
        if (i >= 2)
            exitLength = std::max(exitLength, Clock::now() - start);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        if (i < 2) {
            whole[i] = ReadFile(settings);
            ASSERT_NE(ReadFile(log).find("Window creation:"), std::string::npos);
        } else {
            ASSERT_EQ(ReadFile(settings), whole[i % 2]) << "the exit's services write what the engine writes";
        }
    }
    ASSERT_NE(whole[0].find("v_mode 640x480x16\r\n"), std::string::npos);
    ASSERT_NE(whole[1].find("v_mode 1024x768x32\r\n"), std::string::npos);

    std::mt19937 random(20261210);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(exitLength).count());
    int killedBeforeTheEnd = 0;
    for (int run = 0; run < 100; ++run) {
        int exiting = -1;
        pid_t child = StartGame(dir, run % 2 == 0 ? "640x480x16" : "1024x768x32", false, exiting);
        ASSERT_GT(child, 0);
        ASSERT_TRUE(WaitUntilExiting(exiting)) << run;
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status))
            ++killedBeforeTheEnd;

        std::string file = ReadFile(settings);
        ASSERT_TRUE(file == whole[0] || file == whole[1]) << "run " << run << " left:\n" << file;
        ASSERT_NE(ReadFile(log).find("Initialization of File Manager..."), std::string::npos)
            << "run " << run;
    }
    // Most kills must land inside the exit, or the loop would prove nothing.
    EXPECT_GT(killedBeforeTheEnd, 30);
}
