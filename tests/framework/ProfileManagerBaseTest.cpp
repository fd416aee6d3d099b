// ctest-label: framework
// The profile index: loading the profiles folder and "profiles.pmf" byte for byte, the current profile,
// names that differ only in case, deleting without touching anything else, best times, and an index that
// no longer reads (kept aside, never silently lost).
#include "framework/ProfileManagerBase.h"

#include "framework/AudioPlayer.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class ProfileManagerBaseTest : public ProfileFixture {
protected:
    std::unique_ptr<TestProfileManager> Open() {
        return std::make_unique<TestProfileManager>(nullptr, userDirectory);
    }

    // Bob (current, one best time) and alice, written by one manager that is then closed.
    void MakeTwoProfiles() {
        auto index = Open();
        index->GetOrCreateProfile(L"Bob");
        index->GetOrCreateProfile(L"alice");
        index->SelectProfile(index->FindProfile(L"bob"), true);
        index->SubmitBestResult({1, 2}, L"Bob", 0, 31.5f);
    }

    std::string IndexBytes() const { return ReadFileBytes(IndexFile()); }
    fs::path FileOf(const ProfileBase* profile) const { return ProfilesFolder() / profile->GetFileName(); }
};

} // namespace

TEST_F(ProfileManagerBaseTest, AFirstStartWritesAnEmptyIndex) {
    auto index = Open();
    EXPECT_TRUE(index->GetProfiles().empty());
    EXPECT_EQ(index->GetCurrentProfile(), nullptr);
    EXPECT_EQ(IndexBytes(), Versioned("FLPMF", 100, Wide("") + U32(0)));
    EXPECT_EQ(IndexBytes().size(), 20u);
    EXPECT_FALSE(fs::exists(IndexFile().string() + ".bad")); // nothing was there to keep
}

TEST_F(ProfileManagerBaseTest, TheIndexHoldsTheCurrentNameAndTheBestTimes) {
    MakeTwoProfiles();
    EXPECT_EQ(
        IndexBytes(),
        Versioned("FLPMF", 100, Wide("Bob") + U32(1) + U32(1) + U32(2) + Wide("Bob") + U32(0) + F32(31.5f)));

    auto index = Open();
    ASSERT_EQ(index->GetProfiles().size(), 2u);
    EXPECT_EQ(index->GetProfiles()[0]->name, L"alice"); // sorted without regard to case
    EXPECT_EQ(index->GetProfiles()[1]->name, L"Bob");
    ASSERT_NE(index->GetCurrentProfile(), nullptr);
    EXPECT_EQ(index->GetCurrentProfile()->name, L"Bob");
    std::wstring holder;
    float time = 0;
    ASSERT_TRUE(index->FindBestResult({1, 2}, 0, holder, time));
    EXPECT_EQ(holder, L"Bob");
    EXPECT_EQ(time, 31.5f);
    EXPECT_FALSE(index->FindBestResult({1, 2}, 1, holder, time));
    EXPECT_FALSE(index->FindBestResult({2, 1}, 0, holder, time));
}

TEST_F(ProfileManagerBaseTest, AnIndexNamingAMissingProfileSelectsTheFirst) {
    MakeTwoProfiles();
    {
        auto index = Open();
        fs::remove(FileOf(index->FindProfile(L"bob")));
    }
    auto index = Open();
    ASSERT_EQ(index->GetProfiles().size(), 1u);
    EXPECT_EQ(index->GetCurrentProfile(), index->GetProfiles()[0]);
    EXPECT_EQ(IndexBytes().substr(13, 13), Wide("alice"));
    // A profile file that does not read is skipped and left where it is.
    WriteFileBytes(ProfilesFolder() / "broken.prf", "not a profile");
    EXPECT_EQ(Open()->GetProfiles().size(), 1u);
    EXPECT_EQ(ReadFileBytes(ProfilesFolder() / "broken.prf"), "not a profile");
}

