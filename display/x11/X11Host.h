// The Linux host of the run on X11: the connection, the window it draws into
// (the one XScreenSaver or its settings program hands over, or one of its
// own), the GLX context, and the translation of X events. The run ends on a
// signal, on the window's end or the connection's, or on input to its own
// window.
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/SaverRun.h"
#include "display/x11/GlxContext.h"
#include "display/x11/XConnection.h"
#include "display/x11/XTargetWindow.h"
#include "shell/x11/HackOptions.h"

class X11Host : public SaverHost {
public:
    // Opens the display, takes or creates the window, makes a context current
    // and builds the scenes. stop is set by the ending signals, whose handler
    // also writes to wakeFd, so a wait ends at once. Throws Exception with a
    // one-line text that says which step failed.
    X11Host(const HackOptions& options, const volatile std::sig_atomic_t& stop, int wakeFd);

    bool pumpEvents() override;
    DeskLayout readDesk() override;
    void makeCurrent(std::size_t) override {}  // one window, its context current throughout
    void present(std::size_t) override { context.swap(); }
    void waitForEvents(std::int32_t milliseconds) override { connection.wait(milliseconds, wakeFd); }

    unsigned long window() const { return target.window; }

private:
    XConnection connection;
    XTargetWindow target;
    GlxContext context;
    // Read once: asking RandR again may probe every output, which takes long.
    double hertz;
    std::vector<std::uint8_t> glowFile;
    TextureImage glowImage;
    const volatile std::sig_atomic_t& stop;
    int wakeFd;
    bool ending = false;

public:
    // Last, so that it goes first: the scenes' textures while the context is current.
    SaverRun run;
};
