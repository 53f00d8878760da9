#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>

#include "display/CloseRules.h"
#include "display/FramePacer.h"
#include "display/FrameTimer.h"
#include "shell/RunMode.h"

namespace {

// The test is the clock, set by hand; a frequency below 0 is no counter.
class FrameTimerTest : public ::testing::Test, public Clock {
protected:
    bool counterFrequency(std::int64_t& ticksPerSecond) override { return (ticksPerSecond = frequency) >= 0; }
    std::int64_t counter() override { return count; }
    std::uint32_t milliseconds() override { return ms; }
    void tickAfter(std::int64_t ticks) {
        count += ticks;
        timer.tick();
    }

    std::int64_t frequency = 1000;
    std::int64_t count = 5000000;  // an arbitrary base
    std::uint32_t ms = 0;
    FrameTimer timer{*this};
};

// Without a counter, or with one of rate zero, a millisecond is the float
// 0.001 s; a rate of one tick a second is slow, but a counter.
TEST_F(FrameTimerTest, MillisecondsCountByTheFloatFactorAcrossTheWrap) {
    for (const std::int64_t rate : {1, -1, 0}) {
        frequency = rate;
        ms = 0xFFFFFFFFu - 99;  // 100 ms before the wrap
        timer.start();
        EXPECT_EQ(timer.usesCounter(), rate == 1);
        if (rate == 1) continue;
        ms += 1000;
        EXPECT_EQ(timer.now(), 1.0000000474974513);
        ms = 150;  // 250 ms after the start
        timer.tick();
        EXPECT_NEAR(timer.elapsedSeconds(), 0.25f, 1e-6);
    }
}

// Seconds per tick are kept as a float. A delta counts when the float delta
// exceeds the double 0.001, so the float 0.001 counts and the next float below
// does not; one that does not count still moves the base of the next. The
// first counted delta gives the rate, later ones are averaged half and half
// with it. Elapsed time is a float, and so is every delta taken from it.
TEST_F(FrameTimerTest, OnlyDeltasFromTheFloatThousandthUpMoveTheAverageRate) {
    frequency = 3579545;
    timer.start();
    EXPECT_EQ(static_cast<double>(timer.tickSeconds()), 2.793651106003381e-07);
    frequency = std::int64_t{1} << 33;  // makes every float near 0.001 a whole tick count
    timer.start();
    const auto advance = [&](float seconds) { tickAfter(static_cast<std::int64_t>(double{seconds} * frequency)); };
    advance(0.001f);
    EXPECT_EQ(timer.averageFramesPerSecond(), static_cast<float>(1.0 / 0.001f));
    timer.reset();
    const float justBelow = std::nextafter(0.001f, 0.0f);
    advance(justBelow);
    EXPECT_EQ(timer.averageFramesPerSecond(), 0.0f);
    advance(0.25f);
    EXPECT_EQ(timer.lastFrameDelta(), (justBelow + 0.25f) - justBelow);
    advance(0.5f);
    const float rate = timer.averageFramesPerSecond();
    ASSERT_NEAR(rate, 3.0f, 1e-5f);  // 4 and 2 per second
    tickAfter(0);
    tickAfter(-frequency / 8);  // a counter that steps back
    EXPECT_FLOAT_EQ(timer.lastFrameDelta(), -0.125f);
    EXPECT_EQ(timer.averageFramesPerSecond(), rate);
    EXPECT_EQ(timer.framesSinceReset(), 5);
    const double before = timer.elapsedSecondsPrecise();
    tickAfter(frequency * 86400 + 1);  // a day and a tick on: only the double still tells the tick
    EXPECT_EQ(timer.elapsedSecondsPrecise() - before, 86400 + 1.0 / frequency);
}

TEST_F(FrameTimerTest, NothingCountsBeforeStartOrAfterStop) {
    FrameTimer unstarted{*this};
    unstarted.tick();
    timer.start();
    tickAfter(3000);
    timer.stop();
    tickAfter(1000);
    for (const FrameTimer* idle : {&timer, &unstarted})
        EXPECT_EQ(std::tuple(idle->elapsedSeconds(), idle->framesSinceReset()), std::tuple(0.0f, 0));
}

using Kind = PaceDecision::Kind;

// A host's frame loop on simulated time. A swap that waits for a display of
// displayHertz ends a little late or early each time.
std::pair<int, int> runFor(FramePacer& pacer, double seconds, double drawSeconds, double displayHertz = 0) {
    int frames = 0, waits = 0;
    for (double t = 0; t < seconds;) {
        const PaceDecision decision = pacer.next(t);
        if (decision.kind == Kind::WaitUpTo) {
            EXPECT_GE(decision.milliseconds, 1u);
            ++waits;
            t += decision.milliseconds / 1000.0;
            continue;
        }
        EXPECT_EQ(decision.kind, Kind::DrawNow);
        pacer.frameDrawn(t);
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
        const auto [frames, waits] = runFor(pacer, 10, 0.0005);
        EXPECT_LE(frames, 10 * expected + 1) << "frames in 10 s, " << reported << " Hz reported";
        EXPECT_GE(frames, 10 * expected * 0.97) << "frames in 10 s, " << reported << " Hz reported";
        EXPECT_GT(waits, 0) << "never waited, " << reported << " Hz reported";
    }
}

// A swap that waits for the display already paces the loop: nothing is
// added, though its returns jitter; a frame slower than a refresh is drawn
// as soon as it can be.
TEST(FramePacer, AddsNothingWhereTheFrameIsAlreadyDue) {
    FramePacer paced(60), slow(60);
    const auto [frames, waits] = runFor(paced, 5, 0.004, 60);
    EXPECT_EQ(waits, 0) << "waits added to swaps that wait for a 60 Hz display";
    EXPECT_NEAR(frames, 300, 2) << "frames in 5 s of swaps at 60 Hz";
    const auto [slowFrames, slowWaits] = runFor(slow, 5, 0.030);
    EXPECT_EQ(slowWaits, 0) << "waits added to frames of 30 ms";
    EXPECT_NEAR(slowFrames, 5 / 0.030, 1) << "frames in 5 s of frames of 30 ms";
}

// Frames lost to a stall, or to a slow frame more than half a refresh late,
// are not made up by a burst: the grid starts again from the late frame.
TEST(FramePacer, ALateFrameStartsANewGridWithoutABurst) {
    FramePacer pacer(50);
    pacer.frameDrawn(10);
    EXPECT_EQ(pacer.next(10.0015).milliseconds, 19u);
    EXPECT_EQ(pacer.next(10.0174).milliseconds, 3u);  // more than an eighth of a refresh early
    EXPECT_EQ(pacer.next(25).kind, Kind::DrawNow);
    pacer.frameDrawn(25);
    EXPECT_EQ(pacer.next(25.001).milliseconds, 19u);
    pacer.frameDrawn(25.045);
    EXPECT_EQ(pacer.next(25.046).kind, Kind::WaitUpTo);
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
            SCOPED_TRACE(testing::Message() << "causes " << &cause - causes << " and " << &other - causes);
            for (const SaverEvent event : {cause[0], other[0], SaverEvent::KeyOrButton}) pacer.observe(event);
            EXPECT_EQ(pacer.next(100).kind, Kind::WaitForMessages) << "both away";
            pacer.observe(cause[1]);
            EXPECT_EQ(pacer.next(100).kind, &cause == &other ? Kind::DrawNow : Kind::WaitForMessages) << "one back";
            pacer.observe(other[1]);
            EXPECT_EQ(pacer.next(100).kind, Kind::DrawNow) << "both back";
        }
    }
}

}  // namespace

