// The cost of one engine frame (BeginFrame and Tick) on the offscreen GL context: with an empty scene, the
// budget every later layer of the game adds its own work to. The second size also streams music, so the
// sound service's share of a frame is measured with it; the third adds lit boxes and particles drawn
// through the device.
#define GL_GLEXT_PROTOTYPES 1
#include "engine/core/Engine.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/ParticleSystem.h"
#include "engine/graphics/ParticleSystemManager.h"
#include "engine/graphics/RenderSystem.h"
#include "engine/sound/Sound.h"
#include "engine/sound/SoundManager.h"
#include "platform/win/Events.h"
#include "platform/win/WindowSimulation.h"
#include "tools/formats/OggWriter.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

// Every allocation of the process is counted, so the benchmark can report what a frame allocates: a steady
// frame should need none.
std::atomic<uint64_t> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

// The replacement pair is malloc and free; the compiler cannot see that new and delete here match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

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
    const bool music = state.range(0) != 0;
    if (music) {
        // Ten seconds of stereo: more than a static buffer holds, so it streams and refills every frame.
        std::vector<int16_t> samples(2 * 22050 * 10);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(8000 * std::sin(0.05 * static_cast<double>(i / 2)));
        VbFormats::OggWriter(2, 22050).Save(dir + "/data/audio/music.ogg", samples);
        params.baseDirectory = dir;
        params.usePacks = false;
        params.dataDirectory = "data";
    }
    // The offscreen desktop is 1024 x 768, and a window must be smaller than the desktop's work area: a
    // larger simulated desktop lets the window have the size asked for.
    platform::sim::SetDesktopMode(1600, 1200, 32);
    platform::sim::SetWorkArea({0, 0, 1600, 1200});
    OrvexEngine::Engine engine(params);
    OrvexEngine::Sound* sound = nullptr;
    if (OrvexEngine::SoundManager* sounds = OrvexEngine::SoundManager::Instance();
        music && sounds != nullptr) {
        sound = sounds->CreateSound("audio\\music.ogg", false);
        sound->SetLooping(true);
        sounds->Play(sound, true);
    }
    // Argument 2: fifty lit boxes in front of the default camera, one point light and a looping particle
    // system (its sprites are born, moved, rebuilt and die every frame).
    if (state.range(0) == 2) {
        auto* particles = OrvexEngine::ParticleSystemManager::Instance();
        std::unique_ptr<OrvexEngine::ParticleSystem> source(particles->NewParticleSystem(nullptr));
        OrvexEngine::ParticleSystem* fountain = particles->CreateParticleSystemCopy(*source);
        fountain->emitterPosition = OrvexEngine::Vec3(0, 0, -6);
        fountain->looping = true;
        fountain->active = true;
        OrvexEngine::LightManager::Instance()->CreateLight()->position = OrvexEngine::Vec3(0, 2, -4);
        for (int i = 0; i < 50; ++i) {
            OrvexEngine::Model* box = OrvexEngine::ModelManager::Instance()->CreateBoxModel(
                OrvexEngine::Vec3(-0.3f), OrvexEngine::Vec3(0.3f), nullptr, nullptr, 0);
            box->transform = OrvexEngine::Matrix4::Translation(
                OrvexEngine::Vec3(float(i % 10) - 4.5f, float(i / 10) - 2, -8.0f - float(i % 3)));
            box->box.SetTransform(box->transform);
        }
    }
    // Counted from the end of the first frame, which may set things up.
    uint64_t frames = 0;
    uint64_t allocationsAfterFirstFrame = 0;
    for (auto _ : state) {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        engine.BeginFrame();
        engine.Tick(0);
        if (++frames == 1)
            allocationsAfterFirstFrame = allocations.load();
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    state.SetLabel(std::to_string(viewport[2]) + "x" + std::to_string(viewport[3]));
    if (music && (sound == nullptr || sound->GetState() != OrvexEngine::SoundPlaying))
        state.SkipWithError("the music did not play");
    if (frames > 1)
        state.counters["allocations/frame"] =
            static_cast<double>(allocations.load() - allocationsAfterFirstFrame) /
            static_cast<double>(frames - 1);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    platform::sim::Reset();
}
BENCHMARK(EngineFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
