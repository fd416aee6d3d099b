#include "tests/game/play/LevelSimulation.h"

#include "engine/core/Controls.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineStartupParams.h"
#include "engine/graphics/Image.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/gui/GUIManager.h"
#include "engine/math/Random.h"
#include "framework/AudioPlayer.h"
#include "game/play/Ball.h"
#include "game/play/BallManager.h"
#include "game/play/Bat.h"
#include "game/play/Bonus.h"
#include "game/play/BonusManager.h"
#include "game/play/GameGeometry.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/play/Gun.h"
#include "game/play/ScreenMapping.h"
#include "game/shell/GameData.h"
#include "game/shell/GameSounds.h"
#include "game/shell/LevelManager.h"
#include "guitools/GUIToolManager.h"
#include "platform/d3d/D3DTest.h"
#include "platform/win/Events.h"
#include "platform/win/Time.h"
#include "platform/win/WindowSimulation.h"
#include "tests/support/PngWriter.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <unistd.h>

using namespace OrvexEngine;
using namespace VelmoraBall;

namespace VelmoraTest {

namespace {

constexpr float guiHeight = 600;
constexpr float cursorHeight = 300; // the bat reads only x; the hammer strikes wherever this is
constexpr uint32_t gunClickInterval = 8;

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

std::string FreshConfigDirectory() {
    static std::atomic<int> counter{0};
    const char* root = std::getenv("VB_TEST_TMP");
    const std::filesystem::path base = root != nullptr ? root : std::filesystem::temp_directory_path();
    return (base / ("level-simulation-" + std::to_string(getpid()) + "-" + std::to_string(++counter)))
        .string();
}

// The ball the autopilot plays: the lowest one falling towards the bat, else the lowest free one.
const Ball* TargetBall(const BallManager& balls) {
    const Ball* falling = nullptr;
    const Ball* lowest = nullptr;
    for (const Ball* ball : balls.GetActiveBalls()) {
        if (ball->IsHeld())
            continue;
        const float y = ball->GetPosition().y;
        if (lowest == nullptr || y < lowest->GetPosition().y)
            lowest = ball;
        if (ball->GetDirection().y < 0 && (falling == nullptr || y < falling->GetPosition().y))
            falling = ball;
    }
    return falling != nullptr ? falling : lowest;
}

} // namespace

LevelSimulation::LevelSimulation(const LevelSimulationOptions& givenOptions)
    : options(givenOptions), configDirectory(FreshConfigDirectory()), aimState(givenOptions.seed) {
    // Installed before the engine, so that its frame clock (and the sounds' repeat guard) run on it.
    platform::InstallFakeClock(0);
    platform::D3DTest::Reset();
    platform::sim::Reset();
    // The offscreen desktop is 1024 x 768 and a window must fit its work area: a larger one lets the
    // window have any size asked for.
    platform::sim::SetDesktopMode(1600, 1200, 32);
    platform::sim::SetWorkArea({0, 0, 1600, 1200});

    EngineStartupParams params;
    params.title = "Velmora Ball";
    params.version = 100;
    params.baseDirectory = options.binDirectory;
    params.usePacks = true;
    params.dataDirectory = "data";
    params.maxMemoryFileSize = 16u << 20;
    params.configDirectory = configDirectory;
    params.configName = "level-simulation";
    params.forceDefaultVideoMode = true;
    params.defaultVideoMode = std::to_string(options.width) + "x" + std::to_string(options.height) + "x32";
    params.forceDefaultFullscreen = true;
    params.defaultFullscreen = false;
    params.useStencilBuffer = true; // the shadows are drawn through it
    try {
        engine = std::make_unique<Engine>(params);
    } catch (...) {
        platform::RemoveFakeClock();
        throw;
    }
    GUIManager::Instance()->SetScreenSize(800, guiHeight);
    // The engine seeded its generator from the clock; the simulation's seed replaces that.
    SeedRandom(options.seed);

    tools = std::make_unique<GUITools::GUIToolManager>("en");
    audio = std::make_unique<GameFramework::AudioPlayer>(0.285f, 0.315f);
    RegisterGameSounds(*GUIManager::Instance()->GetSoundManager(), *audio);
    levels = std::make_unique<LevelManager>();
    gameData = std::make_unique<GameData>("en");
    gameData->LoadResourceList("data\\game_objects\\resources.xml", false);
    gameData->LoadAll();

    const GameFramework::LevelPosition position{options.stage, options.level};
    auto* stage = static_cast<GameStageInfo*>(levels->GetStage(options.stage));
    auto* level = static_cast<GameLevelInfo*>(levels->GetLevel(position));
    if (stage == nullptr || level == nullptr)
        throw std::runtime_error("no level " + std::to_string(options.stage) + "-" +
                                 std::to_string(options.level) + " in the level list");
    levelData = std::make_unique<GameLogicData>("en", level->geometryFile);
    std::vector<std::string> resourceLists;
    levels->GetLevelResources(position, resourceLists);
    for (const std::string& list : resourceLists)
        levelData->LoadResourceList(list, false);
    levelData->LoadAll();

    logic = std::make_unique<GameLogic>(nullptr, nullptr, audio.get(), gameData.get(), levelData.get(),
                                        tools.get(), stage, level, options.lives);
    cursor = Vec2(400, cursorHeight);
    MoveCursorTo(cursor.x);
}

LevelSimulation::~LevelSimulation() {
    logic.reset();
    levelData.reset();
    gameData.reset();
    levels.reset();
    audio.reset();
    tools.reset();
    engine.reset();
    platform::RemoveFakeClock();
    platform::sim::Reset();
    platform::D3DTest::Reset();
    std::error_code ignored;
    std::filesystem::remove_all(configDirectory, ignored);
}

const LevelFrameRecord& LevelSimulation::Step() {
    ++frame;
    const double start = ThreadSeconds();
    platform::AdvanceFakeClockMicroseconds(options.frameMicroseconds);
    // The game's frame order: messages, the engine's frame start, the audio player, the level, the
    // engine's frame end.
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message)) {
        platform::TranslateWindowMessage(message);
        platform::DispatchWindowMessage(message);
    }
    engine->BeginFrame();
    audio->Update();
    // In the game the in-game display turns a left click on the field into the level's click.
    if (Controls::Instance()->WasPressed("MOUSE1"))
        logic->click = true;
    logic->Update();
    const double updated = ThreadSeconds();
    engine->Tick(0);
    const double ticked = ThreadSeconds();
    timing.game += updated - start;
    timing.engine += ticked - updated;
    ++timing.frames;

    records.push_back(Record());
    const LevelFrameRecord& r = records.back();
    char line[200];
    std::snprintf(line, sizeof(line),
                  "%u state %d score %d lives %u blocks %u balls %u%s bonuses %u lowest %.3f %.3f", r.frame,
                  r.state, r.score, r.lives, r.blocksLeft, r.balls, r.held ? " held" : "", r.bonuses,
                  static_cast<double>(r.lowestBall.x), static_cast<double>(r.lowestBall.y));
    transcript.emplace_back(line);
    if (options.pngEvery != 0 && frame % options.pngEvery == 0) {
        char suffix[32];
        std::snprintf(suffix, sizeof(suffix), "-%05u.png", frame);
        SavePicture(options.pngPrefix + suffix);
    }
    Steer();
    return records.back();
}

