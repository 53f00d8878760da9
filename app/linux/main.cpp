// The entry point of lumra, the Linux program, and its composition root:
// reads the command line into the settings, chooses the host (Wayland's own
// windows when a compositor is there and no X window is asked for, else X11:
// the window XScreenSaver names, or its own), and turns a start-up failure
// into one line on stderr and a non-zero exit. Programs that run savers end
// them with a signal, so SIGTERM, SIGINT and SIGHUP end the run as cleanly as
// the window's end.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "display/wayland/WaylandHost.h"
#include "display/x11/X11Host.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "shell/x11/CommandLineStore.h"
#include "shell/x11/HackOptions.h"

namespace {

constexpr int usageExitCode = 2;
constexpr int failureExitCode = 1;

volatile std::sig_atomic_t stopRequested = 0;
int wakePipe[2] = {-1, -1};

// Wakes the frame loop wherever it waits; the write end never blocks.
void requestStop(int) {
    stopRequested = 1;
    const char byte = 0;
    if (wakePipe[1] >= 0) {
        const ssize_t ignored = write(wakePipe[1], &byte, 1);
        (void)ignored;
    }
}

void catchEndingSignals() {
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe[0] = wakePipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    // A write to a server that has gone fails instead, and the loss is
    // handled as a loss, not a death by signal.
    std::signal(SIGPIPE, SIG_IGN);
}

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Every X11 program that runs savers names an X window, or an X display.
bool onWayland(const HackOptions& options) {
    return set("WAYLAND_DISPLAY") && options.target != HackTarget::WindowId && options.display.empty() &&
           !set("XSCREENSAVER_WINDOW");
}

template <typename Host>
void runOn(const HackOptions& options) {
    Host host(options, stopRequested, wakePipe[0]);
    while (host.run.frameStep() != 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    catchEndingSignals();
    CommandLineStore store;
    const HackParse parsed = parseHackOptions(argc, argv, store);
    if (!parsed.ok) {
        std::fprintf(stderr, "lumra: %s\n", parsed.error.c_str());
        return usageExitCode;
    }
    if (parsed.options.help) {
        printHackHelp(stdout);
        return 0;
    }
    // The preview of the settings program is the preview of Windows: the same
    // effect at the preview's rate of emission.
    RunMode = parsed.options.target == HackTarget::WindowId ? Mode::Preview : Mode::Saver;

    SaverSettings settings(store);
    settings.loadSystemValues();
    settings.load();
    globalSettings = &settings;
    const bool wayland = onWayland(parsed.options);
    int status = 0;
    try {
        if (wayland) {
            runOn<WaylandHost>(parsed.options);
        } else {
            runOn<X11Host>(parsed.options);
        }
    } catch (const Exception& error) {
        const char* display = wayland                         ? std::getenv("WAYLAND_DISPLAY")
                              : parsed.options.display.empty() ? std::getenv("DISPLAY")
                                                               : parsed.options.display.c_str();
        std::fprintf(stderr, "lumra: %s (%s display '%s')\n", error.message(), wayland ? "Wayland" : "X",
                     quotedValue(display != nullptr ? display : "").c_str());
        status = failureExitCode;
    }
    globalSettings = nullptr;
    return status;
}
