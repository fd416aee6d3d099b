// ctest-label: shell
// The options window and the stage map on the laid-out data, in both languages: every control, text key and
// icon resource the two windows look up is shipped (a table), they build without an error line, the map
// file agrees with the level list, and both windows are drawn over the menu background to PNG.
#include "game/shell/GUIBackground.h"
#include "game/shell/GUIMapElement.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GUIOptionsWindow.h"
#include "game/shell/GUIStartGameLogicWindow.h"
#include "game/shell/GameData.h"
#include "game/shell/LevelManager.h"
#include "game/shell/StageMapFile.h"

#include "engine/graphics/AnimationControl.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/Model.h"
#include "engine/gui/GUIScroll.h"
#include "engine/gui/GUIWindow.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "guitools/GUIScrollControl.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "tests/support/ProfileFixture.h"
#include "tests/support/SceneRenderFixture.h"
#include "tests/support/SilentSoundSystem.h"
#include "tests/support/WindowDataFixture.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VelmoraBall;

namespace {

using VelmoraTest::ControlKind;
using VelmoraTest::WindowLookups;

// What the two windows' code looks up in the shipped data.
const WindowLookups lookups[] = {
    {"window_options",
     {{"/window/sound", ControlKind::Scroll},
      {"/window/music", ControlKind::Scroll},
      {"/window/fullscreen", ControlKind::CheckBox},
      {"/window/video_mode/text", ControlKind::Text},
      {"/window/decrease_video_mode", ControlKind::Button},
      {"/window/increase_video_mode", ControlKind::Button},
      {"/window/button_2", ControlKind::Button},
      {"/window/button_1", ControlKind::Button},
      {"/window/button_0", ControlKind::Button}}},
    {"window_start_game",
     {{"/window", ControlKind::Window},
      {"/title", ControlKind::Text},
      {"/window/button_0", ControlKind::Button},
      {"/window/button_1", ControlKind::Button},
      {"/window/button_1/title", ControlKind::Text}},
     {"start_game/title_select_level", "start_game/title_stage_is_passed"}},
};

// The laid-out data opened as the game opens it, the drawing services, the game-wide keeper with every GUI
// resource, the menu background and manager, a player and the level list.
class MapOptionsData : public VelmoraTest::WindowDataFixture {
protected:
    MapOptionsData() : WindowDataFixture(800, 600) {
        LoadResourceLists(keeper, GuiResourceLists(), true);
        scene.timers.frameTime = 0.05f;
        OrvexEngine::SoundSystem::Instance(&soundSystem);
        sounds = std::make_unique<OrvexEngine::SoundManager>();
        OrvexEngine::SoundManager::Instance(sounds.get());
        userDirectory = (fs::path(VelmoraTest::TempDir()) / "mapoptions").string();
        fs::remove_all(userDirectory);
        audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
        profiles = std::make_unique<VelmoraTest::TestProfileManager>(audio.get(), userDirectory);
        profiles->SelectProfile(profiles->GetOrCreateProfile(L"Player"), true);
        levels = std::make_unique<LevelManager>();
        menus = std::make_unique<GUIMenuWindowManager>(&keeper);
    }
    ~MapOptionsData() override {
        options.reset();
        map.reset();
        background.reset();
        menus.reset();
        tools.reset();
        profiles.reset();
        audio.reset();
        sounds.reset();
    }
    void UseLanguage(const std::string& language) {
        options.reset();
        map.reset();
        menus = std::make_unique<GUIMenuWindowManager>(&keeper);
        UseTools(language);
    }
    OrvexEngine::GUIWindow* Front() {
        if (!background) {
            background = std::make_unique<GUIBackground>(&keeper);
            background->LoadAdditionalLayers();
            background->Show(true, false, 1);
        }
        return background->foregroundWindow;
    }
    void BuildWindows(OrvexEngine::GUIWindow* parent = nullptr) {
        options = std::make_unique<GUIOptionsWindow>(audio.get(), profiles.get(), &keeper, tools.get(),
                                                     menus.get(), parent);
        map = std::make_unique<GUIStartGameLogicWindow>(audio.get(), levels.get(), profiles.get(), &keeper,
                                                        tools.get(), menus.get(), parent);
    }
    // Frames of the game's order: background, the windows' own updates, the menu manager, then drawing.
    void Run(int frames, OrvexEngine::Image& image) {
        for (int i = 0; i < frames; ++i) {
            if (background)
                background->Update();
            if (options)
                options->Update();
            if (map)
                map->Update();
            menus->UpdateWindows();
            scene.Frame(image);
        }
    }

