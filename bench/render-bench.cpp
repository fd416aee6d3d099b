// The cost of a frame of lit boxes drawn through the engine, beside the same boxes drawn by a plain
// fixed-function OpenGL loop in a window of the same size, in the same process and driver: N = 50, 150 and
// 1000 boxes at 1024 x 768, the two taking turns for two rounds, then frame by frame in turns. The end prints
// the best frame time of each run, the median of the frames taken in turns, and the ratios engine / plain
// (1 means the engine adds nothing). The size drawn is each run's label.
#define GL_GLEXT_PROTOTYPES 1
#include "engine/core/Engine.h"
#include "engine/core/Window.h"
#include "engine/graphics/Light.h"
#include "engine/graphics/LightManager.h"
#include "engine/graphics/Model.h"
#include "engine/graphics/ModelManager.h"
#include "engine/graphics/RenderSystem.h"
#include "platform/win/Events.h"
#include "platform/win/WindowSimulation.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int width = 1024;
constexpr int height = 768;
constexpr float halfSize = 0.3f;

std::string Size(int w, int h) {
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", w, h);
    return text;
}

// Where box i of n stands: rows of 10 in front of the camera, three depths, so that boxes overlap.
OrvexEngine::Vec3 BoxPosition(int i, int n) {
    const int rows = (n + 9) / 10;
    const float spread = 10.0f / static_cast<float>(std::max(rows, 5));
    return OrvexEngine::Vec3(static_cast<float>(i % 10) - 4.5f,
                             (static_cast<float>(i / 10) - static_cast<float>(rows - 1) / 2) * spread,
                             -8.0f - static_cast<float>(i % 3));
}

// The engine with n boxes and one point light, made once per box count and kept for the rounds.
struct EngineScene {
    explicit EngineScene(int n) {
        OrvexEngine::EngineStartupParams params;
        params.title = "Render Bench";
        params.version = 100;
        params.configDirectory = (std::filesystem::temp_directory_path() / "velmora-render-bench").string();
        params.defaultVideoMode = Size(width, height) + "x32";
        engine = std::make_unique<OrvexEngine::Engine>(params);
        // The lamp lights as the plain loop's does: a light's own ambient (white unless set) would add the
        // material's whole ambient colour to every face and wash the boxes out to a flat white.
        OrvexEngine::Light* lamp = OrvexEngine::LightManager::Instance()->CreateLight();
        lamp->position = OrvexEngine::Vec3(0, 2, -4);
        lamp->ambient = OrvexEngine::Vec4(0, 0, 0, 1);
        for (int i = 0; i < n; ++i) {
            OrvexEngine::Model* box = OrvexEngine::ModelManager::Instance()->CreateBoxModel(
                OrvexEngine::Vec3(-halfSize), OrvexEngine::Vec3(halfSize), nullptr, nullptr, 0);
            box->transform = OrvexEngine::Matrix4::Translation(BoxPosition(i, n));
            box->box.SetTransform(box->transform);
        }
        // The device's projection follows the camera one update later: the second frame has the camera's.
        Frame();
        Frame();
        // The matrices the device used, for the plain loop: the projection as it is, and the view as the
        // model-view of a model at the origin (the boxes are drawn nearest first, so the last one drawn is
        // not known).
        glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
        OrvexEngine::RenderSystem::Instance()->SetWorldMatrix(OrvexEngine::Matrix4::Identity());
        glGetFloatv(GL_MODELVIEW_MATRIX, view.data());
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        drawnWidth = viewport[2];
        drawnHeight = viewport[3];
    }
    void Frame() {
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message)) {
            platform::TranslateWindowMessage(message);
            platform::DispatchWindowMessage(message);
        }
        engine->BeginFrame();
        engine->Tick(0);
    }

    std::unique_ptr<OrvexEngine::Engine> engine;
    std::array<float, 16> projection{};
    std::array<float, 16> view{};
    int drawnWidth = 0;
    int drawnHeight = 0;
};

