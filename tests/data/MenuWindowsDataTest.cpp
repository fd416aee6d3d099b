// ctest-label: data
// The logos, loading, main-menu, quit, credits and high-score windows built by their own classes over the
// laid-out data, in both languages: every control the classes look up is there with the kind they need
// (each lookup is made at construction and logs what it misses, so the build must log nothing), every
// text key and font the classes set exists, the main menu's title uses the player-name variable the class
// fills in, and the loading windows have a printing title that loading waits for. The main menu and the
// high-score table are drawn over the menu background to PNG.
#include "engine/graphics/Image.h"
#include "engine/gui/GUIWindow.h"
#include "framework/HighScoresTable.h"
#include "game/shell/GUIBackground.h"
#include "game/shell/GUIExitWindow.h"
#include "game/shell/GUIGameLoadingWindow.h"
#include "game/shell/GUIGameLogicLoadingWindow.h"
#include "game/shell/GUIHelpWindow.h"
#include "game/shell/GUIHighScoresWindow.h"
#include "game/shell/GUILogosWindow.h"
#include "game/shell/GUIMainMenuWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"
#include "game/shell/ProfileManager.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/WindowDataFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VelmoraBall;

namespace {

// The text keys and fonts the classes set themselves, as the classes name them.
const std::vector<std::string> KeysSetByCode = {GUIHighScoresWindow::BackKey,
                                                GUIHighScoresWindow::ContinueKey};
const std::vector<std::string> FontsSetByCode = {
    GUIMainMenuWindow::NormalFont, GUIMainMenuWindow::HighlightedFont, GUIMainMenuWindow::PressedFont,
    GUIHighScoresWindow::RowFont, GUIHighScoresWindow::HighlightFont};

// The laid-out data opened as the game opens it, the drawing services, and the game-wide keeper holding
// every resource of the four GUI lists, as after the game's loading.
class MenuWindowsData : public VelmoraTest::WindowDataFixture {
protected:
    MenuWindowsData() : WindowDataFixture(800, 600) {
        LoadResourceLists(keeper, GuiResourceLists(), true);
        scene.timers.frameTime = 0.1f;
        fs::create_directories(userFolder);
        table = std::make_unique<GameFramework::HighScoresTable>(10, userFolder);
    }
    ~MenuWindowsData() override {
        Clear();
        table.reset();
    }
    void Clear() {
        windows.clear();
        background.reset();
        manager.reset();
        tools.reset();
    }
    // The tools of one language with both font files, the menu background and the manager, as after the
    // game's loading.
    void UseLanguage(const std::string& language) {
        Clear();
        UseTools(language);
        background = std::make_unique<GUIBackground>(&keeper);
        background->LoadAdditionalLayers();
        background->Show(true, false, 1);
        manager = std::make_unique<GUIMenuWindowManager>(&keeper);
    }
    template <class Window> Window* Keep(std::unique_ptr<Window> window) {
        Window* kept = window.get();
        windows.push_back(std::move(window));
        return kept;
    }
    OrvexEngine::GUIWindow* Parent() { return background->foregroundWindow; }
    // Frames in the game's order: the background, the flow's window updates, the manager, the drawing.
    void Run(int frames) {
        for (int i = 0; i < frames; ++i) {
            background->Update();
            for (const auto& window : windows)
                window->Update();
            manager->UpdateWindows();
            scene.Frame(image);
        }
    }

    GameData keeper{"en"};
    std::string userFolder = VelmoraTest::TempDir() + "/menus-user";
    std::unique_ptr<GameFramework::HighScoresTable> table; // made once the file manager stands
    std::unique_ptr<GUIBackground> background;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::vector<std::unique_ptr<GameFramework::GUIFrameworkWindow>> windows;
    OrvexEngine::Image image;
};

} // namespace

