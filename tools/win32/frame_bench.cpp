// Frame benchmark: runs the saver's scenes full-screen, on every monitor, for
// a fixed time and prints the frame rate and how a frame's time divides
// between the message pump, the particle update, the drawing calls and the
// buffer swap.
//   frame_bench [SECONDS]   (default 10)
// Measuring starts once the pool has reached its steady population (one
// particle lifetime, 7.15 s, after the start), so the figures are those of
// the running saver rather than of its first seconds.
// With a software renderer the drawing calls only queue work; rasterising
// happens when the frame is flushed, so it is counted in the swap.
// Then, for 3 s, the primary's frame is drawn both ways, the drawing the
// product had before (one diamond at a time) and its own, each finished.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "display/win32/SaverScene.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "tools/bench/DrawComparison.h"

namespace {

// Settings at their defaults, without touching the registry.
class DefaultsOnly : public SettingsStore {
public:
    Status openKey(const char*, Key&) override { return NotFound; }
    Status readValue(Key, const char*, void*, std::uint32_t, std::uint32_t&) override {
        return NotFound;
    }
    Status createKey(const char*, Key&) override { return NotFound; }
    Status writeValue(Key, const char*, Kind, const void*, std::uint32_t) override {
        return NotFound;
    }
    void closeKey(Key) override {}
};

using Clock = std::chrono::steady_clock;

constexpr float warmUpSeconds = 7.5f;

double secondsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

class BenchScene : public SaverScene {
public:
    struct Totals {
        long frames = 0;
        double pump = 0, update = 0, draw = 0, swap = 0;
    };

    // Runs frames until seconds have passed or the window is closed.
    Totals measure(double seconds) {
        Totals totals;
        while (run.timer.elapsedSeconds() < warmUpSeconds) {
            if (frameStep() == 0) {
                return totals;
            }
        }
        const Clock::time_point start = Clock::now();
        while (secondsBetween(start, Clock::now()) < seconds) {
            const Clock::time_point t0 = Clock::now();
            run.timer.tick();
            if (pumpMessages() == 0) {
                break;
            }
            const Clock::time_point t1 = Clock::now();
            run.scenes().update(run.timer.elapsedSecondsPrecise());
            const Clock::time_point t2 = Clock::now();
            run.scenes().draw();
            const Clock::time_point t3 = Clock::now();
            present(0);
            const Clock::time_point t4 = Clock::now();
            totals.pump += secondsBetween(t0, t1);
            totals.update += secondsBetween(t1, t2);
            totals.draw += secondsBetween(t2, t3);
            totals.swap += secondsBetween(t3, t4);
            ++totals.frames;
        }
        return totals;
    }

    Scene& primary() { return run.scenes().scene(0); }
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    moduleInstance = reinterpret_cast<NativeHandle>(GetModuleHandleA(nullptr));
    RunMode = Mode::Saver;
    DefaultsOnly store;
    SaverSettings settings(store);
    settings.loadSystemValues();
    settings.load();
    globalSettings = &settings;

    try {
        BenchScene scene;
        const BenchScene::Totals t = scene.measure(seconds);
        const double total = t.pump + t.update + t.draw + t.swap;
        std::printf("%d monitor(s), primary %dx%d, all %dx%d, %.1f s, %ld frames\n",
                    GetSystemMetrics(SM_CMONITORS), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                    GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), total, t.frames);
        if (t.frames > 0 && total > 0) {
            std::printf("frames per second: %.1f\n", t.frames / total);
            std::printf("per frame: %.3f ms (pump %.1f%%, update %.1f%%, draw %.1f%%, swap %.1f%%)\n",
                        1000.0 * total / t.frames, 100.0 * t.pump / total, 100.0 * t.update / total,
                        100.0 * t.draw / total, 100.0 * t.swap / total);
        }
        char where[64];
        std::snprintf(where, sizeof where, "primary %dx%d", GetSystemMetrics(SM_CXSCREEN),
                      GetSystemMetrics(SM_CYSCREEN));
        printDrawTimes(where, scene.primary(), compareDrawing(scene.primary(), 3.0));
    } catch (const Exception& e) {
        std::fprintf(stderr, "frame_bench: %s\n", e.message());
        globalSettings = nullptr;
        return 1;
    }
    globalSettings = nullptr;
    return 0;
}
