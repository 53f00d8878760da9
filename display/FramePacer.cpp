// Frame pacing over a steady clock. Frames are released on a grid of the
// display's refresh interval: a frame that arrives when its slot is due (a
// swap that waited for the display delivers it just then) is drawn at once,
// and one that arrives early waits out the rest. One that arrives a little
// late keeps the grid, so waits rounded up to whole milliseconds cost no
// frames; one that arrives later starts a new grid, so frames that were not
// drawn are never made up by a burst.
#include "display/FramePacer.h"

#include <cmath>

namespace {

constexpr double defaultHertz = 60.0;

// How early a frame may come and still be drawn at once. A swap that waits
// for the display returns a little earlier or later each time; waiting out
// such a sliver would only risk missing the next refresh, and on systems
// whose waits are coarse it would cost a whole one. The grid still advances
// by full intervals, so frames never come faster than the display on average.
constexpr double earlyShare = 0.125;
// How late a frame may come and keep its place on the grid.
constexpr double lateShare = 0.5;

bool usableRate(double hertz) { return hertz >= 2.0 && hertz <= 1000.0; }

}  // namespace

FramePacer::FramePacer(double hertz) { setRefreshRate(hertz); }

void FramePacer::setRefreshRate(double hertz) { interval = 1.0 / (usableRate(hertz) ? hertz : defaultHertz); }

void FramePacer::observe(SaverEvent event) {
    switch (event) {
    case SaverEvent::DisplayOff: displayOn = false; break;
    case SaverEvent::DisplayOn: displayOn = true; break;
    case SaverEvent::SessionAway: sessionHere = false; break;
    case SaverEvent::SessionBack: sessionHere = true; break;
    case SaverEvent::HostHidden: hostShown = false; break;
    case SaverEvent::HostShown: hostShown = true; break;
    default: break;
    }
}

PaceDecision FramePacer::next(double now) const {
    if (!anyoneCanSee()) {
        return {PaceDecision::Kind::WaitForMessages, 0};
    }
    const double early = due - now;
    if (!started || early <= interval * earlyShare) {
        return {PaceDecision::Kind::DrawNow, 0};
    }
    // Rounded up: a wait that ends before the slot would only ask again. A
    // clock that went back leaves at most one interval to wait, not the
    // distance it jumped.
    const double wait = std::ceil(std::fmin(early, interval) * 1000.0);
    return {PaceDecision::Kind::WaitUpTo, static_cast<std::uint32_t>(wait)};
}

void FramePacer::frameDrawn(double now) {
    const bool onGrid = started && now < due + interval * lateShare;
    due = (onGrid ? due : now) + interval;
    started = true;
}