TEST_F(MenuWindowsData, TheWindowsFindEverythingTheyLookUpInBothLanguages) {
    ASSERT_GE(files.GetPackCount(), 1u);
    ASSERT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();
    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        UseLanguage(language);
        const uint32_t mark = log.Mark();
        // The splash pictures and the backdrop are shipped: both pictures play.
        GUILogosWindow logos;
        EXPECT_NE(logos.GetSplashOne(), nullptr);
        EXPECT_NE(logos.GetSplashTwo(), nullptr);
        auto* loading = Keep(
            std::make_unique<GUIGameLoadingWindow>(nullptr, &keeper, tools.get(), manager.get(), Parent()));
        auto* levelLoading = Keep(std::make_unique<GUIGameLogicLoadingWindow>(
            nullptr, nullptr, &keeper, tools.get(), manager.get(), Parent()));
        auto* menu = Keep(std::make_unique<GUIMainMenuWindow>(nullptr, nullptr, &keeper, tools.get(),
                                                              manager.get(), Parent()));
        Keep(std::make_unique<GUIExitWindow>(nullptr, &keeper, tools.get(), manager.get(), Parent()));
        Keep(std::make_unique<GUIHelpWindow>(nullptr, &keeper, tools.get(), manager.get(), Parent()));
        auto* scores = Keep(std::make_unique<GUIHighScoresWindow>(nullptr, nullptr, table.get(), &keeper,
                                                                  tools.get(), manager.get(), Parent()));
        for (const std::string& line : log.Complaints(mark))
            ADD_FAILURE() << line;

        ExpectTextKeys(KeysSetByCode);
        ExpectFonts(FontsSetByCode);
        ExpectLabelUses(*menu, "window_main_menu/title", GUIMainMenuWindow::ProfileNameVariable);
        ASSERT_NE(menu->GetWindowControl("window_main_menu/window"), nullptr)
            << "the buttons wait for the panel";
        for (GUIMenuWindow* window :
             {static_cast<GUIMenuWindow*>(loading), static_cast<GUIMenuWindow*>(levelLoading)}) {
            const GUITools::GUITextControl* printed = window->GetTextControl(window->GetName() + "/title");
            ASSERT_NE(printed, nullptr) << window->GetName();
            EXPECT_TRUE(printed->printingMode) << window->GetName();
        }
        // The captions the code sets read as texts, in both forms.
        for (int mode : {6, 24}) {
            scores->Show(mode, nullptr);
            const GUITools::GUITextControl* caption =
                scores->GetTextControl("window_high_scores/window/button_0/title");
            EXPECT_EQ(caption->text.find(L"UNKNOWN"), std::wstring::npos) << mode;
            EXPECT_FALSE(caption->text.empty());
            scores->Hide();
        }
        EXPECT_TRUE(log.Complaints(mark).empty());
    }
}

TEST_F(MenuWindowsData, TheMainMenuAndTheHighScoreTableDrawn) {
    UseLanguage("en");
    ProfileManager profiles(nullptr, userFolder);
    profiles.SelectProfile(profiles.GetOrCreateProfile(L"Alice"), false);
    auto* menu = Keep(std::make_unique<GUIMainMenuWindow>(&profiles, nullptr, &keeper, tools.get(),
                                                          manager.get(), Parent()));
    menu->Show(3);
    Run(40);
    VelmoraTest::SceneRenderFixture::SavePng(image, "menus-main-menu.png");
    EXPECT_TRUE(menu->IsVisible());
    const GUITools::GUITextControl* title = menu->GetTextControl("window_main_menu/title");
    ASSERT_FALSE(title->lines.empty());
    EXPECT_NE(title->lines[0].find(L"Alice"), std::wstring::npos);

    menu->Hide();
    table->AddEntry(L"Alice", 0, 15230);
    table->AddEntry(L"Bob", 0, 9800);
    GameFramework::HighScoreEntry* added = table->AddEntry(L"Carol", 0, 12040);
    table->AddEntry(L"Dave", 0, 700);
    auto* scores = Keep(std::make_unique<GUIHighScoresWindow>(nullptr, nullptr, table.get(), &keeper,
                                                              tools.get(), manager.get(), Parent()));
    scores->Show(24, added);
    Run(60);
    VelmoraTest::SceneRenderFixture::SavePng(image, "menus-high-scores.png");
    ASSERT_TRUE(scores->IsVisible());
    EXPECT_FALSE(menu->GetRootWindow()->visible);
    const GUITools::GUITextControl* second =
        scores->GetTextControl("window_high_scores/window/record_1/name");
    EXPECT_EQ(second->text, L"Carol");
    EXPECT_EQ(second->fontName, "common_1");
    EXPECT_FALSE(scores->GetTextControl("window_high_scores/window/record_4/name")->GetWindow()->visible);
    EXPECT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();
}
