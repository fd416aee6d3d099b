// ctest-label: shell
// The profile windows over the laid-out game data and the real GUI, driven frame by frame as the game drives
// them: names typed through the platform's simulated text input (Cyrillic included), ENTER through the
// simulated keyboard and clicks through the GUI manager's element update. The result of every window for
// every choice (trimming, conflicts in any letter case, the stored-name limit), the list with its scroll
// and row highlight, windows whose description lacks controls, and pictures of three windows.
#include "game/shell/GUIDeleteProfileWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GUINewProfileWindow.h"
#include "game/shell/GUIProfileNameConflictWindow.h"
#include "game/shell/GUIProfilesWindow.h"
#include "game/shell/GUIRenameProfileWindow.h"
#include "game/shell/GUIWelcomeWindow.h"
#include "game/shell/GameData.h"
#include "game/shell/ProfileManager.h"

#include "engine/core/Controls_DI7.h"
#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIEditBox.h"
#include "engine/gui/GUIScroll.h"
#include "framework/GameBase.h"
#include "gametools/XMLNode.h"
#include "guitools/GUIBackgroundBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUIEditBoxControl.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUITextTool.h"
#include "guitools/GUIToolManager.h"
#include "platform/input/DirectInput.h"
#include "platform/win/Events.h"
#include "platform/win/Process.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VelmoraBall;
using GameFramework::GameBase;
using GameFramework::ProfileBase;
using OrvexEngine::GUIButton;
using OrvexEngine::Vec2;

namespace {

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

std::wstring Wide(const std::string& utf8) {
    return OrvexEngine::ToWide(utf8);
}

// Every word of a label's laid-out lines, joined by blanks.
std::wstring Shown(const GUITools::GUITextControl& label) {
    std::wstring joined;
    for (const std::wstring& line : label.lines)
        joined += (joined.empty() ? L"" : L" ") + line;
    return joined;
}

// The laid-out data opened as the game opens it with the engine's drawing, the input service over the
// test window, the game-wide keeper holding every GUI resource, the tools of one language, the game's
// profile index over a fresh user folder, and the six windows built as the game builds them. Frame runs one
// frame in the game's order: messages, input, the GUI elements (with the test's mouse), every window's
// update, the menu windows' turn, drawing, end of frame.
class ProfileWindows : public testing::Test {
public:
    explicit ProfileWindows(uint32_t width = 80, uint32_t height = 60) : scene(width, height, 800, 600) {
        OrvexEngine::FileManager::Instance(&files);
        controls = std::make_unique<OrvexEngine::Controls_DI7>(true);
        OrvexEngine::Controls::Instance(controls.get());
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
        tools = std::make_unique<GUITools::GUIToolManager>("en");
        tools->fontTool->LoadAdditionalFonts();
        scene.timers.frameTime = 0.1f;
        userDirectory = (fs::path(VelmoraTest::TempDir()) /
                         testing::UnitTest::GetInstance()->current_test_info()->name() / "user")
                            .string();
    }
    ~ProfileWindows() override {
        DropWindows();
        profiles.reset();
        tools.reset();
        data.reset();
        controls.reset();
    }

    void DropWindows() {
        welcome.reset();
        list.reset();
        create.reset();
        rename.reset();
        remove.reset();
        conflict.reset();
        menus.reset();
    }
    // A fresh user folder with these profiles (the first made current unless `current` names another),
    // and the six windows built anew over it.
    void Start(const std::vector<std::wstring>& names, const std::wstring& current = L"",
               OrvexEngine::GUIWindow* parent = nullptr) {
        DropWindows();
        profiles.reset();
        fs::remove_all(userDirectory);
        profiles = std::make_unique<ProfileManager>(nullptr, userDirectory);
        for (const std::wstring& name : names)
            profiles->GetOrCreateProfile(name);
        if (!names.empty())
            profiles->SelectProfile(profiles->FindProfile(current.empty() ? names.front() : current), true);
        menus = std::make_unique<GUIMenuWindowManager>(data.get());
        welcome = std::make_unique<GUIWelcomeWindow>(profiles.get(), nullptr, data.get(), tools.get(),
                                                     menus.get(), parent);
        list = std::make_unique<GUIProfilesWindow>(nullptr, profiles.get(), data.get(), tools.get(),
                                                   menus.get(), parent);
        create = std::make_unique<GUINewProfileWindow>(profiles.get(), nullptr, data.get(), tools.get(),
                                                       menus.get(), parent);
        rename = std::make_unique<GUIRenameProfileWindow>(profiles.get(), nullptr, data.get(), tools.get(),
                                                          menus.get(), parent);
        remove = std::make_unique<GUIDeleteProfileWindow>(profiles.get(), nullptr, data.get(), tools.get(),
                                                          menus.get(), parent);
        conflict = std::make_unique<GUIProfileNameConflictWindow>(nullptr, data.get(), tools.get(),
                                                                  menus.get(), parent);
        results.clear();
    }

