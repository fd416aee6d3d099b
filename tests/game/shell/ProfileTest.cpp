// ctest-label: shell
// The game's profiles: a new profile's file carries the two game bytes (1 and 1) after the volumes, the
// bytes keep what was stored across a reload, and a file the framework wrote without them is not loaded.
#include "game/shell/Profile.h"
#include "game/shell/ProfileManager.h"

#include "engine/core/Error.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

using namespace VelmoraBall;
using namespace VelmoraTest;

namespace {

class ProfileTest : public ProfileFixture {};

} // namespace

TEST_F(ProfileTest, ANewProfileEndsWithBothGameBytesSetAndKeepsThemAcrossAReload) {
    std::string fileName;
    {
        ProfileManager index(nullptr, userDirectory);
        auto* bob = static_cast<Profile*>(index.GetOrCreateProfile(L"Bob"));
        EXPECT_EQ(bob->createdFlag, 1);
        EXPECT_EQ(bob->gameCompletePending, 1);
        fileName = bob->GetFileName();
        const std::string bytes = ReadFileBytes(ProfilesFolder() / fileName);
        ASSERT_EQ(bytes.size(), 70u); // the framework's 68 bytes for "Bob", then the game's two
        EXPECT_EQ(bytes.substr(0, 9), U32(70) + "VBPRF");
        EXPECT_EQ(bytes.substr(9, 4), U32(102));
        EXPECT_EQ(bytes.substr(68), "\x01\x01");

        // Shown the game-complete window once: the flag goes to 0 and stays so.
        bob->gameCompletePending = 0;
        bob->Save();
        EXPECT_EQ(ReadFileBytes(ProfilesFolder() / fileName).substr(68), std::string("\x01\x00", 2));
    }
    ProfileManager reloaded(nullptr, userDirectory);
    auto* bob = static_cast<Profile*>(reloaded.FindProfile(L"bob"));
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->createdFlag, 1);
    EXPECT_EQ(bob->gameCompletePending, 0);

    // The loading constructor reads the same file on its own.
    Profile direct(fileName, userDirectory);
    EXPECT_EQ(direct.name, L"Bob");
    EXPECT_EQ(direct.gameCompletePending, 0);
}

TEST_F(ProfileTest, AFileWithoutTheGameBytesIsNotLoaded) {
    std::string oldFile;
    {
        // The framework's class alone writes every field but the game's two bytes.
        GameFramework::ProfileBase framework(userDirectory, Profile::Magic, Profile::Version);
        framework.CreateNew(L"Old");
        oldFile = framework.GetFileName();
    }
    ASSERT_EQ(ReadFileBytes(ProfilesFolder() / oldFile).size(), 68u);
    EXPECT_THROW(Profile(oldFile, userDirectory), OrvexEngine::Error);

    {
        ProfileManager index(nullptr, userDirectory);
        index.GetOrCreateProfile(L"New");
    }
    ProfileManager index(nullptr, userDirectory);
    EXPECT_EQ(index.FindProfile(L"Old"), nullptr);
    ASSERT_NE(index.FindProfile(L"New"), nullptr);
    EXPECT_EQ(index.GetCurrentProfile(), index.FindProfile(L"New"));
    // The unreadable file is left as it was.
    EXPECT_EQ(ReadFileBytes(ProfilesFolder() / oldFile).size(), 68u);
}
