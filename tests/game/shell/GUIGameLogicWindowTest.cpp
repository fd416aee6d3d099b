// ctest-label: shell
// The in-game display over a real level on a small fixture description, frame by frame on the fake clock:
// the spare balls, the total score and the level as texts; the keys and buttons as results and which one
// wins in a frame; where a left click reaches the level; the controls locked while a ball flies and the
// full-screen box writing the settings; the menu windows kept off the screen until the display has faded
// out; the statistics overlay; and a description that lacks its controls.
#include "game/shell/GUIGameLogicWindow.h"

#include "game/play/Ball.h"
#include "game/play/BallManager.h"
#include "game/play/Bat.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/shell/GUIMenuWindow.h"
#include "game/shell/GUIMenuWindowManager.h"
#include "game/shell/GameData.h"
#include "game/shell/LevelManager.h"

#include "engine/core/Controls.h"
#include "engine/core/MessageManager.h"
#include "engine/core/Window.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckBox.h"
#include "engine/math/Random.h"
#include "guitools/GUITextControl.h"
#include "guitools/GUIToolManager.h"
#include "guitools/GUIWindowControl.h"
#include "platform/win/Events.h"
#include "platform/win/WindowSimulation.h"
#include "tests/game/play/PlayTestWorld.h"
#include "tests/support/ProfileFixture.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace OrvexEngine;
using namespace VelmoraBall;
using VelmoraTest::PlayTestWorld;

namespace {

// Keys set by the test instead of read from a device.
class Keys final : public Controls {
public:
    void Press(const std::string& name) {
        keysDown[name] = true;
        keysPressed[name] = true;
    }
    void Release() {
        keysDown.clear();
        keysPressed.clear();
    }
};

// The display's controls on a description without looks; everything fades in and out in a quarter second.
const char* const HudDescription =
    "<window name=\"window_game_logic\" fader=\"quick\">"
    "<window name=\"life\" fader=\"quick\"><text_label name=\"text\" fader=\"quick\"/></window>"
    "<window name=\"level\" fader=\"quick\"><text_label name=\"text_1\" fader=\"quick\"/></window>"
    "<window name=\"score\" fader=\"quick\"><text_label name=\"text_1\" fader=\"quick\"/></window>"
    "<button name=\"menu\" position=\"584 566\" size=\"72 28\" fader=\"quick\"/>"
    "<check_box name=\"fullscreen\" position=\"664 566\" size=\"28 28\" fader=\"quick\"/>"
    "<button name=\"minimize\" position=\"700 566\" size=\"28 28\" fader=\"quick\"/>"
    "<button name=\"close\" position=\"740 566\" size=\"28 28\" fader=\"quick\"/>"
    "</window>";

class GUIGameLogicWindowTest : public testing::Test {
protected:
    GUIGameLogicWindowTest() {
        Config::Instance(&settings);
        settings.RegisterVariable("d_show_statistics", ConfigVariableBool, false, true, &showStatistics, "0",
                                  false);
        Controls::Instance(&keys);
        SeedRandom(5);
        auto keeper = std::make_unique<GameData>("en");
        gameData = keeper.get();
        world.keeper = std::move(keeper);
        gameData->Load(~0u);
        world.AddModel("balls/simple/model", PlayTestWorld::BoxModel({0, 0, 0}, {2.5f, 2.5f, 2.5f}));
        world.AddModel("balls/super/model", PlayTestWorld::BoxModel({0, 0, 0}, {3, 3, 3}));
        world.services.data.Save("environment/field.vbf", VelmoraTest::PlayTestWorld::FieldFile());
        world.Save("game_objects/blocks/plain.xml", "<block/>");
        VbFormats::LevelGeometry geometryFile;
        geometryFile.textures = {""};
        VbFormats::LevelBlock block;
        block.type = "plain";
        block.keyFrames = {{{0, 80, 0}, {0, 0, 0, 1}}};
        geometryFile.blocks.push_back(block);
        world.services.data.Save("levels_geometry/00_00.vbg",
                                 VbFormats::LevelGeometryWriter::Write(geometryFile));
        world.Save(
            "ui/windows/faders.xml",
            "<faders><fader name=\"quick\" type=\"timed\" show_speed=\"4\" hide_speed=\"4\"/></faders>");
        world.Save("ui/windows/window_game_logic.xml", HudDescription);
        world.Save("ui/windows/window_menu.xml", "<window name=\"window_menu\" fader=\"quick\">"
                                                 "<window name=\"window\" fader=\"quick\"/></window>");
        world.Save("ui/windows/window_bare.xml", "<window name=\"window_bare\" fader=\"quick\"/>");
        stage.environment = "nowhere";
        level.geometryFile = "00_00.vbg";
        profiles =
            std::make_unique<VelmoraTest::TestProfileManager>(world.audio.get(), userDirectory.string());
        profiles->SelectProfile(profiles->GetOrCreateProfile(L"Alice"), true);
        manager = std::make_unique<GUIMenuWindowManager>(gameData);
        world.SetCursor(400, 300);
    }
    ~GUIGameLogicWindowTest() override {
        menu.reset();
        hud.reset();
        logic.reset();
        levelData.reset();
        tools.reset();
        manager.reset();
        profiles.reset();
    }

