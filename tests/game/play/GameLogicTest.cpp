// ctest-label: gameplay
// The level in play on a small fixture level (two bricks far up the field) frame by frame on the fake
// clock: what a new level starts with, where a click goes, losing a life and the end of the game, the
// completion 0.3 s after the last counted block, catching a bonus with its text, score and sound, the
// bonuses' effects, the cheat keys and the pause fade.
#include "game/play/GameLogic.h"

#include "game/play/Ball.h"
#include "game/play/BallManager.h"
#include "game/play/Barrier.h"
#include "game/play/Bat.h"
#include "game/play/Block.h"
#include "game/play/Bonus.h"
#include "game/play/BonusManager.h"
#include "game/play/GUIGameLogicText.h"
#include "game/play/GUIGameLogicTextManager.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Gun.h"
#include "game/play/Hammer.h"
#include "game/shell/GameData.h"
#include "game/shell/LevelManager.h"

#include "engine/core/Timer.h"
#include "engine/math/Random.h"
#include "framework/ScoreKeeper.h"
#include "gametools/GameCamera.h"
#include "guitools/GUIToolManager.h"
#include "tests/game/play/PlayTestWorld.h"
#include "tools/formats/LevelGeometryWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace OrvexEngine;
using namespace VelmoraBall;
using GameFramework::GameLogicBase;
using VelmoraTest::PlayTestWorld;

namespace {

class Level : public testing::Test {
protected:
    Level() {
        SeedRandom(5);
        // The game's own keeper, with its window for in-game overlays.
        auto keeper = std::make_unique<GameData>("en");
        gameData = keeper.get();
        world.keeper = std::move(keeper);
        gameData->Load(~0u);
        world.AddModel("balls/simple/model", PlayTestWorld::BoxModel({0, 0, 0}, {2.5f, 2.5f, 2.5f}));
        world.AddModel("balls/super/model", PlayTestWorld::BoxModel({0, 0, 0}, {3, 3, 3}));
        world.AddModel("hammer/model", PlayTestWorld::AnimatedBox(
                                           10, 30,
                                           [](uint32_t) {
                                               return VelmoraTest::Box3{0, 0, 0};
                                           },
                                           [](uint32_t) {
                                               return VelmoraTest::Box3{5, 5, 5};
                                           }));
        world.services.data.Save("environment/field.vbf", VelmoraTest::PlayTestWorld::FieldFile());
        VbFormats::ModelDescription brick;
        VelmoraTest::AppendBox(brick.vertices, brick.indices, {0, 0, 3}, {8, 4, 3});
        brick.boxes = {{{-8, -4, 0}, {8, 4, 6}}};
        world.services.data.Save("game_objects/blocks/models/plain.mlf",
                                 VbFormats::ModelWriter::Write(brick));
        world.Save("game_objects/blocks/plain.xml", "<block/>");
        world.Save("ui/texts/texts.xml", "<texts><game_logic><bonuses><bat_increase><en text='Longer bat'/>"
                                         "</bat_increase></bonuses></game_logic></texts>");
        VbFormats::LevelGeometry geometryFile;
        geometryFile.textures = {""};
        for (float x : {-40.0f, 40.0f}) {
            VbFormats::LevelBlock block;
            block.type = "plain";
            block.keyFrames = {{{x, 80, 0}, {0, 0, 0, 1}}};
            geometryFile.blocks.push_back(block);
        }
        world.services.data.Save("levels_geometry/00_00.vbg",
                                 VbFormats::LevelGeometryWriter::Write(geometryFile));
        stage.environment = "nowhere";
        level.geometryFile = "00_00.vbg";
        tools = std::make_unique<GUITools::GUIToolManager>("en");
        world.SetCursor(400, 300);
    }
    ~Level() override {
        logic.reset();
        levelData.reset();
        tools.reset();
    }

    void Build(uint32_t lives = 3) {
        levelData = std::make_unique<GameLogicData>("en", "00_00.vbg");
        levelData->Load(~0u);
        logic = std::make_unique<GameLogic>(nullptr, nullptr, world.audio.get(), gameData, levelData.get(),
                                            tools.get(), &stage, &level, lives);
    }

