#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "display/FramePacer.h"

namespace {

using Kind = PaceDecision::Kind;

// A frame loop run against simulated time the way a host runs it: ask, then
// draw (which costs drawSeconds, and with a swap that waits for the display
// also the rest of the refresh it lands in) or wait the time asked for.
struct LoopRun {
    int frames = 0;
    int waits = 0;
    double shortestGap = 1e9;  // between two frames' starts
};

LoopRun runFor(FramePacer& pacer, double seconds, double drawSeconds, double displayHertz = 0.0, double start = 0.0) {
    LoopRun run;
    double t = start;
    double lastFrame = -1.0;
    while (t < start + seconds) {
        const PaceDecision decision = pacer.next(t);
        if (decision.kind == Kind::WaitUpTo) {
            EXPECT_GE(decision.milliseconds, 1u);
            ++run.waits;
            t += decision.milliseconds / 1000.0;
            continue;
        }
        EXPECT_EQ(decision.kind, Kind::DrawNow);
        pacer.frameDrawn(t);
        if (lastFrame >= 0.0) run.shortestGap = std::fmin(run.shortestGap, t - lastFrame);
        lastFrame = t;
        ++run.frames;
        t += drawSeconds;
        if (displayHertz > 0.0) {
            // The swap returns just after the next refresh, a little late or early each time.
            const double refresh = 1.0 / displayHertz;
            t = (std::floor(t / refresh) + 1.0) * refresh + ((run.frames % 3) - 1) * 0.0003;
        }
    }
    return run;
}

// Where the swap does not wait, a cheap frame is held to the display's rate
// (60 Hz when the rate is unknown), never busy, and the frames keep coming.
TEST(FramePacer, HoldsAnUnpacedLoopToTheRefreshRate) {
    const struct { double reported, expected; } rates[] = {
        {0.0, 60.0}, {1.0, 60.0}, {-5.0, 60.0}, {std::numeric_limits<double>::quiet_NaN(), 60.0},
        {1e9, 60.0}, {60.0, 60.0}, {75.0, 75.0}, {144.0, 144.0}};
    for (const auto& rate : rates) {
        SCOPED_TRACE(rate.reported);
        FramePacer pacer(rate.reported);
        const LoopRun run = runFor(pacer, 10.0, 0.0005, 0.0, 1234.5);
        EXPECT_LE(run.frames, 10.0 * rate.expected + 1);
        EXPECT_GE(run.frames, 10.0 * rate.expected * 0.97);
        EXPECT_GT(run.waits, 0);
    }
}

// A swap that waits for the display already paces the loop: nothing is
// added, even though its returns jitter around the refresh; and a frame that
// takes longer than a refresh is drawn as soon as it can be.
TEST(FramePacer, AddsNothingWhereTheFrameIsAlreadyDue) {
    FramePacer paced(60.0);
    const LoopRun vsync = runFor(paced, 5.0, 0.004, 60.0);
    EXPECT_EQ(vsync.waits, 0);
    EXPECT_NEAR(vsync.frames, 300, 2);

    FramePacer slow(60.0);
    const LoopRun heavy = runFor(slow, 5.0, 0.030);
    EXPECT_EQ(heavy.waits, 0);
    EXPECT_NEAR(heavy.frames, 5.0 / 0.030, 1);
}

// Frames lost to a stall (or to a time nobody could see) are not made up by
// a burst: the grid starts again from the late frame.
TEST(FramePacer, ALateFrameStartsANewGridWithoutABurst) {
    FramePacer pacer(50.0);
    runFor(pacer, 1.0, 0.001);
    const LoopRun after = runFor(pacer, 1.0, 0.001, 0.0, 3.0);
    EXPECT_GE(after.shortestGap, 0.02 * (1.0 - 0.125) - 1e-9);
    EXPECT_LE(after.frames, 51);
    // The first frame after the stall was owed at once.
    FramePacer fresh(50.0);
    fresh.frameDrawn(10.0);
    EXPECT_EQ(fresh.next(10.0015).kind, Kind::WaitUpTo);
    EXPECT_EQ(fresh.next(10.0015).milliseconds, 19u);
    EXPECT_EQ(fresh.next(25.0).kind, Kind::DrawNow);
    // A frame more than half a refresh late (a slow one) starts the grid again too.
    fresh.frameDrawn(10.045);
    EXPECT_EQ(fresh.next(10.046).kind, Kind::WaitUpTo);
}

// Nothing is drawn while the display is off, the session is away or the
// preview's host is hidden, however late the frame; each cause lifts on its
// own, and a frame is owed at once when the last one does.
TEST(FramePacer, DrawsNothingWhileNobodyCanSee) {
    const struct { SaverEvent away, back; } causes[] = {{SaverEvent::DisplayOff, SaverEvent::DisplayOn},
                                                        {SaverEvent::SessionAway, SaverEvent::SessionBack},
                                                        {SaverEvent::HostHidden, SaverEvent::HostShown}};
    for (const auto& cause : causes) {
        for (const auto& other : causes) {
            FramePacer pacer;
            pacer.frameDrawn(1.0);
            pacer.observe(cause.away);
            pacer.observe(other.away);
            pacer.observe(SaverEvent::KeyOrButton);
            EXPECT_EQ(pacer.next(100.0).kind, Kind::WaitForMessages);
            pacer.observe(cause.back);
            EXPECT_EQ(pacer.next(100.0).kind, &cause == &other ? Kind::DrawNow : Kind::WaitForMessages);
            pacer.observe(other.back);
            EXPECT_EQ(pacer.next(100.0).kind, Kind::DrawNow);
        }
    }
}

}  // namespace