TEST_F(ProfileManagerBaseTest, NamesThatDifferOnlyInCaseAreOneProfile) {
    MakeTwoProfiles();
    auto index = Open();
    ProfileBase* bob = index->FindProfile(L"bob");
    const std::string bobBytes = ReadFileBytes(FileOf(bob));
    const std::string indexBytes = IndexBytes();

    EXPECT_EQ(index->GetOrCreateProfile(L"BOB"), bob);
    index->RenameProfile(L"bob", L"ALICE");
    index->RenameProfile(L"bob", L"BoB"); // its own name in another case
    index->RenameProfile(L"nobody", L"Carol");
    EXPECT_EQ(bob->name, L"Bob");
    EXPECT_EQ(index->GetProfiles().size(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(ProfilesFolder()), fs::directory_iterator()), 2);
    EXPECT_EQ(ReadFileBytes(FileOf(bob)), bobBytes);
    EXPECT_EQ(IndexBytes(), indexBytes);

    // A real rename keeps the file, re-sorts and names the current profile anew in the index.
    const std::string file = bob->GetFileName();
    index->RenameProfile(L"BOB", L"  Aaron ");
    EXPECT_EQ(bob->name, L"Aaron");
    EXPECT_EQ(bob->GetFileName(), file);
    EXPECT_EQ(index->GetProfiles()[0], bob);
    EXPECT_EQ(IndexBytes().substr(13, 13), Wide("Aaron"));
    // The best time keeps the name it was set under.
    std::wstring holder;
    float time = 0;
    ASSERT_TRUE(index->FindBestResult({1, 2}, 0, holder, time));
    EXPECT_EQ(holder, L"Bob");
}

TEST_F(ProfileManagerBaseTest, ANewProfileStartsWithTheVolumesInForce) {
    AudioPlayer audio(0.25f, 0.5f); // no sound service: the volumes stay as configured
    TestProfileManager index(&audio, userDirectory);
    ProfileBase* carol = index.GetOrCreateProfile(L"Carol");
    EXPECT_EQ(carol->settings.musicVolume, 0.25f);
    EXPECT_EQ(carol->settings.soundVolume, 0.5f);
    EXPECT_EQ(index.GetCurrentProfile(), nullptr); // creating selects nothing
    TestProfile loaded(userDirectory);
    loaded.Load(carol->GetFileName());
    EXPECT_EQ(loaded.settings.musicVolume, 0.25f);
}

TEST_F(ProfileManagerBaseTest, DeletingTakesOnlyTheProfilesOwnFiles) {
    MakeTwoProfiles();
    auto index = Open();
    ProfileBase* alice = index->FindProfile(L"alice");
    ProfileBase* bob = index->FindProfile(L"bob");
    const fs::path aliceFile = FileOf(alice);
    const fs::path bobFile = FileOf(bob);
    const std::string aliceBytes = ReadFileBytes(aliceFile);
    WriteFileBytes(Disk(bob->GetFolder()) / "data.bin", "bob's");
    WriteFileBytes(Disk(alice->GetFolder()) / "data.bin", "alice's");
    // A profile whose file is named only ".prf", placed from outside.
    WriteFileBytes(ProfilesFolder() / ".prf", ReadFileBytes(aliceFile).replace(13, 13, Wide("Ghost")));
    index.reset();
    index = Open();
    ASSERT_NE(index->FindProfile(L"ghost"), nullptr);

    index->DeleteProfile(L"ghost");
    EXPECT_FALSE(fs::exists(ProfilesFolder() / ".prf"));
    EXPECT_EQ(ReadFileBytes(aliceFile), aliceBytes);
    EXPECT_TRUE(fs::exists(bobFile));

    index->DeleteProfile(L"BOB"); // the current one
    EXPECT_FALSE(fs::exists(bobFile));
    EXPECT_FALSE(fs::exists(Disk(userDirectory + "\\profiles\\" + bobFile.stem().string())));
    EXPECT_EQ(ReadFileBytes(Disk(index->FindProfile(L"alice")->GetFolder()) / "data.bin"), "alice's");
    ASSERT_NE(index->GetCurrentProfile(), nullptr);
    EXPECT_EQ(index->GetCurrentProfile()->name, L"alice");

    index->DeleteProfile(L"alice");
    EXPECT_EQ(index->GetCurrentProfile(), nullptr);
    EXPECT_TRUE(fs::is_empty(ProfilesFolder()));
    // The best time outlives its holder.
    EXPECT_EQ(
        IndexBytes(),
        Versioned("FLPMF", 100, Wide("") + U32(1) + U32(1) + U32(2) + Wide("Bob") + U32(0) + F32(31.5f)));
}

