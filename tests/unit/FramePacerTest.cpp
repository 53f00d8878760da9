#include <gtest/gtest.h>

#include <cmath>

#include "display/FramePacer.h"

namespace {

using Kind = PaceDecision::Kind;

// A frame loop run against simulated time as a host runs it: ask, then draw
// (which costs drawSeconds, and with a swap that waits for a display of
// displayHertz also the rest of the refresh it lands in, a little late or
// early each time) or wait the time asked for. Counts frames and waits.
std::pair<int, int> runFor(FramePacer& pacer, double seconds, double drawSeconds, double displayHertz = 0,
                           double start = 0, double* shortestGap = nullptr) {
    int frames = 0, waits = 0;
    for (double t = start, last = -1; t < start + seconds;) {
        const PaceDecision decision = pacer.next(t);
        if (decision.kind == Kind::WaitUpTo) {
            EXPECT_GE(decision.milliseconds, 1u);
            ++waits;
            t += decision.milliseconds / 1000.0;
            continue;
        }
        EXPECT_EQ(decision.kind, Kind::DrawNow);
        pacer.frameDrawn(t);
        if (shortestGap != nullptr && last >= 0) *shortestGap = std::fmin(*shortestGap, t - last);
        last = t;
        t += drawSeconds;
        if (displayHertz > 0) t = (std::floor(t * displayHertz) + 1) / displayHertz + (++frames % 3 - 1) * 0.0003;
        else ++frames;
    }
    return {frames, waits};
}

// Where the swap does not wait, a cheap frame is held to the display's rate
// (60 Hz when the rate is unusable), never busy, and the frames keep coming.
TEST(FramePacer, HoldsAnUnpacedLoopToTheRefreshRate) {
    const double rates[][2] = {{0, 60}, {1, 60}, {std::nan(""), 60}, {1e9, 60},
                               {60, 60}, {144, 144}};
    for (const auto& [reported, expected] : rates) {
        FramePacer pacer(reported);
        const auto [frames, waits] = runFor(pacer, 10, 0.0005, 0, 1234.5);
        EXPECT_LE(frames, 10 * expected + 1) << reported;
        EXPECT_GE(frames, 10 * expected * 0.97) << reported;
        EXPECT_GT(waits, 0);
    }
}

// A swap that waits for the display already paces the loop: nothing is
// added, though its returns jitter; a frame slower than a refresh is drawn
// as soon as it can be.
TEST(FramePacer, AddsNothingWhereTheFrameIsAlreadyDue) {
    FramePacer paced(60), slow(60);
    const auto [frames, waits] = runFor(paced, 5, 0.004, 60);
    EXPECT_EQ(waits, 0);
    EXPECT_NEAR(frames, 300, 2);
    const auto [slowFrames, slowWaits] = runFor(slow, 5, 0.030);
    EXPECT_EQ(slowWaits, 0);
    EXPECT_NEAR(slowFrames, 5 / 0.030, 1);
}

// Frames lost to a stall, or to a slow frame more than half a refresh late,
// are not made up by a burst: the grid starts again from the late frame.
TEST(FramePacer, ALateFrameStartsANewGridWithoutABurst) {
    FramePacer pacer(50);
    runFor(pacer, 1, 0.001);
    double gap = 1e9;
    EXPECT_LE(runFor(pacer, 1, 0.001, 0, 3, &gap).first, 51);
    EXPECT_GE(gap, 0.02 * (1 - 0.125) - 1e-9);
    pacer.frameDrawn(10);
    EXPECT_EQ(pacer.next(10.0015).milliseconds, 19u);
    EXPECT_EQ(pacer.next(25).kind, Kind::DrawNow);
    pacer.frameDrawn(10.045);
    EXPECT_EQ(pacer.next(10.046).kind, Kind::WaitUpTo);
}

// Nothing is drawn while the display is off, the session away or the
// preview's host hidden, however late the frame; each cause lifts on its own,
// and a frame is owed at once when the last one does.
TEST(FramePacer, DrawsNothingWhileNobodyCanSee) {
    const SaverEvent causes[][2] = {{SaverEvent::DisplayOff, SaverEvent::DisplayOn},
                                    {SaverEvent::SessionAway, SaverEvent::SessionBack},
                                    {SaverEvent::HostHidden, SaverEvent::HostShown}};
    for (const auto& cause : causes) {
        for (const auto& other : causes) {
            FramePacer pacer;
            pacer.frameDrawn(1);
            for (const SaverEvent event : {cause[0], other[0], SaverEvent::KeyOrButton}) pacer.observe(event);
            EXPECT_EQ(pacer.next(100).kind, Kind::WaitForMessages);
            pacer.observe(cause[1]);
            EXPECT_EQ(pacer.next(100).kind, &cause == &other ? Kind::DrawNow : Kind::WaitForMessages);
            pacer.observe(other[1]);
            EXPECT_EQ(pacer.next(100).kind, Kind::DrawNow);
        }
    }
}

}  // namespace
