// ctest-label: framework
// Player profiles: the file byte for byte, the file name chosen for a new profile (never another
// profile's), damaged files refused without harm, progress and best times, and saves that fail half-way.
#include "framework/ProfileBase.h"

#include "engine/core/Error.h"
#include "engine/math/Random.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class ProfileBaseTest : public ProfileFixture {
protected:
    // "Bob" with known values and two results, saved.
    std::unique_ptr<TestProfile> MakeBob() {
        auto bob = std::make_unique<TestProfile>(userDirectory);
        bob->CreateNew(L"  Bob ");
        bob->scoreTotal = 1234;
        bob->currentPosition = {1, 2};
        bob->gameInProgress = true;
        bob->settings.musicVolume = 0.25f;
        bob->settings.soundVolume = 0.75f;
        bob->completePending = 0;
        bob->AddLevelResult(new LevelResult{0, 0, 1, 42.5f});
        bob->AddLevelResult(new LevelResult{0, 1, 0, 17.25f});
        bob->RecordProgress({2, 0}, false);
        return bob;
    }

    static std::string BobBody() {
        return Wide("Bob") + U32(0) + U32(3) + U32(1234) + U32(1) + U32(2) + U32(2) + U32(0) + U8(0) +
               U32(2) + U32(0) + U32(0) + U32(1) + F32(42.5f) + U32(0) + U32(1) + U32(0) + F32(17.25f) +
               U32(0) + U8(1) + F32(0.25f) + F32(0.75f) + U8(1) + U8(0);
    }

    fs::path FileOf(const ProfileBase& profile) const { return ProfilesFolder() / profile.GetFileName(); }
};

} // namespace

TEST_F(ProfileBaseTest, TheFileHoldsEveryFieldInOrderAndReadsBack) {
    std::unique_ptr<TestProfile> bob = MakeBob();
    const std::string golden = Versioned("VBPRF", 102, BobBody());
    ASSERT_EQ(golden.size(), 102u);
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), golden);
    EXPECT_EQ(Disk(bob->GetFolder()), (ProfilesFolder() / bob->GetFileName()).replace_extension());

    TestProfile loaded(userDirectory);
    loaded.Load(bob->GetFileName());
    EXPECT_EQ(loaded.name, L"Bob");
    EXPECT_EQ(loaded.lives, 3u);
    EXPECT_EQ(loaded.scoreTotal, 1234u);
    EXPECT_EQ(loaded.currentPosition, (LevelPosition{1, 2}));
    EXPECT_EQ(loaded.furthestPosition, (LevelPosition{2, 0}));
    EXPECT_TRUE(loaded.gameInProgress);
    EXPECT_EQ(loaded.settings.musicVolume, 0.25f);
    EXPECT_EQ(loaded.settings.soundVolume, 0.75f);
    ASSERT_EQ(loaded.GetLevelResults().size(), 2u);
    EXPECT_EQ(loaded.GetLevelResults()[1]->time, 17.25f);
    EXPECT_EQ(loaded.createdFlag, 1);
    EXPECT_EQ(loaded.completePending, 0);
    // Written again unchanged, it is the same file.
    loaded.Save();
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), golden);

    // The reserved word is carried through, whatever it holds.
    std::string reserved = golden;
    reserved.replace(reserved.size() - 15, 4, U32(0xCAFE));
    WriteFileBytes(FileOf(*bob), reserved);
    TestProfile carrier(userDirectory);
    carrier.Load(bob->GetFileName());
    EXPECT_EQ(carrier.GetReserved(), 0xCAFEu);
    carrier.Save();
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), reserved);
}