TEST_F(ProfileManagerBaseTest, OnlyAFasterTimeReplacesABestTime) {
    auto index = Open();
    struct Step {
        LevelPosition level;
        const wchar_t* holder;
        uint32_t key;
        float time;
        bool recorded;
        const wchar_t* holderAfter;
        float timeAfter;
    };
    const Step steps[] = {
        {{0, 0}, L"Ann", 0, 40.0f, true, L"Ann", 40.0f},
        {{0, 0}, L"Ben", 0, 40.0f, false, L"Ann", 40.0f}, // equal keeps the first holder
        {{0, 0}, L"Ben", 0, 41.0f, false, L"Ann", 40.0f},
        {{0, 0}, L"Ann", 0, 39.0f, true, L"Ann", 39.0f}, // the same holder improving
        {{0, 0}, L"Ben", 0, 12.0f, true, L"Ben", 12.0f},
        {{0, 0}, L"Cat", 7, 99.0f, true, L"Ben", 12.0f}, // another table key is another record
    };
    for (const Step& step : steps) {
        const std::string before = IndexBytes();
        EXPECT_EQ(index->SubmitBestResult(step.level, step.holder, step.key, step.time), step.recorded);
        std::wstring holder;
        float time = 0;
        ASSERT_TRUE(index->FindBestResult(step.level, 0, holder, time));
        EXPECT_EQ(holder, step.holderAfter);
        EXPECT_EQ(time, step.timeAfter);
        EXPECT_EQ(IndexBytes() != before, step.recorded); // written exactly when it changed
    }
    EXPECT_EQ(index->GetBestResults().size(), 2u);
}

TEST_F(ProfileManagerBaseTest, AnIndexThatNoLongerReadsIsKeptAsideAndReplaced) {
    MakeTwoProfiles();
    const std::string good = IndexBytes();
    const std::string body = good.substr(13);
    std::string hugeCount = good;
    hugeCount.replace(13 + 9, 4, U32(0x7FFFFFFF));
    std::string count255 = good;
    count255[13] = char(255);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"truncated", good.substr(0, good.size() - 1)},
        {"wrong magic", Versioned("FLPMX", 100, body)},
        {"size field one more", U32(uint32_t(good.size() + 1)) + good.substr(4)},
        {"size field one less", U32(uint32_t(good.size() - 1)) + good.substr(4)},
        {"version 99", Versioned("FLPMF", 99, body)},
        {"version 101", Versioned("FLPMF", 101, body)},
        {"a record count of 2^31 - 1", hugeCount},
        {"a name count byte of 255", count255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(IndexFile(), c.bytes);
        auto index = Open();
        EXPECT_EQ(ReadFileBytes(IndexFile().string() + ".bad"), c.bytes);
        EXPECT_TRUE(index->GetBestResults().empty());
        // The profiles are untouched and the first becomes current in the fresh index.
        ASSERT_EQ(index->GetProfiles().size(), 2u);
        EXPECT_EQ(index->GetCurrentProfile(), index->GetProfiles()[0]);
        EXPECT_EQ(IndexBytes(), Versioned("FLPMF", 100, Wide("alice") + U32(0)));
    }
}