    void Frame() {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        scene.window->Update();
        controls->Update();
        scene.gui->UpdateElements(mouse, held, pressed);
        pressed = false;
        GameFramework::GUIFrameworkWindow* const flow[] = {welcome.get(), list.get(),   create.get(),
                                                           rename.get(),  remove.get(), conflict.get()};
        for (GameFramework::GUIFrameworkWindow* window : flow) {
            window->Update();
            if (window->result != 0)
                results.push_back(window->result);
        }
        menus->UpdateWindows();
        scene.Frame(image);
        controls->ResetFrame();
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // Long enough for a window to come on screen with every control, or to go.
    void Settle() { Frames(20); }

    // Pressed in one frame and released over it in the next, as a player clicks.
    void Click(const GUIButton* button) {
        ASSERT_NE(button, nullptr);
        mouse = button->GetParentOrigin() + button->position + button->size * 0.5f;
        held = pressed = true;
        Frame();
        held = false;
        Frame();
    }
    void MoveMouseAway() {
        mouse = Vec2(-100, -100);
        Frame();
    }
    // One character per frame, as a player types: the frame keeps only its last key event.
    void Type(const std::string& utf8) {
        for (const wchar_t character : Wide(utf8)) {
            platform::sim::PushText(OrvexEngine::ToMultiByte(std::wstring(1, character)));
            Frame();
        }
    }
    void PressEnter() {
        platform::sim::PushKey(platform::input::KeyReturn, true);
        platform::sim::PushKey(platform::input::KeyReturn, false);
        Frame();
    }

    static GUIButton* Button(const GUITools::GUIWindowBase& window, const std::string& path) {
        const GUITools::GUIButtonControl* control = window.GetButtonControl(window.GetName() + path);
        return control != nullptr ? control->button : nullptr;
    }
    static OrvexEngine::GUIEditBox* NameBox(const GUITools::GUIWindowBase& window) {
        const GUITools::GUIEditBoxControl* control =
            window.GetEditBoxControl(window.GetName() + "/window/name");
        return control != nullptr ? control->editBox : nullptr;
    }
    // The names of the index, in its order.
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        for (const ProfileBase* profile : profiles->GetProfiles())
            names.push_back(profile->name);
        return names;
    }
    std::wstring Current() const {
        return profiles->GetCurrentProfile() != nullptr ? profiles->GetCurrentProfile()->name : L"(none)";
    }