// A window and context of its own, drawing the same boxes with the same matrices and one light, as a
// program that calls OpenGL directly would: client-side arrays, one draw per box, a swap per frame.
struct PlainScene {
    PlainScene(const EngineScene& scene, int n) : count(n), projection(scene.projection), view(scene.view) {
        // The depth and stencil buffers the engine's window has, so that both draw into the same format.
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
        window = SDL_CreateWindow("plain", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        context = SDL_GL_CreateContext(window);
        SDL_GL_MakeCurrent(window, context);
        SDL_GL_SetSwapInterval(0);
        // 24 vertices (4 per face, with the face's normal) and 36 indices, each face wound counter-clockwise
        // seen from outside: its two edge directions a and b have a x b = the normal.
        struct Face {
            float normal[3], a[3], b[3];
        };
        const Face faces[] = {
            {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
            {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
            {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
        };
        for (const Face& f : faces) {
            const auto base = static_cast<uint16_t>(vertices.size() / 6);
            for (int corner = 0; corner < 4; ++corner) {
                const float u = (corner & 1) != 0 ? 1.0f : -1.0f;
                const float v = (corner & 2) != 0 ? 1.0f : -1.0f;
                for (int k = 0; k < 3; ++k)
                    vertices.push_back(halfSize * (f.normal[k] + u * f.a[k] + v * f.b[k]));
                vertices.insert(vertices.end(), {f.normal[0], f.normal[1], f.normal[2]});
            }
            for (uint16_t index : {0, 1, 3, 0, 3, 2})
                indices.push_back(static_cast<uint16_t>(base + index));
        }
        glViewport(0, 0, width, height);
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_NORMALIZE);
        glShadeModel(GL_SMOOTH);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(view.data());
        const GLfloat lamp[4] = {0, 2, -4, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, lamp);
        // The engine's scene: no ambient light, its default material (ambient 0.6, diffuse white).
        const GLfloat black[4] = {0, 0, 0, 1};
        const GLfloat grey[4] = {0.6f, 0.6f, 0.6f, 1};
        const GLfloat white[4] = {1, 1, 1, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, grey);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 24, vertices.data());
        glNormalPointer(GL_FLOAT, 24, vertices.data() + 3);
    }
    ~PlainScene() {
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
    }
    void Frame() {
        SDL_GL_MakeCurrent(window, context);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < count; ++i) {
            const OrvexEngine::Vec3 p = BoxPosition(i, count);
            glLoadMatrixf(view.data());
            glTranslatef(p.x, p.y, p.z);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                           indices.data());
        }
        SDL_GL_SwapWindow(window);
    }

    int count;
    std::array<float, 16> projection;
    std::array<float, 16> view;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    std::vector<float> vertices;
    std::vector<uint16_t> indices;
};

// One engine per process: the scenes for every count are made in turn, so the engine is remade per count.
std::map<int, std::unique_ptr<EngineScene>> engines;
std::map<int, std::unique_ptr<PlainScene>> plains;

EngineScene& EngineFor(int n) {
    if (engines.count(n) == 0) {
        plains.clear();
        engines.clear();
        engines[n] = std::make_unique<EngineScene>(n);
        plains[n] = std::make_unique<PlainScene>(*engines[n], n);
    }
    return *engines[n];
}

void EngineFrames(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    EngineScene& scene = EngineFor(n);
    // Each frame is counted to the end of its drawing, which the rasteriser's threads may still be doing.
    for (auto _ : state) {
        scene.Frame();
        glFinish();
    }
    state.SetLabel(Size(scene.drawnWidth, scene.drawnHeight));
}

void PlainFrames(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    EngineFor(n);
    PlainScene& scene = *plains[n];
    for (auto _ : state) {
        scene.Frame();
        glFinish();
    }
    state.SetLabel(Size(width, height));
}

double ProcessMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

double Median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2),
                     values.end());
    return values[values.size() / 2];
}

// The median CPU time of the process per frame for each count, from PairedFrames.
struct Paired {
    double engine = 0;
    double plain = 0;
};
std::map<int, Paired> paired;

