// What a host owes the run that draws in it: the few calls through which the
// portable frame loop reaches a window system. A host translates; every
// decision (when to draw, how long to wait, when to end, which scenes stay)
// is the run's. docs/architecture.md lists the calls in the order they come.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/ScreenLayout.h"

class SaverHost {
public:
    virtual ~SaverHost() = default;

    // Translates what the system has said into SaverEvents handed to the run
    // (SaverRun::handle), and carries out the answers, never waiting: at most
    // one message where each is answered in turn (Windows), else all that
    // wait. False once the run must end: the quit taken, a signal, the
    // window or the connection gone, or an answer that ends it.
    virtual bool pumpEvents() = 0;
    // The surfaces and the monitors on each, as they are now; read once the
    // context is current and again after every DeskChanged. The host moves or
    // resizes its windows to match.
    virtual DeskLayout readDesk() = 0;
    // Whether surface can take a frame now. A compositor that says when with
    // a callback answers false from a frame's present until that callback.
    virtual bool surfaceReady(std::size_t surface) {
        (void)surface;
        return true;
    }
    // The context made current on surface, and the frame drawn there shown.
    virtual void makeCurrent(std::size_t surface) = 0;
    virtual void present(std::size_t surface) = 0;
    // Sleeps until something happens or milliseconds pass, without a limit
    // when negative; returns at once when something already waits.
    virtual void waitForEvents(std::int32_t milliseconds) = 0;
};