    GameData keeper{"en"};
    std::string userDirectory;
    VelmoraTest::SilentSystem soundSystem;
    std::unique_ptr<OrvexEngine::SoundManager> sounds;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<VelmoraTest::TestProfileManager> profiles;
    std::unique_ptr<LevelManager> levels;
    std::unique_ptr<GUIMenuWindowManager> menus;
    std::unique_ptr<GUIBackground> background;
    std::unique_ptr<GUIOptionsWindow> options;
    std::unique_ptr<GUIStartGameLogicWindow> map;
};

} // namespace

TEST_F(MapOptionsData, EveryControlTextAndIconTheWindowsLookUpIsShipped) {
    ASSERT_GE(files.GetPackCount(), 1u);
    ASSERT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();
    // The icon models and their materials, with the six looks the states show.
    for (const char* name : {"ui/map_start", "ui/map_finish", "ui/map_check_point", "ui/map_path"}) {
        SCOPED_TRACE(name);
        const OrvexEngine::Model* model = keeper.GetModel(name);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->animationControl->frameCount, 6u);
        keeper.GetShaderUser(name);
    }
    EXPECT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();

    // One icon per level, in the order of play.
    const std::vector<StageMapElement> icons = StageMapFile::Read("data\\ui\\map\\map.gmf");
    size_t levelCount = 0;
    for (const auto* stage : levels->levels)
        levelCount += stage->size();
    ASSERT_EQ(icons.size(), levelCount);
    for (const StageMapElement& icon : icons)
        EXPECT_NE(levels->GetLevel({icon.stage, icon.levelIndex}), nullptr)
            << icon.stage << "-" << icon.levelIndex;

    for (const std::string language : {"en", "ru"}) {
        SCOPED_TRACE(language);
        UseLanguage(language);
        const uint32_t mark = log.Mark();
        BuildWindows();
        for (const WindowLookups& lookup : lookups) {
            const GUITools::GUIWindowBase& window =
                lookup.name == "window_options" ? static_cast<GUITools::GUIWindowBase&>(*options) : *map;
            ExpectLookupsFound(window, lookup);
        }
        // The icons fade with the play caption, which needs a fader to have an alpha at all.
        EXPECT_FALSE(map->GetTextControl("window_start_game/window/button_1/title")->fader.empty());
        EXPECT_EQ(map->GetElements().size(), icons.size());
        for (const std::string& line : log.Complaints(mark))
            ADD_FAILURE() << line;
    }
}

TEST_F(MapOptionsData, TheStageMapAndTheOptionsDrawnOverTheBackground) {
    UseLanguage("en");
    BuildWindows(Front());
    GameFramework::ProfileBase* player = profiles->GetCurrentProfile();
    player->furthestPosition = {1, 2};
    player->currentPosition = {1, 1};
    map->Show(GUIStartGameLogicWindow::ModeMainMenu);
    OrvexEngine::Image image;
    // Taken while the path beyond the furthest level is lit.
    for (int i = 0; i < 40 && map->GetAnimationClock() < 0.5f; ++i)
        Run(1, image);
    VelmoraTest::SceneRenderFixture::SavePng(image, "shell-stage-map.png");
    // The reached icons are shown, the selected one of them, and the path toward the next level is lit.
    const std::vector<GUIMapElement*>& elements = map->GetElements();
    ASSERT_GE(elements.size(), 9u);
    EXPECT_EQ(elements[6]->GetState(), GUIMapElement::StateSelected);
    EXPECT_EQ(elements[7]->GetState(), GUIMapElement::StateOpen);
    EXPECT_EQ(elements[8]->GetState(), GUIMapElement::StatePreview);
    EXPECT_GT(map->GetMapFade(), 0.99f);

    map->Hide();
    audio->SetSoundVolume(0.6f);
    options->Show(6);
    Run(40, image);
    VelmoraTest::SceneRenderFixture::SavePng(image, "shell-options.png");
    EXPECT_TRUE(options->GUIMenuWindow::IsVisible());
    EXPECT_EQ(options->GetScrollControl("window_options/window/sound")->scroll->GetPosition(), 600u);
    EXPECT_EQ(audio->GetSoundVolume(), 0.6f);
    EXPECT_EQ(options->GetTextControl("window_options/window/video_mode/text")->text, L"800x600");
    EXPECT_TRUE(log.Complaints(0).empty()) << log.Complaints(0).front();
}
