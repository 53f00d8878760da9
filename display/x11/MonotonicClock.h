// The frame timer's clock on Linux: CLOCK_MONOTONIC, which no change of the
// wall-clock time moves, as both the counter (in nanoseconds) and the
// millisecond clock.
#pragma once

#include "display/Clock.h"

Clock& monotonicClock();
