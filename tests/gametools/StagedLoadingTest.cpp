// ctest-label: gametools
// Loading queued jobs in steps: the percentage targets per queue length (the whole queue at 100 %), the
// step count and progress of a full sequence, the subclass's step, the temporary-texture pass that puts kept
// material jobs before the jobs whose images they prepare, and loading everything at once.
#include "gametools/DataKeeper.h"

#include "engine/core/Error.h"
#include "engine/graphics/ShaderDescriptor.h"
#include "engine/math/Random.h"
#include "platform/win/Time.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tools/formats/BinaryWriter.h"
#include "tools/formats/MaterialWriter.h"

#include <gtest/gtest.h>

using namespace GameTools;

namespace {

// Exposes the pass counter and records the subclass steps it is asked for.
class ProbeKeeper : public DataKeeper {
public:
    ProbeKeeper() : DataKeeper("en") {}
    bool Load(uint32_t askedStep) override {
        asked.push_back(askedStep);
        if (askedStep != ~0u && step != 101)
            return false;
        return refusals-- <= 0;
    }
    void QueueModels(uint32_t count) {
        for (uint32_t i = 0; i < count; ++i)
            RequestModel("m" + std::to_string(i), "none" + std::to_string(i) + ".mlf", false, false, 0, false,
                         false, false);
    }
    uint32_t JobsDone() const { return jobsDone; }

