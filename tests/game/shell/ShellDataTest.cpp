// ctest-label: gameplay
// The game's level list read from a levels file (environments, geometry file names, ace times, resource
// lists, the fatal missing environment) and the game's sound registrations over a silent sound system
// (order, voices, residency, .wav before .ogg).
#include "game/play/GameLogicData.h"
#include "game/shell/GameSounds.h"
#include "game/shell/LevelManager.h"

#include "engine/core/Error.h"
#include "engine/gui/GUISoundManager.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "framework/AudioPlayer.h"
#include "framework/MusicTrack.h"
#include "tests/engine/graphics/ModelServices.h"
#include "tests/support/SilentSoundSystem.h"

#include <gtest/gtest.h>

using namespace VelmoraBall;

namespace {

void SaveText(const VelmoraTest::DataFolder& data, const std::string& name, const std::string& text) {
    data.Save(name, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace

TEST(GameLevelList, StagesLevelsAndTheirFiles) {
    VelmoraTest::ModelServices services("levellist");
    SaveText(services.data, "levels/levels.xml", R"(<levels>
  <stage environment="Meadow"><level/><level ace_time="95"/><level/></stage>
  <stage environment="dunes"><level ace_time="30"/><level/></stage>
</levels>)");
    LevelManager levels;
    ASSERT_EQ(levels.stages.size(), 2u);
    EXPECT_EQ(static_cast<GameStageInfo*>(levels.stages[0])->environment, "Meadow");
    const struct {
        uint32_t stage, level;
        const char* file;
        int32_t ace;
    } cases[] = {{0, 0, "00_00.vbg", 60},
                 {0, 1, "00_01.vbg", 95},
                 {0, 2, "00_02.vbg", 60},
                 {1, 0, "01_00.vbg", 30},
                 {1, 1, "01_01.vbg", 60}};
    for (const auto& c : cases) {
        const auto* level = static_cast<GameLevelInfo*>(levels.GetLevel({c.stage, c.level}));
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->geometryFile, c.file);
        EXPECT_EQ(level->aceTime, c.ace) << c.file;
    }
    std::vector<std::string> lists;
    levels.GetLevelResources({0, 2}, lists);
    levels.GetLevelResources({1, 0}, lists);
    EXPECT_EQ(lists, (std::vector<std::string>{"data\\environment\\Meadow_resources.xml",
                                               "data\\environment\\dunes_resources.xml"}));
    EXPECT_EQ(TwoDigits(123), "123");
}

TEST(GameLevelList, AStageWithoutEnvironmentStopsTheProgram) {
    VelmoraTest::ModelServices services("levellistbad");
    SaveText(services.data, "levels/levels.xml",
             R"(<levels><stage environment="a"><level/></stage><stage><level/></stage></levels>)");
    try {
        LevelManager levels;
        FAIL() << "loaded";
    } catch (const OrvexEngine::FatalError& error) {
        EXPECT_EQ(error.GetText(), "No \"environment\" attribute in stage description");
    }
    EXPECT_TRUE(services.log.Contains("PROGRAM ABORTING: No \"environment\" attribute in stage description"));
}

TEST(GameSoundList, RegistrationsInTheirOrder) {
    VelmoraTest::ModelServices services("sounds");
    SaveText(services.data, "audio/menu/button_click.wav", "RIFF");
    SaveText(services.data, "audio/menu/button_click.ogg", "OggS");
    SaveText(services.data, "audio/game/hammer.ogg", "OggS");
    EXPECT_EQ(MakeSoundPath("menu", "button_click"), "audio\\menu\\button_click.wav");
    EXPECT_EQ(MakeSoundPath("game", "hammer"), "audio\\game\\hammer.ogg");
    EXPECT_EQ(MakeSoundPath("game", "nowhere"), "audio\\game\\nowhere.ogg");

    VelmoraTest::SilentSystem system;
    OrvexEngine::SoundSystem::Instance(&system);
    auto sounds = std::make_unique<OrvexEngine::SoundManager>();
    OrvexEngine::SoundManager::Instance(sounds.get());
    {
        OrvexEngine::GUISoundManager gui;
        GameFramework::AudioPlayer player(0.285f, 0.315f);
        RegisterGameSounds(gui, player);

        ASSERT_EQ(gui.GetEntries().size(), 12u);
        EXPECT_EQ(gui.GetEntries()[0]->name, "gui_default_button_select");
        EXPECT_EQ(gui.GetEntries()[1]->sound->GetFileName(), "audio\\menu\\button_select_1.ogg");
        EXPECT_EQ(gui.GetEntries()[2]->sound->GetFileName(), "audio\\menu\\button_click.wav");
        EXPECT_EQ(gui.GetEntries()[11]->name, "gui_default_edit_box_print");
        EXPECT_NE(gui.GetEntries()[3]->sound, gui.GetEntries()[0]->sound); // shared files, own sounds

        ASSERT_EQ(player.GetTracks().size(), 2u);
        EXPECT_EQ(player.GetTracks()[1]->GetId(), 1);
        EXPECT_EQ(player.GetTracks()[1]->GetSound()->GetFileName(), "audio\\music\\game0.ogg");

        const std::vector<GameFramework::SoundVoice*>& voices = player.GetVoices();
        ASSERT_EQ(voices.size(), 44u);
        std::vector<int> order;
        for (const GameFramework::SoundVoice* voice : voices)
            if (order.empty() || order.back() != voice->id)
                order.push_back(voice->id);
        std::vector<int> expected = {2, 3, 0, 1, 4};
        for (int id = 5; id <= 30; ++id)
            expected.push_back(id);
        EXPECT_EQ(order, expected);
        EXPECT_TRUE(voices[2]->loop); // the volume slider
        EXPECT_EQ(voices.back()->fileName, "audio\\game\\hammer.ogg");
        EXPECT_EQ(player.GetSoundState(0), OrvexEngine::SoundStopped);
    }
    sounds.reset();
}
