// ctest-label: data
// The game's windows as the laid-out data builds them through the GUI code: every description in the packs
// makes its window in both languages without an error line; every control the game's windows look up is
// there with the kind their getters need, every label resolves its text and its font, and the texts the code
// fills in carry the variables it sets; every window comes on screen and goes again, so that none can hold
// the menu windows' turn for ever. The main menu and the in-game display are drawn to PNG.
#include "engine/core/Error.h"
#include "engine/graphics/Image.h"
#include "engine/gui/GUIWindow.h"
#include "gametools/DataKeeper.h"
#include "guitools/GUIBackgroundBase.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowBase.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/WindowDataFixture.h"

#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <string>
#include <vector>

using GUITools::GUIControl;
using GUITools::GUIWindowBase;

namespace {

using VelmoraTest::WindowLookups;
using Control = VelmoraTest::ControlLookup;
using Kind = VelmoraTest::ControlKind;

// The frame, the title and the animated title mount every menu window shows, with the message when it has one.
std::vector<Control> Menu(std::vector<Control> own, bool withText = true, bool staticMount = false) {
    own.push_back({"/window", Kind::Window});
    own.push_back({"/title", Kind::Text});
    own.push_back({"/title_mount_animated", Kind::Window});
    if (withText)
        own.push_back({"/window/text", Kind::Text});
    if (staticMount)
        own.push_back({"/title_mount_static", Kind::Window});
    return own;
}

// A button and its caption.
std::vector<Control> Captioned(std::vector<Control> list, const std::string& button) {
    list.push_back({button, Kind::Button});
    list.push_back({button + "/title", Kind::Text});
    return list;
}

// What the game's code asks of each description.
std::vector<WindowLookups> Needs() {
    std::vector<WindowLookups> needs;
    const std::vector<Control> loading = {{"/window", Kind::Window}, {"/title", Kind::Text}, {"/window/text", Kind::Text}};
    needs.push_back({"window_game_loading", loading, {}, {}, {}});
    needs.push_back({"window_game_logic_loading", loading, {}, {}, {}});
    needs.push_back({"window_welcome",
                     Menu({{"/window/name", Kind::EditBox}, {"/window/button_1", Kind::Button},
                           {"/window/button_0", Kind::Button}}),
                     {"welcome/player"}, {}, {}});
    needs.push_back({"window_exit", Menu({{"/window/button_1", Kind::Button}, {"/window/button_0", Kind::Button}}), {}, {}, {}});

    std::vector<Control> mainMenu = Menu({{"/logo_additional_0", Kind::Window}, {"/logo_additional_1", Kind::Window}}, false);
    for (const char* entry : {"start", "high_scores", "options", "change_player", "exit"})
        mainMenu = Captioned(mainMenu, std::string("/window/") + entry);
    needs.push_back({"window_main_menu", mainMenu, {}, {"main_menu_0", "main_menu_1", "main_menu_2"}, {"/title"}});

    std::vector<Control> profiles = Menu({{"/window/scroll", Kind::Scroll}}, false);
    for (int row = 0; row < 9; ++row)
        profiles = Captioned(profiles, "/window/text_area/button_profile_" + std::to_string(row));
    for (const char* button : {"create", "rename", "delete", "done"})
        profiles.push_back({std::string("/window/") + button, Kind::Button});
    needs.push_back({"window_profiles", profiles, {}, {"common_0", "common_1", "common_2"}, {}});

    needs.push_back({"window_new_profile",
                     Captioned(Menu({{"/window/name", Kind::EditBox}, {"/window/button_1", Kind::Button}}),
                               "/window/button_0"),
                     {"common/exit", "common/cancel"}, {}, {}});
    needs.push_back({"window_rename_profile",
                     Menu({{"/window/name", Kind::EditBox}, {"/window/button_1", Kind::Button},
                           {"/window/button_0", Kind::Button}}),
                     {}, {}, {}});
    needs.push_back({"window_delete_profile",
                     Menu({{"/window/button_1", Kind::Button}, {"/window/button_0", Kind::Button}}), {}, {},
                     {"/window/text"}});
    needs.push_back({"window_profile_name_conflict", Menu({{"/window/button_0", Kind::Button}}), {}, {}, {}});
    needs.push_back({"window_start_game",
                     Captioned(Menu({{"/window/button_0", Kind::Button}}, false), "/window/button_1"),
                     {"start_game/title_select_level", "start_game/title_stage_is_passed"}, {}, {}});
    needs.push_back({"window_continue_game_logic",
                     Menu({{"/window/button_2", Kind::Button}, {"/window/button_1", Kind::Button},
                           {"/window/button_0", Kind::Button}, {"/window/level", Kind::Text},
                           {"/window/score", Kind::Text}}),
                     {}, {}, {}});

    std::vector<Control> scores = Captioned(Menu({{"/window/no_records", Kind::Any}}, false), "/window/button_0");
    for (int row = 0; row < 10; ++row)
        for (const char* column : {"place", "name", "score"})
            scores.push_back({"/window/record_" + std::to_string(row) + "/" + column, Kind::Text});
    needs.push_back({"window_high_scores", scores, {"common/back", "common/continue"}, {"common_0", "common_1"}, {}});

    needs.push_back({"window_options",
                     Menu({{"/window/sound", Kind::Scroll}, {"/window/music", Kind::Scroll},
                           {"/window/fullscreen", Kind::CheckBox}, {"/window/video_mode/text", Kind::Text},
                           {"/window/decrease_video_mode", Kind::Button},
                           {"/window/increase_video_mode", Kind::Button}, {"/window/button_2", Kind::Button},
                           {"/window/button_1", Kind::Button}, {"/window/button_0", Kind::Button}},
                          false),
                     {}, {}, {}});
    needs.push_back({"window_credits", Menu({{"/window/button_0", Kind::Button}}), {}, {}, {}});
    needs.push_back({"window_game_logic",
                     {{"", Kind::Window}, {"/menu", Kind::Button}, {"/minimize", Kind::Button},
                      {"/fullscreen", Kind::CheckBox}, {"/close", Kind::Button}, {"/life/text", Kind::Text},
                      {"/score/text_1", Kind::Text}, {"/level/text_1", Kind::Text}},
                     {}, {"console"}, {}});
    needs.push_back({"window_game_logic_pause", Menu({{"/window/button_0", Kind::Button}}, true, true), {}, {}, {}});
    needs.push_back({"window_game_logic_menu",
                     Menu({{"/window/sound", Kind::Scroll}, {"/window/music", Kind::Scroll},
                           {"/window/fullscreen", Kind::CheckBox}, {"/window/button_0", Kind::Button},
                           {"/window/button_1", Kind::Button}, {"/window/button_2", Kind::Button}},
                          false, true),
                     {}, {}, {}});
    for (const char* question : {"window_game_logic_menu_exit", "window_game_logic_restart", "window_game_logic_game_exit"})
        needs.push_back({question, Menu({{"/window/button_1", Kind::Button}, {"/window/button_0", Kind::Button}}, true, true),
                         {}, {}, {}});
    std::vector<Control> levelComplete = Menu({{"/window/button_0", Kind::Button}}, false, true);
    for (const char* label : {"your_time", "ace_time", "time_bonus", "time_bonus_static", "no_time_bonus_static",
                              "best_time", "best_time_static_0", "best_time_static_1"})
        levelComplete.push_back({std::string("/window/") + label, Kind::Text});
    needs.push_back({"window_level_complete", levelComplete, {}, {}, {"/window/best_time_static_1"}});
    needs.push_back({"window_game_complete", Menu({{"/window/button_0", Kind::Button}}), {}, {}, {}});
    needs.push_back({"window_game_over", Menu({{"/window/button_0", Kind::Button}}, true, true), {}, {}, {}});
    return needs;
}

// The laid-out data opened as the game opens it, the engine's drawing services, and a data keeper holding
// every GUI resource of the four GUI lists, as after the game's loading.
class ShellWindowsData : public VelmoraTest::WindowDataFixture {
protected:
    explicit ShellWindowsData(uint32_t width = 80, uint32_t height = 60) : WindowDataFixture(width, height) {
        LoadResourceLists(keeper, GuiResourceLists(), true);
        scene.timers.frameTime = 0.1f;
    }
    ~ShellWindowsData() override {
        windows.clear();
        tools.reset();
    }