    void Frame() {
        world.Frame(20, [&] { logic->Update(); });
    }
    void Run(float seconds) {
        for (int frames = static_cast<int>(std::lround(seconds / 0.02f)); frames > 0; --frames)
            Frame();
    }
    bool RunUntil(const std::function<bool()>& done, int frames = 1000) {
        for (int frame = 0; frame < frames; ++frame) {
            Frame();
            if (done())
                return true;
        }
        return false;
    }
    // Past the first bat's start delay and its slide-in.
    void BringIn() {
        Run(3);
        ASSERT_TRUE(logic->GetBat()->IsInPlay());
        world.TakePlayedSounds();
    }
    // Sends every ball below the field.
    void LoseBalls() {
        for (Ball* ball : logic->GetBallManager()->GetActiveBalls()) {
            if (ball->IsHeld())
                ball->Launch();
            ball->SetPosition(Vec2(0, -120));
        }
    }
    bool Played(int id) {
        const std::vector<int> sounds = world.TakePlayedSounds();
        return std::find(sounds.begin(), sounds.end(), id) != sounds.end();
    }

    PlayTestWorld world{"level"};
    GameStageInfo stage;
    GameLevelInfo level;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    GameData* gameData = nullptr; // held by the world
    std::unique_ptr<GameLogicData> levelData;
    std::unique_ptr<GameLogic> logic;
};

} // namespace

TEST_F(Level, ANewLevelWaitsWithABallOnTheBat) {
    Build();
    EXPECT_EQ(logic->state, GameLogicBase::StateRunning);
    EXPECT_EQ(logic->GetFade(), 1.0f);
    ASSERT_EQ(logic->GetBallManager()->GetActiveBalls().size(), 1u);
    EXPECT_TRUE(logic->GetBallManager()->GetActiveBalls()[0]->IsHeld());
    EXPECT_TRUE(logic->IsTimerPaused());
    EXPECT_EQ(logic->GetGeometry()->GetBlocks().size(), 2u);
    const std::pair<uint32_t, int> prices[] = {{0, 85}, {1, 5},  {2, 5},  {3, 5},
                                               {4, 0},  {6, 10}, {7, 20}, {8, 15}};
    for (const auto& [event, points] : prices)
        EXPECT_EQ(logic->scoreKeeper->GetPoints(event), points) << event;
    const GameTools::GameCamera& camera = *logic->GetCamera();
    EXPECT_NEAR(camera.GetFieldOfView(), std::numbers::pi_v<float> / 2, 1e-6);
    EXPECT_NEAR(camera.GetCurrentPosition().y, -140, 1e-4);
    EXPECT_NEAR(camera.GetCurrentPosition().z, 98, 1e-4);
    Frame();
    EXPECT_TRUE(Played(GameLogic::SoundLevelBegin));

    // The clock runs only while a ball is in play.
    BringIn();
    const float before = logic->GetTime();
    Run(0.5f);
    EXPECT_EQ(logic->GetTime(), before);
    logic->click = true;
    Frame();
    EXPECT_FALSE(logic->click); // consumed
    Frame();                    // in flight as of the next frame's start
    EXPECT_TRUE(logic->IsBallInFlight());
    EXPECT_FALSE(logic->IsTimerPaused());
}

TEST_F(Level, AClickLaunchesOrFiresAndAlwaysSwingsALoadedHammer) {
    Build();
    BringIn();
    logic->ApplyBonus(8);  // arbalest
    logic->ApplyBonus(10); // hammer
    Run(0.5f);
    ASSERT_TRUE(logic->GetBallManager()->HasHeldBall());
    world.TakePlayedSounds();
    logic->click = true;
    Frame();
    EXPECT_FALSE(logic->GetBallManager()->HasHeldBall()); // launched
    EXPECT_EQ(logic->GetArbalest()->GetShotsLeft(), 24u); // no shot with that click
    EXPECT_TRUE(Played(Hammer::SoundHammer));

    // With no ball on the bat the arbalest fires; the ballista waits while the arbalest has shots.
    Run(1);
    logic->click = true;
    Frame();
    Run(0.2f);
    EXPECT_EQ(logic->GetArbalest()->GetShotsLeft(), 23u);

    // Taking the ballista empties the arbalest, and the next click fires the ballista.
    logic->ApplyBonus(9);
    EXPECT_EQ(logic->GetArbalest()->GetShotsLeft(), 0u);
    EXPECT_EQ(logic->GetBallista()->GetShotsLeft(), 12u);
    Run(1);
    logic->click = true;
    Frame();
    Run(0.3f);
    EXPECT_EQ(logic->GetBallista()->GetShotsLeft(), 11u);
}

