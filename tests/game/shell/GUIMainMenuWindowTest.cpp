// ctest-label: shell
// The main menu over the real GUI with clicks made as a player makes them: each button's code, only while
// the menu is on screen (not before, not while it hides); the buttons disabled from each show until the
// panel is on screen; the captions' fonts by their buttons' states; the last click read winning when
// several come in one frame; the title naming the current player at every show; and a description
// without the menu's controls, which is logged and leaves a menu that does nothing.
#include "game/shell/GUIMainMenuWindow.h"

#include "game/shell/ProfileManager.h"
#include "guitools/GUITextControl.h"
#include "tests/game/shell/MenuWindowFixture.h"
#include "tests/support/TestLog.h"

#include <filesystem>

using namespace VelmoraBall;
using OrvexEngine::GUIButton;

namespace {

const char* const MainMenu = R"(<window name="window_main_menu" fader="quick" size="800 600">
  <text_label name="title" font="plain" text="hello" fader="quick" position="250 500" size="300 30"/>
  <window name="window" fader="quick" position="200 100" size="400 400">
    <button name="start" fader="quick" position="20 300" size="200 40">
      <text_label name="title" font="main_menu_0" text="'Play'" fader="quick" size="200 40"/></button>
    <button name="high_scores" fader="quick" position="20 240" size="200 40">
      <text_label name="title" font="main_menu_0" text="'Scores'" fader="quick" size="200 40"/></button>
    <button name="options" fader="quick" position="20 180" size="200 40">
      <text_label name="title" font="main_menu_0" text="'Options'" fader="quick" size="200 40"/></button>
    <button name="change_player" fader="quick" position="20 120" size="200 40">
      <text_label name="title" font="main_menu_0" text="'Players'" fader="quick" size="200 40"/></button>
    <button name="exit" fader="quick" position="20 60" size="200 40">
      <text_label name="title" font="main_menu_0" text="'Exit'" fader="quick" size="200 40"/></button>
  </window>
</window>)";

class GUIMainMenuWindowTest : public VelmoraTest::MenuWindowFixture {
protected:
    GUIMainMenuWindow* MakeMenu(GameFramework::ProfileManagerBase* profiles = nullptr) {
        Describe("window_main_menu.xml", MainMenu);
        menu = Make<GUIMainMenuWindow>(profiles);
        return menu;
    }
    GUIButton* Button(int entry) {
        return menu->GetButton(std::string("window_main_menu") + GUIMainMenuWindow::Entries[entry].button);
    }
    GUITools::GUITextControl* Caption(int entry) {
        return menu->GetTextControl(std::string("window_main_menu") +
                                    GUIMainMenuWindow::Entries[entry].caption);
    }
    std::vector<std::string> CaptionFonts() {
        std::vector<std::string> fonts;
        for (int i = 0; i < GUIMainMenuWindow::EntryCount; ++i)
            fonts.push_back(Caption(i)->fontName);
        return fonts;
    }

    GUIMainMenuWindow* menu = nullptr;
};

} // namespace

TEST_F(GUIMainMenuWindowTest, EachButtonSetsItsCodeOnlyWhileTheMenuIsOnScreen) {
    MakeMenu();
    // Hidden, nothing can be clicked.
    Click(Button(0));
    EXPECT_EQ(menu->result, 0);

    menu->Show(3);
    EXPECT_EQ(menu->mode, 3);
    Frames(3);
    ASSERT_TRUE(menu->IsVisible());
    const int expected[GUIMainMenuWindow::EntryCount] = {24, 10, 11, 5, 4};
    for (int i = 0; i < GUIMainMenuWindow::EntryCount; ++i) {
        Click(Button(i));
        EXPECT_EQ(menu->result, expected[i]) << GUIMainMenuWindow::Entries[i].button;
        Frame();
        EXPECT_EQ(menu->result, 0) << "a code lasts one frame";
    }

    // While the panel hides, its buttons may still be under the cursor, but no click counts.
    menu->Hide();
    EXPECT_TRUE(menu->resultSeen);
    PointAt(Button(0));
    Frame(true, true);
    EXPECT_EQ(menu->result, 0);
    Frame(false, false);
    EXPECT_EQ(menu->result, 0);
    Frames(4);
    EXPECT_FALSE(menu->GetRootWindow()->visible);
    EXPECT_TRUE(manager->IsFree());
}

