#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "display/FrameTimer.h"

namespace {

// A clock the test sets by hand.
struct DrivenClock : Clock {
    bool hasCounter = true;
    std::int64_t frequency = 1000;
    std::int64_t count = 5000000;  // an arbitrary base
    std::uint32_t ms = 0;

    bool counterFrequency(std::int64_t& ticksPerSecond) override {
        ticksPerSecond = hasCounter ? frequency : 0;
        return hasCounter;
    }
    std::int64_t counter() override { return count; }
    std::uint32_t milliseconds() override { return ms; }
};

class FrameTimerTest : public ::testing::Test {
protected:
    DrivenClock clock;
    FrameTimer timer{clock};

    void tickAfter(std::int64_t ticks) {
        clock.count += ticks;
        timer.tick();
    }
};

TEST_F(FrameTimerTest, CounterSourceStoresSecondsPerTickInSinglePrecision) {
    clock.frequency = 3579545;
    timer.start();
    EXPECT_TRUE(timer.usesCounter());
    EXPECT_EQ(static_cast<double>(timer.tickSeconds()), 2.793651106003381e-07);
}

TEST_F(FrameTimerTest, FirstCountingTickSetsRateThenAveragesHalfAndHalf) {
    timer.start();
    tickAfter(20);  // 50 frames per second, from the start reading
    EXPECT_FLOAT_EQ(timer.elapsedSeconds(), 0.02f);
    EXPECT_FLOAT_EQ(timer.lastFrameDelta(), 0.02f);
    EXPECT_FLOAT_EQ(timer.averageFramesPerSecond(), 50.0f);
    tickAfter(10);  // 100 frames per second
    EXPECT_NEAR(timer.averageFramesPerSecond(), 75.0f, 1e-3);
    EXPECT_EQ(timer.framesSinceReset(), 2);
}

TEST_F(FrameTimerTest, MillisecondSourceWithoutACounterUsesTheFloatFactorAndSurvivesTheWrap) {
    clock.hasCounter = false;
    timer.start();
    EXPECT_FALSE(timer.usesCounter());
    clock.hasCounter = true;
    clock.frequency = 0;  // a counter reported present with a rate of zero is no counter either
    clock.ms = 777;
    timer.start();
    EXPECT_FALSE(timer.usesCounter());
    EXPECT_EQ(timer.tickSeconds(), 0.001f);
    clock.ms += 1000;
    EXPECT_EQ(timer.now(), 1.0000000474974513);

    clock.ms = 0xFFFFFFFFu - 99;  // 100 ms before the wrap
    timer.start();
    clock.ms = 150;  // 250 ms after the start
    timer.tick();
    EXPECT_NEAR(timer.elapsedSeconds(), 0.25f, 1e-6);
}

// The threshold compares the float delta with the double 0.001. A counter of
// 2^33 ticks per second makes every float near 0.001 a whole tick count, so
// the delta is exactly the chosen float.
TEST_F(FrameTimerTest, ThresholdIsTheFloatThousandthAndOtherDeltasKeepTheRate) {
    constexpr std::int64_t ticksPerSecond = std::int64_t{1} << 33;
    clock.frequency = ticksPerSecond;
    timer.start();
    auto advance = [&](float seconds) {
        tickAfter(static_cast<std::int64_t>(static_cast<double>(seconds) * ticksPerSecond));
    };

    advance(0.001f);
    EXPECT_EQ(timer.lastFrameDelta(), 0.001f);
    EXPECT_EQ(timer.averageFramesPerSecond(), static_cast<float>(1.0 / 0.001f));

    timer.reset();
    const float justBelow = std::nextafter(0.001f, 0.0f);
    advance(justBelow);
    EXPECT_EQ(timer.lastFrameDelta(), justBelow);
    EXPECT_EQ(timer.averageFramesPerSecond(), 0.0f);
    EXPECT_EQ(timer.framesSinceReset(), 1);
    // The uncounted delta still moved the base of the next one.
    advance(0.25f);
    EXPECT_EQ(timer.lastFrameDelta(), (justBelow + 0.25f) - justBelow);
    const float rate = timer.averageFramesPerSecond();
    ASSERT_NEAR(rate, 4.0f, 1e-3f);

    tickAfter(0);
    EXPECT_EQ(timer.lastFrameDelta(), 0.0f);
    tickAfter(-ticksPerSecond / 8);  // a counter that steps back
    EXPECT_FLOAT_EQ(timer.lastFrameDelta(), -0.125f);
    EXPECT_EQ(timer.averageFramesPerSecond(), rate);
    EXPECT_EQ(timer.framesSinceReset(), 4);
}

TEST_F(FrameTimerTest, ResetKeepsTheBaseAndStopEndsTheCount) {
    timer.start();
    tickAfter(3000);
    timer.reset();
    EXPECT_EQ(timer.elapsedSeconds(), 0.0f);
    EXPECT_EQ(timer.lastFrameDelta(), 0.0f);
    EXPECT_EQ(timer.averageFramesPerSecond(), 0.0f);
    EXPECT_EQ(timer.framesSinceReset(), 0);
    EXPECT_NEAR(timer.now(), 3.0, 1e-6);  // now() still measures from start()
    tickAfter(500);
    EXPECT_FLOAT_EQ(timer.elapsedSeconds(), 0.5f);

    // Stopped, and before any start, a tick changes nothing.
    timer.stop();
    FrameTimer unstarted{clock};
    for (FrameTimer* idle : {&timer, &unstarted}) {
        clock.count += 1000;
        idle->tick();
        EXPECT_FALSE(idle->isRunning());
        EXPECT_EQ(idle->elapsedSeconds(), 0.0f);
        EXPECT_EQ(idle->framesSinceReset(), 0);
        EXPECT_EQ(idle->averageFramesPerSecond(), 0.0f);
    }
}

TEST_F(FrameTimerTest, ElapsedCoarsensWithTheFloatResolution) {
    clock.frequency = 1000000;
    timer.start();
    tickAfter(16384 * std::int64_t{1000000});
    tickAfter(900);  // 0.9 ms, below the 1/512 s spacing at 16384 s
    EXPECT_EQ(timer.lastFrameDelta(), 0.0f);
    tickAfter(1200);
    EXPECT_EQ(timer.lastFrameDelta(), 1.0f / 512);
}

}  // namespace