    void UseLanguage(const std::string& language) {
        windows.clear();
        UseTools(language);
    }
    GUIWindowBase& Build(const std::string& name, OrvexEngine::GUIWindow* parent = nullptr) {
        try {
            windows.push_back(std::make_unique<GUIWindowBase>(&keeper, tools.get(), parent, name));
        } catch (const OrvexEngine::FatalError& error) {
            ADD_FAILURE() << name << ": " << error.GetText();
            throw;
        }
        return *windows.back();
    }
    // Frames of the window's update and the engine's drawing, which runs the model animations.
    void Run(GUIWindowBase& window, int frames) {
        OrvexEngine::Image image;
        for (int i = 0; i < frames; ++i) {
            window.Update();
            scene.Frame(image);
        }
    }

    GameTools::DataKeeper keeper{"en"};
    std::vector<std::unique_ptr<GUIWindowBase>> windows;
};

class ShellWindowsRender : public ShellWindowsData {
protected:
    ShellWindowsRender() : ShellWindowsData(800, 600) {}
};

} // namespace

TEST_F(ShellWindowsData, EveryWindowBuildsInBothLanguagesWithWhatTheGameLooksUp) {
    ASSERT_GE(files.GetPackCount(), 1u);
    ASSERT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();
    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        const uint32_t before = log.Mark();
        UseLanguage(language);
        // A description file that does not read is left out with an error line.
        for (const std::string& line : log.Complaints(before))
            ADD_FAILURE() << line;
        for (const WindowLookups& needs : Needs()) {
            SCOPED_TRACE(needs.name);
            const uint32_t mark = log.Mark();
            GUIWindowBase& window = Build(needs.name);
            ExpectLookupsFound(window, needs);
            // Every label of the description finds its text and its font.
            ExpectLabelsResolved(window);
            for (const std::string& line : log.Complaints(mark))
                ADD_FAILURE() << line;
        }
    }
}

