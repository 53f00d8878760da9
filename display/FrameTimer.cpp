// Frame-timer arithmetic. The stored values are floats; sums and quotients
// are formed in double precision and rounded on store.
#include "display/FrameTimer.h"

FrameTimer::FrameTimer(Clock& clock) : clock(clock) {}

void FrameTimer::start() {
    startMilliseconds = 0;
    startCount = 0;
    frequency = 0;
    previousElapsed = 0.0f;
    startTime = 0.0f;
    frameDelta = 0.0f;
    elapsed = 0.0f;
    secondsPerTick = 0.0f;
    highResolution = false;
    frameCount = 0;
    framesPerSecond = 0.0f;

    if (clock.counterFrequency(frequency) && frequency > 0) {
        startCount = clock.counter();
        secondsPerTick = static_cast<float>(1.0 / static_cast<double>(frequency));
        highResolution = true;
    } else {
        // A failed query may still have written something; the millisecond
        // clock does not use the frequency.
        frequency = 0;
        startMilliseconds = clock.milliseconds();
        secondsPerTick = 0.001f;
        highResolution = false;
    }
    reset();
    running = true;
}

void FrameTimer::stop() {
    running = false;
    reset();
}

void FrameTimer::reset() {
    startTime = static_cast<float>(now());
    framesPerSecond = 0.0f;
    frameDelta = 0.0f;
    elapsed = 0.0f;
    preciseElapsed = 0.0;
    previousElapsed = 0.0f;
    frameCount = 0;
}

double FrameTimer::now() {
    if (highResolution) {
        const std::int64_t difference = clock.counter() - startCount;
        return static_cast<double>(difference) * secondsPerTick;
    }
    // Unsigned 32-bit subtraction, so the clock's rollover still gives the
    // right (small) difference.
    const std::uint32_t difference = clock.milliseconds() - startMilliseconds;
    return static_cast<double>(static_cast<std::uint64_t>(difference)) * secondsPerTick;
}

void FrameTimer::tick() {
    if (!running) {
        return;
    }
    preciseElapsed = now() - startTime;
    elapsed = static_cast<float>(preciseElapsed);
    frameDelta = elapsed - previousElapsed;
    previousElapsed = elapsed;
    // Wraps instead of overflowing after 2^31 frames.
    frameCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(frameCount) + 1u);

    // The float delta is compared with the double 0.001: a delta equal to the
    // float 0.001 (slightly above the double) counts.
    if (frameDelta > 0.001) {
        if (framesPerSecond < 0.5f) {
            framesPerSecond = static_cast<float>(1.0 / frameDelta);
        } else {
            framesPerSecond = static_cast<float>((1.0 / frameDelta + framesPerSecond) / 2.0);
        }
    }
}
