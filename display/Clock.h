// The two time sources the frame timer can read: the high-resolution
// performance counter and the millisecond clock. Windows binds them to the
// system clocks; tests drive them by hand.
#pragma once

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;

    // False when the machine has no performance counter.
    virtual bool counterFrequency(std::int64_t& ticksPerSecond) = 0;
    virtual std::int64_t counter() = 0;
    // Milliseconds since some start; rolls over after 2^32 ms (about 49.7 days).
    virtual std::uint32_t milliseconds() = 0;
};
