// Wall-clock time for the animation: seconds since the last reset, the
// delta between two frames, the frame count and a smoothed frame rate.
// Prefers the performance counter and falls back to the millisecond clock.
#pragma once

#include <cstdint>

#include "display/Clock.h"

class FrameTimer {
public:
    // Every field is zero until start(): the window procedure may read the
    // elapsed time while the window is still being created.
    explicit FrameTimer(Clock& clock);

    void start();
    void stop();
    void reset();
    void tick();
    // Seconds since the base taken by start(), in double precision.
    double now();
    // The elapsed time of the last tick; reads no clock, so the scene and the
    // window procedure see the same value within one frame.
    float elapsedSeconds() const { return elapsed; }
    // The same time before it is rounded to float. A float of seconds since
    // the start is 1/128 s coarse after a day, so whatever needs the true
    // length of a frame however long the run reads this one.
    double elapsedSecondsPrecise() const { return preciseElapsed; }

    std::int64_t counterFrequency() const { return frequency; }
    float tickSeconds() const { return secondsPerTick; }
    bool usesCounter() const { return highResolution; }
    float lastFrameDelta() const { return frameDelta; }
    float averageFramesPerSecond() const { return framesPerSecond; }
    std::int32_t framesSinceReset() const { return frameCount; }
    bool isRunning() const { return running; }

private:
    Clock& clock;
    std::int64_t frequency = 0;
    // Single precision on purpose: 1/frequency and the millisecond factor are
    // both stored rounded to float, and every reading is scaled by that value.
    float secondsPerTick = 0.0f;
    bool highResolution = false;
    std::int64_t startCount = 0;
    std::uint32_t startMilliseconds = 0;
    float startTime = 0.0f;
    float previousElapsed = 0.0f;
    float elapsed = 0.0f;
    double preciseElapsed = 0.0;
    float frameDelta = 0.0f;
    float framesPerSecond = 0.0f;
    std::int32_t frameCount = 0;
    bool running = false;
};
