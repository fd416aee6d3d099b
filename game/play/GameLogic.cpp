#include "game/play/GameLogic.h"

#include "engine/core/Timer.h"
#include "engine/core/TimerManager.h"
#include "engine/math/Quaternion.h"
#include "framework/AudioPlayer.h"
#include "framework/ScoreKeeper.h"
#include "game/play/BallManager.h"
#include "game/play/Barrier.h"
#include "game/play/Bat.h"
#include "game/play/Block.h"
#include "game/play/Bonus.h"
#include "game/play/BonusManager.h"
#include "game/play/BulletManager.h"
#include "game/play/Effects.h"
#include "game/play/Environment.h"
#include "game/play/GUIGameLogicTextManager.h"
#include "game/play/GameField.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogicData.h"
#include "game/play/Gun.h"
#include "game/play/Hammer.h"
#include "game/play/Lighting.h"
#include "game/shell/GameData.h"
#include "game/shell/LevelManager.h"
#include "gametools/GameCamera.h"
#include "guitools/GUIFontTool.h"
#include "guitools/GUITextTool.h"
#include "guitools/GUIToolManager.h"

#include <algorithm>
#include <numbers>

using namespace OrvexEngine;

namespace VelmoraBall {

namespace {

constexpr float pausedFade = 0.0001f;

struct ScoreRow {
    uint32_t event;
    int points;
};

// Every score event of a level and its price; a score is their sum times the keeper's multiplier.
constexpr ScoreRow scoreTable[] = {{0, 85}, {1, 5}, {2, 5}, {3, 5}, {6, 10}, {7, 20}, {8, 15}};

const char* const bonusTextNames[BonusManager::KindCount] = {
    "life",       "bat_increase", "bat_decrease", "balls_speed_up", "balls_slow_down", "balls_split",
    "super_ball", "barrier",      "arbalest",     "ballista",       "hammer"};

enum BonusKind {
    KindLife = 0,
    KindBatIncrease = 1,
    KindBatDecrease = 2,
    KindBallsSpeedUp = 3,
    KindBallsSlowDown = 4,
    KindBallsSplit = 5,
    KindSuperBall = 6,
    KindBarrier = 7,
    KindArbalest = 8,
    KindBallista = 9,
    KindHammer = 10,
};

// The bonus kind of each function key F1..F12; F11 (-1) hits every block instead.
constexpr int cheatKinds[12] = {KindLife,
                                KindBatDecrease,
                                KindBatIncrease,
                                KindBallsSlowDown,
                                KindBallsSpeedUp,
                                KindBallsSplit,
                                KindSuperBall,
                                KindBarrier,
                                KindArbalest,
                                KindBallista,
                                -1,
                                KindHammer};

constexpr uint32_t arbalestShots = 24;
constexpr uint32_t ballistaShots = 12;
constexpr int hammerCharges = 6;

} // namespace

std::string GameLogic::GetBonusTextKey(int kind) {
    if (kind < 0 || kind >= BonusManager::KindCount)
        return "";
    return std::string("game_logic/bonuses/") + bonusTextNames[kind];
}

GameLogic::GameLogic(GameFramework::GUIGameCursorBase*, GameFramework::ProfileManagerBase*,
                     GameFramework::AudioPlayer* player, GameData* gameKeeper, GameLogicData* levelKeeper,
                     GUITools::GUIToolManager* tools, GameStageInfo* stage, GameLevelInfo* level,
                     uint32_t startLives)
    : GameLogicBase(player, stage, level, startLives), gameData(gameKeeper), levelData(levelKeeper),
      guiTools(tools), fontTool(tools != nullptr ? tools->fontTool : nullptr),
      textTool(tools != nullptr ? tools->textTool : nullptr), levelRecord(level), stageRecord(stage) {
    for (const ScoreRow& row : scoreTable)
        scoreKeeper->SetPoints(row.event, row.points);
    GUIWindow* overlay = gameData->extraWindowB;
    texts = new GUIGameLogicTextManager(fontTool != nullptr ? fontTool->GetFontIndex("tip") : -1, overlay);
    camera = new GameTools::GameCamera();
    camera->SetFieldOfView(std::numbers::pi_v<float> / 2);
    camera->SetNearPlane(70);
    camera->SetFarPlane(650);
    camera->startRotation = Quaternion(0.4939f, 0, 0, 0.8695f);
    camera->startPosition = Vec3(0, -140, 98);
    camera->ResetToStart();
    lighting = new Lighting("lighting.ini");
    effects = new Effects(lighting);
    field = new GameField("field.vbf");
    environment = new Environment(levelData, stage != nullptr ? stage->environment : std::string());
    barrier = new Barrier(gameData, effects, audioPlayer);
    bonusManager = new BonusManager(audioPlayer, gameData, effects);
    geometry = new GameGeometry(gameData, levelData, effects, scoreKeeper, audioPlayer);
    bat = new Bat(gameData, effects, barrier, audioPlayer);
    bulletManager = new BulletManager(gameData, this, effects, audioPlayer, field, geometry, bat);
    arbalest = new Gun(gameData, effects, bat, audioPlayer, bulletManager, Gun::KindArbalest);
    ballista = new Gun(gameData, effects, bat, audioPlayer, bulletManager, Gun::KindBallista);
    hammer = new Hammer(audioPlayer, gameData, geometry, overlay);
    ballManager = new BallManager(gameData, effects, field, geometry, bat, barrier, audioPlayer,
                                  static_cast<int>(lives));
    geometry->Build(bonusManager, ballManager, bulletManager);
    ballManager->AddBall(0);
    SetTimerPaused(true);
    PlaySound(SoundLevelBegin);
    fade = 1;
    completionTime = 0;
    click = false;
}

GameLogic::~GameLogic() {
    // Effects goes late: the objects before it hold shadows it made.
    delete ballManager;
    delete hammer;
    delete arbalest;
    delete ballista;
    delete bulletManager;
    delete bat;
    delete geometry;
    delete bonusManager;
    delete barrier;
    delete lighting;
    delete environment;
    delete field;
    delete effects;
    delete camera;
    delete texts;
}

void GameLogic::PlaySound(int id) const {
    if (audioPlayer != nullptr)
        audioPlayer->PlaySound(id);
}

bool GameLogic::IsBallInFlight() const {
    return ballManager->IsBallInPlay();
}

void GameLogic::SetObjectsPaused(bool paused) {
    ballManager->SetPaused(paused);
    geometry->SetPaused(paused);
    bonusManager->SetPaused(paused);
    bat->SetPaused(paused);
    arbalest->SetPaused(paused);
    ballista->SetPaused(paused);
    hammer->SetPaused(paused);
    bulletManager->SetPaused(paused);
}

void GameLogic::Update() {
    GameLogicBase::Update();
    const float dt = TimerManager::Instance()->frameTime;

    const float oldFade = fade;
    fade = std::clamp(state == StateRunning ? fade + dt : fade - dt, 0.0f, 1.0f);
    if ((oldFade > pausedFade && fade < pausedFade) || (oldFade < pausedFade && fade > pausedFade))
        SetObjectsPaused(fade < pausedFade);

    camera->Update();

    if (click) {
        if (bat->IsInPlay() && ballManager->HasHeldBall() && !ballManager->IsPaused())
            ballManager->RequestLaunch();
        else if (!arbalest->IsPaused() && arbalest->GetShotsLeft() > 0)
            arbalest->RequestShot();
        else if (!ballista->IsPaused() && ballista->GetShotsLeft() > 0)
            ballista->RequestShot();
        if (!hammer->IsPaused() && hammer->GetCharges() > 0)
            hammer->Strike();
    }

    field->Update();
    environment->Update();

    geometry->Update(fade);
    bat->Update(fade);
    ballManager->Update(static_cast<int>(lives), fade);

    if (geometry->GetCountedBlocksLeft() < static_cast<uint32_t>(EndLevelBlocks))
        bonusManager->ArmEndLevelBonus();
    bonusManager->Update(ballManager->IsBallInPlay(), static_cast<int>(lives), fade);

    UpdateLives();

    if (geometry->GetCountedBlocksLeft() == 0) {
        completionTime += dt;
        if (completionTime > CompletionDelay && state == StateRunning) {
            PlaySound(SoundLevelComplete);
            SetState(StateWon);
        }
    }

    CatchBonuses();

    barrier->Update();
    arbalest->Update(fade);
    ballista->Update(fade);
    hammer->Update(fade);
    bulletManager->Update(fade);
    effects->Update();
    texts->Update();

    click = false;
    SetTimerPaused(state == StateRunning ? !ballManager->IsBallInPlay() : true);
}

void GameLogic::UpdateLives() {
    const bool ballsGone = geometry->GetCountedBlocksLeft() > 0 && ballManager->GetActiveBalls().empty();
    if (!ballsGone && !bat->IsDestroyed())
        return;
    if (lives > 0) {
        if (bat->IsInPlay() && !bat->IsDestroyed()) {
            lives -= 1;
            bat->Destroy();
            arbalest->Stop();
            ballista->Stop();
            hammer->Reset();
            ballManager->UpdateSpeed(true);
        } else if (!bat->IsInPlay()) {
            bat->Reset();
            ballManager->AddBall(0);
        }
        // In play but destroyed: its destruction is still running.
    } else if (state == StateRunning) {
        PlaySound(SoundLevelFailed);
        SetState(StateLost);
        // The last life's bat may already be breaking apart; it breaks once.
        if (!bat->IsDestroyed())
            bat->Destroy();
    }
}

void GameLogic::CatchBonuses() {
    if (!bat->IsInPlay() || bat->IsDestroyed())
        return;
    const std::vector<Bonus*>& bonuses = bonusManager->GetBonuses();
    // By index: a bonus's effect may change the list.
    for (size_t i = 0; i < bonuses.size(); ++i) {
        const Bonus* bonus = bonuses[i];
        if (!bonus->IsActive() || bonus->IsCaught() || !bonus->GetBox().Intersects(bat->GetBatBox()))
            continue;
        const int kind = bonus->GetKind();
        ApplyBonus(kind);
        if (textTool != nullptr)
            texts->AddTextAtWorldPoint(textTool->GetText(GetBonusTextKey(kind)), bonus->GetBox().GetCentre());
        bonusManager->CatchBonus(i);
        scoreKeeper->AddScore(ScoreBonusCaught, 1);
        PlaySound(SoundBonusGet);
    }
}

void GameLogic::ApplyBonus(int kind) {
    switch (kind) {
    case KindLife:
        lives = std::min(lives + 1, MaximumLives);
        break;
    case KindBatIncrease:
        bat->Grow();
        break;
    case KindBatDecrease:
        bat->Shrink();
        break;
    case KindBallsSpeedUp:
        ballManager->SpeedUp();
        break;
    case KindBallsSlowDown:
        ballManager->SlowDown();
        break;
    case KindBallsSplit:
        ballManager->SplitBalls();
        break;
    case KindSuperBall:
        ballManager->MakeSuperBalls();
        break;
    case KindBarrier:
        barrier->AddSegment();
        break;
    case KindArbalest:
        // The two guns exclude each other: taking one empties the other.
        ballista->Stop();
        arbalest->AddShots(arbalestShots);
        break;
    case KindBallista:
        arbalest->Stop();
        ballista->AddShots(ballistaShots);
        break;
    case KindHammer:
        hammer->AddCharges(hammerCharges);
        break;
    default:
        break;
    }
}

void GameLogic::OnCheatKey(bool shift, int key) {
    GameLogicBase::OnCheatKey(shift, key);
    if (key < 1 || key > 12)
        return;
    const int kind = cheatKinds[key - 1];
    if (shift) {
        if (kind >= 0)
            bonusManager->Spawn(Vec2(0, 0), kind);
        return;
    }
    if (kind >= 0) {
        ApplyBonus(kind);
        return;
    }
    // Every block takes a super hit without chain; the block set removes them at its next update.
    const std::vector<Block*>& blocks = geometry->GetBlocks();
    for (size_t i = 0; i < blocks.size(); ++i)
        blocks[i]->Hit(Block::HitSuper, false);
}

} // namespace VelmoraBall
