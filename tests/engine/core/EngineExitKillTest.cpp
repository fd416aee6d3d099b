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

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace OrvexEngine;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One game in a child process: it reports on one pipe when it has started and waits on the other for the
// word to exit, so that the exits of several games begin together.
struct Game {
    pid_t pid = -1;
    int started = -1; // read end
    int exitNow = -1; // write end
};

// Starts the game with the given video mode; once told, it exits as the engine's destructor does: settings
// saved first, then the services deleted.
Game StartGame(const fs::path& dir, const std::string& mode, bool wholeEngine) {
    Game game;
    int report[2];
    int order[2];
    if (pipe(report) != 0 || pipe(order) != 0)
        return game;
    std::fflush(nullptr);
    game.pid = fork();
    if (game.pid == 0) {
        close(report[0]);
        close(order[1]);
        auto startedThenWait = [&] {
            char byte = 1;
            if (write(report[1], &byte, 1) != 1 || read(order[0], &byte, 1) != 1)
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
            startedThenWait();
        } else {
            auto* log = MessageManager::Instance(new MessageManager("Velmora Ball", true, false, user, ""));
            auto* files = FileManager::Instance(new FileManager("", false, "", 0));
            auto* config =
                Config::Instance(new Config(user, "Velmora Ball", false, "800x600x32", false, false));
            config->Load();
            config->Execute("v_mode " + mode);
            startedThenWait();
            config->Save();
            delete config;
            delete files;
            delete log;
        }
        _exit(0);
    }
    close(report[1]);
    close(order[0]);
    game.started = report[0];
    game.exitNow = order[1];
    return game;
}

// Waits until the game has started; false when it ended before.
bool WaitUntilStarted(Game& game) {
    char byte = 0;
    bool reported = read(game.started, &byte, 1) == 1;
    close(game.started);
    return reported;
}

void TellToExit(Game& game) {
    char byte = 1;
    if (write(game.exitNow, &byte, 1) != 1)
        ADD_FAILURE() << "the game ended before its exit";
    close(game.exitNow);
}

} // namespace

TEST(EngineExit, KilledAtRandomMomentsOfItsExitTheGameKeepsAWholeSettingsFileAndItsLog) {
    // Four games side by side, each in a folder of its own, keep the hundred kills within seconds.
    constexpr int lanes = 4;
    const fs::path root = fs::path(VelmoraTest::TempDir()) / "killed";
    auto dirOf = [&](int lane) { return root / std::to_string(lane); };
    auto settingsOf = [&](int lane) { return dirOf(lane) / "User" / "Velmora Ball.ini"; };
    auto logOf = [&](int lane) { return dirOf(lane) / "User" / "Velmora Ball.html"; };
    const std::string modes[2] = {"640x480x16", "1024x768x32"};

    // The whole engine once, then the exit's services in both modes: both possible files, the assurance
    // that the services write what the engine writes, and the length of an exit.
    std::string whole[2];
    Clock::duration exitLength{};
    for (int i = 0; i < 3; ++i) {
        const bool wholeEngine = i == 0;
        Game game = StartGame(dirOf(0), modes[i % 2], wholeEngine);
        ASSERT_GT(game.pid, 0);
        ASSERT_TRUE(WaitUntilStarted(game));
        Clock::time_point start = Clock::now();
        TellToExit(game);
        int status = 0;
        waitpid(game.pid, &status, 0);
        if (!wholeEngine)
            exitLength = std::max(exitLength, Clock::now() - start);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        if (wholeEngine) {
            ASSERT_NE(ReadFile(logOf(0)).find("Window creation:"), std::string::npos);
        }
        if (i < 2) {
            whole[i] = ReadFile(settingsOf(0));
        } else {
            ASSERT_EQ(ReadFile(settingsOf(0)), whole[0])
                << "the exit's services write what the engine writes";
        }
    }
    ASSERT_NE(whole[0].find("v_mode 640x480x16\r\n"), std::string::npos);
    ASSERT_NE(whole[1].find("v_mode 1024x768x32\r\n"), std::string::npos);
    for (int lane = 1; lane < lanes; ++lane) {
        fs::create_directories(dirOf(lane) / "User");
        fs::copy_file(settingsOf(0), settingsOf(lane), fs::copy_options::overwrite_existing);
    }

    std::mt19937 random(20261210);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(exitLength).count());
    // A hundred kills at least; more rounds while too few of them landed inside an exit (a loaded machine
    // can make the measured exit longer than the later ones), up to four times as many.
    int killedBeforeTheEnd = 0;
    for (int round = 0; round < 100 / lanes || (killedBeforeTheEnd <= 30 && round < 400 / lanes); ++round) {
        Game games[lanes];
        std::vector<std::pair<long long, int>> kills; // microseconds after the exits began, lane
        for (int lane = 0; lane < lanes; ++lane) {
            games[lane] = StartGame(dirOf(lane), modes[(round + lane) % 2], false);
            ASSERT_GT(games[lane].pid, 0);
            kills.emplace_back(moment(random), lane);
        }
        for (Game& game : games)
            ASSERT_TRUE(WaitUntilStarted(game)) << "round " << round;
        std::sort(kills.begin(), kills.end());
        const Clock::time_point start = Clock::now();
        for (Game& game : games)
            TellToExit(game);
        for (const auto& [after, lane] : kills) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(after));
            kill(games[lane].pid, SIGKILL);
        }
        for (int lane = 0; lane < lanes; ++lane) {
            int status = 0;
            waitpid(games[lane].pid, &status, 0);
            if (WIFSIGNALED(status))
                ++killedBeforeTheEnd;
            std::string file = ReadFile(settingsOf(lane));
            ASSERT_TRUE(file == whole[0] || file == whole[1])
                << "round " << round << ", lane " << lane << " left:\n"
                << file;
            ASSERT_NE(ReadFile(logOf(lane)).find("Initialization of File Manager..."), std::string::npos)
                << "round " << round << ", lane " << lane;
        }
    }
    // Most kills must land inside the exit, or the loop would prove nothing.
    EXPECT_GT(killedBeforeTheEnd, 30);
}
