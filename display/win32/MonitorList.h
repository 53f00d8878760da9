// The monitors Windows reports, as portable rectangles for the screen layout.
#pragma once

#include "display/ScreenLayout.h"

// Every monitor's rectangle in virtual-screen coordinates, with the primary
// flagged; none when the system cannot list them. A fixed list keeps the
// standard library's allocation and exception code out of the executable.
struct MonitorList {
    static constexpr std::size_t Capacity = 64;  // more than any desk has
    MonitorRect monitors[Capacity];
    std::size_t count = 0;
};
MonitorList listMonitors();