int LevelSimulation::Run(uint32_t maxFrames) {
    while (frame < maxFrames) {
        const int state = Step().state;
        if (state == GameLogic::StateWon || state == GameLogic::StateLost)
            return state;
    }
    return logic->state;
}

LevelFrameRecord LevelSimulation::Record() const {
    LevelFrameRecord r;
    r.frame = frame;
    r.state = logic->state;
    r.score = logic->GetScore();
    r.lives = logic->lives;
    r.blocksLeft = logic->GetGeometry()->GetCountedBlocksLeft();
    const BallManager& balls = *logic->GetBallManager();
    r.balls = static_cast<uint32_t>(balls.GetActiveBalls().size());
    r.held = balls.HasHeldBall();
    for (const Bonus* bonus : logic->GetBonusManager()->GetBonuses())
        r.bonuses += bonus->IsActive() && !bonus->IsCaught() ? 1 : 0;
    const Ball* lowest = nullptr;
    for (const Ball* ball : balls.GetActiveBalls())
        if (lowest == nullptr || ball->GetPosition().y < lowest->GetPosition().y)
            lowest = ball;
    if (lowest != nullptr)
        r.lowestBall = lowest->GetPosition();
    return r;
}

// The player: launches a held ball, fires a loaded gun now and then, and keeps the bat under the ball it
// plays, off its centre by an amount drawn for each approach so that the bounces vary; now and then, if told
// to, it lets a ball pass.
void LevelSimulation::Steer() {
    if (buttonDown) {
        platform::sim::PushMouseButton(0, false);
        buttonDown = false;
    } else if (logic->state == GameLogic::StateRunning) {
        const Bat& bat = *logic->GetBat();
        const bool launch = logic->GetBallManager()->HasHeldBall() && bat.IsInPlay() && !bat.IsDestroyed();
        const bool loaded =
            logic->GetArbalest()->GetShotsLeft() > 0 || logic->GetBallista()->GetShotsLeft() > 0;
        if (launch || (loaded && frame % gunClickInterval == 0)) {
            platform::sim::PushMouseButton(0, true);
            buttonDown = true;
        }
    }
    const Ball* target = TargetBall(*logic->GetBallManager());
    if (target == nullptr)
        return; // none free: the bat stays where it is
    const bool descending = target->GetDirection().y < 0;
    if (descending && !wasDescending) {
        aim = (2 * NextUnit() - 1) * options.aimSpread;
        // Drawn only for a player who misses, so that the aims of one who never does stay as they are.
        missing = options.missChance > 0 && NextUnit() < options.missChance;
    }
    wasDescending = descending;
    const float halfLength = logic->GetBat()->GetHeadBox().GetHalfSize().x;
    float x = target->GetPosition().x + aim * halfLength;
    if (missing) {
        // Clear of the ball by a bat length, on the side with room to spare.
        const float clear = 2 * halfLength + 2 * target->GetRadius();
        x = target->GetPosition().x + (target->GetPosition().x > 0 ? -clear : clear);
    }
    MoveCursorTo((x + Bat::MouseRange / 2) / Bat::MouseRange * Bat::GuiWidth);
}

