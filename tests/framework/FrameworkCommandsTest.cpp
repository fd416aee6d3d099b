// ctest-label: framework
// The framework's console variables and commands as a console line triggers them: each command acts once
// in the next frame and is re-armed, the diagnostics write their lines, the map commands change and save
// the current player's profile (and nothing without one), and the statistics switch is saved.
#include "framework/GameBase.h"

#include "engine/core/Config.h"
#include "engine/core/MessageManager.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ShaderManager.h"
#include "engine/graphics/TextureManager.h"
#include "engine/sound/SoundManager.h"
#include "framework/ProfileManagerBase.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/HeadlessGame.h"
#include "tests/support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>

using namespace GameFramework;
using namespace VelmoraTest;
namespace fs = std::filesystem;

namespace {

class FrameworkCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        platform::InstallFakeClock();
        platform::D3DTest::Reset();
        platform::sim::Reset();
        options.gameName =
            std::string("Commands ") + testing::UnitTest::GetInstance()->current_test_info()->name();
        options.autoStartUp = false;
    }
    void TearDown() override {
        platform::RemoveFakeClock();
        platform::sim::Reset();
    }

    // Triggers the command as a console line does and runs the frame that carries it out; the frame's log
    // lines are read before the next frame discards them.
    static std::vector<std::string> RunCommand(HeadlessGame& game, const std::string& line) {
        EXPECT_EQ(OrvexEngine::Config::Instance()->Execute(line), OrvexEngine::ConfigExecuteDone) << line;
        game.Frame();
        std::vector<std::string> texts;
        OrvexEngine::MessageManager* log = OrvexEngine::Log();
        for (uint32_t i = 0; i < log->GetEntryCount(); ++i) {
            std::string text = log->GetEntry(i)->text;
            while (!text.empty() && text.back() == '\n')
                text.pop_back();
            texts.push_back(text);
        }
        if (line.find(' ') == std::string::npos) {
            EXPECT_TRUE(OrvexEngine::Config::Instance()->IsCommandIdle(line));
        }
        return texts;
    }

    // A current profile saved at the given place of the game.
    static ProfileBase* MakeCurrentProfile(HeadlessGame& game, LevelPosition current,
                                           LevelPosition furthest) {
        ProfileBase* profile = game.profileManager->GetOrCreateProfile(L"Bob");
        game.profileManager->SelectProfile(profile, true);
        profile->RecordProgress(furthest, false);
        profile->currentPosition = current;
        profile->lives = 1;
        profile->scoreTotal = 4200;
        profile->gameInProgress = true;
        profile->Save();
        return profile;
    }

    // The profile as its file holds it.
    static std::unique_ptr<TestProfile> Reload(HeadlessGame& game, const ProfileBase* profile) {
        auto copy = std::make_unique<TestProfile>(game.userDataDirectory);
        copy->Load(profile->GetFileName());
        return copy;
    }

    HeadlessOptions options;
};

TEST_F(FrameworkCommandsTest, TheVariablesAreRegisteredWithTheirKindsAndTheStatisticsSwitchIsSaved) {
    {
        HeadlessGame game(options);
        OrvexEngine::Config* config = OrvexEngine::Config::Instance();
        for (const char* command :
             {"d_get_used_video_memory_size", "d_get_manages_occupation", "d_get_loaded_textures",
              "g_update_video_mode", "g_open_map", "g_reset_map", "g_disable_cheats"}) {
            SCOPED_TRACE(command);
            EXPECT_TRUE(config->IsCommandIdle(command));
            EXPECT_EQ(config->GetDefaultText(command), "");
        }
        EXPECT_EQ(config->GetDefaultText("d_show_statistics"), "0");
        EXPECT_FALSE(game.showStatistics);
        RunCommand(game, "d_show_statistics 1");
        EXPECT_TRUE(game.showStatistics);
    }
    const fs::path settings =
        fs::path(getenv("XDG_DATA_HOME")) / "Quillfen Games" / options.gameName / (options.gameName + ".ini");
    EXPECT_NE(ReadFileBytes(settings).find("d_show_statistics 1"), std::string::npos);
}