TEST_F(ShellWindowsData, TheFadersTheCodeReadsAndTheRowOrder) {
    UseLanguage("en");
    // The in-game menu takes its two entrance delays from these faders.
    GUIWindowBase& menu = Build("window_game_logic_menu");
    EXPECT_EQ(menu.GetControl("window_game_logic_menu/window")->fader, "game_logic_window");
    int inside = 0;
    for (const GUIControl* control : menu.GetControls())
        if (control->GetName().rfind("window_game_logic_menu/window/", 0) == 0) {
            ++inside;
            EXPECT_EQ(control->fader, "game_logic_control") << control->GetName();
        }
    EXPECT_GE(inside, 9);
    // The map icons fade with the play caption.
    GUIWindowBase& map = Build("window_start_game");
    EXPECT_FALSE(map.GetControl("window_start_game/window/button_1/title")->fader.empty());
    // The map file places its icons in a map window of this size.
    EXPECT_EQ(map.GetControl("window_start_game/window")->size, OrvexEngine::Vec2(640, 400));
    // The profiles window fills rows from the top down with the last button first.
    GUIWindowBase& profiles = Build("window_profiles");
    for (int k = 0; k < 8; ++k) {
        const std::string row = "window_profiles/window/text_area/button_profile_";
        EXPECT_GT(profiles.GetControl(row + std::to_string(k + 1))->position.y,
                  profiles.GetControl(row + std::to_string(k))->position.y)
            << k;
    }
    EXPECT_TRUE(log.Complaints(0).empty());
}

// Four groups of windows, one test each: showing and hiding runs the windows' animations frame by frame.
class ShellWindowsShowAndHide : public ShellWindowsData, public testing::WithParamInterface<int> {};

