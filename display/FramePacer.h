// When the frame loop draws its next frame: now, after a wait for the rest of
// the display's refresh interval (answering messages meanwhile), or not until
// something can be seen again. The host carries the answer out with the wait
// its platform has, and reports what it learns (display power, session,
// whether its host window shows) as SaverEvents.
#pragma once

#include <cstdint>

#include "display/SaverEvent.h"

struct PaceDecision {
    enum class Kind {
        DrawNow,          // a frame is owed: draw it
        WaitUpTo,         // wait for a message, at most milliseconds, then ask again
        WaitForMessages,  // nobody can see a frame: wait for a message, however long
    };
    Kind kind = Kind::DrawNow;
    std::uint32_t milliseconds = 0;  // WaitUpTo only; never 0
};

class FramePacer {
public:
    // hertz as the display settings report it; anything unusable (0 and 1 are
    // how Windows says "the hardware's default") counts as 60.
    explicit FramePacer(double hertz = 0.0);

    void setRefreshRate(double hertz);
    double frameInterval() const { return interval; }

    // Takes the visibility events (display off or on, session away or back,
    // host hidden or shown); every other event leaves the pacer as it is.
    void observe(SaverEvent event);
    bool anyoneCanSee() const { return displayOn && sessionHere && hostShown; }

    // now: seconds on a steady clock, the same one for every call.
    PaceDecision next(double now) const;
    // The frame owed at now is being drawn.
    void frameDrawn(double now);

private:
    double interval = 1.0 / 60.0;
    double due = 0.0;
    bool started = false;
    bool displayOn = true;
    bool sessionHere = true;
    bool hostShown = true;
};