    void Build(const std::string& description = "window_game_logic") {
        // Only the root: every named control is missing.
        if (description != "window_game_logic")
            world.Save("ui/windows/window_game_logic.xml", "<window name=\"window_game_logic\"/>");
        tools = std::make_unique<GUITools::GUIToolManager>("en");
        hud = std::make_unique<GUIGameLogicWindow>(profiles.get(), gameData, tools.get(), manager.get(),
                                                   nullptr);
        menu = std::make_unique<GUIMenuWindow>(world.audio.get(), gameData, tools.get(), manager.get(),
                                               nullptr, "window_menu");
    }
    // The display shown over a new level at the position.
    void Play(uint32_t lives = 3, uint32_t stageIndex = 0, uint32_t levelIndex = 0) {
        if (!hud)
            Build();
        level.stageIndex = stageIndex;
        level.levelIndex = levelIndex;
        stage.stageIndex = stageIndex;
        levelData = std::make_unique<GameLogicData>("en", "00_00.vbg");
        levelData->Load(~0u);
        logic = std::make_unique<GameLogic>(nullptr, profiles.get(), world.audio.get(), gameData,
                                            levelData.get(), tools.get(), &stage, &level, lives);
        hud->Show(16, logic.get());
    }
    // One frame of play as far as the display goes: the level, the display, then the menu windows; the keys
    // and buttons pressed for it are released after it.
    void Frame() {
        world.Frame(20, [&] {
            if (logic)
                logic->Update();
            hud->Update();
            manager->UpdateWindows();
        });
        keys.Release();
        for (GUIButton* button : {Button("/menu"), Button("/minimize"), Button("/close")})
            button->clicked = false;
        Box()->clicked = false;
    }
    // One display update alone, for what it makes of this frame's input.
    int Decide() {
        hud->Update();
        const int result = hud->result;
        keys.Release();
        for (GUIButton* button : {Button("/menu"), Button("/minimize"), Button("/close")})
            button->clicked = false;
        return result;
    }
    GUIButton* Button(const std::string& path) const { return hud->GetButton("window_game_logic" + path); }
    GUICheckBox* Box() const { return hud->GetCheckBox("window_game_logic/fullscreen"); }
    std::wstring Text(const std::string& path) const {
        return hud->GetTextControl("window_game_logic" + path)->text;
    }
    std::string SettingsFile() const {
        std::ifstream in(std::filesystem::path(userDirectory) / "settings.ini");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path userDirectory = std::filesystem::path(VelmoraTest::TempDir()) / "hud-user";
    Config settings{userDirectory.string(), "settings", false, "800x600x32", false, false};
    bool showStatistics = false;
    PlayTestWorld world{"hud"};
    Keys keys;
    GameData* gameData = nullptr; // owned by the world
    GameStageInfo stage;
    GameLevelInfo level;
    std::unique_ptr<VelmoraTest::TestProfileManager> profiles;
    std::unique_ptr<GUIMenuWindowManager> manager;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::unique_ptr<GameLogicData> levelData;
    std::unique_ptr<GameLogic> logic;
    std::unique_ptr<GUIGameLogicWindow> hud;
    std::unique_ptr<GUIMenuWindow> menu;
};

} // namespace

TEST_F(GUIGameLogicWindowTest, SpareBallsTotalScoreAndLevel) {
    const struct {
        uint32_t lives;
        uint32_t stage, level;
        const wchar_t* spare;
        const wchar_t* place;
    } cases[] = {{3, 0, 0, L"x 2", L"1-1"},
                 {1, 1, 2, L"x 0", L"2-3"},
                 {0, 0, 4, L"x 0", L"1-5"},
                 {12, 9, 11, L"x 11", L"10-12"}};
    profiles->GetCurrentProfile()->scoreTotal = 1000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lives);
        Play(c.lives, c.stage, c.level);
        EXPECT_EQ(Text("/level/text_1"), c.place);
        Frame();
        EXPECT_EQ(Text("/life/text"), c.spare);
        EXPECT_EQ(Text("/score/text_1"), L"1000");
        logic->SetScore(234);
        logic->lives = 2;
        Frame();
        EXPECT_EQ(Text("/score/text_1"), L"1234") << "the profile's total and the level's score";
        EXPECT_EQ(Text("/life/text"), L"x 1");
        hud->Hide();
        EXPECT_EQ(hud->GetLevel(), nullptr);
        Frame();
    }
}