    VelmoraTest::TestLog log;
    OrvexEngine::FileManager files{BinDir().string(), true, "data", 16u << 20};
    VelmoraTest::SceneRenderFixture scene;
    std::unique_ptr<OrvexEngine::Controls_DI7> controls;
    std::unique_ptr<GameData> data;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::string userDirectory;
    std::unique_ptr<ProfileManager> profiles;
    std::unique_ptr<GUIMenuWindowManager> menus;
    std::unique_ptr<GUIWelcomeWindow> welcome;
    std::unique_ptr<GUIProfilesWindow> list;
    std::unique_ptr<GUINewProfileWindow> create;
    std::unique_ptr<GUIRenameProfileWindow> rename;
    std::unique_ptr<GUIDeleteProfileWindow> remove;
    std::unique_ptr<GUIProfileNameConflictWindow> conflict;
    std::vector<int> results; // every nonzero result seen after a window's update, in order
    Vec2 mouse{-100, -100};
    bool held = false;
    bool pressed = false;
    OrvexEngine::Image image;
};

// The helpers the cases share act on the fixture's windows.
class ProfileWindowsResults : public ProfileWindows {
public:
    void ShowWelcome() {
        welcome->Show(GameBase::ModeLoading);
        Settle();
    }
    void ShowNew(bool clearName = true) {
        create->Show(GameBase::ModeProfiles, clearName);
        Settle();
    }
    void ShowRename(const std::wstring& name) {
        rename->Show(GameBase::ModeProfiles, true, name);
        Settle();
    }
    void ShowDelete(const std::wstring& name) {
        remove->Show(GameBase::ModeProfiles, name);
        Settle();
    }
    void Accept(GUITools::GUIWindowBase& window) { Click(Button(window, "/window/button_1")); }
    void Cancel(GUITools::GUIWindowBase& window) { Click(Button(window, "/window/button_0")); }
    void Retype(GUITools::GUIWindowBase& window, const std::string& utf8) {
        NameBox(window)->SetText(L"");
        Type(utf8);
    }
};

struct ResultCase {
    const char* what;
    std::vector<std::wstring> before; // the first is current
    std::function<void(ProfileWindowsResults&)> act;
    std::vector<int> results;
    std::vector<std::wstring> after; // in any order
    std::wstring currentAfter;
};

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(ProfileWindowsResults, EveryWindowsResultForEveryChoice) {
    const std::wstring alice = Wide("Алиса");
    const std::wstring longTaken(ProfileBase::MaxNameUnits, L'x');
    const std::vector<ResultCase> cases = {
        {"welcome: leaving",
         {},
         [](auto& t) {
             t.ShowWelcome();
             t.Cancel(*t.welcome);
         },
         {4},
         {},
         L"(none)"},
        {"welcome: the typed name, trimmed",
         {},
         [](auto& t) {
             t.ShowWelcome();
             t.Type("  Ann Lee  ");
             t.Accept(*t.welcome);
         },
         {3},
         {L"Ann Lee"},
         L"Ann Lee"},
        {"welcome: a blank name takes the default player's name",
         {},
         [](auto& t) {
             t.ShowWelcome();
             t.Type("   ");
             t.PressEnter();
         },
         {3},
         {L"Player"},
         L"Player"},
        {"welcome: a name another profile has in another case selects that profile",
         {L"Bob", Wide("алиса")},
         [](auto& t) {
             t.ShowWelcome();
             t.Type("АЛИСА");
             t.PressEnter();
         },
         {3},
         {L"Bob", Wide("алиса")},
         Wide("алиса")},
        {"new: cancel while profiles exist",
         {L"Bob"},
         [](auto& t) {
             t.ShowNew();
             t.Cancel(*t.create);
         },
         {5},
         {L"Bob"},
         L"Bob"},
        {"new: cancel while none exists leaves the game, and says so",
         {},
         [](auto& t) {
             t.ShowNew();
             EXPECT_EQ(Shown(*t.create->GetTextControl("window_new_profile/window/button_0/title")), L"Exit");
             t.Cancel(*t.create);
         },
         {4},
         {},
         L"(none)"},
        {"new: a free name, trimmed, becomes current",
         {L"Bob"},
         [](auto& t) {
             t.ShowNew();
             EXPECT_EQ(Shown(*t.create->GetTextControl("window_new_profile/window/button_0/title")),
                       L"Cancel");
             t.Type(" Carol ");
             t.Accept(*t.create);
         },
         {5},
         {L"Bob", L"Carol"},
         L"Carol"},
        {"new: a Cyrillic name taken in another case",
         {Wide("АЛИСА")},
         [](auto& t) {
             t.ShowNew();
             t.Type("алиса");
             t.PressEnter();
         },
         {9},
         {Wide("АЛИСА")},
         Wide("АЛИСА")},
        {"new: a blank name can be neither clicked nor entered",
         {L"Bob"},
         [](auto& t) {
             t.ShowNew();
             t.Type("  ");
             EXPECT_EQ(Button(*t.create, "/window/button_1")->state, OrvexEngine::GUI_BUTTON_DISABLED);
             t.PressEnter();
             t.Accept(*t.create);
             // The button comes back with a name.
             t.Type("d");
             EXPECT_NE(Button(*t.create, "/window/button_1")->state, OrvexEngine::GUI_BUTTON_DISABLED);
         },
         {},
         {L"Bob"},
         L"Bob"},
        {"new: a name that equals another once cut to the stored length is taken",
         {longTaken},
         [](auto& t) {
             t.ShowNew();
             NameBox(*t.create)->SetText(std::wstring(300, L'X'));
             t.PressEnter();
         },
         {9},
         {longTaken},
         longTaken},
        {"new: a long name is kept cut to the stored length",
         {L"Bob"},
         [](auto& t) {
             t.ShowNew();
             NameBox(*t.create)->SetText(std::wstring(260, L'y'));
             t.PressEnter();
         },
         {5},
         {L"Bob", std::wstring(ProfileBase::MaxNameUnits, L'y')},
         std::wstring(ProfileBase::MaxNameUnits, L'y')},
        {"rename: the profile's own name in another case changes nothing",
         {L"Alice", L"Bob"},
         [](auto& t) {
             t.ShowRename(L"Alice");
             EXPECT_EQ(NameBox(*t.rename)->text, L"Alice");
             t.Retype(*t.rename, " ALICE ");
             t.Accept(*t.rename);
         },
         {5},
         {L"Alice", L"Bob"},
         L"Alice"},
        {"rename: a name another profile has in another case",
         {L"Alice", L"Bob"},
         [](auto& t) {
             t.ShowRename(L"Alice");
             t.Retype(*t.rename, "bOB ");
             t.PressEnter();
         },
         {9},
         {L"Alice", L"Bob"},
         L"Alice"},
        {"rename: to a Cyrillic name",
         {L"Alice", L"Bob"},
         [](auto& t) {
             t.ShowRename(L"Alice");
             t.Retype(*t.rename, "Алиса");
             t.Accept(*t.rename);
         },
         {5},
         {alice, L"Bob"},
         alice},
        {"rename: a blank name can be neither clicked nor entered",
         {L"Alice"},
         [](auto& t) {
             t.ShowRename(L"Alice");
             t.Retype(*t.rename, " ");
             t.PressEnter();
             t.Accept(*t.rename);
         },
         {},
         {L"Alice"},
         L"Alice"},
        {"rename: cancel",
         {L"Alice"},
         [](auto& t) {
             t.ShowRename(L"Alice");
             t.Cancel(*t.rename);
         },
         {5},
         {L"Alice"},
         L"Alice"},
        {"delete: cancel, and ENTER does nothing",
         {L"Alice", L"Bob"},
         [](auto& t) {
             t.ShowDelete(L"Alice");
             t.PressEnter();
             t.Cancel(*t.remove);
         },
         {5},
         {L"Alice", L"Bob"},
         L"Alice"},
        {"delete: one of two; the other becomes current",
         {L"Alice", L"Bob"},
         [](auto& t) {
             t.ShowDelete(L"Alice");
             t.Accept(*t.remove);
         },
         {5},
         {L"Bob"},
         L"Bob"},
        {"delete: the last profile, then the new-profile window leaves the game",
         {L"Alice"},
         [](auto& t) {
             t.ShowDelete(L"Alice");
             t.Accept(*t.remove);
             t.remove->Hide();
             t.create->Show(GameBase::ModeDeleteProfile, true);
             t.Settle();
             EXPECT_EQ(Shown(*t.create->GetTextControl("window_new_profile/window/button_0/title")), L"Exit");
             t.Cancel(*t.create);
         },
         {6, 4},
         {},
         L"(none)"},
        {"name conflict: from the new-profile window",
         {L"Alice"},
         [](auto& t) {
             t.conflict->Show(GameBase::ModeNewProfile);
             t.Settle();
             t.Click(Button(*t.conflict, "/window/button_0"));
         },
         {6},
         {L"Alice"},
         L"Alice"},
        {"name conflict: from the rename window, by ENTER",
         {L"Alice"},
         [](auto& t) {
             t.conflict->Show(GameBase::ModeRenameProfile);
             t.Settle();
             t.PressEnter();
         },
         {7},
         {L"Alice"},
         L"Alice"},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.before);
        const uint32_t mark = log.Mark();
        c.act(*this);
        EXPECT_EQ(results, c.results);
        EXPECT_EQ(Sorted(Names()), Sorted(c.after));
        EXPECT_EQ(Current(), c.currentAfter);
        // What was made or chosen is on disk: a fresh index reads the same.
        ProfileManager reread(nullptr, userDirectory);
        EXPECT_EQ(reread.GetProfiles().size(), c.after.size());
        const std::wstring rereadCurrent =
            reread.GetCurrentProfile() != nullptr ? reread.GetCurrentProfile()->name : L"(none)";
        EXPECT_EQ(rereadCurrent, c.currentAfter);
        for (const std::string& line : log.Complaints(mark))
            ADD_FAILURE() << line;
        MoveMouseAway();
    }
}

