#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>

#include "display/FrameTimer.h"

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

}  // namespace
