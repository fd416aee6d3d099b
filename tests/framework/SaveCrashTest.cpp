// ctest-label: framework
// A player's files survive the process being killed at any moment of a save: a child process saves a
// profile and the high scores in a loop and is killed with SIGKILL at random points, again and again;
// after every kill the profile is exactly its old or its new complete file and the scores still read.
#include "framework/HighScoresTable.h"

#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class SaveCrashTest : public ProfileFixture {};

// Saves for ever (or until a generous time is up, should the parent never come).
[[noreturn]] void SaveInALoop(TestProfile& profile, HighScoresTable& scores) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (uint32_t round = 0; std::chrono::steady_clock::now() < giveUp; ++round) {
        profile.Rename(round % 2 == 0 ? std::wstring(200, L'B') : L"A");
        scores.AddEntry(L"Player", 0, round);
    }
    _exit(0);
}

} // namespace

TEST_F(SaveCrashTest, AKilledSaveLeavesTheOldOrTheNewFile) {
    TestProfile profile(userDirectory);
    profile.CreateNew(L"A");
    const fs::path file = ProfilesFolder() / profile.GetFileName();
    profile.Rename(std::wstring(200, L'B'));
    const std::string longName = ReadFileBytes(file);
    profile.Rename(L"A");
    const std::string shortName = ReadFileBytes(file);
    const fs::path scoresFile = fs::path(userDirectory) / "high_scores.hsf";
    {
        HighScoresTable scores(10, userDirectory);
        scores.AddEntry(L"First", 0, 1);
    }

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicroseconds(1000, 50000);
    int sawLong = 0, sawShort = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            HighScoresTable scores(10, userDirectory);
            SaveInALoop(profile, scores);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const std::string bytes = ReadFileBytes(file);
        ASSERT_TRUE(bytes == longName || bytes == shortName)
            << "kill " << kill << ": " << bytes.size() << " bytes";
        sawLong += bytes == longName;
        sawShort += bytes == shortName;
        HighScoresTable scores(10, userDirectory);
        ASSERT_FALSE(fs::exists(scoresFile.string() + ".bad")) << "kill " << kill;
        ASSERT_GE(scores.CountEntries(0), 1u) << "kill " << kill;
    }
    // The child really was saving when it was killed.
    EXPECT_GT(sawLong, 0);
    EXPECT_GT(sawShort, 0);
    TestProfileManager index(nullptr, userDirectory);
    EXPECT_EQ(index.GetProfiles().size(), 1u);
}