TEST_F(GUIGameLogicWindowTest, KeysAndButtonsGiveResultsTheLaterWinning) {
    Play();
    Frame();
    const struct {
        std::vector<std::string> keys;
        std::vector<std::string> buttons;
        int result;
    } cases[] = {
        {{}, {}, 0},
        {{}, {"/close"}, GUIGameLogicWindow::ResultGameExit},
        {{"SPACE"}, {}, GUIGameLogicWindow::ResultPause},
        {{"P"}, {}, GUIGameLogicWindow::ResultPause},
        {{"ESCAPE"}, {}, GUIGameLogicWindow::ResultMenu},
        {{}, {"/menu"}, GUIGameLogicWindow::ResultMenu},
        {{"SPACE", "ESCAPE"}, {}, GUIGameLogicWindow::ResultMenu},
        {{"P"}, {"/close"}, GUIGameLogicWindow::ResultPause},
        {{}, {"/close", "/menu"}, GUIGameLogicWindow::ResultMenu},
        {{"ENTER"}, {"/minimize"}, 0},
    };
    for (bool active : {true, false}) {
        hud->SetActive(active);
        // Only the menu and close buttons follow the active flag.
        EXPECT_EQ(Button("/menu")->state == GUI_BUTTON_DISABLED, !active);
        EXPECT_EQ(Button("/close")->state == GUI_BUTTON_DISABLED, !active);
        EXPECT_NE(Button("/minimize")->state, GUI_BUTTON_DISABLED);
        for (const auto& c : cases) {
            for (const std::string& key : c.keys)
                keys.Press(key);
            for (const std::string& button : c.buttons)
                Button(button)->clicked = true;
            EXPECT_EQ(Decide(), active ? c.result : 0)
                << (active ? "active " : "inactive ") << testing::PrintToString(c.keys) << " "
                << testing::PrintToString(c.buttons);
        }
    }
}