TEST_F(ProfileBaseTest, ANewProfileGetsAFileNameFromTheLettersOfItsName) {
    struct Case {
        std::wstring name;
        const char* pattern;
    };
    const Case cases[] = {
        {L"Player One", "playerone_[0-9]{6}\\.prf"},
        {L"   ", "_[0-9]{15}\\.prf"},
        {L"\u0416\u0435\u043d\u044f 42!", "_[0-9]{15}\\.prf"}, // no letter a..z survives
        {L"Abcdefghijklm", "abcdefghijklm_[0-9]{2}\\.prf"},    // 13 letters
        {L"Abcdefghijklmn", "abcdefghijklmn_[0-9]\\.prf"},     // 14 letters
        {L"Abcdefghijklmno", "abcdefghijklmno\\.prf"},         // 15 letters: no suffix
        {L"Abcdefghijklmnopqrst", "abcdefghijklmnopqrst\\.prf"},
    };
    OrvexEngine::SeedRandom(7);
    for (const Case& c : cases) {
        TestProfile profile(userDirectory);
        profile.CreateNew(c.name);
        EXPECT_TRUE(std::regex_match(profile.GetFileName(), std::regex(c.pattern))) << profile.GetFileName();
        EXPECT_TRUE(fs::exists(FileOf(profile))) << profile.GetFileName();
        EXPECT_EQ(profile.lives, 3u);
        EXPECT_EQ(profile.settings.musicVolume, 1.0f);
        fs::remove(FileOf(profile));
    }
}

TEST_F(ProfileBaseTest, ANewProfileNeverTakesTheFileOfAnother) {
    // For 13, 14 and 15 letters every name the usual rule can make is taken by a profile already.
    struct Case {
        std::wstring name;
        std::string base;
        int suffixDigits;
    };
    const Case cases[] = {
        {L"Abcdefghijklm", "abcdefghijklm", 2},
        {L"Abcdefghijklmn", "abcdefghijklmn", 1},
        {L"Abcdefghijklmno", "abcdefghijklmno", 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(ProfilesFolder());
        std::set<std::string> taken;
        const int variants = c.suffixDigits == 0 ? 1 : (c.suffixDigits == 1 ? 10 : 100);
        for (int i = 0; i < variants; ++i) {
            std::string file = c.base;
            if (c.suffixDigits > 0) {
                std::string digits = std::to_string(i);
                file += "_" + std::string(size_t(c.suffixDigits) - digits.size(), '0') + digits;
            }
            file += ".prf";
            WriteFileBytes(ProfilesFolder() / file, "someone else's profile " + file);
            taken.insert(file);
        }
        TestProfile profile(userDirectory);
        profile.CreateNew(c.name + L" 2");
        EXPECT_EQ(taken.count(profile.GetFileName()), 0u) << profile.GetFileName();
        EXPECT_TRUE(std::regex_match(profile.GetFileName(), std::regex("abcdefghi_[0-9]{6,}\\.prf")))
            << profile.GetFileName();
        for (const std::string& file : taken)
            EXPECT_EQ(ReadFileBytes(ProfilesFolder() / file), "someone else's profile " + file);
        TestProfile loaded(userDirectory);
        loaded.Load(profile.GetFileName());
        EXPECT_EQ(loaded.name, c.name + L" 2");
    }
}

TEST_F(ProfileBaseTest, ADamagedFileIsRefusedWithAnErrorAndNoHarm) {
    std::unique_ptr<TestProfile> bob = MakeBob();
    const std::string golden = ReadFileBytes(FileOf(*bob));
    const std::string body = BobBody();
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string countHuge = golden;
    countHuge.replace(13 + 9 + 28 + 1, 4, U32(0xFFFFFFFF));
    std::string nameCount255 = golden;
    nameCount255[13] = char(255);
    const Case cases[] = {
        {"truncated by one byte", golden.substr(0, golden.size() - 1)},
        {"wrong magic", Versioned("VBPRX", 102, body)},
        {"size field one more", U32(103) + golden.substr(4)},
        {"size field one less", U32(101) + golden.substr(4)},
        {"version 101", Versioned("VBPRF", 101, body)},
        {"version 103", Versioned("VBPRF", 103, body)},
        {"without the game's two bytes", Versioned("VBPRF", 102, body.substr(0, body.size() - 2))},
        {"a result count of 2^32 - 1", countHuge},
        {"a name count byte of 255", nameCount255},
        {"shorter than a header", golden.substr(0, 9)},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(ProfilesFolder() / "damaged.prf", c.bytes);
        const size_t errorsBefore = log.Texts().size();
        TestProfile profile(userDirectory);
        try {
            profile.Load("damaged.prf");
            ADD_FAILURE() << "loaded";
        } catch (const OrvexEngine::Error& error) {
            EXPECT_EQ(error.GetText(), "");
        }
        EXPECT_TRUE(profile.GetLevelResults().empty());
        ASSERT_GT(log.Texts().size(), errorsBefore);
        EXPECT_NE(log.Texts().back().find("Error: "), std::string::npos) << log.Texts().back();
        // The file stays as it was.
        EXPECT_EQ(ReadFileBytes(ProfilesFolder() / "damaged.prf"), c.bytes);
    }
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), golden);
}

