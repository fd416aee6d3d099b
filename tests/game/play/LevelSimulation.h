// A level of the laid-out game data played headless through the real engine, for the level simulation test
// and the level benchmark: the engine built as the game builds it (an offscreen window with a stencil
// buffer, the dummy sound device), the game's keeper and the level's keeper loaded from the packs, and the
// level in play steered by an autopilot through the platform's simulated mouse, on a fake clock with a fixed
// frame time and the engine's generator seeded. Every frame adds a transcript line; every pngEvery frames the
// back buffer is written as a PNG. It owns the engine and the fake clock, so one exists at a time.
#pragma once

#include "engine/math/Vector.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace OrvexEngine {
class Engine;
}

namespace GameFramework {
class AudioPlayer;
}

namespace GUITools {
class GUIToolManager;
}

namespace VelmoraBall {
class GameData;
class GameLogic;
class GameLogicData;
class LevelManager;
} // namespace VelmoraBall

namespace VelmoraTest {

struct LevelSimulationOptions {
    std::string binDirectory; // the folder that holds data/ (the build's bin)
    uint32_t stage = 0;
    uint32_t level = 0;
    uint32_t seed = 1;                  // the engine's generator and the autopilot's aim
    uint32_t frameMicroseconds = 16667; // the fixed frame time
    uint32_t lives = 3;
    uint32_t width = 800; // the window's client size
    uint32_t height = 600;
    uint32_t pngEvery = 0; // 0: no pictures
    std::string pngPrefix; // a picture goes to pngPrefix + "-" + five-digit frame + ".png"
    // How far off the ball's x the autopilot aims, as a fraction of the bat's half length, drawn anew for
    // every approach of a ball; larger values make it miss now and then.
    float aimSpread = 0.8f;
    // The chance that the autopilot lets a ball pass on an approach, keeping the bat well clear of it.
    float missChance = 0;
};

// What the transcript records of a frame.
struct LevelFrameRecord {
    uint32_t frame = 0;
    int state = 0;
    int score = 0;
    uint32_t lives = 0;
    uint32_t blocksLeft = 0;      // counted blocks still standing
    uint32_t balls = 0;           // active balls, held or free
    bool held = false;            // a ball waits on the bat
    uint32_t bonuses = 0;         // bonuses falling
    OrvexEngine::Vec2 lowestBall; // the lowest active ball; (0, 0) without one
};

// Main-thread CPU seconds spent in each part of the frames run so far.
struct LevelSimulationTiming {
    double game = 0;   // message pump, the engine's frame start, the audio player, the level's update
    double engine = 0; // the engine's frame end: particles, sprites, lights, the render pass, sound, present
    uint32_t frames = 0;
};

class LevelSimulation {
public:
    // Builds the engine and loads the level; the errors of a broken installation leave as the engine's
    // FatalError.
    explicit LevelSimulation(const LevelSimulationOptions& options);
    ~LevelSimulation();
    LevelSimulation(const LevelSimulation&) = delete;
    LevelSimulation& operator=(const LevelSimulation&) = delete;

    // One frame of the game's frame order; the autopilot then sets the mouse for the next one.
    const LevelFrameRecord& Step();
    // Steps until the level is won or lost or maxFrames frames have run; returns the level's state.
    int Run(uint32_t maxFrames);
    // Writes the back buffer of the last frame as a PNG; false when the file cannot be written.
    bool SavePicture(const std::string& path) const;

    const std::vector<std::string>& GetTranscript() const { return transcript; }
    std::string GetTranscriptText() const;
    const std::vector<LevelFrameRecord>& GetRecords() const { return records; }
    const LevelSimulationTiming& GetTiming() const { return timing; }
    VelmoraBall::GameLogic& GetLevel() const { return *logic; }

private:
    void Steer();
    void MoveCursorTo(float guiX);
    float NextUnit();
    LevelFrameRecord Record() const;

    LevelSimulationOptions options;
    std::unique_ptr<OrvexEngine::Engine> engine;
    std::unique_ptr<GUITools::GUIToolManager> tools;
    std::unique_ptr<GameFramework::AudioPlayer> audio;
    std::unique_ptr<VelmoraBall::LevelManager> levels;
    std::unique_ptr<VelmoraBall::GameData> gameData;
    std::unique_ptr<VelmoraBall::GameLogicData> levelData;
    std::unique_ptr<VelmoraBall::GameLogic> logic;
    std::string configDirectory; // removed with the simulation
    std::vector<std::string> transcript;
    std::vector<LevelFrameRecord> records;
    LevelSimulationTiming timing;
    uint32_t frame = 0;
    uint32_t aimState = 0;      // the autopilot's own generator
    float aim = 0;              // this approach's offset, in the bat's half lengths
    bool missing = false;       // this approach lets the ball pass
    bool wasDescending = false; // the targeted ball fell in the last frame
    bool buttonDown = false;
    OrvexEngine::Vec2 cursor; // where the simulated cursor is, in GUI units
};

} // namespace VelmoraTest