TEST_F(Level, ALostBallCostsALifeAndTheBatComesBack) {
    Build(2);
    BringIn();
    logic->ApplyBonus(8);
    logic->ApplyBonus(10);
    LoseBalls();
    Frame();
    EXPECT_EQ(logic->lives, 1u);
    EXPECT_TRUE(logic->GetBat()->IsDestroyed());
    EXPECT_EQ(logic->GetArbalest()->GetShotsLeft(), 0u);
    EXPECT_EQ(logic->GetHammer()->GetCharges(), 0);
    EXPECT_EQ(logic->state, GameLogicBase::StateRunning);
    // Rebuilt once the explosions have finished, with a new simple ball on it.
    ASSERT_TRUE(RunUntil([&] { return !logic->GetBat()->IsDestroyed(); }));
    EXPECT_EQ(logic->lives, 1u);
    ASSERT_EQ(logic->GetBallManager()->GetActiveBalls().size(), 1u);
    EXPECT_TRUE(logic->GetBallManager()->GetActiveBalls()[0]->IsHeld());
    EXPECT_FALSE(logic->GetBat()->IsInPlay()); // sliding in again
}

TEST_F(Level, WithNoLivesLeftTheLostBallEndsTheGame) {
    Build(0);
    BringIn();
    LoseBalls();
    Frame();
    EXPECT_EQ(logic->state, GameLogicBase::StateLost);
    EXPECT_TRUE(logic->stateChanged);
    EXPECT_TRUE(logic->GetBat()->IsDestroyed());
    const std::vector<int> sounds = world.TakePlayedSounds();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), GameLogic::SoundLevelFailed), 1);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), Bat::SoundDestruction), 1);
    // Nothing further: the state stays, the bat breaks once, the fade sinks.
    Run(1.2f);
    EXPECT_EQ(logic->state, GameLogicBase::StateLost);
    EXPECT_FALSE(Played(Bat::SoundDestruction));
    EXPECT_EQ(logic->GetFade(), 0.0f);
    EXPECT_TRUE(logic->IsTimerPaused());

    // The last life lost from one left: the game ends when its bat breaks, not a second time.
    logic.reset();
    Build(1);
    BringIn();
    LoseBalls();
    Run(0.1f);
    EXPECT_EQ(logic->lives, 0u);
    EXPECT_EQ(logic->state, GameLogicBase::StateLost);
    const std::vector<int> last = world.TakePlayedSounds();
    EXPECT_EQ(std::count(last.begin(), last.end(), Bat::SoundDestruction), 1);
}

TEST_F(Level, TheLevelIsCompleteAThirdOfASecondAfterTheLastCountedBlock) {
    Build();
    BringIn();
    logic->OnCheatKey(false, 11); // every block takes a super hit
    EXPECT_TRUE(logic->cheated);
    LoseBalls(); // after the last counted block this costs nothing
    ASSERT_TRUE(RunUntil([&] { return logic->state == GameLogicBase::StateWon; }, 100));
    EXPECT_EQ(logic->GetGeometry()->GetCountedBlocksLeft(), 0u);
    EXPECT_EQ(logic->lives, 3u);
    EXPECT_GT(logic->GetCompletionTime(), 0.3f);
    EXPECT_LE(logic->GetCompletionTime(), 0.32f + 1e-4f);
    EXPECT_TRUE(Played(GameLogic::SoundLevelComplete));
}

