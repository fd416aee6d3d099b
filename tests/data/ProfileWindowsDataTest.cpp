// ctest-label: data
// The profile windows against the laid-out data in both languages: every control their code looks up is in
// its description with the kind the lookup needs, every text key and font the code sets exists, the delete
// question carries the variable the code fills in, and the six windows build without a single error line,
// which ties the table to what the code really asks for.
#include "game/shell/GUIDeleteProfileWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GUINewProfileWindow.h"
#include "game/shell/GUIProfileNameConflictWindow.h"
#include "game/shell/GUIProfilesWindow.h"
#include "game/shell/GUIRenameProfileWindow.h"
#include "game/shell/GUIWelcomeWindow.h"
#include "game/shell/GameData.h"
#include "game/shell/ProfileManager.h"

#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowBase.h"
#include "tests/support/WindowDataFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VelmoraBall;

namespace {

using VelmoraTest::ControlKind;
using VelmoraTest::ControlLookup;
using VelmoraTest::WindowLookups;

// What the code of each profile window looks up and sets; the delete question names the profile through the
// variable the code fills in.
std::vector<WindowLookups> Table() {
    std::vector<ControlLookup> rows;
    for (int row = 0; row < GUIProfilesWindow::RowCount; ++row) {
        const std::string button = "/window/text_area/button_profile_" + std::to_string(row);
        rows.push_back({button, ControlKind::Button});
        rows.push_back({button + "/title", ControlKind::Text});
    }
    rows.push_back({"/window/scroll", ControlKind::Scroll});
    for (const char* button : {"/window/create", "/window/rename", "/window/delete", "/window/done"})
        rows.push_back({button, ControlKind::Button});
    const std::vector<ControlLookup> nameEntry = {{"/window/name", ControlKind::EditBox},
                                                  {"/window/button_1", ControlKind::Button},
                                                  {"/window/button_0", ControlKind::Button}};
    std::vector<ControlLookup> newProfile = nameEntry;
    newProfile.push_back({"/window/button_0/title", ControlKind::Text});
    return {
        {"window_welcome", nameEntry, {"welcome/player"}},
        {"window_profiles",
         rows,
         {},
         {GUIProfilesWindow::RowFont, GUIProfilesWindow::CurrentRowFont, GUIProfilesWindow::HoveredRowFont}},
        {"window_new_profile", newProfile, {"common/exit", "common/cancel"}},
        {"window_rename_profile", nameEntry},
        {"window_delete_profile",
         {{"/window/button_1", ControlKind::Button},
          {"/window/button_0", ControlKind::Button},
          {"/window/text", ControlKind::Text}},
         {},
         {},
         {"/window/text"}},
        {"window_profile_name_conflict", {{"/window/button_0", ControlKind::Button}}},
    };
}

// The laid-out data opened as the game opens it, the drawing services, the game-wide keeper holding every
// resource of the four GUI lists, and a profile manager over a fresh user folder.
class ProfileWindowsData : public VelmoraTest::WindowDataFixture {
protected:
    ProfileWindowsData() : WindowDataFixture(80, 60) {
        data = std::make_unique<GameData>("en");
        LoadResourceLists(*data, GuiResourceLists(), true);
        const fs::path user = fs::path(VelmoraTest::TempDir()) / "profile-windows-data";
        fs::remove_all(user);
        profiles = std::make_unique<ProfileManager>(nullptr, user.string());
    }
    ~ProfileWindowsData() override {
        tools.reset();
        profiles.reset();
        data.reset();
    }

    std::unique_ptr<GameData> data;
    std::unique_ptr<ProfileManager> profiles;
};

} // namespace

TEST_F(ProfileWindowsData, EveryControlTextKeyAndFontTheWindowsLookUpIsShippedInBothLanguages) {
    ASSERT_GE(files.GetPackCount(), 1u);
    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        UseTools(language);
        for (const WindowLookups& lookups : Table()) {
            SCOPED_TRACE(lookups.name);
            const uint32_t mark = log.Mark();
            GUITools::GUIWindowBase window(data.get(), tools.get(), nullptr, lookups.name);
            ExpectLookupsFound(window, lookups);
            // The labels of the description find their texts and fonts too.
            ExpectLabelsResolved(window);
            for (const std::string& line : log.Complaints(mark))
                ADD_FAILURE() << line;
        }

        // The windows themselves look up nothing the data lacks: not one error line.
        const uint32_t mark = log.Mark();
        GUIMenuWindowManager menus(data.get());
        GUIWelcomeWindow welcome(profiles.get(), nullptr, data.get(), tools.get(), &menus, nullptr);
        GUIProfilesWindow list(nullptr, profiles.get(), data.get(), tools.get(), &menus, nullptr);
        GUINewProfileWindow create(profiles.get(), nullptr, data.get(), tools.get(), &menus, nullptr);
        GUIRenameProfileWindow rename(profiles.get(), nullptr, data.get(), tools.get(), &menus, nullptr);
        GUIDeleteProfileWindow remove(profiles.get(), nullptr, data.get(), tools.get(), &menus, nullptr);
        GUIProfileNameConflictWindow conflict(nullptr, data.get(), tools.get(), &menus, nullptr);
        for (const std::string& line : log.Complaints(mark))
            ADD_FAILURE() << line;
        EXPECT_EQ(menus.GetWindows().size(), 6u);
    }
}
