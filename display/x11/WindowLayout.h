// Where each monitor's picture sits inside a window that XScreenSaver hands
// over (the root window, or a window of its own over one or all monitors):
// the parts of the monitors the window covers, in the window's coordinates.
#pragma once

#include <cstddef>

#include "display/ScreenLayout.h"

// window: where the window lies on the screen. The layout's window is the
// whole window at (0, 0); a window over no listed monitor is one picture.
ScreenLayout layoutInWindow(const ScreenRect& window, const MonitorRect* monitors, std::size_t count);
