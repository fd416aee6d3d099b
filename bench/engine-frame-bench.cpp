// The cost of one engine frame (BeginFrame and Tick with an empty scene) on the offscreen GL context:
// the budget every later layer of the game adds its own work to.
#include "engine/core/Engine.h"
#include "platform/win/Events.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void EngineFrame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-engine-bench").string();
    OrvexEngine::EngineStartupParams params;
    params.title = "Engine Bench";
    params.version = 100;
    params.configDirectory = dir;
    params.defaultVideoMode = state.range(0) == 0 ? "800x600x32" : "1024x768x32";
    OrvexEngine::Engine engine(params);
    for (auto _ : state) {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        engine.BeginFrame();
        engine.Tick(0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(EngineFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