TEST_F(GUIGameLogicWindowTest, ALeftClickReachesTheLevelOnlyOnTheScreenAndNotOverAControl) {
    Play();
    Frame();
    const struct {
        float x, y;
        const char* over; // a control under the mouse, or none
        bool disableFirst;
        bool reaches;
    } cases[] = {
        {400, 300, nullptr, false, true},       {-0.5f, 300, nullptr, false, true},
        {-1, 300, nullptr, false, false},       {800.5f, 300, nullptr, false, true},
        {801, 300, nullptr, false, false},      {400, -1, nullptr, false, false},
        {400, 600.9f, nullptr, false, true},    {400, 300, "/menu", false, false},
        {400, 300, "/close", false, false},     {400, 300, "/minimize", true, false},
        {400, 300, "/fullscreen", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << (c.over ? c.over : ""));
        world.SetCursor(c.x, c.y);
        GUIButton* over = c.over == nullptr                      ? nullptr
                          : std::string(c.over) == "/fullscreen" ? Box()
                                                                 : Button(c.over);
        if (over != nullptr) {
            over->mouseOver = true;
            if (c.disableFirst)
                over->SetEnabled(false);
        }
        logic->click = false;
        keys.Press("MOUSE1");
        Decide();
        EXPECT_EQ(logic->click, c.reaches);
        if (over != nullptr)
            over->mouseOver = false;
        // The display enables the minimise button and the box again while no ball flies.
        Decide();
        if (over != nullptr) {
            EXPECT_NE(over->state, GUI_BUTTON_DISABLED);
        }
    }
    // Without the button going down, or while the display is inactive, nothing reaches the level.
    world.SetCursor(400, 300);
    logic->click = false;
    Decide();
    EXPECT_FALSE(logic->click);
    hud->SetActive(false);
    keys.Press("MOUSE1");
    Decide();
    EXPECT_FALSE(logic->click);
}

TEST_F(GUIGameLogicWindowTest, ControlsLockedWhileABallFliesAndTheFullScreenBoxWritesTheSettings) {
    Play();
    for (int frame = 0; frame < 150; ++frame) // the bat slides in
        Frame();
    ASSERT_TRUE(logic->GetBat()->IsInPlay());
    EXPECT_NE(Button("/minimize")->state, GUI_BUTTON_DISABLED);
    EXPECT_NE(Box()->state, GUI_BUTTON_DISABLED);

    // The box, clicked while the ball is still held: the settings file is written at once and the mode
    // change asked for once.
    EXPECT_TRUE(settings.IsCommandIdle("v_window_change_mode"));
    Box()->checked = true;
    Box()->clicked = true;
    Frame();
    EXPECT_TRUE(settings.GetSettings().vFullscreen);
    EXPECT_NE(SettingsFile().find("v_fullscreen 1"), std::string::npos) << SettingsFile();
    EXPECT_FALSE(settings.IsCommandIdle("v_window_change_mode"));
    settings.SetCommandIdle("v_window_change_mode", true); // the frame driver acts on it
    Frame();
    EXPECT_TRUE(settings.IsCommandIdle("v_window_change_mode")) << "asked for once";

    // A mode change made elsewhere reaches the box while the command is pending.
    settings.GetSettings().vFullscreen = false;
    settings.SetCommandIdle("v_window_change_mode", false);
    Frame();
    EXPECT_FALSE(Box()->checked);
    settings.SetCommandIdle("v_window_change_mode", true);

    // A click launches the held ball: from the next frame on neither the mode nor the window may change.
    keys.Press("MOUSE1");
    Frame();
    EXPECT_TRUE(logic->click) << "the level takes the click in its next update";
    for (int frame = 0; frame < 100 && !logic->IsBallInFlight(); ++frame)
        Frame();
    ASSERT_TRUE(logic->IsBallInFlight());
    Frame();
    EXPECT_EQ(Button("/minimize")->state, GUI_BUTTON_DISABLED);
    EXPECT_EQ(Box()->state, GUI_BUTTON_DISABLED);
    EXPECT_NE(Button("/menu")->state, GUI_BUTTON_DISABLED);
}

TEST_F(GUIGameLogicWindowTest, MenuWindowsWaitUntilTheDisplayHasFadedOut) {
    Play();
    for (int frame = 0; frame < 15; ++frame)
        Frame();
    GUITools::GUIWindowControl* root = hud->GetWindowControl("window_game_logic");
    ASSERT_NE(root, nullptr);
    ASSERT_TRUE(root->IsActive());

    // Leaving the level: the display hides and the next menu window is asked for in the same frame.
    hud->Hide();
    menu->Show(true);
    EXPECT_FALSE(manager->IsFree());
    EXPECT_EQ(manager->GetActiveWindow(), nullptr);
    int frames = 0;
    while (!menu->IsVisible() && frames < 50) {
        Frame();
        ++frames;
        if (menu->IsVisible()) {
            EXPECT_FALSE(root->IsActive()) << "a menu window came on while the display was still there";
        } else {
            EXPECT_TRUE(root->IsActive()) << "the menu comes on in the frame the display has gone";
        }
    }
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_GE(frames, 10) << "the display takes a quarter second to fade out";
    EXPECT_FALSE(root->IsActive());
    EXPECT_EQ(manager->GetActiveWindow(), menu.get());

    // Hiding the display while a menu window is still fading out takes the manager from it at once.
    menu->Show(false);
    Play();
    hud->Hide();
    EXPECT_FALSE(manager->IsFree());
    EXPECT_EQ(manager->GetActiveWindow(), nullptr);
    for (int frame = 0; frame < 30; ++frame)
        Frame();
    EXPECT_TRUE(manager->IsFree());
}

