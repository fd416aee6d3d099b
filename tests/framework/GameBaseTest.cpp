// ctest-label: framework
// The application root's start-up and end: every start-up object made in its order (each hook sees what
// exists by then), the engine built from the root's settings with the game's changes, the folders of the
// settings, the log and the players' files, a start-up that fails part-way deleting exactly what it made,
// and the sound file names.
#include "framework/GameBase.h"

#include "engine/core/Config.h"
#include "engine/core/Console.h"
#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "engine/core/Window.h"
#include "engine/files/FilePaths.h"
#include "engine/gui/GUIManager.h"
#include "framework/AudioPlayer.h"
#include "framework/HighScoresTable.h"
#include "framework/Tutorial.h"
#include "gametools/Sprite2D.h"
#include "gametools/SpriteManager.h"
#include "guitools/GUIToolManager.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/HeadlessGame.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class GameBaseTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        options.gameName =
            std::string("Root ") + testing::UnitTest::GetInstance()->current_test_info()->name();
        options.publisherName = "Aster";
    }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }

    // The company\game folder below the application data, as the disk names it.
    fs::path GameFolder() const {
        return fs::path(OrvexEngine::GetUserDataFolder()) / "Quillfen Games" / options.gameName;
    }

    HeadlessOptions options;
};

TEST_F(GameBaseTest, StartUpMakesEachObjectInItsTurnAndShowsTheLogos) {
    HeadlessGame game(options);
    const std::vector<std::string> expected = {
        "Initialize",
        "FillEngineSettings []",
        "RegisterConsoleVariables [engine textures language]",
        "CreateConsole [engine textures language guitools sprites]",
        "CreateLevelManager [engine textures language guitools sprites audio]",
        "CreateProfileManager [engine textures language guitools sprites audio levels]",
        "CreateDataKeeper [engine textures language guitools sprites audio levels profiles highscores "
        "tutorial]",
        "CreateCursor [engine textures language guitools sprites audio levels profiles highscores tutorial "
        "data]",
        "CreateLogosWindow [engine textures language guitools sprites audio levels profiles highscores "
        "tutorial "
        "data cursor]",
        "CreateLoadingWindow [engine textures language guitools sprites audio levels profiles highscores "
        "tutorial data cursor logos]",
        "OnInitialized [engine textures language guitools sprites audio levels profiles highscores tutorial "
        "data "
        "cursor logos loading]",
        "show logos 1",
    };
    EXPECT_EQ(game.transcript->lines, expected);

    // What the steps leave behind.
    ASSERT_NE(OrvexEngine::Console::Instance(), nullptr);
    EXPECT_FALSE(OrvexEngine::Console::Instance()->IsEnabled());
    EXPECT_EQ(GameTools::SpriteManager::Instance(), game.spriteManager);
    EXPECT_EQ(OrvexEngine::GUIManager::Instance()->GetScreenWidth(), 800.0f);
    EXPECT_EQ(OrvexEngine::GUIManager::Instance()->GetScreenHeight(), 600.0f);
    EXPECT_EQ(game.tutorial->profileManager, game.profileManager);
    EXPECT_FALSE(game.tutorial->active);
    EXPECT_NE(game.guiSoundManager, nullptr);
    EXPECT_EQ(game.fontTool, game.guiToolManager->fontTool);
    EXPECT_EQ(game.textTool, game.guiToolManager->textTool);
    // Only what start-up needs exists; the flow's other windows come after loading.
    EXPECT_EQ(game.mainMenuWindow, nullptr);
    EXPECT_EQ(game.gameLogicLoadingWindow, nullptr);
    EXPECT_EQ(game.gameLogic, nullptr);
}

TEST_F(GameBaseTest, TheEngineGetsTheRootsSettingsWithTheGamesChanges) {
    options.version = 107;
    HeadlessGame game(options);
    const OrvexEngine::EngineStartupParams& params = game.engine->GetParams();
    const std::string companyGame =
        OrvexEngine::GetUserDataFolder() + "\\Quillfen Games\\" + options.gameName;
    EXPECT_EQ(params.title, options.gameName);
    EXPECT_EQ(params.version, 107);
    EXPECT_EQ(params.baseDirectory, game.installationDirectory);
    EXPECT_EQ(params.configName, options.gameName);
    EXPECT_TRUE(params.saveConfigOnExit);
    EXPECT_TRUE(params.usePacks);
    EXPECT_EQ(params.dataDirectory, "data");
    EXPECT_EQ(params.maxMemoryFileSize, 16777216u);
    EXPECT_EQ(params.parentWindow, 0u);
    EXPECT_EQ(params.iconResource, 0u);
    EXPECT_FALSE(params.sound3D);
    EXPECT_FALSE(params.forceDefaultVideoMode);
    EXPECT_FALSE(params.forceDefaultFullscreen);
    EXPECT_FALSE(params.allowOversizedWindow);
    EXPECT_TRUE(params.centerWindow);
    EXPECT_EQ(params.windowPosition, OrvexEngine::Vec2i(0, 0));
    EXPECT_EQ(params.logName, options.gameName);
    EXPECT_FALSE(params.useStencilBuffer);
    EXPECT_TRUE(params.logEnabled);
    EXPECT_FALSE(params.logReopenPerMessage);
    // The game's override changed these two after the framework wrote "1024x768x32" and full screen.
    EXPECT_EQ(params.defaultVideoMode, "640x480x32");
    EXPECT_FALSE(params.defaultFullscreen);
    OrvexEngine::EngineStartupParams framework;
    game.GameBase::FillEngineSettings(framework);
    EXPECT_EQ(framework.defaultVideoMode, "1024x768x32");
    EXPECT_TRUE(framework.defaultFullscreen);

    // The settings and the log are shared by all publishers; the players' files are the publisher's own.
    EXPECT_EQ(params.logDirectory, companyGame);
    EXPECT_EQ(params.configDirectory, companyGame);
    EXPECT_EQ(game.userDataDirectory, companyGame + "\\Aster");
    EXPECT_EQ(game.engine->MakeWindowTitle(), options.gameName + " 1.07");
}