TEST_F(FrameworkCommandsTest, TheDiagnosticsReportTheEnginesCounts) {
    HeadlessGame game(options);
    game.Frame();

    const std::vector<std::string> memory = RunCommand(game, "d_get_used_video_memory_size");
    char expected[64];
    std::snprintf(expected, sizeof(expected), "Video Memory Used: %.2f Mb",
                  game.textureManager->GetUsedVideoMemory() / 1048576.0);
    EXPECT_EQ(memory, std::vector<std::string>{expected});
    EXPECT_TRUE(std::regex_match(memory.at(0), std::regex("Video Memory Used: [0-9]+\\.[0-9]{2} Mb")));

    const std::vector<std::string> counts = RunCommand(game, "d_get_manages_occupation");
    const OrvexEngine::ShaderManager* shaders = OrvexEngine::ShaderManager::Instance();
    const OrvexEngine::SoundManager* sounds = OrvexEngine::SoundManager::Instance();
    const std::vector<std::string> expectedCounts = {
        "Shader users count: " + std::to_string(shaders->GetShaderUserCount()),
        "Shaders count: " + std::to_string(shaders->GetShaderCount()),
        "Textures count: " + std::to_string(game.textureManager->GetTextureCount()),
        "Models count: " + std::to_string(OrvexEngine::ModelManager::Instance()->GetModels().size()),
        "Sounds count: " + std::to_string(sounds != nullptr ? sounds->GetSoundCount() : 0u),
    };
    EXPECT_EQ(counts, expectedCounts);

    const std::vector<std::string> textures = RunCommand(game, "d_get_loaded_textures");
    EXPECT_EQ(textures.size(), game.textureManager->GetTextureCount());
    for (size_t i = 0; i < textures.size(); ++i)
        EXPECT_TRUE(std::regex_match(
            textures[i], std::regex("Texture " + std::to_string(i) + ": .* \\(used memory: [0-9]+\\)")))
            << textures[i];

    // Each acts once: the next frame writes nothing of them.
    game.Frame();
    EXPECT_EQ(OrvexEngine::Log()->GetEntryCount(), 0u);
}

TEST_F(FrameworkCommandsTest, OpenMapOpensEveryLevelAndStartsAtTheFirst) {
    HeadlessGame game(options);
    ProfileBase* profile = MakeCurrentProfile(game, {1, 0}, {0, 2});
    RunCommand(game, "g_open_map");
    // Two stages of three and two levels: the last is (1, 1).
    EXPECT_EQ(profile->furthestPosition, (LevelPosition{1, 1}));
    EXPECT_EQ(profile->currentPosition, (LevelPosition{0, 0}));
    const auto saved = Reload(game, profile);
    EXPECT_EQ(saved->furthestPosition, (LevelPosition{1, 1}));
    EXPECT_EQ(saved->currentPosition, (LevelPosition{0, 0}));
    EXPECT_FALSE(saved->IsCompleted());

    // Already open: only the current position changes.
    profile->currentPosition = {1, 1};
    profile->Save();
    RunCommand(game, "g_open_map");
    EXPECT_EQ(Reload(game, profile)->furthestPosition, (LevelPosition{1, 1}));
    EXPECT_EQ(Reload(game, profile)->currentPosition, (LevelPosition{0, 0}));
}

TEST_F(FrameworkCommandsTest, OpenMapStaysInsideALevelListWhoseLastStageIsEmpty) {
    options.installationDirectory = TempDir() + "/commands-empty-stage";
    WriteHeadlessData(options.installationDirectory);
    WriteFileBytes(fs::path(options.installationDirectory) / "data/levels/levels.xml",
                   "<levels><stage><a/><b/></stage><stage/></levels>");
    HeadlessGame game(options);
    ProfileBase* profile = MakeCurrentProfile(game, {0, 1}, {0, 0});
    RunCommand(game, "g_open_map");
    EXPECT_EQ(profile->furthestPosition, (LevelPosition{0, 1}));
    EXPECT_EQ(profile->currentPosition, (LevelPosition{0, 0}));
}

TEST_F(FrameworkCommandsTest, ResetMapStartsANewGameAndKeepsTheOpenedLevels) {
    HeadlessGame game(options);
    ProfileBase* profile = MakeCurrentProfile(game, {1, 1}, {1, 1});
    RunCommand(game, "g_reset_map");
    const auto saved = Reload(game, profile);
    EXPECT_EQ(saved->lives, 3u);
    EXPECT_EQ(saved->scoreTotal, 0u);
    EXPECT_EQ(saved->currentPosition, (LevelPosition{0, 0}));
    EXPECT_FALSE(saved->gameInProgress);
    EXPECT_EQ(saved->furthestPosition, (LevelPosition{1, 1}));
}

TEST_F(FrameworkCommandsTest, TheMapCommandsDoNothingWithoutACurrentProfile) {
    HeadlessGame game(options);
    ASSERT_EQ(game.profileManager->GetCurrentProfile(), nullptr);
    RunCommand(game, "g_open_map");
    RunCommand(game, "g_reset_map");
    EXPECT_TRUE(game.profileManager->GetProfiles().empty());
    EXPECT_EQ(game.profileManager->GetCurrentProfile(), nullptr);
}

} // namespace