TEST_F(GUIGameLogicWindowTest, StatisticsLinesOnlyWhenAsked) {
    Play();
    Frame();
    GUIWindow* statistics = hud->GetStatisticsWindow();
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->GetOrder(), 20);
    uint32_t before = statistics->GetTextCount();
    Frame();
    EXPECT_EQ(statistics->GetTextCount(), before) << "d_show_statistics 0 queues nothing";

    settings.SetValue("d_show_statistics", "1");
    hud->SetActive(false); // also over a paused level
    before = statistics->GetTextCount();
    hud->Update();
    ASSERT_EQ(statistics->GetTextCount(), before + 7);
    const float heights[] = {512, 497, 482, 467, 33, 18, 3};
    const wchar_t* starts[] = {L"FPS: ",        L"Model count: ",     L"Triangle count: ", L"Time: ",
                               L"Camera FOV: ", L"Camera position: ", L"Camera rotation: "};
    for (uint32_t i = 0; i < 7; ++i) {
        const GUIQueuedText& line = statistics->GetQueuedText(before + i);
        EXPECT_FLOAT_EQ(line.position.x, 8);
        EXPECT_FLOAT_EQ(line.position.y, heights[i]);
        EXPECT_EQ(line.text.rfind(starts[i], 0), 0u) << i;
        EXPECT_EQ(line.color, Vec4(1, 1, 1, 1));
        EXPECT_EQ(line.mode, 0);
    }
    EXPECT_EQ(statistics->GetQueuedText(before + 3).text, L"Time: 0.0");
}

TEST_F(GUIGameLogicWindowTest, ADescriptionWithoutItsControlsLogsThemAndStillWorks) {
    const uint32_t mark = world.services.log.Manager().GetEntryCount();
    Build("bare");
    uint32_t errors = 0;
    for (uint32_t i = mark; i < world.services.log.Manager().GetEntryCount(); ++i) {
        const LogEntry* entry = world.services.log.Manager().GetEntry(i);
        errors += entry->type == MessageTypeError &&
                  entry->text.find("Unknown \"window_game_logic/") != std::string::npos;
    }
    EXPECT_EQ(errors, 7u) << "each missing control is reported once";
    Play();
    profiles->GetCurrentProfile()->scoreTotal = 50;
    Frame();
    keys.Press("ESCAPE");
    keys.Press("MOUSE1");
    EXPECT_EQ(Decide(), GUIGameLogicWindow::ResultMenu);
    EXPECT_TRUE(logic->click);
    hud->Hide();
    for (int frame = 0; frame < 30; ++frame)
        Frame();
    EXPECT_TRUE(manager->IsFree()) << "the hold ends once the bare display has gone";
}

TEST_F(GUIGameLogicWindowTest, TheMinimiseButtonMinimisesTheMainWindowAlsoWhileInactive) {
    platform::sim::Reset();
    platform::sim::SetDesktopMode(1024, 768);
    auto window = std::make_unique<Window>("hud", 0, 0, 800, 600, false, true, Vec2i());
    Window::Instance(window.get());
    Play();
    Frame();
    hud->SetActive(false); // a pause window over the level keeps the last enabled state
    Button("/minimize")->clicked = true;
    Decide();
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message)) {
        platform::TranslateWindowMessage(message);
        platform::DispatchWindowMessage(message);
    }
    EXPECT_TRUE(window->minimized);
    window.reset();
    platform::sim::Reset();
}