TEST_F(ProfileBaseTest, ProgressOnlyMovesForward) {
    struct Case {
        LevelPosition furthest;
        bool completed;
        LevelPosition position;
        bool completedArgument;
        bool changes;
    };
    const Case cases[] = {
        {{1, 2}, false, {1, 2}, false, false}, // the same position, not completed
        {{1, 2}, false, {0, 0}, false, false}, // backwards
        {{1, 2}, false, {0, 9}, true, false},  // an earlier stage, however far its level
        {{1, 2}, false, {1, 3}, false, true},  // the next level
        {{1, 2}, false, {2, 0}, false, true},  // the next stage
        {{1, 2}, false, {1, 2}, true, true},   // completed where it stands
        {{1, 2}, true, {1, 3}, false, true},   // moving on clears completed
        {{1, 2}, true, {1, 2}, false, false},  // completed stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position.stage << "," << c.position.level);
        TestProfile profile(userDirectory);
        profile.CreateNew(L"Runner");
        profile.furthestPosition = c.furthest;
        if (c.completed)
            profile.RecordProgress(c.furthest, true);
        profile.Save();
        fs::remove(FileOf(profile));
        profile.RecordProgress(c.position, c.completedArgument);
        EXPECT_EQ(profile.furthestPosition, c.changes ? c.position : c.furthest);
        EXPECT_EQ(profile.IsCompleted(), c.changes ? c.completedArgument : c.completed);
        EXPECT_EQ(fs::exists(FileOf(profile)), c.changes); // saved only when changed
        fs::remove(FileOf(profile));
    }
}

TEST_F(ProfileBaseTest, ALevelKeepsItsBestTimePerTableKey) {
    TestProfile profile(userDirectory);
    profile.CreateNew(L"Timer");
    profile.AddLevelResult(new LevelResult{0, 1, 1, 30.0f});
    profile.AddLevelResult(new LevelResult{0, 1, 1, 35.0f}); // slower: kept 30
    profile.AddLevelResult(new LevelResult{5, 1, 1, 50.0f}); // another table
    profile.AddLevelResult(new LevelResult{0, 1, 1, 20.0f}); // faster
    ASSERT_EQ(profile.GetLevelResults().size(), 2u);
    EXPECT_EQ(profile.GetLevelResults()[0]->time, 20.0f);
    EXPECT_EQ(profile.GetLevelResults()[1]->time, 50.0f);
    TestProfile loaded(userDirectory);
    loaded.Load(profile.GetFileName());
    EXPECT_EQ(loaded.GetLevelResults()[0]->time, 20.0f);
}

TEST_F(ProfileBaseTest, NamesAreTrimmedAndCutToWhatTheFileCanHold) {
    TestProfile profile(userDirectory);
    profile.CreateNew(L" " + std::wstring(300, L'x') + L" ");
    EXPECT_EQ(profile.name, std::wstring(254, L'x'));
    // The file name stays within what a file system holds.
    EXPECT_EQ(profile.GetFileName(), std::string(200, 'x') + ".prf");
    EXPECT_TRUE(fs::exists(FileOf(profile)));
    // A character outside the basic plane takes two units: it is not split at the limit.
    profile.Rename(std::wstring(253, L'y') + L"\U0001F600" + L"z");
    EXPECT_EQ(profile.name, std::wstring(253, L'y'));
    profile.Rename(L"\tRenamed  ");
    EXPECT_EQ(profile.name, L"Renamed");

    std::wstring longest = std::wstring(252, L'w') + L"\U0001F600";
    profile.Rename(longest);
    TestProfile loaded(userDirectory);
    loaded.Load(profile.GetFileName());
    EXPECT_EQ(loaded.name, longest);
}