TEST_P(ShellWindowsShowAndHide, EveryWindowComesOnScreenAndGoesAgain) {
    UseLanguage("en");
    const std::vector<WindowLookups> all = Needs();
    for (size_t i = size_t(GetParam()); i < all.size(); i += 4) {
        const WindowLookups& needs = all[i];
        SCOPED_TRACE(needs.name);
        GUIWindowBase& window = Build(needs.name);
        window.Show(true);
        Run(window, 20);
        EXPECT_TRUE(window.IsVisible());
        // A loading window starts its work once its title has printed.
        if (needs.name.find("loading") != std::string::npos) {
            EXPECT_TRUE(window.GetTextControl(needs.name + "/title")->IsPrintingFinished());
        }
        window.Show(false);
        Run(window, 20);
        EXPECT_FALSE(window.IsVisible()) << "some part never finishes hiding";
        for (const GUIControl* control : window.GetControls())
            EXPECT_FALSE(control->IsActive()) << control->GetName();
        windows.clear();
    }
    EXPECT_TRUE(log.Complaints(0).empty());
}

INSTANTIATE_TEST_SUITE_P(Groups, ShellWindowsShowAndHide, testing::Range(0, 4));

TEST_F(ShellWindowsRender, MainMenuOverTheBackgroundAndTheInGameDisplay) {
    // The title font folds to upper case, which for Cyrillic needs the locale the game sets for Russian.
    const std::string savedLocale = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    UseLanguage("ru");
    auto background =
        std::make_unique<GUITools::GUIBackgroundBase>(&keeper, nullptr, "data\\ui\\background\\background.xml");
    background->LoadBasicLayers();
    background->LoadAdditionalLayers();
    background->foregroundWindow->SetOrder(background->foregroundWindow->GetOrder() + 20);
    background->Show(true, false, 1);
    GUIWindowBase& menu = Build("window_main_menu", background->foregroundWindow);
    menu.GetTextControl("window_main_menu/title")->SetVariable(L"PROFILE_NAME", L"Алиса");
    menu.EnableControl("window_main_menu/logo_additional_0", false);
    menu.EnableControl("window_main_menu/logo_additional_1", false);
    menu.Show(true);
    OrvexEngine::Image image;
    for (int i = 0; i < 40; ++i) {
        background->Update();
        menu.Update();
        scene.Frame(image);
    }
    VelmoraTest::SceneRenderFixture::SavePng(image, "shell-main-menu.png");
    // The panel stands in the middle: dark blue inside, between the buttons.
    const uint8_t* panel = VelmoraTest::SceneRenderFixture::Pixel(image, 232, 300);
    EXPECT_LT(panel[0], 90);
    EXPECT_GT(panel[2], panel[0]);

    // Play shows the display over the field, the menu background gone.
    windows.clear();
    background.reset();
    std::setlocale(LC_CTYPE, savedLocale.c_str());
    UseLanguage("en");
    GUIWindowBase& hud = Build("window_game_logic");
    hud.GetTextControl("window_game_logic/life/text")->SetText(L"x 2");
    hud.GetTextControl("window_game_logic/level/text_1")->SetText(L"1-1");
    hud.GetTextControl("window_game_logic/score/text_1")->SetText(L"12340");
    hud.Show(true);
    scene.renderSystem->clearColor = OrvexEngine::Vec4(0.2f, 0.5f, 0.2f, 1);
    for (int i = 0; i < 40; ++i) {
        hud.Update();
        scene.Frame(image);
    }
    VelmoraTest::SceneRenderFixture::SavePng(image, "shell-in-game-display.png");
    // The bar along the top edge, the field's colour below it.
    const uint8_t* bar = VelmoraTest::SceneRenderFixture::Pixel(image, 140, 575);
    EXPECT_LT(bar[1], 100);
    const uint8_t* field = VelmoraTest::SceneRenderFixture::Pixel(image, 400, 300);
    EXPECT_NEAR(field[1], 128, 3);
    EXPECT_TRUE(log.Complaints(0).empty());
}
