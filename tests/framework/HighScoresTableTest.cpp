// ctest-label: framework
// High scores: the file byte for byte, ordering and trimming per table key, and a damaged file that is
// kept aside before the table starts again.
#include "framework/HighScoresTable.h"

#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class HighScoresTableTest : public ProfileFixture {
protected:
    fs::path ScoresFile() const { return fs::path(userDirectory) / "high_scores.hsf"; }
    std::unique_ptr<HighScoresTable> Open() { return std::make_unique<HighScoresTable>(10, userDirectory); }

    // Key 0's scores in list order.
    static std::vector<uint32_t> Scores(const HighScoresTable& table, uint32_t key) {
        std::vector<uint32_t> scores;
        for (uint32_t i = 0; i < table.CountEntries(key); ++i)
            scores.push_back(table.GetEntry(key, i)->score);
        return scores;
    }
};

} // namespace

TEST_F(HighScoresTableTest, TheFileHoldsTheSequenceAndEveryEntryInOrder) {
    auto table = Open();
    EXPECT_EQ(ReadFileBytes(ScoresFile()), Versioned("GFHSF", 101, U32(0) + U32(0)));
    EXPECT_EQ(ReadFileBytes(ScoresFile()).size(), 21u);

    table->AddEntry(L"Ann", 0, 500);
    table->AddEntry(L"Bo", 3, 700);
    const std::string golden = Versioned("GFHSF", 101,
                                         U32(2) + U32(2) + Wide("Bo") + U32(3) + U32(700) + U32(1) +
                                             Wide("Ann") + U32(0) + U32(500) + U32(0));
    EXPECT_EQ(ReadFileBytes(ScoresFile()), golden);

    auto loaded = Open();
    EXPECT_EQ(loaded->GetNextSequenceNumber(), 2u);
    ASSERT_EQ(loaded->CountEntries(0), 1u);
    EXPECT_EQ(loaded->GetEntry(0, 0)->name, L"Ann");
    EXPECT_EQ(loaded->GetEntry(3, 0)->score, 700u);
    EXPECT_EQ(loaded->GetEntry(0, 1), nullptr);
    EXPECT_EQ(loaded->GetEntry(9, 0), nullptr);
    loaded->Save();
    EXPECT_EQ(ReadFileBytes(ScoresFile()), golden);
}

TEST_F(HighScoresTableTest, EntriesAreRankedAndTrimmedPerTableKey) {
    auto table = Open();
    for (uint32_t score : {100u, 900u, 300u, 300u, 800u, 200u, 700u, 600u, 500u, 400u})
        ASSERT_NE(table->AddEntry(L"p", 0, score), nullptr);
    table->AddEntry(L"other", 1, 50); // another key never counts against key 0
    EXPECT_EQ(Scores(*table, 0), (std::vector<uint32_t>{900, 800, 700, 600, 500, 400, 300, 300, 200, 100}));
    // Of two equal scores the older ranks first.
    EXPECT_LT(table->GetEntry(0, 6)->sequenceNumber, table->GetEntry(0, 7)->sequenceNumber);

    struct Step {
        uint32_t score;
        bool stays;
        uint32_t lowestAfter;
    };
    const Step steps[] = {
        {100, false, 100}, // equal to the lowest: ranks after it and falls off
        {50, false, 100},
        {150, true, 150}, // pushes the lowest out
        {1000, true, 200},
    };
    for (const Step& step : steps) {
        const uint32_t sequence = table->GetNextSequenceNumber();
        HighScoreEntry* added = table->AddEntry(L"new", 0, step.score);
        EXPECT_EQ(added != nullptr, step.stays) << step.score;
        if (added != nullptr) {
            EXPECT_EQ(added->score, step.score);
        }
        EXPECT_EQ(table->CountEntries(0), 10u);
        EXPECT_EQ(table->GetEntry(0, 9)->score, step.lowestAfter);
        EXPECT_EQ(table->CountEntries(1), 1u);
        // Written every time, with the sequence moved on, even when the entry fell off.
        EXPECT_EQ(ReadFileBytes(ScoresFile()).substr(13, 4), U32(sequence + 1));
    }
}

TEST_F(HighScoresTableTest, AnOverfullFileIsLoadedWholeAndTrimmedAtTheNextEntry) {
    std::string body = U32(12) + U32(12);
    for (uint32_t i = 0; i < 12; ++i)
        body += Wide("x") + U32(0) + U32(1200 - 100 * i) + U32(i);
    WriteFileBytes(ScoresFile(), Versioned("GFHSF", 101, body));
    auto table = Open();
    EXPECT_EQ(table->CountEntries(0), 12u);
    EXPECT_EQ(table->AddEntry(L"y", 0, 50), nullptr);
    EXPECT_EQ(table->CountEntries(0), 10u);
    EXPECT_EQ(table->GetEntry(0, 9)->score, 300u);
}

TEST_F(HighScoresTableTest, ADamagedFileIsKeptAsideAndTheTableStartsEmpty) {
    const std::string good = Versioned("GFHSF", 101,
                                       U32(5) + U32(2) + Wide("Ann") + U32(0) + U32(500) + U32(3) +
                                           Wide("Bo") + U32(0) + U32(400) + U32(4));
    const std::string body = good.substr(13);
    std::string huge = good;
    huge.replace(17, 4, U32(0xFFFFFFFF));
    std::string count255 = good;
    count255[21] = char(255);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"truncated", good.substr(0, good.size() - 1)},
        {"wrong magic", Versioned("GFHSX", 101, body)},
        {"size field one more", U32(uint32_t(good.size() + 1)) + good.substr(4)},
        {"size field one less", U32(uint32_t(good.size() - 1)) + good.substr(4)},
        {"version 100", Versioned("GFHSF", 100, body)},
        {"version 102", Versioned("GFHSF", 102, body)},
        {"an entry count of 2^32 - 1", huge},
        {"a name count byte of 255", count255},
        {"only a header", Versioned("GFHSF", 101, "")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(ScoresFile(), c.bytes);
        auto table = Open();
        EXPECT_TRUE(table->GetEntries().empty());
        EXPECT_EQ(table->GetNextSequenceNumber(), 0u);
        EXPECT_EQ(ReadFileBytes(ScoresFile().string() + ".bad"), c.bytes);
        EXPECT_EQ(ReadFileBytes(ScoresFile()), Versioned("GFHSF", 101, U32(0) + U32(0)));
    }
    // The good file itself loads.
    WriteFileBytes(ScoresFile(), good);
    EXPECT_EQ(Open()->CountEntries(0), 2u);
}