TEST_F(ProfileBaseTest, ASaveThatFailsKeepsThePreviousFile) {
    std::unique_ptr<TestProfile> bob = MakeBob();
    const std::string golden = ReadFileBytes(FileOf(*bob));
    bob->scoreTotal = 99999;

    // The disk fills up half-way through the file.
    {
        FileSizeLimit limit(60);
        bob->Save();
    }
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), golden);
    EXPECT_EQ(bob->scoreTotal, 99999u); // memory unchanged

    // The temporary file cannot be created at all.
    fs::create_directories(FileOf(*bob).string() + ".tmp");
    bob->Rename(L"Robert");
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), golden);
    EXPECT_EQ(bob->name, L"Robert");
    fs::remove(FileOf(*bob).string() + ".tmp");

    // The game's own bytes fail after the framework's were written.
    struct Throwing : TestProfile {
        using TestProfile::TestProfile;
        void WriteSettings(OrvexEngine::FileBinary&) override { throw OrvexEngine::FileError("no settings"); }
    } throwing(userDirectory);
    throwing.Load(bob->GetFileName());
    throwing.Save();
    EXPECT_EQ(ReadFileBytes(FileOf(*bob)), golden);

    bob->Save();
    TestProfile loaded(userDirectory);
    loaded.Load(bob->GetFileName());
    EXPECT_EQ(loaded.name, L"Robert");
    EXPECT_EQ(loaded.scoreTotal, 99999u);
    EXPECT_FALSE(fs::exists(FileOf(*bob).string() + ".tmp"));
}

TEST_F(ProfileBaseTest, DeletingRemovesOnlyTheProfilesOwnFileAndFolder) {
    std::unique_ptr<TestProfile> bob = MakeBob();
    TestProfile alice(userDirectory);
    alice.CreateNew(L"Alice");
    fs::create_directories(Disk(bob->GetFolder()) / "replays");
    WriteFileBytes(Disk(bob->GetFolder()) / "replays/1.rep", "x");
    fs::create_directories(Disk(alice.GetFolder()));
    WriteFileBytes(Disk(alice.GetFolder()) / "keep.txt", "alice");

    bob->DeleteFiles();
    EXPECT_FALSE(fs::exists(FileOf(*bob)));
    EXPECT_FALSE(fs::exists(Disk(bob->GetFolder())));
    EXPECT_TRUE(fs::exists(FileOf(alice)));
    EXPECT_EQ(ReadFileBytes(Disk(alice.GetFolder()) / "keep.txt"), "alice");

    // A profile file named only ".prf": its folder would be the profiles folder itself.
    WriteFileBytes(ProfilesFolder() / ".prf", ReadFileBytes(FileOf(alice)));
    TestProfile nameless(userDirectory);
    nameless.Load(".prf");
    nameless.DeleteFiles();
    EXPECT_FALSE(fs::exists(ProfilesFolder() / ".prf"));
    EXPECT_TRUE(fs::exists(FileOf(alice)));
    EXPECT_EQ(ReadFileBytes(Disk(alice.GetFolder()) / "keep.txt"), "alice");

    // A profile folder that is a link to something else: the link goes, its target stays.
    const fs::path outside = root / "outside";
    WriteFileBytes(outside / "precious.txt", "keep");
    fs::create_directory_symlink(outside, ProfilesFolder() / "alice-link");
    WriteFileBytes(ProfilesFolder() / "alice-link.prf", ReadFileBytes(FileOf(alice)));
    TestProfile linked(userDirectory);
    linked.Load("alice-link.prf");
    linked.DeleteFiles();
    EXPECT_FALSE(fs::exists(fs::symlink_status(ProfilesFolder() / "alice-link")));
    EXPECT_EQ(ReadFileBytes(outside / "precious.txt"), "keep");
}