TEST_F(ProfileWindowsResults, TheDeleteQuestionAndTheRowsShowANameAsTyped) {
    // Quotes, a plus and a per cent sign mean something in text expressions; a typed name shows them all.
    const std::wstring odd = Wide("Ann+\"Бо\" 100%");
    Start({L"Bob", odd}, odd);
    ShowDelete(odd);
    EXPECT_NE(Shown(*remove->GetTextControl("window_delete_profile/window/text")).find(L"\"" + odd + L"\""),
              std::wstring::npos)
        << OrvexEngine::ToMultiByte(Shown(*remove->GetTextControl("window_delete_profile/window/text")));
    remove->Hide();
    list->Show(GameBase::ModeMainMenu);
    Settle();
    ASSERT_NE(list->GetRowTitle(0), nullptr);
    EXPECT_EQ(Shown(*list->GetRowTitle(0)), odd);
    EXPECT_EQ(Shown(*list->GetRowTitle(1)), L"Bob");
}

namespace {

class ProfileList : public ProfileWindows {
public:
    // Entries as the rows show them, from the top.
    std::vector<std::wstring> Rows() const {
        std::vector<std::wstring> rows;
        for (int row = 0; row < GUIProfilesWindow::RowCount; ++row)
            if (list->GetRowButton(row)->visible)
                rows.push_back(list->GetRowTitle(row)->text);
        return rows;
    }
    std::vector<std::string> Fonts() const {
        std::vector<std::string> fonts;
        for (int row = 0; row < GUIProfilesWindow::RowCount; ++row)
            if (list->GetRowButton(row)->visible)
                fonts.push_back(list->GetRowTitle(row)->fontName);
        return fonts;
    }
};

} // namespace