void LevelSimulation::MoveCursorTo(float guiX) {
    const float x = std::clamp(guiX, 0.0f, Bat::GuiWidth - 1);
    const Vec2 before = ScreenMapping::GuiToPixel(cursor);
    cursor.x = x;
    const Vec2 pixel = ScreenMapping::GuiToPixel(cursor);
    // The cursor's client row counts from the top; the mapping's from the bottom.
    const auto row = [&](const Vec2& p) {
        return static_cast<int32_t>(std::lround(static_cast<float>(options.height) - 1 - p.y));
    };
    const auto column = [](const Vec2& p) { return static_cast<int32_t>(std::lround(p.x)); };
    platform::sim::PushMouseMotion(column(pixel), row(pixel), column(pixel) - column(before),
                                   row(pixel) - row(before));
}

// 0..1 from a generator of the autopilot's own, so that the player's choices do not shift the game's random
// sequence.
float LevelSimulation::NextUnit() {
    aimState = aimState * 1664525u + 1013904223u;
    return static_cast<float>(aimState >> 8) / static_cast<float>(1u << 24);
}

bool LevelSimulation::SavePicture(const std::string& path) const {
    Image image;
    RenderSystem::Instance()->CaptureScreen(image);
    if (image.width == 0 || image.height == 0)
        return false;
    return WritePng(path, image);
}

std::string LevelSimulation::GetTranscriptText() const {
    std::string text;
    for (const std::string& line : transcript)
        text += line + "\n";
    return text;
}

} // namespace VelmoraTest
