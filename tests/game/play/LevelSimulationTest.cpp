// ctest-label: gameplay
// The first level of the laid-out data played through the real engine by the autopilot at a fixed frame
// time: one seed wins it within the frame budget and plays it the same way twice (the transcripts are
// compared line by line), with blocks broken, bonuses falling and pictures of the play written every few
// seconds (level-sim-*.png); a player who lets a ball pass now and then, with another seed, loses a life,
// gets a new ball on a new bat and plays on. The transcripts go to test-output/level-sim-*.txt.
#include "tests/game/play/LevelSimulation.h"

#include "game/play/GameLogic.h"
#include "platform/win/Process.h"
#include "tests/support/PngWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using VelmoraBall::GameLogic;
using VelmoraTest::LevelFrameRecord;
using VelmoraTest::LevelSimulation;
using VelmoraTest::LevelSimulationOptions;

namespace {

constexpr uint32_t frameBudget = 12000; // 200 s of play at 60 frames per second

LevelSimulationOptions Options(uint32_t seed) {
    LevelSimulationOptions options;
    options.binDirectory =
        (std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin").string();
    options.seed = seed;
    return options;
}

void SaveTranscript(const LevelSimulation& simulation, const std::string& name) {
    std::ofstream(VelmoraTest::TestOutputPath(name), std::ios::binary) << simulation.GetTranscriptText();
}

TEST(LevelSimulation, WinsTheFirstLevelTheSameWayTwice) {
    LevelSimulationOptions options = Options(7);
    options.pngEvery = 300;
    options.pngPrefix = VelmoraTest::TestOutputPath("level-sim");
    std::vector<std::string> first;
    {
        LevelSimulation simulation(options);
        ASSERT_EQ(simulation.Run(frameBudget), GameLogic::StateWon) << simulation.GetTranscript().back();
        SaveTranscript(simulation, "level-sim-seed7.txt");
        first = simulation.GetTranscript();
        const std::vector<LevelFrameRecord>& records = simulation.GetRecords();
        EXPECT_EQ(records.back().blocksLeft, 0u);
        EXPECT_GT(records.back().score, 30 * 5) << "every brick of the level is worth points";
        bool bonusFell = false;
        for (const LevelFrameRecord& record : records)
            bonusFell = bonusFell || record.bonuses > 0;
        EXPECT_TRUE(bonusFell);
        EXPECT_TRUE(std::filesystem::exists(options.pngPrefix + "-00300.png"));
    }
    options.pngEvery = 0;
    LevelSimulation again(options);
    again.Run(frameBudget);
    const std::vector<std::string>& second = again.GetTranscript();
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(second[i], first[i]) << "the runs part at frame " << i + 1;
}

TEST(LevelSimulation, ALostBallCostsALifeAndPlayGoesOn) {
    LevelSimulationOptions options = Options(3);
    options.missChance = 0.25f;
    LevelSimulation simulation(options);
    // Played until a life is lost, a new ball waits on the new bat, flies, and breaks a block.
    enum { Playing, Lost, Held, Launched, Broke } phase = Playing;
    uint32_t blocksAtLaunch = 0;
    while (phase != Broke && simulation.GetRecords().size() < frameBudget) {
        const LevelFrameRecord& record = simulation.Step();
        ASSERT_EQ(record.state, GameLogic::StateRunning) << "frame " << record.frame;
        if (phase == Playing && record.lives < options.lives) {
            EXPECT_EQ(record.lives, options.lives - 1);
            phase = Lost;
        } else if (phase == Lost && record.held) {
            EXPECT_EQ(record.balls, 1u);
            phase = Held;
        } else if (phase == Held && !record.held) {
            EXPECT_EQ(record.balls, 1u);
            blocksAtLaunch = record.blocksLeft;
            phase = Launched;
        } else if (phase == Launched && record.blocksLeft < blocksAtLaunch) {
            EXPECT_EQ(record.lives, options.lives - 1);
            phase = Broke;
        }
    }
    SaveTranscript(simulation, "level-sim-seed3.txt");
    EXPECT_EQ(phase, Broke) << "stopped at " << simulation.GetTranscript().back();
}

} // namespace