TEST_F(ProfileList, TwelveProfilesScrollThroughNineRowsWithTheCurrentOneFirst) {
    const std::vector<std::wstring> names = {Wide("Алиса"), L"bob",   L"Carol", L"dave", L"Eve",     L"frank",
                                             L"Grace",      L"heidi", L"Ivan",  L"judy", L"Mallory", L"Zed"};
    Start(names, L"Grace");
    list->Show(GameBase::ModeMainMenu);
    Settle();

    // The current profile first, then the others in the index's order.
    std::vector<std::wstring> expected = {L"Grace"};
    for (const std::wstring& name : Names())
        if (name != L"Grace")
            expected.push_back(name);
    ASSERT_EQ(list->GetListedNames(), expected);
    OrvexEngine::GUIScroll* scroll = list->GetScroll();
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(scroll->IsEnabled());
    EXPECT_EQ(scroll->GetPositionCount(), 4u);
    EXPECT_EQ(scroll->GetPosition(), 0u);
    EXPECT_TRUE(scroll->reversed);
    EXPECT_EQ(Rows(), std::vector<std::wstring>(expected.begin(), expected.begin() + 9));
    std::vector<std::string> fonts(9, "common_0");
    fonts[0] = "common_1";
    EXPECT_EQ(Fonts(), fonts);
    EXPECT_EQ(list->GetRowButton(0)->state, OrvexEngine::GUI_BUTTON_DISABLED);

    // The arrow at the bottom of the track moves the list down by one.
    GUIButton* lower = scroll->GetIncreaseButton();
    if (lower->position.y > scroll->GetDecreaseButton()->position.y)
        lower = scroll->GetDecreaseButton();
    Click(lower);
    EXPECT_EQ(scroll->GetPosition(), 1u);
    EXPECT_EQ(Rows(), std::vector<std::wstring>(expected.begin() + 1, expected.begin() + 10));

    scroll->SetPosition(3);
    Frame();
    EXPECT_EQ(Rows(), std::vector<std::wstring>(expected.begin() + 3, expected.end()));
    EXPECT_EQ(Fonts(), std::vector<std::string>(9, "common_0")) << "the current profile is scrolled away";

    // Hovering lights a row up; a click makes its profile current at once, saved, keeping the row order.
    mouse = list->GetRowButton(4)->GetParentOrigin() + list->GetRowButton(4)->position + Vec2(5, 5);
    Frame();
    EXPECT_EQ(list->GetRowTitle(4)->fontName, "common_2");
    Click(list->GetRowButton(2));
    EXPECT_EQ(Current(), expected[5]);
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(Rows(), std::vector<std::wstring>(expected.begin() + 3, expected.end()));
    EXPECT_EQ(list->GetRowTitle(2)->fontName, "common_1");
    EXPECT_EQ(list->GetRowButton(2)->state, OrvexEngine::GUI_BUTTON_DISABLED);
    EXPECT_EQ(list->GetRowTitle(4)->fontName, "common_0");
    EXPECT_EQ(ProfileManager(nullptr, userDirectory).GetCurrentProfile()->name, expected[5]);
    // The current row's button is disabled: clicking it again does nothing.
    Click(list->GetRowButton(2));
    EXPECT_EQ(Current(), expected[5]);
    EXPECT_TRUE(results.empty());

    // Rename and delete name the current profile; each button sets its result.
    MoveMouseAway();
    Click(Button(*list, "/window/rename"));
    EXPECT_EQ(results, std::vector<int>{7});
    EXPECT_EQ(list->selectedName, expected[5]);
    const std::pair<const char*, int> buttons[] = {
        {"/window/delete", 8}, {"/window/create", 6}, {"/window/done", 3}};
    for (const auto& [path, code] : buttons) {
        results.clear();
        list->selectedName.clear();
        Click(Button(*list, path));
        EXPECT_EQ(results, std::vector<int>{code}) << path;
    }
    EXPECT_EQ(list->selectedName, L"") << "only rename and delete choose a name";
}