TEST_F(Level, ACaughtBonusTakesEffectWithTextScoreAndSound) {
    Build();
    BringIn();
    // Shift+F3 drops the bonus instead of applying it.
    logic->OnCheatKey(true, 3);
    EXPECT_TRUE(logic->cheated);
    EXPECT_EQ(logic->GetBat()->GetTargetSize(), Bat::StartSize);
    ASSERT_EQ(logic->GetBonusManager()->GetBonuses().size(), 1u);
    const Bonus* bonus = logic->GetBonusManager()->GetBonuses()[0];
    EXPECT_EQ(bonus->GetKind(), 1);
    ASSERT_TRUE(RunUntil([&] { return bonus->IsCaught(); }, 600));
    EXPECT_EQ(logic->GetBat()->GetTargetSize(), Bat::StartSize + Bat::SizeStep);
    EXPECT_EQ(logic->GetScore(), 85);
    EXPECT_TRUE(Played(GameLogic::SoundBonusGet));
    ASSERT_EQ(logic->GetTexts()->GetTexts().size(), 1u);
    EXPECT_EQ(logic->GetTexts()->GetTexts()[0]->GetLines(), std::vector<std::wstring>{L"Longer bat"});
    // F3 alone grows the bat at once.
    logic->OnCheatKey(false, 3);
    EXPECT_EQ(logic->GetBat()->GetTargetSize(), Bat::StartSize + 2 * Bat::SizeStep);
}

TEST_F(Level, BonusEffects) {
    Build();
    BringIn();
    logic->lives = 99;
    logic->ApplyBonus(0);
    logic->ApplyBonus(0);
    EXPECT_EQ(logic->lives, 100u);
    logic->ApplyBonus(7);
    logic->ApplyBonus(7);
    EXPECT_EQ(logic->GetBarrier()->GetSegmentCount(), 2);
    logic->ApplyBonus(10);
    EXPECT_EQ(logic->GetHammer()->GetCharges(), 6);
    logic->ApplyBonus(9);
    logic->ApplyBonus(8);
    EXPECT_EQ(logic->GetBallista()->GetShotsLeft(), 0u);
    EXPECT_EQ(logic->GetArbalest()->GetShotsLeft(), 24u);
    logic->ApplyBonus(6);
    EXPECT_EQ(logic->GetBallManager()->GetActiveBalls()[0]->GetType(), Ball::TypeSuper);
    logic->ApplyBonus(5);
    EXPECT_EQ(logic->GetBallManager()->GetActiveBalls().size(), 3u);
    logic->ApplyBonus(3);
    EXPECT_TRUE(logic->GetBallManager()->IsSpeedUpActive());
    logic->ApplyBonus(2);
    EXPECT_EQ(logic->GetBat()->GetTargetSize(), 0.0f);
    logic->ApplyBonus(11); // no such kind
    logic->ApplyBonus(-1);
    EXPECT_EQ(logic->lives, 100u);
}

TEST_F(Level, PausingFadesTheLevelAndSwitchesItsObjectsOnlyWhenTheFadeRunsOut) {
    Build();
    BringIn();
    logic->SetPaused(true);
    Run(0.5f);
    EXPECT_NEAR(logic->GetFade(), 0.5f, 1e-4);
    EXPECT_FALSE(logic->GetBallManager()->IsPaused());
    logic->SetPaused(false);
    Run(0.5f);
    EXPECT_NEAR(logic->GetFade(), 1, 1e-4);
    EXPECT_FALSE(logic->GetBallManager()->IsPaused());

    logic->SetPaused(true);
    Run(1.1f);
    EXPECT_EQ(logic->GetFade(), 0.0f);
    EXPECT_TRUE(logic->GetBallManager()->IsPaused());
    EXPECT_TRUE(logic->GetBat()->IsPaused());
    EXPECT_TRUE(logic->GetHammer()->IsPaused());
    logic->SetPaused(false);
    Frame();
    EXPECT_FALSE(logic->GetBallManager()->IsPaused());
    EXPECT_FALSE(logic->GetArbalest()->IsPaused());
}