TEST_F(GameBaseTest, TheGamesDefaultVolumesReachTheAudioPlayer) {
    options.defaultMusicVolume = 0.285f;
    options.defaultSoundVolume = 0.315f;
    HeadlessGame game(options);
    EXPECT_FLOAT_EQ(game.audioPlayer->GetDefaultMusicVolume(), 0.285f);
    EXPECT_FLOAT_EQ(game.audioPlayer->GetDefaultSoundVolume(), 0.315f);
    EXPECT_EQ(OrvexEngine::Config::Instance()->GetDefaultText("g_music_volume"), "0.285000");
}

TEST_F(GameBaseTest, TheSettingsFileAndTheLogLieAboveThePublishersFolder) {
    {
        HeadlessGame game(options);
        game.Frame(2);
        OrvexEngine::Config::Instance()->Execute("d_show_statistics 1");
        EXPECT_TRUE(game.showStatistics);
        game.profileManager->GetOrCreateProfile(L"Bob");
    }
    const std::string settings = ReadFileBytes(GameFolder() / (options.gameName + ".ini"));
    EXPECT_NE(settings.find("d_show_statistics 1"), std::string::npos) << settings;
    EXPECT_TRUE(fs::exists(GameFolder() / (options.gameName + ".html")));
    EXPECT_TRUE(fs::exists(GameFolder() / "Aster" / "profiles.pmf"));
    EXPECT_FALSE(fs::exists(GameFolder() / "profiles.pmf"));
    // Nothing of the engine outlives the root.
    EXPECT_EQ(OrvexEngine::Config::Instance(), nullptr);
    EXPECT_EQ(GameTools::SpriteManager::Instance(), nullptr);
}

TEST_F(GameBaseTest, AStartUpThatFailsPartWayDeletesWhatItMadeAndANewRootStartsCleanly) {
    struct Case {
        const char* name;
        std::function<void(HeadlessOptions&)> arrange;
    };
    const Case cases[] = {
        {"no window can be made", [](HeadlessOptions&) { platform::sim::FailCreateWindow(true); }},
        {"the resource list is missing",
         [](HeadlessOptions& o) {
             o.installationDirectory = TempDir() + "/no-resource-list";
             WriteHeadlessData(o.installationDirectory);
             fs::remove(fs::path(o.installationDirectory) / "data/ui/resources_basic.xml");
         }},
        {"the game's own start-up hook fails",
         [](HeadlessOptions& o) {
             o.onInitialized = [](HeadlessGame&) { throw OrvexEngine::Error("hook"); };
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessOptions failing = options;
        c.arrange(failing);
        EXPECT_THROW(HeadlessGame game(failing), OrvexEngine::Error);
        platform::sim::Reset();
        EXPECT_EQ(OrvexEngine::Config::Instance(), nullptr);
        EXPECT_EQ(OrvexEngine::Window::Instance(), nullptr);
        EXPECT_EQ(GameTools::SpriteManager::Instance(), nullptr);
        EXPECT_EQ(OrvexEngine::Console::Instance(), nullptr);
    }
    HeadlessGame game(options);
    game.Frame();
    EXPECT_NE(OrvexEngine::Config::Instance(), nullptr);
}

TEST_F(GameBaseTest, ASoundIsTheWaveFileWhenThereIsOneElseTheOggFile) {
    HeadlessGame game(options);
    EXPECT_EQ(game.MakeSoundPath("music", "menu"), "audio\\music\\menu.ogg");
    WriteFileBytes(fs::path(game.installationDirectory) / "data/audio/music/menu.wav", "RIFF");
    EXPECT_EQ(game.MakeSoundPath("music", "menu"), "audio\\music\\menu.wav");
    EXPECT_EQ(game.MakeSoundPath("effects", "menu"), "audio\\effects\\menu.ogg");
}

TEST_F(GameBaseTest, TheOptionalWindowWhenTheGameHasOneIsUpdatedFirstAndNeverDispatched) {
    options.optionalWindow = true;
    options.autoStartUp = false;
    HeadlessGame game(options);
    game.CreateWindows();
    ASSERT_NE(game.optionalWindow, nullptr);
    game.transcript->recordUpdates = true;
    game.transcript->Clear();
    game.Frame();
    const std::vector<std::string> updates = game.transcript->Matching("update ");
    ASSERT_FALSE(updates.empty());
    EXPECT_EQ(updates.front(), "update optional");
    // A result of the optional window stays: no pass reads or clears it.
    game.optionalWindow->result = 7;
    game.optionalWindow->resultSeen = true;
    game.DispatchWindowResults();
    game.ClearWindowResults();
    EXPECT_EQ(game.optionalWindow->result, 7);
}

} // namespace