TEST_F(ProfileList, AShortListHidesTheRowsBelowItAndDisablesTheScroll) {
    Start({L"Bob", L"alice", L"Carol"}, L"Carol");
    list->Show(GameBase::ModeMainMenu);
    Settle();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Carol", L"alice", L"Bob"}));
    for (int row = 3; row < GUIProfilesWindow::RowCount; ++row)
        EXPECT_FALSE(list->GetRowButton(row)->visible) << row;
    EXPECT_FALSE(list->GetScroll()->IsEnabled());
    EXPECT_EQ(list->GetScroll()->GetPositionCount(), 2u);

    // A row whose profile has gone since the list was taken keeps the current profile.
    profiles->DeleteProfile(L"alice");
    Click(list->GetRowButton(1));
    EXPECT_EQ(Current(), L"Carol");
    EXPECT_TRUE(results.empty());
    MoveMouseAway();

    // Shown again, the list is taken anew.
    list->Hide();
    Settle();
    profiles->GetOrCreateProfile(L"Dan");
    list->Show(GameBase::ModeMainMenu);
    Settle();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Carol", L"Bob", L"Dan"}));
}

TEST_F(ProfileWindows, DescriptionsWithoutTheirControlsAreLoggedAndTheWindowsStillWork) {
    // Bare descriptions stand in front of the shipped ones: the first of a name is the one found.
    for (const char* name :
         {"window_welcome", "window_profiles", "window_new_profile", "window_rename_profile",
          "window_delete_profile", "window_profile_name_conflict"}) {
        GameTools::XMLNode* shipped = nullptr;
        std::vector<GameTools::XMLNode*> all;
        tools->windowDescriptions->GetChildren(all);
        for (GameTools::XMLNode* node : all)
            if (GameTools::XMLValue* value = node->GetAttribute("name", GameTools::XMLNode::SeverityNone))
                if (value->AsString() == name)
                    shipped = node;
        ASSERT_NE(shipped, nullptr) << name;
        shipped->SetAttribute("name", std::string(name) + "_shipped");
        auto* bare = new GameTools::XMLNode("window", tools->windowDescriptions);
        bare->SetAttribute("name", name);
    }
    const uint32_t mark = log.Mark();
    std::vector<std::wstring> twelve;
    for (int i = 0; i < 12; ++i)
        twelve.push_back(L"P" + std::to_wstring(i));
    Start(twelve);
    // Every control the windows look up is named in an error line.
    const std::vector<std::string> complaints = log.Complaints(mark);
    for (const char* control :
         {"window_welcome/window/name", "window_welcome/window/button_1", "window_welcome/window/button_0",
          "window_profiles/window/text_area/button_profile_8",
          "window_profiles/window/text_area/button_profile_0/title", "window_profiles/window/scroll",
          "window_profiles/window/done", "window_new_profile/window/button_0/title",
          "window_rename_profile/window/name", "window_delete_profile/window/button_1",
          "window_profile_name_conflict/window/button_0"}) {
        EXPECT_TRUE(std::any_of(complaints.begin(), complaints.end(), [&](const std::string& line) {
            return line.find(control) != std::string::npos;
        })) << control;
    }

    // Every window shows, updates, takes ENTER and hides without its controls.
    list->Show(GameBase::ModeMainMenu);
    Settle();
    EXPECT_EQ(list->GetListedNames().size(), 12u);
    PressEnter();
    list->Hide();
    create->Show(GameBase::ModeProfiles, true);
    Settle();
    PressEnter(); // no name field: nothing to create
    create->Hide();
    rename->Show(GameBase::ModeProfiles, true, L"P1");
    Settle();
    PressEnter();
    rename->Hide();
    remove->Show(GameBase::ModeProfiles, L"P1");
    Settle();
    remove->Hide();
    conflict->Show(GameBase::ModeNewProfile);
    Settle();
    PressEnter();
    conflict->Hide();
    welcome->Show(GameBase::ModeLoading);
    Settle();
    PressEnter(); // no name field: the default player's name
    welcome->Hide();
    Settle();
    EXPECT_EQ(results, (std::vector<int>{6, 3}));
    EXPECT_EQ(Names().size(), 13u);
    EXPECT_EQ(Current(), L"Player");
}

