#include "display/x11/MonotonicClock.h"

#include <time.h>

namespace {

std::int64_t nanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

class MonotonicClock : public Clock {
public:
    bool counterFrequency(std::int64_t& ticksPerSecond) override {
        ticksPerSecond = 1000000000;
        return true;
    }
    std::int64_t counter() override { return nanoseconds(); }
    // Rolls over after 2^32 ms, as the timer expects of a millisecond clock.
    std::uint32_t milliseconds() override { return static_cast<std::uint32_t>(nanoseconds() / 1000000); }
};

}  // namespace

Clock& monotonicClock() {
    static MonotonicClock clock;
    return clock;
}
