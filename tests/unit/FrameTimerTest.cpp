#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "display/FrameTimer.h"

namespace {

// A clock the test sets by hand.
struct DrivenClock : Clock {
    bool hasCounter = true;
    std::int64_t frequency = 1000000;
    std::int64_t count = 0;
    std::uint32_t ms = 0;

    bool counterFrequency(std::int64_t& ticksPerSecond) override {
        ticksPerSecond = hasCounter ? frequency : 0;
        return hasCounter;
    }
    std::int64_t counter() override { return count; }
    std::uint32_t milliseconds() override { return ms; }
};

// The float just below f.
float nextDown(float f) { return std::nextafter(f, 0.0f); }

}  // namespace

TEST(FrameTimer, UnstartedTimerIsZeroAndTickChangesNothing) {
    DrivenClock clock;
    clock.count = 123456;
    FrameTimer timer(clock);
    timer.tick();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.elapsedSeconds(), 0.0f);
    EXPECT_EQ(timer.framesSinceReset(), 0);
    EXPECT_EQ(timer.averageFramesPerSecond(), 0.0f);
}

TEST(FrameTimer, CounterSourceStoresSecondsPerTickInSinglePrecision) {
    DrivenClock clock;
    clock.frequency = 3579545;
    FrameTimer timer(clock);
    timer.start();
    EXPECT_TRUE(timer.usesCounter());
    EXPECT_EQ(timer.counterFrequency(), 3579545);
    EXPECT_EQ(static_cast<double>(timer.tickSeconds()), 2.793651106003381e-07);
}

TEST(FrameTimer, CounterSourceMeasuresFromTheStartReading) {
    DrivenClock clock;
    clock.frequency = 1000;
    clock.count = 5000000;  // an arbitrary base
    FrameTimer timer(clock);
    timer.start();
    clock.count += 2500;
    timer.tick();
    EXPECT_FLOAT_EQ(timer.elapsedSeconds(), 2.5f);
    EXPECT_EQ(timer.framesSinceReset(), 1);
}

TEST(FrameTimer, MillisecondSourceUsesTheFloatFactor) {
    DrivenClock clock;
    clock.hasCounter = false;
    clock.ms = 777;
    FrameTimer timer(clock);
    timer.start();
    EXPECT_FALSE(timer.usesCounter());
    EXPECT_EQ(timer.counterFrequency(), 0);
    EXPECT_EQ(timer.tickSeconds(), 0.001f);
    clock.ms += 1000;
    EXPECT_EQ(timer.now(), 1.0000000474974513);
}

TEST(FrameTimer, MillisecondSourceSurvivesTheClockWrap) {
    DrivenClock clock;
    clock.hasCounter = false;
    clock.ms = 0xFFFFFFFFu - 99;  // 100 ms before the wrap
    FrameTimer timer(clock);
    timer.start();
    clock.ms = 150;  // 250 ms after the start
    timer.tick();
    EXPECT_NEAR(timer.elapsedSeconds(), 0.25f, 1e-6);
}

TEST(FrameTimer, FirstCountingTickSetsRateThenAveragesHalfAndHalf) {
    DrivenClock clock;
    clock.frequency = 1000;
    FrameTimer timer(clock);
    timer.start();
    clock.count += 20;  // 50 frames per second
    timer.tick();
    EXPECT_FLOAT_EQ(timer.lastFrameDelta(), 0.02f);
    EXPECT_FLOAT_EQ(timer.averageFramesPerSecond(), 1.0f / 0.02f);
    clock.count += 10;  // 100 frames per second
    timer.tick();
    EXPECT_NEAR(timer.averageFramesPerSecond(), 75.0f, 1e-3);
    EXPECT_EQ(timer.framesSinceReset(), 2);
}

// The threshold compares the float delta with the double 0.001. A counter of
// 2^33 ticks per second makes every float near 0.001 a whole tick count, so
// the delta is exactly the chosen float.
class FrameTimerThreshold : public ::testing::Test {
protected:
    static constexpr std::int64_t ticksPerSecond = std::int64_t{1} << 33;
    DrivenClock clock;
    FrameTimer timer{clock};

    void SetUp() override {
        clock.frequency = ticksPerSecond;
        timer.start();
    }
    void advance(float seconds) {
        clock.count += static_cast<std::int64_t>(static_cast<double>(seconds) * ticksPerSecond);
    }
};

