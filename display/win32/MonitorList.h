// The monitors Windows reports, as portable rectangles for the screen layout.
#pragma once

#include "display/ScreenLayout.h"

// Every monitor's rectangle in virtual-screen coordinates, with the primary
// flagged; none when the system cannot list them.
MonitorList listMonitors();
