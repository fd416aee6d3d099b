// ctest-label: shell
// The in-game and end-of-level windows over the laid-out data: each of the game's classes builds from its
// shipped description in both languages without an error line (so every control it looks up is there), the
// controls and fonts the code reads are of the kind it needs (a table), and every label's text key resolves.
// Then two pictures for a person to look at (test-output): the in-game display over the first level as it
// starts, and the level-complete window once its time bonus has been counted up.
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/shell/GUIBackground.h"
#include "game/shell/GUIContinueGameLogicWindow.h"
#include "game/shell/GUIGameCompleteWindow.h"
#include "game/shell/GUIGameLogicGameExitWindow.h"
#include "game/shell/GUIGameLogicMenuExitWindow.h"
#include "game/shell/GUIGameLogicMenuWindow.h"
#include "game/shell/GUIGameLogicPauseWindow.h"
#include "game/shell/GUIGameLogicRestartWindow.h"
#include "game/shell/GUIGameLogicWindow.h"
#include "game/shell/GUIGameOverWindow.h"
#include "game/shell/GUILevelCompleteWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"
#include "game/shell/LevelManager.h"
#include "game/shell/ProfileManager.h"

#include "engine/graphics/Image.h"
#include "engine/gui/GUIWindow.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileBase.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUITextTool.h"
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

using VelmoraTest::ControlKind;
using VelmoraTest::WindowLookups;

// What the code of each window looks up in its description. The statistics overlay of the in-game display
// draws with the console font; the holder's name goes into the best-time line through its variable.
const std::vector<WindowLookups>& Table() {
    static const std::vector<WindowLookups> table = {
        {"window_game_logic",
         {{"", ControlKind::Window},
          {"/menu", ControlKind::Button},
          {"/minimize", ControlKind::Button},
          {"/fullscreen", ControlKind::CheckBox},
          {"/close", ControlKind::Button},
          {"/life/text", ControlKind::Text},
          {"/score/text_1", ControlKind::Text},
          {"/level/text_1", ControlKind::Text}},
         {},
         {"console"}},
        {"window_game_logic_pause",
         {{"/window/button_0", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}}},
        {"window_game_logic_menu",
         {{"/window", ControlKind::Window},
          {"/window/sound", ControlKind::Scroll},
          {"/window/music", ControlKind::Scroll},
          {"/window/fullscreen", ControlKind::CheckBox},
          {"/window/button_0", ControlKind::Button},
          {"/window/button_1", ControlKind::Button},
          {"/window/button_2", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}}},
        {"window_game_logic_menu_exit",
         {{"/window/button_0", ControlKind::Button},
          {"/window/button_1", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}}},
        {"window_game_logic_restart",
         {{"/window/button_0", ControlKind::Button},
          {"/window/button_1", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}}},
        {"window_game_logic_game_exit",
         {{"/window/button_0", ControlKind::Button},
          {"/window/button_1", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}}},
        {"window_level_complete",
         {{"/window/your_time", ControlKind::Text},
          {"/window/ace_time", ControlKind::Text},
          {"/window/time_bonus", ControlKind::Text},
          {"/window/time_bonus_static", ControlKind::Text},
          {"/window/no_time_bonus_static", ControlKind::Text},
          {"/window/best_time", ControlKind::Text},
          {"/window/best_time_static_0", ControlKind::Text},
          {"/window/best_time_static_1", ControlKind::Text},
          {"/window/button_0", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}},
         {},
         {},
         {"/window/best_time_static_1"}},
        {"window_game_complete", {{"/window/button_0", ControlKind::Button}}},
        {"window_game_over",
         {{"/window/button_0", ControlKind::Button},
          {"/title_mount_animated", ControlKind::Window},
          {"/title_mount_static", ControlKind::Window}}},
        {"window_continue_game_logic",
         {{"/window/button_2", ControlKind::Button},
          {"/window/button_1", ControlKind::Button},
          {"/window/button_0", ControlKind::Button},
          {"/window/level", ControlKind::Text},
          {"/window/score", ControlKind::Text}}},
    };
    return table;
}

// The text keys of a label's expression: parts joined by "+", quoted literals left out, case prefixes
// ("[u]") taken off.
std::vector<std::string> TextKeys(const std::string& expression) {
    std::vector<std::string> keys;
    size_t start = 0;
    while (start <= expression.size()) {
        size_t end = expression.find('+', start);
        if (end == std::string::npos)
            end = expression.size();
        std::string part = expression.substr(start, end - start);
        if (!part.empty() && part.front() == '[' && part.find(']') != std::string::npos)
            part = part.substr(part.find(']') + 1);
        if (!part.empty() && part.front() != '\'')
            keys.push_back(part);
        start = end + 1;
    }
    return keys;
}