TEST_F(FrameTimerThreshold, FloatThousandthCounts) {
    advance(0.001f);
    timer.tick();
    EXPECT_EQ(timer.lastFrameDelta(), 0.001f);
    EXPECT_EQ(timer.averageFramesPerSecond(), static_cast<float>(1.0 / 0.001f));
}

TEST_F(FrameTimerThreshold, NextSmallerFloatDoesNotCountButStillAdvances) {
    const float justBelow = nextDown(0.001f);
    ASSERT_EQ(static_cast<double>(justBelow), 0.0009999999310821295);
    advance(justBelow);
    timer.tick();
    EXPECT_EQ(timer.lastFrameDelta(), justBelow);
    EXPECT_EQ(timer.averageFramesPerSecond(), 0.0f);
    EXPECT_EQ(timer.framesSinceReset(), 1);
    // previousElapsed moved too: the next delta is measured from justBelow.
    advance(0.25f);
    timer.tick();
    EXPECT_EQ(timer.lastFrameDelta(), (justBelow + 0.25f) - justBelow);
}

TEST_F(FrameTimerThreshold, ZeroAndNegativeDeltasKeepTheRateButStillCount) {
    advance(0.25f);
    timer.tick();
    const float rate = timer.averageFramesPerSecond();
    ASSERT_EQ(rate, 4.0f);

    timer.tick();  // no time passed
    EXPECT_EQ(timer.lastFrameDelta(), 0.0f);
    EXPECT_EQ(timer.averageFramesPerSecond(), rate);
    EXPECT_EQ(timer.framesSinceReset(), 2);

    clock.count -= ticksPerSecond / 8;  // a counter that steps back
    timer.tick();
    EXPECT_EQ(timer.lastFrameDelta(), -0.125f);
    EXPECT_EQ(timer.averageFramesPerSecond(), rate);
    EXPECT_EQ(timer.framesSinceReset(), 3);
    EXPECT_EQ(timer.elapsedSeconds(), 0.125f);
}

TEST(FrameTimer, ResetKeepsTheBaseAndZeroesTheAccumulators) {
    DrivenClock clock;
    clock.frequency = 1000;
    FrameTimer timer(clock);
    timer.start();
    clock.count += 3000;
    timer.tick();
    timer.reset();
    EXPECT_EQ(timer.elapsedSeconds(), 0.0f);
    EXPECT_EQ(timer.lastFrameDelta(), 0.0f);
    EXPECT_EQ(timer.averageFramesPerSecond(), 0.0f);
    EXPECT_EQ(timer.framesSinceReset(), 0);
    EXPECT_TRUE(timer.isRunning());
    // now() still measures from start(), the reset moved only startTime.
    EXPECT_NEAR(timer.now(), 3.0, 1e-6);
    clock.count += 500;
    timer.tick();
    EXPECT_FLOAT_EQ(timer.elapsedSeconds(), 0.5f);
}

TEST(FrameTimer, StopResetsAndFurtherTicksChangeNothing) {
    DrivenClock clock;
    clock.frequency = 1000;
    FrameTimer timer(clock);
    timer.start();
    clock.count += 1000;
    timer.tick();
    timer.stop();
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.elapsedSeconds(), 0.0f);
    clock.count += 1000;
    timer.tick();
    EXPECT_EQ(timer.elapsedSeconds(), 0.0f);
    EXPECT_EQ(timer.framesSinceReset(), 0);
}

TEST(FrameTimer, ElapsedCoarsensWithTheFloatResolution) {
    DrivenClock clock;
    clock.frequency = 1000000;
    FrameTimer timer(clock);
    timer.start();
    clock.count = 16384 * std::int64_t{1000000};
    timer.tick();
    clock.count += 900;  // 0.9 ms, below the 1/512 s spacing at 16384 s
    timer.tick();
    EXPECT_EQ(timer.lastFrameDelta(), 0.0f);
    clock.count += 1200;
    timer.tick();
    EXPECT_EQ(timer.lastFrameDelta(), 1.0f / 512);
}

TEST(FrameTimer, ZeroFrequencyReportedAsPresentFallsBackToMilliseconds) {
    struct BrokenCounter : DrivenClock {
        bool counterFrequency(std::int64_t& ticksPerSecond) override {
            ticksPerSecond = 0;
            return true;
        }
    } clock;
    FrameTimer timer(clock);
    timer.start();
    EXPECT_FALSE(timer.usesCounter());
    clock.ms += 40;
    timer.tick();
    EXPECT_NEAR(timer.elapsedSeconds(), 0.04f, 1e-6);
}
