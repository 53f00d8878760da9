// Speed of the saver's own scene at its steady state (about 3575 live
// particles with the built-in preset), drawn into Mesa's software GL at
// 1024x768 with the glow bitmap the build generates: one update, and one
// frame's drawing. Figures are reported per live particle.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/Scene.h"
#include "tools/generators/GlowBitmap.h"

namespace {

constexpr float FrameSeconds = 1.0f / 60.0f;
constexpr int Width = 1024;
constexpr int Height = 768;

// An off-screen context with the scene set up as the saver sets it up (seed
// 1), then run past one full particle lifetime (7.15 s) so that emission
// and expiry balance.
class SteadyScene {
public:
    explicit SteadyScene(bool attracting) : pixels(static_cast<std::size_t>(Width) * Height * 4) {
        context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        if (context == nullptr || !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, Width, Height)) {
            return;
        }
        resetSweepAngles();
        const TextureImage image{glow::imageSize, glow::imageSize,
                                 glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};
        scene = std::make_unique<Scene>(&image, nullptr, 1);
        scene->reshape(0, 0, Width, Height);
        scene->particles().attract = attracting;
        for (int frame = 0; frame < 600; ++frame) step();
    }
    ~SteadyScene() {
        scene.reset();
        if (context != nullptr) OSMesaDestroyContext(context);
    }

    void step() {
        time += FrameSeconds;
        scene->update(time);
    }

    std::unique_ptr<Scene> scene;

private:
    OSMesaContext context = nullptr;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> glowFile = glow::makeGlowBitmapFile();
    float time = 0.0f;
};

void reportPerParticle(benchmark::State& state, double liveTotal) {
    state.counters["live"] = benchmark::Counter(liveTotal, benchmark::Counter::kAvgIterations);
    state.counters["per_live"] =
        benchmark::Counter(liveTotal, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void updateBenchmark(benchmark::State& state, bool attracting) {
    SteadyScene steady(attracting);
    if (!steady.scene) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    double liveTotal = 0.0;
    for (auto _ : state) {
        steady.step();
        liveTotal += steady.scene->particles().liveCount;
    }
    reportPerParticle(state, liveTotal);
}

void BM_Update(benchmark::State& state) { updateBenchmark(state, false); }
void BM_UpdateAttracting(benchmark::State& state) { updateBenchmark(state, true); }

// With callsOnly, only the scene's drawing calls are timed and the
// rasterising Mesa defers is finished outside the timed part; otherwise the
// whole frame on the software rasteriser is timed.
void drawBenchmark(benchmark::State& state, bool callsOnly) {
    SteadyScene steady(false);
    if (!steady.scene) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    double liveTotal = 0.0;
    for (auto _ : state) {
        steady.scene->draw();
        if (callsOnly) state.PauseTiming();
        glFinish();
        if (callsOnly) state.ResumeTiming();
        liveTotal += steady.scene->particles().liveCount;
    }
    reportPerParticle(state, liveTotal);
}

void BM_DrawCalls(benchmark::State& state) { drawBenchmark(state, true); }
void BM_DrawFrame(benchmark::State& state) { drawBenchmark(state, false); }

}  // namespace

BENCHMARK(BM_Update);
BENCHMARK(BM_UpdateAttracting);
BENCHMARK(BM_DrawCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
