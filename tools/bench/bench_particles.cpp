// Speed of the particle engine at its steady state (about 3575 live
// particles with the built-in preset): one update, and one draw into Mesa's
// software GL with the scene's texture, blending and projection. Figures
// are reported per live particle.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "particles/ParticleSystem.h"
#include "particles/Random.h"

namespace {

constexpr float FrameSeconds = 1.0f / 60.0f;

// Built as the scene builds it, then run past one full lifetime (7.15 s)
// so that emission and expiry balance.
std::unique_ptr<ParticleSystem> steadySystem(bool attracting, float& time) {
    lumra::srand(1);
    resetSweepAngles();
    auto system = std::make_unique<ParticleSystem>();
    system->applyPreset(0);
    system->attract = attracting;
    system->camera.angles = Vector3(20, 0, 0);
    system->camera.position = Vector3(0, 55, 120);
    time = 0.0f;
    for (int frame = 0; frame < 600; ++frame) {
        time += FrameSeconds;
        system->update(time);
    }
    return system;
}

void reportPerParticle(benchmark::State& state, double liveTotal) {
    state.counters["live"] = benchmark::Counter(liveTotal, benchmark::Counter::kAvgIterations);
    state.counters["per_live"] =
        benchmark::Counter(liveTotal, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void updateBenchmark(benchmark::State& state, bool attracting) {
    float time = 0.0f;
    auto system = steadySystem(attracting, time);
    double liveTotal = 0.0;
    for (auto _ : state) {
        time += FrameSeconds;
        system->update(time);
        liveTotal += system->liveCount;
    }
    reportPerParticle(state, liveTotal);
}

void BM_Update(benchmark::State& state) { updateBenchmark(state, false); }
void BM_UpdateAttracting(benchmark::State& state) { updateBenchmark(state, true); }

// A screen-sized off-screen context with the state the scene sets once.
class SceneContext {
public:
    SceneContext(int width, int height) : pixels(static_cast<std::size_t>(width) * height * 4) {
        context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        if (context == nullptr ||
            !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, width, height)) {
            return;
        }
        ready = true;
        std::vector<std::uint8_t> glow(64 * 64 * 3);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const double d = std::hypot(x - 31.5, y - 31.5);
                const auto grey = static_cast<std::uint8_t>(d >= 42.0 ? 0.0 : 253.0 * std::exp(-d * d / 300.0));
                for (int c = 0; c < 3; ++c) glow[(y * 64 + x) * 3 + c] = grey;
            }
        }
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, glow.data());
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_SMOOTH);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-4, 4, -2.7042250633239746, 2.7042250633239746, 4, 4096);
        glMatrixMode(GL_MODELVIEW);
    }
    ~SceneContext() {
        if (context != nullptr) OSMesaDestroyContext(context);
    }

    void beginFrame(const ParticleSystem& system) const {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        const Vector3& p = system.camera.position;
        glTranslatef(-p.x, -p.y, -p.z);
        glTranslatef(0.0f, 0.0f, -450.0f);
    }

    bool ready = false;

private:
    OSMesaContext context = nullptr;
    std::vector<std::uint8_t> pixels;
};

// Draws 1024x768 frames at the steady state. With callsOnly, only the calls
// are timed and the rasterising Mesa defers is finished outside the timed
// part; otherwise the whole frame on the software rasteriser is timed.
void renderBenchmark(benchmark::State& state, bool callsOnly) {
    SceneContext scene(1024, 768);
    if (!scene.ready) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    float time = 0.0f;
    auto system = steadySystem(false, time);
    double liveTotal = 0.0;
    for (auto _ : state) {
        if (callsOnly) state.PauseTiming();
        scene.beginFrame(*system);
        if (callsOnly) state.ResumeTiming();
        system->render();
        if (callsOnly) state.PauseTiming();
        glFinish();
        if (callsOnly) state.ResumeTiming();
        liveTotal += system->liveCount;
    }
    reportPerParticle(state, liveTotal);
}

void BM_RenderCalls(benchmark::State& state) { renderBenchmark(state, true); }
void BM_RenderFrame(benchmark::State& state) { renderBenchmark(state, false); }

}  // namespace

BENCHMARK(BM_Update);
BENCHMARK(BM_UpdateAttracting);
BENCHMARK(BM_RenderCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
