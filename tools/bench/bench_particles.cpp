// Speed of the saver's own scenes at their steady state (about 3575 live
// particles each with the built-in preset), drawn into Mesa's software GL
// with the glow bitmap the build generates, on one to three monitors of
// 1024x768 side by side: one update, one frame's drawing, and the whole
// frame. Figures of one monitor are reported per live particle. The drawing
// is also timed side by side with the one-diamond-at-a-time drawing it
// replaced, at a preview's size and two full screens'.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "display/MonitorScenes.h"
#include "resources/GlowBitmap.h"
#include "tools/bench/DrawComparison.h"

namespace {

constexpr float FrameSeconds = 1.0f / 60.0f;

// An off-screen context with the scenes set up as the saver sets them up
// (seed 1), then run past one full particle lifetime (7.15 s) so that
// emission and expiry balance.
class SteadyScenes {
public:
    explicit SteadyScenes(int monitors, bool attracting = false, int width = 1024, int height = 768)
        : pixels(static_cast<std::size_t>(width) * monitors * height * 4) {
        context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        if (context == nullptr ||
            !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, width * monitors, height)) {
            return;
        }
        resetSweepAngles();
        MonitorRect desk[3];
        for (int m = 0; m < monitors; ++m) desk[m] = {{width * m, 0, width * (m + 1), height}, m == 0};
        const TextureImage image{glow::imageSize, glow::imageSize,
                                 glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};
        scenes = std::make_unique<MonitorScenes>(&image, nullptr, 1,
                                                 layoutScreens(desk, static_cast<std::size_t>(monitors), 0, 0));
        for (std::size_t m = 0; m < scenes->count(); ++m) scenes->scene(m).particles().attract = attracting;
        for (int frame = 0; frame < 600; ++frame) step();
    }
    ~SteadyScenes() {
        scenes.reset();
        if (context != nullptr) OSMesaDestroyContext(context);
    }

    void step() {
        time += FrameSeconds;
        scenes->update(time);
    }
    int live() const { return scenes->scene(0).particles().liveCount; }

    std::unique_ptr<MonitorScenes> scenes;

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
    SteadyScenes steady(1, attracting);
    if (!steady.scenes) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    double liveTotal = 0.0;
    for (auto _ : state) {
        steady.step();
        liveTotal += steady.live();
    }
    reportPerParticle(state, liveTotal);
}

void BM_Update(benchmark::State& state) { updateBenchmark(state, false); }
void BM_UpdateAttracting(benchmark::State& state) { updateBenchmark(state, true); }

// With callsOnly, only the scene's drawing calls are timed and the
// rasterising Mesa defers is finished outside the timed part; otherwise the
// whole frame on the software rasteriser is timed.
void drawBenchmark(benchmark::State& state, bool callsOnly) {
    SteadyScenes steady(1);
    if (!steady.scenes) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    double liveTotal = 0.0;
    for (auto _ : state) {
        steady.scenes->draw();
        if (callsOnly) state.PauseTiming();
        glFinish();
        if (callsOnly) state.ResumeTiming();
        liveTotal += steady.live();
    }
    reportPerParticle(state, liveTotal);
}

void BM_DrawCalls(benchmark::State& state) { drawBenchmark(state, true); }
void BM_DrawFrame(benchmark::State& state) { drawBenchmark(state, false); }

// One frame drawn the old way and the new, alternately, on one screen of
// the argument's size; counters in milliseconds a frame.
void BM_DrawBothWays(benchmark::State& state) {
    SteadyScenes steady(1, false, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!steady.scenes) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    DrawTimes total;
    for (auto _ : state) {
        const DrawTimes times = drawBothWays(steady.scenes->scene(0));
        total.oneByOne += times.oneByOne;
        total.arrays += times.arrays;
    }
    state.counters["one_by_one_ms"] = benchmark::Counter(total.oneByOne, benchmark::Counter::kAvgIterations);
    state.counters["arrays_ms"] = benchmark::Counter(total.arrays, benchmark::Counter::kAvgIterations);
    state.counters["times_faster"] = total.oneByOne / total.arrays;
}

// The whole frame (every monitor's update, drawing and rasterising) on as
// many monitors as the argument says, with the update's share of it.
void BM_Monitors(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    SteadyScenes steady(static_cast<int>(state.range(0)));
    if (!steady.scenes) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    Clock::duration update{}, whole{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        steady.step();
        const Clock::time_point updated = Clock::now();
        steady.scenes->draw();
        glFinish();
        update += updated - start;
        whole += Clock::now() - start;
    }
    state.counters["update_share"] = static_cast<double>(update.count()) / static_cast<double>(whole.count());
}

}  // namespace

BENCHMARK(BM_Update);
BENCHMARK(BM_UpdateAttracting);
BENCHMARK(BM_DrawCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawBothWays)->Args({200, 150})->Args({1024, 768})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Monitors)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