using A = CloseAction;
using E = SaverEvent;

// The test is the cursor, which it places by hand.
class CloseRules : public ::testing::Test, public CursorSource {
protected:
    bool cursorPosition(ScreenPoint& position) override {
        position = cursor;
        return true;
    }
    // By default a second into a run, the cursor base known at (500, 400), threshold 50.
    A decide(E event, std::int32_t runMode, float elapsed = 1.0f, std::int32_t threshold = 50, bool known = true) {
        return decideCloseAction(event, CloseState{runMode, elapsed, known, {500, 400}, threshold}, *this);
    }

    ScreenPoint cursor{500, 400};
};

// Configure stands for every mode that does not draw. Travel counts only
// beyond the threshold, on either axis alone, and only in a saver.
TEST_F(CloseRules, EachEventIsAnsweredByRunModeAndMouseTravelByThreshold) {
    const struct { E event; A saver, preview, configure; std::int32_t dx = 0, dy = 0; } rows[] = {
        {E::Ending, A::PostQuit, A::PostQuit, A::PostQuit},
        {E::Deactivated, A::RequestClose, A::RequestClose, A::Nothing},
        {E::Activated, A::Nothing, A::Nothing, A::Nothing},
        {E::SetCursor, A::HideCursor, A::ArrowCursor, A::ArrowCursor},
        {E::KeyOrButton, A::RequestClose, A::Nothing, A::Nothing},
        {E::SystemCommand, A::Nothing, A::Nothing, A::Nothing},
        {E::MouseMove, A::Nothing, A::Nothing, A::Nothing, -50, 50},
        {E::MouseMove, A::RequestClose, A::Nothing, A::Nothing, -51, 0},
        {E::MouseMove, A::RequestClose, A::Nothing, A::Nothing, 0, -51},
    };
    for (const auto& row : rows) {
        cursor = {500 + row.dx, 400 + row.dy};
        EXPECT_EQ(decide(row.event, Mode::Saver), row.saver) << "row " << &row - rows;
        EXPECT_EQ(decide(row.event, Mode::Preview), row.preview) << "row " << &row - rows;
        EXPECT_EQ(decide(row.event, Mode::Configure), row.configure) << "row " << &row - rows;
    }
    for (const E passed : {E::Other, E::DisplayOff, E::DisplayOn, E::SessionAway, E::SessionBack, E::HostHidden,
                           E::HostShown, E::DeskChanged})  // the pacer's and the host's: passed on
        for (const std::int32_t mode : {Mode::Saver, Mode::Preview, Mode::Configure})
            EXPECT_EQ(decide(passed, mode), A::DefaultProcessing) << "event " << int(passed) << ", mode " << mode;
    // Keys count at once, travel only after half a second and from a known
    // base. A threshold of 0 ends the run on one pixel; below 0, on any report.
    cursor = {500, 400};
    EXPECT_EQ(decide(E::KeyOrButton, Mode::Saver, 0.0f), A::RequestClose);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, 0), A::Nothing);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, -1), A::RequestClose);
    cursor = {501, 400};
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, 0), A::RequestClose);
    cursor = {900, 700};
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 0.5f), A::Nothing);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 0.50000006f), A::RequestClose);
    EXPECT_EQ(decide(E::MouseMove, Mode::Saver, 1.0f, 50, false), A::Nothing);
    EXPECT_TRUE(mouseTravelExceeds({INT32_MAX, 0}, {INT32_MIN, 0}, INT32_MAX));
    EXPECT_FALSE(mouseTravelExceeds({INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN}, 0));
}
