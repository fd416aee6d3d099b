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

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUITextTool.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowBase.h"
#include "platform/win/Process.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VelmoraBall;

namespace {

enum class Kind { Button, EditBox, Scroll, Text };

struct Lookup {
    std::string path; // after the window's name
    Kind kind;
};

// What the code of each profile window looks up and sets.
struct WindowLookups {
    std::string name;
    std::vector<Lookup> controls;
    std::vector<std::string> keys;
    std::vector<std::string> fonts;
};

std::vector<WindowLookups> Table() {
    std::vector<Lookup> rows;
    for (int row = 0; row < GUIProfilesWindow::RowCount; ++row) {
        const std::string button = "/window/text_area/button_profile_" + std::to_string(row);
        rows.push_back({button, Kind::Button});
        rows.push_back({button + "/title", Kind::Text});
    }
    rows.push_back({"/window/scroll", Kind::Scroll});
    for (const char* button : {"/window/create", "/window/rename", "/window/delete", "/window/done"})
        rows.push_back({button, Kind::Button});
    const std::vector<Lookup> nameEntry = {{"/window/name", Kind::EditBox},
                                           {"/window/button_1", Kind::Button},
                                           {"/window/button_0", Kind::Button}};
    std::vector<Lookup> newProfile = nameEntry;
    newProfile.push_back({"/window/button_0/title", Kind::Text});
    return {
        {"window_welcome", nameEntry, {"welcome/player"}, {}},
        {"window_profiles",
         rows,
         {},
         {GUIProfilesWindow::RowFont, GUIProfilesWindow::CurrentRowFont, GUIProfilesWindow::HoveredRowFont}},
        {"window_new_profile", newProfile, {"common/exit", "common/cancel"}, {}},
        {"window_rename_profile", nameEntry, {}, {}},
        {"window_delete_profile",
         {{"/window/button_1", Kind::Button},
          {"/window/button_0", Kind::Button},
          {"/window/text", Kind::Text}},
         {},
         {}},
        {"window_profile_name_conflict", {{"/window/button_0", Kind::Button}}, {}, {}},
    };
}

bool HasKind(const GUITools::GUIWindowBase& window, const std::string& name, Kind kind) {
    switch (kind) {
    case Kind::Button:
        return window.GetButtonControl(name) != nullptr;
    case Kind::EditBox:
        return window.GetEditBoxControl(name) != nullptr;
    case Kind::Scroll:
        return window.GetScrollControl(name) != nullptr;
    case Kind::Text:
        return window.GetTextControl(name) != nullptr;
    }
    return false;
}

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

class ProfileWindowsData : public testing::Test {
protected:
    ProfileWindowsData() {
        OrvexEngine::FileManager::Instance(&files);
        data = std::make_unique<GameData>("en");
        for (const char* list :
             {"data\\ui\\background\\resources_basic.xml", "data\\ui\\resources_basic.xml",
              "data\\ui\\background\\resources_additional.xml", "data\\ui\\resources_additional.xml"}) {
            try {
                data->LoadResourceList(list, true);
            } catch (const OrvexEngine::FatalError& error) {
                ADD_FAILURE() << list << ": " << error.GetText();
            }
        }
        const fs::path user = fs::path(VelmoraTest::TempDir()) / "profile-windows-data";
        fs::remove_all(user);
        profiles = std::make_unique<ProfileManager>(nullptr, user.string());
    }
    ~ProfileWindowsData() override {
        profiles.reset();
        data.reset();
    }
    std::vector<std::string> Complaints(uint32_t mark) {
        std::vector<std::string> lines;
        OrvexEngine::MessageManager& manager = log.Manager();
        for (uint32_t i = mark; i < manager.GetEntryCount(); ++i)
            if (manager.GetEntry(i)->type >= OrvexEngine::MessageTypeWarning)
                lines.push_back(manager.GetEntry(i)->text);
        return lines;
    }

    VelmoraTest::TestLog log;
    OrvexEngine::FileManager files{BinDir().string(), true, "data", 16u << 20};
    VelmoraTest::SceneRenderFixture scene{80, 60, 800, 600};
    std::unique_ptr<GameData> data;
    std::unique_ptr<ProfileManager> profiles;
};

} // namespace

TEST_F(ProfileWindowsData, EveryControlTextKeyAndFontTheWindowsLookUpIsShippedInBothLanguages) {
    ASSERT_GE(files.GetPackCount(), 1u);
    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        GUITools::GUIToolManager tools(language);
        tools.fontTool->LoadAdditionalFonts();
        for (const WindowLookups& lookups : Table()) {
            SCOPED_TRACE(lookups.name);
            const uint32_t mark = log.Manager().GetEntryCount();
            GUITools::GUIWindowBase window(data.get(), &tools, nullptr, lookups.name);
            for (const Lookup& control : lookups.controls)
                EXPECT_TRUE(HasKind(window, lookups.name + control.path, control.kind)) << control.path;
            for (const std::string& key : lookups.keys) {
                const std::wstring text = tools.textTool->GetText(key);
                EXPECT_FALSE(text.empty() || text == L"UNKNOWN") << key;
            }
            for (const std::string& font : lookups.fonts)
                EXPECT_GE(tools.fontTool->GetFontIndex(font), 0) << font;
            // The labels of the description find their texts too.
            for (const GUITools::GUIControl* control : window.GetControls()) {
                if (const auto* label = dynamic_cast<const GUITools::GUITextControl*>(control)) {
                    EXPECT_EQ(label->text.find(L"UNKNOWN"), std::wstring::npos) << label->GetName();
                }
            }
            for (const std::string& line : Complaints(mark))
                ADD_FAILURE() << line;
        }
        GUITools::GUIWindowBase question(data.get(), &tools, nullptr, "window_delete_profile");
        EXPECT_NE(question.GetTextControl("window_delete_profile/window/text")->text.find(L"%PROFILE_NAME%"),
                  std::wstring::npos);

        // The windows themselves look up nothing the data lacks: not one error line.
        const uint32_t mark = log.Manager().GetEntryCount();
        GUIMenuWindowManager menus(data.get());
        GUIWelcomeWindow welcome(profiles.get(), nullptr, data.get(), &tools, &menus, nullptr);
        GUIProfilesWindow list(nullptr, profiles.get(), data.get(), &tools, &menus, nullptr);
        GUINewProfileWindow create(profiles.get(), nullptr, data.get(), &tools, &menus, nullptr);
        GUIRenameProfileWindow rename(profiles.get(), nullptr, data.get(), &tools, &menus, nullptr);
        GUIDeleteProfileWindow remove(profiles.get(), nullptr, data.get(), &tools, &menus, nullptr);
        GUIProfileNameConflictWindow conflict(nullptr, data.get(), &tools, &menus, nullptr);
        for (const std::string& line : Complaints(mark))
            ADD_FAILURE() << line;
        EXPECT_EQ(menus.GetWindows().size(), 6u);
    }
}
