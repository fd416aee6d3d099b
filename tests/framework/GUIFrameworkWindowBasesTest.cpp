// ctest-label: framework
// The role bases of the window flow: what a window holds before and after Show and Hide, and the profile
// operations the profile windows call (create, rename in any letter case, delete), checked on the files.
#include "framework/GUIFrameworkWindowBases.h"
#include "framework/GUIDeleteProfileWindowBase.h"
#include "framework/GUINewProfileWindowBase.h"
#include "framework/GUIRenameProfileWindowBase.h"
#include "framework/GUIWelcomeWindowBase.h"

#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

using namespace GameFramework;
using namespace VelmoraTest;

TEST(GUIFrameworkWindowBases, ResultSurvivesShowAndHideUntilTheFlowClearsIt) {
    GUIMainMenuWindowBase window;
    EXPECT_EQ(window.result, 0);
    EXPECT_EQ(window.mode, 0);
    EXPECT_TRUE(window.resultSeen);

    window.resultSeen = false;
    window.result = 5;
    window.Show(6);
    window.Hide();
    EXPECT_EQ(window.mode, 6);
    EXPECT_EQ(window.result, 5);
    EXPECT_TRUE(window.resultSeen);
    window.Update();
    EXPECT_EQ(window.result, 0);
}

TEST(GUIFrameworkWindowBases, HidingTheLoadingWindowForgetsItsKeeper) {
    GUILoadingWindowBase window;
    auto* keeper = reinterpret_cast<GameTools::DataKeeper*>(&window); // never dereferenced
    window.Show(2, keeper);
    window.done = true;
    EXPECT_EQ(window.mode, 2);
    EXPECT_EQ(window.dataKeeper, keeper);
    window.Show(3, keeper);
    EXPECT_FALSE(window.done);
    window.done = true;
    window.Hide();
    EXPECT_EQ(window.dataKeeper, nullptr);
    EXPECT_FALSE(window.done);
}

TEST(GUIFrameworkWindowBases, ShowOverloadsKeepTheFlowsData) {
    LevelManagerBase* levels = nullptr;
    GUILevelCompleteWindowBase complete(levels);
    complete.Show(17, LevelPosition{1, 2}, 42.5f);
    EXPECT_EQ(complete.mode, 17);
    EXPECT_EQ(complete.position, (LevelPosition{1, 2}));
    EXPECT_EQ(complete.time, 42.5f);

    GUIStageCompleteWindowBase stage(levels);
    stage.Show(22, LevelPosition{3, 0});
    EXPECT_EQ(stage.mode, 22);
    EXPECT_EQ(stage.position, (LevelPosition{3, 0}));

    GUIHighScoresWindowBase scores(nullptr);
    HighScoreEntry* entry = reinterpret_cast<HighScoreEntry*>(&scores); // never dereferenced
    scores.Show(24, entry);
    EXPECT_EQ(scores.highlightedEntry, entry);
    scores.Show(6, nullptr);
    EXPECT_EQ(scores.highlightedEntry, nullptr);
    EXPECT_EQ(scores.mode, 6);

    GUIDeleteProfileWindowBase remove(nullptr);
    remove.Show(10, L"Bob");
    EXPECT_EQ(remove.name, L"Bob");
}

class ProfileWindowBasesTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        manager = std::make_unique<TestProfileManager>(nullptr, userDirectory);
    }
    std::unique_ptr<TestProfileManager> manager;
};

TEST_F(ProfileWindowBasesTest, WelcomeCreatesOrSelectsAndMakesCurrent) {
    GUIWelcomeWindowBase welcome(manager.get());
    welcome.CreateProfile(L"  Bob  "); // stored trimmed: still becomes current
    ASSERT_NE(manager->GetCurrentProfile(), nullptr);
    EXPECT_EQ(manager->GetCurrentProfile()->name, L"Bob");
    manager->GetOrCreateProfile(L"alice");
    welcome.CreateProfile(L"ALICE"); // an existing name in another case selects that profile
    EXPECT_EQ(manager->GetProfiles().size(), 2u);
    EXPECT_EQ(manager->GetCurrentProfile()->name, L"alice");
    // The selection is saved: a fresh index finds it current.
    TestProfileManager reopened(nullptr, userDirectory);
    ASSERT_NE(reopened.GetCurrentProfile(), nullptr);
    EXPECT_EQ(reopened.GetCurrentProfile()->name, L"alice");
}

TEST_F(ProfileWindowBasesTest, NewProfileRefusesANameInUseInAnyCase) {
    GUINewProfileWindowBase create(manager.get());
    EXPECT_TRUE(create.CreateProfile(L"Bob"));
    EXPECT_EQ(manager->GetCurrentProfile()->name, L"Bob");
    EXPECT_TRUE(create.CreateProfile(L"Carol"));
    EXPECT_FALSE(create.CreateProfile(L"bOB"));
    EXPECT_EQ(manager->GetProfiles().size(), 2u);
    EXPECT_EQ(manager->GetCurrentProfile()->name, L"Carol"); // a refused name changes nothing
    // Two names that are equal once cut to the stored length are the same profile.
    const std::wstring longName(ProfileBase::MaxNameUnits, L'x');
    EXPECT_TRUE(create.CreateProfile(longName + L"a"));
    EXPECT_FALSE(create.CreateProfile(longName + L"b"));
}

TEST_F(ProfileWindowBasesTest, RenameAcceptsItsOwnNameAndRefusesAnothersName) {
    ProfileBase* bob = manager->GetOrCreateProfile(L"Bob");
    manager->GetOrCreateProfile(L"alice");
    const std::string bobFile = ReadFileBytes(ProfilesFolder() / bob->GetFileName());

    GUIRenameProfileWindowBase rename(manager.get());
    rename.Show(10, true, L"Bob");
    rename.Show(14, false, L""); // back from the conflict notice: the old name stays
    EXPECT_EQ(rename.oldName, L"Bob");

    struct Case {
        const wchar_t* newName;
        bool accepted;
        const wchar_t* bobAfter;
    };
    const Case cases[] = {
        {L"BOB", true, L"Bob"},    // same name in another case: accepted, nothing renamed
        {L"Alice", false, L"Bob"}, // another profile's name in any case
        {L"Robert", true, L"Robert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "new name " << std::string(c.newName, c.newName + wcslen(c.newName)));
        EXPECT_EQ(rename.RenameProfile(c.newName), c.accepted);
        EXPECT_EQ(bob->name, c.bobAfter);
        if (std::wstring(c.bobAfter) == L"Bob") {
            EXPECT_EQ(ReadFileBytes(ProfilesFolder() / bob->GetFileName()), bobFile);
        }
    }
}

TEST_F(ProfileWindowBasesTest, DeleteRemovesTheNamedProfileOnly) {
    ProfileBase* bob = manager->GetOrCreateProfile(L"Bob");
    const std::string bobFile = bob->GetFileName();
    manager->GetOrCreateProfile(L"alice");
    manager->SelectProfile(bob, true);

    GUIDeleteProfileWindowBase remove(manager.get());
    remove.Show(10, L"Bob");
    remove.DeleteProfile();
    ASSERT_EQ(manager->GetProfiles().size(), 1u);
    EXPECT_EQ(manager->GetCurrentProfile()->name, L"alice");
    EXPECT_FALSE(std::filesystem::exists(ProfilesFolder() / bobFile));
    remove.DeleteProfile(); // the name is gone: nothing more happens
    EXPECT_EQ(manager->GetProfiles().size(), 1u);
}
