// The cost of a whole level: the first level of the laid-out data played to its end by the level
// simulation's autopilot at a fixed frame time on the offscreen GL context. Reports the frames, the
// main-thread CPU time per frame of the game and of the engine and the frames per second they allow, and
// the peak memory of the process.
//
// What counts as the game and the engine: the main thread's CPU time (CLOCK_THREAD_CPUTIME_ID) of each
// frame. The software GL driver rasterises in worker threads of its own, which this leaves out; what the
// driver does on the calling thread (state changes, vertex set-up, the copy at present) is still counted,
// so the figure is an upper bound of the game's and the engine's own work.
//
// Usage: level-bench [--seed N] [--stage S] [--level L] [--max-frames N] [--png-every N]
#include "tests/game/play/LevelSimulation.h"

#include "game/play/GameLogic.h"
#include "platform/win/Process.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool ReadNumber(int argc, char** argv, int& i, const char* name, uint32_t& value) {
    if (std::strcmp(argv[i], name) != 0 || i + 1 >= argc)
        return false;
    value = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    VelmoraTest::LevelSimulationOptions options;
    options.seed = 7;
    uint32_t maxFrames = 20000;
    for (int i = 1; i < argc; ++i) {
        if (!ReadNumber(argc, argv, i, "--seed", options.seed) &&
            !ReadNumber(argc, argv, i, "--stage", options.stage) &&
            !ReadNumber(argc, argv, i, "--level", options.level) &&
            !ReadNumber(argc, argv, i, "--max-frames", maxFrames) &&
            !ReadNumber(argc, argv, i, "--png-every", options.pngEvery)) {
            std::fprintf(stderr,
                         "usage: %s [--seed N] [--stage S] [--level L] [--max-frames N] [--png-every N]\n",
                         argv[0]);
            return 2;
        }
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::filesystem::path build =
        std::filesystem::path(platform::GetExecutablePath()).parent_path().parent_path();
    options.binDirectory = (build / "bin").string();
    if (options.pngEvery != 0) {
        setenv("VB_TEST_OUTPUT", (build / "test-output").c_str(), 0);
        options.pngPrefix = (build / "test-output" / "level-bench").string();
    }

    const double cpuBefore = ProcessCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    VelmoraTest::LevelSimulation simulation(options);
    const double loadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double playCpuBefore = ProcessCpuSeconds();
    const auto playWallBefore = std::chrono::steady_clock::now();
    const int state = simulation.Run(maxFrames);
    const double playWall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - playWallBefore).count();
    const double playCpu = ProcessCpuSeconds() - playCpuBefore;

    const VelmoraTest::LevelSimulationTiming& timing = simulation.GetTiming();
    const VelmoraTest::LevelFrameRecord& last = simulation.GetRecords().back();
    const double frames = timing.frames;
    const double perFrame = (timing.game + timing.engine) / frames;
    std::printf("level %u-%u seed %u: %u frames at %.4f s, end state %d (%s), score %d, lives %u\n",
                options.stage, options.level, options.seed, timing.frames, options.frameMicroseconds * 1e-6,
                state, state == VelmoraBall::GameLogic::StateWon ? "won" : "not won", last.score, last.lives);
    std::printf(
        "measured: main-thread CPU time per frame; the GL driver's rasteriser threads excluded, its work "
        "on the main thread included\n");
    std::printf("game   (messages, engine frame start, audio, level update): %8.1f us/frame\n",
                1e6 * timing.game / frames);
    std::printf("engine (frame end: particles, sprites, render pass, sound, present): %8.1f us/frame\n",
                1e6 * timing.engine / frames);
    std::printf("game + engine: %8.1f us/frame = %.0f frames per second of CPU time\n", 1e6 * perFrame,
                1.0 / perFrame);
    std::printf(
        "whole process while playing (every thread): %.2f s CPU, %.2f s wall (%.0f frames per second)\n",
        playCpu, playWall, frames / playWall);
    std::printf("loading: %.2f s wall, %.2f s CPU\n", loadSeconds, playCpuBefore - cpuBefore);
    std::printf("peak memory (ru_maxrss): %.1f MB\n", static_cast<double>(PeakKilobytes()) / 1024.0);
    return state == VelmoraBall::GameLogic::StateWon ? 0 : 1;
}
