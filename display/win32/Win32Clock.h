// The frame timer's clocks on Windows: the performance counter and the
// multimedia millisecond clock.
#pragma once

#include "display/Clock.h"

// The process's one system clock.
Clock& systemClock();
