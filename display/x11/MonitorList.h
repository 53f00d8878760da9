// The monitors of an X screen and its refresh rate, read from RandR (its
// monitors, 1.5 and later), else from Xinerama, and handed on unchanged: the
// decisions about them live in the portable layout.
#pragma once

#include <X11/Xlib.h>

#include "display/ScreenLayout.h"

MonitorList listMonitors(Display* display, Window root);

// The refresh rate of the screen in hertz, or 0 when the server does not say.
double refreshRate(Display* display, Window root);
