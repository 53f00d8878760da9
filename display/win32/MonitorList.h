// The monitors Windows reports, as portable rectangles for the screen layout.
#pragma once

#include <vector>

#include "display/ScreenLayout.h"

// Every monitor's rectangle in virtual-screen coordinates, with the primary
// flagged; empty when the system cannot list them.
std::vector<MonitorRect> listMonitors();