// The laid-out data opened as the game opens it, the drawing services on an 800 x 600 window, and the
// game-wide keeper with the GUI and gameplay resources, as after the game's loading.
class InGameWindowsData : public VelmoraTest::WindowDataFixture {
protected:
    InGameWindowsData() : WindowDataFixture(800, 600) {
        keeper = std::make_unique<GameData>("en");
        OrvexEngine::SeedRandom(3);
        std::vector<std::string> lists = GuiResourceLists();
        lists.push_back("data\\game_objects\\resources.xml");
        LoadResourceLists(*keeper, lists, false);
        keeper->LoadAll();
        scene.timers.frameTime = 0.05f;
        manager = std::make_unique<GUIMenuWindowManager>(keeper.get());
        levels = std::make_unique<LevelManager>();
        std::filesystem::remove_all(userDirectory);
        profiles = std::make_unique<ProfileManager>(audio.get(), userDirectory.string());
    }
    ~InGameWindowsData() override {
        windows.clear();
        tools.reset();
        manager.reset();
        profiles.reset();
        levels.reset();
        audio.reset();
        keeper.reset();
    }

    void UseLanguage(const std::string& language) {
        windows.clear();
        UseTools(language);
    }
    template <class W> W* Keep(std::unique_ptr<W> window) {
        W* raw = window.get();
        windows.push_back(std::move(window));
        return raw;
    }
    // Every window of the table, made as the game's factories make them.
    void BuildAll(OrvexEngine::GUIWindow* parent = nullptr) {
        GameFramework::AudioPlayer* a = audio.get();
        GUIMenuWindowManager* m = manager.get();
        GUITools::GUIToolManager* t = tools.get();
        GameFramework::ProfileManagerBase* p = profiles.get();
        hud = Keep(std::make_unique<GUIGameLogicWindow>(p, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameLogicPauseWindow>(a, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameLogicMenuWindow>(a, p, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameLogicMenuExitWindow>(a, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameLogicRestartWindow>(a, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameLogicGameExitWindow>(a, keeper.get(), t, m, parent));
        levelComplete =
            Keep(std::make_unique<GUILevelCompleteWindow>(a, levels.get(), p, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameCompleteWindow>(a, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIGameOverWindow>(a, keeper.get(), t, m, parent));
        Keep(std::make_unique<GUIContinueGameLogicWindow>(a, p, keeper.get(), t, m, parent));
    }
    GUITools::GUIWindowBase* Described(const std::string& name) const {
        for (const auto& window : windows)
            if (auto* described = dynamic_cast<GUITools::GUIWindowBase*>(window.get()))
                if (described->GetName() == name)
                    return described;
        return nullptr;
    }

    std::unique_ptr<GameData> keeper;
    fs::path userDirectory = fs::path(VelmoraTest::TempDir()) / "ingame-data-user";
    std::unique_ptr<GameFramework::AudioPlayer> audio =
        std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
    std::unique_ptr<LevelManager> levels;
    std::unique_ptr<ProfileManager> profiles;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::vector<std::unique_ptr<GameFramework::GUIFrameworkWindow>> windows;
    GUIGameLogicWindow* hud = nullptr;
    GUILevelCompleteWindow* levelComplete = nullptr;
};

} // namespace

TEST_F(InGameWindowsData, EveryWindowFindsWhatItsCodeLooksUpInBothLanguages) {
    ASSERT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();
    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        UseLanguage(language);
        const uint32_t mark = log.Mark();
        BuildAll();
        for (const std::string& line : log.Complaints(mark))
            ADD_FAILURE() << line;
        for (const WindowLookups& lookups : Table()) {
            SCOPED_TRACE(lookups.name);
            const GUITools::GUIWindowBase* window = Described(lookups.name);
            ASSERT_NE(window, nullptr);
            ExpectLookupsFound(*window, lookups);
            ExpectLabelsResolved(*window);
        }
        // Every key of the labels has its text in this language's own column: the default texts would
        // silently show English instead.
        GUITools::GUITextTool own(language);
        ASSERT_GE(own.textsNodes.size(), 1u);
        own.textsNodes.resize(1); // texts.xml alone
        size_t checked = 0;
        for (const WindowLookups& lookups : Table()) {
            for (const GUITools::GUIControl* control : Described(lookups.name)->GetControls()) {
                const auto* label = dynamic_cast<const GUITools::GUITextControl*>(control);
                if (label == nullptr)
                    continue;
                for (const std::string& key : TextKeys(label->textExpression)) {
                    EXPECT_NE(own.GetText(key), L"UNKNOWN") << label->GetName() << ": " << key;
                    ++checked;
                }
            }
        }
        EXPECT_GE(checked, 40u);
        EXPECT_TRUE(log.Complaints(mark).empty());
    }
}

TEST_F(InGameWindowsData, TheDisplayOverTheFirstLevel) {
    UseLanguage("en");
    BuildAll();
    GameFramework::ProfileBase* player = profiles->GetOrCreateProfile(L"Alice");
    profiles->SelectProfile(player, true);
    player->scoreTotal = 12340;
    auto* stage = static_cast<GameStageInfo*>(levels->GetStage(0));
    auto* first = static_cast<GameLevelInfo*>(levels->GetLevel({0, 0}));
    ASSERT_NE(first, nullptr);
    auto levelData = std::make_unique<GameLogicData>("en", first->geometryFile);
    std::vector<std::string> lists;
    levels->GetLevelResources({0, 0}, lists);
    for (const std::string& list : lists)
        levelData->LoadResourceList(list, false);
    levelData->LoadAll();
    const uint32_t mark = log.Mark();
    auto logic = std::make_unique<GameLogic>(nullptr, profiles.get(), audio.get(), keeper.get(),
                                             levelData.get(), tools.get(), stage, first, 3);
    hud->Show(16, logic.get());
    OrvexEngine::Image image;
    for (int frame = 0; frame < 60; ++frame) {
        logic->Update();
        for (const auto& window : windows)
            window->Update();
        manager->UpdateWindows();
        scene.Frame(image);
    }
    VelmoraTest::SceneRenderFixture::SavePng(image, "shell-hud-over-level.png");
    // The dark bar along the top edge, the green field below it.
    const uint8_t* bar = VelmoraTest::SceneRenderFixture::Pixel(image, 560, 582);
    EXPECT_LT(bar[0], 100);
    EXPECT_GT(bar[2], bar[0]);
    const uint8_t* field = VelmoraTest::SceneRenderFixture::Pixel(image, 400, 250);
    EXPECT_GT(field[1], field[0]);
    EXPECT_GT(field[1], field[2]);
    const auto text = [&](const std::string& path) {
        return hud->GetTextControl("window_game_logic" + path)->text;
    };
    EXPECT_EQ(text("/life/text"), L"x 2");
    EXPECT_EQ(text("/level/text_1"), L"1-1");
    EXPECT_EQ(text("/score/text_1"), L"12340");
    for (const std::string& line : log.Complaints(mark))
        ADD_FAILURE() << line;
    hud->Hide();
    logic.reset();
}

TEST_F(InGameWindowsData, LevelCompleteOverTheMenuBackground) {
    UseLanguage("en");
    auto background = std::make_unique<GUIBackground>(keeper.get());
    background->LoadAdditionalLayers();
    background->Show(true, false, 1);
    BuildAll(background->foregroundWindow);
    GameFramework::ProfileBase* player = profiles->GetOrCreateProfile(L"Alice");
    profiles->SelectProfile(player, true);
    player->scoreTotal = 5000;
    // The first level's ace time is 45 s: 38.6 s earns 7 seconds, 140 points.
    profiles->SubmitBestResult({0, 0}, L"Bob", 0, 36.1f);
    profiles->SubmitBestResult({0, 0}, player->name, 0, 38.6f);
    const uint32_t mark = log.Mark();
    levelComplete->Show(17, {0, 0}, 38.6f);
    OrvexEngine::Image image;
    for (int frame = 0; frame < 80; ++frame) {
        background->Update();
        for (const auto& window : windows)
            window->Update();
        manager->UpdateWindows();
        scene.Frame(image);
    }
    VelmoraTest::SceneRenderFixture::SavePng(image, "shell-level-complete.png");
    // The panel stands in the middle: dark blue inside, between the lines.
    const uint8_t* panel = VelmoraTest::SceneRenderFixture::Pixel(image, 400, 338);
    EXPECT_LT(panel[0], 90);
    EXPECT_GT(panel[2], panel[0]);
    EXPECT_EQ(levelComplete->GetBonusCounted(), 140u);
    EXPECT_EQ(player->scoreTotal, 5140u);
    const auto text = [&](const std::string& path) {
        return levelComplete->GetTextControl("window_level_complete/window/" + path)->text;
    };
    EXPECT_EQ(text("your_time"), L"0:38");
    EXPECT_EQ(text("ace_time"), L"0:45");
    EXPECT_EQ(text("best_time"), L"0:36");
    EXPECT_EQ(text("time_bonus"), L"140");
    for (const std::string& line : log.Complaints(mark))
        ADD_FAILURE() << line;
    levelComplete->Hide();
}
