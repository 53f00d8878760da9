#include "display/SteadyClock.h"

#include <chrono>

namespace {

std::int64_t nanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class SteadyClock : public Clock {
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

Clock& steadyClock() {
    static SteadyClock clock;
    return clock;
}
