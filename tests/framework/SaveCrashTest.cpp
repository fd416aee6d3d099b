// ctest-label: framework
// A player's files survive the process being killed at any moment of a save: a child process saves a
// profile and the high scores in a loop and is killed with SIGKILL at random points, again and again;
// after every kill the profile is exactly its old or its new complete file and the scores still read.
#include "framework/HighScoresTable.h"

#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <poll.h>
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

// Saves for ever (or until a generous time is up, should the parent never come), telling the parent through
// the pipe each time a round of saves is complete.
[[noreturn]] void SaveInALoop(TestProfile& profile, HighScoresTable& scores, int progress) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (uint32_t round = 0; std::chrono::steady_clock::now() < giveUp; ++round) {
        profile.Rename(round % 2 == 0 ? std::wstring(200, L'B') : L"A");
        scores.AddEntry(L"Player", 0, round);
        const char done = 1;
        if (write(progress, &done, 1) != 1)
            break;
    }
    _exit(0);
}

// Waits for the child's next completed round; false when none comes within a bound that only a hung child
// reaches.
bool AwaitRound(int progress) {
    pollfd waiting{progress, POLLIN, 0};
    char done = 0;
    return poll(&waiting, 1, 60000) == 1 && read(progress, &done, 1) == 1;
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

    // The kill lands after a random number of complete rounds, at a random point of the next one: the delay
    // is a random part of how long a round takes on this machine now, so a loaded machine whose disk syncs
    // slowly is hit inside its saves just as an idle one.
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> roundsFirst(1, 3);
    std::uniform_real_distribution<double> partOfARound(0.0, 1.0);
    int sawLong = 0, sawShort = 0;
    for (int kill = 0; kill < 200; ++kill) {
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(progress[0]);
            HighScoresTable scores(10, userDirectory);
            SaveInALoop(profile, scores, progress[1]);
        }
        close(progress[1]);
        const int rounds = roundsFirst(random);
        auto roundStart = std::chrono::steady_clock::now();
        auto roundLength = std::chrono::steady_clock::duration::zero();
        for (int round = 0; round < rounds; ++round) {
            EXPECT_TRUE(AwaitRound(progress[0])) << "kill " << kill << ": the child stopped saving";
            const auto now = std::chrono::steady_clock::now();
            roundLength = now - roundStart;
            roundStart = now;
        }
        std::this_thread::sleep_for(
            std::chrono::duration_cast<std::chrono::microseconds>(roundLength * partOfARound(random)));
        ::kill(child, SIGKILL);
        close(progress[0]);
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