namespace {

class ProfileWindowsRender : public ProfileWindows {
protected:
    ProfileWindowsRender() : ProfileWindows(800, 600) {}
};

} // namespace

TEST_F(ProfileWindowsRender, TheWelcomeWindowAndANewCyrillicName) {
    auto background = std::make_unique<GUITools::GUIBackgroundBase>(data.get(), nullptr,
                                                                    "data\\ui\\background\\background.xml");
    background->LoadBasicLayers();
    background->LoadAdditionalLayers();
    background->foregroundWindow->SetOrder(background->foregroundWindow->GetOrder() + 20);
    background->Show(true, false, 1);
    const uint32_t mark = log.Mark();
    Start({}, L"", background->foregroundWindow);

    welcome->Show(GameBase::ModeLoading);
    for (int i = 0; i < 30; ++i) {
        background->Update();
        Frame();
    }
    VelmoraTest::SceneRenderFixture::SavePng(image, "profiles-welcome.png");
    // The OK button's face is lit in the middle of the panel's lower part.
    const GUIButton* ok = Button(*welcome, "/window/button_1");
    const Vec2 okCentre = ok->GetParentOrigin() + ok->position + ok->size * 0.5f;
    const uint8_t* face = VelmoraTest::SceneRenderFixture::Pixel(image, okCentre.x, okCentre.y);
    EXPECT_GT(face[0] + face[1] + face[2], 150);

    welcome->Hide();
    create->Show(GameBase::ModeWelcome, true);
    for (int i = 0; i < 30; ++i) {
        background->Update();
        Frame();
    }
    Type("Алиса");
    for (int i = 0; i < 3; ++i) {
        background->Update();
        Frame();
    }
    EXPECT_EQ(NameBox(*create)->text, Wide("Алиса"));
    VelmoraTest::SceneRenderFixture::SavePng(image, "profiles-new-profile-cyrillic.png");
    // Light letters stand in the field's left part where the name is drawn.
    const OrvexEngine::GUIEditBox* box = NameBox(*create);
    const Vec2 field = box->GetParentOrigin() + box->position;
    int lit = 0;
    for (int x = 0; x < 80; ++x)
        for (int y = 8; y < 32; ++y) {
            const uint8_t* p =
                VelmoraTest::SceneRenderFixture::Pixel(image, field.x + 10 + float(x), field.y + float(y));
            lit += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    EXPECT_GT(lit, 40) << "no typed letters in the field";

    // Accepted, the name heads the list among eleven more, drawn as the current one.
    PressEnter();
    EXPECT_EQ(results, std::vector<int>{5});
    for (const char* name :
         {"bob", "Carol", "dave", "Eve", "frank", "Grace", "heidi", "Ivan", "judy", "Mallory", "Zed"})
        profiles->GetOrCreateProfile(Wide(name));
    create->Hide();
    list->Show(GameBase::ModeNewProfile);
    for (int i = 0; i < 30; ++i) {
        background->Update();
        Frame();
    }
    EXPECT_EQ(list->GetRowTitle(0)->text, Wide("Алиса"));
    VelmoraTest::SceneRenderFixture::SavePng(image, "profiles-list.png");
    for (const std::string& line : log.Complaints(mark))
        ADD_FAILURE() << line;
}