TEST_F(GUIMainMenuWindowTest, ButtonsWaitForThePanelAndCaptionsFollowTheirButtonsState) {
    MakeMenu();
    menu->Show(5);
    for (int i = 0; i < GUIMainMenuWindow::EntryCount; ++i)
        EXPECT_EQ(Button(i)->state, OrvexEngine::GUI_BUTTON_DISABLED) << i;
    Frame();
    // On screen, but its update ran before it came on: still disabled, so a press in the next frame's input
    // step over a button captures nothing.
    for (int i = 0; i < GUIMainMenuWindow::EntryCount; ++i)
        EXPECT_EQ(Button(i)->state, OrvexEngine::GUI_BUTTON_DISABLED) << i;
    PointAt(Button(1));
    Frame(true, true);
    for (int i = 0; i < GUIMainMenuWindow::EntryCount; ++i)
        EXPECT_NE(Button(i)->state, OrvexEngine::GUI_BUTTON_DISABLED) << i;
    Frame(false, false);
    EXPECT_EQ(menu->result, 0);
    EXPECT_EQ(CaptionFonts(), (std::vector<std::string>{"main_menu_0", "main_menu_1", "main_menu_0",
                                                        "main_menu_0", "main_menu_0"}));
    Frame(true, true);
    EXPECT_EQ(Caption(1)->fontName, "main_menu_2");
    // Held and dragged onto another button: the first is normal again, the one under the cursor lights
    // up, and the release is no click.
    PointAt(Button(4));
    Frame(true, false);
    EXPECT_EQ(CaptionFonts(), (std::vector<std::string>{"main_menu_0", "main_menu_0", "main_menu_0",
                                                        "main_menu_0", "main_menu_1"}));
    Frame(false, false);
    EXPECT_EQ(menu->result, 0);

    // Shown again: disabled again until the panel is back.
    menu->Hide();
    Frames(4);
    menu->Show(5);
    EXPECT_EQ(Button(4)->state, OrvexEngine::GUI_BUTTON_DISABLED);
}

TEST_F(GUIMainMenuWindowTest, WhenSeveralClicksComeInOneFrameTheLastReadWins) {
    MakeMenu();
    menu->Show(3);
    Frames(3);
    // Read in the order change player, start, high scores, options, exit.
    const struct {
        std::vector<int> clicked; // entries: 0 start, 1 high scores, 2 options, 3 change player, 4 exit
        int result;
    } cases[] = {
        {{3}, 5},    {{0, 3}, 24},         {{1, 0}, 10},    {{2, 1}, 11},
        {{4, 2}, 4}, {{0, 1, 2, 3, 4}, 4}, {{3, 0, 1}, 10},
    };
    for (const auto& c : cases) {
        afterInput = [&] {
            for (int entry : c.clicked)
                Button(entry)->clicked = true;
        };
        Frame();
        EXPECT_EQ(menu->result, c.result) << testing::PrintToString(c.clicked);
    }
}

TEST_F(GUIMainMenuWindowTest, TheTitleNamesThePlayerCurrentAtEachShow) {
    const std::string folder = VelmoraTest::TempDir() + "/main-menu-user";
    std::filesystem::create_directories(folder);
    ProfileManager profiles(nullptr, folder);
    MakeMenu(&profiles);
    GUITools::GUITextControl* title = menu->GetTextControl("window_main_menu/title");
    const auto shownName = [&] {
        menu->Show(3);
        Frames(2);
        title->BuildLines();
        std::wstring line = title->lines.empty() ? L"" : title->lines[0];
        menu->Hide();
        Frames(4);
        return line;
    };
    EXPECT_EQ(shownName(), L"Hello, !") << "no current player";

    profiles.SelectProfile(profiles.GetOrCreateProfile(L"Alice"), false);
    profiles.GetOrCreateProfile(L"Bob");
    EXPECT_EQ(shownName(), L"Hello, Alice!");
    profiles.RenameProfile(L"Alice", L"Alicia");
    EXPECT_EQ(shownName(), L"Hello, Alicia!");
    profiles.SelectProfile(profiles.FindProfile(L"bob"), false);
    EXPECT_EQ(shownName(), L"Hello, Bob!");
}

TEST_F(GUIMainMenuWindowTest, ADescriptionWithoutTheMenusControlsIsLoggedAndTheMenuDoesNothing) {
    Describe("window_main_menu.xml", R"(<window name="window_main_menu" fader="quick">
        <window name="window" fader="quick" size="400 400">
          <button name="start" fader="quick" size="200 40"/>
        </window></window>)");
    const uint32_t before = services.log.Manager().GetEntryCount();
    menu = Make<GUIMainMenuWindow>(static_cast<GameFramework::ProfileManagerBase*>(nullptr));
    std::vector<std::string> errors;
    for (uint32_t i = before; i < services.log.Manager().GetEntryCount(); ++i)
        if (services.log.Manager().GetEntry(i)->type == OrvexEngine::MessageTypeError)
            errors.push_back(services.log.Manager().GetEntry(i)->text);
    // Four buttons and five captions are missing; the start button is there without its caption.
    EXPECT_EQ(errors.size(), 9u) << testing::PrintToString(errors);

    menu->Show(3);
    Frames(3);
    ASSERT_TRUE(menu->IsVisible());
    GUIButton* start = menu->GetButton("window_main_menu/window/start");
    EXPECT_NE(start->state, OrvexEngine::GUI_BUTTON_DISABLED);
    Click(start);
    EXPECT_EQ(menu->result, 24);
    menu->Hide();
    Frames(4);
    EXPECT_TRUE(manager->IsFree());
}
