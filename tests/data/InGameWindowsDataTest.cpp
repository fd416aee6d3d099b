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

#include "engine/core/Error.h"
#include "engine/core/MessageManager.h"
#include "engine/files/FileManager.h"
#include "engine/graphics/Image.h"
#include "engine/gui/GUIWindow.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileBase.h"
#include "guitools/GUIButtonControl.h"
#include "guitools/GUICheckBoxControl.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUITextTool.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowControl.h"
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

enum class Kind { Window, Button, CheckBox, Scroll, Text };

// What the code of each window looks up in its description, after the window's name.
struct Lookups {
    const char* window;
    std::vector<std::pair<std::string, Kind>> controls;
};

const std::vector<Lookups>& Table() {
    static const std::vector<Lookups> table = {
        {"window_game_logic",
         {{"", Kind::Window},
          {"/menu", Kind::Button},
          {"/minimize", Kind::Button},
          {"/fullscreen", Kind::CheckBox},
          {"/close", Kind::Button},
          {"/life/text", Kind::Text},
          {"/score/text_1", Kind::Text},
          {"/level/text_1", Kind::Text}}},
        {"window_game_logic_pause",
         {{"/window/button_0", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_game_logic_menu",
         {{"/window", Kind::Window},
          {"/window/sound", Kind::Scroll},
          {"/window/music", Kind::Scroll},
          {"/window/fullscreen", Kind::CheckBox},
          {"/window/button_0", Kind::Button},
          {"/window/button_1", Kind::Button},
          {"/window/button_2", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_game_logic_menu_exit",
         {{"/window/button_0", Kind::Button},
          {"/window/button_1", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_game_logic_restart",
         {{"/window/button_0", Kind::Button},
          {"/window/button_1", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_game_logic_game_exit",
         {{"/window/button_0", Kind::Button},
          {"/window/button_1", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_level_complete",
         {{"/window/your_time", Kind::Text},
          {"/window/ace_time", Kind::Text},
          {"/window/time_bonus", Kind::Text},
          {"/window/time_bonus_static", Kind::Text},
          {"/window/no_time_bonus_static", Kind::Text},
          {"/window/best_time", Kind::Text},
          {"/window/best_time_static_0", Kind::Text},
          {"/window/best_time_static_1", Kind::Text},
          {"/window/button_0", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_game_complete", {{"/window/button_0", Kind::Button}}},
        {"window_game_over",
         {{"/window/button_0", Kind::Button},
          {"/title_mount_animated", Kind::Window},
          {"/title_mount_static", Kind::Window}}},
        {"window_continue_game_logic",
         {{"/window/button_2", Kind::Button},
          {"/window/button_1", Kind::Button},
          {"/window/button_0", Kind::Button},
          {"/window/level", Kind::Text},
          {"/window/score", Kind::Text}}},
    };
    return table;
}

bool HasKind(const GUITools::GUIWindowBase& window, const std::string& name, Kind kind) {
    switch (kind) {
    case Kind::Window:
        return window.GetWindowControl(name) != nullptr;
    case Kind::Button:
        return window.GetButtonControl(name) != nullptr;
    case Kind::CheckBox:
        return window.GetCheckBoxControl(name) != nullptr;
    case Kind::Scroll:
        return window.GetScrollControl(name) != nullptr;
    case Kind::Text:
        return window.GetTextControl(name) != nullptr;
    }
    return false;
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

fs::path BinDir() {
    return fs::path(platform::GetExecutablePath()).parent_path().parent_path() / "bin";
}

// The laid-out data opened as the game opens it, the drawing services on an 800 x 600 window, and the
// game-wide keeper with the GUI and gameplay resources, as after the game's loading.
class InGameWindowsData : public testing::Test {
protected:
    InGameWindowsData() {
        OrvexEngine::FileManager::Instance(&files);
        keeper = std::make_unique<GameData>("en");
        OrvexEngine::SeedRandom(3);
        for (const char* list : {"data\\ui\\background\\resources_basic.xml", "data\\ui\\resources_basic.xml",
                                 "data\\ui\\background\\resources_additional.xml",
                                 "data\\ui\\resources_additional.xml", "data\\game_objects\\resources.xml"}) {
            try {
                keeper->LoadResourceList(list, false);
            } catch (const OrvexEngine::FatalError& error) {
                ADD_FAILURE() << list << ": " << error.GetText();
            }
        }
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
        tools.reset();
        tools = std::make_unique<GUITools::GUIToolManager>(language);
        tools->fontTool->LoadAdditionalFonts();
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
    std::vector<std::string> Complaints(uint32_t mark) {
        std::vector<std::string> lines;
        OrvexEngine::MessageManager& log = testLog.Manager();
        for (uint32_t i = mark; i < log.GetEntryCount(); ++i)
            if (log.GetEntry(i)->type >= OrvexEngine::MessageTypeWarning)
                lines.push_back(log.GetEntry(i)->text);
        return lines;
    }
    uint32_t Mark() { return testLog.Manager().GetEntryCount(); }

    VelmoraTest::TestLog testLog;
    OrvexEngine::FileManager files{BinDir().string(), true, "data", 16u << 20};
    VelmoraTest::SceneRenderFixture scene{800, 600, 800, 600};
    std::unique_ptr<GameData> keeper;
    fs::path userDirectory = fs::path(VelmoraTest::TempDir()) / "ingame-data-user";
    std::unique_ptr<GameFramework::AudioPlayer> audio =
        std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
    std::unique_ptr<LevelManager> levels;
    std::unique_ptr<ProfileManager> profiles;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::vector<std::unique_ptr<GameFramework::GUIFrameworkWindow>> windows;
    GUIGameLogicWindow* hud = nullptr;
    GUILevelCompleteWindow* levelComplete = nullptr;
};

} // namespace

TEST_F(InGameWindowsData, EveryWindowFindsWhatItsCodeLooksUpInBothLanguages) {
    ASSERT_TRUE(Complaints(0).empty()) << Complaints(0).front();
    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        UseLanguage(language);
        const uint32_t mark = Mark();
        BuildAll();
        for (const std::string& line : Complaints(mark))
            ADD_FAILURE() << line;
        // The statistics overlay draws with the console font.
        EXPECT_GE(tools->fontTool->GetFontIndex("console"), 0);
        for (const Lookups& lookups : Table()) {
            SCOPED_TRACE(lookups.window);
            const GUITools::GUIWindowBase* window = Described(lookups.window);
            ASSERT_NE(window, nullptr);
            for (const auto& [path, kind] : lookups.controls)
                EXPECT_TRUE(HasKind(*window, lookups.window + path, kind)) << path;
            for (const GUITools::GUIControl* control : window->GetControls())
                if (const auto* label = dynamic_cast<const GUITools::GUITextControl*>(control)) {
                    EXPECT_EQ(label->text.find(L"UNKNOWN"), std::wstring::npos) << label->GetName();
                    EXPECT_NE(label->font, nullptr) << label->GetName();
                }
        }
        // Every key of the labels has its text in this language's own column: the default texts would
        // silently show English instead.
        GUITools::GUITextTool own(language);
        ASSERT_GE(own.textsNodes.size(), 1u);
        own.textsNodes.resize(1); // texts.xml alone
        size_t checked = 0;
        for (const Lookups& lookups : Table()) {
            for (const GUITools::GUIControl* control : Described(lookups.window)->GetControls()) {
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
        // The holder's name goes into the best-time line through its variable.
        const GUITools::GUITextControl* holder =
            Described("window_level_complete")
                ->GetTextControl("window_level_complete/window/best_time_static_1");
        EXPECT_NE(holder->text.find(L"%PROFILE_NAME%"), std::wstring::npos);
        EXPECT_TRUE(Complaints(mark).empty());
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
    const uint32_t mark = Mark();
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
    for (const std::string& line : Complaints(mark))
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
    const uint32_t mark = Mark();
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
    for (const std::string& line : Complaints(mark))
        ADD_FAILURE() << line;
    levelComplete->Hide();
}
