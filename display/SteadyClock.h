// The frame timer's clock where the system offers nothing finer than the
// standard library's steady clock (on Linux that is CLOCK_MONOTONIC, which no
// change of the wall-clock time moves), as both the counter, in nanoseconds,
// and the millisecond clock.
#pragma once

#include "display/Clock.h"

Clock& steadyClock();
