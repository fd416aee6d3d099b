// ctest-label: gametools
#include "gametools/RandomSelecter.h"

#include "engine/math/Random.h"

#include <gtest/gtest.h>

#include <map>

using namespace GameTools;

namespace {

constexpr uint32_t NoCap = 1000000;

// How often each id comes out in `draws` selections, and the longest run of one id.
struct Tally {
    std::map<int32_t, int> counts;
    int longestRun = 0;
};

Tally Draw(RandomSelecter& selecter, int draws) {
    Tally tally;
    int32_t previous = 0;
    int run = 0;
    for (int i = 0; i < draws; ++i) {
        const int32_t id = selecter.Select();
        ++tally.counts[id];
        run = (i > 0 && id == previous) ? run + 1 : 1;
        tally.longestRun = std::max(tally.longestRun, run);
        previous = id;
    }
    return tally;
}

} // namespace

TEST(RandomSelecter, EmptyAndSingleEntry) {
    OrvexEngine::SeedRandom(7);
    RandomSelecter empty(0);
    EXPECT_EQ(empty.Select(), 0);
    EXPECT_EQ(empty.GetLastIndex(), -1);

    RandomSelecter single(0);
    single.Add(42, 3);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(single.Select(), 42);
        EXPECT_EQ(single.GetRepeatCount(), i);
    }
}

TEST(RandomSelecter, SharesFollowTheWeights) {
    // r is drawn from 0..total, so the first non-zero entry owns one value more than its weight:
    // weights 0, 1, 2, 3 give shares 0, 2/7, 2/7, 3/7.
    OrvexEngine::SeedRandom(12345);
    RandomSelecter selecter(NoCap);
    selecter.Add(10, 0);
    selecter.Add(11, 1);
    selecter.Add(12, 2);
    selecter.Add(13, 3);
    const int draws = 70000;
    Tally tally = Draw(selecter, draws);
    EXPECT_EQ(tally.counts[10], 0);
    EXPECT_NEAR(tally.counts[11] / double(draws), 2.0 / 7, 0.01);
    EXPECT_NEAR(tally.counts[12] / double(draws), 2.0 / 7, 0.01);
    EXPECT_NEAR(tally.counts[13] / double(draws), 3.0 / 7, 0.01);
}

TEST(RandomSelecter, RepeatCapLimitsRuns) {
    struct Case {
        uint32_t cap;
        std::vector<uint32_t> weights;
        int longestRun; // exact: the cap is reached and never passed
    };
    const Case cases[] = {
        {0, {1, 1}, 1},     // strict alternation
        {0, {1, 50}, 1},    // a heavy entry still never comes twice in a row
        {2, {1, 50}, 3},    // first time plus two repeats
        {0, {0, 0, 0}, 1},  // all weights 0: uniform, and capped
        {0, {0, 5}, 10000}, // only one entry can come out: the 1000th draw accepts it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "cap " << c.cap << ", " << c.weights.size() << " entries, first weight "
                     << c.weights[0] << ", second " << c.weights[1]);
        OrvexEngine::SeedRandom(99);
        RandomSelecter selecter(c.cap);
        for (size_t i = 0; i < c.weights.size(); ++i)
            selecter.Add(int32_t(i + 1), c.weights[i]);
        Tally tally = Draw(selecter, 10000);
        EXPECT_EQ(tally.longestRun, c.longestRun);
        if (c.weights == std::vector<uint32_t>{0, 0, 0}) {
            for (int32_t id = 1; id <= 3; ++id)
                EXPECT_NEAR(tally.counts[id] / 10000.0, 1.0 / 3, 0.02);
        }
    }
    // Strict alternation means the ids take turns exactly.
    OrvexEngine::SeedRandom(3);
    RandomSelecter pair(0);
    pair.Add(1, 1);
    pair.Add(2, 1);
    int32_t previous = pair.Select();
    for (int i = 0; i < 100; ++i) {
        const int32_t id = pair.Select();
        ASSERT_NE(id, previous);
        previous = id;
    }
}

TEST(RandomSelecter, SetWeightChangesTheFirstEntryOrAppends) {
    OrvexEngine::SeedRandom(5);
    RandomSelecter selecter(NoCap);
    selecter.Add(1, 4);
    selecter.Add(2, 4);
    selecter.SetWeight(1, 0);
    selecter.SetWeight(3, 6); // not there: appended
    EXPECT_EQ(selecter.GetTotalWeight(), 10u);
    Tally tally = Draw(selecter, 5000);
    EXPECT_EQ(tally.counts[1], 0);
    // Id 2 is now the first entry with weight: 5 of 11 values, id 3 6 of 11.
    EXPECT_NEAR(tally.counts[2] / 5000.0, 5.0 / 11, 0.03);
    EXPECT_NEAR(tally.counts[3] / 5000.0, 6.0 / 11, 0.03);
}

TEST(RandomSelecter, WeightsBeyondTheGeneratorsRange) {
    // The draw reaches 32767 at most: an entry whose running sum starts above that never comes out, and
    // totals beyond the signed range still draw within it.
    OrvexEngine::SeedRandom(1);
    RandomSelecter far(NoCap);
    far.Add(1, 40000);
    far.Add(2, 10);
    EXPECT_EQ(Draw(far, 500).counts[2], 0);

    RandomSelecter huge(NoCap);
    huge.Add(1, 0x7FFFFFFF);
    huge.Add(2, 0x7FFFFFFF);
    EXPECT_EQ(Draw(huge, 500).counts[1], 500);
}
