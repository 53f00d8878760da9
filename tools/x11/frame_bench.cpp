// The whole frame of the Linux program, unpaced: lumra's own host drawing
// into the root window of $DISPLAY (one picture per monitor), timed over
// MEASURE seconds after WARMUP seconds that bring the particles to their
// steady number. Prints one line: monitors, frames, milliseconds a frame.
// Then, for 3 s, the first monitor's frame drawn both ways, the drawing the
// program had before (one diamond at a time) and its own, each finished.
#include <cstdio>
#include <cstdlib>

#include "display/SteadyClock.h"
#include "display/x11/X11Host.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "shell/x11/CommandLineStore.h"
#include "tools/bench/DrawComparison.h"

namespace {

double seconds() { return static_cast<double>(steadyClock().counter()) * 1e-9; }

// Every pass a frame, as fast as the host draws and swaps.
int framesFor(X11Host& host, double duration) {
    const double end = seconds() + duration;
    int frames = 0;
    while (seconds() < end && host.pumpEvents()) {
        host.run.timer.tick();
        host.run.drawSurface(0);
        ++frames;
    }
    return frames;
}

}  // namespace

int main(int argc, char** argv) {
    const double measure = argc > 1 ? std::atof(argv[1]) : 10.0;
    const double warmUp = argc > 2 ? std::atof(argv[2]) : 7.5;
    CommandLineStore store;
    SaverSettings settings(store);
    settings.loadSystemValues();
    settings.load();
    globalSettings = &settings;
    RunMode = Mode::Saver;
    try {
        HackOptions options;
        options.target = HackTarget::Root;
        const volatile std::sig_atomic_t never = 0;
        X11Host host(options, never, -1);
        framesFor(host, warmUp);
        const double start = seconds();
        const int frames = framesFor(host, measure);
        const double took = seconds() - start;
        std::printf("monitors %zu frames %d seconds %.2f ms/frame %.2f fps %.1f\n", host.run.scenes().count(), frames,
                    took, 1000.0 * took / frames, frames / took);
        Scene& first = host.run.scenes().scene(0);
        printDrawTimes("lumra, first monitor", first, compareDrawing(first, 3.0));
    } catch (const Exception& error) {
        std::fprintf(stderr, "frame_bench_x11: %s\n", error.message());
        return 1;
    }
    return 0;
}