// An engine frame and a plain frame one after the other, in turns, each timed by the process's CPU clock:
// on a shared machine the load moves more between two runs than the difference being measured, while two
// frames in a row see the same load. The medians are reported, so that a frame delayed by the machine counts
// for no more than one.
void PairedFrames(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    EngineScene& engine = EngineFor(n);
    PlainScene& plain = *plains[n];
    std::vector<double> engineTimes;
    std::vector<double> plainTimes;
    engineTimes.reserve(4096);
    plainTimes.reserve(4096);
    bool engineFirst = true;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool engineTurn = (turn == 0) == engineFirst;
            const double start = ProcessMilliseconds();
            engineTurn ? engine.Frame() : plain.Frame();
            // The rasteriser's threads may still be drawing the frame: it is counted when they are done.
            glFinish();
            (engineTurn ? engineTimes : plainTimes).push_back(ProcessMilliseconds() - start);
        }
        engineFirst = !engineFirst;
    }
    Paired& result = paired[n];
    result.engine = Median(engineTimes);
    result.plain = Median(plainTimes);
    state.counters["engine_ms"] = result.engine;
    state.counters["plain_ms"] = result.plain;
    state.counters["ratio"] = result.engine / result.plain;
    state.SetLabel(Size(engine.drawnWidth, engine.drawnHeight));
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            Best& b = best[run.benchmark_name()];
            b.cpu = std::min(b.cpu, run.GetAdjustedCPUTime());
            b.real = std::min(b.real, run.GetAdjustedRealTime());
        }
    }
    void PrintRatios() const {
        std::printf("\nBest time per frame (ms) at %dx%d; ratio = engine / plain:\n", width, height);
        for (int n : {50, 150, 1000}) {
            char engineName[32];
            char plainName[32];
            std::snprintf(engineName, sizeof engineName, "EngineFrames/%d/process_time", n);
            std::snprintf(plainName, sizeof plainName, "PlainFrames/%d/process_time", n);
            auto e = best.find(engineName);
            auto p = best.find(plainName);
            if (e == best.end() || p == best.end())
                continue;
            std::printf(
                "  %4d boxes   CPU of the process: engine %7.3f plain %7.3f ratio %.2f   wall: engine %7.3f "
                "plain %7.3f ratio %.2f\n",
                n, e->second.cpu, p->second.cpu, e->second.cpu / p->second.cpu, e->second.real,
                p->second.real, e->second.real / p->second.real);
        }
        std::printf("\nMedian CPU time of the process per frame (ms), frames in turns at %dx%d:\n", width,
                    height);
        for (const auto& [n, result] : paired)
            std::printf("  %4d boxes   engine %7.3f plain %7.3f ratio %.2f\n", n, result.engine, result.plain,
                        result.engine / result.plain);
    }

private:
    struct Best {
        double cpu = 1e30;
        double real = 1e30;
    };
    std::map<std::string, Best> best;
};

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A desktop larger than the window, so that the 1024 x 768 window mode is granted as asked.
    platform::sim::SetDesktopMode(1600, 1200, 32);
    platform::sim::SetWorkArea({0, 0, 1600, 1200});
    for (int n : {50, 150, 1000})
        for (int round = 0; round < 2; ++round) {
            // The rasteriser of a software driver works in threads of its own: the process's CPU time counts
            // them, the calling thread's would not.
            benchmark::RegisterBenchmark("EngineFrames", EngineFrames)
                ->Arg(n)
                ->MeasureProcessCPUTime()
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark("PlainFrames", PlainFrames)
                ->Arg(n)
                ->MeasureProcessCPUTime()
                ->Unit(benchmark::kMillisecond);
        }
    for (int n : {50, 150, 1000})
        benchmark::RegisterBenchmark("PairedFrames", PairedFrames)
            ->Arg(n)
            ->MeasureProcessCPUTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    plains.clear();
    engines.clear();
    benchmark::Shutdown();
    return 0;
}