    std::vector<uint32_t> asked;
    int refusals = 0;
};

// The step budget is measured on the frame clock; a fake clock that stands still keeps a slow (loaded or
// sanitized) machine from cutting the percentage steps short.
struct StandingClock {
    StandingClock() { platform::InstallFakeClock(); }
    ~StandingClock() { platform::RemoveFakeClock(); }
};

class StagedLoading : public testing::Test {
protected:
    StandingClock clock;
    VelmoraTest::ModelServices services{"staged"};
};

TEST_F(StagedLoading, PercentageStepsReachTheirTargetsAndTheLastRunsTheWholeQueue) {
    struct Case {
        uint32_t length;
        std::vector<std::pair<uint32_t, uint32_t>> doneAfterStep; // step -> jobs done after it
    };
    const Case cases[] = {
        {250, {{1, 2}, {2, 5}, {99, 247}, {100, 250}}},
        {10, {{1, 0}, {9, 0}, {10, 1}, {100, 10}}},
        {29, {{1, 0}, {4, 1}, {99, 28}, {100, 29}}}, // in doubles 29 / 100 * 100 falls short of 29
        {57, {{100, 57}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        ProbeKeeper keeper;
        keeper.QueueModels(c.length);
        keeper.LoadNextStep(); // the temporary-texture pass: no materials beside these models
        ASSERT_EQ(keeper.GetStep(), 1u);
        ASSERT_EQ(keeper.GetJobQueue().size(), c.length);
        size_t next = 0;
        for (uint32_t step = 1; step <= 100; ++step) {
            keeper.LoadNextStep();
            ASSERT_EQ(keeper.GetStep(), step + 1);
            if (next < c.doneAfterStep.size() && c.doneAfterStep[next].first == step) {
                EXPECT_EQ(keeper.JobsDone(), c.doneAfterStep[next].second) << "after step " << step;
                ++next;
            }
        }
        EXPECT_FALSE(services.log.Contains("There is no"));
        EXPECT_NE(keeper.GetModel("m" + std::to_string(c.length - 1)), nullptr);
        EXPECT_FALSE(services.log.Contains("There is no")); // every job ran, the last one included
    }
}

TEST_F(StagedLoading, AnEmptyQueueTakes102CallsAndTheSubclassStepCanHold) {
    ProbeKeeper keeper;
    keeper.refusals = 1;
    for (uint32_t call = 1; call <= 101; ++call) {
        keeper.LoadNextStep();
        ASSERT_EQ(keeper.GetStep(), call);
        EXPECT_FLOAT_EQ(keeper.GetProgress(), float(call) / 102.0f);
    }
    // Step 0 and every percentage step completed in their own call; Load was asked only when they did not.
    EXPECT_TRUE(keeper.asked.empty());
    keeper.LoadNextStep(); // the subclass refuses once: the sequence holds at 101
    EXPECT_EQ(keeper.GetStep(), 101u);
    keeper.LoadNextStep();
    EXPECT_EQ(keeper.GetStep(), 102u);
    EXPECT_EQ(keeper.GetProgress(), 1.0f);
    EXPECT_EQ(keeper.asked, (std::vector<uint32_t>{101, 101}));
}

TEST_F(StagedLoading, TheTemporaryPassPutsKeptMaterialJobsBeforeTheirSources) {
    VbFormats::Material material;
    material.stages.push_back({});
    material.stages[0].flags = 1;
    material.stages[0].colorImage = "props\\barrel.png";
    VbFormats::MaterialWriter::Save(services.data.Path("props/barrel.srf"), material);
    VbFormats::SaveBytes(services.data.Path("props/broken.srf"), {1, 2, 3}); // exists, cannot be read

    ProbeKeeper keeper;
    OrvexEngine::ShaderDescriptor flames;
    flames.InitAnimated(true, 2, 1, 1, 2, 10.0f, "fx\\flame1.png", "", true);
    keeper.RequestShaderUser("fx/flames", flames, true, false, false);
    keeper.RequestModel("props/barrel", "props\\barrel.mlf", false, false, 0, false, false, false);
    keeper.RequestParticleSystem("props/smoke", "props\\broken.psf", false, false, false);
    keeper.RequestModel("props/plain", "props\\plain.mlf", false, false, 0, false, false, false);

    OrvexEngine::SeedRandom(7);
    keeper.LoadNextStep();
    ASSERT_EQ(keeper.GetStep(), 1u);
    EXPECT_EQ(keeper.JobsDone(), 0u);
    EXPECT_TRUE(services.log.Contains("broken.srf")); // logged, not thrown

    // Every source job in shuffled order, each preceded by a job per image it uses, named after its index,
    // stage and frame.
    std::vector<std::string> sources;
    std::vector<std::string> temporaries;
    for (const DataKeeperEntry* job : keeper.GetJobQueue()) {
        if (job->name.rfind("temp_loading_", 0) == 0) {
            EXPECT_TRUE(job->keep);
            EXPECT_EQ(job->kind, DataKeeperEntry::KindShaderUser);
            temporaries.push_back(job->name);
            continue;
        }
        const std::string index = std::to_string(sources.size());
        std::vector<std::string> expected;
        if (job->name == "fx/flames") {
            expected = {"temp_loading_" + index + "_0_0", "temp_loading_" + index + "_0_1"};
            for (const DataKeeperEntry* queued : keeper.GetJobQueue()) {
                if (queued->name.rfind("temp_loading_" + index + "_", 0) == 0) {
                    EXPECT_TRUE(queued->temporaryTextures); // copied from the source job
                }
            }
        } else if (job->name == "props/barrel") {
            expected = {"temp_loading_" + index + "_0_0"};
        }
        EXPECT_EQ(temporaries, expected) << job->name;
        temporaries.clear();
        sources.push_back(job->name);
    }
    EXPECT_EQ(sources.size(), 4u);
    EXPECT_EQ(keeper.GetJobQueue().size(), 7u);

    while (keeper.GetStep() < 102)
        keeper.LoadNextStep();
    keeper.GetModel("props/barrel");
    keeper.GetShaderUser("fx/flames");
    EXPECT_FALSE(services.log.Contains("There is no"));
    keeper.GetShaderUser("temp_loading_0_0_0"); // kept, never named
    EXPECT_TRUE(services.log.Contains("There is no \"temp_loading_0_0_0\" resource"));
}

TEST_F(StagedLoading, LoadAllRunsTheQueueInOrderWithoutTemporaryJobs) {
    VbFormats::Material material;
    material.stages.push_back({});
    material.stages[0].colorImage = "a.png";
    VbFormats::MaterialWriter::Save(services.data.Path("a.srf"), material);
    ProbeKeeper keeper;
    keeper.QueueModels(3);
    keeper.RequestModel("a", "a.mlf", false, true, 4.0f, false, false, false);
    keeper.RequestModel("m0", "again.mlf", false, false, 0, false, false, false);
    keeper.LoadAll();
    EXPECT_EQ(keeper.GetJobQueue().size(), 5u);
    EXPECT_EQ(keeper.GetProgress(), 1.0f);
    EXPECT_EQ(keeper.asked, std::vector<uint32_t>{~0u});
    // Queue order: the second "m0" runs last and is the duplicate.
    EXPECT_TRUE(services.log.Contains("Model \"m0\" is duplicated"));
    keeper.GetModel("a");
    keeper.GetModel("m2");
    EXPECT_FALSE(services.log.Contains("There is no"));
}

} // namespace
